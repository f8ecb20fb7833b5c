#include "app/win32/painter.h"

#include "app/layout.h"
#include "app/win32/control_ids.h"
#include "app/win32/refused.h"
#include "app/win32/static_colours.h"
#include "resources/resource_ids.h"

namespace addrvue::win32 {
namespace {

HANDLE LoadPicture(HINSTANCE instance, int resource, UINT type, int size) {
  HANDLE picture = LoadImageW(instance, MAKEINTRESOURCEW(resource), type, size, size, 0);
  if (picture == nullptr) {
    Refused("LoadImageW");
  }
  return picture;
}

int SystemIndex(SystemColour colour) {
  switch (colour) {
    case SystemColour::Window:
      return COLOR_WINDOW;
    case SystemColour::WindowText:
      return COLOR_WINDOWTEXT;
    case SystemColour::GrayText:
      return COLOR_GRAYTEXT;
    case SystemColour::ButtonText:
      return COLOR_BTNTEXT;
  }
  return COLOR_WINDOWTEXT;
}

COLORREF ColourRef(layout::Rgb rgb) {
  return RGB(rgb.red, rgb.green, rgb.blue);
}

}  // namespace

// The icons at the system's sizes and Image1's at its natural size, 64 x 64.
Painter::Painter(HINSTANCE instance)
    : bigIcon_(static_cast<HICON>(
          LoadPicture(instance, IDI_ADDRVUE, IMAGE_ICON, GetSystemMetrics(SM_CXICON)))),
      smallIcon_(static_cast<HICON>(
          LoadPicture(instance, IDI_ADDRVUE, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON)))),
      image1Icon_(static_cast<HICON>(LoadPicture(instance, IDI_ADDRVUE, IMAGE_ICON, 64))),
      picture_(static_cast<HBITMAP>(LoadPicture(instance, IDB_PICTURE1, IMAGE_BITMAP, 0))) {
  for (const auto& control : layout::Controls()) {
    if (control.background) {
      backgrounds_[control.id].reset(CreateSolidBrush(ColourRef(*control.background)));
      if (!backgrounds_[control.id]) {
        Refused("CreateSolidBrush");
      }
    }
  }
}

void Painter::GiveIcons(HWND form) const {
  SendMessageW(form, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
  SendMessageW(form, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
}

std::optional<LRESULT> Painter::ColourStatic(HDC dc, HWND control) const {
  const auto id = ControlOfId(GetDlgCtrlID(control));
  if (!id) {
    return std::nullopt;
  }
  const auto colours = StaticColoursOf(*id, IsWindowEnabled(control) != FALSE);
  if (!colours) {
    return std::nullopt;
  }
  SetTextColor(dc, GetSysColor(SystemIndex(colours->text)));
  if (!colours->background) {
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
  }
  SetBkColor(dc, ColourRef(*colours->background));
  return reinterpret_cast<LRESULT>(backgrounds_[*id].get());
}

// Image1 and Picture1: the box's colour, and over it the icon or the bitmap from the top-left
// corner at its natural size; the device context is clipped to the box, which cuts the bitmap
// off at its edges.
void Painter::Draw(const DRAWITEMSTRUCT& item) const {
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  if (ControlOfId(static_cast<int>(item.CtlID)) == Control::Image1) {
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

}  // namespace addrvue::win32
