#!/usr/bin/env bash
# Builds the program and runs the whole test suite. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
export QT_QPA_PLATFORM=offscreen
cd "${BUILD_DIR:-build}"
ctest --output-on-failure -j2 "$@"
