# The browser build: Emscripten's own toolchain file, found where Debian's emscripten package
# puts it or under EMSCRIPTEN_ROOT.
if(DEFINED ENV{EMSCRIPTEN_ROOT})
    set(_vane_emscripten_root "$ENV{EMSCRIPTEN_ROOT}")
else()
    set(_vane_emscripten_root /usr/share/emscripten)
endif()
set(_vane_emscripten_toolchain ${_vane_emscripten_root}/cmake/Modules/Platform/Emscripten.cmake)
if(NOT EXISTS ${_vane_emscripten_toolchain})
    message(FATAL_ERROR "Emscripten not found: no ${_vane_emscripten_toolchain} (set EMSCRIPTEN_ROOT)")
endif()
include(${_vane_emscripten_toolchain})
