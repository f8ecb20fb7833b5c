// Start-up: with no option, the window Form1 is created from its layout, its load handler runs,
// and it is shown centred on the screen; from then on the program only reacts to the click on
// Command1. The options (--help, --version, --print, --json) need no window and no display.
#include <QApplication>
#include <QCoreApplication>
#include <iostream>

#include "app/form1.h"
#include "app/layout.h"
#include "app/qt/form1_window.h"
#include "app/qt/parse_options.h"
#include "app/qt/text.h"
#include "app/without_window.h"
#include "platform/date_names.h"
#include "platform/system_ip_helper.h"

namespace {

int RunWindow(int argc, char** argv) {
  const QApplication application(argc, argv);
  QApplication::setApplicationName(addrvue::qt::ToQString(addrvue::layout::kExecutableName));

  const auto ipHelper = iphlp::SystemIpHelper();
  const auto dateNames = addrvue::UserDateNames();
  addrvue::qt::Form1Window window;
  addrvue::Form1 form1(window, *ipHelper, *dateNames);
  window.OnCommand1Click([&form1] { form1.Command1_Click(); });

  form1.Form1_Load();
  window.ShowCentred();
  return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
  const addrvue::cli::Choice choice = addrvue::qt::ParseOptions(argc, argv);
  if (choice.mode == addrvue::cli::Mode::Window && choice.error.empty()) {
    return RunWindow(argc, argv);
  }
  const QCoreApplication application(argc, argv);
  const auto ipHelper = iphlp::SystemIpHelper();
  const auto dateNames = addrvue::UserDateNames();
  std::string out;
  std::string err;
  const int status = addrvue::RunWithoutWindow(choice, *ipHelper, *dateNames, out, err);
  std::cout << out << std::flush;
  std::cerr << err;
  return status;
}
