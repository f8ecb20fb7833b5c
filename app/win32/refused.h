// How the window reports a Windows call that failed.
#pragma once

namespace addrvue::win32 {

// Throws an error naming the call and the code Windows gave for it. Call it right after the
// failed call: it reads GetLastError() before anything else runs.
[[noreturn]] void Refused(const char* call);

}  // namespace addrvue::win32
