# Building the deliverables.
#
# karpa_add_deliverable(NAME SOURCES ...) compiles the subsystem's sources once
# into an object library and links them with the frame's objects into
#   build/lib/libkarpa_NAME.so     the deliverable: exports exactly the names in
#                                   exports.txt beside the caller plus TovMain and
#                                   TovDestroyGlobals, needs only libc
#   karpa_NAME_static               the same objects as a static library, for
#                                   unit tests that call internal procedures
set(KARPA_LIFECYCLE_EXPORTS TovMain TovDestroyGlobals)

# Flags for the library code only (tests and tools may use anything).
set(KARPA_LIBRARY_FLAGS -mtls-dialect=gnu2 -fvisibility=hidden -fvisibility-inlines-hidden -ffunction-sections -fdata-sections
    -fno-math-errno)

function(karpa_add_deliverable name)
  cmake_parse_arguments(ARG "" "" "SOURCES" ${ARGN})
  add_library(karpa_${name}_obj OBJECT ${ARG_SOURCES})
  target_link_libraries(karpa_${name}_obj PUBLIC karpa_includes)
  target_compile_options(karpa_${name}_obj PRIVATE ${KARPA_LIBRARY_FLAGS})

  file(STRINGS ${CMAKE_CURRENT_SOURCE_DIR}/exports.txt exports REGEX "^[A-Za-z_0-9]+$")
  list(APPEND exports ${KARPA_LIFECYCLE_EXPORTS})
  list(JOIN exports ";\n    " export_lines)
  set(map ${CMAKE_CURRENT_BINARY_DIR}/karpa_${name}.map)
  file(WRITE ${map} "{\n  global:\n    ${export_lines};\n  local: *;\n};\n")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/exports.txt)

  add_library(karpa_${name} SHARED $<TARGET_OBJECTS:karpa_frame_obj> $<TARGET_OBJECTS:karpa_${name}_obj>)
  target_link_options(karpa_${name} PRIVATE
    -Wl,--version-script=${map} -Wl,--gc-sections -Wl,--exclude-libs,ALL -Wl,--as-needed)
  if(NOT KARPA_SANITIZE AND NOT KARPA_TSAN)
    # Sanitizer runtimes must see the C++ runtime's allocation calls, so only
    # the release build carries its own copy of libstdc++ and libgcc.
    target_link_options(karpa_${name} PRIVATE -static-libstdc++ -static-libgcc -Wl,-z,defs)
    target_sources(karpa_${name} PRIVATE ${CMAKE_SOURCE_DIR}/src/frame/static_runtime/eh_globals.cpp)
    set_source_files_properties(${CMAKE_SOURCE_DIR}/src/frame/static_runtime/eh_globals.cpp
      TARGET_DIRECTORY karpa_${name} PROPERTIES COMPILE_OPTIONS "${KARPA_LIBRARY_FLAGS}")
  endif()
  set_target_properties(karpa_${name} PROPERTIES LINK_DEPENDS ${map})

  add_library(karpa_${name}_static STATIC $<TARGET_OBJECTS:karpa_frame_obj> $<TARGET_OBJECTS:karpa_${name}_obj>)
  target_link_libraries(karpa_${name}_static PUBLIC karpa_includes)
  set_property(GLOBAL APPEND PROPERTY KARPA_DELIVERABLES karpa_${name})
endfunction()

# Adds every subdirectory of the current source directory that has a CMakeLists.txt.
function(karpa_add_present_subdirectories)
  file(GLOB children RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child ${children})
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${child} AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()
