// The colours a static control of the form paints with, as the layout gives them. No Windows
// call: the painter turns them into the system's colours and brushes.
#pragma once

#include <optional>

#include "app/control.h"
#include "app/layout.h"

namespace addrvue::win32 {

enum class SystemColour { Window, WindowText, GrayText, ButtonText };

struct StaticColours {
  std::optional<layout::Rgb> background;  // none: the system's window colour
  SystemColour text;
};

// A text box (which asks only while disabled) keeps the window's background, its text grey when
// disabled; a label with a colour of its own fills with it. None: the system's default colours.
std::optional<StaticColours> StaticColoursOf(Control control, bool enabled);

}  // namespace addrvue::win32
