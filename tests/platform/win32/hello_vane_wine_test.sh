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
# shellcheck source=tests/platform/win32/wine_environment.sh
source "$here/wine_environment.sh"
vane_require_x_tools
mkdir -p "$work"
rm -f "$work"/backbuffer.ppm "$work"/window.png "$work"/example*.log
vane_wine_environment "$(dirname "$example")"

# Starts the example and waits until frames run.
start_example() {
    vane_start_program "$work/$1" '^VANELIB hello$' "$example" --dump "Z:$work/backbuffer.ppm"
    sleep 2
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
vane_expect_exit_zero "Escape"
echo "Escape ended the example with exit code 0"

start_example example_close.log
vane_click_close_box
vane_expect_exit_zero "The close box"
echo "The close box ended the example with exit code 0"
