#include <charconv>

#include "platform/linux/network_manager_lease.h"

namespace addrvue::linux_source {
namespace {

const std::string* Find(const std::map<std::string, std::string>& options, const char* key) {
  const auto it = options.find(key);
  return it == options.end() ? nullptr : &it->second;
}

}  // namespace

std::optional<DhcpLease> LeaseFromNetworkManagerOptions(
    const std::map<std::string, std::string>& options) {
  if (options.empty()) {
    return std::nullopt;
  }
  DhcpLease lease;
  lease.source = "NetworkManager";
  if (const auto* v = Find(options, "ip_address")) {
    lease.address = CanonicalIpv4(*v);
  }
  if (const auto* v = Find(options, "dhcp_server_identifier")) {
    lease.server = CanonicalIpv4(*v);
  }
  if (const auto* v = Find(options, "netbios_name_servers")) {
    for (const auto word : Words(*v, ",")) {
      if (auto address = CanonicalIpv4(word)) {
        lease.winsServers.push_back(*address);
      }
    }
  }
  if (const auto* v = Find(options, "netbios_node_type")) {
    if (const auto n = ParseNumber<std::int64_t>(*v); n && *n >= 0 && *n <= 0xFF) {
      lease.nodeType = static_cast<std::uint32_t>(*n);
    }
  }
  if (const auto* v = Find(options, "netbios_scope")) {
    lease.scope = *v;
  }
  if (const auto* v = Find(options, "dhcp_lease_time")) {
    if (const auto n = ParseNumber<std::int64_t>(*v); n && *n >= 0 && *n <= 0xFFFFFFFF) {
      lease.leaseSeconds = static_cast<std::uint32_t>(*n);
    }
  }
  if (const auto* v = Find(options, "expiry")) {
    lease.expires = ParseNumber<std::int64_t>(*v);
  }
  if (lease.expires && lease.leaseSeconds) {
    lease.obtained = *lease.expires - *lease.leaseSeconds;
  }
  return lease;
}

std::map<std::string, std::string> ParseNetworkManagerDeviceFile(std::string_view text) {
  std::map<std::string, std::string> options;
  bool inDhcp4 = false;
  for (const std::string_view raw : Lines(text)) {
    const std::string_view line = Trim(raw);
    if (line.empty() || line.front() == '#') {
      continue;
    }
    if (line.front() == '[') {
      inDhcp4 = line == "[dhcp4]";
      continue;
    }
    const auto equals = line.find('=');
    if (!inDhcp4 || equals == std::string_view::npos) {
      continue;
    }
    std::string_view key = Trim(line.substr(0, equals));
    if (key.starts_with("dhcp4.")) {
      key.remove_prefix(6);
    }
    options[std::string(key)] = std::string(Trim(line.substr(equals + 1)));
  }
  return options;
}

std::map<int, DhcpLease> ReadNetworkManagerDeviceFiles(const SystemRoot& root) {
  std::map<int, DhcpLease> leases;
  const std::string dir = root.Path("/run/NetworkManager/devices/");
  for (const std::string& name : ListDirectory(dir)) {
    const auto index = ParseNumber<std::int64_t>(name);
    if (!index || *index <= 0 || *index > 0x7FFFFFFF) {
      continue;
    }
    if (const auto text = ReadFileText(dir + name, 65536)) {
      if (auto lease = LeaseFromNetworkManagerOptions(ParseNetworkManagerDeviceFile(*text))) {
        leases[static_cast<int>(*index)] = std::move(*lease);
      }
    }
  }
  return leases;
}

}  // namespace addrvue::linux_source
