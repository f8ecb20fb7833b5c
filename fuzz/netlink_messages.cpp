#include "fuzz/netlink_messages.h"

#include <linux/netlink.h>
#include <linux/rtnetlink.h>

#include <cstring>

namespace addrvue::fuzzing {

linux_source::KernelInterfaces ParseMessageStream(std::span<const std::byte> stream) {
  linux_source::KernelInterfaces kernel;
  std::size_t at = 0;
  while (stream.size() - at >= sizeof(nlmsghdr)) {
    nlmsghdr header{};
    std::memcpy(&header, stream.subspan(at).data(), sizeof header);
    if (header.nlmsg_len < NLMSG_HDRLEN || header.nlmsg_len > stream.size() - at) {
      break;
    }
    const auto payload = stream.subspan(at + NLMSG_HDRLEN, header.nlmsg_len - NLMSG_HDRLEN);
    switch (header.nlmsg_type) {
      case RTM_NEWLINK:
        if (auto link = linux_source::ParseLinkMessage(payload)) {
          kernel.links.push_back(std::move(*link));
        }
        break;
      case RTM_NEWADDR:
        if (auto address = linux_source::ParseAddressMessage(payload)) {
          kernel.addresses.push_back(*address);
        }
        break;
      case RTM_NEWROUTE:
        for (const auto& route : linux_source::ParseDefaultRouteMessage(payload)) {
          kernel.defaultRoutes.push_back(route);
        }
        break;
      default:
        break;
    }
    at += std::min<std::size_t>(NLMSG_ALIGN(header.nlmsg_len), stream.size() - at);
  }
  return kernel;
}

}  // namespace addrvue::fuzzing
