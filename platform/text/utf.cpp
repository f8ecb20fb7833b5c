#include "platform/text/utf.h"

#include <array>
#include <cstdint>

namespace addrvue {

std::string ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10U) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6U));
      out += static_cast<char>(0x80 | (c & 0x3FU));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12U));
      out += static_cast<char>(0x80 | ((c >> 6U) & 0x3FU));
      out += static_cast<char>(0x80 | (c & 0x3FU));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18U));
      out += static_cast<char>(0x80 | ((c >> 12U) & 0x3FU));
      out += static_cast<char>(0x80 | ((c >> 6U) & 0x3FU));
      out += static_cast<char>(0x80 | (c & 0x3FU));
    }
  }
  return out;
}

std::u16string FromUtf8(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<std::uint8_t>(text[i]);
    std::size_t length = 0;
    char32_t c = 0;
    if (lead < 0x80) {
      length = 1;
      c = lead;
    } else if ((lead & 0xE0U) == 0xC0) {
      length = 2;
      c = lead & 0x1FU;
    } else if ((lead & 0xF0U) == 0xE0) {
      length = 3;
      c = lead & 0x0FU;
    } else if ((lead & 0xF8U) == 0xF0) {
      length = 4;
      c = lead & 0x07U;
    }
    bool valid = length != 0 && i + length <= text.size();
    for (std::size_t k = 1; valid && k < length; ++k) {
      const auto byte = static_cast<std::uint8_t>(text[i + k]);
      valid = (byte & 0xC0U) == 0x80;
      c = (c << 6U) | (byte & 0x3FU);
    }
    constexpr std::array<char32_t, 5> kSmallest{0, 0, 0x80, 0x800, 0x10000};
    if (!valid || c < kSmallest.at(length) || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) {
      out += u'\uFFFD';
      ++i;
      continue;
    }
    if (c >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10U));
      out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FFU));
    } else {
      out += static_cast<char16_t>(c);
    }
    i += length;
  }
  return out;
}

}  // namespace addrvue
