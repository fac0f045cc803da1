#!/usr/bin/env bash
# The demo in a real X server (Xvfb) through SDL's x11 driver: its window shows what the
# headless run draws, and a key press ends it with exit code 0.
#
# Scene 1 frames 31 to 169 show one picture (the logo faded in, before it fades out), so a
# screenshot taken in that span (about 0.6 to 3.4 s in) equals the headless picture of frame
# 100 at the window's scale.
#
#   xvfb_test.sh <vorlund> <work folder>
#
# Exit 77 (skipped) only when the X tools are not installed.
set -euo pipefail
# A cross build's program runs through its emulator (VANE_PROGRAM_RUNNER, empty natively).
read -r -a runner <<<"${VANE_PROGRAM_RUNNER:-}"
vorlund=("${runner[@]}" "$1")
work=$2
compare=$(cd "$(dirname "$0")/../platform" && pwd)/compare_screenshot.py

for tool in Xvfb xdotool import; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIPPED: $tool is not installed (Debian packages xvfb, xdotool, imagemagick)"
        exit 77
    fi
done
rm -rf "$work"
mkdir -p "$work"
fail() { echo "FAIL: $*"; [ -f "$work/window.log" ] && cat "$work/window.log"; exit 1; }

"${vorlund[@]}" --headless --mute --frames 101 --shot 100 --shot-dir "$work" 2>"$work/headless.log" ||
    { cat "$work/headless.log"; fail "the headless run failed"; }

# shellcheck source=tools/xvfb.sh
source "$(dirname "$0")/../../tools/xvfb.sh"
vane_start_xvfb 1024x768x24 "$work/xvfb.log" || fail "no X server"
demo=""
cleanup() {
    if [ -n "$demo" ] && kill -0 "$demo" 2>/dev/null; then kill -9 "$demo"; fi
    vane_stop_xvfb
}
trap cleanup EXIT
# No sound card here: SDL's dummy audio driver takes the demo's sound.
export SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy
# Emulated, Mesa's llvmpipe takes about half a second a frame (measured under qemu-arm: 50
# frames in 31 s, against 1.6 s this way); SDL's software renderer, still on the x11 driver,
# keeps the demo at its own speed.
if [ ${#runner[@]} -gt 0 ]; then
    export SDL_RENDER_DRIVER=software SDL_FRAMEBUFFER_ACCELERATION=0
fi
# The x11 driver's D-Bus library keeps buffers to the end (see tests/platform).
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

"${vorlund[@]}" --scale 2 >"$work/window.log" 2>&1 &
demo=$!
window=$(timeout 20 xdotool search --sync --name '^Vorlund' | head -1)
[ -n "$window" ] || fail "the demo's window did not appear"
size=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')
[ "$size" = "480x640" ] || fail "window is $size, expected 480x640 (240 x 320 at scale 2)"
# Frame 100 is 2 s in at full speed; anything from frame 31 to 169 shows the same picture.
# Screenshots are taken until one shows it, so a slower build (the sanitizers) passes too.
shown=""
for attempt in $(seq 40); do
    sleep 0.25
    import -window "$window" "$work/screenshot.png" 2>>"$work/import.log" || continue
    if /usr/bin/python3 "$compare" "$work/screenshot.png" "$work/frame_000100.png" 2 \
        >"$work/compare.log" 2>&1; then
        shown="after $attempt screenshots"
        break
    fi
done
[ -n "$shown" ] || { cat "$work/compare.log"; fail "the window never showed the headless picture of frame 100"; }
cat "$work/compare.log"
xdotool windowfocus --sync "$window" key space
for _ in $(seq 100); do
    kill -0 "$demo" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$demo" 2>/dev/null && fail "a key press did not end the demo"
set +e
wait "$demo"
status=$?
set -e
demo=""
[ "$status" -eq 0 ] || fail "the demo exited with $status"
# --frames ends a windowed run by itself, with exit code 0.
timeout 30 "${vorlund[@]}" --frames 50 >"$work/frames.log" 2>&1 || fail "--frames 50 in a window: exit $?"

echo "window: frame 100's picture at scale 2 ($shown); a key ended the demo, --frames 50 ended a run;" \
    "both with exit code 0"
