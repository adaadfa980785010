# SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
# SPDX-License-Identifier: GPL-3.0-or-later
# CPack pre-build script (CPACK_PRE_BUILD_SCRIPTS): adds to the package's Depends the shared libraries
# its programs link, as dpkg-shlibdeps finds them over every ELF file in the package.
#
# This stands in for CPack's own run (CPACK_DEBIAN_PACKAGE_SHLIBDEPS), which also writes a postinst and a
# postrm calling ldconfig whenever a shared object lies in /usr/lib or a folder right under it. The audio
# module in /usr/lib/wobblix-clock is private and off the library path, and dpkg's own trigger runs
# ldconfig for real libraries, so the package needs no maintainer scripts at all.
#
# Runs inside cpack after the files are installed into CPACK_TEMPORARY_DIRECTORY; what it sets there is
# what the Debian generator reads next.

set(wobblix_stage ${CPACK_TEMPORARY_DIRECTORY})
file(GLOB_RECURSE wobblix_files LIST_DIRECTORIES false ${wobblix_stage}/*)
set(wobblix_elf_files)
foreach(file IN LISTS wobblix_files)
  if(NOT IS_SYMLINK ${file})
    file(READ ${file} magic LIMIT 4 HEX)
    if(magic STREQUAL "7f454c46") # "\177ELF"
      list(APPEND wobblix_elf_files ${file})
    endif()
  endif()
endforeach()
if(NOT wobblix_elf_files)
  message(FATAL_ERROR "ShlibDeps: no ELF file under ${wobblix_stage}")
endif()

# dpkg-shlibdeps wants a debian/control in its working folder; an empty one beside the staged tree, so
# that nothing of it lands in the package. No --ignore-missing-info: a library that belongs to no Debian
# package would be a dependency the package silently lacks.
set(wobblix_work ${wobblix_stage}-shlibdeps)
file(MAKE_DIRECTORY ${wobblix_work}/debian)
file(WRITE ${wobblix_work}/debian/control "")
execute_process(
  COMMAND dpkg-shlibdeps -O ${wobblix_elf_files}
  WORKING_DIRECTORY ${wobblix_work}
  OUTPUT_VARIABLE wobblix_output ERROR_VARIABLE wobblix_error
  RESULT_VARIABLE wobblix_result)
file(REMOVE_RECURSE ${wobblix_work})
if(NOT wobblix_result EQUAL 0)
  message(FATAL_ERROR "ShlibDeps: dpkg-shlibdeps failed (${wobblix_result}):\n${wobblix_error}")
endif()
if(NOT wobblix_output MATCHES "shlibs:Depends=([^\n]*)")
  message(FATAL_ERROR "ShlibDeps: dpkg-shlibdeps gave no shlibs:Depends:\n${wobblix_output}")
endif()

# The libraries first, then the packages named by hand, as CPack orders them.
if(CPACK_DEBIAN_PACKAGE_DEPENDS)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${CMAKE_MATCH_1}, ${CPACK_DEBIAN_PACKAGE_DEPENDS}")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${CMAKE_MATCH_1}")
endif()
message(STATUS "ShlibDeps: Depends: ${CPACK_DEBIAN_PACKAGE_DEPENDS}")
