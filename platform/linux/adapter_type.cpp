#include "platform/linux/adapter_type.h"

#include <linux/if_arp.h>

#include "platform/ip_helper_layout.h"

namespace addrvue::linux_source {

namespace type = iphlp::layout::adapter_type;

std::uint32_t AdapterTypeOf(std::uint16_t linkType, bool wirelessDevice) {
  switch (linkType) {
    case ARPHRD_ETHER:
    case ARPHRD_EETHER:
      return wirelessDevice ? type::kIeee80211 : type::kEthernet;
    case ARPHRD_IEEE802:
    case ARPHRD_IEEE802_TR:
      return type::kTokenRing;
    case ARPHRD_FDDI:
      return type::kFddi;
    case ARPHRD_PPP:
      return type::kPpp;
    case ARPHRD_SLIP:
    case ARPHRD_CSLIP:
    case ARPHRD_SLIP6:
    case ARPHRD_CSLIP6:
      return type::kSlip;
    case ARPHRD_IEEE80211:
    case ARPHRD_IEEE80211_PRISM:
    case ARPHRD_IEEE80211_RADIOTAP:
      return type::kIeee80211;
    case ARPHRD_TUNNEL:
    case ARPHRD_TUNNEL6:
    case ARPHRD_SIT:
    case ARPHRD_IPGRE:
    case ARPHRD_IP6GRE:
    case ARPHRD_NONE:  // tun devices and WireGuard: IP tunnels without a link layer
      return type::kTunnel;
    default:
      return type::kOther;
  }
}

}  // namespace addrvue::linux_source
