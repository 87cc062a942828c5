# morlo_fft: KissFFT with float samples, the one FFT target the core links.
# Linux uses Debian's libkissfft-dev; Debian has no MinGW-w64 build of it, so the Windows tree
# compiles the two sources it needs from Debian's source package, which scripts/setup.sh fetches.
add_library(morlo_fft INTERFACE)

if(WIN32)
  set(MORLO_KISSFFT_SOURCE_DIR "" CACHE PATH "Unpacked Debian source package of kissfft")
  if(NOT EXISTS "${MORLO_KISSFFT_SOURCE_DIR}/kiss_fftr.c")
    message(FATAL_ERROR
      "KissFFT's source is not at MORLO_KISSFFT_SOURCE_DIR='${MORLO_KISSFFT_SOURCE_DIR}': "
      "run scripts/setup.sh, which fetches it into the build folder")
  endif()
  add_library(morlo_kissfft STATIC
    ${MORLO_KISSFFT_SOURCE_DIR}/kiss_fft.c
    ${MORLO_KISSFFT_SOURCE_DIR}/kiss_fftr.c)
  # The datatype Debian's kissfft-float exports, so both builds compute alike; KISS_FFT_SHARED
  # stays off, as it would mark the functions dllimport.
  target_compile_definitions(morlo_kissfft PUBLIC kiss_fft_scalar=float)
  target_include_directories(morlo_kissfft SYSTEM PUBLIC ${MORLO_KISSFFT_SOURCE_DIR})
  # KissFFT's own build (and so Debian's library) uses fast math; its warnings are not ours.
  target_compile_options(morlo_kissfft PRIVATE -ffast-math -w)
  target_link_libraries(morlo_fft INTERFACE morlo_kissfft)
else()
  # Debian ships only the shared library, so the component must say so.
  find_package(kissfft CONFIG REQUIRED COMPONENTS SHARED float)
  target_link_libraries(morlo_fft INTERFACE kissfft::kissfft-float)
endif()
