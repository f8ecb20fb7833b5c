// Form1's controls as child windows of the form, built from the layout: one window per control
// with its style and text, and Timer1 as a timer of the form. Places, sizes and fonts follow the
// DPI (ApplyDpi).
#pragma once

#include <windows.h>

#include "app/control.h"
#include "app/win32/gdi_handles.h"

namespace addrvue::win32 {

class FormControls {
 public:
  // Creates every control on `form`, not yet placed; throws when Windows refuses.
  FormControls(HWND form, HINSTANCE instance);

  // Places the controls and gives them their fonts at this DPI: the layout's twips at that DPI,
  // the fonts at their point sizes.
  void ApplyDpi(int dpi);

  // The control's child window; none for Timer1.
  [[nodiscard]] HWND operator[](Control control) const { return children_[control]; }

 private:
  void Create(Control id, HWND form, HINSTANCE instance);

  PerControl<HWND> children_;
  PerControl<FontHandle> fonts_;
};

}  // namespace addrvue::win32
