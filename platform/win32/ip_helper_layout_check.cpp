// The record layout the system's IP Helper writes for this build (platform/ip_helper_layout.h,
// 32-bit or 64-bit by the build's pointer width) is the one the system headers give it: a
// different time_t, pointer width or packing would move every field after it, and a code named
// differently would show another adapter or node type.
// winsock2.h comes first: windows.h would otherwise bring the old winsock.h, which clashes with it.
#include <winsock2.h>

#include <iphlpapi.h>
#include <windows.h>

#include <cstddef>

#include "platform/ip_helper_layout.h"

namespace {

namespace L = iphlp::layout;
constexpr const L::RecordLayout& kLayout = L::WindowsProcessLayout();

static_assert(sizeof(void*) == kLayout.pointerWidth);
static_assert(sizeof(IP_ADDR_STRING::Next) == kLayout.pointerWidth);
static_assert(sizeof(FIXED_INFO::CurrentDnsServer) == kLayout.pointerWidth);
static_assert(sizeof(IP_ADAPTER_INFO::Next) == kLayout.pointerWidth);
static_assert(sizeof(IP_ADAPTER_INFO::CurrentIpAddress) == kLayout.pointerWidth);
static_assert(sizeof(IP_ADAPTER_INFO::LeaseObtained) == kLayout.timeWidth,
              "IP_ADAPTER_INFO carries lease times of the C runtime's time_t");
static_assert(sizeof(IP_ADAPTER_INFO::LeaseExpires) == kLayout.timeWidth);

static_assert(sizeof(IP_ADDR_STRING) == kLayout.addr.Size);
static_assert(offsetof(IP_ADDR_STRING, Next) == kLayout.addr.Next);
static_assert(offsetof(IP_ADDR_STRING, IpAddress) == kLayout.addr.IpAddress);
static_assert(offsetof(IP_ADDR_STRING, IpMask) == kLayout.addr.IpMask);
static_assert(offsetof(IP_ADDR_STRING, Context) == kLayout.addr.Context);
static_assert(sizeof(IP_ADDRESS_STRING) == L::kIpStringLen);

static_assert(sizeof(FIXED_INFO) == kLayout.fixed.Size);
static_assert(offsetof(FIXED_INFO, HostName) == kLayout.fixed.HostName);
static_assert(offsetof(FIXED_INFO, DomainName) == kLayout.fixed.DomainName);
static_assert(offsetof(FIXED_INFO, CurrentDnsServer) == kLayout.fixed.CurrentDnsServer);
static_assert(offsetof(FIXED_INFO, DnsServerList) == kLayout.fixed.DnsServerList);
static_assert(offsetof(FIXED_INFO, NodeType) == kLayout.fixed.NodeType);
static_assert(offsetof(FIXED_INFO, ScopeId) == kLayout.fixed.ScopeId);
static_assert(offsetof(FIXED_INFO, EnableRouting) == kLayout.fixed.EnableRouting);
static_assert(offsetof(FIXED_INFO, EnableProxy) == kLayout.fixed.EnableProxy);
static_assert(offsetof(FIXED_INFO, EnableDns) == kLayout.fixed.EnableDns);
static_assert(sizeof(FIXED_INFO::HostName) == L::kMaxHostnameLen);
static_assert(sizeof(FIXED_INFO::DomainName) == L::kMaxDomainNameLen);
static_assert(sizeof(FIXED_INFO::ScopeId) == L::kMaxScopeIdLen);

static_assert(sizeof(IP_ADAPTER_INFO) == kLayout.adapter.Size);
static_assert(offsetof(IP_ADAPTER_INFO, Next) == kLayout.adapter.Next);
static_assert(offsetof(IP_ADAPTER_INFO, ComboIndex) == kLayout.adapter.ComboIndex);
static_assert(offsetof(IP_ADAPTER_INFO, AdapterName) == kLayout.adapter.AdapterName);
static_assert(offsetof(IP_ADAPTER_INFO, Description) == kLayout.adapter.Description);
static_assert(offsetof(IP_ADAPTER_INFO, AddressLength) == kLayout.adapter.AddressLength);
static_assert(offsetof(IP_ADAPTER_INFO, Address) == kLayout.adapter.Address);
static_assert(offsetof(IP_ADAPTER_INFO, Index) == kLayout.adapter.Index);
static_assert(offsetof(IP_ADAPTER_INFO, Type) == kLayout.adapter.Type);
static_assert(offsetof(IP_ADAPTER_INFO, DhcpEnabled) == kLayout.adapter.DhcpEnabled);
static_assert(offsetof(IP_ADAPTER_INFO, CurrentIpAddress) == kLayout.adapter.CurrentIpAddress);
static_assert(offsetof(IP_ADAPTER_INFO, IpAddressList) == kLayout.adapter.IpAddressList);
static_assert(offsetof(IP_ADAPTER_INFO, GatewayList) == kLayout.adapter.GatewayList);
static_assert(offsetof(IP_ADAPTER_INFO, DhcpServer) == kLayout.adapter.DhcpServer);
static_assert(offsetof(IP_ADAPTER_INFO, HaveWins) == kLayout.adapter.HaveWins);
static_assert(offsetof(IP_ADAPTER_INFO, PrimaryWinsServer) == kLayout.adapter.PrimaryWinsServer);
static_assert(offsetof(IP_ADAPTER_INFO, SecondaryWinsServer) ==
              kLayout.adapter.SecondaryWinsServer);
static_assert(offsetof(IP_ADAPTER_INFO, LeaseObtained) == kLayout.adapter.LeaseObtained);
static_assert(offsetof(IP_ADAPTER_INFO, LeaseExpires) == kLayout.adapter.LeaseExpires);
static_assert(sizeof(IP_ADAPTER_INFO::AdapterName) == L::kAdapterNameLen);
static_assert(sizeof(IP_ADAPTER_INFO::Description) == L::kAdapterDescriptionLen);
static_assert(sizeof(IP_ADAPTER_INFO::Address) == L::kAdapterAddressLen);

static_assert(MIB_IF_TYPE_OTHER == L::adapter_type::kOther);
static_assert(MIB_IF_TYPE_ETHERNET == L::adapter_type::kEthernet);
static_assert(MIB_IF_TYPE_TOKENRING == L::adapter_type::kTokenRing);
static_assert(MIB_IF_TYPE_FDDI == L::adapter_type::kFddi);
static_assert(MIB_IF_TYPE_PPP == L::adapter_type::kPpp);
static_assert(MIB_IF_TYPE_LOOPBACK == L::adapter_type::kLoopback);
static_assert(MIB_IF_TYPE_SLIP == L::adapter_type::kSlip);
static_assert(IF_TYPE_IEEE80211 == L::adapter_type::kIeee80211);
static_assert(IF_TYPE_TUNNEL == L::adapter_type::kTunnel);

static_assert(BROADCAST_NODETYPE == L::node_type::kBroadcast);
static_assert(PEER_TO_PEER_NODETYPE == L::node_type::kPeerToPeer);
static_assert(MIXED_NODETYPE == L::node_type::kMixed);
static_assert(HYBRID_NODETYPE == L::node_type::kHybrid);

static_assert(ERROR_SUCCESS == L::kNoError);
static_assert(ERROR_INVALID_PARAMETER == L::kErrorInvalidParameter);
static_assert(ERROR_BUFFER_OVERFLOW == L::kErrorBufferOverflow);
static_assert(ERROR_NO_DATA == L::kErrorNoData);

}  // namespace
