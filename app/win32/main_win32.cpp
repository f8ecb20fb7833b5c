// Start-up of QUIRNEL_ADDRVUE.exe: Form1 is created from the layout, its load handler runs, and
// the window is shown; from then on the program only answers window events. An option (--help,
// --version, --print, --json, "/?") runs without the window instead.
#include <windows.h>

#include <exception>

#include "app/form1.h"
#include "app/unhandled_error.h"
#include "app/win32/form_window.h"
#include "app/win32/options.h"
#include "app/win32/program_end.h"
#include "platform/date_names.h"
#include "platform/system_ip_helper.h"
#include "platform/text/utf.h"

// NOLINTNEXTLINE(readability-inconsistent-declaration-parameter-name): the SDK's names differ
int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int showCommand) {
  using addrvue::win32::FormWindow;
  if (const auto choice = addrvue::win32::CommandLineChoice();
      choice.mode != addrvue::cli::Mode::Window || !choice.error.empty()) {
    return addrvue::win32::RunWithoutWindow(choice);
  }
  try {
    const auto ipHelper = iphlp::SystemIpHelper();
    const auto dateNames = addrvue::UserDateNames();
    FormWindow window(instance);
    addrvue::Form1 form(window, *ipHelper, *dateNames);
    window.OnCommand1Click([&form] { form.Command1_Click(); });
    form.Form1_Load();
    window.Show(showCommand);
    return window.RunMessageLoop();
  } catch (const std::exception& error) {
    addrvue::win32::EndWithUnhandledError(
        nullptr, addrvue::UnhandledErrorText(addrvue::FromUtf8(error.what())));
  }
}
