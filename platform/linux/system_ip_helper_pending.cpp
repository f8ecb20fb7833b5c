// TEMPORARY: stands in for the Linux source of the two queries until it is merged; delete this
// file (and its line in CMakeLists.txt) then. Both queries answer 232 (no data yet).
#include "platform/ip_helper_layout.h"
#include "platform/system_ip_helper.h"

namespace iphlp {
namespace {

class PendingIpHelper final : public IpHelper {
 public:
  std::uint32_t GetNetworkParams(std::byte* /*buffer*/, std::uint32_t* /*size*/) override {
    return layout::kErrorNoData;
  }
  std::uint32_t GetAdaptersInfo(std::byte* /*buffer*/, std::uint32_t* /*size*/) override {
    return layout::kErrorNoData;
  }
  [[nodiscard]] std::optional<std::size_t> OffsetOfReference(
      std::uint32_t reference, const std::byte* /*bufferStart*/) const override {
    return reference;
  }
  [[nodiscard]] const AnsiCodePage& TextCodePage() const override { return Latin1CodePage(); }
};

}  // namespace

std::unique_ptr<IpHelper> SystemIpHelper() {
  return std::make_unique<PendingIpHelper>();
}

}  // namespace iphlp
