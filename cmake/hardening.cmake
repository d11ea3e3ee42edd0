# The hardening a Linux distribution gives its programs: fortified C library calls, a stack
# protector, position-independent executables, and relocations made read-only once bound at
# start-up. The sanitizer builds turn it off, as fortified calls go past AddressSanitizer's
# checks.
option(QUILLET_HARDEN "Build with fortified calls, a stack protector, PIE and full RELRO" ON)

set(CMAKE_POSITION_INDEPENDENT_CODE ON)
include(CheckPIESupported)
check_pie_supported()

if(QUILLET_HARDEN AND CMAKE_SYSTEM_NAME STREQUAL "Linux")
  add_compile_options(-fstack-protector-strong)
  # Fortifying works only with the optimiser, and a level the packager chose in the flags wins.
  if(NOT CMAKE_CXX_FLAGS MATCHES "_FORTIFY_SOURCE")
    add_compile_options(
      "$<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")
  endif()
  add_link_options(LINKER:-z,relro,-z,now)
endif()
