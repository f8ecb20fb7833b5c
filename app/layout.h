// The window and its fourteen controls as fixed data. Positions and sizes are in twips (15 twips
// are one pixel at 96 dots per inch), left and top from the client area's top-left corner. Each
// toolkit builds its real window from this table.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "app/control.h"

namespace addrvue::layout {

inline constexpr int kTwipsPerInch = 1440;

// Timer1's interval, which also bounds each wait for events in the closing pause.
inline constexpr int kTimer1IntervalMs = 20;

// Twips (never negative in the layout) to pixels at a screen's dots per inch, rounded to the
// nearest pixel: 15 twips are one pixel at 96.
constexpr int TwipsToPixels(int twips, int dpi = 96) {
  return (twips * dpi + kTwipsPerInch / 2) / kTwipsPerInch;
}

struct Rgb {
  std::uint8_t red;
  std::uint8_t green;
  std::uint8_t blue;
  friend constexpr bool operator==(Rgb, Rgb) = default;
};

struct Font {
  std::u16string_view face;
  double points;
  int weight;  // 400 regular, 700 bold
  bool italic;
  int charset;  // 204: Cyrillic
};

enum class Kind { Label, TextBox, CommandButton, PictureBox, Image, Timer };
enum class Align { Left, Center };

struct ControlLayout {
  Control id;
  std::u16string_view name;
  Kind kind;
  int left;
  int top;
  int width;
  int height;
  std::u16string_view text;       // caption or text at start
  std::optional<Font> font;       // none: the window's font
  std::optional<Rgb> background;  // none: the kind's default colour
  Align align;
  bool visible;
  bool enabled;
  std::optional<int> tabIndex;  // none for the image and the timer
  int timerIntervalMs;          // timers only
  // Two design settings the layout carries without giving them a use; nothing reads them.
  std::optional<bool> designFlag = std::nullopt;
  std::optional<int> designInteger = std::nullopt;
};

// Labels and images never take the focus, whatever their tab index.
constexpr bool TakesFocus(Kind kind) {
  return kind == Kind::TextBox || kind == Kind::CommandButton || kind == Kind::PictureBox;
}

struct WindowLayout {
  std::u16string_view caption;
  int clientWidth;
  int clientHeight;
  Font font;
};

inline constexpr std::u16string_view kApplicationTitle = u"VELKOR_NX";
inline constexpr std::u16string_view kExecutableName = u"QUIRNEL_ADDRVUE";

const WindowLayout& Window();
// All fourteen controls, in the layout's order (the order of the Control enumeration).
std::span<const ControlLayout> Controls();
const ControlLayout& Of(Control control);
// The controls that have a tab index, in the order of their tab indices.
std::span<const Control> TabOrder();

}  // namespace addrvue::layout
