# Installing morlo-cli on Linux: the program and its manual page, and a Debian package of both
# (`cmake --build TREE --target package`), which depends on the libraries the program links as
# Debian names them (dpkg-shlibdeps finds them).
include(GNUInstallDirs)
install(TARGETS morlo-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

configure_file(docs/morlo-cli.1 ${CMAKE_BINARY_DIR}/manual/morlo-cli.1 @ONLY)
set(manual_page ${CMAKE_BINARY_DIR}/manual/man1/morlo-cli.1.gz)
# Debian keeps manual pages compressed; -n leaves the time out, so the page's bytes stay the same.
add_custom_command(OUTPUT ${manual_page}
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_BINARY_DIR}/manual/morlo-cli.1 ${CMAKE_BINARY_DIR}/manual/man1/morlo-cli.1
  COMMAND gzip -9nf ${CMAKE_BINARY_DIR}/manual/man1/morlo-cli.1
  DEPENDS ${CMAKE_BINARY_DIR}/manual/morlo-cli.1
  VERBATIM)
add_custom_target(manual_page ALL DEPENDS ${manual_page})
install(FILES ${manual_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME morlo-cli)
set(CPACK_PACKAGE_CONTACT "morlo developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "cuts looping game music out of BGM files into WAVE, FLAC or Ogg Vorbis files")
set(CPACK_PACKAGE_DESCRIPTION
    "morlo-cli reads a loop definition file (.mrl) and writes each piece it describes, introduction, loops and fade-out, as a file of its own.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
