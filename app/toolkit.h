// Everything the button sequence asks of the window toolkit, beyond what the report does to the
// window. The Qt window, the Win32 window and the tests' recording window implement it.
#pragma once

#include <chrono>

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
};

}  // namespace addrvue
