// The press of Command1 against a recording toolkit: the order of the whole sequence, the pause
// on a clock the test controls, and failures that leave the handler.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "app/form1.h"
#include "platform/linux/date_names_linux.h"
#include "tests/fixtures/fixtures.h"
#include "tests/support/recording_window.h"

namespace addrvue::testing {
namespace {

class ButtonSequence : public ::testing::Test {
 protected:
  void Press(const std::string& fixtureName) {
    const Fixture* fixture = FindFixture(fixtureName);
    ASSERT_NE(fixture, nullptr);
    ScriptedIpHelper ipHelper(fixture->params, fixture->adapters);
    Form1 form(window, ipHelper, *names);
    form.Form1_Load();
    form.Command1_Click();
  }

  std::vector<std::string> OperationsAfterLastReportBox() const {
    const auto& ops = window.operations;
    const auto lastReportBox =
        std::find(ops.rbegin(), ops.rend(), "box:GetAdaptersInfo sizing failed with error 232");
    return {lastReportBox.base(), ops.end()};
  }

  RecordingWindow window;
  std::unique_ptr<DateNames> names = DateNamesFor("C");
};

TEST_F(ButtonSequence, HidesTheButtonReportsPausesAndEnds) {
  std::vector<double> readings{100.0, 100.0, 110.0, 119.98, 120.0, 500.0};
  std::size_t next = 0;
  window.clock = [&] { return readings.at(next++); };
  Press("node_mixed");

  EXPECT_EQ(window.operations.front(), "hide Command1");
  // After the report: the pause state, three waits (the readings 100, 110 and 119.98 are before
  // the end; exactly 120 ends the pause), the closing box, the end.
  const std::vector<std::string> tail{"show Picture1", "hide Text1", "show Text2",  "events",
                                      "events",        "events",     "box:_Всё _!", "end"};
  EXPECT_EQ(OperationsAfterLastReportBox(), tail);
  EXPECT_EQ(next, 5U) << "the clock is read once for the start and once before each wait";
  EXPECT_FALSE(window.Visible(Control::Command1));
  EXPECT_FALSE(window.Visible(Control::Text1));
  EXPECT_TRUE(window.Visible(Control::Text2));
  EXPECT_TRUE(window.Visible(Control::Picture1));
}

TEST_F(ButtonSequence, PauseCountsFromItsOwnStartInSinglePrecision) {
  // A clock far from zero: start + 20 must still end the pause, and not a reading before it.
  std::vector<double> readings{86390.5, 86400.0, 86410.49, 86410.5};
  std::size_t next = 0;
  window.clock = [&] { return readings.at(next++); };
  Press("node_mixed");
  EXPECT_EQ(std::count(window.operations.begin(), window.operations.end(), "events"), 2);
}

TEST_F(ButtonSequence, GoesOnToThePauseAfterAFailedQuery) {
  Press("params_sizing_87");
  const auto& ops = window.operations;
  ASSERT_GE(ops.size(), 3U);
  EXPECT_EQ(ops.at(1), "box:GetNetworkParams sizing failed with error 87");
  EXPECT_EQ(ops.at(2), "show Picture1");
  EXPECT_EQ(ops.back(), "end");
  EXPECT_EQ(ops.at(ops.size() - 2), "box:_Всё _!");
}

TEST_F(ButtonSequence, AFailedVisibilityChangeLeavesTheHandlerAtOnce) {
  window.refuse = Control::Picture1;
  EXPECT_THROW(Press("node_mixed"), std::runtime_error);
  EXPECT_EQ(window.operations.back(), "box:GetAdaptersInfo sizing failed with error 232");
  EXPECT_TRUE(window.Visible(Control::Text1)) << "no step after the failed one runs";
}

}  // namespace
}  // namespace addrvue::testing
