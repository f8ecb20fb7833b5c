// The report's one rhythm: a line in Text1, then a box that holds the report until it is closed.
#pragma once

#include <string>
#include <string_view>

#include "report/window_seam.h"

namespace addrvue {

inline void Step(ReportWindow& form, std::u16string_view line, std::u16string_view box = u"_") {
  form.SetText1(line);
  form.MsgBox(box);
}

// A caption and its value, with nothing between them.
inline std::u16string Join(std::u16string_view caption, std::u16string_view value) {
  std::u16string text(caption);
  text += value;
  return text;
}

}  // namespace addrvue
