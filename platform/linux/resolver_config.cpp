#include "platform/linux/resolver_config.h"

#include <sys/utsname.h>

namespace addrvue::linux_source {

ResolverConfig ParseResolvConf(std::string_view text) {
  ResolverConfig config;
  for (const std::string_view line : Lines(text)) {
    const auto words = Words(line.substr(0, line.find_first_of("#;")));
    if (words.size() < 2) {
      continue;
    }
    if (words[0] == "nameserver") {
      if (auto address = CanonicalIpv4(words[1])) {
        config.nameservers.push_back(*address);
      }
    } else if (words[0] == "domain") {
      config.domain = std::string(words[1]);
      config.search.clear();
    } else if (words[0] == "search") {
      config.search.assign(words.begin() + 1, words.end());
      config.domain.clear();
    }
  }
  return config;
}

ResolverConfig ReadResolverConfig(const SystemRoot& root) {
  ResolverConfig config = ParseResolvConf(ReadFileText(root.Path("/etc/resolv.conf")).value_or(""));
  if (config.nameservers.size() == 1 && config.nameservers.front() == "127.0.0.53") {
    const auto upstream = ReadFileText(root.Path("/run/systemd/resolve/resolv.conf"));
    if (upstream) {
      config.nameservers = ParseResolvConf(*upstream).nameservers;
    }
  }
  return config;
}

HostIdentity SplitHostName(std::string_view kernelHostName, const ResolverConfig& resolver) {
  HostIdentity identity;
  const auto dot = kernelHostName.find('.');
  identity.hostName = std::string(kernelHostName.substr(0, dot));
  if (dot != std::string_view::npos && dot + 1 < kernelHostName.size()) {
    identity.domainName = std::string(kernelHostName.substr(dot + 1));
  } else if (!resolver.domain.empty()) {
    identity.domainName = resolver.domain;
  } else if (!resolver.search.empty()) {
    identity.domainName = resolver.search.front();
  }
  return identity;
}

std::string KernelHostName() {
  struct utsname names {};
  if (uname(&names) != 0) {
    return {};
  }
  return {static_cast<const char*>(names.nodename)};
}

}  // namespace addrvue::linux_source
