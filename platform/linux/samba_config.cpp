#include "platform/linux/samba_config.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

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

// The lines of the file, a line that ends in a backslash joined with the next.
std::vector<std::string> JoinedLines(std::string_view text) {
  std::vector<std::string> lines;
  std::string joined;
  for (std::string_view raw : Lines(text)) {
    raw = Trim(raw);
    if (!raw.empty() && raw.back() == '\\') {
      raw.remove_suffix(1);
      joined += raw;
      continue;
    }
    lines.push_back(std::move(joined) + std::string(raw));
    joined.clear();
  }
  return lines;
}

// WINS server addresses; an entry may name its interface ("eth0:10.0.0.1") and a tag after it.
std::vector<std::string> WinsServers(std::string_view value) {
  std::vector<std::string> servers;
  for (std::string_view word : Words(value, ",")) {
    const auto colon = word.find(':');
    if (colon != std::string_view::npos && !CanonicalIpv4(word)) {
      word.remove_prefix(colon + 1);
      word = word.substr(0, word.find(':'));
    }
    if (auto address = CanonicalIpv4(word)) {
      servers.push_back(*address);
    }
  }
  return servers;
}

void ApplyParameter(SambaConfig& config, const std::string& name, std::string_view value) {
  if (name == "netbiosscope") {
    config.netbiosScope = std::string(value);
  } else if (name == "winsproxy") {
    config.winsProxy = BooleanValue(value);
  } else if (name == "dnsproxy") {
    config.dnsProxy = BooleanValue(value);
  } else if (name == "winsserver") {
    config.winsServers = WinsServers(value);
  }
}

}  // namespace

SambaConfig ParseSmbConf(std::string_view text) {
  SambaConfig config;
  config.configured = true;
  config.dnsProxy = true;  // Samba's default for `dns proxy`
  bool inGlobal = true;    // parameters before any section belong to [global]
  for (const std::string& joined : JoinedLines(text)) {
    const std::string_view line = Trim(joined);
    if (line.empty() || line.front() == '#' || line.front() == ';') {
      continue;
    }
    if (line.front() == '[') {
      inGlobal = Normalized(line.substr(1, line.find(']') - 1)) == "global";
      continue;
    }
    const auto equals = line.find('=');
    if (inGlobal && equals != std::string_view::npos) {
      ApplyParameter(config, Normalized(line.substr(0, equals)), Trim(line.substr(equals + 1)));
    }
  }
  return config;
}

SambaConfig ReadSambaConfig(const SystemRoot& root) {
  const auto text = ReadFileText(root.Path("/etc/samba/smb.conf"));
  return text ? ParseSmbConf(*text) : SambaConfig{};
}

}  // namespace addrvue::linux_source
