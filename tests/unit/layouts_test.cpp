// What only one record layout or one text encoding can show: a whole 64-bit reference, a lease
// after 2038, and UTF-8 text through the Linux source's writer and the report's reader.
#include <gtest/gtest.h>

#include <string>

#include "platform/ip_helper_encoder.h"
#include "platform/linux/date_names_linux.h"
#include "platform/linux/linux_ip_helper.h"
#include "report/module1.h"
#include "tests/support/recording_window.h"
#include "tests/unit/layout_runs.h"

namespace addrvue::testing {
namespace {

namespace L = iphlp::layout;

std::string Report(iphlp::IpHelper& ipHelper) {
  RecordingWindow window;
  Module1::ShowNetworkInfo(window, ipHelper, *DateNamesFor("C"));
  return window.Transcript();
}

// The third host item shows the second DNS server's reference whole: above 4 GiB in the x64 run.
TEST(Layouts, TheReferenceItemShowsTheWholeReference) {
  for (const LayoutRun& run : kRuns) {
    const Fixture& fixture = Fixtures(*run.layout).at("three_dns_two_adapters");
    ScriptedIpHelper ipHelper(fixture.params, fixture.adapters, Writing(run, fixture));
    const std::string reference = std::to_string(run.referenceBase + run.layout->fixed.Size);
    EXPECT_NE(Report(ipHelper).find(R"("box":"_","caption":"workstation","Text1":")" + reference),
              std::string::npos)
        << run.name << "-bit layout, reference " << reference;
  }
}

// A lease time is read at the layout's time_t width: the x64 one holds 2100, the 32-bit one
// stops at 2038.
TEST(Layouts, LeaseTimesHoldWhatTheirTimeTHolds) {
  for (const auto& [layout, expires] : {std::pair{&L::k64Bit, "Friday, Jan 1 00:00:00 2100"},
                                        std::pair{&L::k32Bit, "Tuesday, Jan 19 03:14:07 2038"}}) {
    iphlp::AdapterInfo adapter;
    adapter.LeaseExpires = 4102444800;  // 2100-01-01 00:00:00
    ScriptedQuery adapters;
    adapters.image = iphlp::EncodeAdapters({adapter}, *layout);
    ScriptedIpHelper ipHelper(Fixtures(*layout).at("one_dns_one_adapter").params, adapters);
    EXPECT_NE(Report(ipHelper).find(std::string(R"("box":"Lease Expires :  )") + expires + '"'),
              std::string::npos)
        << expires;
  }
}

// A description of more than Latin-1, too long for its field, is cut before the character that
// does not fit whole, and shown as it was written.
TEST(Layouts, TheLinuxSourceWritesAndReadsUtf8Text) {
  const std::string kWide = "網";  // three bytes: 15 + 39 x 3 bytes do not fit the field's 131
  std::string description = "Адаптер ";
  std::string shown = description;
  for (int i = 0; i < 39; ++i) {
    description += kWide;
    shown += i < 38 ? kWide : "";
  }
  const auto ipHelper = linux_source::SnapshotIpHelper([&] {
    linux_source::SystemSnapshot snapshot;
    snapshot.params.HostName = "host";
    snapshot.adapters.resize(1);
    snapshot.adapters[0].Description = description;
    return snapshot;
  });
  EXPECT_NE(Report(*ipHelper).find(R"("Text1":" адаптер: )" + shown + '"'), std::string::npos);
}

}  // namespace
}  // namespace addrvue::testing
