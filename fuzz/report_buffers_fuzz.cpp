// Runs the whole report on result buffers of arbitrary bytes, sizes, result codes and Next
// references. Any read outside a buffer, leak or endless walk is a finding.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/ip_helper.h"
#include "platform/linux/date_names_linux.h"
#include "report/module1.h"
#include "tests/support/recording_window.h"

namespace {

// Answers each query with fuzzed codes and bytes; Next references are offsets, as on Linux.
class FuzzedIpHelper final : public iphlp::OffsetIpHelper {
 public:
  explicit FuzzedIpHelper(FuzzedDataProvider& data) : data_(data) {
    for (auto& answer : answers_) {
      answer.sizingCode = PickCode();
      answer.fillCode = PickCode();
      answer.bytes =
          data_.ConsumeBytes<std::byte>(data_.ConsumeIntegralInRange<std::size_t>(0, 4096));
    }
  }

  std::uint32_t GetNetworkParams(std::byte* buffer, std::uint32_t* size) override {
    return Answer(answers_[0], buffer, size);
  }
  std::uint32_t GetAdaptersInfo(std::byte* buffer, std::uint32_t* size) override {
    return Answer(answers_[1], buffer, size);
  }

 private:
  struct FuzzedAnswer {
    std::uint32_t sizingCode = 0;
    std::uint32_t fillCode = 0;
    std::vector<std::byte> bytes;
  };

  std::uint32_t PickCode() {
    // Mostly the codes the protocol expects, sometimes anything.
    switch (data_.ConsumeIntegralInRange<int>(0, 3)) {
      case 0:
        return 0;
      case 1:
        return 111;
      default:
        return data_.ConsumeIntegral<std::uint32_t>();
    }
  }

  static std::uint32_t Answer(const FuzzedAnswer& answer, std::byte* buffer, std::uint32_t* size) {
    const auto length = static_cast<std::uint32_t>(answer.bytes.size());
    if (buffer == nullptr) {
      *size = length;
      return answer.sizingCode;
    }
    // Writes no more than the buffer the caller says it has.
    const std::size_t n = std::min<std::size_t>(*size, length);
    if (n != 0) {
      std::memcpy(buffer, answer.bytes.data(), n);
    }
    return answer.fillCode;
  }

  FuzzedDataProvider& data_;
  std::array<FuzzedAnswer, 2> answers_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  static const auto names = addrvue::DateNamesFor("C");
  FuzzedDataProvider data(bytes, size);
  FuzzedIpHelper ipHelper(data);
  addrvue::testing::RecordingWindow window;
  addrvue::Module1::ShowNetworkInfo(window, ipHelper, *names);
  return 0;
}
