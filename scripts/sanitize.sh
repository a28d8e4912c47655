#!/usr/bin/env bash
# Builds the tree with a sanitizer and runs ctest on it.
#   bash scripts/sanitize.sh address [ctest args...]   -> build-asan (ASan + UBSan)
#   bash scripts/sanitize.sh thread  [ctest args...]   -> build-tsan (TSan, built with clang)
# Example: bash scripts/sanitize.sh thread -L serial
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:-}
shift || true
case "$mode" in
  address) dir=build-asan ;;
  thread) dir=build-tsan ;;
  *) echo "usage: $0 address|thread [ctest args...]" >&2; exit 2 ;;
esac

cmake_args=(-DKESTREL_SANITIZE="$mode" -DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "$mode" = thread ]; then
  bash scripts/install-deps.sh clang-14 libclang-rt-14-dev
  # g++'s TSan runtime reports false races inside Qt's (uninstrumented) event loop; the
  # clang build with the suppressions for Qt internals below does not.
  if command -v clang++-14 >/dev/null; then
    cmake_args+=(-DCMAKE_CXX_COMPILER=clang++-14)
  elif command -v clang++ >/dev/null; then
    cmake_args+=(-DCMAKE_CXX_COMPILER=clang++)
  fi
  export TSAN_OPTIONS="suppressions=$PWD/scripts/tsan-qt.supp halt_on_error=1 second_deadlock_stack=1 ${TSAN_OPTIONS:-}"
else
  export ASAN_OPTIONS="detect_leaks=1 abort_on_error=1 ${ASAN_OPTIONS:-}"
  export UBSAN_OPTIONS="print_stacktrace=1 halt_on_error=1 ${UBSAN_OPTIONS:-}"
fi

cmake -S . -B "$dir" "${cmake_args[@]}" >/dev/null
# KESTREL_TARGETS="a b" builds only those targets (ctest then runs what was built).
if [ -n "${KESTREL_TARGETS:-}" ]; then
  read -r -a targets <<<"$KESTREL_TARGETS"
  cmake --build "$dir" -j"${JOBS:-2}" --target "${targets[@]}"
else
  cmake --build "$dir" -j"${JOBS:-2}"
fi
export QT_QPA_PLATFORM=offscreen
cd "$dir"
ctest --output-on-failure "$@"
