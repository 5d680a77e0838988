#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The installed-tool behaviour of the real program: --help and --version on
# standard output with status 0, a wrong command line as one line on
# standard error with status 2 before anything runs, --csv over files and
# standard input with status 1 when a line was skipped; --help's whole text
# as HELP_EXPECTED (written by hand) has it; and the man page renders
# without a warning and within 80 columns and names every option --help
# lists.
#   command_line.sh [EMULATOR...] PROGRAM MAN_PAGE HELP_EXPECTED
set -uo pipefail
program=("${@:1:$#-2}")
man_page=${@: -2:1}
help_expected=${!#}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$(dirname "${BASH_SOURCE[0]}")/../support/checks.sh"

run --help
check "--help: the whole usage text on stdout, status 0" eval \
  'is 0 && diff -u "$help_expected" <(tr -d "\r" < out.txt) && [[ ! -s err.txt ]]'
run --version
check "--version: version, status 0" eval 'is 0 && grep -Eq "^gndfit [0-9]+\.[0-9]+\.[0-9]+" out.txt'
run --frobnicate
check "unknown option: status 2, one line with the hint" eval 'is 2 && one_line_hint'
run --csv missing.txt
check "unopenable file: status 2, one line with the hint" eval 'is 2 && one_line_hint'
run --csv --freq 7,,14
check "bad --freq list: status 2" eval 'is 2 && one_line_hint'
printf '7.1 13 5\n' > a.txt
printf '# second file\n28.5,13,10\n' > b.txt
run --csv a.txt - b.txt < <(printf '10 15 5\n')
check "--csv over two files and stdin: header and 30 rows in order, status 0" eval \
  'is 0 && [[ $(wc -l < out.txt) -eq 31 ]] && [[ $(cut -d, -f1 out.txt | uniq | tr "\n" " ") == "measured_mhz 7.1 10 28.5 " ]]'
run --csv < <(printf '7.1 13 5\n7.1 13\n')
check "--csv with a skipped line: reported, status 1" eval \
  'is 1 && [[ $(tr -d "\r" < err.txt) == "gndfit: line 2: expected 3 numbers, got 2" ]] && [[ $(wc -l < out.txt) -eq 11 ]]'
# Each file's lines counted from 1 and named in the message; standard
# input's lines by number alone, as --joint names them.
printf '7.1 13 5\n\n7.1 13\n' > bad_line.txt
printf '3.5 1.2 60\n0 13 5\n' > unphysical.txt
run --csv bad_line.txt - unphysical.txt < <(printf '# stdin\n7.1 13 5 1\n')
check "--csv names the file and its own line of each fault and warning, status 1" eval \
  'is 1 && [[ $(tr -d "\r" < err.txt) == "gndfit: bad_line.txt:line 3: expected 3 numbers, got 2
gndfit: line 2: expected 3 numbers, got 4
gndfit: unphysical.txt:line 1: warning: permittivity-below-vacuum: The base relative permittivity is 0.00234, below that of vacuum (1): the model reproduces the measured values, but its values away from the measured frequencies are not physical.
gndfit: unphysical.txt:line 2: frequency must be a finite positive number" ]] && [[ $(wc -l < out.txt) -eq 21 ]]'
run --nec 7 bad_line.txt unphysical.txt
check "--nec names the file of the second measurement" eval \
  'is 1 && [[ $(tail -n 1 err.txt | tr -d "\r") == "gndfit: unphysical.txt:line 1: --nec takes one measurement; this is a second one" ]] && [[ ! -s out.txt ]]'
run --csv --freq 3.6,7.05 < a.txt
check "--freq: one row per listed frequency" eval 'is 0 && [[ $(cut -d, -f4 out.txt | tail -n +2 | tr "\n" " ") == "3.6 7.05 " ]]'

# Output that cannot be written and input that cannot be read: a message
# naming what failed, status 1.
# (Not under Wine, whose writes to /dev/full report success.)
if [[ -w /dev/full && ${program[-1]} != *.exe ]]; then
  "${program[@]}" --help > /dev/full 2> err.txt; status=$?
  check "--help into a full disk: status 1 and a message" eval \
    'is 1 && grep -q "cannot write standard output" err.txt'
  "${program[@]}" --csv < a.txt > /dev/full 2> err.txt; status=$?
  check "--csv into a full disk: status 1 and a message" eval \
    'is 1 && grep -q "cannot write standard output" err.txt'
fi
mkdir stdin_directory
run --csv < stdin_directory
check "--csv reading a directory as standard input: says 'standard input', status 1" eval \
  'is 1 && grep -q "cannot read .standard input." err.txt'
run --csv a.txt - < stdin_directory
check "--csv: the read error names standard input, not the file before it" eval \
  'is 1 && grep -q "cannot read .standard input." err.txt && ! grep -q a.txt err.txt'

# FILEs are batch input, read in turn as one redirected input: a
# measurement may run across the end of one file into the next.
printf '10 15' > part1.txt
printf ' 5\r\n28.5,' > part2.txt
printf '13,10\r\n' > part3.txt
cat part1.txt part2.txt part3.txt | "${program[@]}" > redirected.out
run part1.txt - part3.txt < part2.txt
check "FILEs: the same bytes as the same input redirected, status 0" eval \
  'is 0 && [[ -s out.txt ]] && cmp -s out.txt redirected.out && [[ ! -s err.txt ]]'
# Batch input that gives no table at all: the heading as always on
# standard output, and on standard error that there was no measurement.
head -c 101 "$here/worked_examples.expected" > heading.out
printf 'garbage\n0 15 5\nmore garbage' > garbage.txt
run garbage.txt
check "a FILE with no measurement: the heading alone, said on stderr, status 1" eval \
  'is 1 && cmp -s out.txt heading.out && [[ $(tr -d "\r" < err.txt) == "gndfit: no measurement in the input" ]]'
"${program[@]}" < garbage.txt > out.txt 2> err.txt; status=$?
check "redirected input with no measurement: the same" eval \
  'is 1 && cmp -s out.txt heading.out && [[ $(tr -d "\r" < err.txt) == "gndfit: no measurement in the input" ]]'
"${program[@]}" < /dev/null > out.txt 2> err.txt; status=$?
check "empty redirected input: the same" eval \
  'is 1 && cmp -s out.txt heading.out && [[ $(tr -d "\r" < err.txt) == "gndfit: no measurement in the input" ]]'
run garbage.txt part1.txt part2.txt part3.txt
check "one measurement among the FILEs is enough: status 0, nothing on stderr" eval \
  'is 0 && [[ ! -s err.txt ]]'
mkdir a_directory
run part1.txt a_directory
check "a directory as FILE: status 2 before any output" eval 'is 2 && one_line_hint'
run part1.txt missing.txt
check "a FILE that cannot be opened: status 2 before any output" eval 'is 2 && one_line_hint'

# The man page: no warning from groff as a terminal shows it (80 columns),
# no rendered line wider, every indented block closed, every option of
# --help in it.
groff -ww -man -Tutf8 -P-cbou "$man_page" > man.txt 2> man_warnings.txt
check "man page renders without warnings" eval '[[ ! -s man_warnings.txt ]] || ! cat man_warnings.txt'
check "man page fits 80 columns" eval '[[ $(LC_ALL=C.UTF-8 wc -L < man.txt) -le 80 ]]'
check "man page closes each .RS with .RE" eval \
  '[[ $(grep -c "^\.RS" "$man_page") -eq $(grep -c "^\.RE" "$man_page") ]]'
"${program[@]}" --help | tr -d "\r" | grep -oE -- '(^|[ ,])--?[a-z][a-z-]*' | tr -d ' ,' | sort -u > options.txt
check "--help lists options" test -s options.txt
while read -r option; do
  check "man page names $option" grep -qF -- "${option//-/\\-}" "$man_page"
done < options.txt
echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
