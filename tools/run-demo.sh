#!/usr/bin/env bash
# Builds and runs the Vorlund demo (build/release/programs/vorlund/vorlund). With a display it
# opens a window at the largest whole scale that fits the desktop; any key or a double click
# ends it. Arguments go to the program: --scale N, --fullscreen, --frames N, --shot LIST,
# --mute, ... (vorlund --help lists them).
#
# Without a display (no X server or Wayland session) it records the first 75 seconds (scenes 1
# and 2 and the start of scene 3) to build/vorlund.mp4 instead and says where the file is.
set -euo pipefail
cd "$(dirname "$0")/.."

bash .ci/install-packages
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target vorlund
program=build/release/programs/vorlund/vorlund

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ] || [ -n "${SDL_VIDEODRIVER:-}" ]; then
    exec "$program" "$@"
fi
echo "No display: recording the first 75 seconds of the demo instead."
"$program" --record build/vorlund.mp4 --frames 3750 "$@"
echo "The recording is $(pwd)/build/vorlund.mp4 (75 s, 480 x 640 at 50 frames per second)."
