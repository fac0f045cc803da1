# zlib for the browser build, compiled from its source with the rest of the program: the
# system's libz is a native library and Emscripten's own port is fetched from the network.
# tools/fetch-zlib-source.sh unpacks Debian's zlib source into build/zlib-source; ZLIB_SOURCE_DIR
# names another folder. The target takes the name find_package(ZLIB) gives, so the libraries
# that inflate link it unchanged.
set(ZLIB_SOURCE_DIR ${PROJECT_SOURCE_DIR}/build/zlib-source CACHE PATH "zlib's source folder")
if(NOT EXISTS ${ZLIB_SOURCE_DIR}/inflate.c OR NOT EXISTS ${ZLIB_SOURCE_DIR}/zlib.h)
    message(FATAL_ERROR "No zlib source in ${ZLIB_SOURCE_DIR}: run bash tools/fetch-zlib-source.sh")
endif()
file(GLOB _vane_zlib_sources ${ZLIB_SOURCE_DIR}/*.c)
list(FILTER _vane_zlib_sources EXCLUDE REGEX "/(example|minigzip)[^/]*\\.c$")
add_library(vane_zlib STATIC ${_vane_zlib_sources})
# zlib's own code is not held to this project's warnings.
target_compile_options(vane_zlib PRIVATE -w)
target_include_directories(vane_zlib SYSTEM PUBLIC ${ZLIB_SOURCE_DIR})
add_library(ZLIB::ZLIB ALIAS vane_zlib)
set(ZLIB_INCLUDE_DIR ${ZLIB_SOURCE_DIR} CACHE PATH "" FORCE)
set(ZLIB_LIBRARY vane_zlib CACHE STRING "" FORCE)
