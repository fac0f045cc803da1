# Cross-building for Windows (i686) with Debian's mingw-w64. The posix-thread variants of the
# compilers carry the C++ thread library the shared main loop sleeps through; -static puts
# libgcc, libstdc++ and winpthread into each .exe, so the programs run without extra DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(VANE_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${VANE_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VANE_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VANE_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VANE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# zlib from libz-mingw-w64-dev, linked in statically like the runtime.
set(ZLIB_USE_STATIC_LIBS ON)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# The vector blit loops take SSE2 registers, as every processor Windows still runs on has.
set(CMAKE_C_FLAGS_INIT "-msse2")
set(CMAKE_CXX_FLAGS_INIT "-msse2")
