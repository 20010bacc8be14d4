# The Windows package: in the build folder, `cpack` makes
# decagon-<version>-windows-x86_64.zip with both programs, stripped, and the
# README, in one folder that the user unzips anywhere and runs from there.
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION .)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME decagon)
set(CPACK_PACKAGE_VENDOR decagon)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME "decagon-${PROJECT_VERSION}-windows-x86_64")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)

# The Windows installer beside the zip: build-windows/decagon-<version>-windows-x86_64.msi,
# made by msitools' wixl (Debian's wixl) from packaging/windows/decagon.wxs
# with the stripped programs, the README and the icon staged in msi/. Built
# with everything else when wixl is there.
# (DECAGON_WIXL, DECAGON_MSI and its stage are set in cmake/Windows.cmake.)
if(DECAGON_WIXL)
  add_custom_command(
    OUTPUT ${DECAGON_MSI}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${DECAGON_MSI_STAGE}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${DECAGON_MSI_STAGE}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:decagon_win32> $<TARGET_FILE:decagon_cli_win32>
            ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/win32/decagon.ico ${DECAGON_MSI_STAGE}
    COMMAND ${CMAKE_STRIP} ${DECAGON_MSI_STAGE}/decagon.exe ${DECAGON_MSI_STAGE}/decagon-cli.exe
    # wixl takes the sources' paths relative to the folder it runs in.
    COMMAND ${CMAKE_COMMAND} -E chdir ${DECAGON_MSI_STAGE} ${DECAGON_WIXL} -a x64 -D Version=${PROJECT_VERSION} -D Programs=. -D Icon=decagon.ico -o ${DECAGON_MSI}
            ${DECAGON_MSI_SOURCE}
    DEPENDS decagon_win32 decagon_cli_win32 ${DECAGON_MSI_SOURCE} ${PROJECT_SOURCE_DIR}/README.md
            ${PROJECT_SOURCE_DIR}/win32/decagon.ico
    COMMENT "Making the installer ${DECAGON_MSI}"
    VERBATIM)
  add_custom_target(decagon_msi ALL DEPENDS ${DECAGON_MSI})
endif()
