// The form's two message loops: the program's, until the window has gone, and the pause's, which
// waits a bounded time. Every message passes the focus navigator first.
#pragma once

#include <chrono>

#include "app/win32/focus_navigator.h"

namespace addrvue::win32 {

// Handles messages until WM_QUIT; returns the exit code it carries, 1 when GetMessage fails.
int PumpUntilQuit(const FocusNavigator& navigator);

// Waits at most maxWait for input, then handles everything pending. A quit request is not
// honoured here: the pause runs to its end even when the window has been closed.
void PumpPending(std::chrono::milliseconds maxWait, const FocusNavigator& navigator);

}  // namespace addrvue::win32
