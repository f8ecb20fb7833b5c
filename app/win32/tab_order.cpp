#include "app/win32/tab_order.h"

#include <algorithm>
#include <cstddef>

#include "app/layout.h"

namespace addrvue::win32 {

std::optional<Control> NextInTabOrder(Control from,
                                      const std::function<bool(Control)>& shownAndEnabled) {
  const auto order = layout::TabOrder();
  const auto at = static_cast<std::size_t>(std::ranges::find(order, from) - order.begin());
  for (std::size_t step = 1; step < order.size(); ++step) {
    const Control next = order[(at + step) % order.size()];
    if (layout::TakesFocus(layout::Of(next).kind) && shownAndEnabled(next)) {
      return next;
    }
  }
  return std::nullopt;
}

}  // namespace addrvue::win32
