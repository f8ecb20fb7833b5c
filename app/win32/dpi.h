// The window's dots per inch. Windows 10 (1607 on) gives each monitor its own DPI; its functions
// for it are looked up at run time, so that the program still starts on Windows 7 and 8, where
// every window has the system's DPI.
#pragma once

#include <windows.h>

namespace addrvue::win32 {

// The DPI of the monitor the window is on; on older Windows, the system's.
int DpiOf(HWND window);

// The size of a frame with these styles around a client area of the given size, with the
// frame's parts measured at the given DPI.
SIZE FrameSize(SIZE client, DWORD style, DWORD exStyle, int dpi);

// The layout's client area in pixels at a DPI.
SIZE LayoutClientArea(int dpi);

// A client area at `fromDpi` as it is at `toDpi`: through twips, so that the layout's size gives
// the layout's size, rounded the same way.
SIZE RescaledClientArea(SIZE client, int fromDpi, int toDpi);

}  // namespace addrvue::win32
