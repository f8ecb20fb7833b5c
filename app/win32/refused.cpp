#include "app/win32/refused.h"

#include <windows.h>

#include <stdexcept>
#include <string>

namespace addrvue::win32 {

void Refused(const char* call) {
  const DWORD error = GetLastError();  // building the text below may change it
  throw std::runtime_error(std::string(call) + " failed (error " + std::to_string(error) + ")");
}

}  // namespace addrvue::win32
