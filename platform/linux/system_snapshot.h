// A plain snapshot of the machine's network configuration, as the two queries report it.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/ip_helper_records.h"

namespace addrvue::linux_source {

// What GetAdaptersInfo answers when the kernel's tables could not be read whole: the
// platform's "invalid adapter information was retrieved" (ERROR_INVALID_DATA).
inline constexpr std::uint32_t kErrorInvalidData = 13;

struct SystemSnapshot {
  iphlp::NetworkParams params;
  std::vector<iphlp::AdapterInfo> adapters;
  std::uint32_t adaptersFailure = 0;  // when not 0, what GetAdaptersInfo answers instead
};

}  // namespace addrvue::linux_source
