# Installing the libraries (versioned, with SONAME), the C headers, the
# command-line host, pkg-config files and a CMake package. The components are
# the Debian packages' contents (cmake/Package.cmake): libs (the four
# libraries), dev (headers, links, pkg-config, CMake package, pages of
# sections 3 and 7), cli (karpa and its page) and python.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

get_property(karpa_deliverables GLOBAL PROPERTY KARPA_DELIVERABLES)
foreach(target ${karpa_deliverables})
  string(REPLACE "karpa_" "" short ${target})
  set_target_properties(${target} PROPERTIES VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR}
                                             EXPORT_NAME ${short})
  target_include_directories(${target} INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
  install(TARGETS ${target} EXPORT KarpaTargets LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
          COMPONENT libs NAMELINK_COMPONENT dev)

  file(RELATIVE_PATH KARPA_PC_TO_PREFIX "/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/")
  set(KARPA_PC_NAME ${short})
  configure_file(${CMAKE_SOURCE_DIR}/cmake/templates/karpa-lib.pc.in ${CMAKE_BINARY_DIR}/pkgconfig/karpa-${short}.pc @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/pkgconfig/karpa-${short}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
          COMPONENT dev)
endforeach()

file(RELATIVE_PATH KARPA_PC_TO_PREFIX "/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/")
configure_file(${CMAKE_SOURCE_DIR}/cmake/templates/karpa.pc.in ${CMAKE_BINARY_DIR}/pkgconfig/karpa.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/pkgconfig/karpa.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT dev)

install(DIRECTORY ${CMAKE_SOURCE_DIR}/include/karpa DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT dev)
install(TARGETS karpa RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT cli)

install(EXPORT KarpaTargets NAMESPACE Karpa:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Karpa COMPONENT dev)
configure_file(${CMAKE_SOURCE_DIR}/cmake/templates/KarpaConfig.cmake.in ${CMAKE_BINARY_DIR}/KarpaConfig.cmake COPYONLY)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/KarpaConfigVersion.cmake COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/KarpaConfig.cmake ${CMAKE_BINARY_DIR}/KarpaConfigVersion.cmake
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Karpa COMPONENT dev)

# The Python package, with links in karpa/lib/ to the installed libraries so
# that it finds them beside itself.
set(KARPA_PYTHON_DIR ${CMAKE_INSTALL_LIBDIR}/python3/site-packages)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/python/karpa DESTINATION ${KARPA_PYTHON_DIR} COMPONENT python
        PATTERN __pycache__ EXCLUDE)
if(TARGET karpa_native)  # the wrappers' C path, for the Python this build found
  install(TARGETS karpa_native LIBRARY DESTINATION ${KARPA_PYTHON_DIR}/karpa)
endif()
file(RELATIVE_PATH karpa_python_to_lib /${KARPA_PYTHON_DIR}/karpa/lib /${CMAKE_INSTALL_LIBDIR})
foreach(target ${karpa_deliverables})
  install(CODE "
    set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${KARPA_PYTHON_DIR}/karpa/lib/lib${target}.so.1\")
    get_filename_component(link_dir \"\${link}\" DIRECTORY)
    file(MAKE_DIRECTORY \"\${link_dir}\")
    file(CREATE_LINK \"${karpa_python_to_lib}/lib${target}.so.1\" \"\${link}\" SYMBOLIC)
  " COMPONENT python)
endforeach()
