# Cross-building for Windows (i686, the original's target) with Debian's mingw-w64.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VANE_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)

# The vector blit loops take SSE2 registers, as every processor Windows still runs on has.
set(CMAKE_C_FLAGS_INIT "-msse2")
set(CMAKE_CXX_FLAGS_INIT "-msse2")
