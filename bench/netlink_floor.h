// The least any program must do to learn what the adapter query reports: the pair's own three
// netlink dumps (links, IPv4 addresses, IPv4 routes, with the same requests and socket options),
// with every message read and nothing decoded.
#pragma once

#include <cstddef>

namespace addrvue::bench {

// Runs the three dumps; returns the number of messages read, or 0 when the socket fails.
std::size_t DumpLinksAddressesRoutes();

}  // namespace addrvue::bench
