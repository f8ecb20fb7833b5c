// The command line, read by QCommandLineParser from the option table.
#pragma once

#include "app/command_line.h"

namespace addrvue::qt {

// Reads argv before any application object exists (the window's needs a display, the other modes
// must not).
cli::Choice ParseOptions(int argc, char** argv);

}  // namespace addrvue::qt
