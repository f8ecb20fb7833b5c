#include "app/win32/form_controls.h"

#include <cmath>
#include <vector>

#include "app/layout.h"
#include "app/win32/control_ids.h"
#include "app/win32/refused.h"
#include "app/win32/wide_text.h"

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
    // Both drawn by the painter, their pictures at their natural pixel size whatever the DPI,
    // from the top-left corner and cut off at the box's edges.
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

FormControls::FormControls(HWND form, HINSTANCE instance) {
  for (const Control control : CreationOrder()) {
    Create(control, form, instance);
  }
}

void FormControls::Create(Control id, HWND form, HINSTANCE instance) {
  const auto& control = layout::Of(id);
  if (control.kind == layout::Kind::Timer) {
    // Timer1 ticks; nothing handles its ticks.
    if (SetTimer(form, static_cast<UINT_PTR>(ControlId(id)),
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
      CreateWindowExW(kind.exStyle, kind.className, text.c_str(), style, 0, 0, 0, 0, form,
                      // NOLINTNEXTLINE(performance-no-int-to-ptr): a child's menu is its id
                      reinterpret_cast<HMENU>(INT_PTR{ControlId(id)}), instance, nullptr);
  if (children_[id] == nullptr) {
    Refused("CreateWindowExW");
  }
  if (control.kind == layout::Kind::TextBox) {
    SendMessageW(children_[id], EM_SETLIMITTEXT, 0, 0);  // no length limit
  }
}

void FormControls::ApplyDpi(int dpi) {
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

}  // namespace addrvue::win32
