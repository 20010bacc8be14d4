# The native main dialog and decagon.exe: the in-memory dialog template, the
# dialog's view over the controller, the keystroke filter, the system's
# prompts and start-up. Win32 calls, no Qt.
add_library(decagon_win32_dialog STATIC
  ${CMAKE_CURRENT_LIST_DIR}/dialogtemplatewriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dib.cpp
  ${CMAKE_CURRENT_LIST_DIR}/maindialogview.cpp
  ${CMAKE_CURRENT_LIST_DIR}/numericfilter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/prompts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/startup.cpp
  ${CMAKE_CURRENT_LIST_DIR}/systemlibrary.cpp
  ${CMAKE_CURRENT_LIST_DIR}/urlopener.cpp)
target_link_libraries(decagon_win32_dialog PUBLIC decagon_options decagon_dialog decagon_template
                                                  decagon_win32_settings decagon_fileio comctl32 gdi32
                                                  user32)

# The program's resources: manifest (common controls 6, per-monitor DPI
# awareness, as invoker), the icon and the construction picture.
set(DECAGON_MANIFEST ${CMAKE_CURRENT_LIST_DIR}/decagon.manifest)
set(DECAGON_PICTURE ${PROJECT_SOURCE_DIR}/resources/construction.bmp)
set(DECAGON_PICTURE_2X ${PROJECT_SOURCE_DIR}/resources/construction-2x.bmp)
configure_file(${CMAKE_CURRENT_LIST_DIR}/decagon.rc.in ${CMAKE_CURRENT_BINARY_DIR}/decagon.rc @ONLY)
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/decagon.rc PROPERTIES
                            OBJECT_DEPENDS "${DECAGON_MANIFEST};${DECAGON_ICON};${DECAGON_PICTURE};${DECAGON_PICTURE_2X}")

add_executable(decagon_win32 WIN32 ${CMAKE_CURRENT_LIST_DIR}/main.cpp ${CMAKE_CURRENT_BINARY_DIR}/decagon.rc)
target_link_libraries(decagon_win32 PRIVATE decagon_win32_dialog decagon_win32_image)
decagon_windows_program(decagon_win32 NAME decagon DESCRIPTION "decagon: computes and draws a regular decagon")
