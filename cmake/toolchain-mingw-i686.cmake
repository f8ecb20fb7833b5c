# Cross build for 32-bit Windows with Debian's MinGW-w64 (i686, win32 threads, msvcrt).
# msvcrt keeps time_t at 32 bits, which the 640-byte IP_ADAPTER_INFO of the 32-bit ABI needs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(ADDRVUE_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${ADDRVUE_MINGW_PREFIX}-gcc-win32)
set(CMAKE_CXX_COMPILER ${ADDRVUE_MINGW_PREFIX}-g++-win32)
set(CMAKE_RC_COMPILER ${ADDRVUE_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ADDRVUE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The executables need nothing but Windows' own DLLs: the C and C++ runtimes are linked in.
# Small: size-optimised code, one section per function so unused ones can be dropped, no symbols.
set(CMAKE_CXX_FLAGS_INIT "-ffunction-sections -fdata-sections")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -Wl,--gc-sections")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -Wl,--gc-sections")
set(CMAKE_EXE_LINKER_FLAGS_MINSIZEREL_INIT "-s")
set(CMAKE_SHARED_LINKER_FLAGS_MINSIZEREL_INIT "-s")
