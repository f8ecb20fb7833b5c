// The GUI tests run real Qt widgets on the offscreen platform: no display is needed.
#include <gtest/gtest.h>

#include <QApplication>

namespace {

// The offscreen platform warns about every window it cannot hint sizes for; the rest is kept.
QtMessageHandler previousHandler = nullptr;

void DropOffscreenNoise(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (!message.contains(QStringLiteral("propagateSizeHints"))) {
    if (previousHandler != nullptr) {
      previousHandler(type, context, message);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  previousHandler = qInstallMessageHandler(DropOffscreenNoise);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  const QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
