// A window that only records: it starts from the layout's captions, closes each message box at
// once, and keeps the box transcript (one JSON object a line for each box, with its text and the
// window's caption, Text1 and labels when it appeared).
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "app/toolkit.h"

namespace addrvue::testing {

class RecordingWindow final : public Toolkit {
 public:
  RecordingWindow();

  void SetVisible(Control control, bool /*visible*/) override { Check(control); }
  // Moves on one second a reading.
  double ClockSeconds() override { return now_ += 1.0; }
  void ProcessEvents(std::chrono::milliseconds /*maxWait*/) override {}
  void EndProgram() override {}

  // The transcript, one line per box, each ending in "\n".
  [[nodiscard]] const std::string& Transcript() const { return transcript_; }

  // When set, changing this control throws, as a toolkit that refuses a change does.
  std::optional<Control> refuse;

 protected:
  void ReplaceCaption(std::u16string_view text) override { caption_ = text; }
  void ReplaceText(Control control, std::u16string_view text) override;
  void ShowMessageBox(std::u16string_view text) override;

 private:
  void Check(Control control) const;

  std::u16string caption_;
  PerControl<std::u16string> texts_;
  std::string transcript_;
  double now_ = 1000.0;
};

// A transcript line for a box, in the order and form every test layer writes: the box's text, the
// window's caption, and the text of Text1 and each label as `textOf` gives it.
std::string TranscriptLine(std::u16string_view box, std::u16string_view caption,
                           const std::function<std::u16string(Control)>& textOf);

}  // namespace addrvue::testing
