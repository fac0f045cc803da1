#!/usr/bin/env bash
# Takes the screenshots of the examples in docs/ from their windows on a virtual X server
# (Xvfb), as a user would see them: the desktop layer, SDL2, the window at scale 1.
#
# usage: examples/screenshots.sh [BUILD_FOLDER]   (default: build/release, examples built)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
display=:57

Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
program=""
# Whatever stops the script, the program and the server go with it.
trap 'kill $program "$xvfb" 2>/dev/null || true' EXIT
sleep 1

# shot OUT.png TITLE KEYS COMMAND...: runs the command, presses the keys in its window, grabs it.
shot() {
    local out=$1 title=$2 keys=$3
    shift 3
    DISPLAY=$display "$@" --scale 1 &
    program=$!
    local window="" tries=0
    while [ -z "$window" ] && [ $tries -lt 20 ]; do
        sleep 0.5
        tries=$((tries + 1))
        window=$(DISPLAY=$display xdotool search --name "$title" 2>/dev/null | head -1 || true)
    done
    if [ -z "$window" ]; then
        echo "no window named '$title' appeared" >&2
        exit 1
    fi
    sleep 2  # a few frames drawn
    if [ -n "$keys" ]; then
        # shellcheck disable=SC2086  # one argument per key
        DISPLAY=$display xdotool windowfocus --sync "$window" key --delay 300 $keys
        sleep 1
    fi
    DISPLAY=$display import -window "$window" "$out"
    kill "$program"
    wait "$program" || true
    program=""
    optipng -quiet -o2 "$out"
    echo "$out"
}

shot docs/image_viewer.png "VANELIB image viewer" "" "$build/examples/image_viewer" assets/logo.png
shot docs/model_viewer.png "VANELIB model viewer" "3 Left Left Up" \
    "$build/examples/model_viewer" assets/laser_tower.3ds
