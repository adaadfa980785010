# SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
# SPDX-License-Identifier: GPL-3.0-or-later
# Hardening for every target of optimised builds (the release build, the package, and the tests' build
# the package check reuses): the flags Debian builds its own packages with, so that the installed clock
# carries fortified libc calls (-D_FORTIFY_SOURCE=2), stack protection (-fstack-protector-strong), a
# position-independent executable, and read-only relocations resolved at load (-Wl,-z,relro -Wl,-z,now).
# Included from the top-level CMakeLists.txt before any target; they reach every target below it through
# CMAKE_<LANG>_FLAGS and the linker flags.
#
# Debug builds keep their own flags: fortification needs an optimising build, and Debian's -O2 would
# defeat -O0. -DWOBBLIX_HARDENING=OFF turns the whole thing off.

option(WOBBLIX_HARDENING "Build optimised builds with the distribution's hardening flags" ON)
if(NOT WOBBLIX_HARDENING OR CMAKE_BUILD_TYPE STREQUAL "Debug" OR NOT (UNIX AND NOT APPLE))
  return()
endif()

# PIE explicitly, whatever the compiler's default (Debian's GCC makes PIE by default; others may not).
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
include(CheckPIESupported)
check_pie_supported()

find_program(WOBBLIX_DPKG_BUILDFLAGS dpkg-buildflags)
mark_as_advanced(WOBBLIX_DPKG_BUILDFLAGS)
if(WOBBLIX_DPKG_BUILDFLAGS)
  # Debian's defaults leave out bindnow (-Wl,-z,now); hardening=+all adds it. Options already in the
  # environment come after it, so that a builder's own choice still wins.
  set(wobblix_maint_options "hardening=+all $ENV{DEB_BUILD_MAINT_OPTIONS}")
  foreach(kind CPPFLAGS CFLAGS CXXFLAGS LDFLAGS)
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env "DEB_BUILD_MAINT_OPTIONS=${wobblix_maint_options}"
              ${WOBBLIX_DPKG_BUILDFLAGS} --get ${kind}
      WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
      OUTPUT_VARIABLE wobblix_${kind} OUTPUT_STRIP_TRAILING_WHITESPACE
      RESULT_VARIABLE wobblix_result)
    if(NOT wobblix_result EQUAL 0)
      message(FATAL_ERROR "dpkg-buildflags --get ${kind} failed (${wobblix_result})")
    endif()
  endforeach()
else()
  # Elsewhere the same protections by hand (GCC and Clang).
  set(wobblix_CPPFLAGS "-D_FORTIFY_SOURCE=2")
  set(wobblix_CFLAGS "-fstack-protector-strong")
  set(wobblix_CXXFLAGS "-fstack-protector-strong")
  set(wobblix_LDFLAGS "-Wl,-z,relro -Wl,-z,now")
endif()

# CMake has no preprocessor-flags variable: CPPFLAGS go with each language's compiler flags, as
# Debian's own CMake builds pass them.
string(APPEND CMAKE_C_FLAGS " ${wobblix_CPPFLAGS} ${wobblix_CFLAGS}")
string(APPEND CMAKE_CXX_FLAGS " ${wobblix_CPPFLAGS} ${wobblix_CXXFLAGS}")
foreach(kind EXE SHARED MODULE)
  string(APPEND CMAKE_${kind}_LINKER_FLAGS " ${wobblix_LDFLAGS}")
endforeach()
message(STATUS "Hardening: ${wobblix_CPPFLAGS} ${wobblix_CXXFLAGS} ${wobblix_LDFLAGS}")
