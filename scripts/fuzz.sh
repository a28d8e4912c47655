#!/usr/bin/env bash
# Builds the fuzz entries with clang, AddressSanitizer and UndefinedBehaviorSanitizer
# (build-fuzz) and runs each for the given number of seconds (default 20) on a copy of its
# seed corpus. New inputs collect in build-fuzz/fuzz-corpus/<entry>, crashes in
# build-fuzz/fuzz-artifacts/. Exits non-zero when any entry found a fault.
#   bash scripts/fuzz.sh            # CI: 20 s each
#   bash scripts/fuzz.sh 600        # a 10-minute run of each
#   FUZZ_ONLY="receive_line_fuzz" bash scripts/fuzz.sh 60
#   FUZZ_BUILD_DIR=build-x bash scripts/fuzz.sh    # another build folder
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
dir=${FUZZ_BUILD_DIR:-build-fuzz}

# entry name -> seed corpus folder
declare -A seeds=(
  [receive_line_fuzz]=tests/fuzz/answers/corpus/receive_line
  [answer_parser_fuzz]=tests/fuzz/answers/corpus/answer_parser
  [freq_text_fuzz]=tests/fuzz/answers/corpus/freq_text
  [exchange_image_fuzz]=tests/fuzz/exchange/corpus/image
  [exchange_csv_fuzz]=tests/fuzz/exchange/corpus/csv
)
# Longer inputs let the line assembly see lines beyond its 301-byte buffer.
declare -A maxlen=([receive_line_fuzz]=4096 [answer_parser_fuzz]=2048 [freq_text_fuzz]=64
                   [exchange_image_fuzz]=16384 [exchange_csv_fuzz]=8192)
order=(receive_line_fuzz answer_parser_fuzz freq_text_fuzz exchange_image_fuzz exchange_csv_fuzz)
if [ -n "${FUZZ_ONLY:-}" ]; then read -r -a order <<<"$FUZZ_ONLY"; fi

bash scripts/install-deps.sh clang-14 libclang-rt-14-dev
cxx=$(command -v clang++-14 || command -v clang++ || true)
if [ -z "$cxx" ]; then
  echo "fuzz.sh: clang++ not found (apt-get install clang-14 libclang-rt-14-dev)" >&2
  exit 2
fi
# Coverage instrumentation of every library, so libFuzzer sees the code under test.
cmake -S . -B "$dir" -DCMAKE_CXX_COMPILER="$cxx" -DKESTREL_SANITIZE=address \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link" >/dev/null
targets=()
for t in "${order[@]}"; do [ -d "${seeds[$t]}" ] && targets+=("$t"); done
cmake --build "$dir" -j"${JOBS:-2}" --target "${targets[@]}"

export ASAN_OPTIONS="detect_leaks=1 abort_on_error=1 ${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1 halt_on_error=1 ${UBSAN_OPTIONS:-}"
mkdir -p "$dir/fuzz-artifacts"
status=0
for t in "${targets[@]}"; do
  work="$dir/fuzz-corpus/$t"
  mkdir -p "$work"
  log="$dir/fuzz-$t.log"
  echo "== $t: ${seconds}s"
  if nice -n 10 "$dir/bin/$t" -max_total_time="$seconds" -timeout=10 -max_len="${maxlen[$t]:-4096}" \
       -print_final_stats=1 -artifact_prefix="$dir/fuzz-artifacts/$t-" "$work" "${seeds[$t]}" >"$log" 2>&1; then
    echo "   $(grep -m1 'stat::number_of_executed_units' "$log" | awk '{print $2}') executions, \
$(grep -m1 'stat::new_units_added' "$log" | awk '{print $2}') new inputs, no fault"
  else
    status=1
    echo "   FAULT (log: $log):"
    grep -E "ERROR|fuzz check failed|runtime error|SUMMARY|Test unit written" "$log" | head -n 8 | sed 's/^/   /'
  fi
done
exit $status
