#include "platform/linux/dhclient_leases.h"

#include <charconv>
#include <ctime>

namespace addrvue::linux_source {
namespace {

// A value as dhclient writes it: a quoted string has `\"` and `\\` for a quote and a backslash
// and `\ooo` (octal) for any byte that is not printable, NUL included.
std::string Unquoted(std::string_view text) {
  text = Trim(text);
  if (text.size() < 2 || text.front() != '"' || text.back() != '"') {
    return std::string(text);
  }
  text = text.substr(1, text.size() - 2);
  std::string value;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      value += text[i];
      continue;
    }
    std::size_t digits = 0;
    unsigned byte = 0;
    while (digits < 3 && i + 1 + digits < text.size() && text[i + 1 + digits] >= '0' &&
           text[i + 1 + digits] <= '7') {
      byte = byte * 8U + static_cast<unsigned>(text[i + 1 + digits] - '0');
      ++digits;
    }
    if (digits > 0) {
      value += static_cast<char>(byte & 0xFFU);
      i += digits;
    } else {
      value += text[++i];
    }
  }
  return value;
}

// Whether `c` opens or closes a quoted string; a backslash inside one escapes the next
// character. `quoted` and `escaped` carry the state along the text.
bool TogglesQuote(char c, bool& quoted, bool& escaped) {
  if (escaped) {
    escaped = false;
    return false;
  }
  if (quoted && c == '\\') {
    escaped = true;
    return false;
  }
  return c == '"';
}

std::vector<std::string> AddressList(std::string_view text) {
  std::vector<std::string> addresses;
  for (const std::string_view word : Words(text, ",")) {
    if (auto address = CanonicalIpv4(word)) {
      addresses.push_back(*address);
    }
  }
  return addresses;
}

// Splits a lease block's body into statements ended by ';' (quotes respected).
std::vector<std::string_view> Statements(std::string_view body) {
  std::vector<std::string_view> statements;
  bool quoted = false;
  bool escaped = false;
  std::size_t start = 0;
  for (std::size_t i = 0; i < body.size(); ++i) {
    if (TogglesQuote(body[i], quoted, escaped)) {
      quoted = !quoted;
    } else if (body[i] == ';' && !quoted && !escaped) {
      statements.push_back(Trim(body.substr(start, i - start)));
      start = i + 1;
    }
  }
  return statements;
}

void ApplyOption(DhcpLease& lease, std::string_view name, std::string_view value) {
  if (name == "dhcp-server-identifier") {
    lease.server = CanonicalIpv4(value);
  } else if (name == "netbios-name-servers") {
    lease.winsServers = AddressList(value);
  } else if (name == "netbios-node-type") {
    if (const auto n = ParseNumber<std::int64_t>(value); n && *n >= 0 && *n <= 0xFF) {
      lease.nodeType = static_cast<std::uint32_t>(*n);
    }
  } else if (name == "netbios-scope") {
    lease.scope = Unquoted(value);
  } else if (name == "dhcp-lease-time") {
    if (const auto n = ParseNumber<std::int64_t>(value); n && *n >= 0 && *n <= 0xFFFFFFFF) {
      lease.leaseSeconds = static_cast<std::uint32_t>(*n);
    }
  }
}

}  // namespace

std::optional<std::int64_t> ParseDhclientDate(std::string_view text) {
  const auto words = Words(text);
  if (words.size() == 1 && words[0] == "never") {
    return kNeverExpires;
  }
  if (words.size() == 2 && words[0] == "epoch") {
    return ParseNumber<std::int64_t>(words[1]);
  }
  if (words.size() != 3) {
    return std::nullopt;
  }
  std::tm date{};
  const std::string dayAndTime = std::string(words[1]) + " " + std::string(words[2]);
  const char* end = strptime(dayAndTime.c_str(), "%Y/%m/%d %H:%M:%S", &date);
  if (end == nullptr || *end != '\0') {
    return std::nullopt;
  }
  return static_cast<std::int64_t>(timegm(&date));
}

LeasesByInterface ParseDhclientLeases(std::string_view text) {
  LeasesByInterface leases;
  std::size_t at = 0;
  while ((at = text.find("lease", at)) != std::string_view::npos) {
    const auto open = text.find('{', at);
    if (open == std::string_view::npos) {
      break;
    }
    const bool keyword =
        Trim(text.substr(at + 5, open - at - 5)).empty() &&
        (at == 0 || std::string_view(" \t\r\n}").find(text[at - 1]) != std::string_view::npos);
    // The block ends at the first '}' outside quotes.
    bool quoted = false;
    bool escaped = false;
    std::size_t close = open + 1;
    for (; close < text.size(); ++close) {
      if (TogglesQuote(text[close], quoted, escaped)) {
        quoted = !quoted;
      } else if (text[close] == '}' && !quoted && !escaped) {
        break;
      }
    }
    if (!keyword) {
      at = open;
      continue;
    }
    DhcpLease lease;
    lease.source = "dhclient";
    std::string interface;
    for (const std::string_view statement : Statements(text.substr(open + 1, close - open - 1))) {
      const auto words = Words(statement);
      if (words.empty()) {
        continue;
      }
      const auto rest = [&](std::size_t skip) {
        const auto start = static_cast<std::size_t>(words[skip].data() - statement.data());
        return statement.substr(start);
      };
      if (words[0] == "interface" && words.size() >= 2) {
        interface = Unquoted(rest(1));
      } else if (words[0] == "fixed-address" && words.size() >= 2) {
        lease.address = CanonicalIpv4(words[1]);
      } else if (words[0] == "option" && words.size() >= 3) {
        ApplyOption(lease, words[1], rest(2));
      } else if (words[0] == "expire" && words.size() >= 2) {
        lease.expires = ParseDhclientDate(rest(1));
      }
    }
    // The client notes no start: it is the end less the lease time.
    if (lease.expires && lease.leaseSeconds && *lease.expires != kNeverExpires) {
      lease.obtained = *lease.expires - *lease.leaseSeconds;
    }
    if (!interface.empty()) {
      leases[interface] = lease;
    }
    at = close;
  }
  return leases;
}

LeasesByInterface ReadDhclientLeases(const SystemRoot& root) {
  LeasesByInterface all;
  const auto take = [&](const std::string& path) {
    const auto text = ReadFileText(path);
    if (!text) {
      return;
    }
    for (auto& [name, lease] : ParseDhclientLeases(*text)) {
      auto it = all.find(name);
      if (it == all.end() || lease.expires.value_or(0) >= it->second.expires.value_or(0)) {
        all[name] = std::move(lease);
      }
    }
  };
  for (const char* dir : {"/var/lib/dhcp/", "/var/lib/dhclient/"}) {
    for (const std::string& name : ListDirectory(root.Path(dir))) {
      if (name.ends_with(".leases") || name.ends_with(".lease")) {
        take(root.Path(dir) + name);
      }
    }
  }
  for (const std::string& name : ListDirectory(root.Path("/var/lib/NetworkManager/"))) {
    if (name.starts_with("dhclient") && name.ends_with(".lease")) {
      take(root.Path("/var/lib/NetworkManager/") + name);
    }
  }
  return all;
}

}  // namespace addrvue::linux_source
