find_package(kissfft CONFIG REQUIRED COMPONENTS SHARED float)
add_library(morlo_fft INTERFACE)
target_link_libraries(morlo_fft INTERFACE kissfft::kissfft-float)
