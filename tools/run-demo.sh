#!/usr/bin/env bash
# Builds and runs the demo. For now the demo is the headless sample: a program on the
# framework driven by the headless platform layer for 150 frames at 50 frames per second; it
# prints its frame figures and writes its last picture to build/headless_sample.ppm.
set -euo pipefail
cd "$(dirname "$0")/.."

bash .ci/install-packages
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target headless_sample
./build/release/examples/headless_sample 150 50 build/headless_sample.ppm
