# What both MinGW-w64 toolchains share (included by toolchain-mingw-i686.cmake and
# toolchain-mingw-x86_64.cmake, which set ADDRVUE_MINGW_PREFIX first): Debian's win32-threads
# compilers, msvcrt, static runtimes and the size flags.
set(CMAKE_SYSTEM_NAME Windows)

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
