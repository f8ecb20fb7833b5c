// The main window's handlers, written once against the toolkit seam.
#pragma once

#include <chrono>

#include "app/layout.h"
#include "app/toolkit.h"
#include "platform/date_names.h"
#include "platform/ip_helper.h"

namespace addrvue {

class Form1 {
 public:
  // How long the closing pause lasts, and how long each wait for events inside it may take (one
  // tick of Timer1).
  static constexpr int kPauseSeconds = 20;
  static constexpr std::chrono::milliseconds kPauseTick{layout::kTimer1IntervalMs};

  Form1(Toolkit& toolkit, iphlp::IpHelper& ipHelper, const DateNames& dateNames)
      : toolkit_(toolkit), ipHelper_(ipHelper), dateNames_(dateNames) {}

  // Runs once when the window has been created. It does nothing.
  void Form1_Load() {}

  // The one press: the report, the pause with its notice, the closing message and the end.
  void Command1_Click();

 private:
  void Pause();

  Toolkit& toolkit_;
  iphlp::IpHelper& ipHelper_;
  const DateNames& dateNames_;
};

}  // namespace addrvue
