#include "app/without_window.h"

#include "app/layout.h"
#include "app/line_report.h"
#include "platform/text/utf.h"
#include "report/module1.h"
#include "report/records_document.h"

namespace addrvue {

int RunWithoutWindow(const cli::Choice& choice, iphlp::IpHelper& ipHelper,
                     const DateNames& dateNames, std::string& out, std::string& err) {
  if (!choice.error.empty()) {
    err = ToUtf8(layout::kExecutableName) + ": " + choice.error + "\n" + cli::UsageText();
    return kExitUsage;
  }
  switch (choice.mode) {
    case cli::Mode::Help:
      out = cli::UsageText();
      return kExitDone;
    case cli::Mode::Version:
      out = cli::VersionText();
      return kExitDone;
    case cli::Mode::Print: {
      LineReport lines(out);
      Module1::ShowNetworkInfo(lines, ipHelper, dateNames);
      return lines.QueryFailed() ? kExitQueryFailed : kExitDone;
    }
    case cli::Mode::Json: {
      const nlohmann::ordered_json document = RecordsDocument(ipHelper);
      out = document.dump(2) + "\n";
      return document.at("error").is_null() ? kExitDone : kExitQueryFailed;
    }
    case cli::Mode::Window:
      break;
  }
  return kExitUsage;
}

}  // namespace addrvue
