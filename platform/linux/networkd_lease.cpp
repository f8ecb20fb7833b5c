#include "platform/linux/networkd_lease.h"

#include <cctype>
#include <charconv>

namespace addrvue::linux_source {
namespace {

void ApplyKey(DhcpLease& lease, std::string_view key, std::string_view value) {
  if (key == "ADDRESS") {
    lease.address = CanonicalIpv4(value);
  } else if (key == "SERVER_ADDRESS") {
    lease.server = CanonicalIpv4(value);
  } else if (key == "LIFETIME") {
    if (const auto n = ParseNumber<std::uint64_t>(value); n && *n <= 0xFFFFFFFFU) {
      lease.leaseSeconds = static_cast<std::uint32_t>(*n);
    }
  }
}

// A key of the JSON form in the key=value spelling: "ServerAddress" -> "SERVER_ADDRESS".
std::string KeyOfJsonName(std::string_view name) {
  std::string key;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (i > 0 && std::isupper(c) != 0 &&
        std::islower(static_cast<unsigned char>(name[i - 1])) != 0) {
      key += '_';
    }
    key += static_cast<char>(std::toupper(c));
  }
  return key;
}

// The value after a JSON name: a string, a number, or an array of four numbers (an address
// written as bytes), as text. Nothing for any other value.
std::optional<std::string> JsonValue(std::string_view text, std::size_t& at) {
  while (at < text.size() &&
         (std::isspace(static_cast<unsigned char>(text[at])) != 0 || text[at] == ':')) {
    ++at;
  }
  if (at >= text.size()) {
    return std::nullopt;
  }
  if (text[at] == '"') {
    const auto end = text.find('"', at + 1);
    if (end == std::string_view::npos) {
      return std::nullopt;
    }
    std::string value(text.substr(at + 1, end - at - 1));
    at = end + 1;
    return value;
  }
  if (text[at] == '[') {
    const auto end = text.find(']', at);
    if (end == std::string_view::npos) {
      return std::nullopt;
    }
    const auto items = Words(text.substr(at + 1, end - at - 1), ",");
    at = end + 1;
    if (items.size() != 4) {
      return std::nullopt;
    }
    std::string value;
    for (const auto item : items) {
      const auto n = ParseNumber<std::uint64_t>(item);
      if (!n || *n > 255) {
        return std::nullopt;
      }
      value += (value.empty() ? "" : ".") + std::to_string(*n);
    }
    return value;
  }
  const std::size_t start = at;
  while (at < text.size() && (std::isdigit(static_cast<unsigned char>(text[at])) != 0)) {
    ++at;
  }
  if (at == start) {
    return std::nullopt;
  }
  return std::string(text.substr(start, at - start));
}

void ParseJson(DhcpLease& lease, std::string_view text) {
  std::size_t at = 0;
  while ((at = text.find('"', at)) != std::string_view::npos) {
    const auto end = text.find('"', at + 1);
    if (end == std::string_view::npos) {
      return;
    }
    const std::string key = KeyOfJsonName(text.substr(at + 1, end - at - 1));
    at = end + 1;
    std::size_t after = at;
    while (after < text.size() && std::isspace(static_cast<unsigned char>(text[after])) != 0) {
      ++after;
    }
    if (after >= text.size() || text[after] != ':') {
      continue;  // a string value, not a name
    }
    at = after;
    if (const auto value = JsonValue(text, at)) {
      if (key == "LIFETIME_U_SEC" || key == "LIFETIME_USEC") {
        if (const auto usec = ParseNumber<std::uint64_t>(*value)) {
          lease.leaseSeconds =
              static_cast<std::uint32_t>(std::min<std::uint64_t>(*usec / 1000000U, 0xFFFFFFFFU));
        }
      } else {
        ApplyKey(lease, key, *value);
      }
    }
  }
}

}  // namespace

std::optional<DhcpLease> ParseNetworkdLease(std::string_view text) {
  DhcpLease lease;
  const std::string_view trimmed = Trim(text);
  if (!trimmed.empty() && trimmed.front() == '{') {
    ParseJson(lease, trimmed);
  } else {
    for (const std::string_view line : Lines(text)) {
      const std::string_view entry = Trim(line);
      const auto equals = entry.find('=');
      if (entry.empty() || entry.front() == '#' || equals == std::string_view::npos) {
        continue;
      }
      ApplyKey(lease, entry.substr(0, equals), entry.substr(equals + 1));
    }
  }
  if (!lease.address) {
    return std::nullopt;
  }
  return lease;
}

std::map<int, DhcpLease> ReadNetworkdLeases(const SystemRoot& root) {
  return ReadLeasesByIndex(root.Path("/run/systemd/netif/leases/"), ParseNetworkdLease);
}

}  // namespace addrvue::linux_source