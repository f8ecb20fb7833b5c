// The two-call protocol of an IP Helper query: ask for the size, allocate exactly that, ask again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/ip_helper.h"
#include "report/window_seam.h"

namespace addrvue {

using QueryCall = std::uint32_t (iphlp::IpHelper::*)(std::byte*, std::uint32_t*);

// The filled result buffer, or nothing after the query failed and a message box said so:
// "<name> sizing failed with error <code>" when the sizing call answered other than 0 or 111, or
// answered without a size; "<name> failed with error <code>" when the fill call answered other
// than 0.
std::optional<std::vector<std::byte>> RunQuery(iphlp::IpHelper& ipHelper, QueryCall call,
                                               std::u16string_view name, ReportWindow& form);

}  // namespace addrvue
