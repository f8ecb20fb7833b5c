// The report's own mirrors of the platform records, in either record layout. Fields keep the
// platform's names and order; integers are signed 32-bit; references and lease times are signed
// 64-bit, holding the field's value at the layout's width (sign-extended from 32 bits in the
// 32-bit layout, never cut in the 64-bit one); each text field is as many characters wide as the
// platform field has bytes, and holds the field's text decoded whole, then NULs.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/ip_helper_layout.h"

namespace addrvue {

// A reference (Next, CurrentDnsServer, CurrentIpAddress): 0 ends a list.
using Reference = std::int64_t;

template <std::size_t Width>
using TextField = std::array<char16_t, Width>;

// A text field at its full width, NULs included.
template <std::size_t Width>
std::u16string_view Whole(const TextField<Width>& field) {
  return {field.data(), field.size()};
}

struct AddrStringRecord {
  Reference Next = 0;
  TextField<iphlp::layout::kIpStringLen> IpAddress{};
  TextField<iphlp::layout::kIpStringLen> IpMask{};
  std::int32_t Context = 0;
};

struct FixedInfoRecord {
  TextField<iphlp::layout::kMaxHostnameLen> HostName{};
  TextField<iphlp::layout::kMaxDomainNameLen> DomainName{};
  Reference CurrentDnsServer = 0;
  AddrStringRecord DnsServerList;
  std::int32_t NodeType = 0;
  TextField<iphlp::layout::kMaxScopeIdLen> ScopeId{};
  std::int32_t EnableRouting = 0;
  std::int32_t EnableProxy = 0;
  std::int32_t EnableDns = 0;
};

struct AdapterInfoRecord {
  Reference Next = 0;
  std::int32_t ComboIndex = 0;
  TextField<iphlp::layout::kAdapterNameLen> AdapterName{};
  TextField<iphlp::layout::kAdapterDescriptionLen> Description{};
  std::int32_t AddressLength = 0;
  std::array<std::uint8_t, iphlp::layout::kAdapterAddressLen> Address{};
  std::int32_t Index = 0;
  std::int32_t Type = 0;
  std::int32_t DhcpEnabled = 0;
  Reference CurrentIpAddress = 0;
  AddrStringRecord IpAddressList;
  AddrStringRecord GatewayList;
  AddrStringRecord DhcpServer;
  std::int32_t HaveWins = 0;
  AddrStringRecord PrimaryWinsServer;
  AddrStringRecord SecondaryWinsServer;
  std::int64_t LeaseObtained = 0;
  std::int64_t LeaseExpires = 0;
};

}  // namespace addrvue
