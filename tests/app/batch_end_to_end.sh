#!/usr/bin/env bash
# Runs gndfit with redirected input and output in a scratch directory and
# checks the bytes of the worked example, the exit status and the position file.
set -euo pipefail
# The arguments are the command that runs the program (an emulator first,
# for a cross-built one).
program=("$@")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
printf '10 15 5\n' | "${program[@]}" > out.bin
status=$?
expected_tail=$'   2.36       1.64       1.37       1.19       1.00       0.84       0.74       0.69       0.63       0.59\r\n\r\n'
head=$'Gndfit ground constants\r\n\r\nFrequency MHz   Permittivity   Conductivity mS/m   Relative skin depth\r\n\r\n\r\n'
actual=$(cat out.bin; echo x)
actual=${actual%x}
[[ $status -eq 0 ]] || { echo "exit status $status"; exit 1; }
[[ $actual == "$head"* ]] || { echo "heading differs"; od -c out.bin | head; exit 1; }
[[ $actual == *"$expected_tail" ]] || { echo "last row differs"; od -c out.bin | tail; exit 1; }
[[ -f gndfit.ini && ! -s gndfit.ini ]] || { echo "position file not created empty"; exit 1; }
# Four bytes already there are kept as they are when there is no window.
printf '\x00\x01\x60\x01tail' > gndfit.ini
"${program[@]}" < /dev/null > /dev/null
[[ $(cat gndfit.ini | od -An -c | tr -d ' \n') == '\0001`001tail' ]] || { echo "position file changed"; od -c gndfit.ini; exit 1; }
echo "1 passed, 0 failed"
