// Form1: its frame, its events, its size at the DPI of its monitor, and the toolkit operations of
// the button sequence.
#include "app/win32/form_window.h"

#include <windows.h>

#include <stdexcept>
#include <string>

#include "app/layout.h"
#include "app/unhandled_error.h"
#include "app/win32/control_ids.h"
#include "app/win32/dpi.h"
#include "app/win32/message_pumps.h"
#include "app/win32/program_end.h"
#include "app/win32/refused.h"
#include "app/win32/wide_text.h"
#include "platform/utf.h"

namespace addrvue::win32 {
namespace {

// WM_GETDPISCALEDSIZE (Windows 10 1703 on): asks the window's size at another DPI.
constexpr UINT kGetDpiScaledSize = 0x02E4;

}  // namespace

FormWindow::FormWindow(HINSTANCE instance)
    : instance_(instance),
      painter_(instance),
      window_(CreateForm()),
      controls_(window_, instance),
      navigator_(window_, controls_) {
  QueryPerformanceFrequency(&clockFrequency_);
  QueryPerformanceCounter(&clockStart_);
  painter_.GiveIcons(window_);
  ApplyDpi(DpiOf(window_));
  CentreOnScreen();
}

FormWindow::~FormWindow() {
  if (IsWindow(window_) != FALSE) {
    DestroyWindow(window_);
  }
}

// The frame, hidden and still without a size: its size follows from the DPI of the monitor it
// is on (ApplyDpi).
HWND FormWindow::CreateForm() {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &FormWindow::Procedure;
  windowClass.hInstance = instance_;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);  // NOLINT: the system's arrow cursor
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = kFormClassName;
  if (RegisterClassExW(&windowClass) == 0) {
    Refused("RegisterClassExW");
  }
  const std::wstring caption = Wide(layout::Window().caption);
  HWND form = CreateWindowExW(0, kFormClassName, caption.c_str(), kFormStyle, 0, 0, 0, 0, nullptr,
                              nullptr, instance_, this);
  if (form == nullptr) {
    Refused("CreateWindowExW");
  }
  return form;
}

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
      if (const auto brush = painter_.ColourStatic(reinterpret_cast<HDC>(wParam),
                                                   reinterpret_cast<HWND>(lParam))) {
        return *brush;
      }
      break;
    case WM_DRAWITEM:
      painter_.Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_ACTIVATE:
      if (navigator_.OnActivate(wParam)) {
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

// The toolkit's handling of an error that leaves the click handler: it is shown, and the
// program ends.
void FormWindow::RunClick() {
  if (inClick_ || !command1Click_) {
    return;
  }
  inClick_ = true;
  if (const auto error = RunTrapped(command1Click_)) {
    EndWithUnhandledError(Owner(), *error);
  }
  inClick_ = false;
}

HWND FormWindow::Child(Control control) const {
  HWND child = controls_[control];
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

void FormWindow::Show(int showCommand) {
  ShowWindow(window_, showCommand);
  UpdateWindow(window_);
  SetFocus(Child(Control::Command1));
}

int FormWindow::RunMessageLoop() {
  return PumpUntilQuit(navigator_);
}

void FormWindow::ProcessEvents(std::chrono::milliseconds maxWait) {
  PumpPending(maxWait, navigator_);
}

void FormWindow::EndProgram() {
  EndProcess(window_);
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
    navigator_.PassFocusOn(control);
  }
  ShowWindow(child, visible ? SW_SHOW : SW_HIDE);
}

void FormWindow::ShowMessageBox(std::u16string_view text) {
  const std::wstring wide = Wide(text);
  if (MessageBoxW(Owner(), wide.c_str(), ApplicationTitle().c_str(), MB_OK) == 0) {
    Refused("MessageBoxW");
  }
}

double FormWindow::ClockSeconds() {
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart - clockStart_.QuadPart) /
         static_cast<double>(clockFrequency_.QuadPart);
}

void FormWindow::ApplyDpi(int dpi) {
  dpi_ = dpi;
  controls_.ApplyDpi(dpi);
}

void FormWindow::CentreOnScreen() {
  const SIZE frame = FrameSize(LayoutClientArea(dpi_), kFormStyle, 0, dpi_);
  const int left = (GetSystemMetrics(SM_CXSCREEN) - frame.cx) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - frame.cy) / 2;
  if (SetWindowPos(window_, nullptr, left, top, frame.cx, frame.cy,
                   SWP_NOZORDER | SWP_NOACTIVATE) == FALSE) {
    Refused("SetWindowPos");
  }
}

// WM_DPICHANGED: the rectangle Windows suggests has the size FrameAtDpi gave it.
void FormWindow::FollowDpiChange(int dpi, const RECT& suggested) {
  ApplyDpi(dpi);
  SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

// WM_GETDPISCALEDSIZE: the frame around the client area as it is at the new DPI.
SIZE FormWindow::FrameAtDpi(int dpi) const {
  RECT client{};
  GetClientRect(window_, &client);
  return FrameSize(RescaledClientArea({client.right, client.bottom}, dpi_, dpi), kFormStyle, 0,
                   dpi);
}

}  // namespace addrvue::win32
