// Acknowledges the program's message boxes as a user would: a timer started before the click
// finds each modal box, lets the test look at it and the window, then presses its OK button.
#pragma once

#include <QMessageBox>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

namespace addrvue::testing {

class BoxWatcher {
 public:
  using Look = std::function<void(QMessageBox& box)>;
  explicit BoxWatcher(Look look = {});

  // The texts of the boxes closed so far, in order (UTF-8).
  std::vector<std::string> texts;

 private:
  void Tick();

  Look look_;
  QTimer timer_;
};

}  // namespace addrvue::testing
