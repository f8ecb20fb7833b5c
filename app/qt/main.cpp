// Start-up: the window Form1 is created from its layout, its load handler runs, and it is shown
// centred on the screen. From then on the program only reacts to the click on Command1.
#include <QApplication>

#include "app/form1.h"
#include "app/layout.h"
#include "app/qt/form1_window.h"
#include "app/qt/text.h"
#include "platform/date_names.h"
#include "platform/system_ip_helper.h"

int main(int argc, char** argv) {
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
