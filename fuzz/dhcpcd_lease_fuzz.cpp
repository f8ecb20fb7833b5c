// dhcpcd's lease file, the server's DHCPACK as it came: any bytes, with and without a file
// time, and the lease through the report.
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz/report_of_facts.h"
#include "platform/linux/dhcpcd_lease.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  using namespace addrvue;
  const std::span<const std::uint8_t> message(bytes, size);
  (void)linux_source::ParseDhcpMessage(message, std::nullopt);
  // Written a minute before the report's clock, and far in the future (a clock set wrong).
  (void)linux_source::ParseDhcpMessage(message, std::int64_t{1LL << 40});
  if (auto lease = linux_source::ParseDhcpMessage(message, std::int64_t{1'689'999'940})) {
    fuzzing::RunReport(fuzzing::OneInterfaceFacts(lease));
  }
  return 0;
}
