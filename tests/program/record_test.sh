#!/usr/bin/env bash
# The demo's own recording and sound file: `vorlund --record` checked by ffprobe (frame count,
# 50 fps, an audio stream as long as the video), the --audio-out file beside it by soxi and sox
# (rate, length to the frame, the music audible).
#
#   record_test.sh <vorlund> <work folder>
#
# Exit 77 (skipped) only when ffmpeg or sox is not installed.
set -euo pipefail
# A cross build's program runs through its emulator (VANE_PROGRAM_RUNNER, empty natively).
read -r -a runner <<<"${VANE_PROGRAM_RUNNER:-}"
vorlund=("${runner[@]}" "$(realpath "$1")")
work=$2
here=$(cd "$(dirname "$0")" && pwd)
for tool in ffmpeg ffprobe sox soxi; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIPPED: $tool is not installed (Debian packages ffmpeg, sox)"
        exit 77
    fi
done
rm -rf "$work"
mkdir -p "$work"
cd "$work"
fail() { echo "FAIL: $*"; exit 1; }

"${vorlund[@]}" --record "$work/demo.mp4" --audio-out "$work/demo.wav" --frames 250 2>"$work/run.log" ||
    { cat "$work/run.log"; fail "the recording failed"; }
cat "$work/run.log"
bash "$here/check_recording.sh" "$work/demo.mp4" 250

# 250 frames of 20 ms: 5 s, 110 250 frames at 22 050 Hz, stereo 16-bit as the demo opens it.
[ "$(soxi -r demo.wav)" = 22050 ] || fail "sound rate $(soxi -r demo.wav)"
[ "$(soxi -c demo.wav)" = 2 ] || fail "sound channels $(soxi -c demo.wav)"
[ "$(soxi -s demo.wav)" = 110250 ] || fail "sound length $(soxi -s demo.wav) frames"
rms=$(sox demo.wav -n stat 2>&1 | sed -n 's/^RMS     amplitude: *//p')
awk -v r="$rms" 'BEGIN { exit !(r > 0.005) }' || fail "the music is not audible (RMS $rms)"
echo "sound file: 110250 frames at 22050 Hz, RMS $rms"
