# Cross-builds the Windows program with MinGW-w64 (x86_64, POSIX threads model).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(LORVIK_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${LORVIK_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LORVIK_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${LORVIK_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${LORVIK_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Tests and tools run under Wine; scripts/wine-ctest provides the display and the prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
