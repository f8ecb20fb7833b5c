#include "app/win32/focus_navigator.h"

#include "app/win32/tab_order.h"

namespace addrvue::win32 {

bool FocusNavigator::OnActivate(WPARAM activation) {
  if (LOWORD(activation) == WA_INACTIVE) {
    focusBeforeDeactivation_ = GetFocus();
    return false;
  }
  if (focusBeforeDeactivation_ == nullptr || IsWindow(focusBeforeDeactivation_) == FALSE) {
    return false;
  }
  SetFocus(focusBeforeDeactivation_);
  return true;
}

// The focus moves on as Tab would move it.
void FocusNavigator::PassFocusOn(Control leaving) {
  HWND child = controls_[leaving];
  if (GetFocus() == child) {
    if (HWND next = NextInTabOrder(leaving); next != nullptr) {
      SetFocus(next);
    }
  } else if (focusBeforeDeactivation_ == child) {
    focusBeforeDeactivation_ = NextInTabOrder(leaving);
  }
}

HWND FocusNavigator::NextInTabOrder(Control from) const {
  const auto next = win32::NextInTabOrder(from, [this](Control control) {
    const auto style = static_cast<DWORD>(GetWindowLongW(controls_[control], GWL_STYLE));
    return (style & WS_VISIBLE) != 0 && (style & WS_DISABLED) == 0;
  });
  return next ? controls_[*next] : nullptr;
}

bool FocusNavigator::Navigate(MSG& message) const {
  if (PressFocusedButton(message)) {
    return true;
  }
  // Tab and the keys that move between controls.
  return IsWindow(form_) != FALSE && IsDialogMessageW(form_, &message) != FALSE;
}

// Return and the keypad's Enter press the push button that has the focus, as Space does (the
// button handles Space itself); the dialog manager would turn them into IDOK.
bool FocusNavigator::PressFocusedButton(const MSG& message) const {
  if (message.message != WM_KEYDOWN || message.wParam != VK_RETURN ||
      GetParent(message.hwnd) != form_ ||
      (SendMessageW(message.hwnd, WM_GETDLGCODE, 0, 0) &
       (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) == 0) {
    return false;
  }
  SendMessageW(form_, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(message.hwnd), BN_CLICKED),
               reinterpret_cast<LPARAM>(message.hwnd));
  return true;
}

}  // namespace addrvue::win32
