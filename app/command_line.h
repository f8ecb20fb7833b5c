// The program's options, one table for both platforms: the Linux parser, the Windows parser, the
// usage text and the man page are all made from it.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace addrvue::cli {

enum class Mode { Window, Help, Version, Print, Json };

struct Option {
  Mode mode;
  std::string_view shortName;  // empty where the option has none
  std::string_view longName;
  std::string_view summary;  // one line of the usage text
  std::string_view manText;  // the man page's paragraph
};

std::span<const Option> Options();

// What the program is asked to do, or why the command line cannot be followed.
struct Choice {
  Mode mode = Mode::Window;
  std::string error;  // one line; empty when the command line is good
};

// The mode of the options given: --help wins over everything, then --version; --print and --json
// together are an error.
Choice Choose(const std::vector<Mode>& given);

// Parses arguments (the program's name left out) by the table, as the Windows program does:
// "--name" or "-short", and "/?" for --help.
Choice Parse(std::span<const std::string> arguments);

// "Usage: ..." with the options and the exit statuses.
std::string UsageText();
// The program's name and version, one line.
std::string VersionText();
// The man page (roff, man macros).
std::string ManPage();
// The description every help text starts with.
std::string_view Description();

}  // namespace addrvue::cli
