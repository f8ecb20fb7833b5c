// The resolver's configuration: DNS servers, domain and search list from resolv.conf.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/system_files.h"

namespace addrvue::linux_source {

struct ResolverConfig {
  std::vector<std::string> nameservers;  // IPv4 only, in file order, however many
  std::string domain;                    // the `domain` line, if any
  std::vector<std::string> search;       // the `search` list
};

// Parses resolv.conf text; the last `domain` or `search` line wins, as in the C library.
ResolverConfig ParseResolvConf(std::string_view text);

// /etc/resolv.conf under `root`; when its only server is the local resolver stub 127.0.0.53,
// the servers come from the resolver's upstream list in /run/systemd/resolve/resolv.conf.
ResolverConfig ReadResolverConfig(const SystemRoot& root);

struct HostIdentity {
  std::string hostName;    // up to the first dot
  std::string domainName;  // the rest of a dotted host name, else domain, else first search entry
};

HostIdentity SplitHostName(std::string_view kernelHostName, const ResolverConfig& resolver);

// The kernel's host name (of this UTS namespace).
std::string KernelHostName();

}  // namespace addrvue::linux_source
