// What a DHCP client's lease store says about one interface's lease. Every field is optional:
// each store tells a different part.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace addrvue::linux_source {

struct DhcpLease {
  std::optional<std::string> address;         // the leased address
  std::optional<std::string> server;          // option 54, the server identifier
  std::vector<std::string> winsServers;       // option 44
  std::optional<std::uint32_t> nodeType;      // option 46
  std::optional<std::string> scope;           // option 47
  std::optional<std::int64_t> obtained;       // Unix seconds
  std::optional<std::int64_t> expires;        // Unix seconds; "never" is the largest time
  std::optional<std::uint32_t> leaseSeconds;  // option 51
};

inline constexpr std::int64_t kNeverExpires = INT64_MAX;

// Leases by interface name.
using LeasesByInterface = std::map<std::string, DhcpLease>;

// Sets the field of a DHCP option named as dhclient ("netbios-node-type") or NetworkManager
// ("netbios_node_type") names it: the server identifier, WINS servers, node type, scope and lease
// time. A value that does not fit its field sets nothing; other options are passed over.
void ApplyNamedOption(DhcpLease& lease, std::string_view name, std::string_view value);

// A store that notes only when a lease ends: it began the lease time before.
void DateFromItsEnd(DhcpLease& lease);

// The lease files in `dir` named after an interface index, each parsed by `parse`.
std::map<int, DhcpLease> ReadLeasesByIndex(
    const std::string& dir, const std::function<std::optional<DhcpLease>(std::string_view)>& parse);

}  // namespace addrvue::linux_source
