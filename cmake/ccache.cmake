# Rebuilds of unchanged sources come from ccache: the presets and make ask for it, and a machine
# without it still builds, only slower.
option(QUILLET_CCACHE "Compile through ccache when it is installed" OFF)
if(QUILLET_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
  find_program(QUILLET_CCACHE_PROGRAM ccache)
  if(QUILLET_CCACHE_PROGRAM)
    set(CMAKE_CXX_COMPILER_LAUNCHER ${QUILLET_CCACHE_PROGRAM})
  else()
    message(STATUS "ccache not found: compiling without it")
  endif()
endif()
