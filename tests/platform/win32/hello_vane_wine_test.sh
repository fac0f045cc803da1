#!/usr/bin/env bash
# Runs hello_vane.exe under wine64 in an X server: its window opens with DirectDraw, a
# screenshot of the window (paused, so that the picture stands still) shows the back buffer the
# example writes on 'D' at the client area with the status line below it, Escape ends it with
# exit code 0, and a second run ends the same way through the close box.
#
#   hello_vane_wine_test.sh <hello_vane.exe> <work folder>
#
# Exit 77 (skipped) only when wine64, Xvfb or the X tools are not installed.
set -euo pipefail
example=$1
work=$2
here=$(cd "$(dirname "$0")" && pwd)
for tool in xdotool import; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIPPED: $tool is not installed (Debian packages xdotool, imagemagick)"
        exit 77
    fi
done
mkdir -p "$work"
rm -f "$work"/backbuffer.ppm "$work"/window.png "$work"/example*.log
# shellcheck source=tests/platform/win32/wine_environment.sh
source "$here/wine_environment.sh"
vane_wine_environment "$(dirname "$example")"

example_pid=""
stop_example() {
    if [ -n "$example_pid" ] && kill -0 "$example_pid" 2>/dev/null; then kill -9 "$example_pid"; fi
}
trap 'stop_example; [ -z "${VANE_XVFB:-}" ] || kill "$VANE_XVFB" 2>/dev/null || true' EXIT

# Starts the example and sets window to its X window once frames run.
start_example() {
    "$VANE_WINE" "$example" --dump "Z:$work/backbuffer.ppm" >"$work/$1" 2>&1 &
    example_pid=$!
    window=$(timeout 60 xdotool search --sync --name '^VANELIB hello$' | head -1)
    [ -n "$window" ] || { echo "the example's window did not appear"; cat "$work/$1"; exit 1; }
    sleep 2
}

# Waits for the example to end and checks its exit code.
expect_exit_zero() {
    for _ in $(seq 200); do
        kill -0 "$example_pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$example_pid" 2>/dev/null; then echo "$1 did not end the example"; exit 1; fi
    set +e
    wait "$example_pid"
    local status=$?
    set -e
    example_pid=""
    [ "$status" -eq 0 ] || { echo "$1: the example exited with $status"; exit 1; }
    echo "$1 ended the example with exit code 0"
}

start_example example.log
vane_press_key "$window" space  # pause: the picture stops changing
sleep 0.3
vane_press_key "$window" d
for _ in $(seq 100); do
    grep -q "back buffer written" "$work/example.log" && break
    sleep 0.1
done
grep -q "back buffer written" "$work/example.log" || { echo "no back buffer"; exit 1; }
sleep 0.5
import -window "$window" "$work/window.png"
/usr/bin/python3 "$here/find_display.py" "$work/window.png" "$work/backbuffer.ppm" |
    tee "$work/compare.log"
rows_below=$(sed -n 's/.*; \([0-9]*\) rows below it/\1/p' "$work/compare.log")
[ "${rows_below:-0}" -ge 10 ] || { echo "no status line under the display"; exit 1; }
vane_press_key "$window" Escape
expect_exit_zero "Escape"

start_example example_close.log
geometry=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')
width=${geometry%x*}
# The close box is the caption's last button, at its right end.
xdotool mousemove --window "$window" $((width - 12)) 12 click 1
expect_exit_zero "The close box"
