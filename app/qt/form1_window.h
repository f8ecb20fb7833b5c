// The main window Form1 in Qt Widgets, built from the layout's data, and the toolkit services the
// handlers use: captions and texts, visibility, message boxes, the clock, event processing and the
// end of the program.
#pragma once

#include <QTimer>
#include <QWidget>
#include <functional>

#include "app/qt/event_dispatch.h"
#include "app/toolkit.h"

namespace addrvue::qt {

struct Form1Services {
  // Seconds on a monotonic clock.
  std::function<double()> clock;
  EndProgramFunction end;
};

// A steady clock counted from this call, and the end of the Qt event loop.
Form1Services SystemServices();

class Form1Window final : public QWidget, public Toolkit {
 public:
  explicit Form1Window(Form1Services services = SystemServices());

  // Runs `handler` when Command1 is clicked. An error that leaves it ends the program.
  void OnCommand1Click(std::function<void()> handler);
  // The first show: centred on the screen, with the focus on Command1.
  void ShowCentred();

  // The control's widget; none for Timer1.
  [[nodiscard]] QWidget* Widget(Control control) const;

  void SetVisible(Control control, bool visible) override;
  double ClockSeconds() override;
  void ProcessEvents(std::chrono::milliseconds maxWait) override;
  void EndProgram() override;

 protected:
  void ReplaceCaption(std::u16string_view text) override;
  void ReplaceText(Control control, std::u16string_view text) override;
  void ShowMessageBox(std::u16string_view text) override;

 private:
  [[nodiscard]] QWidget& Existing(Control control) const;

  Form1Services services_;
  // Owned by this window as their Qt parent.
  PerControl<QWidget*> widgets_;
  // Ticks for the whole run; nothing handles its ticks.
  QTimer timer1_{this};
  // Bounds each wait for events during the pause.
  QTimer wake_{this};
};

}  // namespace addrvue::qt
