#include "app/qt/event_dispatch.h"

#include <QCoreApplication>

#include "app/qt/message_box.h"
#include "app/qt/text.h"
#include "app/unhandled_error.h"

namespace addrvue::qt {

void EndEventLoop(int status) {
  QCoreApplication::exit(status);
}

void RunEventHandler(QWidget* parent, const std::function<void()>& handler,
                     const EndProgramFunction& end) {
  if (const auto error = RunTrapped(handler)) {
    ShowProgramMessageBox(parent, ToQString(*error));
    end(kUnhandledErrorStatus);
  }
}

}  // namespace addrvue::qt
