#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The outputs' cost against the computation's, each pair run alternately
# (A B A B ...) in one run, with the median of each and their ratio:
#   csv    100,000 realistic measurements (the generator of batch_time.sh)
#          through `gndfit --csv` against the table path (`gndfit`);
#   probe  a 100,000-point sweep of the short probe (C0 = 5 pF, the
#          examples' model ground with a seeded spread) through
#          `gndfit --probe` to CSV against the same with `--joint`;
#   soft   50,000 measurements through the table path of a second program
#          (the software extended type's build) against the first.
# Standard output and the error stream each go to a file of their own.
# Usage: bench/output_time.sh csv|probe [program] [runs]
#        bench/output_time.sh soft program soft_program [runs]
set -euo pipefail
what=$1
program=${2:-build/release/gndfit}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

measurements() {
  awk -v n="$1" 'BEGIN { srand(7); split("0.5 1.8 3.5 7 10 14 21 28.5", c, " ");
    for (i = 0; i < n; i++)
      printf "%.3f %.2f %.3f\n", c[i % 8 + 1] * (0.8 + 0.4 * rand()), 3 + 37 * rand(), 0.5 + 49.5 * rand() }'
}

# The short probe's R and X (Y = j omega C0 eps*) over 1 to 30 MHz for the
# model ground of examples/README.md, each point's ground spread by up to
# 5% so that no two lines are alike.
probe_sweep() {
  awk -v n="$1" 'BEGIN { srand(11); pi = 3.141592653589793; eps0 = 8.8541878128e-12; c0 = 5e-12;
    for (i = 0; i < n; i++) {
      f = (1 + 29 * i / n) * 1e6; w = 2 * pi * f;
      x = 0.005 * (0.95 + 0.1 * rand()); e = 13 * (0.95 + 0.1 * rand());
      s = x * (1 + sqrt(4 * pi * f * eps0 * e / x)); er = e * (1 + sqrt(x / (pi * f * eps0 * e)));
      # Y = j w C0 (er - j s / (w eps0)) = w C0 s / (w eps0) + j w C0 er; Z = 1 / Y
      g = c0 * s / eps0; b = w * c0 * er; d = g * g + b * b;
      printf "%.6f,%.17g,%.17g\n", f / 1e6, g / d, -b / d } }'
}

# Times of `runs` alternate runs of the two commands given as strings.
alternate() {
  local runs=$1 first=$2 second=$3 start
  for ((run = 0; run < runs; run++)); do
    start=$EPOCHREALTIME; eval "$first" > "$work/out.txt" 2> "$work/errors.txt"; echo "a $start $EPOCHREALTIME"
    start=$EPOCHREALTIME; eval "$second" > "$work/out.txt" 2> "$work/errors.txt"; echo "b $start $EPOCHREALTIME"
  done | awk -v A="$4" -v B="$5" '
    { t = $3 - $2; if ($1 == "a") a[na++] = t; else b[nb++] = t }
    function median(v, n,   i, j, s) {
      for (i = 1; i < n; i++) for (j = i; j > 0 && v[j - 1] > v[j]; j--) { s = v[j]; v[j] = v[j - 1]; v[j - 1] = s }
      return n % 2 ? v[int(n / 2)] : (v[n / 2 - 1] + v[n / 2]) / 2 }
    END { ma = median(a, na); mb = median(b, nb);
          printf "%s: median of %d %.3f s; %s: median of %d %.3f s; ratio %.2f\n", A, na, ma, B, nb, mb, ma / mb }'
}

case $what in
  csv)
    measurements 100000 > "$work/m.txt"
    alternate "${3:-7}" "$program --csv $work/m.txt" "$program $work/m.txt" "--csv" "table" ;;
  probe)
    probe_sweep 100000 > "$work/sweep.csv"
    alternate "${3:-7}" "$program --probe short,c0=5 $work/sweep.csv" \
      "$program --probe short,c0=5 --joint $work/sweep.csv" "--probe to CSV" "--probe --joint" ;;
  soft)
    soft=$3
    measurements 50000 > "$work/m.txt"
    alternate "${4:-7}" "$soft < $work/m.txt" "$program < $work/m.txt" "soft" "x87" ;;
  *) echo "usage: $0 csv|probe [program] [runs] | soft program soft_program [runs]" >&2; exit 2 ;;
esac
