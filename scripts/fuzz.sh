#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the libFuzzer targets (fuzz preset) and runs each for the given
# number of seconds (default 60) on its committed seed corpus.  New inputs
# go to build/fuzz/corpus/<target>; a crash, a leak, a sanitizer report or a
# failed check stops the run, leaves the input in build/fuzz/findings and
# makes the script fail.  Run longer with: scripts/fuzz.sh 3600
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
scripts/install-deps.sh fuzz
cmake --preset fuzz
cmake --build --preset fuzz
findings=build/fuzz/findings
mkdir -p "$findings"
failed=0 passed=0
# The targets the build defines (tests/fuzz/CMakeLists.txt writes the list).
mapfile -t targets < build/fuzz/fuzz_targets.txt
for target in "${targets[@]}"; do
  corpus=build/fuzz/corpus/$target
  mkdir -p "$corpus"
  echo "fuzz.sh: fuzz_$target for $seconds s"
  if build/fuzz/fuzz_$target -max_total_time="$seconds" -timeout=30 -rss_limit_mb=4096 \
       -print_final_stats=1 -artifact_prefix="$findings/$target-" \
       "$corpus" "tests/fuzz/corpus/$target" > "build/fuzz/$target.log" 2>&1; then
    passed=$((passed + 1))
    grep -E '^stat::number_of_executed_units' "build/fuzz/$target.log" || true
  else
    failed=$((failed + 1))
    echo "fuzz.sh: fuzz_$target found a fault:"
    tail -40 "build/fuzz/$target.log"
  fi
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
