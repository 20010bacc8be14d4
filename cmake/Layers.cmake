# Shared compile settings for every target of the project.
add_library(decagon_options INTERFACE)
target_include_directories(decagon_options INTERFACE ${PROJECT_SOURCE_DIR})
target_compile_options(decagon_options INTERFACE
  $<$<CXX_COMPILER_ID:GNU,Clang>:-Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion>
  $<$<CXX_COMPILER_ID:MSVC>:/W4>)
if(DECAGON_SANITIZE)
  target_compile_options(decagon_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                   -fno-sanitize-recover=undefined)
  target_link_options(decagon_options INTERFACE -fsanitize=address,undefined)
endif()

# decagon_core_library(name SOURCES ...): a platform-free library. It links no Qt.
function(decagon_core_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_link_libraries(${name} PUBLIC decagon_options ${ARG_DEPENDS})
  set_target_properties(${name} PROPERTIES AUTOMOC OFF AUTORCC OFF AUTOUIC OFF)
endfunction()
