// The adapter half of the report: fourteen items for every adapter, in the platform's order.
#pragma once

#include "platform/date_names.h"
#include "report/record_reader.h"
#include "report/window_seam.h"

namespace addrvue {

void ReportAdapters(const RecordReader& reader, ReportWindow& form, const DateNames& dateNames);

}  // namespace addrvue
