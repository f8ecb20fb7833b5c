// systemd-networkd's leases: /run/systemd/netif/leases/<interface index>, in its key=value form
// (ADDRESS=, SERVER_ADDRESS=, LIFETIME= ...) or in a JSON form. Neither holds an absolute time:
// the kernel's address lifetimes date them.
#pragma once

#include <map>
#include <string_view>

#include "platform/linux/dhcp_lease.h"
#include "platform/linux/system_files.h"

namespace addrvue::linux_source {

std::optional<DhcpLease> ParseNetworkdLease(std::string_view text);

// Leases by interface index.
std::map<int, DhcpLease> ReadNetworkdLeases(const SystemRoot& root);

}  // namespace addrvue::linux_source
