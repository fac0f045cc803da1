#!/usr/bin/env bash
# What the vorlund entry writes, checked with tools that know nothing of it: shots (Pillow),
# the sound file (soxi, sox) and a recording (ffprobe), for the probe application of
# probe_app.cpp, whose pictures and clicks are known in advance.
#
#   probe_outputs_test.sh <vorlund_probe> <work folder>
#
# Exit 77 (skipped) only when sox or ffmpeg is not installed.
set -euo pipefail
# A cross build's program runs through its emulator (VANE_PROGRAM_RUNNER, empty natively).
read -r -a runner <<<"${VANE_PROGRAM_RUNNER:-}"
probe=("${runner[@]}" "$1")
work=$2
for tool in sox soxi ffprobe ffmpeg; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIPPED: $tool is not installed (Debian packages sox, ffmpeg)"
        exit 77
    fi
done
rm -rf "$work"
mkdir -p "$work"
fail() { echo "FAIL: $*"; exit 1; }

# 100 frames headless with the sound to a file and three shots.
"${probe[@]}" --headless --frames 100 --audio-out "$work/sound.wav" --shot 0,57,99 \
    --shot-dir "$work/shots" 2>"$work/run.log" || { cat "$work/run.log"; fail "probe run failed"; }

# 100 frames of 20 ms at 22 050 Hz: 44 100 stereo 16-bit frames, exactly.
[ "$(soxi -r "$work/sound.wav")" = 22050 ] || fail "rate $(soxi -r "$work/sound.wav")"
[ "$(soxi -c "$work/sound.wav")" = 2 ] || fail "channels $(soxi -c "$work/sound.wav")"
[ "$(soxi -b "$work/sound.wav")" = 16 ] || fail "bits $(soxi -b "$work/sound.wav")"
[ "$(soxi -s "$work/sound.wav")" = 44100 ] || fail "length $(soxi -s "$work/sound.wav") frames"

# Frame n's sound starts at n x 441 frames of output: silence before the click of frame 10,
# the click from there, silence between it and the click of frame 60.
peak() {  # peak <start frame> <frames>: the largest sample magnitude there
    sox "$work/sound.wav" -n trim "${1}s" "${2}s" stat 2>&1 |
        awk '/^(Maximum|Minimum) amplitude:/ { v = $3 < 0 ? -$3 : $3; if (v > p) p = v }
             END { printf "%f\n", p }'
}
audible() { awk -v a="$1" 'BEGIN { exit !(a > 0) }'; }
loud() { awk -v a="$1" 'BEGIN { exit !(a > 0.1) }'; }
silent() { awk -v a="$1" 'BEGIN { exit !(a == 0) }'; }
silent "$(peak 0 4410)" || fail "sound before frame 10: peak $(peak 0 4410)"
loud "$(peak 4410 441)" || fail "no click at frame 10: peak $(peak 4410 441)"
silent "$(peak 6000 20000)" || fail "sound between the clicks: peak $(peak 6000 20000)"
loud "$(peak 26460 441)" || fail "no click at frame 60: peak $(peak 26460 441)"
audible "$(peak 4410 1)" || fail "the click of frame 10 does not start at frame 4410"
audible "$(peak 26460 1)" || fail "the click of frame 60 does not start at frame 26460"
echo "sound: 44100 frames, clicks at 4410 and 26460"

# Each shot holds the colour of its frame as a 565 screen shows it.
/usr/bin/python3 - "$work/shots" <<'PY'
import sys
from PIL import Image

def widened(value, bits):
    v = value >> (8 - bits)
    return (v << (8 - bits)) | (v >> (2 * bits - 8))

for n in (0, 57, 99):
    picture = Image.open(f"{sys.argv[1]}/frame_{n:06d}.png")
    assert picture.size == (240, 320), picture.size
    expected = (widened((n % 32) * 8, 5), widened((n // 32 % 64) * 4, 6),
                widened(255 if n % 2 else 0, 5))
    colours = picture.convert("RGB").getcolors()
    assert colours == [(240 * 320, expected)], (n, colours[:3], expected)
print("shots: frames 0, 57, 99 hold their colours")
PY
[ "$(ls "$work/shots")" = "$(printf 'frame_000000.png\nframe_000057.png\nframe_000099.png')" ] ||
    fail "unexpected shot files: $(ls "$work/shots")"

# The recording: 150 frames at 50 fps, 480 x 640, with 3 s of sound.
"${probe[@]}" --record "$work/probe.mp4" --frames 150 2>"$work/record.log" ||
    { cat "$work/record.log"; fail "recording failed"; }
bash "$(dirname "$0")/check_recording.sh" "$work/probe.mp4" 150
[ ! -e "$work/probe.mp4.video.mp4" ] && [ ! -e "$work/probe.mp4.sound.wav" ] ||
    fail "working files left beside the recording"
# The virtual clock and a fixed encoder set-up: the same recording, byte for byte, every time.
"${probe[@]}" --record "$work/again.mp4" --frames 150 2>"$work/record.log" ||
    { cat "$work/record.log"; fail "second recording failed"; }
[ "$(md5sum <"$work/probe.mp4")" = "$(md5sum <"$work/again.mp4")" ] ||
    fail "two recordings of the same frames differ"
echo "recording: the same bytes on a second run"

# A shot folder that cannot be made, and a sound file that cannot be written: exit 1, said.
touch "$work/not_a_folder"
set +e
"${probe[@]}" --headless --frames 3 --shot 1 --shot-dir "$work/not_a_folder/x" 2>"$work/bad.log"
[ $? -eq 1 ] || fail "unusable shot folder: exit code not 1"
grep -q "^vorlund: --shot-dir: " "$work/bad.log" || fail "unusable shot folder not named"
"${probe[@]}" --headless --frames 3 --audio-out "$work/not_a_folder/s.wav" 2>"$work/bad.log"
[ $? -eq 1 ] || fail "unwritable sound file: exit code not 1"
set -e
echo "probe outputs: all as expected"
