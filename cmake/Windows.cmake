# Settings of the Windows build, shared by the core, the native front end and
# the tests.

# Resource scripts: the dialog's manifest, icon and picture.
enable_language(RC)

# Text is UTF-8 inside the program. Every call that takes or gives a name (a
# path, a link, a message quoting a file) is made in its wide form by name,
# through fileio/widetext.h; the calls left narrow take fixed ASCII text
# (class names, library names, numbers in fields), and both manifests make
# the active code page UTF-8 besides.
target_compile_definitions(decagon_options INTERFACE NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0A00
                                                     WINVER=0x0A00)
# zlib (package libz-mingw-w64-dev, under the toolchain's root) from its
# static archive rather than its import library, so that no zlib1.dll ships.
set(ZLIB_USE_STATIC_LIBS ON)

# Unused code stays out of the statically linked programs.
target_compile_options(decagon_options INTERFACE -ffunction-sections -fdata-sections)
target_link_options(decagon_options INTERFACE -Wl,--gc-sections)

# Where CTest's wine keeps its Windows installation: a private prefix in the
# build folder, so that the tests never touch the user's own ~/.wine.
set(DECAGON_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix" CACHE PATH "Wine prefix for running Windows tests")

# decagon_windows_program(target NAME name DESCRIPTION text): a shipped
# program, built as <build>/app/<name>.exe whatever folder its sources live
# in, so that both programs and their settings file sit side by side as in
# the package. It carries a version resource (win32/version.rc.in) with the
# project's version and the description that Explorer and Task Manager show.
function(decagon_windows_program target)
  cmake_parse_arguments(ARG "" "NAME;DESCRIPTION" "" ${ARGN})
  set_target_properties(${target} PROPERTIES OUTPUT_NAME ${ARG_NAME} RUNTIME_OUTPUT_DIRECTORY
                                                                     ${CMAKE_BINARY_DIR}/app)
  set(DECAGON_PROGRAM_NAME ${ARG_NAME})
  set(DECAGON_FILE_DESCRIPTION ${ARG_DESCRIPTION})
  set(version_rc ${CMAKE_BINARY_DIR}/win32/${ARG_NAME}-version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/win32/version.rc.in ${version_rc} @ONLY)
  target_sources(${target} PRIVATE ${version_rc})
  install(TARGETS ${target} RUNTIME DESTINATION .)
  set_property(GLOBAL APPEND PROPERTY DECAGON_WINDOWS_PROGRAMS ${ARG_NAME}.exe)
endfunction()

# Windows programs built here run under wine with that prefix and without
# wine's debug chatter. Start the prefix once (wineboot -i) before the first
# run, as scripts/test.sh does: creating it takes longer than a test may.
if(CMAKE_CROSSCOMPILING AND DECAGON_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR "/usr/bin/env;WINEPREFIX=${DECAGON_WINEPREFIX};WINEDEBUG=-all;${DECAGON_WINE}")
endif()

# The installer: wixl, the package's source, the folder its files are staged
# in and the package itself, which cmake/WindowsPackage.cmake makes and
# tests/win32 installs.
find_program(DECAGON_WIXL wixl NO_CMAKE_FIND_ROOT_PATH)
set(DECAGON_MSI_SOURCE ${PROJECT_SOURCE_DIR}/packaging/windows/decagon.wxs)
set(DECAGON_MSI_STAGE ${CMAKE_BINARY_DIR}/msi)
set(DECAGON_MSI ${CMAKE_BINARY_DIR}/decagon-${PROJECT_VERSION}-windows-x86_64.msi)
