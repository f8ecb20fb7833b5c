// Everything the program does without its window, on both platforms: usage errors, --help,
// --version, and the report as lines (--print) or as JSON (--json).
#pragma once

#include <string>

#include "app/command_line.h"
#include "platform/date_names.h"
#include "platform/ip_helper.h"

namespace addrvue {

// The exit statuses.
inline constexpr int kExitDone = 0;
inline constexpr int kExitQueryFailed = 1;
inline constexpr int kExitUsage = 2;

// Runs a choice other than the window and returns the exit status; what it writes to standard
// output goes to `out`. A command line that cannot be followed puts its error and the usage in
// `err`.
int RunWithoutWindow(const cli::Choice& choice, iphlp::IpHelper& ipHelper,
                     const DateNames& dateNames, std::string& out, std::string& err);

}  // namespace addrvue
