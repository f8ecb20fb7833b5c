// capture-netlink-seed FILE: writes this network namespace's link, IPv4 address and route dumps
// as one framed message stream, a seed for netlink_fuzz.
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>

#include <cstring>
#include <fstream>
#include <iostream>
#include <vector>

#include "platform/linux/netlink_dump.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: capture-netlink-seed FILE\n";
    return 2;
  }
  std::vector<char> stream;
  const auto append = [&](std::uint16_t type, std::span<const std::byte> payload) {
    nlmsghdr header{};
    header.nlmsg_len = static_cast<std::uint32_t>(NLMSG_HDRLEN + payload.size());
    header.nlmsg_type = type;
    const auto* raw = reinterpret_cast<const char*>(&header);
    stream.insert(stream.end(), raw, raw + sizeof header);
    stream.resize(stream.size() + (NLMSG_HDRLEN - sizeof header));
    const auto* data = reinterpret_cast<const char*>(payload.data());
    stream.insert(stream.end(), data, data + payload.size());
    stream.resize(NLMSG_ALIGN(stream.size()));
  };
  addrvue::linux_source::NetlinkSocket socket;
  if (!socket.Dump(RTM_GETLINK, AF_UNSPEC, append) || !socket.Dump(RTM_GETADDR, AF_INET, append) ||
      !socket.Dump(RTM_GETROUTE, AF_INET, append)) {
    std::cerr << "capture-netlink-seed: the dump failed\n";
    return 1;
  }
  std::ofstream(argv[1], std::ios::binary)
      .write(stream.data(), static_cast<std::streamsize>(stream.size()));
  return 0;
}
