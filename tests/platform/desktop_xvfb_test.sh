#!/usr/bin/env bash
# Runs hello_vane in a real X server (Xvfb) through SDL's x11 driver, drives it with key
# presses and a mouse click (XTEST, as a user would), then compares a screenshot of the window
# with the back buffer the example writes on 'D'.
#
#   desktop_xvfb_test.sh <hello_vane> <work folder>
#
# Exit 77 (skipped) only when the X tools are not installed.
set -euo pipefail
# A cross build's program runs through its emulator (VANE_PROGRAM_RUNNER, empty natively).
read -r -a runner <<<"${VANE_PROGRAM_RUNNER:-}"
example=("${runner[@]}" "$1")
work=$2
here=$(cd "$(dirname "$0")" && pwd)

for tool in Xvfb xdotool import; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIPPED: $tool is not installed (Debian packages xvfb, xdotool, imagemagick)"
        exit 77
    fi
done
mkdir -p "$work"
rm -f "$work"/backbuffer.ppm "$work"/screenshot.png "$work"/example.log

# shellcheck source=tools/xvfb.sh
source "$here/../../tools/xvfb.sh"
vane_start_xvfb 1024x768x24 "$work/xvfb.log" || exit 1
example_pid=""
cleanup() {
    if [ -n "$example_pid" ] && kill -0 "$example_pid" 2>/dev/null; then kill -9 "$example_pid"; fi
    vane_stop_xvfb
}
trap cleanup EXIT
export SDL_VIDEODRIVER=x11
# Emulated, Mesa's llvmpipe takes about half a second a frame; SDL's software renderer, still
# on the x11 driver, keeps the example at its own speed.
if [ ${#runner[@]} -gt 0 ]; then
    export SDL_RENDER_DRIVER=software SDL_FRAMEBUFFER_ACCELERATION=0
fi
# Under the sanitizers, leaks are not checked here: the x11 driver's D-Bus library keeps
# buffers to the end whose allocation stacks cannot be unwound cheaply. The desktop layer's own
# leaks are checked by its tests on the dummy driver, which run the same code.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

"${example[@]}" --scale 2 --dump "$work/backbuffer.ppm" >"$work/example.log" 2>&1 &
example_pid=$!
window=$(timeout 20 xdotool search --sync --name '^VANELIB hello' | head -1)
[ -n "$window" ] || { echo "the example's window did not appear"; cat "$work/example.log"; exit 1; }

# Frames run once a measured frame rate is in the title (the first second shows 0.00).
for _ in $(seq 100); do
    case "$(xdotool getwindowname "$window")" in
        *" 0.00 frames per second") ;;
        *"frames per second") break ;;
    esac
    sleep 0.1
done
title=$(xdotool getwindowname "$window")
echo "window title: $title"
case "$title" in
    "VANELIB hello - "*" frames per second") ;;
    *) echo "unexpected title"; exit 1 ;;
esac
size=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')
[ "$size" = "480x640" ] || { echo "window is $size, expected 480x640 (240 x 320 at scale 2)"; exit 1; }

xdotool windowfocus --sync "$window"
xdotool key space  # pause: the picture stops changing
xdotool mousemove --window "$window" 101 151 click 1
xdotool key Right Right Up
sleep 0.3
xdotool key d
for _ in $(seq 100); do
    grep -q "back buffer written" "$work/example.log" && break
    sleep 0.1
done
sleep 0.2
import -window "$window" "$work/screenshot.png"
xdotool key Escape
for _ in $(seq 100); do
    kill -0 "$example_pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$example_pid" 2>/dev/null; then echo "Esc did not end the example"; exit 1; fi
set +e
wait "$example_pid"
status=$?
set -e
example_pid=""
cat "$work/example.log"
[ "$status" -eq 0 ] || { echo "the example exited with $status"; exit 1; }

# The keys moved the square two steps right and one up; the click at window pixel (101, 151)
# is display pixel (50, 75) at scale 2.
grep -q "square 124,192; 1 marks, last at 50,75" "$work/example.log" ||
    { echo "keys or click did not arrive as expected"; exit 1; }
/usr/bin/python3 "$here/compare_screenshot.py" "$work/screenshot.png" "$work/backbuffer.ppm" 2
