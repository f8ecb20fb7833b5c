# What a Debian package needs beside the program (included by the cpack -G DEB settings):
# the maintainer, the extended description, a stripped program, and in
# share/doc/<package>/ the machine-readable copyright file and changelog.gz.
set(ADDRVUE_MAINTAINER "K_R_Z <quirnel-addrvue@k-r-z.example>")
set(CPACK_PACKAGE_CONTACT "${ADDRVUE_MAINTAINER}")
file(READ ${CMAKE_CURRENT_LIST_DIR}/description CPACK_DEBIAN_PACKAGE_DESCRIPTION)
set(CPACK_STRIP_FILES ON)
set(deb_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_PACKAGE_NAME})

# copyright: LICENSE holds the licence once; here its notice becomes the Copyright field and its
# text the License field's body (each line indented, a blank line written as " .").
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
if(NOT license MATCHES "Copyright \\(c\\) ([^\n]+)\n+(Permission.*)$")
  message(FATAL_ERROR "LICENSE: no \"Copyright (c) ...\" line followed by the licence text")
endif()
set(ADDRVUE_COPYRIGHT ${CMAKE_MATCH_1})
string(STRIP "${CMAKE_MATCH_2}" license_text)
string(REPLACE "\n\n" "\n.\n" license_text "${license_text}")
string(REPLACE "\n" "\n " ADDRVUE_LICENSE_TEXT " ${license_text}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/copyright.in copyright @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/copyright DESTINATION ${deb_doc_dir})

# changelog.gz, compressed as Debian's tools do: best compression, no name or time stamp.
add_custom_command(OUTPUT changelog.gz
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_LIST_DIR}/changelog changelog
  COMMAND gzip -9nf changelog
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/changelog
  VERBATIM)
add_custom_target(deb_changelog ALL DEPENDS changelog.gz)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz DESTINATION ${deb_doc_dir})
