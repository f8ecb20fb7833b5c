# Cross build for 64-bit Windows (x64) with Debian's MinGW-w64 (x86_64, win32 threads, msvcrt).
# On x64, msvcrt's time_t is 64 bits wide, as in the 704-byte IP_ADAPTER_INFO of the 64-bit ABI.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(ADDRVUE_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
