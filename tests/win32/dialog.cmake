# Tests of the native main dialog, under wine. Those that open windows run
# the whole test program at once on a private X server, and alone: wine's
# desktop belongs to the display of the program that opened the first
# window, and ends with that display's server, taking the windows of any
# program running beside it along.
set(win32_dialog_tests ${CMAKE_CURRENT_LIST_DIR})
set(win32_wine_env "WINEPREFIX=${DECAGON_WINEPREFIX};WINEDEBUG=-all")

function(decagon_win32_window_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE decagon_options decagon_test_support ${ARG_LIBS} GTest::gtest
                                        GTest::gtest_main)
  add_test(NAME ${name} COMMAND bash ${win32_dialog_tests}/withdisplay.sh ${DECAGON_WINE} $<TARGET_FILE:${name}>)
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${win32_wine_env}" TIMEOUT 300 RUN_SERIAL ON)
endfunction()

decagon_win32_window_test(win32_dialogtemplatewriter_test SOURCES ${win32_dialog_tests}/dialogtemplatewriter_test.cpp
                          ${PROJECT_BINARY_DIR}/win32/decagon.rc LIBS decagon_win32_dialog)
decagon_win32_window_test(win32_maindialogview_test SOURCES ${win32_dialog_tests}/maindialogview_test.cpp
                          LIBS decagon_win32_dialog)
decagon_win32_window_test(win32_numericfilter_test SOURCES ${win32_dialog_tests}/numericfilter_test.cpp
                          LIBS decagon_win32_dialog)
decagon_test(win32_startup_test SOURCES ${win32_dialog_tests}/startup_test.cpp LIBS decagon_win32_dialog)

# decagon.exe driven with the keyboard on a private X server.
add_executable(win32_e2e_probe ${win32_dialog_tests}/e2eprobe.cpp)
target_link_libraries(win32_e2e_probe PRIVATE decagon_options decagon_core user32)
add_test(NAME win32_dialog_e2e
         COMMAND bash ${win32_dialog_tests}/dialog_e2e.sh $<TARGET_FILE:decagon_win32> $<TARGET_FILE:win32_e2e_probe>
                 ${DECAGON_WINE})
set_tests_properties(win32_dialog_e2e PROPERTIES ENVIRONMENT "${win32_wine_env}" TIMEOUT 300 RUN_SERIAL ON)

# Names in Cyrillic, Greek, Chinese and an emoji wherever a name crosses to
# the system: program folders, the application-data folder, the command
# line's outputs and messages, the save dialog typed into with xdotool. In a
# wine prefix of its own, as it changes the user's shell folders.
add_test(NAME win32_names_e2e
         COMMAND bash ${win32_dialog_tests}/names_e2e.sh $<TARGET_FILE:decagon_win32> $<TARGET_FILE:decagon_cli_win32>
                 $<TARGET_FILE:win32_e2e_probe> ${DECAGON_WINE})
set_tests_properties(win32_names_e2e PROPERTIES ENVIRONMENT "WINEDEBUG=-all" TIMEOUT 300 RUN_SERIAL ON)

# decagon.exe at 96, 144 and 192 dpi, measured on screenshots and compared
# with the Qt view of the Linux build (build/, as scripts/test.sh makes it,
# when it is there); in a prefix of its own, whose resolution it changes.
set(DECAGON_QT_PROGRAM "${PROJECT_SOURCE_DIR}/build/app/decagon"
    CACHE FILEPATH "The Linux build's decagon, whose view the Windows one is compared with")
add_test(NAME win32_dpi_e2e COMMAND bash ${win32_dialog_tests}/dpi_e2e.sh $<TARGET_FILE:decagon_win32> ${DECAGON_WINE}
                                    ${DECAGON_QT_PROGRAM})
set_tests_properties(win32_dpi_e2e PROPERTIES TIMEOUT 300 RUN_SERIAL ON)

# The installer in a fresh prefix: install, run, upgrade, uninstall.
if(DECAGON_WIXL)
  add_test(NAME win32_msi COMMAND bash ${win32_dialog_tests}/msi_test.sh ${DECAGON_MSI} ${DECAGON_MSI_SOURCE}
                                  ${DECAGON_MSI_STAGE} ${PROJECT_VERSION} ${DECAGON_WINE})
  set_tests_properties(win32_msi PROPERTIES TIMEOUT 300 RUN_SERIAL ON)
endif()

# Measures, run by hand (see README): the cold start of decagon.exe against
# an empty dialog of the same size, and the dialog's opening and Compute in
# the process.
set(DECAGON_MANIFEST ${PROJECT_SOURCE_DIR}/win32/decagon.manifest)
configure_file(${win32_dialog_tests}/manifest.rc.in ${CMAKE_CURRENT_BINARY_DIR}/manifest.rc @ONLY)
add_executable(win32_empty_dialog WIN32 ${win32_dialog_tests}/emptydialog.cpp ${CMAKE_CURRENT_BINARY_DIR}/manifest.rc)
target_link_libraries(win32_empty_dialog PRIVATE decagon_win32_dialog)
add_executable(win32_dialog_bench ${win32_dialog_tests}/dialogbench.cpp)
target_link_libraries(win32_dialog_bench PRIVATE decagon_win32_dialog)
