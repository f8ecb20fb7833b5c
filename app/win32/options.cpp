#include "app/win32/options.h"

#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/without_window.h"
#include "platform/date_names.h"
#include "platform/system_ip_helper.h"
#include "platform/text/utf.h"

namespace addrvue::win32 {
namespace {

// A command-line argument in the system's ANSI code page, as UTF-8.
std::string FromAnsi(const char* argument) {
  const int length = MultiByteToWideChar(CP_ACP, 0, argument, -1, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 1), L'\0');
  MultiByteToWideChar(CP_ACP, 0, argument, -1, wide.data(), length);
  wide.resize(wide.find(L'\0'));
  return ToUtf8(std::u16string(wide.begin(), wide.end()));
}

bool Redirected(DWORD stream) {
  const HANDLE handle = GetStdHandle(stream);
  return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
         GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using OwnedHandle = std::unique_ptr<void, HandleCloser>;

// Writes UTF-8 text to a console as UTF-16, or to a file or pipe as it is.
void WriteTo(HANDLE handle, const std::string& text) {
  DWORD mode = 0;
  DWORD written = 0;
  if (GetConsoleMode(handle, &mode) != 0) {
    const std::u16string wide = FromUtf8(text);
    WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
  } else {
    WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  }
}

// A GUI program has no console of its own: what is not redirected goes to the parent's console,
// when it has one.
void Write(DWORD stream, const std::string& text) {
  if (text.empty()) {
    return;
  }
  if (Redirected(stream)) {
    WriteTo(GetStdHandle(stream), text);
    return;
  }
  static const bool attached = AttachConsole(ATTACH_PARENT_PROCESS) != 0;
  if (attached) {
    const OwnedHandle console(CreateFileW(L"CONOUT$", GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, 0, nullptr));
    if (console.get() != INVALID_HANDLE_VALUE) {
      WriteTo(console.get(), text);
    }
  }
}

}  // namespace

cli::Choice CommandLineChoice() {
  std::vector<std::string> arguments;
  for (int i = 1; i < __argc; ++i) {
    arguments.push_back(FromAnsi(__argv[i]));  // NOLINT(*-pointer-arithmetic)
  }
  return cli::Parse(arguments);
}

int RunWithoutWindow(const cli::Choice& choice) {
  std::string out;
  std::string err;
  const auto ipHelper = iphlp::SystemIpHelper();
  const auto dateNames = UserDateNames();
  const int status = addrvue::RunWithoutWindow(choice, *ipHelper, *dateNames, out, err);
  Write(STD_OUTPUT_HANDLE, out);
  Write(STD_ERROR_HANDLE, err);
  return status;
}

}  // namespace addrvue::win32
