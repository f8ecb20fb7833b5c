// Form1's colours and pictures: the labels' own colours and the disabled text box's
// (WM_CTLCOLORSTATIC), Image1's icon and Picture1's bitmap (WM_DRAWITEM), and the window's icons.
#pragma once

#include <windows.h>

#include <optional>

#include "app/control.h"
#include "app/win32/gdi_handles.h"

namespace addrvue::win32 {

class Painter {
 public:
  // Loads the pictures and makes the labels' brushes; throws when Windows refuses.
  explicit Painter(HINSTANCE instance);

  // The program's icon in the form's title bar and the task list.
  void GiveIcons(HWND form) const;
  // WM_CTLCOLORSTATIC: sets the colours on `dc` and returns the background brush; none where
  // the system's defaults hold.
  [[nodiscard]] std::optional<LRESULT> ColourStatic(HDC dc, HWND control) const;
  // WM_DRAWITEM of Image1 and Picture1.
  void Draw(const DRAWITEMSTRUCT& item) const;

 private:
  PerControl<BrushHandle> backgrounds_;
  IconHandle bigIcon_;
  IconHandle smallIcon_;
  IconHandle image1Icon_;
  BitmapHandle picture_;
};

}  // namespace addrvue::win32
