// The man page, made from the option table so that it names exactly the options the program takes.
#include <string>

#include "app/command_line.h"
#include "app/layout.h"
#include "platform/text/utf.h"
#include "version.h"

namespace addrvue::cli {
namespace {

// Text for roff: a hyphen must be \-, a backslash \e. (No text of the table starts a line with
// a dot or a quote, which roff would take for a request.)
std::string Roff(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '-') {
      out += "\\-";
    } else if (c == '\\') {
      out += "\\e";
    } else {
      out += c;
    }
  }
  return out;
}

std::string OptionEntry(const Option& option) {
  std::string names = "\\-\\-" + Roff(option.longName);
  if (!option.shortName.empty()) {
    names = "\\-" + Roff(option.shortName) + "\\fR, \\fB" + names;
  }
  return ".TP\n\\fB" + names + "\\fR\n" + Roff(option.manText) + "\n";
}

}  // namespace

std::string ManPage() {
  const std::string name = ToUtf8(layout::kExecutableName);
  const std::string title = ToUtf8(layout::kApplicationTitle);
  std::string page = ".TH " + name + R"( 1 "" ")" + name + " " + ADDRVUE_VERSION +
                     R"(" "User Commands")" + "\n.SH NAME\n" + name +
                     " \\- show this machine's IP configuration\n.SH SYNOPSIS\n.B " + name +
                     "\n[\\fIOPTION\\fR]\n.SH DESCRIPTION\n" + title + " " + Roff(Description()) +
                     "\n.PP\nWith no option it opens its window: one press of its button shows "
                     "the report item by item, each held by a message box, then pauses 20 "
                     "seconds and ends.\n.SH OPTIONS\n";
  for (const Option& option : Options()) {
    page += OptionEntry(option);
  }
  return page +
         ".SH EXIT STATUS\n.TP\n0\ndone\n.TP\n1\na query failed (\\-\\-print, \\-\\-json)\n"
         ".TP\n2\na wrong command line: an unknown option or argument, or \\-\\-print with "
         "\\-\\-json\n.SH SEE ALSO\n.BR ip (8)\n";
}

}  // namespace addrvue::cli
