#include "app/win32/static_colours.h"

namespace addrvue::win32 {

std::optional<StaticColours> StaticColoursOf(Control control, bool enabled) {
  const auto& entry = layout::Of(control);
  if (entry.kind == layout::Kind::TextBox) {
    return StaticColours{std::nullopt, enabled ? SystemColour::WindowText : SystemColour::GrayText};
  }
  if (entry.background) {
    return StaticColours{entry.background, SystemColour::ButtonText};
  }
  return std::nullopt;
}

}  // namespace addrvue::win32
