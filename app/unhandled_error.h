// What the user reads of an error that leaves an event handler, the same in every build. The
// program's own code traps no error: each toolkit runs its handlers through RunTrapped, shows the
// text in a box and ends the program.
#pragma once

#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/utf.h"

namespace addrvue {

inline std::u16string UnhandledErrorText(std::u16string_view what) {
  return u"Run-time error: " + std::u16string(what);
}

// Runs an event handler; the text to show when an error left it.
inline std::optional<std::u16string> RunTrapped(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    return UnhandledErrorText(FromUtf8(error.what()));
  } catch (...) {
    return UnhandledErrorText(u"unknown error");
  }
  return std::nullopt;
}

}  // namespace addrvue
