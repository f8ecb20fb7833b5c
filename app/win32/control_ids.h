// The child-window identifier of each control of the Win32 window. Test drivers find the
// controls by these numbers.
#pragma once

#include <optional>

#include "app/control.h"

namespace addrvue::win32 {

inline constexpr int kFirstControlId = 100;

constexpr int ControlId(Control control) {
  return kFirstControlId + static_cast<int>(IndexOf(control));
}

// The control a child-window identifier belongs to; none for any other number.
constexpr std::optional<Control> ControlOfId(int id) {
  if (id < kFirstControlId || id >= kFirstControlId + static_cast<int>(kControlCount)) {
    return std::nullopt;
  }
  return static_cast<Control>(id - kFirstControlId);
}

// The class name of the main window.
inline constexpr const wchar_t* kFormClassName = L"QUIRNEL_ADDRVUE.Form1";

}  // namespace addrvue::win32
