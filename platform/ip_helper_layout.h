// Byte layout of the IP Helper records as a 32-bit Windows process sees them. Every reader and
// writer of result buffers in this program takes its offsets from here; the Windows build checks
// them against the system headers at compile time.
#pragma once

#include <cstddef>

namespace iphlp::layout {

inline constexpr std::size_t kMaxHostnameLen = 128 + 4;    // MAX_HOSTNAME_LEN + 4
inline constexpr std::size_t kMaxDomainNameLen = 128 + 4;  // MAX_DOMAIN_NAME_LEN + 4
inline constexpr std::size_t kMaxScopeIdLen = 256 + 4;     // MAX_SCOPE_ID_LEN + 4
inline constexpr std::size_t kAdapterNameLen = 256 + 4;    // MAX_ADAPTER_NAME_LENGTH + 4
inline constexpr std::size_t kAdapterDescriptionLen =
    128 + 4;                                          // MAX_ADAPTER_DESCRIPTION_LENGTH + 4
inline constexpr std::size_t kAdapterAddressLen = 8;  // MAX_ADAPTER_ADDRESS_LENGTH
inline constexpr std::size_t kIpStringLen = 16;       // IP_ADDRESS_STRING / IP_MASK_STRING

// IP_ADDR_STRING
namespace addr {
inline constexpr std::size_t Next = 0;
inline constexpr std::size_t IpAddress = 4;
inline constexpr std::size_t IpMask = 20;
inline constexpr std::size_t Context = 36;
inline constexpr std::size_t kSize = 40;
}  // namespace addr

// FIXED_INFO
namespace fixed {
inline constexpr std::size_t HostName = 0;
inline constexpr std::size_t DomainName = 132;
inline constexpr std::size_t CurrentDnsServer = 264;
inline constexpr std::size_t DnsServerList = 268;
inline constexpr std::size_t NodeType = 308;
inline constexpr std::size_t ScopeId = 312;
inline constexpr std::size_t EnableRouting = 572;
inline constexpr std::size_t EnableProxy = 576;
inline constexpr std::size_t EnableDns = 580;
inline constexpr std::size_t kSize = 584;
}  // namespace fixed

// IP_ADAPTER_INFO, with the 32-bit time_t of the platform's 32-bit ABI
namespace adapter {
inline constexpr std::size_t Next = 0;
inline constexpr std::size_t ComboIndex = 4;
inline constexpr std::size_t AdapterName = 8;
inline constexpr std::size_t Description = 268;
inline constexpr std::size_t AddressLength = 400;
inline constexpr std::size_t Address = 404;
inline constexpr std::size_t Index = 412;
inline constexpr std::size_t Type = 416;
inline constexpr std::size_t DhcpEnabled = 420;
inline constexpr std::size_t CurrentIpAddress = 424;
inline constexpr std::size_t IpAddressList = 428;
inline constexpr std::size_t GatewayList = 468;
inline constexpr std::size_t DhcpServer = 508;
inline constexpr std::size_t HaveWins = 548;
inline constexpr std::size_t PrimaryWinsServer = 552;
inline constexpr std::size_t SecondaryWinsServer = 592;
inline constexpr std::size_t LeaseObtained = 632;
inline constexpr std::size_t LeaseExpires = 636;
inline constexpr std::size_t kSize = 640;
}  // namespace adapter

// IP_ADAPTER_INFO Type: the interface types an adapter is reported as.
namespace adapter_type {
inline constexpr unsigned kOther = 1;
inline constexpr unsigned kEthernet = 6;
inline constexpr unsigned kTokenRing = 9;
inline constexpr unsigned kFddi = 15;
inline constexpr unsigned kPpp = 23;
inline constexpr unsigned kLoopback = 24;
inline constexpr unsigned kSlip = 28;
inline constexpr unsigned kIeee80211 = 71;
inline constexpr unsigned kTunnel = 131;
}  // namespace adapter_type

// FIXED_INFO NodeType: how NetBIOS names are resolved.
namespace node_type {
inline constexpr unsigned kBroadcast = 1;
inline constexpr unsigned kPeerToPeer = 2;
inline constexpr unsigned kMixed = 4;
inline constexpr unsigned kHybrid = 8;
}  // namespace node_type

// Result codes the two queries answer.
inline constexpr unsigned kNoError = 0;
inline constexpr unsigned kErrorInvalidParameter = 87;
inline constexpr unsigned kErrorBufferOverflow = 111;
inline constexpr unsigned kErrorNoData = 232;

}  // namespace iphlp::layout
