#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs gndfit with redirected input and output in a scratch directory: the
# two worked examples must come out byte for byte as written from their
# tables (worked_examples.expected), the run must end with status 0 at the
# end of the input, and without a window no position file may be made and
# one that is there must be left byte for byte.
set -euo pipefail
# The arguments are the command that runs the program (an emulator first,
# for a cross-built one).
program=("$@")
expected=$(cd "$(dirname "$0")" && pwd)/worked_examples.expected
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
status=0
printf '10 15 5\r\n28.5,13,10\r\n' | "${program[@]}" > out.bin || status=$?
[[ $status -eq 0 ]] || { echo "exit status $status"; exit 1; }
cmp out.bin "$expected" || { echo "output differs from the worked examples"; od -c out.bin | head -20; exit 1; }
[[ ! -e gndfit.ini ]] || { echo "a position file was made without a window"; exit 1; }
# Four bytes already there are kept as they are when there is no window.
printf '\x00\x01\x60\x01tail' > gndfit.ini
printf '10 15 5\n' | "${program[@]}" > /dev/null
[[ $(od -An -c gndfit.ini | tr -d ' \n') == '\0001`001tail' ]] || { echo "position file changed"; od -c gndfit.ini; exit 1; }
echo "1 passed, 0 failed"
