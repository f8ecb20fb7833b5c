// Conversions between the program's UTF-16 text and UTF-8 at the edges that need it.
#pragma once

#include <string>
#include <string_view>

namespace addrvue {

std::string ToUtf8(std::u16string_view text);
// Invalid sequences become U+FFFD.
std::u16string FromUtf8(std::string_view text);

}  // namespace addrvue
