#!/usr/bin/env bash
# Checks a vorlund recording with ffprobe: the video has exactly <frames> frames at 50 per
# second, 480 x 640 (the 240 x 320 display at scale 2), and an audio stream as long as the
# video to within one AAC block (1024 samples at 22 050 Hz, 46 ms).
#
#   check_recording.sh <file.mp4> <frames>
set -euo pipefail
file=$1
frames=$2
fail() { echo "FAIL: $file: $*"; exit 1; }
probe() { ffprobe -v error -select_streams "$1" -show_entries "$2" -of default=nw=1:nk=1 "$file"; }

[ "$(probe v:0 stream=codec_name)" = h264 ] || fail "video codec $(probe v:0 stream=codec_name)"
[ "$(probe v:0 stream=width),$(probe v:0 stream=height)" = "480,640" ] ||
    fail "size $(probe v:0 stream=width)x$(probe v:0 stream=height)"
[ "$(probe v:0 stream=r_frame_rate)" = 50/1 ] || fail "frame rate $(probe v:0 stream=r_frame_rate)"
counted=$(ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames \
    -of default=nw=1:nk=1 "$file")
[ "$counted" = "$frames" ] || fail "$counted video frames, expected $frames"
[ "$(probe a:0 stream=codec_name)" = aac ] || fail "no AAC audio stream"
[ "$(probe a:0 stream=sample_rate)" = 22050 ] || fail "audio rate $(probe a:0 stream=sample_rate)"
audio=$(probe a:0 stream=duration)
awk -v a="$audio" -v f="$frames" 'BEGIN { d = a - f / 50; exit !(d > -0.047 && d < 0.047) }' ||
    fail "audio lasts $audio s, the video $(awk -v f="$frames" 'BEGIN { print f / 50 }') s"
echo "recording $file: $counted frames at 50 fps, 480x640, audio $audio s"
