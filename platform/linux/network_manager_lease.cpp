// A lease from NetworkManager's DHCP4 options, as both its D-Bus API and its device state files
// give them.
#include <string>

#include "platform/linux/network_manager_lease.h"

namespace addrvue::linux_source {

std::optional<DhcpLease> LeaseFromNetworkManagerOptions(
    const std::map<std::string, std::string>& options) {
  if (options.empty()) {
    return std::nullopt;
  }
  DhcpLease lease;
  for (const auto& [name, value] : options) {
    if (name == "ip_address") {
      lease.address = CanonicalIpv4(value);
    } else if (name == "expiry") {
      lease.expires = ParseNumber<std::int64_t>(value);
    } else {
      ApplyNamedOption(lease, name, value);
    }
  }
  DateFromItsEnd(lease);
  return lease;
}

}  // namespace addrvue::linux_source
