# decagon-cli, the command-line companion. Its core (options, values, text
# and vector files) needs no Qt; only the image output links the Qt image
# layer, and nothing needs a display.
decagon_core_library(decagon_cli_core SOURCES cli.cpp DEPENDS decagon_model decagon_session decagon_settings
                     decagon_render_core decagon_export_core)
target_compile_definitions(decagon_cli_core PRIVATE DECAGON_VERSION="${PROJECT_VERSION}")

if(DECAGON_WITH_QT)
  add_executable(decagon_cli climain.cpp cliimage.cpp)
  target_link_libraries(decagon_cli PRIVATE decagon_cli_core decagon_export)
  set_target_properties(decagon_cli PROPERTIES OUTPUT_NAME decagon-cli)
  install(TARGETS decagon_cli RUNTIME DESTINATION bin)
endif()
