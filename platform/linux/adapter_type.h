// The platform's adapter type for a Linux link type.
#pragma once

#include <cstdint>

namespace addrvue::linux_source {

// An iphlp::layout::adapter_type code: an 802.11 link, or an Ethernet-typed link of a wireless
// device, is 802.11; IP tunnels without a link layer are tunnels; unknown link types are "other".
std::uint32_t AdapterTypeOf(std::uint16_t linkType, bool wirelessDevice);

}  // namespace addrvue::linux_source
