// systemd-networkd's leases: /run/systemd/netif/leases/<interface index>. The systemd of Debian 12
// and 13 writes key=value lines (ADDRESS=, SERVER_ADDRESS=, LIFETIME= in seconds) with no time of
// their own, so the kernel's address lifetimes date them; systemd's JSON form also notes when the
// lease was acquired.
#pragma once

#include <map>
#include <optional>
#include <string_view>

#include "platform/linux/dhcp_lease.h"
#include "platform/linux/system_files.h"

namespace addrvue::linux_source {

// A lease in either form; nothing without an address.
std::optional<DhcpLease> ParseNetworkdLease(std::string_view text);

// Leases by interface index.
std::map<int, DhcpLease> ReadNetworkdLeases(const SystemRoot& root);

}  // namespace addrvue::linux_source
