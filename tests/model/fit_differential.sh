#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The whole fit with both extended types: the x87 build and the software
# build of fit_trace must print the same bits for every measurement.
#   fit_differential.sh COUNT X87_TRACE SOFT_TRACE
# With no x87 build to compare with, the test is skipped (status 77).
set -euo pipefail
count=$1
if [[ $# -lt 3 ]]; then
  echo "skipped: this build has no x87 model to compare the software type with (no x87, or a cross build whose native x86 build compares them)"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$2" 20261209 "$count" > "$work/x87.txt" &
"$3" 20261209 "$count" > "$work/soft.txt"
wait $!
lines=$(wc -l < "$work/x87.txt")
if [[ $lines -ne $count ]]; then
  echo "x87 trace has $lines lines, expected $count"
  exit 1
fi
if ! cmp -s "$work/x87.txt" "$work/soft.txt"; then
  echo "the fits differ; first differing measurements (x87 <, software >):"
  diff "$work/x87.txt" "$work/soft.txt" | head -6
  exit 1
fi
echo "$count measurements: passes, evaluations, indexes, fitted points and band values identical"
