#include "platform/linux/adapter_type.h"

#include <net/if_arp.h>

namespace addrvue::linux_source {
namespace {

constexpr std::uint32_t kOther = 1;
constexpr std::uint32_t kEthernet = 6;
constexpr std::uint32_t kTokenRing = 9;
constexpr std::uint32_t kFddi = 15;
constexpr std::uint32_t kPpp = 23;
constexpr std::uint32_t kSlip = 28;
constexpr std::uint32_t kWireless = 71;
constexpr std::uint32_t kTunnel = 131;

}  // namespace

std::uint32_t AdapterTypeOf(std::uint16_t linkType, bool wirelessDevice) {
  switch (linkType) {
    case ARPHRD_ETHER:
    case ARPHRD_EETHER:
      return wirelessDevice ? kWireless : kEthernet;
    case ARPHRD_IEEE802:
    case ARPHRD_IEEE802_TR:
      return kTokenRing;
    case ARPHRD_FDDI:
      return kFddi;
    case ARPHRD_PPP:
      return kPpp;
    case ARPHRD_SLIP:
    case ARPHRD_CSLIP:
    case ARPHRD_SLIP6:
    case ARPHRD_CSLIP6:
      return kSlip;
    case ARPHRD_IEEE80211:
    case ARPHRD_IEEE80211_PRISM:
    case ARPHRD_IEEE80211_RADIOTAP:
      return kWireless;
    case ARPHRD_TUNNEL:
    case ARPHRD_TUNNEL6:
    case ARPHRD_SIT:
    case ARPHRD_IPGRE:
    case 823:          // ARPHRD_IP6GRE
    case ARPHRD_NONE:  // tun devices and WireGuard: IP tunnels without a link layer
      return kTunnel;
    default:
      return kOther;
  }
}

}  // namespace addrvue::linux_source
