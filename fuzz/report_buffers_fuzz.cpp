// Runs the whole report on result buffers of arbitrary bytes, sizes, result codes and Next
// references, in either record layout (chosen by one input byte). Any read outside a buffer, leak
// or endless walk is a finding.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/ip_helper.h"
#include "platform/linux/date_names_linux.h"
#include "report/module1.h"
#include "tests/support/recording_window.h"

namespace {

struct FuzzedAnswer {
  std::uint32_t sizingCode = 0;
  std::uint32_t fillCode = 0;
  std::vector<std::byte> bytes;
};

// Mostly the codes the protocol expects (success, a buffer too small), sometimes anything.
std::uint32_t PickCode(FuzzedDataProvider& data) {
  const int kind = data.ConsumeIntegralInRange<int>(0, 3);
  return kind == 0 ? 0U : kind == 1 ? 111U : data.ConsumeIntegral<std::uint32_t>();
}

FuzzedAnswer PickAnswer(FuzzedDataProvider& data) {
  FuzzedAnswer answer;
  answer.sizingCode = PickCode(data);
  answer.fillCode = PickCode(data);
  answer.bytes = data.ConsumeBytes<std::byte>(data.ConsumeIntegralInRange<std::size_t>(0, 4096));
  return answer;
}

// Answers each query with fuzzed codes and bytes in the 32-bit or the 64-bit layout; Next
// references are offsets, as on Linux.
class FuzzedIpHelper final : public iphlp::OffsetIpHelper {
 public:
  explicit FuzzedIpHelper(FuzzedDataProvider& data)
      : OffsetIpHelper(data.ConsumeBool() ? iphlp::layout::k64Bit : iphlp::layout::k32Bit),
        params_(PickAnswer(data)),
        adapters_(PickAnswer(data)) {}

  std::uint32_t GetNetworkParams(std::byte* buffer, std::uint32_t* size) override {
    return Answer(params_, buffer, size);
  }
  std::uint32_t GetAdaptersInfo(std::byte* buffer, std::uint32_t* size) override {
    return Answer(adapters_, buffer, size);
  }

 private:
  // Writes no more than the buffer the caller says it has.
  static std::uint32_t Answer(const FuzzedAnswer& answer, std::byte* buffer, std::uint32_t* size) {
    const auto length = static_cast<std::uint32_t>(answer.bytes.size());
    if (buffer == nullptr) {
      *size = length;
      return answer.sizingCode;
    }
    std::copy_n(answer.bytes.begin(), std::min(*size, length), buffer);
    return answer.fillCode;
  }

  FuzzedAnswer params_;
  FuzzedAnswer adapters_;
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
