#include "platform/linux/netlink_messages.h"

#include <linux/if_addr.h>
#include <linux/if_link.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>

#include <optional>
#include <string_view>

#include "platform/linux/netlink_bytes.h"

namespace addrvue::linux_source {
namespace {

using Ipv4 = std::array<std::uint8_t, 4>;

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
                bytes.subspan(at + RTA_LENGTH(0), length - RTA_LENGTH(0)));
    at += RTA_ALIGN(length);
  }
}

std::string AttributeString(std::span<const std::byte> value) {
  const std::string_view text(reinterpret_cast<const char*>(value.data()), value.size());
  return std::string(text.substr(0, text.find('\0')));
}

std::optional<std::uint32_t> AttributeU32(std::span<const std::byte> value) {
  return HeaderAt<std::uint32_t>(value);
}

std::optional<Ipv4> AttributeIpv4(std::span<const std::byte> value) {
  if (value.size() != 4) {
    return std::nullopt;
  }
  return HeaderAt<Ipv4>(value);
}

std::string LinkKind(std::span<const std::byte> linkInfo) {
  std::string kind;
  ForEachAttribute(linkInfo, [&](std::uint16_t type, auto value) {
    if (type == IFLA_INFO_KIND) {
      kind = AttributeString(value);
    }
  });
  return kind;
}

std::optional<Ipv4> GatewayOf(std::span<const std::byte> attributes) {
  std::optional<Ipv4> gateway;
  ForEachAttribute(attributes, [&](std::uint16_t type, auto value) {
    if (type == RTA_GATEWAY) {
      gateway = AttributeIpv4(value);
    }
  });
  return gateway;
}

// The next hops of an RTA_MULTIPATH attribute that lead through a gateway.
std::vector<RouteEntry> NextHops(std::span<const std::byte> multipath) {
  std::vector<RouteEntry> hops;
  constexpr std::size_t kHeader = RTNH_ALIGN(sizeof(rtnexthop));
  std::size_t at = 0;
  while (const auto hop = HeaderAt<rtnexthop>(multipath, at)) {
    const std::size_t length = hop->rtnh_len;
    if (length < kHeader || length > multipath.size() - at) {
      break;
    }
    if (const auto gateway = GatewayOf(multipath.subspan(at + kHeader, length - kHeader))) {
      hops.push_back(RouteEntry{hop->rtnh_ifindex, *gateway, 0});
    }
    at += RTNH_ALIGN(length);
  }
  return hops;
}

// Fills `link`, a fresh entry, from the message; false when the message is too short for one.
bool ParseLinkMessage(std::span<const std::byte> payload, LinkEntry& link) {
  const auto info = HeaderAt<ifinfomsg>(payload);
  if (!info) {
    return false;
  }
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
                         link.address = iphlp::HardwareAddress(value);
                         break;
                       case IFLA_LINKINFO:
                         link.kind = LinkKind(value);
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
  return true;
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
  std::optional<Ipv4> local;
  std::optional<Ipv4> address;
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
  if (!local && !address) {
    return std::nullopt;
  }
  entry.local = local ? *local : *address;
  entry.secondary = (flags & IFA_F_SECONDARY) != 0;
  entry.permanent = (flags & IFA_F_PERMANENT) != 0;
  return entry;
}

// An IPv4 default route of the main table, one entry for each of its next hops.
std::vector<RouteEntry> ParseDefaultRouteMessage(std::span<const std::byte> payload) {
  const auto header = HeaderAt<rtmsg>(payload);
  if (!header || header->rtm_family != AF_INET || header->rtm_dst_len != 0 ||
      header->rtm_type != RTN_UNICAST) {
    return {};
  }
  std::uint32_t table = header->rtm_table;
  std::optional<std::uint32_t> oif;
  std::optional<Ipv4> gateway;
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
                       case RTA_MULTIPATH:
                         hops = NextHops(value);
                         break;
                       default:
                         break;
                     }
                   });
  if (table != RT_TABLE_MAIN) {
    return {};
  }
  std::vector<RouteEntry> routes;
  if (oif && gateway) {
    routes.push_back(RouteEntry{static_cast<int>(*oif), *gateway, 0});
  }
  routes.insert(routes.end(), hops.begin(), hops.end());
  for (RouteEntry& route : routes) {
    route.metric = metric;
  }
  return routes;
}

}  // namespace

void AddMessage(KernelInterfaces& kernel, std::uint16_t type, std::span<const std::byte> payload) {
  switch (type) {
    case RTM_NEWLINK:
      // Parsed where it stays: a link entry is large, and there are as many as interfaces.
      if (!ParseLinkMessage(payload, kernel.links.emplace_back())) {
        kernel.links.pop_back();
      }
      break;
    case RTM_NEWADDR:
      if (const auto address = ParseAddressMessage(payload)) {
        kernel.addresses.push_back(*address);
      }
      break;
    case RTM_NEWROUTE:
      for (const RouteEntry& route : ParseDefaultRouteMessage(payload)) {
        kernel.defaultRoutes.push_back(route);
      }
      break;
    default:
      break;
  }
}

}  // namespace addrvue::linux_source
