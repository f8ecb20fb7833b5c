// The window's fourteen controls, and a value for each of them.
#pragma once

#include <array>
#include <cstddef>

#include "report/window_seam.h"

namespace addrvue {

// In the order the layout lists them.
enum class Control {
  Text2,
  Timer1,
  Text1,
  Command1,
  Picture1,
  Label8,
  Label7,
  Image1,
  Label6,
  Label5,
  Label4,
  Label3,
  Label2,
  Label1,
};

inline constexpr std::size_t kControlCount = static_cast<std::size_t>(Control::Label1) + 1;

constexpr std::size_t IndexOf(Control control) {
  return static_cast<std::size_t>(control);
}

// The control that shows a label the report writes to.
constexpr Control ControlOf(ReportLabel label) {
  constexpr std::array kLabels{Control::Label2, Control::Label3, Control::Label4, Control::Label5,
                               Control::Label6, Control::Label7, Control::Label8};
  return kLabels.at(static_cast<std::size_t>(label));
}

// One value for each control.
template <class T>
class PerControl {
 public:
  T& operator[](Control control) { return values_.at(IndexOf(control)); }
  const T& operator[](Control control) const { return values_.at(IndexOf(control)); }
  void Fill(const T& value) { values_.fill(value); }

 private:
  std::array<T, kControlCount> values_{};
};

}  // namespace addrvue
