// Everything the button sequence asks of the window toolkit, beyond what the report does to the
// window. The Qt window, the Win32 window and the tests' recording window implement it.
#pragma once

#include <chrono>
#include <string_view>

#include "app/control.h"
#include "report/window_seam.h"

namespace addrvue {

class Toolkit : public ReportWindow {
 public:
  // Shows or hides one control; throws when the toolkit refuses.
  virtual void SetVisible(Control control, bool visible) = 0;
  // Seconds on a clock that never goes back, counted from a point near the program's start so
  // that single precision keeps fractions of a second.
  virtual double ClockSeconds() = 0;
  // Handles the window events that are pending, or waits for the next one for at most maxWait.
  virtual void ProcessEvents(std::chrono::milliseconds maxWait) = 0;
  // Destroys the window and ends the process; a recording toolkit only notes it.
  virtual void EndProgram() = 0;

 protected:
  // Replaces the text of a text box or the caption of a label; throws when the toolkit refuses.
  virtual void ReplaceText(Control control, std::u16string_view text) = 0;

 private:
  void ReplaceText1(std::u16string_view text) final { ReplaceText(Control::Text1, text); }
  void ReplaceLabelCaption(ReportLabel label, std::u16string_view text) final {
    ReplaceText(ControlOf(label), text);
  }
};

}  // namespace addrvue
