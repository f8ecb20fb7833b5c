// What the report does to the window, whatever toolkit draws it: the window's caption, the text
// of Text1, the captions of Label2 to Label8 and message boxes. Every operation throws when the
// toolkit refuses it; nothing in the program catches that.
#pragma once

#include <string_view>

namespace addrvue {

// The labels whose captions the report replaces.
enum class ReportLabel { Label2, Label3, Label4, Label5, Label6, Label7, Label8 };

// A text as a display shows it: up to its first NUL character.
std::u16string_view ShownText(std::u16string_view text);

class ReportWindow {
 public:
  ReportWindow() = default;
  ReportWindow(const ReportWindow&) = delete;
  ReportWindow& operator=(const ReportWindow&) = delete;
  ReportWindow(ReportWindow&&) = delete;
  ReportWindow& operator=(ReportWindow&&) = delete;
  virtual ~ReportWindow() = default;

  // Texts may carry a fixed-width field with NULs after its value; the toolkits are given only
  // what a display shows.
  void SetCaption(std::u16string_view text) { ReplaceCaption(ShownText(text)); }
  void SetText1(std::u16string_view text) { ReplaceText1(ShownText(text)); }
  void SetLabelCaption(ReportLabel label, std::u16string_view text) {
    ReplaceLabelCaption(label, ShownText(text));
  }
  // A modal box with one OK button and the application's title; returns when it is closed.
  void MsgBox(std::u16string_view text) { ShowMessageBox(ShownText(text)); }
  // The box that says a query failed; the report ends after it.
  void FailureBox(std::u16string_view text) { ShowFailureBox(ShownText(text)); }

 protected:
  virtual void ReplaceCaption(std::u16string_view text) = 0;
  virtual void ReplaceText1(std::u16string_view text) = 0;
  virtual void ReplaceLabelCaption(ReportLabel label, std::u16string_view text) = 0;
  virtual void ShowMessageBox(std::u16string_view text) = 0;
  // A window that only shows the report shows a failure like any other box.
  virtual void ShowFailureBox(std::u16string_view text) { ShowMessageBox(text); }
};

}  // namespace addrvue
