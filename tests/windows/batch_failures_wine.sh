#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# gndfit.exe under Wine when its output fails: a full disk and a closed
# standard output are reported with status 1; a reader that goes away ends
# the run at once and silently, instead of computing the rest for nobody.
set -uo pipefail
exe=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
awk 'BEGIN { for (i = 0; i < 20000; i++) printf "%.3f %.1f %.2f\n", 1 + (i * 7919 % 29000) / 1000, 3 + i % 37, 0.5 + i % 50 }' > m20k.txt
passed=0 failed=0
check() {  # description, then a command that must succeed
  local what=$1; shift
  if "$@"; then passed=$((passed + 1)); else echo "FAILED: $what"; failed=$((failed + 1)); fi
}
reported() {  # status, expected start of the message
  [[ $status -eq 1 && $(cat err.txt) == "$1"* && $(wc -l < err.txt) -eq 1 ]] || { echo "status $status, stderr: $(cat err.txt)"; return 1; }
}
wine "$exe" < m20k.txt > /dev/full 2> err.txt; status=$?
check "a full disk is reported" reported "gndfit: cannot write standard output: "
wine "$exe" < m20k.txt >&- 2> err.txt; status=$?
check "a closed standard output is reported" reported "gndfit: cannot write standard output: "
start=$(date +%s)
wine "$exe" < m20k.txt 2> err.txt | head -c 100 > /dev/null
elapsed=$(( $(date +%s) - start ))
check "a broken pipe ends the run at once" test "$elapsed" -le 10
check "a broken pipe ends the run silently" test ! -s err.txt
echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
