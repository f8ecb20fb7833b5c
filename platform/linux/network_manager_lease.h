// NetworkManager's view of its DHCP leases: the options of each device's DHCP4 configuration,
// from its D-Bus API where NetworkManager runs, else from the device state files it keeps in
// /run/NetworkManager/devices/<interface index> (section [dhcp4]).
#pragma once

#include <map>
#include <string_view>

#include "platform/linux/dhcp_lease.h"
#include "platform/linux/system_files.h"

namespace addrvue::linux_source {

// A lease from NetworkManager's option names and values (dhcp_server_identifier, expiry,
// dhcp_lease_time, ip_address, netbios_name_servers, netbios_node_type, netbios_scope).
std::optional<DhcpLease> LeaseFromNetworkManagerOptions(
    const std::map<std::string, std::string>& options);

// The [dhcp4] options of a device state file.
std::map<std::string, std::string> ParseNetworkManagerDeviceFile(std::string_view text);

// Leases by interface index, from the state files under `root`.
std::map<int, DhcpLease> ReadNetworkManagerDeviceFiles(const SystemRoot& root);

// Leases by interface name from NetworkManager on the system bus; empty when it does not run or
// the bus cannot be reached.
LeasesByInterface ReadNetworkManagerBus();

}  // namespace addrvue::linux_source
