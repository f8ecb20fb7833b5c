#include "platform/linux/samba_config.h"

#include <algorithm>
#include <cctype>

namespace addrvue::linux_source {
namespace {

// A parameter name as Samba compares them: case and blanks do not count.
std::string Normalized(std::string_view name) {
  std::string out;
  for (const char c : name) {
    if (c != ' ' && c != '\t' && c != '_') {
      out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
  }
  return out;
}

bool BooleanValue(std::string_view value) {
  const std::string v = Normalized(value);
  return v == "yes" || v == "true" || v == "1" || v == "on";
}

}  // namespace

SambaConfig ParseSmbConf(std::string_view text) {
  SambaConfig config;
  config.configured = true;
  config.dnsProxy = true;  // Samba's default for `dns proxy`
  bool inGlobal = true;    // parameters before any section belong to [global]
  std::string joined;
  for (std::string_view raw : Lines(text)) {
    raw = Trim(raw);
    // A line ending in a backslash goes on on the next one.
    if (!raw.empty() && raw.back() == '\\') {
      raw.remove_suffix(1);
      joined += raw;
      continue;
    }
    joined += raw;
    const std::string line = std::move(joined);
    joined.clear();
    const std::string_view view = Trim(line);
    if (view.empty() || view.front() == '#' || view.front() == ';') {
      continue;
    }
    if (view.front() == '[') {
      const auto close = view.find(']');
      inGlobal =
          Normalized(view.substr(
              1, close == std::string_view::npos ? std::string_view::npos : close - 1)) == "global";
      continue;
    }
    const auto equals = view.find('=');
    if (!inGlobal || equals == std::string_view::npos) {
      continue;
    }
    const std::string name = Normalized(view.substr(0, equals));
    const std::string_view value = Trim(view.substr(equals + 1));
    if (name == "netbiosscope") {
      config.netbiosScope = std::string(value);
    } else if (name == "winsproxy") {
      config.winsProxy = BooleanValue(value);
    } else if (name == "dnsproxy") {
      config.dnsProxy = BooleanValue(value);
    } else if (name == "winsserver") {
      config.winsServers.clear();
      for (std::string_view word : Words(value, ",")) {
        // An entry may name its interface: "eth0:10.0.0.1" (and a tag after it).
        const auto colon = word.find(':');
        if (colon != std::string_view::npos && !CanonicalIpv4(word)) {
          word.remove_prefix(colon + 1);
          word = word.substr(0, word.find(':'));
        }
        if (auto address = CanonicalIpv4(word)) {
          config.winsServers.push_back(*address);
        }
      }
    }
  }
  return config;
}

SambaConfig ReadSambaConfig(const SystemRoot& root) {
  const auto text = ReadFileText(root.Path("/etc/samba/smb.conf"));
  return text ? ParseSmbConf(*text) : SambaConfig{};
}

}  // namespace addrvue::linux_source
