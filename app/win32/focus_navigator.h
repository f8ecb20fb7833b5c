// Form1's keyboard and focus, as a dialog's: Tab and the arrow keys move along the tab order,
// Return and the keypad's Enter press the focused push button as Space does, a control about to
// hide passes the focus on, and the focus comes back where it was when the window is activated.
#pragma once

#include <windows.h>

#include "app/control.h"
#include "app/win32/form_controls.h"

namespace addrvue::win32 {

class FocusNavigator {
 public:
  FocusNavigator(HWND form, const FormControls& controls) : form_(form), controls_(controls) {}

  // WM_ACTIVATE: notes the focus as the window goes inactive, and gives it back as the window
  // comes back; says whether it did.
  bool OnActivate(WPARAM activation);
  // Called before `leaving` hides: Windows would leave the focus on the form.
  void PassFocusOn(Control leaving);
  // Handles a queued message that moves the focus or presses a button; says whether it did.
  bool Navigate(MSG& message) const;

 private:
  [[nodiscard]] HWND NextInTabOrder(Control from) const;
  [[nodiscard]] bool PressFocusedButton(const MSG& message) const;

  HWND form_;
  const FormControls& controls_;
  HWND focusBeforeDeactivation_ = nullptr;
};

}  // namespace addrvue::win32
