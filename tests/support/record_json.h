// The IP Helper records as JSON, one mapping for every test that writes or reads them: the
// fixtures build records from it, the Linux source's samples compare records with it. A field a
// document leaves out keeps its default.
#pragma once

#include <nlohmann/json.hpp>
#include <span>
#include <vector>

#include "platform/ip_helper_records.h"

namespace iphlp {

// A hardware address is a list of its bytes.
inline void to_json(nlohmann::json& j, const HardwareAddress& address) {
  j = std::vector<std::uint8_t>(address.begin(), address.end());
}
inline void from_json(const nlohmann::json& j, HardwareAddress& address) {
  address = HardwareAddress(std::span<const std::uint8_t>(j.get<std::vector<std::uint8_t>>()));
}

NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(AddrString, IpAddress, IpMask, Context)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(NetworkParams, HostName, DomainName, DnsServers,
                                                NodeType, ScopeId, EnableRouting, EnableProxy,
                                                EnableDns)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(AdapterInfo, ComboIndex, AdapterName, Description,
                                                Address, Index, Type, DhcpEnabled, IpAddressList,
                                                GatewayList, DhcpServer, HaveWins,
                                                PrimaryWinsServer, SecondaryWinsServer,
                                                LeaseObtained, LeaseExpires)

}  // namespace iphlp
