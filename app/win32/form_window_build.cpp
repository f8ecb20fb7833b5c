// Building Form1 from the layout data: the window class, the frame sized for the client area at
// the screen's DPI, and one child window per control with its font, colours, picture and text.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "app/layout.h"
#include "app/win32/control_ids.h"
#include "app/win32/form_window.h"
#include "resources/resource_ids.h"

namespace addrvue::win32 {
namespace {

constexpr DWORD kFrameStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;  // sizable, system menu,
                                                                      // minimise and maximise
[[noreturn]] void Refused(const char* what) {
  throw std::runtime_error(std::string(what) + " failed (error " + std::to_string(GetLastError()) +
                           ")");
}

// Window class and styles of one control, as its kind and alignment ask.
struct ChildStyle {
  const wchar_t* className;
  DWORD style;
  DWORD exStyle;
};

ChildStyle StyleOf(const layout::ControlLayout& control) {
  using layout::Kind;
  const bool centred = control.align == layout::Align::Center;
  switch (control.kind) {
    case Kind::Label:
      return {L"STATIC", SS_NOPREFIX | (centred ? DWORD{SS_CENTER} : DWORD{SS_LEFT}), 0};
    case Kind::TextBox:
      return {L"EDIT", ES_AUTOHSCROLL | (centred ? DWORD{ES_CENTER} : DWORD{ES_LEFT}),
              WS_EX_CLIENTEDGE};
    case Kind::CommandButton:
      return {L"BUTTON", BS_PUSHBUTTON, 0};
    case Kind::PictureBox:
      // Drawn by the window: the bitmap at its natural size from the top-left corner, cut off
      // at the box's edges.
      return {L"STATIC", SS_OWNERDRAW, WS_EX_CLIENTEDGE};
    case Kind::Image:
      return {L"STATIC", SS_ICON | SS_REALSIZEIMAGE, 0};
    case Kind::Timer:
      break;
  }
  return {nullptr, 0, 0};
}

// The dialog manager moves the focus along the order of creation: controls are made in tab
// order, and those without a tab index follow in the layout's order.
std::vector<Control> CreationOrder() {
  std::vector<Control> order(layout::TabOrder().begin(), layout::TabOrder().end());
  for (const auto& control : layout::Controls()) {
    if (!control.tabIndex) {
      order.push_back(control.id);
    }
  }
  return order;
}

}  // namespace

std::wstring Wide(std::u16string_view text) {
  return {text.begin(), text.end()};
}

FormWindow::FormWindow(HINSTANCE instance) : instance_(instance) {
  QueryPerformanceFrequency(&clockFrequency_);
  QueryPerformanceCounter(&clockStart_);
  {
    const ScreenDc screen;
    if (screen.get() != nullptr) {
      dpiX_ = GetDeviceCaps(screen.get(), LOGPIXELSX);
      dpiY_ = GetDeviceCaps(screen.get(), LOGPIXELSY);
    }
  }
  RegisterClass();
  CreateForm();
  CreateControls();
}

FormWindow::~FormWindow() {
  if (IsWindow(window_) != FALSE) {
    DestroyWindow(window_);
  }
}

void FormWindow::RegisterClass() {
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
}

void FormWindow::CreateForm() {
  const auto& form = layout::Window();
  RECT frame{0, 0, layout::TwipsToPixels(form.clientWidth, dpiX_),
             layout::TwipsToPixels(form.clientHeight, dpiY_)};
  if (AdjustWindowRectEx(&frame, kFrameStyle, FALSE, 0) == FALSE) {
    Refused("AdjustWindowRectEx");
  }
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  window_ = CreateWindowExW(0, kFormClassName, Wide(form.caption).c_str(), kFrameStyle, left, top,
                            width, height, nullptr, nullptr, instance_, this);
  if (window_ == nullptr) {
    Refused("CreateWindowExW");
  }

  // The program's icon, in the title bar and the task list.
  bigIcon_.reset(
      static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_ADDRVUE), IMAGE_ICON,
                                    GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0)));
  smallIcon_.reset(static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_ADDRVUE),
                                                 IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                 GetSystemMetrics(SM_CYSMICON), 0)));
  SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
  SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
}

HFONT FormWindow::FontFor(Control control) {
  const auto& font = layout::Of(control).font.value_or(layout::Window().font);
  const int height = -static_cast<int>(std::lround(font.points * dpiY_ / 72.0));
  HFONT handle =
      CreateFontW(height, 0, 0, 0, font.weight, font.italic ? TRUE : FALSE, FALSE, FALSE,
                  static_cast<DWORD>(font.charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                  DEFAULT_QUALITY, DEFAULT_PITCH | FF_ROMAN, Wide(font.face).c_str());
  if (handle == nullptr) {
    Refused("CreateFontW");
  }
  fonts_.emplace_back(handle);
  return handle;
}

void FormWindow::CreateControls() {
  for (const Control control : CreationOrder()) {
    CreateControl(control);
  }
}

void FormWindow::CreateControl(Control id) {
  const auto& control = layout::Of(id);
  if (control.kind == layout::Kind::Timer) {
    // Timer1 ticks; nothing handles its ticks.
    if (SetTimer(window_, static_cast<UINT_PTR>(ControlId(id)),
                 static_cast<UINT>(control.timerIntervalMs), nullptr) == 0) {
      Refused("SetTimer");
    }
    return;
  }
  const ChildStyle kind = StyleOf(control);
  DWORD style = WS_CHILD | kind.style;
  style |= control.visible ? WS_VISIBLE : 0U;
  style |= control.enabled ? 0U : WS_DISABLED;
  style |= layout::TakesFocus(control.kind) ? WS_TABSTOP : 0U;
  HWND child = CreateWindowExW(
      kind.exStyle, kind.className, Wide(control.text).c_str(), style,
      layout::TwipsToPixels(control.left, dpiX_), layout::TwipsToPixels(control.top, dpiY_),
      layout::TwipsToPixels(control.width, dpiX_), layout::TwipsToPixels(control.height, dpiY_),
      window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(id))), instance_, nullptr);
  if (child == nullptr) {
    Refused("CreateWindowExW");
  }
  children_[id] = child;

  switch (control.kind) {
    case layout::Kind::Label:
    case layout::Kind::TextBox:
    case layout::Kind::CommandButton:
      SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(id)), FALSE);
      break;
    case layout::Kind::PictureBox:
      picture_.reset(static_cast<HBITMAP>(
          LoadImageW(instance_, MAKEINTRESOURCEW(IDB_PICTURE1), IMAGE_BITMAP, 0, 0, 0)));
      if (!picture_) {
        Refused("LoadImageW (bitmap)");
      }
      break;
    case layout::Kind::Image:
      // The icon at its natural size, 64 x 64.
      image1Icon_.reset(static_cast<HICON>(
          LoadImageW(instance_, MAKEINTRESOURCEW(IDI_ADDRVUE), IMAGE_ICON, 64, 64, 0)));
      if (!image1Icon_) {
        Refused("LoadImageW (icon)");
      }
      SendMessageW(child, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(image1Icon_.get()));
      break;
    case layout::Kind::Timer:
      break;
  }
  if (control.kind == layout::Kind::TextBox) {
    SendMessageW(child, EM_SETLIMITTEXT, 0, 0);  // no length limit
  }
  if (control.background) {
    const auto& rgb = *control.background;
    backgrounds_[id].reset(CreateSolidBrush(RGB(rgb.red, rgb.green, rgb.blue)));
  }
}

void FormWindow::Show(int showCommand) {
  ShowWindow(window_, showCommand);
  UpdateWindow(window_);
  SetFocus(Child(Control::Command1));
}

}  // namespace addrvue::win32
