// Form1's events and the toolkit operations of the button sequence.
#include <windows.h>

#include <exception>
#include <stdexcept>
#include <string>

#include "app/layout.h"
#include "app/win32/control_ids.h"
#include "app/win32/form_window.h"
#include "platform/utf.h"

namespace addrvue::win32 {
namespace {

[[noreturn]] void Refused(const char* what) {
  throw std::runtime_error(std::string(what) + " failed (error " + std::to_string(GetLastError()) +
                           ")");
}

const std::wstring& Title() {
  static const std::wstring title = Wide(layout::kApplicationTitle);
  return title;
}

}  // namespace

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
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item->CtlID == static_cast<UINT>(ControlId(Control::Picture1))) {
        DrawPicture(*item);
        return TRUE;
      }
      break;
    }
    case WM_ACTIVATE:
      // Keep the focus on the control that had it when the window comes back.
      if (LOWORD(wParam) == WA_INACTIVE) {
        focusBeforeDeactivation_ = GetFocus();
      } else if (focusBeforeDeactivation_ != nullptr &&
                 IsWindow(focusBeforeDeactivation_) != FALSE) {
        SetFocus(focusBeforeDeactivation_);
        return 0;
      }
      break;
    case WM_DESTROY:
      // Closed before the press: the program ends. Closed during the pause: the pause goes on.
      KillTimer(window_, static_cast<UINT_PTR>(ControlId(Control::Timer1)));
      children_.Fill(nullptr);
      if (!inClick_) {
        PostQuitMessage(0);
      }
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
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
  const int id = GetDlgCtrlID(control);
  for (const auto& entry : layout::Controls()) {
    const auto& brush = backgrounds_[entry.id];
    if (ControlId(entry.id) == id && brush && entry.background) {
      SetBkColor(dc, RGB(entry.background->red, entry.background->green, entry.background->blue));
      SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
      return reinterpret_cast<LRESULT>(brush.get());
    }
  }
  return DefWindowProcW(window_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                        reinterpret_cast<LPARAM>(control));
}

// Picture1: the box's colour, and over it the bitmap from the top-left corner at its natural
// size; the device context is clipped to the box, which cuts the bitmap off at its edges.
void FormWindow::DrawPicture(const DRAWITEMSTRUCT& item) const {
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
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

// Boxes belong to the window while it exists; after it has been closed, to the desktop.
HWND FormWindow::Owner() const {
  return IsWindow(window_) != FALSE ? window_ : nullptr;
}

void FormWindow::ReplaceCaption(std::u16string_view text) {
  if (IsWindow(window_) == FALSE || SetWindowTextW(window_, Wide(text).c_str()) == FALSE) {
    Refused("SetWindowTextW (caption)");
  }
}

void FormWindow::ReplaceText(Control control, std::u16string_view text) {
  if (SetWindowTextW(Child(control), Wide(text).c_str()) == FALSE) {
    Refused("SetWindowTextW");
  }
}

void FormWindow::SetVisible(Control control, bool visible) {
  ShowWindow(Child(control), visible ? SW_SHOW : SW_HIDE);
}

void FormWindow::ShowMessageBox(std::u16string_view text) {
  if (MessageBoxW(Owner(), Wide(text).c_str(), Title().c_str(), MB_OK) == 0) {
    Refused("MessageBoxW");
  }
}

double FormWindow::ClockSeconds() {
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart - clockStart_.QuadPart) /
         static_cast<double>(clockFrequency_.QuadPart);
}

void FormWindow::Dispatch(MSG& message) {
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
