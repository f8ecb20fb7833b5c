# Cross build for 32-bit Windows with Debian's MinGW-w64 (i686, win32 threads, msvcrt).
# msvcrt keeps time_t at 32 bits, which the 640-byte IP_ADAPTER_INFO of the 32-bit ABI needs.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(ADDRVUE_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
