#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Times the real program in batch use: 50,000 realistic measurements (the
# same spread as bench/batch_bench.cpp, from awk's generator with a fixed
# seed) piped through it into a file.  Usage: bench/batch_time.sh [program]
set -euo pipefail
program=${1:-build/release/gndfit}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
awk 'BEGIN { srand(7); split("0.5 1.8 3.5 7 10 14 21 28.5", c, " ");
             for (i = 0; i < 50000; i++)
               printf "%.3f %.2f %.3f\n", c[i % 8 + 1] * (0.8 + 0.4 * rand()), 3 + 37 * rand(), 0.5 + 49.5 * rand() }' \
  > "$work/measurements.txt"
times=()
for run in 1 2 3 4 5; do
  start=$EPOCHREALTIME
  "$program" < "$work/measurements.txt" > "$work/table.txt"
  times+=("$start $EPOCHREALTIME")
done
printf '%s\n' "${times[@]}" | awk '{ t = $2 - $1; if (NR == 1 || t < best) best = t }
  END { printf "50000 measurements: best of 5 runs %.3f s, %.2f us each\n", best, best * 1e6 / 50000 }'
