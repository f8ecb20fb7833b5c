// The platform's adapter type for a Linux link type.
#pragma once

#include <cstdint>

namespace addrvue::linux_source {

// Ethernet 6, token ring 9, FDDI 15, PPP 23, SLIP 28, wireless 71 (an 802.11 link, or an
// Ethernet-typed link of a wireless device), tunnels 131, anything else 1 ("other").
std::uint32_t AdapterTypeOf(std::uint16_t linkType, bool wirelessDevice);

}  // namespace addrvue::linux_source
