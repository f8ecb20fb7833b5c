// The end of the process: after the press, and after an error that nothing handled.
#pragma once

#include <windows.h>

#include <string_view>

namespace addrvue::win32 {

// Destroys the form, if it is still there, and ends the process with status 0.
[[noreturn]] void EndProcess(HWND form);

// Shows the text of an unhandled error in a box over `owner` (none: the desktop), then ends the
// process with status 1.
[[noreturn]] void EndWithUnhandledError(HWND owner, std::u16string_view text);

}  // namespace addrvue::win32
