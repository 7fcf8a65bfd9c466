# Cross-building for 64-bit Windows with Debian's mingw-w64 toolchain (the
# POSIX-threads variant, whose C++ library has std::thread and std::mutex).
# Programs are linked statically, so vrdkctl.exe needs no DLL beside it, and
# the tests run under wine64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
find_program(VRDK_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(VRDK_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VRDK_WINE})
endif()
