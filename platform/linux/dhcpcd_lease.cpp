#include "platform/linux/dhcpcd_lease.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace addrvue::linux_source {
namespace {

constexpr std::size_t kYourAddress = 16;      // yiaddr
constexpr std::size_t kFileField = 108;       // the 128-byte boot file name
constexpr std::size_t kServerNameField = 44;  // the 64-byte server host name
constexpr std::size_t kOptions = 240;         // after the magic cookie
constexpr std::array<std::uint8_t, 4> kMagicCookie{99, 130, 83, 99};

// Options by code; an option that comes in several pieces is joined, as the protocol says.
using Options = std::map<std::uint8_t, std::vector<std::uint8_t>>;

std::vector<std::string> Addresses(std::span<const std::uint8_t> value) {
  std::vector<std::string> addresses;
  for (std::size_t i = 0; i + 4 <= value.size(); i += 4) {
    addresses.push_back(Ipv4Text(value.subspan(i, 4).data()));
  }
  return addresses;
}

// Adds the options of one options area up to its end mark; an option cut short ends it.
void CollectOptions(std::span<const std::uint8_t> area, Options& options) {
  std::size_t at = 0;
  while (at < area.size() && area[at] != 255) {
    if (area[at] == 0) {
      ++at;
      continue;
    }
    if (at + 1 >= area.size() || at + 2 + area[at + 1] > area.size()) {
      return;
    }
    const auto value = area.subspan(at + 2, area[at + 1]);
    auto& joined = options[area[at]];
    joined.insert(joined.end(), value.begin(), value.end());
    at += 2 + value.size();
  }
}

// The main options area, and the file and server name fields when option 52 gives them over to
// options too.
Options AllOptions(std::span<const std::uint8_t> message) {
  Options options;
  CollectOptions(message.subspan(kOptions), options);
  const auto overload = options.find(52);
  const std::uint8_t fields =
      overload == options.end() || overload->second.empty() ? 0 : overload->second.front();
  if ((fields & 1U) != 0) {
    CollectOptions(message.subspan(kFileField, 128), options);
  }
  if ((fields & 2U) != 0) {
    CollectOptions(message.subspan(kServerNameField, 64), options);
  }
  return options;
}

void ApplyOptions(const Options& options, DhcpLease& lease) {
  const auto option = [&](std::uint8_t code) -> const std::vector<std::uint8_t>* {
    const auto it = options.find(code);
    return it == options.end() ? nullptr : &it->second;
  };
  if (const auto* v = option(54); v != nullptr && v->size() == 4) {
    lease.server = Ipv4Text(v->data());
  }
  if (const auto* v = option(44)) {
    lease.winsServers = Addresses(*v);
  }
  if (const auto* v = option(46); v != nullptr && v->size() == 1) {
    lease.nodeType = v->front();
  }
  if (const auto* v = option(47)) {
    lease.scope = std::string(v->begin(), v->end());
  }
  if (const auto* v = option(51); v != nullptr && v->size() == 4) {
    lease.leaseSeconds = (std::uint32_t{(*v)[0]} << 24U) | (std::uint32_t{(*v)[1]} << 16U) |
                         (std::uint32_t{(*v)[2]} << 8U) | std::uint32_t{(*v)[3]};
  }
}

// The interface among `interfaces` a lease file belongs to; nothing for a file of no IPv4 lease.
std::optional<std::string> InterfaceOfLeaseFile(std::string_view fileName,
                                                const std::vector<std::string>& interfaces) {
  constexpr std::string_view kSuffix = ".lease";
  if (!fileName.ends_with(kSuffix)) {
    return std::nullopt;
  }
  const std::string_view stem = fileName.substr(0, fileName.size() - kSuffix.size());
  const std::string* found = nullptr;
  for (const std::string& name : interfaces) {
    const bool named = stem == name || (stem.starts_with(name) && stem.size() > name.size() &&
                                        stem[name.size()] == '-');
    if (named && !name.empty() && (found == nullptr || name.size() > found->size())) {
      found = &name;
    }
  }
  return found == nullptr ? std::nullopt : std::optional<std::string>(*found);
}

}  // namespace

std::optional<DhcpLease> ParseDhcpMessage(std::span<const std::uint8_t> message,
                                          std::optional<std::int64_t> written) {
  if (message.size() < kOptions ||
      !std::equal(kMagicCookie.begin(), kMagicCookie.end(), message.begin() + kOptions - 4)) {
    return std::nullopt;
  }
  DhcpLease lease;
  lease.address = Ipv4Text(message.subspan(kYourAddress, 4).data());
  ApplyOptions(AllOptions(message), lease);
  lease.obtained = written;
  if (written && lease.leaseSeconds) {
    lease.expires =
        *lease.leaseSeconds == 0xFFFFFFFFU ? kNeverExpires : *written + *lease.leaseSeconds;
  }
  return lease;
}

LeasesByInterface ReadDhcpcdLeases(const SystemRoot& root,
                                   const std::vector<std::string>& interfaces) {
  LeasesByInterface leases;
  const std::string dir = root.Path("/var/lib/dhcpcd/");
  for (const std::string& name : ListDirectory(dir)) {
    const auto interface = InterfaceOfLeaseFile(name, interfaces);
    const std::string path = dir + name;
    const auto text = interface ? ReadFileText(path, 65536) : std::nullopt;
    if (!text) {
      continue;
    }
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(text->data()),
                                              text->size());
    auto lease = ParseDhcpMessage(bytes, FileModifiedTime(path));
    // An interface that met several networks has a file for each: the one written last is the
    // lease it holds now.
    const auto known = leases.find(*interface);
    if (lease && (known == leases.end() || lease->obtained >= known->second.obtained)) {
      leases[*interface] = std::move(*lease);
    }
  }
  return leases;
}

}  // namespace addrvue::linux_source
