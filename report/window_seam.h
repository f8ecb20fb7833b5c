// What the report and the button handler do to the window, whatever toolkit draws it. Every
// operation throws when the toolkit refuses it; nothing in the program catches that.
#pragma once

#include <string_view>

namespace addrvue {

// The window's controls, in the order the layout lists them.
enum class Control {
  Text2,
  Timer1,
  Text1,
  Command1,
  Picture1,
  Label8,
  Label7,
  Image1,
  Label6,
  Label5,
  Label4,
  Label3,
  Label2,
  Label1,
};

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
  void SetText1(std::u16string_view text) { ReplaceText(Control::Text1, ShownText(text)); }
  void SetLabelCaption(Control label, std::u16string_view text) {
    ReplaceText(label, ShownText(text));
  }
  // A modal box with one OK button and the application's title; returns when it is closed.
  void MsgBox(std::u16string_view text) { ShowMessageBox(ShownText(text)); }

 protected:
  virtual void ReplaceCaption(std::u16string_view text) = 0;
  virtual void ReplaceText(Control control, std::u16string_view text) = 0;
  virtual void ShowMessageBox(std::u16string_view text) = 0;
};

}  // namespace addrvue
