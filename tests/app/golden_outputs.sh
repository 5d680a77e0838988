#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs gndfit in batch on every golden input (tests/golden/*.in), each in an
# empty working directory, and compares its standard output byte for byte
# with the output computed by a separate implementation of the arithmetic.
# Every run must end with status 0 at the end of its input.
set -uo pipefail
# The arguments are the command that runs the program (an emulator first,
# for a cross-built one).
program=("$@")
golden=$(cd "$(dirname "$0")/../golden" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0 failed=0
for input in "$golden"/*.in; do
  name=$(basename "$input" .in)
  mkdir "$work/$name"
  status=0
  (cd "$work/$name" && "${program[@]}" < "$input" > out.bin) || status=$?
  if [[ $status -ne 0 ]]; then
    echo "$name: exit status $status"; failed=$((failed + 1))
  elif ! cmp "$work/$name/out.bin" "$golden/$name.out"; then
    echo "$name: output differs from $name.out"; failed=$((failed + 1))
  else
    passed=$((passed + 1))
  fi
done
echo "$passed passed, $failed failed"
[[ $failed -eq 0 && $passed -gt 0 ]]
