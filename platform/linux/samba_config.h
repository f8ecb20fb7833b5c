// The NetBIOS settings of a configured Samba: [global] of /etc/samba/smb.conf.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/system_files.h"

namespace addrvue::linux_source {

struct SambaConfig {
  bool configured = false;  // smb.conf exists and could be read
  std::string netbiosScope;
  bool winsProxy = false;
  bool dnsProxy = false;  // Samba's own default is yes, but only where Samba is configured
  std::vector<std::string> winsServers;  // IPv4 addresses of `wins server`
};

SambaConfig ParseSmbConf(std::string_view text);
SambaConfig ReadSambaConfig(const SystemRoot& root);

}  // namespace addrvue::linux_source
