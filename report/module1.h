// The network configuration report: one call asks the IP Helper for the machine's parameters and
// its adapters and shows them item by item, each item held by a modal message box.
#pragma once

#include "platform/date_names.h"
#include "platform/ip_helper.h"
#include "report/window_seam.h"

namespace addrvue::Module1 {

// Runs the whole report into `form`. A failed query ends it after one message box naming the
// call and its result code; any other failure (a toolkit refusing a change) propagates.
void ShowNetworkInfo(ReportWindow& form, iphlp::IpHelper& ipHelper, const DateNames& dateNames);

}  // namespace addrvue::Module1
