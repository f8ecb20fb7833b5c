// Bounded reads of netlink's C structs out of received bytes.
#pragma once

#include <cstddef>
#include <cstring>
#include <optional>
#include <span>

namespace addrvue::linux_source {

// A copy of the struct at `offset`; nothing when the bytes end before it does.
template <typename T>
std::optional<T> HeaderAt(std::span<const std::byte> bytes, std::size_t offset = 0) {
  if (offset > bytes.size() || bytes.size() - offset < sizeof(T)) {
    return std::nullopt;
  }
  T value{};
  std::memcpy(&value, bytes.subspan(offset).data(), sizeof(T));
  return value;
}

}  // namespace addrvue::linux_source
