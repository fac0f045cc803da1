#!/usr/bin/env bash
# Builds and runs the demo. For now the demo is hello_vane, the framework's first example: a
# 240 x 320 display in a window (desktop platform layer on SDL2), at the largest whole scale
# that fits the desktop. Arguments go to the program: --scale N, --fullscreen,
# --dump picture.ppm (D writes the back buffer there).
#
# Without a display the program says so and runs 150 frames on the headless layer instead,
# writing its last picture to build/hello_vane.ppm.
set -euo pipefail
cd "$(dirname "$0")/.."

bash .ci/install-packages
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target hello_vane
set -- --dump build/hello_vane.ppm "$@"
./build/release/examples/hello_vane "$@"
