// The Win32 window's rules that need no window, on Linux: how a child window's identifier names
// its control, where the focus goes when a control hides, and the colours of the static controls.
#include <gtest/gtest.h>

#include <set>

#include "app/layout.h"
#include "app/win32/control_ids.h"
#include "app/win32/static_colours.h"
#include "app/win32/tab_order.h"
#include "platform/utf.h"

namespace addrvue::win32 {
namespace {

TEST(Win32Rules, EveryControlIsFoundByItsIdentifierAndNoOtherNumberNamesOne) {
  for (const auto& control : layout::Controls()) {
    EXPECT_EQ(ControlOfId(ControlId(control.id)), control.id) << ToUtf8(control.name);
  }
  for (const int other : {0, -1, kFirstControlId - 1, kFirstControlId + int{kControlCount}}) {
    EXPECT_EQ(ControlOfId(other), std::nullopt) << other;
  }
}

// The focus skips the labels whatever their tab index, and controls hidden or disabled.
TEST(Win32Rules, TheFocusPassesOnAlongTheTabOrderToAShownEnabledControl) {
  struct Row {
    Control from;
    std::set<Control> shownAndEnabled;
    std::optional<Control> next;
  };
  using C = Control;
  const std::set<C> all{C::Command1, C::Text1, C::Picture1, C::Text2, C::Label1, C::Label4};
  for (const Row& row : {
           Row{C::Command1, all, C::Text1},
           Row{C::Command1, {C::Text1, C::Label1}, C::Text1},     // the press hides Command1
           Row{C::Text1, {C::Picture1, C::Label4}, C::Picture1},  // the pause hides Text1
           Row{C::Text2, all, C::Command1},                       // round the end
           Row{C::Picture1, {C::Label1, C::Label4}, std::nullopt},
       }) {
    const auto shown = [&row](Control c) { return row.shownAndEnabled.contains(c); };
    EXPECT_EQ(NextInTabOrder(row.from, shown), row.next)
        << ToUtf8(layout::Of(row.from).name) << " with " << row.shownAndEnabled.size() << " shown";
  }
}

// Text boxes (which ask only while disabled) keep the window's colour and grey their text when
// disabled; labels fill with the layout's colour; the button and the pictures keep the system's.
TEST(Win32Rules, StaticControlsPaintWithTheLayoutsColours) {
  for (const auto& control : layout::Controls()) {
    const std::string name = ToUtf8(control.name);
    for (const bool enabled : {true, false}) {
      const auto colours = StaticColoursOf(control.id, enabled);
      if (control.kind == layout::Kind::TextBox) {
        ASSERT_TRUE(colours) << name;
        EXPECT_EQ(colours->background, std::nullopt) << name;
        EXPECT_EQ(colours->text, enabled ? SystemColour::WindowText : SystemColour::GrayText);
      } else if (control.kind == layout::Kind::Label) {
        ASSERT_TRUE(colours && control.background) << name;
        EXPECT_EQ(colours->background, control.background) << name;
        EXPECT_EQ(colours->text, SystemColour::ButtonText) << name;
      } else {
        EXPECT_EQ(colours, std::nullopt) << name;
      }
    }
  }
}

}  // namespace
}  // namespace addrvue::win32
