// Runs what a reader found through the rest of the program: the facts are put into records,
// written in the 32-bit layout by the two-call protocol and read back by the whole report. A
// value that does not fit its field, or a record written past its end, shows here.
#pragma once

#include <optional>

#include "platform/linux/dhcp_lease.h"
#include "platform/linux/snapshot.h"

namespace addrvue::fuzzing {

// One Ethernet interface, index 2, holding `address` (or 10.0.0.2) as a DHCP address with a
// finite lifetime, a default route through 10.0.0.1, and `lease` as its only lease. The clock
// stands in the middle of 2023.
linux_source::SystemFacts OneInterfaceFacts(const std::optional<linux_source::DhcpLease>& lease);

// The report of these facts, start to end.
void RunReport(const linux_source::SystemFacts& facts);

}  // namespace addrvue::fuzzing
