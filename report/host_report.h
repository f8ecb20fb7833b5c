// The machine-wide half of the report: host name, DNS servers, NetBIOS node type and scope, and
// the routing, WINS proxy and NetBIOS-over-DNS flags.
#pragma once

#include "report/record_reader.h"
#include "report/window_seam.h"

namespace addrvue {

void ReportHost(const RecordReader& reader, ReportWindow& form);

}  // namespace addrvue
