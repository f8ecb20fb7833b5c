// The program's texts as Windows wants them: wchar_t is 16 bits here, like char16_t.
#pragma once

#include <string>
#include <string_view>

#include "app/layout.h"

namespace addrvue::win32 {

inline std::wstring Wide(std::u16string_view text) {
  return {text.begin(), text.end()};
}

// The title of every message box.
inline const std::wstring& ApplicationTitle() {
  static const std::wstring title = Wide(layout::kApplicationTitle);
  return title;
}

}  // namespace addrvue::win32
