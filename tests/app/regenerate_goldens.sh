#!/usr/bin/env bash
# Writes the golden pictures of tests/app/golden/ anew from the demo's headless run (both
# displays), after the demo or what it draws with changed on purpose. Look at every picture
# before committing them.
set -euo pipefail
cd "$(dirname "$0")/../.."
cmake --preset release >/dev/null
cmake --build --preset release -j2 --target app_golden_tests
VORLUND_REGENERATE_GOLDENS=1 ./build/release/tests/app/app_golden_tests
echo "written: tests/app/golden/565 and tests/app/golden/x888"
