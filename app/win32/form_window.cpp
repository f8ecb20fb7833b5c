// Form1's events and the toolkit operations of the button sequence.
#include <windows.h>

#include <algorithm>
#include <exception>
#include <stdexcept>
#include <string>

#include "app/layout.h"
#include "app/win32/control_ids.h"
#include "app/win32/form_window.h"
#include "app/win32/refused.h"
#include "platform/utf.h"

namespace addrvue::win32 {
namespace {

// WM_GETDPISCALEDSIZE (Windows 10 1703 on): asks the window's size at another DPI.
constexpr UINT kGetDpiScaledSize = 0x02E4;

const std::wstring& Title() {
  static const std::wstring title = Wide(layout::kApplicationTitle);
  return title;
}

}  // namespace

// Window messages carry pointers and handles in their integer parameters.
// NOLINTBEGIN(performance-no-int-to-ptr)
LRESULT CALLBACK FormWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    auto* self = static_cast<FormWindow*>(create->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) {
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return self->Handle(message, wParam, lParam);
}

LRESULT FormWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == ControlId(Control::Command1) && HIWORD(wParam) == BN_CLICKED) {
        RunClick();
        return 0;
      }
      break;
    case WM_CTLCOLORSTATIC:
      return ColourStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DRAWITEM:
      Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_ACTIVATE:
      if (RestoreFocus(wParam)) {
        return 0;
      }
      break;
    case WM_CLOSE:
      // Closed during the press, the window only hides: the report, the pause, the closing box
      // and the end still run. Closed before it, the window goes and the program ends.
      if (inClick_) {
        ShowWindow(window_, SW_HIDE);
        return 0;
      }
      break;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_DPICHANGED:
      FollowDpiChange(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case kGetDpiScaledSize:
      *reinterpret_cast<SIZE*>(lParam) = FrameAtDpi(static_cast<int>(wParam));
      return TRUE;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}
// NOLINTEND(performance-no-int-to-ptr)

// Keeps the focus on the control that had it when the window comes back; says whether it did.
bool FormWindow::RestoreFocus(WPARAM activation) {
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

// The toolkit's handling of an error that leaves the click handler: it is shown, and the
// program ends.
void FormWindow::RunClick() {
  if (inClick_ || !command1Click_) {
    return;
  }
  inClick_ = true;
  try {
    command1Click_();
  } catch (const std::exception& error) {
    ShowUnhandledError(Owner(), FromUtf8(error.what()));
  } catch (...) {
    ShowUnhandledError(Owner(), u"unknown error");
  }
  inClick_ = false;
}

void FormWindow::ShowUnhandledError(HWND owner, std::u16string_view what) {
  const std::wstring text = L"Run-time error:\n" + Wide(what);
  MessageBoxW(owner, text.c_str(), Title().c_str(), MB_OK | MB_ICONERROR);
  ExitProcess(1);
}

LRESULT FormWindow::ColourStatic(HDC dc, HWND control) {
  for (const auto& entry : layout::Controls()) {
    if (children_[entry.id] != control) {
      continue;
    }
    if (entry.kind == layout::Kind::TextBox) {
      // A disabled text box asks here rather than with WM_CTLCOLOREDIT. It keeps the window
      // background; only its text turns grey.
      const bool enabled = IsWindowEnabled(control) != FALSE;
      SetBkColor(dc, GetSysColor(COLOR_WINDOW));
      SetTextColor(dc, GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
    if (const auto& brush = backgrounds_[entry.id]; brush && entry.background) {
      SetBkColor(dc, RGB(entry.background->red, entry.background->green, entry.background->blue));
      SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
      return reinterpret_cast<LRESULT>(brush.get());
    }
  }
  return DefWindowProcW(window_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                        reinterpret_cast<LPARAM>(control));
}

// Image1 and Picture1: the box's colour, and over it the icon or the bitmap from the top-left
// corner at its natural size; the device context is clipped to the box, which cuts the bitmap
// off at its edges.
void FormWindow::Draw(const DRAWITEMSTRUCT& item) const {
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  if (item.hwndItem == children_[Control::Image1]) {
    DrawIconEx(item.hDC, 0, 0, image1Icon_.get(), 0, 0, 0, nullptr, DI_NORMAL);
    return;
  }
  BITMAP bitmap{};
  if (!picture_ || GetObjectW(picture_.get(), sizeof bitmap, &bitmap) == 0) {
    return;
  }
  const MemoryDc memory(CreateCompatibleDC(item.hDC));
  if (!memory) {
    return;
  }
  const Selection selected(memory.get(), picture_.get());
  BitBlt(item.hDC, 0, 0, bitmap.bmWidth, bitmap.bmHeight, memory.get(), 0, 0, SRCCOPY);
}

HWND FormWindow::Child(Control control) const {
  HWND child = children_[control];
  if (child == nullptr || IsWindow(child) == FALSE) {
    throw std::runtime_error("the window has no control " + ToUtf8(layout::Of(control).name));
  }
  return child;
}

// Boxes belong to the window while it is shown; once it has been closed, to the desktop, so that
// they keep a button of their own on the task bar.
HWND FormWindow::Owner() const {
  return IsWindowVisible(window_) != FALSE ? window_ : nullptr;
}

void FormWindow::ReplaceCaption(std::u16string_view text) {
  const std::wstring caption = Wide(text);
  if (SetWindowTextW(window_, caption.c_str()) == FALSE) {
    Refused("SetWindowTextW (caption)");
  }
}

void FormWindow::ReplaceText(Control control, std::u16string_view text) {
  HWND child = Child(control);
  const std::wstring wide = Wide(text);
  if (SetWindowTextW(child, wide.c_str()) == FALSE) {
    Refused("SetWindowTextW");
  }
}

void FormWindow::SetVisible(Control control, bool visible) {
  HWND child = Child(control);
  if (!visible) {
    PassFocusOn(control);
  }
  ShowWindow(child, visible ? SW_SHOW : SW_HIDE);
}

// A control about to hide hands the focus on as Tab would: Windows would leave it on the form.
void FormWindow::PassFocusOn(Control leaving) {
  HWND child = children_[leaving];
  if (GetFocus() == child) {
    if (HWND next = NextInTabOrder(leaving); next != nullptr) {
      SetFocus(next);
    }
  } else if (focusBeforeDeactivation_ == child) {
    focusBeforeDeactivation_ = NextInTabOrder(leaving);
  }
}

// The first control after `from` in tab order, round the end, that is shown, enabled and of a
// kind that takes the focus.
HWND FormWindow::NextInTabOrder(Control from) const {
  const auto order = layout::TabOrder();
  const auto at = static_cast<std::size_t>(std::ranges::find(order, from) - order.begin());
  for (std::size_t step = 1; step < order.size(); ++step) {
    const Control next = order[(at + step) % order.size()];
    const auto style = static_cast<DWORD>(GetWindowLongW(children_[next], GWL_STYLE));
    if (layout::TakesFocus(layout::Of(next).kind) && (style & WS_VISIBLE) != 0 &&
        (style & WS_DISABLED) == 0) {
      return children_[next];
    }
  }
  return nullptr;
}

void FormWindow::ShowMessageBox(std::u16string_view text) {
  const std::wstring wide = Wide(text);
  if (MessageBoxW(Owner(), wide.c_str(), Title().c_str(), MB_OK) == 0) {
    Refused("MessageBoxW");
  }
}

double FormWindow::ClockSeconds() {
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart - clockStart_.QuadPart) /
         static_cast<double>(clockFrequency_.QuadPart);
}

// Return and the keypad's Enter press the push button that has the focus, as Space does (the
// button handles Space itself); the dialog manager would turn them into IDOK. Says whether the
// message was such a press.
bool FormWindow::PressFocusedButton(const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != VK_RETURN ||
      GetParent(message.hwnd) != window_ ||
      (SendMessageW(message.hwnd, WM_GETDLGCODE, 0, 0) &
       (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) == 0) {
    return false;
  }
  SendMessageW(window_, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(message.hwnd), BN_CLICKED),
               reinterpret_cast<LPARAM>(message.hwnd));
  return true;
}

void FormWindow::Dispatch(MSG& message) {
  if (PressFocusedButton(message)) {
    return;
  }
  if (IsWindow(window_) != FALSE && IsDialogMessageW(window_, &message) != FALSE) {
    return;  // Tab and the keys that move between controls
  }
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

// Waits at most maxWait for input, then handles everything pending. A quit request is not
// honoured here: the pause runs to its end even when the window has been closed.
void FormWindow::ProcessEvents(std::chrono::milliseconds maxWait) {
  const auto wait = static_cast<DWORD>(maxWait.count());
  if (MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE) ==
      WAIT_FAILED) {
    Refused("MsgWaitForMultipleObjectsEx");
  }
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
    if (message.message != WM_QUIT) {
      Dispatch(message);
    }
  }
}

int FormWindow::RunMessageLoop() {
  MSG message{};
  BOOL got = FALSE;
  while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
    Dispatch(message);
  }
  return got == 0 ? static_cast<int>(message.wParam) : 1;
}

void FormWindow::EndProgram() {
  if (IsWindow(window_) != FALSE) {
    DestroyWindow(window_);
  }
  ExitProcess(0);
}

}  // namespace addrvue::win32
