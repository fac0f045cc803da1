# What both Windows toolchains share; each sets CMAKE_SYSTEM_PROCESSOR and VANE_MINGW_PREFIX
# first. The posix-thread variants of the compilers carry the C++ thread library the shared
# main loop sleeps through; -static puts libgcc, libstdc++ and winpthread into each .exe, so
# the programs run without extra DLLs.
set(CMAKE_SYSTEM_NAME Windows)

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
