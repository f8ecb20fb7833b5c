// The way the focus moves along the form's tab order, as Tab moves it in a dialog. No Windows
// call: the caller says which controls are shown and enabled.
#pragma once

#include <functional>
#include <optional>

#include "app/control.h"

namespace addrvue::win32 {

// The first control after `from` in tab order, round the end, of a kind that takes the focus and
// that is shown and enabled; none when no other control is.
std::optional<Control> NextInTabOrder(Control from,
                                      const std::function<bool(Control)>& shownAndEnabled);

}  // namespace addrvue::win32
