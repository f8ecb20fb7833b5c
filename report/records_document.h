// The records of both IP Helper queries as one JSON document, for scripts: read from the result
// buffers by the report's own reader and walks, every field named as the record mirrors name it.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>

#include "platform/ip_helper.h"

namespace addrvue {

// {"host": {...} or null, "adapters": [...], "error": null or the failure text a box would show}.
// The host part and the adapters are read only when their query answered; a failed query ends
// the document there, as it ends the report.
nlohmann::ordered_json RecordsDocument(iphlp::IpHelper& ipHelper);

// A lease time as ISO 8601 UTC ("2026-12-07T20:27:10Z"), or null where there is no lease: the
// adapter's DHCP is off, or the time is 0.
nlohmann::ordered_json LeaseTime(std::int64_t seconds, bool dhcpEnabled);

}  // namespace addrvue
