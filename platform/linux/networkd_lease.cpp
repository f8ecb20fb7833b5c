#include "platform/linux/networkd_lease.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <ctime>
#include <limits>
#include <string>
#include <utility>

namespace addrvue::linux_source {
namespace {

using nlohmann::json;

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

DhcpLease ParseKeyValue(std::string_view text) {
  DhcpLease lease;
  for (const std::string_view line : Lines(text)) {
    const std::string_view entry = Trim(line);
    const auto equals = entry.find('=');
    if (!entry.empty() && entry.front() != '#' && equals != std::string_view::npos) {
      ApplyKey(lease, entry.substr(0, equals), entry.substr(equals + 1));
    }
  }
  return lease;
}

// An address written as its four bytes: [10, 0, 0, 5].
std::optional<std::string> Ipv4Bytes(const json& value) {
  if (!value.is_array() || value.size() != 4) {
    return std::nullopt;
  }
  std::array<std::uint8_t, 4> bytes{};
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (!value[i].is_number_unsigned() || value[i].get<std::uint64_t>() > 255) {
      return std::nullopt;
    }
    bytes.at(i) = static_cast<std::uint8_t>(value[i].get<std::uint64_t>());
  }
  return Ipv4Text(bytes);
}

// A time span as systemd writes it ("1h 30min", "2d 4h", "infinity"), in whole seconds; the
// largest count of seconds stands for infinity, as in DHCP.
std::optional<std::uint32_t> TimeSpanSeconds(std::string_view text) {
  if (Trim(text) == "infinity") {
    return 0xFFFFFFFFU;
  }
  static constexpr std::array<std::pair<std::string_view, std::uint64_t>, 9> kUnitsUsec{{
      {"y", 31'557'600'000'000},
      {"month", 2'629'800'000'000},
      {"w", 604'800'000'000},
      {"d", 86'400'000'000},
      {"h", 3'600'000'000},
      {"min", 60'000'000},
      {"s", 1'000'000},
      {"ms", 1'000},
      {"us", 1},
  }};
  const auto words = Words(text);
  std::uint64_t usec = 0;
  for (const std::string_view word : words) {
    const auto unitAt = word.find_first_not_of("0123456789");
    const auto count = ParseNumber<std::uint64_t>(word.substr(0, unitAt));
    const auto* unit = std::find_if(kUnitsUsec.begin(), kUnitsUsec.end(), [&](const auto& u) {
      return unitAt != std::string_view::npos && u.first == word.substr(unitAt);
    });
    if (!count || unit == kUnitsUsec.end() ||
        *count > (std::numeric_limits<std::uint64_t>::max() - usec) / unit->second) {
      return std::nullopt;
    }
    usec += *count * unit->second;
  }
  if (words.empty()) {
    return std::nullopt;
  }
  return static_cast<std::uint32_t>(std::min<std::uint64_t>(usec / 1'000'000, 0xFFFFFFFFU));
}

// The seconds of a time stamp as systemd writes it in microseconds, "Thu 2025-06-05
// 10:00:00.123456 UTC", the zone being UTC or the local zone's name in or out of summer time.
std::optional<std::int64_t> TimestampSeconds(std::string_view text) {
  static constexpr std::array<std::string_view, 7> kWeekdays{"Sun", "Mon", "Tue", "Wed",
                                                             "Thu", "Fri", "Sat"};
  const auto words = Words(text);
  if (words.size() != 4) {
    return std::nullopt;
  }
  std::tm date{};
  const std::string dayAndTime = std::string(words[1]) + " " + std::string(words[2]);
  const char* end = strptime(dayAndTime.c_str(), "%Y-%m-%d %H:%M:%S", &date);
  const std::string_view fraction = end == nullptr ? "-" : end;
  if (!fraction.empty() &&
      (fraction.size() != 7 || fraction.front() != '.' ||
       fraction.find_first_not_of("0123456789", 1) != std::string_view::npos)) {
    return std::nullopt;
  }
  tzset();
  std::time_t seconds = -1;
  if (words[3] == "UTC") {
    seconds = timegm(&date);
  } else if (words[3] == tzname[0] || words[3] == tzname[1]) {
    date.tm_isdst = words[3] == tzname[1] ? 1 : 0;
    seconds = mktime(&date);
  }
  if (seconds == -1 || kWeekdays.at(static_cast<std::size_t>(date.tm_wday) % 7) != words[0]) {
    return std::nullopt;
  }
  return static_cast<std::int64_t>(seconds);
}

// The JSON form: the lease's address and server as bytes, its lifetime as a time span and the
// realtime clock when it was acquired as a time stamp. Any other field is passed over.
DhcpLease ParseJson(const json& lease) {
  DhcpLease parsed;
  const auto field = [&](const char* key) -> const json* {
    const auto it = lease.find(key);
    return it == lease.end() ? nullptr : &*it;
  };
  const auto text = [&](const char* key) -> std::optional<std::string_view> {
    const json* value = field(key);
    if (value == nullptr || !value->is_string()) {
      return std::nullopt;
    }
    return value->get_ref<const std::string&>();
  };
  if (const json* address = field("Address")) {
    parsed.address = Ipv4Bytes(*address);
  }
  if (const json* server = field("Server_Address")) {
    parsed.server = Ipv4Bytes(*server);
  }
  if (const auto lifetime = text("Lifetime")) {
    parsed.leaseSeconds = TimeSpanSeconds(*lifetime);
  }
  if (const auto acquired = text("Timestamp_realtime")) {
    parsed.obtained = TimestampSeconds(*acquired);
  }
  if (parsed.obtained && parsed.leaseSeconds) {
    parsed.expires = *parsed.leaseSeconds == 0xFFFFFFFFU ? kNeverExpires
                                                         : *parsed.obtained + *parsed.leaseSeconds;
  }
  return parsed;
}

}  // namespace

std::optional<DhcpLease> ParseNetworkdLease(std::string_view text) {
  const std::string_view trimmed = Trim(text);
  DhcpLease lease;
  if (!trimmed.empty() && trimmed.front() == '{') {
    const json parsed = json::parse(trimmed, nullptr, /*allow_exceptions=*/false);
    if (!parsed.is_object()) {
      return std::nullopt;
    }
    lease = ParseJson(parsed);
  } else {
    lease = ParseKeyValue(text);
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
