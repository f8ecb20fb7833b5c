// Everything the program does without its window, on both platforms: usage errors, --help,
// --version, and the report as lines (--print) or as JSON (--json).
#pragma once

#include <ostream>

#include "app/command_line.h"
#include "platform/date_names.h"
#include "platform/ip_helper.h"

namespace addrvue {

// The exit statuses.
inline constexpr int kExitDone = 0;
inline constexpr int kExitQueryFailed = 1;
inline constexpr int kExitUsage = 2;

// Runs a choice other than the window and returns the exit status: a command line that cannot be
// followed writes its error and the usage to `err`.
int RunWithoutWindow(const cli::Choice& choice, iphlp::IpHelper& ipHelper,
                     const DateNames& dateNames, std::ostream& out, std::ostream& err);

}  // namespace addrvue
