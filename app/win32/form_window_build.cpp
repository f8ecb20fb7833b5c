// Building Form1 from the layout data: the window class, the frame, one child window per control
// with its colours and text, and the pictures. Places, sizes and fonts depend on the DPI and are
// set in form_window_dpi.cpp.
#include <windows.h>

#include <vector>

#include "app/layout.h"
#include "app/win32/control_ids.h"
#include "app/win32/dpi.h"
#include "app/win32/form_window.h"
#include "app/win32/refused.h"
#include "resources/resource_ids.h"

namespace addrvue::win32 {
namespace {

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
    // Both drawn by the window (Draw), their pictures at their natural pixel size whatever the
    // DPI, from the top-left corner and cut off at the box's edges.
    case Kind::PictureBox:
      return {L"STATIC", SS_OWNERDRAW, WS_EX_CLIENTEDGE};
    case Kind::Image:
      return {L"STATIC", SS_OWNERDRAW, 0};
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
  RegisterWindowClass();
  CreateForm();
  LoadPictures();
  for (const Control control : CreationOrder()) {
    CreateControl(control);
  }
  ApplyDpi(DpiOf(window_));
  CentreOnScreen();
}

FormWindow::~FormWindow() {
  if (IsWindow(window_) != FALSE) {
    DestroyWindow(window_);
  }
}

void FormWindow::RegisterWindowClass() {
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

// The frame, hidden and still without a size: its size follows from the DPI of the monitor it
// is on (ApplyDpi).
void FormWindow::CreateForm() {
  const std::wstring caption = Wide(layout::Window().caption);
  window_ = CreateWindowExW(0, kFormClassName, caption.c_str(), kFormStyle, 0, 0, 0, 0, nullptr,
                            nullptr, instance_, this);
  if (window_ == nullptr) {
    Refused("CreateWindowExW");
  }
}

HANDLE FormWindow::LoadPicture(int resource, UINT type, int size) const {
  HANDLE picture = LoadImageW(instance_, MAKEINTRESOURCEW(resource), type, size, size, 0);
  if (picture == nullptr) {
    Refused("LoadImageW");
  }
  return picture;
}

// The program's icon in the title bar and the task list, and the pictures of Image1 (the icon
// at its natural size, 64 x 64) and Picture1.
void FormWindow::LoadPictures() {
  bigIcon_.reset(
      static_cast<HICON>(LoadPicture(IDI_ADDRVUE, IMAGE_ICON, GetSystemMetrics(SM_CXICON))));
  smallIcon_.reset(
      static_cast<HICON>(LoadPicture(IDI_ADDRVUE, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON))));
  image1Icon_.reset(static_cast<HICON>(LoadPicture(IDI_ADDRVUE, IMAGE_ICON, 64)));
  picture_.reset(static_cast<HBITMAP>(LoadPicture(IDB_PICTURE1, IMAGE_BITMAP, 0)));
  SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
  SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
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
  const std::wstring text = Wide(control.text);
  children_[id] =
      CreateWindowExW(kind.exStyle, kind.className, text.c_str(), style, 0, 0, 0, 0, window_,
                      // NOLINTNEXTLINE(performance-no-int-to-ptr): a child's menu is its id
                      reinterpret_cast<HMENU>(INT_PTR{ControlId(id)}), instance_, nullptr);
  if (children_[id] == nullptr) {
    Refused("CreateWindowExW");
  }
  if (control.kind == layout::Kind::TextBox) {
    SendMessageW(children_[id], EM_SETLIMITTEXT, 0, 0);  // no length limit
  }
  if (control.background) {
    const auto& rgb = *control.background;
    backgrounds_[id].reset(CreateSolidBrush(RGB(rgb.red, rgb.green, rgb.blue)));
    if (!backgrounds_[id]) {
      Refused("CreateSolidBrush");
    }
  }
}

void FormWindow::Show(int showCommand) {
  ShowWindow(window_, showCommand);
  UpdateWindow(window_);
  SetFocus(Child(Control::Command1));
}

}  // namespace addrvue::win32
