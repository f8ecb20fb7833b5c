// The child-window identifier of each control of the Win32 window. Test drivers find the
// controls by these numbers.
#pragma once

#include "app/control.h"

namespace addrvue::win32 {

inline constexpr int kFirstControlId = 100;

constexpr int ControlId(Control control) {
  return kFirstControlId + static_cast<int>(IndexOf(control));
}

// The class name of the main window.
inline constexpr const wchar_t* kFormClassName = L"QUIRNEL_ADDRVUE.Form1";

}  // namespace addrvue::win32
