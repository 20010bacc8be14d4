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
