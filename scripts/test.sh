#!/usr/bin/env bash
# Builds the test configuration (AddressSanitizer + UndefinedBehaviorSanitizer), runs every
# test through CTest, then runs the libFuzzer harnesses for a bounded time.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/deps.sh

jobs=$(nproc)
build=build/test
# Line tables are all the sanitizer reports need; full debug information only slows the build.
# Warnings fail the build, so that none creeps in.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DCMAKE_C_FLAGS_DEBUG=-g1 \
  -DORVISTO_TESTS=ON -DORVISTO_SANITIZE=ON -DORVISTO_WERROR=ON >/dev/null
cmake --build "$build" -j "$jobs"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$build" -j "$jobs" --output-on-failure --timeout 300

# Fuzz harnesses: only with clang; each runs for FUZZ_SECONDS (default 10).
if command -v clang++ >/dev/null 2>&1; then
  fuzz=build/fuzz
  CC=clang CXX=clang++ cmake -S . -B "$fuzz" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CXX_FLAGS_RELEASE="-O1 -gline-tables-only" -DCMAKE_C_FLAGS_RELEASE="-O1 -gline-tables-only" \
    -DORVISTO_FUZZ=ON -DORVISTO_WERROR=ON >/dev/null
  cmake --build "$fuzz" -j "$jobs"
  seconds=${FUZZ_SECONDS:-10}
  export fuzz seconds
  # One harness per core at a time; each writes its own log and corpus.
  run_harness() {
    local harness=$1 name corpus seeds
    name=$(basename "$harness")
    corpus="$fuzz/corpus/$name"
    mkdir -p "$corpus"
    seeds="tests/fixtures/fuzz/${name#fuzz_}"
    [[ -d "$seeds" ]] || seeds=""
    if "$harness" -max_total_time="$seconds" -print_final_stats=0 "$corpus" $seeds >"$fuzz/$name.log" 2>&1; then
      echo "fuzzed $name for ${seconds}s: no failure"
    else
      echo "FAILED: $name (see $fuzz/$name.log)"; tail -n 40 "$fuzz/$name.log"; return 1
    fi
  }
  export -f run_harness
  status=0
  find "$fuzz/tests/fuzz" -type f -name 'fuzz_*' -perm -u+x | sort |
    xargs -P "$jobs" -I{} bash -c 'run_harness "$@"' _ {} || status=1
  [[ $status -eq 0 ]] || exit $status
  echo "fuzz harnesses: no failures"
fi
