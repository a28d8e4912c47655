#!/usr/bin/env bash
# Builds and runs every benchmark; one JSON object per line on stdout (progress on stderr).
#   bash scripts/bench.sh              # all: about 2.5 min at the real intervals, then the
#                                      # full 40 x 50 receiver at 1/50 of the intervals
#   bash scripts/bench.sh --quick      # without the full receiver (about 2.5 min)
#   BUILD_DIR=build-x bash scripts/bench.sh > figures.jsonl
# The benchmarks run in an empty temporary folder: the program's file dialogs watch the
# current folder, and files changing there would be counted as the program's idle cost.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${BUILD_DIR:-build}
schedule_args=()
case "${1:-}" in
  --quick) schedule_args+=(--skip-full) ;;
  "") ;;
  *) echo "usage: $0 [--quick]" >&2; exit 2 ;;
esac
export QT_QPA_PLATFORM=offscreen
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=(kestrel-bench-tables kestrel-bench-schedule kestrel-receiver-sim)
if cmake --build "$dir" --target help | grep -q kestrel-bench-serial; then targets+=(kestrel-bench-serial); fi
cmake --build "$dir" -j"${JOBS:-2}" --target "${targets[@]}" >&2
bin=$(cd "$dir/bin" && pwd)
quiet=$(mktemp -d)
trap 'rm -rf "$quiet"' EXIT
cd "$quiet"
"$bin/kestrel-bench-tables"
"$bin/kestrel-bench-schedule" "${schedule_args[@]}"
if [ -x "$bin/kestrel-bench-serial" ]; then "$bin/kestrel-bench-serial"; fi
