// The whole press on the real Qt window: the report's boxes acknowledged from a timer, the window's
// three phases, the pause on a clock the test sets, and the end of the program through the event
// loop, as main() runs it.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/form1.h"
#include "app/layout.h"
#include "app/qt/form1_window.h"
#include "platform/linux/date_names_linux.h"
#include "tests/fixtures/fixtures.h"
#include "tests/gui/box_watcher.h"
#include "tests/support/recording_window.h"

namespace addrvue::qt {
namespace {

using addrvue::testing::BoxWatcher;
using addrvue::testing::Fixture;
using addrvue::testing::RecordingWindow;
using addrvue::testing::ScriptedIpHelper;

std::u16string Text(const Form1Window& window, Control c) {
  QWidget* w = window.Widget(c);
  if (auto* box = qobject_cast<QLineEdit*>(w)) {
    return box->text().toStdU16String();
  }
  return qobject_cast<QLabel*>(w)->text().toStdU16String();
}

// Which of Command1, Text1, Text2 and Picture1 are shown, as "CTNP" with '-' for hidden ones.
std::string Phase(const Form1Window& window) {
  std::string phase;
  for (const auto& [c, letter] :
       {std::pair{Control::Command1, 'C'}, std::pair{Control::Text1, 'T'},
        std::pair{Control::Text2, 'N'}, std::pair{Control::Picture1, 'P'}}) {
    phase += window.Widget(c)->isHidden() ? '-' : letter;
  }
  return phase;
}

std::string TranscriptLineOf(const Form1Window& window, const QMessageBox& box) {
  const std::u16string text = box.text().toStdU16String();
  const std::u16string caption = window.windowTitle().toStdU16String();
  const std::array<std::u16string, 8> values{
      Text(window, Control::Text1),  Text(window, Control::Label2), Text(window, Control::Label3),
      Text(window, Control::Label4), Text(window, Control::Label5), Text(window, Control::Label6),
      Text(window, Control::Label7), Text(window, Control::Label8)};
  std::array<std::u16string_view, 8> views;
  std::copy(values.begin(), values.end(), views.begin());
  return addrvue::testing::TranscriptLine(text, caption, views);
}

// A clock that moves on `step` seconds each reading, from `start`.
std::function<double()> SteppingClock(double start, double step) {
  return [now = start - step, step]() mutable { return now += step; };
}

// Clicks Command1 from the event loop and runs the loop until the program ends it, as main() does.
int PressAndRun(Form1Window& window) {
  window.ShowCentred();
  QTimer::singleShot(0, window.Widget(Control::Command1), [&window] {
    qobject_cast<QPushButton*>(window.Widget(Control::Command1))->click();
  });
  return QApplication::exec();
}

class PressTranscript : public ::testing::TestWithParam<std::string> {};

// The real window with real boxes gives the same transcript as the recording window, box by box,
// and every box is the program's one kind: modal, one OK button, no icon, titled VELKOR_NX.
TEST_P(PressTranscript, MatchesTheRecordingWindow) {
  const Fixture& fixture = *addrvue::testing::FindFixture(GetParam());
  const auto dateNames = DateNamesFor("C");

  RecordingWindow recording;
  ScriptedIpHelper recordedIpHelper(fixture.params, fixture.adapters);
  Form1(recording, recordedIpHelper, *dateNames).Command1_Click();

  Form1Window window({SteppingClock(100, 5), EndEventLoop});
  ScriptedIpHelper ipHelper(fixture.params, fixture.adapters);
  Form1 form1(window, ipHelper, *dateNames);
  window.OnCommand1Click([&form1] { form1.Command1_Click(); });
  std::string transcript;
  int badBoxes = 0;
  BoxWatcher watcher([&](QMessageBox& box) {
    transcript += TranscriptLineOf(window, box);
    const bool ok = box.windowTitle() == "VELKOR_NX" && box.icon() == QMessageBox::NoIcon &&
                    box.buttons().size() == 1 && box.button(QMessageBox::Ok) != nullptr &&
                    box.isModal() && box.textFormat() == Qt::PlainText;
    badBoxes += ok ? 0 : 1;
  });

  EXPECT_EQ(PressAndRun(window), 0);
  EXPECT_EQ(transcript, recording.Transcript());
  EXPECT_EQ(badBoxes, 0);
  EXPECT_EQ(watcher.texts.back(), "_Всё _!");
  EXPECT_FALSE(window.isVisible());
}

std::vector<std::string> FixtureNames() {
  std::vector<std::string> names;
  for (const auto& f : addrvue::testing::AllFixtures()) {
    names.push_back(f.name);
  }
  return names;
}

INSTANTIATE_TEST_SUITE_P(Fixtures, PressTranscript, ::testing::ValuesIn(FixtureNames()),
                         [](const auto& info) { return info.param; });

class PressTest : public ::testing::Test {
 protected:
  void SetUp() override { QGuiApplication::setQuitOnLastWindowClosed(true); }

  const Fixture& fixture = *addrvue::testing::FindFixture("one_dns_one_adapter");
  ScriptedIpHelper ipHelper{fixture.params, fixture.adapters};
  std::unique_ptr<DateNames> dateNames = DateNamesFor("C");
};

// Before the press: all shown but Text2 and Picture1; during the report: Command1 hidden; during
// the pause and its closing box: Text2 and Picture1 shown, Command1 and Text1 hidden.
TEST_F(PressTest, GoesThroughTheThreePhases) {
  std::vector<std::string> phases;
  std::function<double()> clock;
  Form1Window* seen = nullptr;
  Form1Window window({[&] {
                        phases.push_back(
                            "pause " + Phase(*seen) +
                            (seen->Widget(Control::Text2)->isEnabled() ? " enabled" : ""));
                        return clock();
                      },
                      EndEventLoop});
  seen = &window;
  clock = SteppingClock(0, 10);
  Form1 form1(window, ipHelper, *dateNames);
  window.OnCommand1Click([&form1] { form1.Command1_Click(); });
  BoxWatcher watcher([&](QMessageBox& box) {
    phases.push_back((box.text() == QString::fromUtf16(u"_Всё _!") ? "closing " : "report ") +
                     Phase(window));
  });
  phases.push_back("start " + Phase(window));

  EXPECT_EQ(PressAndRun(window), 0);
  ASSERT_GE(phases.size(), 6U);
  EXPECT_EQ(phases.front(), "start CT--");
  for (std::size_t i = 1; i + 4 < phases.size(); ++i) {
    EXPECT_EQ(phases.at(i), "report -T--") << i;
  }
  // Three readings of the clock: the start, 10 s and 20 s, then the closing box.
  EXPECT_EQ(phases.at(phases.size() - 4), "pause --NP");
  EXPECT_EQ(phases.at(phases.size() - 2), "pause --NP");
  EXPECT_EQ(phases.back(), "closing --NP");
}

// The pause counts from its own start, tests before every wait, and a reading of exactly the start
// plus 20 ends it; until then no closing box appears.
TEST_F(PressTest, PauseEndsAtAReadingOfExactlyItsStartPlusTwenty) {
  const std::vector<double> readings{86390.5, 86390.5, 86400.0, 86410.25, 86410.5, 99999.0};
  std::size_t read = 0;
  std::vector<std::size_t> boxesAtReading;
  BoxWatcher* watcherSeen = nullptr;
  Form1Window window({[&] {
                        boxesAtReading.push_back(watcherSeen->texts.size());
                        return readings.at(read++);
                      },
                      EndEventLoop});
  Form1 form1(window, ipHelper, *dateNames);
  window.OnCommand1Click([&form1] { form1.Command1_Click(); });
  BoxWatcher watcher;
  watcherSeen = &watcher;

  EXPECT_EQ(PressAndRun(window), 0);
  EXPECT_EQ(read, 5U);
  const std::size_t reportBoxes = watcher.texts.size() - 1;
  for (const std::size_t boxes : boxesAtReading) {
    EXPECT_EQ(boxes, reportBoxes);
  }
  EXPECT_EQ(watcher.texts.back(), "_Всё _!");
}

// Closing the main window during the pause neither shortens it nor loses the closing box.
TEST_F(PressTest, ClosingTheWindowDuringThePauseDoesNotShortenIt) {
  int readings = 0;
  Form1Window* seen = nullptr;
  Form1Window window({[&] {
                        if (++readings == 2) {
                          seen->close();
                        }
                        return 10.0 * readings;
                      },
                      EndEventLoop});
  seen = &window;
  Form1 form1(window, ipHelper, *dateNames);
  window.OnCommand1Click([&form1] { form1.Command1_Click(); });
  BoxWatcher watcher;

  EXPECT_EQ(PressAndRun(window), 0);
  EXPECT_EQ(readings, 3);
  EXPECT_EQ(watcher.texts.back(), "_Всё _!");
}

TEST_F(PressTest, ClosingTheWindowBeforeThePressEndsTheProgram) {
  Form1Window window;
  Form1 form1(window, ipHelper, *dateNames);
  window.OnCommand1Click([&form1] { form1.Command1_Click(); });
  window.ShowCentred();
  QTimer::singleShot(0, &window, [&window] { window.close(); });
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_TRUE(ipHelper.paramsCalls.empty());
}

// An error that leaves the handler is shown in a box, the rest of the sequence does not run, and
// the program ends with a failure status.
TEST_F(PressTest, AnErrorLeavingTheHandlerIsShownAndEndsTheProgramWithAFailure) {
  class FailingIpHelper final : public iphlp::OffsetIpHelper {
   public:
    std::uint32_t GetNetworkParams(std::byte* /*buffer*/, std::uint32_t* /*size*/) override {
      throw std::runtime_error("the toolkit refused to change Text1");
    }
    std::uint32_t GetAdaptersInfo(std::byte* /*buffer*/, std::uint32_t* /*size*/) override {
      return 0;
    }
  } failing;
  Form1Window window;
  Form1 form1(window, failing, *dateNames);
  window.OnCommand1Click([&form1] { form1.Command1_Click(); });
  BoxWatcher watcher;

  EXPECT_EQ(PressAndRun(window), kUnhandledErrorStatus);
  ASSERT_EQ(watcher.texts.size(), 1U);
  EXPECT_NE(watcher.texts.front().find("the toolkit refused to change Text1"), std::string::npos);
  EXPECT_TRUE(window.Widget(Control::Picture1)->isHidden());
  EXPECT_TRUE(window.Widget(Control::Text2)->isHidden());
}

// Each wait for events during the pause sleeps until an event comes, for at most the time given:
// an event posted meanwhile is handled, and with nothing to do it returns after about that time
// instead of at once (which would spin the processor) or never.
TEST(ProcessEventsTest, WaitsForTheNextEventForAtMostTheTimeGiven) {
  Form1Window window;
  window.Timer1().stop();
  for (int i = 0; i < 10; ++i) {
    QApplication::processEvents();
  }
  bool handled = false;
  QTimer::singleShot(0, &window, [&handled] { handled = true; });
  window.ProcessEvents(std::chrono::milliseconds(500));
  EXPECT_TRUE(handled);

  QElapsedTimer elapsed;
  elapsed.start();
  window.ProcessEvents(std::chrono::milliseconds(100));
  EXPECT_GE(elapsed.elapsed(), 90);
  EXPECT_LT(elapsed.elapsed(), 2000);
}

}  // namespace
}  // namespace addrvue::qt
