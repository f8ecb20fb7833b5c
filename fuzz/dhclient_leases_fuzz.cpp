// ISC dhclient's lease text as a DHCP server and a disk may leave it: every lease found goes
// through the report.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/report_of_facts.h"
#include "platform/linux/dhclient_leases.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  using namespace addrvue;
  const std::string_view text(reinterpret_cast<const char*>(bytes), size);
  for (const auto& [interface, lease] : linux_source::ParseDhclientLeases(text)) {
    fuzzing::RunReport(fuzzing::OneInterfaceFacts(lease));
  }
  return 0;
}
