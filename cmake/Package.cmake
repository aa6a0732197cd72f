# Debian packages: `cpack -G DEB` in the build folder makes
#   libkarpa1_<version>_amd64.deb     the four libraries
#   libkarpa-dev_<version>_amd64.deb  headers, links, pkg-config, CMake package, pages of sections 3 and 7
#   karpa_<version>_amd64.deb         the command line and its page
# each with its copyright file and changelog, as Debian's policy asks.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME karpa)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Karpa authors")
set(CPACK_PACKAGE_CONTACT "Karpa <dev@karpa.invalid>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL libs dev cli)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SOURCE karpa)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://karpa.invalid/")
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
find_program(KARPA_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(KARPA_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6 (>= 2.35)")
endif()

set(CPACK_DEBIAN_LIBS_PACKAGE_NAME libkarpa${PROJECT_VERSION_MAJOR})
set(CPACK_DEBIAN_LIBS_PACKAGE_SECTION libs)
# A shlibs file for the libraries (only libkarpa1 holds any) and the
# loader cache refreshed by dpkg's trigger.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
file(WRITE ${CMAKE_BINARY_DIR}/deb-control/triggers "activate-noawait ldconfig\n")
set(CPACK_DEBIAN_LIBS_PACKAGE_CONTROL_EXTRA ${CMAKE_BINARY_DIR}/deb-control/triggers)
set(CPACK_DEBIAN_DEV_PACKAGE_NAME libkarpa-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_CLI_PACKAGE_NAME karpa)
set(CPACK_DEBIAN_CLI_PACKAGE_SECTION utils)

set(karpa_about "Karpa is four independent shared libraries with a flat C interface, for
hosts in any language: list operations over integers, floats and strings
(karpa_seq), statistics and collections (karpa_curried), proleptic Gregorian
calendar arithmetic in UTC (karpa_datetime), and MD5, SHA-1, SHA-256 and HMAC
digests (karpa_crypto). Lists travel in as comma-separated text and results
come back as text.")
set(CPACK_COMPONENT_LIBS_DESCRIPTION "list, statistics, calendar and digest libraries with a C interface
${karpa_about}

This package holds the four shared libraries; each needs only libc.")
set(CPACK_COMPONENT_DEV_DESCRIPTION "development files of the Karpa libraries
${karpa_about}

This package holds the C headers, pkg-config files, the CMake package and the
manual pages of every export (section 3) and of their contract (karpa(7)).")
set(CPACK_COMPONENT_CLI_DESCRIPTION "call the Karpa libraries from the shell
${karpa_about}

This package holds the karpa command, which calls any export with the
arguments given on its command line.")

# The command opens the libraries with dlopen, so no shared-library
# dependency is found for it.
set(CPACK_COMPONENT_DEV_DEPENDS libs)
set(CPACK_COMPONENT_CLI_DEPENDS libs)

# /usr/share/doc/<package>/copyright (machine-readable) and changelog.gz,
# installed only by the packages.
find_program(KARPA_GZIP gzip REQUIRED)
file(READ ${CMAKE_SOURCE_DIR}/LICENSE karpa_license)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]*)" karpa_copyright_line "${karpa_license}")
set(karpa_copyright_holder "${CMAKE_MATCH_1}")
string(REGEX REPLACE "^MIT License\n\nCopyright [^\n]*\n\n" "" karpa_license_text "${karpa_license}")
string(REGEX REPLACE "\n\n" "\n.\n" karpa_license_text "${karpa_license_text}")
string(REGEX REPLACE "\n" "\n " karpa_license_text "${karpa_license_text}")
string(REGEX REPLACE "\n $" "" karpa_license_text "${karpa_license_text}")
set(KARPA_DEB_DOC ${CMAKE_BINARY_DIR}/deb-doc)
file(WRITE ${KARPA_DEB_DOC}/copyright
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: karpa

Files: *
Copyright: ${karpa_copyright_holder}
License: Expat
 ${karpa_license_text}
")
file(WRITE ${KARPA_DEB_DOC}/changelog
"karpa (${PROJECT_VERSION}) unstable; urgency=medium

  * Karpa ${PROJECT_VERSION}; the changes are listed in CHANGELOG.md of the source.

 -- ${CPACK_PACKAGE_CONTACT}  ${KARPA_RELEASE_DATE}
")
execute_process(COMMAND ${KARPA_GZIP} -9nf ${KARPA_DEB_DOC}/changelog)
foreach(component libs dev cli)
  string(TOUPPER ${component} upper)
  install(FILES ${KARPA_DEB_DOC}/copyright ${KARPA_DEB_DOC}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${CPACK_DEBIAN_${upper}_PACKAGE_NAME}
          COMPONENT ${component} EXCLUDE_FROM_ALL)
endforeach()

include(CPack)
