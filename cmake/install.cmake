# Installing morlo-cli on Linux: the program, its manual pages, its bash and zsh completion and its
# documents, and a Debian package of them all (`cmake --build TREE --target package`), which
# depends on the libraries the program links as Debian names them (dpkg-shlibdeps finds them).
include(GNUInstallDirs)
install(TARGETS morlo-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(CPACK_PACKAGE_NAME morlo-cli)
set(CPACK_PACKAGE_CONTACT "morlo developers <developers@morlo.invalid>")
set(doc_folder ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_PACKAGE_NAME})

# Debian keeps manual pages and long documents compressed; -n leaves the time out, so that the
# bytes stay the same from build to build.
set(compressed "")
function(install_compressed source destination)
  get_filename_component(name ${source} NAME)
  set(copy ${CMAKE_BINARY_DIR}/compressed/${destination}/${name})
  add_custom_command(OUTPUT ${copy}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${copy}
    COMMAND gzip -9nf ${copy}
    DEPENDS ${source}
    VERBATIM)
  install(FILES ${copy}.gz DESTINATION ${destination})
  set(compressed ${compressed} ${copy}.gz PARENT_SCOPE)
endfunction()

foreach(page morlo-cli.1 morlo-mrl.5)
  configure_file(docs/${page} ${CMAKE_BINARY_DIR}/manual/${page} @ONLY)
  string(REGEX REPLACE ".*\\." "man" section ${page})
  install_compressed(${CMAKE_BINARY_DIR}/manual/${page} ${CMAKE_INSTALL_MANDIR}/${section})
endforeach()
install_compressed(${CMAKE_SOURCE_DIR}/README.md ${doc_folder})
install_compressed(${CMAKE_SOURCE_DIR}/docs/changelog ${doc_folder})
install(FILES docs/copyright DESTINATION ${doc_folder})
add_custom_target(compressed_documents ALL DEPENDS ${compressed})

# The completions are made from the usage of the program just built.
set(completion_templates ${CMAKE_SOURCE_DIR}/completion/morlo-cli.bash.in ${CMAKE_SOURCE_DIR}/completion/_morlo-cli.in)
set(completions ${CMAKE_BINARY_DIR}/completion/morlo-cli ${CMAKE_BINARY_DIR}/completion/_morlo-cli)
add_custom_command(OUTPUT ${completions}
  COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:morlo-cli> "-DTEMPLATES=${completion_templates}"
          "-DOUTPUTS=${completions}" -P ${CMAKE_SOURCE_DIR}/cmake/completions.cmake
  DEPENDS morlo-cli ${completion_templates} ${CMAKE_SOURCE_DIR}/cmake/completions.cmake
  VERBATIM)
add_custom_target(completions ALL DEPENDS ${completions})
install(FILES ${CMAKE_BINARY_DIR}/completion/morlo-cli DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
install(FILES ${CMAKE_BINARY_DIR}/completion/_morlo-cli DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "cuts looping game music out of BGM files into WAVE, FLAC or Ogg files")
# Lines of at most 80 columns, as Debian's tools show them.
set(CPACK_PACKAGE_DESCRIPTION [[morlo-cli reads a loop definition file (.mrl), which tells where each piece
of music lies as raw sample data in large BGM wave files and where its loop is,
and writes each piece as a file of its own: the introduction, the loop as
often as asked and a fade-out, as WAVE, FLAC or Ogg Vorbis, with tags and
loop points on request.
.
It also checks definitions for pieces that would fail and loops that click,
and finds where a piece's music loops.]])
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
