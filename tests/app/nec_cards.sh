#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The NEC-2 cards of --nec read back by a real NEC-2 engine (nec2c): a
# half-wave dipole deck holding the cards must report, for each frequency,
# the ground gndfit computed for it (to the digits nec2c prints).
#   nec_cards.sh [EMULATOR...] PROGRAM
set -uo pipefail
program=("$@")
if ! command -v nec2c > /dev/null; then
  echo "skipped: nec2c is not installed (scripts/install-deps.sh installs it)"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
frequencies=1.8,3.7,7.1,14.2,28.5
measurement='7.1 13 5'
{
  echo "CM half-wave dipole 5 m above real ground"
  echo "CE"
  echo "GW 1 21 0 -10 5 0 10 5 0.001"
  echo "GE 1"
  echo "EX 0 1 11 0 1 0"
  echo "$measurement" | "${program[@]}" --nec "$frequencies" | tr -d '\r' || exit 1
  echo "EN"
} > dipole.nec
nec2c -i dipole.nec -o dipole.out || { echo "nec2c failed on:"; cat dipole.nec; exit 1; }
# What nec2c reports, one line per frequency: MHz, permittivity, S/m.
awk '/FREQUENCY :/ { f = $3 } /RELATIVE DIELECTRIC CONST:/ { e = $4 }
     /CONDUCTIVITY:/ && /MHOS/ { printf "%.4f %s %s\n", f, e, $2 }' dipole.out > reported.txt
# gndfit's own values for the same frequencies, printed as nec2c prints them.
echo "$measurement" | "${program[@]}" --csv --freq "$frequencies" | tr -d '\r' |
  awk -F, 'NR > 1 { printf "%.4f %.3f %.3E\n", $4, $5, $7 }' > expected.txt
if [[ $(wc -l < expected.txt) -ne 5 ]] || ! cmp -s reported.txt expected.txt; then
  echo "nec2c reports (MHz, permittivity, S/m):"; cat reported.txt
  echo "gndfit computed:"; cat expected.txt
  exit 1
fi
echo "5 frequencies: nec2c reads back the ground gndfit computed for each"
