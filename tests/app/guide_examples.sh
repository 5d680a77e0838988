#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The user guide's chapter "Measuring with a probe" runs as written: each
# `$ ` command of its sh blocks, run from a copy of the examples with
# gndfit on the PATH, prints the lines the chapter shows after it.  This
# keeps the guide true to the program; the values themselves are checked
# against the model ground by gndfit_probe_forward_model.
#   probe_guide_examples.sh USER_GUIDE EXAMPLES_DIR PROGRAM
set -uo pipefail
guide=$1 examples=$2 program=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
printf '#!/bin/sh\nexec "%s" "$@"\n' "$program" > "$work/bin/gndfit"
chmod +x "$work/bin/gndfit"
cp -r "$examples" "$work/examples"
# The chapter's sh blocks as records: "$ command" lines and the output after.
awk '/^## Measuring with a probe/ { inside = 1; next }
     /^## / { inside = 0 }
     inside && /^```sh/ { block = 1; next }
     inside && /^```/ { block = 0; next }
     inside && block { print }' "$guide" > "$work/blocks.txt"
cd "$work"
passed=0 failed=0
check_command() {
  local command=$1 expected=$2 actual
  actual=$(PATH="$work/bin:$PATH" bash -c "$command" 2>&1 | tr -d '\r')
  if [[ "$actual" == "$expected" ]]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    printf 'FAILED: %s\n--- the guide shows:\n%s\n--- the program printed:\n%s\n' "$command" "$expected" "$actual"
  fi
}
command="" expected="" have=0 lines=0
while IFS= read -r line; do
  if [[ $line == '$ '* ]]; then
    [[ $have -eq 1 ]] && check_command "$command" "$expected"
    command=${line#'$ '} expected="" have=1 lines=0
  elif [[ $lines -eq 0 ]]; then  # counted, so that a blank first line is kept
    expected=$line lines=1
  else
    expected+=$'\n'$line
  fi
done < blocks.txt
[[ $have -eq 1 ]] && check_command "$command" "$expected"
echo "$passed passed, $failed failed"
[[ $passed -gt 0 && $failed -eq 0 ]]
