// The IP Helper records as JSON, one mapping for every test that writes or reads them: the
// fixtures build records from it, the Linux source's samples compare records with it. A field a
// document leaves out keeps its default.
#pragma once

#include <nlohmann/json.hpp>

#include "platform/ip_helper_records.h"

namespace iphlp {

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
