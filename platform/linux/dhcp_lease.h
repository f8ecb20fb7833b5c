// What a DHCP client's lease store says about one interface's lease. Every field is optional:
// each store tells a different part.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace addrvue::linux_source {

struct DhcpLease {
  std::string source;                         // which store told it ("dhclient", "dhcpcd" ...)
  std::optional<std::string> address;         // the leased address
  std::optional<std::string> server;          // option 54, the server identifier
  std::vector<std::string> winsServers;       // option 44
  std::optional<std::uint32_t> nodeType;      // option 46
  std::optional<std::string> scope;           // option 47
  std::optional<std::int64_t> obtained;       // Unix seconds
  std::optional<std::int64_t> expires;        // Unix seconds; "never" is the largest time
  std::optional<std::uint32_t> leaseSeconds;  // option 51, when the store gives no dates
};

inline constexpr std::int64_t kNeverExpires = INT64_MAX;

// Leases by interface name.
using LeasesByInterface = std::map<std::string, DhcpLease>;

}  // namespace addrvue::linux_source
