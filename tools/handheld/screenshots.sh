#!/usr/bin/env bash
# The simulator's pictures for the documentation: vorlund_pda (the demo on the simulated Pocket
# PC) in an X server of its own (Xvfb), upright and after a quarter turn to the right.
#
#   tools/handheld/screenshots.sh <vorlund_pda> <output folder> [profile]
#
# The demo runs in real time: the upright picture is taken about 5.6 s in (scene 1, the model
# flying past the first slogan), the turned one about 3 s after R was pressed. The demo follows
# the device, so after the turn its picture stays in the panel's layout and turns with the face.
set -euo pipefail
program=$1
out=$2
profile=${3:-pocketpc}
for tool in Xvfb xdotool import; do
    if ! command -v "$tool" >/dev/null; then
        echo "$tool is not installed (Debian packages xvfb, xdotool, imagemagick)"
        exit 1
    fi
done
mkdir -p "$out"
work=$(mktemp -d)
# shellcheck source=tools/xvfb.sh
source "$(dirname "$0")/../xvfb.sh"
vane_start_xvfb 1280x900x24 "$work/xvfb.log"
simulator=""
cleanup() {
    if [ -n "$simulator" ] && kill -0 "$simulator" 2>/dev/null; then kill "$simulator"; fi
    vane_stop_xvfb
    rm -rf "$work"
}
trap cleanup EXIT
export SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy

"$program" --profile "$profile" --registry "$work/registry.txt" >"$work/simulator.log" 2>&1 &
simulator=$!
window=$(timeout 20 xdotool search --sync --name 'Pocket PC simulator' | head -1)
[ -n "$window" ] || { cat "$work/simulator.log"; echo "the simulator's window did not appear"; exit 1; }
sleep 5.6
import -window "$window" "$out/handheld_portrait.png"
xdotool key --window "$window" r
sleep 3
import -window "$window" "$out/handheld_rotated.png"
xdotool key --window "$window" Escape
wait "$simulator"
simulator=""
echo "wrote $out/handheld_portrait.png and $out/handheld_rotated.png"
