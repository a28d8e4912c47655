#!/usr/bin/env bash
# Builds the program and runs the test suite. Exits non-zero on any failure.
# Extra arguments go to ctest. The full 40 x 50 round trip against the simulator (label
# "long", well over ten minutes) is left out unless asked for: bash scripts/test.sh -L long
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
export QT_QPA_PLATFORM=offscreen
cd "${BUILD_DIR:-build}"
if [ $# -eq 0 ]; then
  set -- -LE long
fi
ctest --output-on-failure -j2 "$@"
