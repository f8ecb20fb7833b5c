#include "app/form1.h"

#include "report/module1.h"

namespace addrvue {

void Form1::Command1_Click() {
  toolkit_.SetVisible(Control::Command1, false);
  Module1::ShowNetworkInfo(toolkit_, ipHelper_, dateNames_);
  toolkit_.SetVisible(Control::Picture1, true);
  toolkit_.SetVisible(Control::Text1, false);
  toolkit_.SetVisible(Control::Text2, true);
  Pause();
  toolkit_.MsgBox(u"_Всё _!");
  toolkit_.EndProgram();
}

// The window stays responsive for the whole pause: events are handled as they come, and between
// them the wait is at most one timer tick, so the pause ends within a tick of its length without
// keeping the processor busy. The end is tested in single precision, before each wait.
void Form1::Pause() {
  const int pauseLength = kPauseSeconds;
  const auto start = static_cast<float>(toolkit_.ClockSeconds());
  const float end = start + static_cast<float>(pauseLength);
  while (static_cast<float>(toolkit_.ClockSeconds()) < end) {
    toolkit_.ProcessEvents(kPauseTick);
  }
}

}  // namespace addrvue
