// Plain descriptions of what the two queries answer, before they are written in a record layout.
// Texts are the bytes their fields get: UTF-8 from the Linux source; a text longer than its field
// is cut at a character boundary so that the field keeps a terminating NUL.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace iphlp {

struct AddrString {
  std::string IpAddress;
  std::string IpMask;
  std::uint32_t Context = 0;
};

struct NetworkParams {
  std::string HostName;
  std::string DomainName;
  std::vector<AddrString> DnsServers;  // the first is embedded in the record, the rest follow it
  std::uint32_t NodeType = 0;
  std::string ScopeId;
  std::uint32_t EnableRouting = 0;
  std::uint32_t EnableProxy = 0;
  std::uint32_t EnableDns = 0;
};

struct AdapterInfo {
  std::uint32_t ComboIndex = 0;
  std::string AdapterName;
  std::string Description;
  std::vector<std::uint8_t> Address;  // at most 8 bytes are written
  std::uint32_t Index = 0;
  std::uint32_t Type = 0;
  std::uint32_t DhcpEnabled = 0;
  std::vector<AddrString> IpAddressList;  // empty lists are written as one empty node
  std::vector<AddrString> GatewayList;
  AddrString DhcpServer;
  std::uint32_t HaveWins = 0;
  AddrString PrimaryWinsServer;
  AddrString SecondaryWinsServer;
  std::int64_t LeaseObtained = 0;  // seconds since 1970, as time_t
  std::int64_t LeaseExpires = 0;
};

}  // namespace iphlp
