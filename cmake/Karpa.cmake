# Building the deliverables.
#
# karpa_add_deliverable(NAME SOURCES ...) compiles the subsystem's sources once
# into an object library and links them with the frame's objects into
#   build/lib/libkarpa_NAME.so     the deliverable: exports exactly the rows of
#                                   src/exports.def for NAME plus TovMain and
#                                   TovDestroyGlobals, needs only libc
#   karpa_NAME_static               the same objects as a static library, for
#                                   unit tests that call internal procedures
include(${CMAKE_CURRENT_LIST_DIR}/Tiers.cmake)

set(KARPA_LIFECYCLE_EXPORTS TovMain TovDestroyGlobals)
set(KARPA_EXPORT_TABLE ${CMAKE_SOURCE_DIR}/src/exports.def)
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${KARPA_EXPORT_TABLE})

# What the shipped binaries (the libraries and the karpa command) are built
# with, as distributions build code that reads untrusted input: stack canaries,
# CET landing pads and return checks, checked libc calls where the object size
# is known, a read-only GOT bound at load time, no executable stack.
set(KARPA_HARDENING_FLAGS -fstack-protector-strong -fcf-protection=full)
if(NOT KARPA_SANITIZE AND NOT KARPA_TSAN)
  # The sanitizers check these calls themselves; FORTIFY needs the optimiser,
  # and level 3 (sizes known only at run time) needs GCC 12 or clang 10.
  if((CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12) OR
     (CMAKE_CXX_COMPILER_ID MATCHES "Clang" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 10))
    set(karpa_fortify 3)
  else()
    set(karpa_fortify 2)
  endif()
  list(APPEND KARPA_HARDENING_FLAGS -U_FORTIFY_SOURCE $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=${karpa_fortify}>)
endif()
set(KARPA_HARDENING_LINK_FLAGS -Wl,-z,relro,-z,now -Wl,-z,noexecstack)

# Flags for the library code only (tests and tools may use anything).
set(KARPA_LIBRARY_FLAGS -mtls-dialect=gnu2 -fno-plt -fvisibility=hidden -fvisibility-inlines-hidden -ffunction-sections -fdata-sections
    -fno-math-errno ${KARPA_HARDENING_FLAGS})

# The names of the export table's rows for one library.
function(karpa_table_exports library out)
  file(STRINGS ${KARPA_EXPORT_TABLE} rows REGEX "^KARPA_EXPORT_ROW\\(${library}, ")
  set(names)
  foreach(row IN LISTS rows)
    string(REGEX REPLACE "^KARPA_EXPORT_ROW\\([a-z]+, [^,]+, ([A-Za-z_0-9]+),.*$" "\\1" name "${row}")
    list(APPEND names ${name})
  endforeach()
  set(${out} ${names} PARENT_SCOPE)
endfunction()

function(karpa_add_deliverable name)
  cmake_parse_arguments(ARG "" "" "SOURCES" ${ARGN})
  karpa_tier_sources(${ARG_SOURCES})
  add_library(karpa_${name}_obj OBJECT ${ARG_SOURCES})
  target_link_libraries(karpa_${name}_obj PUBLIC karpa_includes)
  target_compile_options(karpa_${name}_obj PRIVATE ${KARPA_LIBRARY_FLAGS})

  karpa_table_exports(${name} exports)
  if(NOT exports)
    message(FATAL_ERROR "src/exports.def has no row for library ${name}")
  endif()
  list(APPEND exports ${KARPA_LIFECYCLE_EXPORTS})
  list(JOIN exports ";\n    " export_lines)
  set(map ${CMAKE_CURRENT_BINARY_DIR}/karpa_${name}.map)
  file(CONFIGURE OUTPUT ${map} CONTENT "{\n  global:\n    ${export_lines};\n  local: *;\n};\n")

  add_library(karpa_${name} SHARED $<TARGET_OBJECTS:karpa_frame_obj> $<TARGET_OBJECTS:karpa_${name}_obj>)
  target_link_options(karpa_${name} PRIVATE
    -Wl,--version-script=${map} -Wl,--gc-sections -Wl,--exclude-libs,ALL -Wl,--as-needed ${KARPA_HARDENING_LINK_FLAGS})
  if(NOT KARPA_SANITIZE AND NOT KARPA_TSAN)
    # Sanitizer runtimes must see the C++ runtime's allocation calls, so only
    # the release build carries its own copy of libstdc++ and libgcc.
    target_link_options(karpa_${name} PRIVATE -static-libstdc++ -static-libgcc -Wl,-z,defs)
    target_sources(karpa_${name} PRIVATE $<TARGET_OBJECTS:karpa_static_runtime_obj>)
  endif()
  set_target_properties(karpa_${name} PROPERTIES LINK_DEPENDS ${map})

  add_library(karpa_${name}_static STATIC $<TARGET_OBJECTS:karpa_frame_obj> $<TARGET_OBJECTS:karpa_${name}_obj>)
  target_link_libraries(karpa_${name}_static PUBLIC karpa_includes)
  set_property(GLOBAL APPEND PROPERTY KARPA_DELIVERABLES karpa_${name})
endfunction()
