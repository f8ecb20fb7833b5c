// A window that only records: it starts from the layout's captions, notes every operation in
// order, closes each message box at once, and keeps the box transcript (one JSON object per box
// with its text and the window's visible texts when it appeared).
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/toolkit.h"

namespace addrvue::testing {

class RecordingWindow final : public Toolkit {
 public:
  RecordingWindow();

  void SetVisible(Control control, bool visible) override;
  double ClockSeconds() override;
  void ProcessEvents(std::chrono::milliseconds maxWait) override;
  void EndProgram() override { operations.emplace_back("end"); }

  // The transcript, one line per box, each ending in "\n".
  [[nodiscard]] std::string Transcript() const;
  [[nodiscard]] std::vector<std::string> BoxTexts() const;
  [[nodiscard]] const std::u16string& Text(Control control) const;
  [[nodiscard]] bool Visible(Control control) const;
  [[nodiscard]] const std::u16string& Caption() const { return caption_; }

  // Operations in order, as "Text1=...", "Label3=...", "caption=...", "box:...", "show Text2",
  // "hide Command1", "events", "end" (UTF-8).
  std::vector<std::string> operations;
  // The clock the pause reads; by default it moves on one second a reading.
  std::function<double()> clock;
  // When set, changing this control throws, as a toolkit that refuses a change does.
  std::optional<Control> refuse;

 protected:
  void ReplaceCaption(std::u16string_view text) override;
  void ReplaceText(Control control, std::u16string_view text) override;
  void ShowMessageBox(std::u16string_view text) override;

 private:
  void Check(Control control) const;

  std::u16string caption_;
  PerControl<std::u16string> texts_;
  PerControl<bool> visible_;
  std::vector<std::string> transcript_;
  std::vector<std::string> boxTexts_;
  double now_ = 1000.0;
};

// A transcript line for a box, in the order and form every test layer writes.
std::string TranscriptLine(std::u16string_view box, std::u16string_view caption,
                           const std::array<std::u16string_view, 8>& text1AndLabels);

}  // namespace addrvue::testing
