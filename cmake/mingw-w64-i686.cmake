# SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-building the 32-bit Windows program on Debian with mingw-w64 (g++-mingw-w64-i686):
#   cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake
#
# The compilers are the "posix" threads variant, named explicitly rather than through Debian's
# alternative (which points to the "win32" variant by default): GCC 12's win32 variant has no std::mutex,
# std::thread or std::condition_variable. Linked statically, the posix variant's threads library
# (winpthread) goes into the program like libgcc and libstdc++, so the program imports from Windows' own
# DLLs only (KERNEL32, USER32, msvcrt, ...); `i686-w64-mingw32-objdump -p X.exe | grep 'DLL Name'` shows
# the list.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(WOBBLIX_MINGW_TRIPLET i686-w64-mingw32)
set(CMAKE_C_COMPILER ${WOBBLIX_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${WOBBLIX_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${WOBBLIX_MINGW_TRIPLET}-windres)

# Libraries and headers come from the cross toolchain's own tree only; programs (code generators, the
# tests' helpers) from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${WOBBLIX_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Nothing but Windows' own DLLs at run time: the C++ runtime, GCC's support library and winpthread all
# linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

