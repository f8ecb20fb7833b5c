#include "app/win32/message_pumps.h"

#include <windows.h>

#include "app/win32/refused.h"

namespace addrvue::win32 {
namespace {

void Dispatch(MSG& message, const FocusNavigator& navigator) {
  if (navigator.Navigate(message)) {
    return;
  }
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

}  // namespace

int PumpUntilQuit(const FocusNavigator& navigator) {
  MSG message{};
  BOOL got = FALSE;
  while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
    Dispatch(message, navigator);
  }
  return got == 0 ? static_cast<int>(message.wParam) : 1;
}

void PumpPending(std::chrono::milliseconds maxWait, const FocusNavigator& navigator) {
  const auto wait = static_cast<DWORD>(maxWait.count());
  if (MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE) ==
      WAIT_FAILED) {
    Refused("MsgWaitForMultipleObjectsEx");
  }
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
    if (message.message != WM_QUIT) {
      Dispatch(message, navigator);
    }
  }
}

}  // namespace addrvue::win32
