#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# --probe of the real program: a wrong SPEC or a FILE that cannot be opened
# is status 2 with one line before anything runs; each refused sweep is
# status 1 with one line naming the file and line, and nothing at all on
# standard output, even when the files before it were good.
#   probe_command_line.sh [EMULATOR...] PROGRAM
set -uo pipefail
program=("$@")
examples=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../examples" && pwd)
source "$(dirname "${BASH_SOURCE[0]}")/../support/checks.sh"
# Status 1, nothing on stdout, and exactly this one line on stderr.
refused() {
  is 1 && [[ ! -s out.txt ]] && [[ $(tr -d '\r' < err.txt) == "$1" ]] ||
    { echo "stderr: $(cat err.txt)"; echo "wanted: $1"; return 1; }
}

printf 'Freq,R,X\n1.8,40,-900\n3.6,30,-450\n' > good.csv
for setting in "" coax short short,c0=0 short,c0=-1 short,c0=x short,c0=5,air=a line line,length=1 \
            line,length=1,z0=0 line,length=1,z0=300,c0=5; do
  run --probe "$setting" good.csv
  check "--probe '$setting': status 2, one line with the hint" eval 'is 2 && one_line_hint'
done
run --probe
check "--probe without SPEC: status 2" eval 'is 2 && one_line_hint'
run --probe short,c0=5 good.csv missing.s1p
check "a FILE that cannot be opened: status 2 before any output" eval 'is 2 && one_line_hint'
run --probe short,air=missing.s1p good.csv
check "an air FILE that cannot be opened: status 2" eval 'is 2 && one_line_hint'
run --probe short,air=good.csv,liquid=missing.csv,liquid_er=78.4 good.csv
check "a liquid FILE that cannot be opened: status 2" eval 'is 2 && one_line_hint && grep -q missing.csv err.txt'

# A directory as standard input cannot be read on POSIX; Windows (gndfit.exe
# under Wine) opens no such handle, so there the case does not arise.
if [[ "${program[*]}" != *.exe* ]]; then
  mkdir a_directory
  run --probe short,c0=5 good.csv - < a_directory
  check "standard input that cannot be read: named, status 1, nothing written" \
    refused "gndfit: cannot read 'standard input': Is a directory"
fi

run --probe short,c0=5 good.csv - < good.csv
check "a good CSV and standard input: header and 4 rows, status 0" eval \
  'is 0 && [[ $(tr -d "\r" < out.txt | head -1) == frequency_mhz,permittivity,conductivity_ms_per_m ]] &&
   [[ $(tr -d "\r" < out.txt | cut -d, -f1 | tail -n +2 | tr "\n" " ") == "1.8 3.6 1.8 3.6 " ]] && [[ ! -s err.txt ]]'

printf '# MHz S RI R 50\n1.8 0.1 0.2 0.1 0.2 0.1 0.2 0.3 0.4\n' > two.s2p
run --probe short,c0=5 good.csv two.s2p
check "a two-port file" refused \
  "gndfit: two.s2p:line 2: 9 numbers on a row: a two-port file; gndfit reads one-port sweeps"
printf '[Version] 2.0\r\n# MHz S RI R 50\r\n[Number of Ports] 2\r\n' > two.ts
run --probe short,c0=5 two.ts
check "a version 2.0 two-port file" refused "gndfit: two.ts:line 3: [Number of Ports] 2: gndfit reads one-port sweeps"
printf 'Freq;R;X\r\n1,8;40;-900\r\n3,6;30\r\n' > short_row.csv
run --probe short,c0=5 short_row.csv
check "a row with the wrong count" refused \
  "gndfit: short_row.csv:line 3: expected 3 numbers (frequency in MHz, R and X in ohms), got 2"
printf '# MHz Z RI R 50\n! comment\n3.6 1 -9\n1.8 1 -18\n' > order.s1p
run --probe short,c0=5 order.s1p
check "frequencies that do not increase" refused \
  "gndfit: order.s1p:line 4: the frequency does not increase: 1.8 MHz after 3.6 MHz on line 3"
printf '! c\n# MHz S RI Ohms 50\n1.8 0.9 -0.1\n' > option.s1p
run --probe short,c0=5 option.s1p
check "an unknown word in the option line" refused "gndfit: option.s1p:line 2: option line: unknown word 'Ohms'"
printf '# MHz S RI R 50\n! no data\n' > empty.s1p
run --probe short,c0=5 empty.s1p
check "a Touchstone file with no data" refused "gndfit: empty.s1p:line 2: the file holds no data"
printf 'Freq,R,X\n' > header_only.csv
run --probe short,c0=5 header_only.csv
check "a CSV file with no data" refused "gndfit: header_only.csv:line 1: the file holds no data"
printf '1.8,40,900\n' > inductive.csv
run --probe short,c0=5 - < inductive.csv
check "a converted value that is not positive, from standard input" refused \
  "gndfit: standard input:line 1: at 1.8 MHz the permittivity comes out at -19.61, not positive: check C0 (c0= or the sweep in air) and that the analyser was calibrated at the probe's terminals"

# The Touchstone reader's other refusals, each with the line it names
# (counted by hand: comment lines count, the message names the line at
# fault or, at the end of the file, the last line).
v2='[Version] 2.0\n# MHz S RI\n[Number of Ports] 1\n'
while IFS='|' read -r text reason; do
  printf "$text" > refused.ts
  run --probe short,c0=5 refused.ts
  check "refused: $reason" refused "gndfit: refused.ts:$reason"
done <<END
${v2}[Number of Frequencies] 0\n|line 4: [Number of Frequencies] needs a whole number above 0
${v2}[Number of Frequencies] 1.5\n|line 4: [Number of Frequencies] needs a whole number above 0
${v2}[Number of Frequencies] 1\n[Matrix Format] Diagonal\n|line 5: [Matrix Format] must be Full, Lower or Upper
${v2}[Number of Frequencies] 1\n[Network Data]\n7 0 0\n[Noise Data]\n|line 7: [Noise Data] belongs to a two-port file
${v2}[Number of Frequencies] 1\n[Network Data]\n7 0 0\n[Reference] 50\n[End]\n|line 7: keyword [Reference] inside [Network Data]
${v2}[Number of Frequencies] 1\n|line 4: the file has no [Network Data]
${v2}[Begin Information]\nanything\n|line 4: no [end information] after this line
${v2}[Reference]\n|line 4: [Reference] needs a resistance
${v2}[Mixed-Mode Order] D1,2\n|line 4: [Mixed-Mode Order] belongs to a file of more than one port
${v2}[Number of Noise Frequencies] 1\n|line 4: [Number of Noise Frequencies] belongs to a file of more than one port
[Version] 2.0\n! no option line\n[Number of Ports] 1\n|line 3: expected the option line after [Version]
[Version] 2.0\n# MHz S RI\n[Number of Frequencies] 1\n[Network Data]\n7 0 0\n[End]\n|line 4: the file has no [Number of Ports]
# MHz Z RI\n7 1 0\n8 0 0\n|line 3: Z = 0 is a short circuit: no probe reads so
# MHz G RI\n7 0 0\n|line 1: option line: G parameters describe a two-port; gndfit reads one-port sweeps
# MHz S RI R 50 R 75\n7 0 0\n|line 1: option line: 'R' repeats a setting
# MHz S RI MA\n7 0 0\n|line 1: option line: 'MA' repeats a setting
END
# Version 2.1 files are read as 2.0 ones; the rows are those of the one port.
printf '[Version] 2.1\n# MHz Z RI\n[Number of Ports] 1\n[Number of Frequencies] 1\n[Network Data]\n1.8 40 -900\n[End]\n' > v21.ts
printf '1.8,40,-900\n' > v21.csv
run --probe short,c0=5 v21.csv
cp out.txt v21_csv.out
run --probe short,c0=5 v21.ts
check "a Touchstone 2.1 file: read, the same point as its CSV" eval 'is 0 && cmp -s out.txt v21_csv.out'

# With --joint the converted points are the joint fit's measurements: the
# example sweeps give back their model ground (x = 0.005 S/m, e = 13).
model_ground_back() {  # JSON file
  /usr/bin/python3 -c '
import json, sys
m = json.load(open(sys.argv[1]))["model"]
ok = abs(m["base_conductivity_s_per_m"] / 0.005 - 1) < 1e-9 and abs(m["base_permittivity"] / 13 - 1) < 1e-9
sys.exit(0 if ok else 1)' "$1" || { echo "model: $(head -c 300 "$1")"; return 1; }
}
run --probe line,length=0.5,z0=300,u_gamma=0.01 --joint "$examples/sweeps/line-s-ma.s1p"
check "--probe with u_gamma: --joint fits the points weighted" eval 'is 0 && grep -q "weighted by their uncertainties" out.txt'
# --model compare with a probe: its u_gamma gives the uncertainties AICc
# needs; the model ground of the sweeps is messier's, which is chosen.
run --probe short,c0=5,u_gamma=0.01 --joint --model compare --json "$examples/sweeps/noisy-short.s1p"
check "--probe with u_gamma: --model compare chooses the sweeps' own model" eval 'is 0 &&
  grep -q "\"chosen\":\"messier\"" out.txt'
run --probe short,c0=5 --joint --model compare "$examples/sweeps/noisy-short.s1p"
check "--probe without u_gamma: --model compare is a usage error" eval 'is 2 && [[ ! -s out.txt ]] &&
  grep -q "a probe.s u_gamma" err.txt'
run --probe line,length=0.5,z0=300 --joint --json "$examples/sweeps/line-s-ma.s1p"
check "--probe with --joint --json: the line probe's sweep gives back its ground" eval 'is 0 && model_ground_back out.txt'
run --probe short,air="$examples/sweeps/short-air.s1p" --joint --json "$examples/sweeps/short-rx-tab.csv"
check "--probe short,air= with --joint: the short probe's sweep gives back its ground" eval 'is 0 && model_ground_back out.txt'
run --probe short,c0=5 --joint --nec 7.1 "$examples/sweeps/short-s-ma.s1p"
check "--probe with --joint --nec: one card set" eval 'is 0 && [[ $(grep -c "^GN 2 0 0 0 " out.txt) -eq 1 ]] && grep -q "^FR 0 1 0 0 7.1 0" out.txt'
run --probe short,c0=5 --json "$examples/sweeps/short-s-ma.s1p"
check "--probe --json without --joint: a usage error" eval 'is 2 && one_line_hint'
run --probe short,c0=5 --joint - < inductive.csv
check "--probe --joint with a refused sweep: status 1, nothing written" refused \
  "gndfit: standard input:line 1: at 1.8 MHz the permittivity comes out at -19.61, not positive: check C0 (c0= or the sweep in air) and that the analyser was calibrated at the probe's terminals"
# The converted points keep their file and line into the joint report,
# those of standard input as 'line N' as the joint fit's own input has them.
run --probe short,c0=5 --joint good.csv - < good.csv
check "--probe --joint of a file and standard input: each point's place in the report" eval 'is 0 &&
  grep -qE "^ +good.csv:line 2 +1.8 " out.txt && grep -qE "^ +good.csv:line 3 +3.6 " out.txt &&
  grep -qE "^ +line 2 +1.8 " out.txt && grep -qE "^ +line 3 +3.6 " out.txt'
# A sweep that cannot be read to its end: the reason, status 1, nothing written.
mkdir stdin_directory
run --probe short,c0=5 good.csv - < stdin_directory
check "standard input that cannot be read: status 1, named, nothing written" eval 'is 1 &&
  [[ ! -s out.txt ]] && [[ $(wc -l < err.txt) -eq 1 ]] && grep -q "^gndfit: cannot read .standard input." err.txt'

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
