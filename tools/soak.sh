#!/usr/bin/env bash
# Soak: the demo runs 1 000 000 frames headless (about 5.5 hours of demo time, nearly all of it
# scene 3), its resident memory sampled once a second. It passes when the largest sample of the
# last tenth of the run is no higher than the largest of the second tenth: memory that grows
# frame by frame shows there, while the first tenth still holds the start-up.
#
#   bash tools/soak.sh [frames] [program]    (defaults: 1000000, the release build's vorlund)
#
# The run takes a while; start it at low priority: nice -n 19 bash tools/soak.sh
set -euo pipefail
cd "$(dirname "$0")/.."
frames=${1:-1000000}
program=${2:-}
if [ -z "$program" ]; then
    cmake --preset release >/dev/null
    cmake --build --preset release -j2 --target vorlund >/dev/null
    program=build/release/programs/vorlund/vorlund
fi
samples=build/soak_rss.txt
mkdir -p build
: >"$samples"

start=$(date +%s)
"$program" --headless --mute --frames "$frames" 2>build/soak.log &
pid=$!
while kill -0 "$pid" 2>/dev/null; do
    rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status" 2>/dev/null || true)
    [ -n "$rss" ] && echo "$rss" >>"$samples"
    sleep 1
done
set +e
wait "$pid"
status=$?
set -e
seconds=$(( $(date +%s) - start ))
[ "$status" -eq 0 ] || { cat build/soak.log; echo "soak: the demo exited with $status"; exit 1; }

count=$(wc -l <"$samples")
[ "$count" -ge 20 ] || { echo "soak: only $count samples; run more frames"; exit 1; }
# Largest sample of tenth t (1 to 10), in KiB.
tenth_max() {
    awk -v t="$1" -v n="$count" 'NR > int((t - 1) * n / 10) && NR <= int(t * n / 10) {
        if ($1 > m) m = $1 } END { print m }' "$samples"
}
first=$(head -1 "$samples")
second=$(tenth_max 2)
last=$(tenth_max 10)
peak=$(sort -n "$samples" | tail -1)
echo "soak: $frames frames in $seconds s ($(( frames / (seconds > 0 ? seconds : 1) )) frames/s)," \
    "$count RSS samples ($samples)"
echo "soak: resident memory first sample $first KiB, second tenth max $second KiB," \
    "last tenth max $last KiB, peak $peak KiB"
if [ "$last" -gt "$second" ]; then
    echo "soak: FAIL: resident memory grew ($last KiB at the end > $second KiB in the second tenth)"
    exit 1
fi
echo "soak: ok: the last tenth is no higher than the second tenth"
