// The press on the real Qt window, run from the event loop as main() runs it: real message boxes
// acknowledged as a user would, the three phases, the pause on readings the test gives, the focus,
// the keys that press Command1, and the end of the program.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "app/form1.h"
#include "app/qt/form1_window.h"
#include "platform/linux/date_names_linux.h"
#include "tests/fixtures/fixtures.h"
#include "tests/support/recording_window.h"

namespace addrvue::qt {
namespace {

using addrvue::testing::Fixtures;
using addrvue::testing::RecordingWindow;
using addrvue::testing::ScriptedIpHelper;

// Which of Command1, Text1, Text2 and Picture1 are shown, as "CTNP" with '-' for hidden ones.
std::string Phase(const Form1Window& window) {
  std::string phase;
  for (const auto& [control, letter] : {std::pair{Control::Command1, 'C'},
                                        {Control::Text1, 'T'},
                                        {Control::Text2, 'N'},
                                        {Control::Picture1, 'P'}}) {
    phase += window.Widget(control)->isHidden() ? '-' : letter;
  }
  return phase;
}

// The shared harness: one window whose pause reads `readings` in turn. The phase is noted at the
// start, at each reading and at each box; each box is noted, seen by atBox and closed with OK.
class PressTest : public ::testing::Test {
 protected:
  void SetUp() override { QGuiApplication::setQuitOnLastWindowClosed(true); }

  // Runs the press on a scripted machine from the event loop, as main() does, and returns the
  // program's status.
  int Press(const std::string& fixtureName) {
    const auto& fixture = Fixtures().at(fixtureName);
    ScriptedIpHelper ipHelper(fixture.params, fixture.adapters);
    Form1 form1(window, ipHelper, *dateNames);
    window.OnCommand1Click([&form1] { form1.Command1_Click(); });
    QTimer boxWatch;
    QObject::connect(&boxWatch, &QTimer::timeout, [this] { CloseBox(); });
    boxWatch.start(1);
    window.ShowCentred();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    phases.push_back("start " + Phase(window));
    QTimer::singleShot(
        0, [this] { qobject_cast<QPushButton*>(window.Widget(Control::Command1))->click(); });
    return QApplication::exec();
  }

  void CloseBox() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box != nullptr && box->isVisible()) {
      boxes.push_back(box->text().toStdString());
      transcript += addrvue::testing::TranscriptLine(
          box->text().toStdU16String(), window.windowTitle().toStdU16String(), [this](Control c) {
            return window.Widget(c)->property("text").toString().toStdU16String();
          });
      phases.push_back("box " + Phase(window));
      atBox(*box);
      box->button(QMessageBox::Ok)->click();
    }
  }

  double Read() {
    phases.push_back("reading " + Phase(window));
    atReading(read);
    return readings.at(read++);
  }

  std::unique_ptr<DateNames> dateNames = DateNamesFor("C");
  std::vector<double> readings{0, 10, 20};
  std::size_t read = 0;
  std::function<void(std::size_t reading)> atReading = [](std::size_t) {};
  std::function<void(QMessageBox& box)> atBox = [](QMessageBox&) {};
  std::vector<std::string> boxes;
  std::vector<std::string> phases;
  std::string transcript;
  Form1Window window{{[this] { return Read(); }, EndEventLoop}};
};

class WholePress : public PressTest, public ::testing::WithParamInterface<std::string> {};

// The real window with real boxes gives the recording window's transcript, each box the program's
// one kind. Before the press all is shown but Text2 and Picture1; hiding Command1 at the press
// moves the focus to Text1; the pause shows Picture1 and Text2 (its colours are the end-to-end
// run's to check, on a real display). The pause reads the clock at its start and before each wait,
// and a reading of its start plus 20 in single precision ends it; closing the window meanwhile does
// not shorten it.
TEST_P(WholePress, ReportsPausesAndEnds) {
  RecordingWindow recording;
  const auto& fixture = Fixtures().at(GetParam());
  ScriptedIpHelper recordedIpHelper(fixture.params, fixture.adapters);
  Form1(recording, recordedIpHelper, *dateNames).Command1_Click();

  readings = {86390.5, 86400.0, 86410.49, 86410.499};
  atBox = [&](QMessageBox& box) {
    EXPECT_TRUE(box.windowTitle() == "VELKOR_NX" && box.icon() == QMessageBox::NoIcon &&
                box.buttons().size() == 1 && box.isModal() && box.textFormat() == Qt::PlainText);
    EXPECT_EQ(window.focusWidget(), window.Widget(Control::Text1)) << box.text().toStdString();
  };
  atReading = [&](std::size_t reading) {
    if (reading == 1) {
      window.close();
    }
  };

  EXPECT_EQ(Press(GetParam()), 0);
  EXPECT_EQ(transcript, recording.Transcript());
  std::vector<std::string> expected{"start CT--"};
  expected.insert(expected.end(), boxes.size() - 1, "box -T--");
  expected.insert(expected.end(), readings.size(), "reading --NP");
  expected.emplace_back("box --NP");
  EXPECT_EQ(phases, expected);
  EXPECT_EQ(boxes.back(), "_Всё _!");
}

// Real boxes with the labels filled in, and a failed query that goes on to the pause.
INSTANTIATE_TEST_SUITE_P(Fixtures, WholePress,
                         ::testing::Values("three_dns_two_adapters", "params_sizing_87"));

// An error that leaves the handler (here the clock's, at the pause) is shown in a box, the rest of
// the sequence does not run, and the program ends with a failure status.
TEST_F(PressTest, AnErrorLeavingTheHandlerIsShownAndEndsTheProgramWithAFailure) {
  readings.clear();
  EXPECT_EQ(Press("params_sizing_87"), kUnhandledErrorStatus);
  EXPECT_EQ(phases,
            (std::vector<std::string>{"start CT--", "box -T--", "reading --NP", "box --NP"}));
  EXPECT_EQ(boxes.back().rfind("Run-time error: ", 0), 0U) << boxes.back();
}

// Return, keypad Enter and Space press Command1 while it has the focus, and only then.
TEST_F(PressTest, KeysPressCommand1WhileItHasTheFocus) {
  struct Row {
    Control focus;
    Qt::Key key;
    Qt::KeyboardModifier modifier;
    int presses;
  };
  int presses = 0;
  window.OnCommand1Click([&presses] { ++presses; });
  window.ShowCentred();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  for (const Row& row : {Row{Control::Command1, Qt::Key_Return, Qt::NoModifier, 1},
                         Row{Control::Command1, Qt::Key_Enter, Qt::KeypadModifier, 1},
                         Row{Control::Command1, Qt::Key_Space, Qt::NoModifier, 1},
                         Row{Control::Text1, Qt::Key_Return, Qt::NoModifier, 0}}) {
    presses = 0;
    window.Widget(row.focus)->setFocus();
    QTest::keyClick(window.windowHandle(), row.key, row.modifier);
    EXPECT_EQ(presses, row.presses) << QKeySequence(row.key).toString().toStdString();
  }
}

}  // namespace
}  // namespace addrvue::qt
