#include "platform/linux/dhcp_lease.h"

#include <limits>

#include "platform/linux/system_files.h"

namespace addrvue::linux_source {
namespace {

// dhclient spells option names with '-', NetworkManager with '_'.
bool SameOptionName(std::string_view name, std::string_view dashed) {
  return name.size() == dashed.size() &&
         std::equal(name.begin(), name.end(), dashed.begin(),
                    [](char a, char b) { return a == b || (a == '_' && b == '-'); });
}

template <typename Unsigned>
std::optional<Unsigned> InRange(std::string_view value) {
  const auto n = ParseNumber<std::int64_t>(value);
  if (!n || *n < 0 || *n > std::int64_t{std::numeric_limits<Unsigned>::max()}) {
    return std::nullopt;
  }
  return static_cast<Unsigned>(*n);
}

}  // namespace

void ApplyNamedOption(DhcpLease& lease, std::string_view name, std::string_view value) {
  if (SameOptionName(name, "dhcp-server-identifier")) {
    lease.server = CanonicalIpv4(value);
  } else if (SameOptionName(name, "netbios-name-servers")) {
    lease.winsServers.clear();
    for (const std::string_view word : Words(value, ",")) {
      if (auto address = CanonicalIpv4(word)) {
        lease.winsServers.push_back(*address);
      }
    }
  } else if (SameOptionName(name, "netbios-node-type")) {
    lease.nodeType = InRange<std::uint8_t>(value);
  } else if (SameOptionName(name, "netbios-scope")) {
    lease.scope = std::string(value);
  } else if (SameOptionName(name, "dhcp-lease-time")) {
    lease.leaseSeconds = InRange<std::uint32_t>(value);
  }
}

void DateFromItsEnd(DhcpLease& lease) {
  if (lease.expires && lease.leaseSeconds && *lease.expires != kNeverExpires &&
      *lease.expires >= std::numeric_limits<std::int64_t>::min() + *lease.leaseSeconds) {
    lease.obtained = *lease.expires - *lease.leaseSeconds;
  }
}

std::map<int, DhcpLease> ReadLeasesByIndex(
    const std::string& dir,
    const std::function<std::optional<DhcpLease>(std::string_view)>& parse) {
  std::map<int, DhcpLease> leases;
  for (const std::string& name : ListDirectory(dir)) {
    const auto index = ParseNumber<std::int32_t>(name);
    if (!index || *index <= 0) {
      continue;
    }
    if (const auto text = ReadFileText(dir + name, 65536)) {
      if (auto lease = parse(*text)) {
        leases[*index] = std::move(*lease);
      }
    }
  }
  return leases;
}

}  // namespace addrvue::linux_source
