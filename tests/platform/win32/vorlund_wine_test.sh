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
for tool in xdotool import; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIPPED: $tool is not installed (Debian packages xdotool, imagemagick)"
        exit 77
    fi
done
mkdir -p "$work"
rm -rf "$work/program" "$work"/window*.png "$work"/*.log
mkdir "$work/program"
cp "$program" "$work/program/vorlund.exe"
settings="$work/program/game_nastr.cfg"
# shellcheck source=tests/platform/win32/wine_environment.sh
source "$here/wine_environment.sh"
vane_wine_environment "$(dirname "$program")"

demo_pid=""
stop_demo() {
    if [ -n "$demo_pid" ] && kill -0 "$demo_pid" 2>/dev/null; then kill -9 "$demo_pid"; fi
}
trap 'stop_demo; [ -z "${VANE_XVFB:-}" ] || kill "$VANE_XVFB" 2>/dev/null || true' EXIT

# Starts the demo and sets window to its X window.
start_demo() {
    "$VANE_WINE" "$work/program/vorlund.exe" >"$work/$1" 2>&1 &
    demo_pid=$!
    window=$(timeout 60 xdotool search --sync --name '^Vorlund$' | head -1)
    [ -n "$window" ] || { echo "the demo's window did not appear"; cat "$work/$1"; exit 1; }
}

# Waits for the demo to end; checks its exit code and the two bytes it wrote.
expect_exit_zero_and_settings() {
    local how=$1 bytes=$2
    for _ in $(seq 200); do
        kill -0 "$demo_pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$demo_pid" 2>/dev/null; then echo "$how did not end the demo"; exit 1; fi
    set +e
    wait "$demo_pid"
    local status=$?
    set -e
    demo_pid=""
    [ "$status" -eq 0 ] || { echo "$how: the demo exited with $status"; exit 1; }
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
geometry=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')
width=${geometry%x*}
# The close box is the caption's last button, at its right end.
xdotool mousemove --window "$window" $((width - 12)) 12 click 1
expect_exit_zero_and_settings "The close box" 0001
