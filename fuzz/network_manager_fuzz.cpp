// NetworkManager's device state file ([dhcp4] options); the lease they give through the report.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/report_of_facts.h"
#include "platform/linux/network_manager_lease.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  using namespace addrvue;
  const std::string_view text(reinterpret_cast<const char*>(bytes), size);
  const auto options = linux_source::ParseNetworkManagerDeviceFile(text);
  if (auto lease = linux_source::LeaseFromNetworkManagerOptions(options)) {
    fuzzing::RunReport(fuzzing::OneInterfaceFacts(lease));
  }
  return 0;
}
