# Cross build for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64).
#
# The programs are linked statically (the C and C++ runtimes and winpthread included), so
# each .exe runs on a bare Windows and under Wine without any DLL beside it. The "posix"
# flavour of the compiler is used because its C++ library has the whole of <thread> and
# <mutex>; the "win32" flavour of GCC 12 lacks them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KORVEX_MINGW_PREFIX x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${KORVEX_MINGW_PREFIX}-gcc-posix ${KORVEX_MINGW_PREFIX}-gcc)
find_program(CMAKE_CXX_COMPILER NAMES ${KORVEX_MINGW_PREFIX}-g++-posix ${KORVEX_MINGW_PREFIX}-g++)
find_program(CMAKE_RC_COMPILER NAMES ${KORVEX_MINGW_PREFIX}-windres)

# Libraries and headers come from the mingw-w64 tree only; programs (tools run during the
# build) from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${KORVEX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
# KORVEX_FIND_ROOT_MODE=BOTH also takes libraries and headers from absolute paths outside
# that tree (wxWidgets built by scripts/build-windows-desktop); ONLY by default.
if(NOT KORVEX_FIND_ROOT_MODE)
  set(KORVEX_FIND_ROOT_MODE ONLY)
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ${KORVEX_FIND_ROOT_MODE})
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ${KORVEX_FIND_ROOT_MODE})
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# pkg-config likewise sees only the mingw-w64 tree, not the build machine's libraries.
set(ENV{PKG_CONFIG_LIBDIR} /usr/${KORVEX_MINGW_PREFIX}/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# CTest runs the Windows executables through Wine when it is installed (test discovery
# then happens when the tests run, not at build time: see the "windows" preset).
find_program(KORVEX_WINE NAMES wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(KORVEX_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KORVEX_WINE})
endif()
