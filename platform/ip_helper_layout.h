// Byte layouts of the IP Helper records, as a 32-bit and as a 64-bit Windows process sees them.
// Every reader and writer of result buffers in this program takes its offsets from here; each
// Windows build checks its own layout against the system headers at compile time.
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

// Where each field of the three records lies, in one record layout.
struct AddrStringFields {
  std::size_t Next, IpAddress, IpMask, Context, Size;
};

struct FixedInfoFields {
  std::size_t HostName, DomainName, CurrentDnsServer, DnsServerList, NodeType, ScopeId,
      EnableRouting, EnableProxy, EnableDns, Size;
};

struct AdapterInfoFields {
  std::size_t Next, ComboIndex, AdapterName, Description, AddressLength, Address, Index, Type,
      DhcpEnabled, CurrentIpAddress, IpAddressList, GatewayList, DhcpServer, HaveWins,
      PrimaryWinsServer, SecondaryWinsServer, LeaseObtained, LeaseExpires, Size;
};

// One ABI's layout of the records: the width of its references (Next, CurrentDnsServer,
// CurrentIpAddress, which are pointers) and of its lease times (time_t), and every offset.
struct RecordLayout {
  std::size_t pointerWidth;
  std::size_t timeWidth;
  AddrStringFields addr;
  FixedInfoFields fixed;
  AdapterInfoFields adapter;
};

// A 32-bit Windows process: 4-byte pointers and the 4-byte time_t of msvcrt.
inline constexpr RecordLayout k32Bit{
    .pointerWidth = 4,
    .timeWidth = 4,
    .addr = {.Next = 0, .IpAddress = 4, .IpMask = 20, .Context = 36, .Size = 40},
    .fixed = {.HostName = 0,
              .DomainName = 132,
              .CurrentDnsServer = 264,
              .DnsServerList = 268,
              .NodeType = 308,
              .ScopeId = 312,
              .EnableRouting = 572,
              .EnableProxy = 576,
              .EnableDns = 580,
              .Size = 584},
    .adapter = {.Next = 0,
                .ComboIndex = 4,
                .AdapterName = 8,
                .Description = 268,
                .AddressLength = 400,
                .Address = 404,
                .Index = 412,
                .Type = 416,
                .DhcpEnabled = 420,
                .CurrentIpAddress = 424,
                .IpAddressList = 428,
                .GatewayList = 468,
                .DhcpServer = 508,
                .HaveWins = 548,
                .PrimaryWinsServer = 552,
                .SecondaryWinsServer = 592,
                .LeaseObtained = 632,
                .LeaseExpires = 636,
                .Size = 640}};

// A 64-bit (x64) Windows process: 8-byte pointers, each aligned to 8, and an 8-byte time_t.
inline constexpr RecordLayout k64Bit{
    .pointerWidth = 8,
    .timeWidth = 8,
    .addr = {.Next = 0, .IpAddress = 8, .IpMask = 24, .Context = 40, .Size = 48},
    .fixed = {.HostName = 0,
              .DomainName = 132,
              .CurrentDnsServer = 264,
              .DnsServerList = 272,
              .NodeType = 320,
              .ScopeId = 324,
              .EnableRouting = 584,
              .EnableProxy = 588,
              .EnableDns = 592,
              .Size = 600},
    .adapter = {.Next = 0,
                .ComboIndex = 8,
                .AdapterName = 12,
                .Description = 272,
                .AddressLength = 404,
                .Address = 408,
                .Index = 416,
                .Type = 420,
                .DhcpEnabled = 424,
                .CurrentIpAddress = 432,
                .IpAddressList = 440,
                .GatewayList = 488,
                .DhcpServer = 536,
                .HaveWins = 584,
                .PrimaryWinsServer = 592,
                .SecondaryWinsServer = 640,
                .LeaseObtained = 688,
                .LeaseExpires = 696,
                .Size = 704}};

// The largest record of either layout, for images that hold any record.
inline constexpr std::size_t kLargestRecord = k64Bit.adapter.Size;

// The layout the system's IP Helper writes for a Windows process of this build's pointer width.
inline constexpr const RecordLayout& WindowsProcessLayout() {
  return sizeof(void*) == 8 ? k64Bit : k32Bit;
}

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
