#!/usr/bin/env bash
# Runs vorlund.exe under wine64 in an X server, from a copy in a folder of its own so that its
# settings file lands there: the window "Vorlund" opens with DirectDraw; while scene 1 shows the
# logo standing still over the gradient (frames 31 to 169) its client area equals, pixel for
# pixel, the headless picture of frame 100; a key press ends it with exit code 0 and the
# settings file written; a second run, started with a one-byte settings file, ends the same way
# through the close box and writes both bytes back.
#
# The desktop of the X server runs at 24 bits, which DirectDraw shows as 32: the demo asks for
# the back buffer in the screen's format, so the window's picture is the headless picture of a
# 32-bit (X888) display, copied without conversion.
#
#   vorlund_wine_test.sh <vorlund.exe> <work folder> <headless X888 picture of frame 100>
#
# Exit 77 (skipped) only when wine64, Xvfb or the X tools are not installed.
set -euo pipefail
program=$1
work=$2
expected=$3
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/platform/win32/wine_environment.sh
source "$here/wine_environment.sh"
vane_require_x_tools
mkdir -p "$work"
rm -rf "$work/program" "$work"/window*.png "$work"/*.log
mkdir "$work/program"
cp "$program" "$work/program/vorlund.exe"
settings="$work/program/game_nastr.cfg"
vane_wine_environment "$(dirname "$program")"

start_demo() { vane_start_program "$work/$1" '^Vorlund$' "$work/program/vorlund.exe"; }

# Waits for the demo to end; checks its exit code and the two bytes it wrote.
expect_exit_zero_and_settings() {
    local how=$1 bytes=$2
    vane_expect_exit_zero "$how"
    [ -f "$settings" ] || { echo "$how: no game_nastr.cfg beside the program"; exit 1; }
    local written
    written=$(od -An -tx1 "$settings" | tr -d ' \n')
    if [ "$written" != "$bytes" ]; then
        echo "$how: game_nastr.cfg holds '$written', not '$bytes'"
        exit 1
    fi
    echo "$how ended the demo with exit code 0 and game_nastr.cfg $written"
}

start_demo demo.log
# Frame 31 comes 0.62 s after the first frame, and the window opens before the resources load.
# A picture taken too early shows the fade-in, one taken too late the fade-out: neither equals
# frame 100, so a retry can only pass while the logo stands still.
sleep 1
matched=""
for attempt in $(seq 8); do
    import -window "$window" "$work/window.png"
    if /usr/bin/python3 "$here/compare_client_area.py" "$work/window.png" "$expected" \
        >"$work/compare.log"; then
        matched=$attempt
        break
    fi
    cp "$work/window.png" "$work/window_attempt$attempt.png"
    sleep 0.25
done
cat "$work/compare.log"
[ -n "$matched" ] || { echo "the window never showed frame 100 (pictures: $work)"; exit 1; }
echo "picture $matched equals the headless frame 100"
vane_press_key "$window" space
expect_exit_zero_and_settings "A key press" 0101

# One byte: the first setting takes it, the second keeps its default, both are written back.
printf '\000' >"$settings"
start_demo demo_close.log
sleep 1
vane_click_close_box
expect_exit_zero_and_settings "The close box" 0001
