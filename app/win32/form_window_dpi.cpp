// Places, sizes and fonts at the window's DPI: at the start, and again whenever the window moves
// to a monitor with another DPI (per-monitor awareness v2, declared in the manifest). The
// layout's twips are converted at that DPI; the pictures keep their natural pixel size.
#include <windows.h>

#include <cmath>

#include "app/layout.h"
#include "app/win32/dpi.h"
#include "app/win32/form_window.h"
#include "app/win32/refused.h"

namespace addrvue::win32 {
namespace {

SIZE LayoutClientArea(int dpi) {
  const auto& form = layout::Window();
  return {layout::TwipsToPixels(form.clientWidth, dpi),
          layout::TwipsToPixels(form.clientHeight, dpi)};
}

FontHandle MakeFont(const layout::Font& font, int dpi) {
  const int height = -static_cast<int>(std::lround(font.points * dpi / 72.0));
  const std::wstring face = Wide(font.face);
  FontHandle handle(CreateFontW(height, 0, 0, 0, font.weight, font.italic ? TRUE : FALSE, FALSE,
                                FALSE, static_cast<DWORD>(font.charset), OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_ROMAN,
                                face.c_str()));
  if (!handle) {
    Refused("CreateFontW");
  }
  return handle;
}

bool ShowsText(layout::Kind kind) {
  return kind == layout::Kind::Label || kind == layout::Kind::TextBox ||
         kind == layout::Kind::CommandButton;
}

}  // namespace

void FormWindow::ApplyDpi(int dpi) {
  dpi_ = dpi;
  const auto px = [dpi](int twips) { return layout::TwipsToPixels(twips, dpi); };
  for (const auto& control : layout::Controls()) {
    HWND child = children_[control.id];
    if (child == nullptr) {
      continue;  // Timer1
    }
    MoveWindow(child, px(control.left), px(control.top), px(control.width), px(control.height),
               TRUE);
    if (ShowsText(control.kind)) {
      FontHandle font = MakeFont(control.font.value_or(layout::Window().font), dpi);
      SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
      fonts_[control.id] = std::move(font);  // the control has let go of the old one
    }
  }
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

// WM_GETDPISCALEDSIZE: the client area goes through twips as the layout does, so a window of
// the layout's size gets the layout's size at the new DPI, rounded the same way.
SIZE FormWindow::FrameAtDpi(int dpi) const {
  RECT client{};
  GetClientRect(window_, &client);
  const auto scaled = [this, dpi](LONG pixels) {
    return layout::TwipsToPixels(MulDiv(pixels, layout::kTwipsPerInch, dpi_), dpi);
  };
  return FrameSize({scaled(client.right), scaled(client.bottom)}, kFormStyle, 0, dpi);
}

}  // namespace addrvue::win32
