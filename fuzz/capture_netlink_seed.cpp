// capture-netlink-seed FILE: writes the datagrams of this network namespace's link, IPv4 address
// and route dumps as the kernel sent them (requests 1, 2 and 3), a seed for netlink_fuzz.
#include <linux/rtnetlink.h>
#include <sys/socket.h>

#include <fstream>
#include <iostream>
#include <span>

#include "platform/linux/netlink_dump.h"

namespace {

using namespace addrvue::linux_source;

bool CaptureDump(NetlinkSocket& socket, std::uint16_t type, std::uint8_t family,
                 std::ofstream& out) {
  const std::uint32_t sequence = socket.NextSequence();
  if (!socket.Send(DumpRequest(type, family, sequence))) {
    return false;
  }
  DumpState state = DumpState::kMore;
  while (state == DumpState::kMore) {
    const auto datagram = socket.Receive();
    if (!datagram) {
      return false;
    }
    out.write(reinterpret_cast<const char*>(datagram->data()),
              static_cast<std::streamsize>(datagram->size()));
    state = FrameDumpReply(*datagram, sequence, [](std::uint16_t, auto) {});
  }
  return state == DumpState::kDone;
}

}  // namespace

int main(int argc, char** argv) {
  const std::span arguments(argv, static_cast<std::size_t>(argc));
  if (arguments.size() != 2) {
    std::cerr << "usage: capture-netlink-seed FILE\n";
    return 2;
  }
  std::ofstream out(arguments[1], std::ios::binary);
  NetlinkSocket socket;
  if (!CaptureDump(socket, RTM_GETLINK, AF_UNSPEC, out) ||
      !CaptureDump(socket, RTM_GETADDR, AF_INET, out) ||
      !CaptureDump(socket, RTM_GETROUTE, AF_INET, out)) {
    std::cerr << "capture-netlink-seed: the dump failed\n";
    return 1;
  }
  return 0;
}
