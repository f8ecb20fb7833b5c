// The report on scripted machines: every box, its text and what the window showed when it
// appeared, against transcripts checked by hand; the query protocol; walks that must end.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/linux/date_names_linux.h"
#include "report/module1.h"
#include "tests/fixtures/fixtures.h"
#include "tests/support/recording_window.h"

namespace addrvue::testing {
namespace {

struct Run {
  RecordingWindow window;
  std::vector<std::uint32_t> paramsCalls;
  std::vector<std::uint32_t> adaptersCalls;
};

std::unique_ptr<Run> RunReport(const std::string& fixtureName) {
  const Fixture* fixture = FindFixture(fixtureName);
  if (fixture == nullptr) {
    throw std::invalid_argument("no fixture " + fixtureName);
  }
  auto run = std::make_unique<Run>();
  ScriptedIpHelper ipHelper(fixture->params, fixture->adapters);
  Module1::ShowNetworkInfo(run->window, ipHelper, *DateNamesFor("C"));
  run->paramsCalls = ipHelper.paramsCalls;
  run->adaptersCalls = ipHelper.adaptersCalls;
  return run;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

// Every fixture's whole transcript, line for line, against its checked copy.
class Transcripts : public ::testing::TestWithParam<std::string> {};

TEST_P(Transcripts, MatchTheCheckedCopy) {
  const std::string expected =
      ReadFile(std::string(ADDRVUE_EXPECTED_DIR) + "/" + GetParam() + ".jsonl");
  ASSERT_FALSE(expected.empty()) << "missing tests/fixtures/expected/" << GetParam() << ".jsonl";
  EXPECT_EQ(RunReport(GetParam())->window.Transcript(), expected);
}

std::vector<std::string> FixtureNames() {
  std::vector<std::string> names;
  for (const auto& f : AllFixtures()) {
    names.push_back(f.name);
  }
  return names;
}

INSTANTIATE_TEST_SUITE_P(AllFixtures, Transcripts, ::testing::ValuesIn(FixtureNames()),
                         [](const auto& info) { return info.param; });

TEST(Report, ShowsEveryItemInOrderForThreeDnsServersAndTwoAdapters) {
  const std::vector<std::string> expected{
      "_", "_", "_", "DNS Servers:  8.8.8.8", "DNS Servers:  1.1.1.1", "Node type: Broadcast", " ",
      "IP Routing Enabled ", "", " ",
      // first adapter: Ethernet, two addresses, two gateways
      " ", "", " ", "", "IP Address: 192.168.1.20", " ", "IP Address: 192.168.1.20",
      "Subnet Mask: 255.255.255.0", "IP Address: 10.1.2.3", "Subnet Mask: 255.255.0.0", "",
      "IP Address: 192.168.1.1", "IP Address: 192.168.1.254", "DHCP Server: 192.168.1.1",
      "Primary WINS Server: 192.168.1.5", "Secondary WINS Server: 192.168.1.6",
      "Lease Obtained: Tuesday, Nov 14 22:13:20 2023",
      "Lease Expires :  Wednesday, Nov 15 22:13:20 2023",
      // second adapter: token ring, one address, one gateway, DHCP off, no hardware address
      "Adapter name: Token Ring adapter ", "", " ", "", "IP Address: 10.0.0.7", " ", "",
      "DHCP Server: ", "Primary WINS Server: ", "Secondary WINS Server: ",
      "Lease Obtained: Thursday, Jan 1 00:00:00 1970",
      "Lease Expires :  Thursday, Jan 1 00:00:00 1970"};
  const auto run = RunReport("three_dns_two_adapters");
  EXPECT_EQ(run->window.BoxTexts(), expected);

  // The window keeps the second adapter's values.
  const RecordingWindow& w = run->window;
  EXPECT_EQ(w.Caption(), u"workstation");
  EXPECT_EQ(w.Text(Control::Text1), u"Secondary WINS Server: ");
  EXPECT_EQ(w.Text(Control::Label2), u"workstation");
  EXPECT_EQ(w.Text(Control::Label3), u"");
  EXPECT_EQ(w.Text(Control::Label4), u"IP Addr: 10.0.0.7");
  EXPECT_EQ(w.Text(Control::Label5), u"маска сети: 255.0.0.0");
  EXPECT_EQ(w.Text(Control::Label6), u"Точка входа: 10.0.0.1");
  EXPECT_EQ(w.Text(Control::Label7), u"Prim WINS Serv: ");
  EXPECT_EQ(w.Text(Control::Label8), u"SecWINS Serv: ");
}

TEST(Report, WritesEachRowToText1ThenItsLabelThenItsBox) {
  const auto run = RunReport("one_dns_one_adapter");
  const auto& ops = run->window.operations;
  const std::vector<std::string> hostName{"Text1=ИМЯ КОМПЬЮТЕРА:  workstation", "box:_",
                                          "Label2=workstation", "caption=workstation"};
  ASSERT_GE(ops.size(), hostName.size());
  EXPECT_EQ(std::vector<std::string>(ops.begin(), ops.begin() + 4), hostName);
  const std::vector<std::string> firstAddress{"Text1=IP Address: 192.168.1.20",
                                              "Label4=IP Addr: 192.168.1.20",
                                              "box:IP Address: 192.168.1.20"};
  const auto at = std::search(ops.begin(), ops.end(), firstAddress.begin(), firstAddress.end());
  EXPECT_NE(at, ops.end());
  // One address and one gateway: neither list walk shows anything.
  EXPECT_EQ(std::count(ops.begin(), ops.end(), "box:IP Address: 192.168.1.20"), 1);
  for (const auto& op : ops) {
    EXPECT_EQ(op.find("Subnet Mask"), std::string::npos) << op;
  }
}

TEST(Report, UsesEveryFieldOnlyUpToItsFirstNul) {
  // The hardware address stands before nothing, and text fields after their NUL are not shown:
  // no shown text may carry a NUL.
  const auto run = RunReport("three_dns_two_adapters");
  for (const auto& op : run->window.operations) {
    EXPECT_EQ(op.find('\0'), std::string::npos) << op;
  }
}

TEST(QueryProtocol, SizesOnceFillsOnceAndNeverRetries) {
  const auto full = RunReport("one_dns_one_adapter");
  EXPECT_EQ(full->paramsCalls, (std::vector<std::uint32_t>{0, 584}));
  EXPECT_EQ(full->adaptersCalls, (std::vector<std::uint32_t>{0, 640}));

  const auto fill111 = RunReport("params_fill_111");
  EXPECT_EQ(fill111->paramsCalls.size(), 2U) << "111 on the fill call is a failure, not a retry";
  EXPECT_TRUE(fill111->adaptersCalls.empty()) << "a failed host query ends the report";

  const auto empty = RunReport("params_sizing_0_empty");
  EXPECT_EQ(empty->paramsCalls.size(), 1U) << "a size of 0 leaves nothing to fill";
  EXPECT_EQ(empty->window.BoxTexts(),
            (std::vector<std::string>{"GetNetworkParams sizing failed with error 0"}));
}

TEST(QueryProtocol, FailureBoxesNameTheCallAndCodeAndLeaveTheWindowAsItWas) {
  const auto sizing = RunReport("params_sizing_87");
  EXPECT_EQ(sizing->window.BoxTexts(),
            (std::vector<std::string>{"GetNetworkParams sizing failed with error 87"}));
  EXPECT_EQ(sizing->window.Caption(), u"Form1");
  EXPECT_EQ(sizing->window.Text(Control::Text1), u"");

  const auto noAdapters = RunReport("node_mixed");
  EXPECT_EQ(noAdapters->window.BoxTexts().back(), "GetAdaptersInfo sizing failed with error 232");
  EXPECT_EQ(noAdapters->window.Text(Control::Text1), u"NetBIOS не использует DNS");

  EXPECT_EQ(RunReport("adapters_sizing_87")->window.BoxTexts().back(),
            "GetAdaptersInfo sizing failed with error 87");
  EXPECT_EQ(RunReport("adapters_fill_111")->window.BoxTexts().back(),
            "GetAdaptersInfo failed with error 111");
}

TEST(Walks, EndAtReferencesThatLoopOrLeaveTheBuffer) {
  const auto looping = RunReport("looping_next");
  const auto boxes = looping->window.BoxTexts();
  EXPECT_EQ(std::count(boxes.begin(), boxes.end(), "DNS Servers:  8.8.8.8"), 1);
  EXPECT_EQ(std::count(boxes.begin(), boxes.end(), "IP Address: 10.1.2.3"), 1);
  EXPECT_EQ(std::count(boxes.begin(), boxes.end(), "Adapter name: Token Ring adapter "), 1);

  const auto outside = RunReport("out_of_range_next");
  const auto outsideBoxes = outside->window.BoxTexts();
  EXPECT_EQ(std::count(outsideBoxes.begin(), outsideBoxes.end(), "IP Address: 192.168.1.254"), 0);
  EXPECT_EQ(std::count(outsideBoxes.begin(), outsideBoxes.end(), " "), 4)
      << "one adapter only: its Next leads to a record that does not fit in the buffer";
}

TEST(Report, AToolkitFailureEndsTheReportAtOnce) {
  const Fixture* fixture = FindFixture("one_dns_one_adapter");
  ScriptedIpHelper ipHelper(fixture->params, fixture->adapters);
  RecordingWindow window;
  window.refuse = Control::Label3;
  EXPECT_THROW(Module1::ShowNetworkInfo(window, ipHelper, *DateNamesFor("C")), std::runtime_error);
  EXPECT_EQ(window.BoxTexts().size(), 2U) << "nothing after the refused change";
}

}  // namespace
}  // namespace addrvue::testing
