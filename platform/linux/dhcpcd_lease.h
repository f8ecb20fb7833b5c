// dhcpcd's lease files: /var/lib/dhcpcd/<interface>.lease, or <interface>-<ssid>.lease for a
// wireless interface (the SSID escaped for a file name: a backslash doubled; '/', ' ' and bytes
// that are not printable ASCII as octal escapes), holds the server's DHCPACK as it came; the lease
// began when the file was written. A DHCPv6 lease (.lease6) is no IPv4 lease.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/dhcp_lease.h"
#include "platform/linux/system_files.h"

namespace addrvue::linux_source {

// The lease in a raw BOOTP/DHCP message; nothing when it is not one. `written` is the file's
// modification time.
std::optional<DhcpLease> ParseDhcpMessage(std::span<const std::uint8_t> message,
                                          std::optional<std::int64_t> written);

// The lease files under `root` of the interfaces named, by interface: a file belongs to the
// longest name that is followed by "-" or by ".lease" (an SSID may hold dashes). Of several files
// for one interface, the one written last.
LeasesByInterface ReadDhcpcdLeases(const SystemRoot& root,
                                   const std::vector<std::string>& interfaces);

}  // namespace addrvue::linux_source
