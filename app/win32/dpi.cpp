#include "app/win32/dpi.h"

#include "app/layout.h"
#include "app/win32/gdi_handles.h"
#include "app/win32/refused.h"

namespace addrvue::win32 {
namespace {

using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiCall = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

// A function of user32.dll, or null where this Windows lacks it.
template <class Call>
Call User32Function(const char* name) {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  const FARPROC function = user32 != nullptr ? GetProcAddress(user32, name) : nullptr;
  // void (*)() converts to and from every function type without a warning.
  return reinterpret_cast<Call>(reinterpret_cast<void (*)()>(function));
}

}  // namespace

int DpiOf(HWND window) {
  static const auto getDpiForWindow = User32Function<GetDpiForWindowCall>("GetDpiForWindow");
  if (getDpiForWindow != nullptr) {
    const UINT dpi = getDpiForWindow(window);
    if (dpi != 0) {
      return static_cast<int>(dpi);
    }
  }
  const ScreenDc screen;
  const int dpi = screen.get() != nullptr ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

SIZE FrameSize(SIZE client, DWORD style, DWORD exStyle, int dpi) {
  static const auto adjustForDpi =
      User32Function<AdjustWindowRectExForDpiCall>("AdjustWindowRectExForDpi");
  RECT frame{0, 0, client.cx, client.cy};
  const BOOL adjusted = adjustForDpi != nullptr
                            ? adjustForDpi(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi))
                            : AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  if (adjusted == FALSE) {
    Refused("AdjustWindowRectEx");
  }
  return {frame.right - frame.left, frame.bottom - frame.top};
}

SIZE LayoutClientArea(int dpi) {
  const auto& form = layout::Window();
  return {layout::TwipsToPixels(form.clientWidth, dpi),
          layout::TwipsToPixels(form.clientHeight, dpi)};
}

SIZE RescaledClientArea(SIZE client, int fromDpi, int toDpi) {
  const auto scaled = [fromDpi, toDpi](LONG pixels) {
    return layout::TwipsToPixels(MulDiv(pixels, layout::kTwipsPerInch, fromDpi), toDpi);
  };
  return {scaled(client.cx), scaled(client.cy)};
}

}  // namespace addrvue::win32
