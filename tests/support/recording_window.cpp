#include "tests/support/recording_window.h"

#include <stdexcept>

#include "app/layout.h"
#include "platform/utf.h"

namespace addrvue::testing {
namespace {

constexpr std::array kShown{Control::Text1,  Control::Label2, Control::Label3, Control::Label4,
                            Control::Label5, Control::Label6, Control::Label7, Control::Label8};

std::string Name(Control control) {
  return ToUtf8(layout::Of(control).name);
}

std::string JsonString(std::u16string_view text) {
  std::string out = "\"";
  for (const char c : ToUtf8(text)) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      constexpr std::string_view kHex = "0123456789abcdef";
      out += "\\u00";
      out += kHex[byte >> 4U];
      out += kHex[byte & 0x0FU];
    } else {
      out += c;
    }
  }
  return out + "\"";
}

}  // namespace

std::string TranscriptLine(std::u16string_view box, std::u16string_view caption,
                           const std::array<std::u16string_view, 8>& text1AndLabels) {
  std::string line = "{\"box\":" + JsonString(box) + ",\"caption\":" + JsonString(caption);
  for (std::size_t i = 0; i < kShown.size(); ++i) {
    line += ",\"" + Name(kShown.at(i)) + "\":" + JsonString(text1AndLabels.at(i));
  }
  return line + "}\n";
}

RecordingWindow::RecordingWindow() : caption_(layout::Window().caption) {
  for (const auto& control : layout::Controls()) {
    texts_[control.id] = control.text;
  }
}

void RecordingWindow::Check(Control control) const {
  if (refuse == control) {
    throw std::runtime_error("the toolkit refused to change " + Name(control));
  }
}

void RecordingWindow::ReplaceText(Control control, std::u16string_view text) {
  Check(control);
  texts_[control] = text;
}

void RecordingWindow::ShowMessageBox(std::u16string_view text) {
  std::array<std::u16string_view, kShown.size()> shown;
  for (std::size_t i = 0; i < kShown.size(); ++i) {
    shown.at(i) = texts_[kShown.at(i)];
  }
  transcript_ += TranscriptLine(text, caption_, shown);
}

}  // namespace addrvue::testing
