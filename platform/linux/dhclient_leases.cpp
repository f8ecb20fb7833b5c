#include "platform/linux/dhclient_leases.h"

#include <ctime>
#include <string>
#include <utility>
#include <vector>

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

// Where the block opened at `open` ends: its first '}' outside quotes, or the end of the text.
std::size_t BlockEnd(std::string_view text, std::size_t open) {
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
  return close;
}

// Whether the "lease" found at `at` is the keyword of the block opened at `open`, not a part of
// another word or value.
bool IsLeaseKeyword(std::string_view text, std::size_t at, std::size_t open) {
  constexpr std::string_view kKeyword = "lease";
  return Trim(text.substr(at + kKeyword.size(), open - at - kKeyword.size())).empty() &&
         (at == 0 || std::string_view(" \t\r\n}").find(text[at - 1]) != std::string_view::npos);
}

// A dhclient date: "W YYYY/MM/DD HH:MM:SS" in UTC, "epoch N" or "never".
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

// The interface a lease block names, and its lease.
std::pair<std::string, DhcpLease> ParseLeaseBlock(std::string_view body) {
  std::string interface;
  DhcpLease lease;
  for (const std::string_view statement : Statements(body)) {
    const auto words = Words(statement);
    if (words.size() < 2) {
      continue;
    }
    const auto rest = [&](std::size_t skip) {
      return statement.substr(static_cast<std::size_t>(words[skip].data() - statement.data()));
    };
    if (words[0] == "interface") {
      interface = Unquoted(rest(1));
    } else if (words[0] == "fixed-address") {
      lease.address = CanonicalIpv4(words[1]);
    } else if (words[0] == "option" && words.size() >= 3) {
      ApplyNamedOption(lease, words[1], Unquoted(rest(2)));
    } else if (words[0] == "expire") {
      lease.expires = ParseDhclientDate(rest(1));
    }
  }
  DateFromItsEnd(lease);
  return {interface, lease};
}

// Every lease file dhclient may have written, its own and those it keeps for NetworkManager.
std::vector<std::string> LeaseFiles(const SystemRoot& root) {
  std::vector<std::string> paths;
  for (const char* dir : {"/var/lib/dhcp/", "/var/lib/dhclient/"}) {
    for (const std::string& name : ListDirectory(root.Path(dir))) {
      if (name.ends_with(".leases") || name.ends_with(".lease")) {
        paths.push_back(root.Path(dir) + name);
      }
    }
  }
  for (const std::string& name : ListDirectory(root.Path("/var/lib/NetworkManager/"))) {
    if (name.starts_with("dhclient") && name.ends_with(".lease")) {
      paths.push_back(root.Path("/var/lib/NetworkManager/") + name);
    }
  }
  return paths;
}

}  // namespace

LeasesByInterface ParseDhclientLeases(std::string_view text) {
  LeasesByInterface leases;
  std::size_t at = 0;
  while ((at = text.find("lease", at)) != std::string_view::npos) {
    const auto open = text.find('{', at);
    if (open == std::string_view::npos) {
      break;
    }
    const std::size_t close = BlockEnd(text, open);
    if (!IsLeaseKeyword(text, at, open)) {
      at = open;
      continue;
    }
    auto [interface, lease] = ParseLeaseBlock(text.substr(open + 1, close - open - 1));
    if (!interface.empty()) {
      leases[interface] = std::move(lease);
    }
    at = close;
  }
  return leases;
}

LeasesByInterface ReadDhclientLeases(const SystemRoot& root) {
  LeasesByInterface all;
  for (const std::string& path : LeaseFiles(root)) {
    const auto text = ReadFileText(path);
    if (!text) {
      continue;
    }
    for (auto& [name, lease] : ParseDhclientLeases(*text)) {
      const auto it = all.find(name);
      if (it == all.end() || lease.expires.value_or(0) >= it->second.expires.value_or(0)) {
        all[name] = std::move(lease);
      }
    }
  }
  return all;
}

}  // namespace addrvue::linux_source
