#include "app/command_line.h"

#include <algorithm>
#include <array>

#include "app/layout.h"
#include "platform/text/utf.h"
#include "version.h"

namespace addrvue::cli {
namespace {

constexpr std::array kOptions{
    Option{Mode::Help, "h", "help", "show this help and exit", "Show the usage and exit."},
    Option{Mode::Version, "v", "version", "show the program's name and version and exit",
           "Show the program's name and version and exit."},
    Option{Mode::Print, "", "print", "write the report to standard output, one item per line",
           "Write the report to standard output instead of showing it, one item per line, in the "
           "order the window shows them: each new line of the report's text box and each message "
           "box that says something. No window opens, no display is needed and there is no "
           "pause. A text that holds a line break or another control character is written as a "
           "JSON string's body, without the quotes. Where a query fails, its failure text is the "
           "last line."},
    Option{Mode::Json, "", "json", "write the host parameters and every adapter as JSON",
           "Write one JSON document to standard output: the host parameters and every adapter, "
           "field by field, named as the IP Helper records name them; lease times in ISO 8601 "
           "UTC, null where there is no lease. Where a query fails, \"error\" holds its failure "
           "text."},
};

constexpr std::string_view kDescription =
    "shows this machine's IP configuration: the host name, DNS servers, NetBIOS settings and, for "
    "every network adapter, its addresses, gateways, DHCP server, WINS servers and lease times.";

std::string ProgramName() {
  return ToUtf8(layout::kExecutableName);
}

std::string Names(const Option& option) {
  std::string names =
      option.shortName.empty() ? "    " : "-" + std::string(option.shortName) + ", ";
  return names + "--" + std::string(option.longName);
}

}  // namespace

std::span<const Option> Options() {
  return kOptions;
}

std::string_view Description() {
  return kDescription;
}

Choice Choose(const std::vector<Mode>& given) {
  for (const Mode wins : {Mode::Help, Mode::Version}) {
    if (std::ranges::find(given, wins) != given.end()) {
      return {wins, {}};
    }
  }
  const bool print = std::ranges::find(given, Mode::Print) != given.end();
  const bool json = std::ranges::find(given, Mode::Json) != given.end();
  if (print && json) {
    return {Mode::Window, "--print and --json cannot be given together."};
  }
  return {print ? Mode::Print : json ? Mode::Json : Mode::Window, {}};
}

Choice Parse(std::span<const std::string> arguments) {
  std::vector<Mode> given;
  for (const std::string& argument : arguments) {
    const auto* const named = std::ranges::find_if(kOptions, [&](const Option& option) {
      return argument == "--" + std::string(option.longName) ||
             (!option.shortName.empty() && argument == "-" + std::string(option.shortName)) ||
             (option.mode == Mode::Help && argument == "/?");
    });
    if (named == kOptions.end()) {
      // Named as the Linux parser names it: without its dashes.
      if (argument.starts_with("-")) {
        const std::size_t name = std::min(argument.find_first_not_of('-'), argument.size());
        return {Mode::Window, "Unknown option '" + argument.substr(name) + "'."};
      }
      return {Mode::Window,
              (argument.starts_with("/") ? "Unknown option '" : "Unexpected argument '") +
                  argument + "'."};
    }
    given.push_back(named->mode);
  }
  return Choose(given);
}

std::string UsageText() {
  std::string text = "Usage: " + ProgramName() + " [OPTION]\n" + ToUtf8(layout::kApplicationTitle) +
                     " shows this machine's IP configuration: with no option in its window, one\n"
                     "item at a time.\n\nOptions:\n";
  for (const Option& option : kOptions) {
    std::string names = Names(option);
    names.resize(std::max<std::size_t>(names.size() + 2, 17), ' ');
    text += "  " + names + std::string(option.summary) + "\n";
  }
  return text + "\nExit status: 0 done, 1 a query failed, 2 a wrong command line.\n";
}

std::string VersionText() {
  return ProgramName() + " " + ADDRVUE_VERSION + "\n";
}

}  // namespace addrvue::cli
