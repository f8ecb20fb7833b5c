// The Linux source's facts and records as JSON, so that sample tables (tests/linux/samples/*.json)
// can say what each reader or assembly must give.
#pragma once

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "platform/ip_helper_records.h"
#include "platform/linux/snapshot.h"

// An optional field is null when it is not set.
template <typename T>
struct nlohmann::adl_serializer<std::optional<T>> {
  static void to_json(json& j, const std::optional<T>& value) {
    j = value ? json(*value) : json(nullptr);
  }
  static void from_json(const json& j, std::optional<T>& value) {
    value = j.is_null() ? std::nullopt : std::optional<T>(j.get<T>());
  }
};

namespace addrvue::linux_source {
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(DhcpLease, address, server, winsServers, nodeType,
                                                scope, obtained, expires, leaseSeconds)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(LinkEntry, index, name, linkType, flags, address,
                                                kind, parentBus, parentDevice)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(AddressEntry, index, local, prefixLength, secondary,
                                                permanent, validSeconds, updatedCentiseconds)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(RouteEntry, outIndex, gateway, metric)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(KernelInterfaces, links, addresses, defaultRoutes)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(ResolverConfig, nameservers, domain, search)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(SambaConfig, configured, netbiosScope, winsProxy,
                                                dnsProxy, winsServers)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(DeviceFacts, description, wireless)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(SystemFacts, kernelHostName, resolver, samba,
                                                ipForwarding, kernel, devices, leases, now,
                                                sinceBootCentiseconds)
}  // namespace addrvue::linux_source

namespace iphlp {
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(AddrString, IpAddress, IpMask, Context)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(NetworkParams, HostName, DomainName, DnsServers, NodeType,
                                   ScopeId, EnableRouting, EnableProxy, EnableDns)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(AdapterInfo, ComboIndex, AdapterName, Description, Address,
                                   Index, Type, DhcpEnabled, IpAddressList, GatewayList, DhcpServer,
                                   HaveWins, PrimaryWinsServer, SecondaryWinsServer, LeaseObtained,
                                   LeaseExpires)
}  // namespace iphlp

namespace addrvue::testing {

// The JSON document of a sample file under tests/linux/samples/.
nlohmann::json SampleJson(const std::string& relativePath);
// A sample file's bytes.
std::string SampleBytes(const std::string& relativePath);

// Expects `actual` to hold what `expected` says: every member an object of `expected` names (null
// for one that must be absent or null), arrays of the same length element by element, strings the
// the same text (UTF-8, as the records hold it; a string of `actual` that is no UTF-8 is read
// byte by byte as Latin-1), and anything else the same value.
void ExpectHolds(const nlohmann::json& actual, const nlohmann::json& expected);

}  // namespace addrvue::testing
