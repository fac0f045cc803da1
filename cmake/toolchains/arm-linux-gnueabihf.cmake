# 32-bit ARM (hard-float Linux), the processor the handheld program ran on: Debian's cross
# compiler, the armhf multiarch libraries, and qemu-arm to run what is built (tests included).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR arm)

set(CMAKE_C_COMPILER arm-linux-gnueabihf-gcc)
set(CMAKE_CXX_COMPILER arm-linux-gnueabihf-g++)

# Libraries of the target only: Debian's armhf multiarch packages (zlib, SDL2, libopenmpt)
# lie in lib/arm-linux-gnueabihf and share /usr/include; programs (python3, ...) are the build
# machine's. pkg-config reads the armhf descriptions.
set(CMAKE_FIND_ROOT_PATH /usr/arm-linux-gnueabihf /)
set(CMAKE_LIBRARY_ARCHITECTURE arm-linux-gnueabihf)
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/arm-linux-gnueabihf/pkgconfig:/usr/share/pkgconfig)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# ctest (and gtest_discover_tests) run the ARM programs through the emulator, with the armhf
# multiarch root as the target's file system: its loader then belongs to the C library the
# multiarch libraries load. The cross compiler's own root (-L /usr/arm-linux-gnueabihf) would
# pair that root's loader (libc6-armhf-cross) with the multiarch libc.so.6 found next to SDL2,
# two different builds of glibc, which crashed the first thread a program started (SDL's audio
# thread) inside libc.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-arm -L /)
