# morlo_codecs: libFLAC, libvorbisenc, libvorbisfile, libvorbis and libogg, the encoders of the
# FLAC and Ogg Vorbis writers and the decoders of the loop search.
# Linux uses Debian's libraries; the Windows tree links the static ones scripts/windows-libs.sh
# builds from Debian's source packages into the build folder.
add_library(morlo_codecs INTERFACE)

if(WIN32)
  set(MORLO_WINDOWS_LIBS_DIR "" CACHE PATH "Where scripts/windows-libs.sh installed the MinGW-w64 libraries")
  if(NOT EXISTS "${MORLO_WINDOWS_LIBS_DIR}/lib/libFLAC.a")
    message(FATAL_ERROR
      "The MinGW-w64 libFLAC, libvorbis and libogg are not at MORLO_WINDOWS_LIBS_DIR='${MORLO_WINDOWS_LIBS_DIR}': "
      "run scripts/setup.sh, which builds them into the build folder")
  endif()
  # The folder is outside the cross-compiler's root, which would otherwise be put in front of it.
  foreach(package Ogg Vorbis FLAC)
    find_package(${package} CONFIG REQUIRED PATHS "${MORLO_WINDOWS_LIBS_DIR}" NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  endforeach()
  target_link_libraries(morlo_codecs INTERFACE FLAC::FLAC Vorbis::vorbisenc Vorbis::vorbisfile)
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(MORLO_CODECS REQUIRED IMPORTED_TARGET flac vorbisenc vorbisfile vorbis ogg)
  target_link_libraries(morlo_codecs INTERFACE PkgConfig::MORLO_CODECS)
endif()
