# Cross-compiles for 64-bit Windows with MinGW-w64 (Debian's g++-mingw-w64-x86-64). The posix
# thread model, since GoogleTest needs std::mutex; everything is linked statically, so the
# programs run without the compiler's DLLs beside them. Tests run through Wine when it is there.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUILLET_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QUILLET_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUILLET_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${QUILLET_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUILLET_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

find_program(QUILLET_WINE NAMES wine wine64)
if(QUILLET_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QUILLET_WINE})
endif()
