// A stream of rtnetlink messages as the kernel frames them (nlmsghdr, payload, padding), and
// the kernel's view that the parsers make of it.
#pragma once

#include <cstddef>
#include <span>

#include "platform/linux/netlink_dump.h"

namespace addrvue::fuzzing {

// RTM_NEWLINK, RTM_NEWADDR and RTM_NEWROUTE messages go to their parsers; a header that does
// not fit ends the stream.
linux_source::KernelInterfaces ParseMessageStream(std::span<const std::byte> stream);

}  // namespace addrvue::fuzzing
