#!/usr/bin/env bash
# Runs a Windows program under wine64 with the environment the Win32 tests need, and returns
# its exit code:
#   - a wine prefix made once and reused ($VANE_WINEPREFIX, else one beside the program);
#   - an X server: $DISPLAY when set, else an Xvfb of its own for the length of the run.
# Exit 77 (skipped) only when wine64 or Xvfb is not installed.
#
#   run_under_wine.sh <program.exe> [arguments...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/platform/win32/wine_environment.sh
source "$here/wine_environment.sh"
vane_wine_environment "$(dirname "$1")"
set +e
"$VANE_WINE" "$@"
status=$?
set -e
exit "$status"
