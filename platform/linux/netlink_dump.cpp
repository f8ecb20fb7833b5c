#include "platform/linux/netlink_dump.h"

#include <linux/if_addr.h>
#include <linux/if_link.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>

namespace addrvue::linux_source {
namespace {

// Copies a header struct from the front of a span; nothing when the span is too short.
template <typename T>
std::optional<T> HeaderAt(std::span<const std::byte> bytes, std::size_t offset = 0) {
  if (offset > bytes.size() || bytes.size() - offset < sizeof(T)) {
    return std::nullopt;
  }
  T value{};
  std::memcpy(&value, bytes.subspan(offset).data(), sizeof(T));
  return value;
}

constexpr std::size_t Align4(std::size_t n) {
  return (n + 3U) & ~std::size_t{3};
}

// Calls onAttribute(type, payload) for each rtattr in a span.
template <typename F>
void ForEachAttribute(std::span<const std::byte> bytes, F&& onAttribute) {
  std::size_t at = 0;
  while (const auto attr = HeaderAt<rtattr>(bytes, at)) {
    const std::size_t length = attr->rta_len;
    if (length < sizeof(rtattr) || length > bytes.size() - at) {
      return;
    }
    onAttribute(static_cast<std::uint16_t>(attr->rta_type & NLA_TYPE_MASK),
                bytes.subspan(at + Align4(sizeof(rtattr)), length - Align4(sizeof(rtattr))));
    at += Align4(length);
  }
}

std::string AttributeString(std::span<const std::byte> value) {
  std::string_view text(reinterpret_cast<const char*>(value.data()), value.size());
  return std::string(text.substr(0, text.find('\0')));
}

std::optional<std::uint32_t> AttributeU32(std::span<const std::byte> value) {
  return HeaderAt<std::uint32_t>(value);
}

std::optional<std::array<std::uint8_t, 4>> AttributeIpv4(std::span<const std::byte> value) {
  if (value.size() != 4) {
    return std::nullopt;
  }
  return HeaderAt<std::array<std::uint8_t, 4>>(value);
}

}  // namespace

std::optional<LinkEntry> ParseLinkMessage(std::span<const std::byte> payload) {
  const auto info = HeaderAt<ifinfomsg>(payload);
  if (!info) {
    return std::nullopt;
  }
  LinkEntry link;
  link.index = info->ifi_index;
  link.linkType = info->ifi_type;
  link.flags = info->ifi_flags;
  ForEachAttribute(payload.subspan(NLMSG_ALIGN(sizeof(ifinfomsg))),
                   [&](std::uint16_t type, auto value) {
                     switch (type) {
                       case IFLA_IFNAME:
                         link.name = AttributeString(value);
                         break;
                       case IFLA_ADDRESS:
                         link.address.clear();
                         for (const std::byte b : value) {
                           link.address.push_back(static_cast<std::uint8_t>(b));
                         }
                         break;
                       case IFLA_LINKINFO:
                         ForEachAttribute(value, [&](std::uint16_t inner, auto innerValue) {
                           if (inner == IFLA_INFO_KIND) {
                             link.kind = AttributeString(innerValue);
                           }
                         });
                         break;
                       case IFLA_PARENT_DEV_NAME:
                         link.parentDevice = AttributeString(value);
                         break;
                       case IFLA_PARENT_DEV_BUS_NAME:
                         link.parentBus = AttributeString(value);
                         break;
                       default:
                         break;
                     }
                   });
  return link;
}

std::optional<AddressEntry> ParseAddressMessage(std::span<const std::byte> payload) {
  const auto header = HeaderAt<ifaddrmsg>(payload);
  if (!header || header->ifa_family != AF_INET) {
    return std::nullopt;
  }
  AddressEntry entry;
  entry.index = static_cast<int>(header->ifa_index);
  entry.prefixLength = header->ifa_prefixlen;
  std::uint32_t flags = header->ifa_flags;
  std::optional<std::array<std::uint8_t, 4>> local;
  std::optional<std::array<std::uint8_t, 4>> address;
  ForEachAttribute(payload.subspan(NLMSG_ALIGN(sizeof(ifaddrmsg))),
                   [&](std::uint16_t type, auto value) {
                     switch (type) {
                       case IFA_LOCAL:
                         local = AttributeIpv4(value);
                         break;
                       case IFA_ADDRESS:
                         address = AttributeIpv4(value);
                         break;
                       case IFA_FLAGS:
                         flags = AttributeU32(value).value_or(flags);
                         break;
                       case IFA_CACHEINFO:
                         if (const auto cache = HeaderAt<ifa_cacheinfo>(value)) {
                           entry.validSeconds = cache->ifa_valid;
                           entry.updatedCentiseconds = cache->tstamp;
                         }
                         break;
                       default:
                         break;
                     }
                   });
  // On a point-to-point link IFA_ADDRESS is the peer; IFA_LOCAL is always our own.
  if (local) {
    entry.local = *local;
  } else if (address) {
    entry.local = *address;
  } else {
    return std::nullopt;
  }
  entry.secondary = (flags & IFA_F_SECONDARY) != 0;
  entry.permanent = (flags & IFA_F_PERMANENT) != 0;
  return entry;
}

std::vector<RouteEntry> ParseDefaultRouteMessage(std::span<const std::byte> payload) {
  std::vector<RouteEntry> routes;
  const auto header = HeaderAt<rtmsg>(payload);
  if (!header || header->rtm_family != AF_INET || header->rtm_dst_len != 0 ||
      header->rtm_type != RTN_UNICAST) {
    return routes;
  }
  std::uint32_t table = header->rtm_table;
  std::optional<std::uint32_t> oif;
  std::optional<std::array<std::uint8_t, 4>> gateway;
  std::uint32_t metric = 0;
  std::vector<RouteEntry> hops;
  ForEachAttribute(payload.subspan(NLMSG_ALIGN(sizeof(rtmsg))),
                   [&](std::uint16_t type, auto value) {
                     switch (type) {
                       case RTA_TABLE:
                         table = AttributeU32(value).value_or(table);
                         break;
                       case RTA_OIF:
                         oif = AttributeU32(value);
                         break;
                       case RTA_GATEWAY:
                         gateway = AttributeIpv4(value);
                         break;
                       case RTA_PRIORITY:
                         metric = AttributeU32(value).value_or(0);
                         break;
                       case RTA_MULTIPATH: {
                         std::size_t at = 0;
                         while (const auto hop = HeaderAt<rtnexthop>(value, at)) {
                           const std::size_t length = hop->rtnh_len;
                           if (length < sizeof(rtnexthop) || length > value.size() - at) {
                             break;
                           }
                           RouteEntry entry;
                           entry.outIndex = hop->rtnh_ifindex;
                           bool hasGateway = false;
                           ForEachAttribute(value.subspan(at + RTNH_ALIGN(sizeof(rtnexthop)),
                                                          length - RTNH_ALIGN(sizeof(rtnexthop))),
                                            [&](std::uint16_t hopType, auto hopValue) {
                                              if (hopType == RTA_GATEWAY) {
                                                if (const auto g = AttributeIpv4(hopValue)) {
                                                  entry.gateway = *g;
                                                  hasGateway = true;
                                                }
                                              }
                                            });
                           if (hasGateway) {
                             hops.push_back(entry);
                           }
                           at += RTNH_ALIGN(length);
                         }
                         break;
                       }
                       default:
                         break;
                     }
                   });
  if (table != RT_TABLE_MAIN) {
    return routes;
  }
  if (oif && gateway) {
    routes.push_back(RouteEntry{static_cast<int>(*oif), *gateway, metric});
  }
  for (RouteEntry& hop : hops) {
    hop.metric = metric;
    routes.push_back(hop);
  }
  return routes;
}

NetlinkSocket::NetlinkSocket() : fd_(socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE)) {
  if (fd_ >= 0) {
    const int one = 1;
    // Ask for the kernel's strict checking so that a dump is only what it was asked for.
    setsockopt(fd_, SOL_NETLINK, NETLINK_GET_STRICT_CHK, &one, sizeof one);
    const int size = 1 << 20;
    setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
  }
}

NetlinkSocket::~NetlinkSocket() {
  if (fd_ >= 0) {
    close(fd_);
  }
}

bool NetlinkSocket::Dump(
    std::uint16_t type, std::uint8_t family,
    const std::function<void(std::uint16_t, std::span<const std::byte>)>& onMessage) {
  if (fd_ < 0) {
    return false;
  }
  // ifinfomsg, ifaddrmsg and rtmsg all start with the family byte; strict checking wants the
  // whole header of the kind asked for, zeroed but for the family.
  std::size_t bodyLength = sizeof(rtmsg);
  if (type == RTM_GETLINK) {
    bodyLength = sizeof(ifinfomsg);
  } else if (type == RTM_GETADDR) {
    bodyLength = sizeof(ifaddrmsg);
  }
  std::array<std::byte, NLMSG_LENGTH(sizeof(ifinfomsg) + RTA_SPACE(sizeof(std::uint32_t)))>
      request{};
  nlmsghdr header{};
  header.nlmsg_len = static_cast<std::uint32_t>(NLMSG_LENGTH(bodyLength));
  header.nlmsg_type = type;
  header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
  header.nlmsg_seq = ++sequence_;
  request.at(NLMSG_HDRLEN) = static_cast<std::byte>(family);
  if (type == RTM_GETLINK) {
    // The links' statistics are not needed: asking the kernel to leave them out spares it a
    // good part of the dump's work (it gathers them from every device).
    rtattr mask{};
    mask.rta_len = RTA_LENGTH(sizeof(std::uint32_t));
    mask.rta_type = IFLA_EXT_MASK;
    const std::uint32_t filter = RTEXT_FILTER_SKIP_STATS;
    std::memcpy(request.data() + header.nlmsg_len, &mask, sizeof mask);
    std::memcpy(request.data() + header.nlmsg_len + RTA_LENGTH(0), &filter, sizeof filter);
    header.nlmsg_len += RTA_SPACE(sizeof filter);
  }
  std::memcpy(request.data(), &header, sizeof header);
  sockaddr_nl kernel{};
  kernel.nl_family = AF_NETLINK;
  if (sendto(fd_, request.data(), header.nlmsg_len, 0, reinterpret_cast<const sockaddr*>(&kernel),
             sizeof kernel) < 0) {
    return false;
  }
  std::vector<std::byte> buffer(std::size_t{1} << 16);
  for (;;) {
    const ssize_t got = recv(fd_, buffer.data(), buffer.size(), 0);
    if (got < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    const std::span<const std::byte> bytes(buffer.data(), static_cast<std::size_t>(got));
    std::size_t at = 0;
    while (const auto message = HeaderAt<nlmsghdr>(bytes, at)) {
      const std::size_t length = message->nlmsg_len;
      if (length < sizeof(nlmsghdr) || length > bytes.size() - at) {
        return false;
      }
      if (message->nlmsg_seq == sequence_) {
        if (message->nlmsg_type == NLMSG_DONE) {
          return (message->nlmsg_flags & NLM_F_DUMP_INTR) == 0;
        }
        if (message->nlmsg_type == NLMSG_ERROR) {
          return false;
        }
        onMessage(message->nlmsg_type, bytes.subspan(at + NLMSG_HDRLEN, length - NLMSG_HDRLEN));
      }
      at += NLMSG_ALIGN(length);
    }
    if (got == 0) {
      return false;
    }
  }
}

KernelInterfaces ReadKernelInterfaces() {
  KernelInterfaces result;
  // A dump that the kernel interrupts because the table changed is asked again.
  for (int attempt = 0; attempt < 3; ++attempt) {
    NetlinkSocket socket;
    KernelInterfaces found;
    const bool complete =
        socket.Dump(RTM_GETLINK, AF_UNSPEC,
                    [&](std::uint16_t type, std::span<const std::byte> payload) {
                      if (type == RTM_NEWLINK) {
                        if (auto link = ParseLinkMessage(payload)) {
                          found.links.push_back(std::move(*link));
                        }
                      }
                    }) &&
        socket.Dump(RTM_GETADDR, AF_INET,
                    [&](std::uint16_t type, std::span<const std::byte> payload) {
                      if (type == RTM_NEWADDR) {
                        if (auto address = ParseAddressMessage(payload)) {
                          found.addresses.push_back(*address);
                        }
                      }
                    }) &&
        socket.Dump(RTM_GETROUTE, AF_INET,
                    [&](std::uint16_t type, std::span<const std::byte> payload) {
                      if (type == RTM_NEWROUTE) {
                        for (const RouteEntry& route : ParseDefaultRouteMessage(payload)) {
                          found.defaultRoutes.push_back(route);
                        }
                      }
                    });
    result = std::move(found);
    if (complete) {
      break;
    }
  }
  std::stable_sort(result.links.begin(), result.links.end(),
                   [](const LinkEntry& a, const LinkEntry& b) { return a.index < b.index; });
  std::stable_sort(result.defaultRoutes.begin(), result.defaultRoutes.end(),
                   [](const RouteEntry& a, const RouteEntry& b) { return a.metric < b.metric; });
  return result;
}

}  // namespace addrvue::linux_source
