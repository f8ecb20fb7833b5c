// Where the window's event handlers run. The program's own code traps no error: one that leaves a
// handler is shown here in a message box, and the program ends with a failure status.
#pragma once

#include <QWidget>
#include <functional>

namespace addrvue::qt {

inline constexpr int kUnhandledErrorStatus = 1;

// Ends the program with a status (the Qt event loop returns it from main).
using EndProgramFunction = std::function<void(int status)>;

void EndEventLoop(int status);

// Runs one event handler. When an error leaves it, shows the error over `parent` and calls `end`
// with kUnhandledErrorStatus.
void RunEventHandler(QWidget* parent, const std::function<void()>& handler,
                     const EndProgramFunction& end);

}  // namespace addrvue::qt
