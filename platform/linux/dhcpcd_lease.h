// dhcpcd's lease files: /var/lib/dhcpcd/<interface>.lease holds the server's DHCPACK as it
// came; the lease began when the file was written.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "platform/linux/dhcp_lease.h"
#include "platform/linux/system_files.h"

namespace addrvue::linux_source {

// The lease in a raw BOOTP/DHCP message; nothing when it is not one. `written` is the file's
// modification time.
std::optional<DhcpLease> ParseDhcpMessage(std::span<const std::uint8_t> message,
                                          std::optional<std::int64_t> written);

// The lease files under `root`, by the interface each is named after.
LeasesByInterface ReadDhcpcdLeases(const SystemRoot& root);

}  // namespace addrvue::linux_source
