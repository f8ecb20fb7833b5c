#include "tests/support/recording_window.h"

#include <nlohmann/json.hpp>
#include <stdexcept>

#include "app/layout.h"
#include "platform/text/utf.h"

namespace addrvue::testing {
namespace {

std::string Name(Control control) {
  return ToUtf8(layout::Of(control).name);
}

}  // namespace

std::string TranscriptLine(std::u16string_view box, std::u16string_view caption,
                           const std::function<std::u16string(Control)>& textOf) {
  nlohmann::ordered_json line{{"box", ToUtf8(box)}, {"caption", ToUtf8(caption)}};
  for (const Control shown : {Control::Text1, Control::Label2, Control::Label3, Control::Label4,
                              Control::Label5, Control::Label6, Control::Label7, Control::Label8}) {
    line[Name(shown)] = ToUtf8(textOf(shown));
  }
  return line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
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
  transcript_ += TranscriptLine(text, caption_, [this](Control c) { return texts_[c]; });
}

}  // namespace addrvue::testing
