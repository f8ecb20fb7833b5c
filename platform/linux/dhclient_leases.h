// ISC dhclient's lease files: /var/lib/dhcp/*.leases, and the dhclient-*.lease files that
// NetworkManager keeps when it runs dhclient.
#pragma once

#include <string_view>

#include "platform/linux/dhcp_lease.h"
#include "platform/linux/system_files.h"

namespace addrvue::linux_source {

// The leases of one file, the last `lease { }` block of each interface winning (dhclient
// appends a block at each renewal).
LeasesByInterface ParseDhclientLeases(std::string_view text);

// Every lease file under `root`; a later file (by name) wins over an earlier one for the same
// interface only when its lease ends later.
LeasesByInterface ReadDhclientLeases(const SystemRoot& root);

}  // namespace addrvue::linux_source
