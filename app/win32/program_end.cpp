#include "app/win32/program_end.h"

#include <string>

#include "app/win32/wide_text.h"

namespace addrvue::win32 {

void EndProcess(HWND form) {
  if (IsWindow(form) != FALSE) {
    DestroyWindow(form);
  }
  ExitProcess(0);
}

void EndWithUnhandledError(HWND owner, std::u16string_view text) {
  const std::wstring wide = Wide(text);
  MessageBoxW(owner, wide.c_str(), ApplicationTitle().c_str(), MB_OK | MB_ICONERROR);
  ExitProcess(1);
}

}  // namespace addrvue::win32
