// report-transcript: the box transcript of the report on the live system (this network
// namespace, host name and files), with the date names in English.
#include <iostream>

#include "platform/system_ip_helper.h"
#include "report/module1.h"
#include "tests/support/english_date_names.h"
#include "tests/support/recording_window.h"

int main() {
  using namespace addrvue;
  const auto ipHelper = iphlp::SystemIpHelper();
  testing::RecordingWindow window;
  Module1::ShowNetworkInfo(window, *ipHelper, addrvue::testing::EnglishDateNames{});
  std::cout << window.Transcript();
  return 0;
}
