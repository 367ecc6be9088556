#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (address and undefined-behaviour
# sanitizers) into build-fuzz/ and runs each for SECONDS (default 30).
# Each starts from its seeds in tests/fuzz/corpus/<target>/ (a crash found
# earlier is kept there and must no longer crash) plus what earlier runs
# found, kept in build-fuzz/corpus/<target>/. A crash stops the script; the
# input is left in build-fuzz/crashes/ to be fixed and added to the seeds.
# Usage: fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
seconds=${1:-30}

TARGETS=(
  fuzz_commatext
  fuzz_numbertext
  fuzz_calclists
  fuzz_settings
  fuzz_updates
  fuzz_webtext
  fuzz_notes
  fuzz_report
  fuzz_listparser
)

launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
if [ ! -f build-fuzz/build.ninja ]; then
  cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++-15 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DZELMORA_FUZZ=ON "${launcher[@]}" >/dev/null
fi
cmake --build build-fuzz --target "${TARGETS[@]}"

mkdir -p build-fuzz/crashes
for t in "${TARGETS[@]}"; do
  mkdir -p "build-fuzz/corpus/$t"
  echo "== $t (${seconds} s)"
  # Leaks are found by the address sanitizer's run at the end of each input;
  # -timeout catches an input that makes the code hang.
  if ! ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
       "build-fuzz/tests/fuzz/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -print_final_stats=0 -artifact_prefix="build-fuzz/crashes/$t-" \
       "build-fuzz/corpus/$t" "tests/fuzz/corpus/$t" >"build-fuzz/$t.log" 2>&1; then
    tail -n 60 "build-fuzz/$t.log"
    echo "FAIL: $t found a crash; its input is in build-fuzz/crashes/"
    exit 1
  fi
  grep -E "^#[0-9]+[[:space:]]+DONE" "build-fuzz/$t.log" | tail -n 1 || true
done
echo "fuzz: all ${#TARGETS[@]} targets ran ${seconds} s each without a crash"
