// The record layout the report reads (platform/ip_helper_layout.h) is the one the system headers
// give this 32-bit build: a different time_t or packing would move every field after it, and a
// code named differently would show another adapter or node type.
// winsock2.h comes first: windows.h would otherwise bring the old winsock.h, which clashes with it.
#include <winsock2.h>

#include <iphlpapi.h>
#include <windows.h>

#include <cstddef>

#include "platform/ip_helper_layout.h"

namespace {

namespace L = iphlp::layout;

static_assert(sizeof(void*) == 4, "QUIRNEL_ADDRVUE.exe is a 32-bit program");
static_assert(sizeof(time_t) == 4, "IP_ADAPTER_INFO carries 32-bit lease times (msvcrt time_t)");

static_assert(sizeof(IP_ADDR_STRING) == L::addr::kSize);
static_assert(offsetof(IP_ADDR_STRING, Next) == L::addr::Next);
static_assert(offsetof(IP_ADDR_STRING, IpAddress) == L::addr::IpAddress);
static_assert(offsetof(IP_ADDR_STRING, IpMask) == L::addr::IpMask);
static_assert(offsetof(IP_ADDR_STRING, Context) == L::addr::Context);
static_assert(sizeof(IP_ADDRESS_STRING) == L::kIpStringLen);

static_assert(sizeof(FIXED_INFO) == L::fixed::kSize);
static_assert(offsetof(FIXED_INFO, HostName) == L::fixed::HostName);
static_assert(offsetof(FIXED_INFO, DomainName) == L::fixed::DomainName);
static_assert(offsetof(FIXED_INFO, CurrentDnsServer) == L::fixed::CurrentDnsServer);
static_assert(offsetof(FIXED_INFO, DnsServerList) == L::fixed::DnsServerList);
static_assert(offsetof(FIXED_INFO, NodeType) == L::fixed::NodeType);
static_assert(offsetof(FIXED_INFO, ScopeId) == L::fixed::ScopeId);
static_assert(offsetof(FIXED_INFO, EnableRouting) == L::fixed::EnableRouting);
static_assert(offsetof(FIXED_INFO, EnableProxy) == L::fixed::EnableProxy);
static_assert(offsetof(FIXED_INFO, EnableDns) == L::fixed::EnableDns);
static_assert(sizeof(FIXED_INFO::HostName) == L::kMaxHostnameLen);
static_assert(sizeof(FIXED_INFO::DomainName) == L::kMaxDomainNameLen);
static_assert(sizeof(FIXED_INFO::ScopeId) == L::kMaxScopeIdLen);

static_assert(sizeof(IP_ADAPTER_INFO) == L::adapter::kSize);
static_assert(offsetof(IP_ADAPTER_INFO, Next) == L::adapter::Next);
static_assert(offsetof(IP_ADAPTER_INFO, ComboIndex) == L::adapter::ComboIndex);
static_assert(offsetof(IP_ADAPTER_INFO, AdapterName) == L::adapter::AdapterName);
static_assert(offsetof(IP_ADAPTER_INFO, Description) == L::adapter::Description);
static_assert(offsetof(IP_ADAPTER_INFO, AddressLength) == L::adapter::AddressLength);
static_assert(offsetof(IP_ADAPTER_INFO, Address) == L::adapter::Address);
static_assert(offsetof(IP_ADAPTER_INFO, Index) == L::adapter::Index);
static_assert(offsetof(IP_ADAPTER_INFO, Type) == L::adapter::Type);
static_assert(offsetof(IP_ADAPTER_INFO, DhcpEnabled) == L::adapter::DhcpEnabled);
static_assert(offsetof(IP_ADAPTER_INFO, CurrentIpAddress) == L::adapter::CurrentIpAddress);
static_assert(offsetof(IP_ADAPTER_INFO, IpAddressList) == L::adapter::IpAddressList);
static_assert(offsetof(IP_ADAPTER_INFO, GatewayList) == L::adapter::GatewayList);
static_assert(offsetof(IP_ADAPTER_INFO, DhcpServer) == L::adapter::DhcpServer);
static_assert(offsetof(IP_ADAPTER_INFO, HaveWins) == L::adapter::HaveWins);
static_assert(offsetof(IP_ADAPTER_INFO, PrimaryWinsServer) == L::adapter::PrimaryWinsServer);
static_assert(offsetof(IP_ADAPTER_INFO, SecondaryWinsServer) == L::adapter::SecondaryWinsServer);
static_assert(offsetof(IP_ADAPTER_INFO, LeaseObtained) == L::adapter::LeaseObtained);
static_assert(offsetof(IP_ADAPTER_INFO, LeaseExpires) == L::adapter::LeaseExpires);
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
