#include "platform/linux/dhcpcd_lease.h"

namespace addrvue::linux_source {
namespace {

constexpr std::size_t kYourAddress = 16;      // yiaddr
constexpr std::size_t kFileField = 108;       // the 128-byte boot file name
constexpr std::size_t kServerNameField = 44;  // the 64-byte server host name
constexpr std::size_t kOptions = 240;         // after the magic cookie
constexpr std::array<std::uint8_t, 4> kMagicCookie{99, 130, 83, 99};

std::vector<std::string> Addresses(std::span<const std::uint8_t> value) {
  std::vector<std::string> addresses;
  for (std::size_t i = 0; i + 4 <= value.size(); i += 4) {
    addresses.push_back(Ipv4Text(value.subspan(i, 4).data()));
  }
  return addresses;
}

// Walks one options area; sets `overload` when option 52 asks to read the file and server
// name fields as options too.
template <typename F>
void ForEachOption(std::span<const std::uint8_t> area, F&& onOption) {
  std::size_t at = 0;
  while (at < area.size()) {
    const std::uint8_t code = area[at];
    if (code == 255) {
      return;
    }
    if (code == 0) {
      ++at;
      continue;
    }
    if (at + 1 >= area.size()) {
      return;
    }
    const std::size_t length = area[at + 1];
    if (at + 2 + length > area.size()) {
      return;
    }
    onOption(code, area.subspan(at + 2, length));
    at += 2 + length;
  }
}

}  // namespace

std::optional<DhcpLease> ParseDhcpMessage(std::span<const std::uint8_t> message,
                                          std::optional<std::int64_t> written) {
  if (message.size() < kOptions ||
      !std::equal(kMagicCookie.begin(), kMagicCookie.end(), message.begin() + kOptions - 4)) {
    return std::nullopt;
  }
  DhcpLease lease;
  lease.source = "dhcpcd";
  lease.address = Ipv4Text(message.subspan(kYourAddress, 4).data());
  // Options that come in several pieces are joined, as the protocol says.
  std::map<std::uint8_t, std::vector<std::uint8_t>> options;
  std::uint8_t overload = 0;
  const auto collect = [&](std::uint8_t code, std::span<const std::uint8_t> value) {
    if (code == 52 && !value.empty()) {
      overload = value[0];
    }
    auto& joined = options[code];
    joined.insert(joined.end(), value.begin(), value.end());
  };
  ForEachOption(message.subspan(kOptions), collect);
  if ((overload & 1U) != 0) {
    ForEachOption(message.subspan(kFileField, 128), collect);
  }
  if ((overload & 2U) != 0) {
    ForEachOption(message.subspan(kServerNameField, 64), collect);
  }
  if (const auto it = options.find(54); it != options.end() && it->second.size() == 4) {
    lease.server = Ipv4Text(it->second.data());
  }
  if (const auto it = options.find(44); it != options.end()) {
    lease.winsServers = Addresses(it->second);
  }
  if (const auto it = options.find(46); it != options.end() && it->second.size() == 1) {
    lease.nodeType = it->second[0];
  }
  if (const auto it = options.find(47); it != options.end()) {
    lease.scope = std::string(it->second.begin(), it->second.end());
  }
  if (const auto it = options.find(51); it != options.end() && it->second.size() == 4) {
    const auto& v = it->second;
    lease.leaseSeconds = (std::uint32_t{v[0]} << 24U) | (std::uint32_t{v[1]} << 16U) |
                         (std::uint32_t{v[2]} << 8U) | std::uint32_t{v[3]};
  }
  lease.obtained = written;
  if (written && lease.leaseSeconds) {
    lease.expires =
        *lease.leaseSeconds == 0xFFFFFFFFU ? kNeverExpires : *written + *lease.leaseSeconds;
  }
  return lease;
}

LeasesByInterface ReadDhcpcdLeases(const SystemRoot& root) {
  LeasesByInterface leases;
  const std::string dir = root.Path("/var/lib/dhcpcd/");
  for (const std::string& name : ListDirectory(dir)) {
    // <interface>.lease; wireless interfaces add "-<ssid>" before the suffix.
    if (!name.ends_with(".lease") || name.ends_with(".lease6")) {
      continue;
    }
    const std::string path = dir + name;
    const auto text = ReadFileText(path, 65536);
    if (!text) {
      continue;
    }
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(text->data()),
                                              text->size());
    if (auto lease = ParseDhcpMessage(bytes, FileModifiedTime(path))) {
      std::string interface = name.substr(0, name.size() - 6);
      leases[interface] = std::move(*lease);
    }
  }
  return leases;
}

}  // namespace addrvue::linux_source
