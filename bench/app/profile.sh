#!/usr/bin/env bash
# Where the demo's time goes: app_bench under valgrind's callgrind (perf is rarely available
# in containers), then the largest costs by the instructions spent in each function itself.
#
#   bash bench/app/profile.sh [frames]     (default 4501: the whole timeline; about a minute)
#
# Needs the release build of app_bench (cmake --build --preset release --target app_bench).
set -euo pipefail
cd "$(dirname "$0")/../.."
frames=${1:-4501}
bench=build/release/bench/app/app_bench
[ -x "$bench" ] || { echo "build app_bench first: cmake --build --preset release --target app_bench"; exit 1; }
command -v valgrind >/dev/null || { echo "valgrind is not installed (Debian package valgrind)"; exit 1; }
out=build/app_bench.callgrind
valgrind --tool=callgrind --callgrind-out-file="$out" "$bench" --frames "$frames" >/dev/null 2>&1
echo "callgrind profile of $frames frames: $out (open with kcachegrind or callgrind_annotate)"
echo "the five largest costs (instructions in the function itself):"
callgrind_annotate --threshold=100 "$out" 2>/dev/null | grep -E '^ *[0-9,]+ \( *[0-9.]+%\) ' |
    grep -v 'PROGRAM TOTALS' | head -5 | sed -E 's/ \[[^]]*\]$//'
