#include "tests/support/recording_window.h"

#include <stdexcept>

#include "app/layout.h"
#include "platform/utf.h"

namespace addrvue::testing {
namespace {

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

std::string Name(Control control) {
  return ToUtf8(layout::Of(control).name);
}

}  // namespace

std::string TranscriptLine(std::u16string_view box, std::u16string_view caption,
                           const std::array<std::u16string_view, 8>& text1AndLabels) {
  static constexpr std::array<const char*, 8> kKeys{"Text1",  "Label2", "Label3", "Label4",
                                                    "Label5", "Label6", "Label7", "Label8"};
  std::string line = "{\"box\":" + JsonString(box) + ",\"caption\":" + JsonString(caption);
  for (std::size_t i = 0; i < kKeys.size(); ++i) {
    line += ",\"";
    line += kKeys.at(i);
    line += "\":" + JsonString(text1AndLabels.at(i));
  }
  return line + "}\n";
}

RecordingWindow::RecordingWindow() : caption_(layout::Window().caption) {
  for (const auto& control : layout::Controls()) {
    texts_[control.id] = std::u16string(control.text);
    visible_[control.id] = control.visible;
  }
  clock = [this] { return now_ += 1.0; };
}

void RecordingWindow::Check(Control control) const {
  if (refuse == control) {
    throw std::runtime_error("the toolkit refused to change " + Name(control));
  }
}

void RecordingWindow::SetVisible(Control control, bool visible) {
  Check(control);
  visible_[control] = visible;
  operations.push_back((visible ? "show " : "hide ") + Name(control));
}

double RecordingWindow::ClockSeconds() {
  return clock();
}

void RecordingWindow::ProcessEvents(std::chrono::milliseconds /*maxWait*/) {
  operations.emplace_back("events");
}

void RecordingWindow::ReplaceCaption(std::u16string_view text) {
  caption_ = text;
  operations.push_back("caption=" + ToUtf8(text));
}

void RecordingWindow::ReplaceText(Control control, std::u16string_view text) {
  Check(control);
  texts_[control] = text;
  operations.push_back(Name(control) + "=" + ToUtf8(text));
}

void RecordingWindow::ShowMessageBox(std::u16string_view text) {
  operations.push_back("box:" + ToUtf8(text));
  boxTexts_.push_back(ToUtf8(text));
  transcript_.push_back(
      TranscriptLine(text, caption_,
                     {Text(Control::Text1), Text(Control::Label2), Text(Control::Label3),
                      Text(Control::Label4), Text(Control::Label5), Text(Control::Label6),
                      Text(Control::Label7), Text(Control::Label8)}));
}

std::string RecordingWindow::Transcript() const {
  std::string all;
  for (const auto& line : transcript_) {
    all += line;
  }
  return all;
}

std::vector<std::string> RecordingWindow::BoxTexts() const {
  return boxTexts_;
}

const std::u16string& RecordingWindow::Text(Control control) const {
  return texts_[control];
}

bool RecordingWindow::Visible(Control control) const {
  return visible_[control];
}

}  // namespace addrvue::testing
