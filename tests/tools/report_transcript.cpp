// report-transcript: the box transcript of the report on the live system (this network
// namespace, host name and files), with the C locale's date names.
#include <iostream>

#include "platform/linux/date_names_linux.h"
#include "platform/system_ip_helper.h"
#include "report/module1.h"
#include "tests/support/recording_window.h"

int main() {
  using namespace addrvue;
  const auto ipHelper = iphlp::SystemIpHelper();
  testing::RecordingWindow window;
  Module1::ShowNetworkInfo(window, *ipHelper, *DateNamesFor("C"));
  std::cout << window.Transcript();
  return 0;
}
