// QUIRNEL_ADDRVUE.exe's options (the table's, with "/?" for --help): read from the program's
// command line, and run with their output on standard output where it is redirected (a file or a
// pipe), else on the console of the program that started this one.
#pragma once

#include "app/command_line.h"

namespace addrvue::win32 {

cli::Choice CommandLineChoice();

// Runs a choice other than the window; returns the exit status.
int RunWithoutWindow(const cli::Choice& choice);

}  // namespace addrvue::win32
