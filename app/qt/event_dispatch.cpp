#include "app/qt/event_dispatch.h"

#include <QCoreApplication>
#include <exception>

#include "app/qt/message_box.h"

namespace addrvue::qt {
namespace {

void ShowUnhandledError(QWidget* parent, const QString& what) {
  ShowProgramMessageBox(parent, QStringLiteral("Run-time error: ") + what);
}

}  // namespace

void EndEventLoop(int status) {
  QCoreApplication::exit(status);
}

void RunEventHandler(QWidget* parent, const std::function<void()>& handler,
                     const EndProgramFunction& end) {
  try {
    handler();
  } catch (const std::exception& error) {
    ShowUnhandledError(parent, QString::fromUtf8(error.what()));
    end(kUnhandledErrorStatus);
  } catch (...) {
    ShowUnhandledError(parent, QStringLiteral("unknown error"));
    end(kUnhandledErrorStatus);
  }
}

}  // namespace addrvue::qt
