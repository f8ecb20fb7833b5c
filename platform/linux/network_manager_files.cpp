// NetworkManager's device state files.
#include <string>

#include "platform/linux/network_manager_lease.h"

namespace addrvue::linux_source {

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
  return ReadLeasesByIndex(root.Path("/run/NetworkManager/devices/"), [](std::string_view text) {
    return LeaseFromNetworkManagerOptions(ParseNetworkManagerDeviceFile(text));
  });
}

}  // namespace addrvue::linux_source
