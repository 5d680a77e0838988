#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# gndfit --joint as a program: faulty lines all reported as FILE:line N with
# nothing on standard output and status 1; the report, CSV and NEC cards of
# one fit agreeing with each other; warnings on standard error where the
# output has no room for them; and the below-vacuum warning of --csv.
#   joint_command.sh [EMULATOR...] PROGRAM
set -uo pipefail
program=("$@")
source "$(dirname "${BASH_SOURCE[0]}")/../support/checks.sh"
# Here the error text is also kept without CRs (gndfit.exe writes CR LF).
run() { "${program[@]}" "$@" > out.txt 2> err.txt; status=$?; tr -d '\r' < err.txt > err; }

printf '# sweep\n1.8 15 5\n3.6 13\n' > a.txt
printf '7.1 12 7 0.5 0.3\n14 11 -8\n' > b.txt
run --joint a.txt - b.txt < <(printf '\n10 15 abc\n')
check "faulty lines: each reported with its file and line, nothing written, status 1" eval 'is 1 &&
  [[ ! -s out.txt ]] && diff -u - err <<END
gndfit: a.txt:line 3: expected 3 or 5 numbers, got 2
gndfit: line 2: conductivity must be a finite positive number
gndfit: b.txt:line 1: uncertainties given, but a.txt:line 2 has none
gndfit: b.txt:line 2: conductivity must be a finite positive number
END'
# --probe's CSV read as it is: its header skipped as a file's first line,
# a faulty line anywhere else.
printf 'frequency_mhz,permittivity,conductivity_ms_per_m\r\n1.8,47.2,8.32\n3.6,36.1,10.1\n' > points.csv
printf '1.8,47.2,8.32\nfrequency_mhz,permittivity,conductivity_ms_per_m\n' > late_header.csv
run --joint --nec 7.1 points.csv
check "--probe's CSV: its header line skipped" eval 'is 0 && [[ $(wc -l < out.txt) -eq 3 ]]'
run --joint late_header.csv
check "--probe's header not on the first line: a faulty line" eval 'is 1 && grep -q "^gndfit: late_header.csv:line 2: " err'
run --joint < <(printf '# only a comment\n')
check "no measurement: status 1" eval 'is 1 && [[ ! -s out.txt ]] && [[ $(cat err) == "gndfit: no measurement in the input" ]]'
run --joint < <(printf '1.8 5 20\n7 10 10\n28 20 5\n1.8 5 1e-9\n7 10 1e-9\n28 20 1e-9\n')
check "no minimum inside: the edge named, status 1" eval 'is 1 && [[ ! -s out.txt ]] && grep -q "no best fit with a positive base conductivity" err'
# A directory as standard input cannot be read on POSIX; Windows (gndfit.exe
# under Wine) opens no such handle, so there the case does not arise.
if [[ "${program[*]}" != *.exe* ]]; then
  mkdir a_directory
  run --joint < a_directory
  check "standard input that cannot be read: named, status 1" eval \
    'is 1 && [[ ! -s out.txt ]] && [[ $(cat err) == "gndfit: cannot read '"'standard input'"': Is a directory" ]]'
fi
# Values whose squares leave double precision (1e300 squared): said so.
run --joint < <(printf '1e300 1e300 1e300\n2e300 1e300 1e300\n')
check "values beyond double precision: said so, status 1" eval 'is 1 && [[ ! -s out.txt ]] &&
  [[ $(cat err) == "gndfit: the values are too large or too small to be fitted in double precision" ]]'
run --joint --json missing.txt
check "a file that cannot be opened: status 2" eval 'is 2 && [[ ! -s out.txt ]]'
run --json
check "--json without --joint: status 2" eval 'is 2'

sweep='1.8 15 5 0.5 0.3\n3.6 13 6 0.5 0.3\n7.1 12 7 0.5 0.3\n14 11 8 0.5 0.3\n'
printf "$sweep" > sweep.txt
run --joint sweep.txt
check "report: parameters, chi-square, four measurements, ten bands, the warning" eval 'is 0 &&
  grep -q "^  base conductivity .* S/m  +- " out.txt && grep -q "chi-square .* for 6 degrees of freedom" out.txt &&
  [[ $(grep -cE "^ +[1-4] +(1.8|3.6|7.1|14) " out.txt) -eq 4 ]] &&
  [[ $(sed -n "/^The model:/,\$p" out.txt | wc -l) -eq 12 ]] && grep -q "^Warning (poor-fit)" out.txt && [[ ! -s err.txt ]]'
run --joint --csv --freq 3.6,7.05 sweep.txt
check "--csv: header, one line a frequency, the warning on stderr, status 0" eval 'is 0 &&
  [[ $(head -1 out.txt) == frequency_mhz,permittivity,permittivity_sd,conductivity_ms_per_m,conductivity_sd_ms_per_m,skin_depth_m ]] &&
  [[ $(cut -d, -f1 out.txt | tail -n +2 | tr "\n" " ") == "3.6 7.05 " ]] && grep -q "^gndfit: warning: poor-fit: " err'
cp out.txt csv.txt
run --joint --nec 3.6,7.05 sweep.txt
check "--nec: GN 2 / FR / XQ for each frequency" eval 'is 0 && [[ $(wc -l < out.txt) -eq 6 ]] &&
  [[ $(sed -n 2p out.txt) == "FR 0 1 0 0 3.6 0" ]] && [[ $(sed -n 6p out.txt) == XQ ]] &&
  [[ $(grep -cE "^GN 2 0 0 0 [0-9.e+-]+ [0-9.e+-]+$" out.txt) -eq 2 ]]'
paste -d" " <(awk '/^GN/ {print $6, $7}' out.txt) <(awk -F, 'NR > 1 {print $2, $4}' csv.txt) > pairs.txt
check "--nec: the CSV's permittivity and conductivity in S/m" eval '[[ $(wc -l < pairs.txt) -eq 2 ]] &&
  [[ $(awk "\$1 != \$3 || (\$2 - \$4 / 1000) ^ 2 > (\$2 * 1e-15) ^ 2" pairs.txt | wc -l) -eq 0 ]]'
run --joint --json < <(printf '1.8 5 10\n')
check "--json of one measurement: nulls, its warning" eval 'is 0 &&
  grep -q "\"base_conductivity_sd\":null,\"base_permittivity_sd\":null,\"correlation\":null" out.txt &&
  grep -q "\"chi_square\":0,\"degrees_of_freedom\":0,\"weighted\":false" out.txt &&
  grep -q "\"code\":\"permittivity-below-vacuum\"" out.txt'

# --nec has no room for warnings either: on stderr, with the base
# permittivity of 1.8 MHz, 5, 10 mS/m worked out by hand (the exact pair:
# with a = sqrt(x / (pi f eps0 e)), (a^2 + 2a) / (1 + a) = s / (pi f eps0 er)
# gives a = 38.97 and e = 5 / (1 + a) = 0.1251).
run --joint --nec 7.1 < <(printf '1.8 5 10\n')
check "--nec: the below-vacuum warning on stderr with its value, the cards on stdout" eval 'is 0 &&
  [[ $(grep -c "^GN 2 0 0 0 " out.txt) -eq 1 ]] && [[ $(wc -l < err) -eq 1 ]] &&
  grep -q "^gndfit: warning: permittivity-below-vacuum: The base relative permittivity is 0.125, below" err'

printf '\n1.8 15 5\n' > c.txt
run --joint c.txt - < <(printf '3.6 13 6\n')
check "report of several files: each line with its file" eval 'is 0 && grep -qE "^ *c.txt:line 2 +1.8 " out.txt && grep -qE "^ *line 1 +3.6 " out.txt'

# --csv of single measurements: the below-vacuum warning once for each such
# measurement, the rows as before and the status unchanged.
run --csv < <(printf '1.8 5 10\n7.1 13 5\n1.8,5,10\n')
check "--csv: below vacuum warned once per measurement, status 0" eval 'is 0 &&
  [[ $(wc -l < out.txt) -eq 31 ]] && [[ $(grep -c "warning: permittivity-below-vacuum" err) -eq 2 ]] &&
  [[ $(cut -d: -f2 err | tr "\n" " ") == " line 1  line 3 " ]]'
# --model: the names, where it goes, and compare's need for uncertainties.
run --joint --model clay sweep.txt
check "--model with an unknown name: the names listed, status 2" eval 'is 2 && [[ ! -s out.txt ]] &&
  grep -q "unknown model '"'clay'"': expected messier, alipio-visacro, power-law or compare" err'
run --csv --model power-law sweep.txt
check "--model without --joint: status 2" eval 'is 2 && grep -q "'"'--model' needs '--joint'"'" err'
run --joint --model compare c.txt
check "compare without uncertainties: a usage error saying why, status 2" eval 'is 2 && [[ ! -s out.txt ]] &&
  grep -q "needs measurements with uncertainties" err && grep -q "try '"'gndfit --help'"'" err'
run --joint --model=power-law < <(printf '1.8 15 5\n7.1 12 7\n')
check "power-law with two measurements: no fit, status 1" eval 'is 1 && [[ ! -s out.txt ]] &&
  grep -q "the power-law model needs at least 3 measurements" err'
# A ground that follows alipio-visacro's law (s0 = 10 mS/m, worked from its
# formula to 4 decimals): compare chooses it, and its CSV and cards are
# that model's own, to the byte.
printf '1.8 48.5036 13.2227 0.5 0.2\n3.6 38.5376 14.6857 0.5 0.2\n7.1 31.4170 16.7616 0.5 0.2\n14 26.2083 19.7562 0.5 0.2\n28 22.3292 24.1852 0.5 0.2\n' > alipio.txt
run --joint --model compare --json alipio.txt
chosen=$(grep -o '"chosen":"[a-z-]*"' out.txt | cut -d'"' -f4)
check "compare --json: three models, alipio-visacro chosen and at the top" eval 'is 0 && [[ $chosen == alipio-visacro ]] &&
  [[ $(grep -o "\"aicc\":" out.txt | wc -l) -eq 3 ]] && grep -q "^{\"model_name\":\"$chosen\"" out.txt'
for output in --csv "--nec 3.6,7.05"; do
  run --joint --model compare $output alipio.txt; cp out.txt compared.txt
  run --joint --model "$chosen" $output alipio.txt
  check "compare $output: the chosen model's output" eval 'is 0 && cmp -s out.txt compared.txt'
done
run --joint --model compare alipio.txt
check "compare report: the table, the choice, the chosen model's fit" eval 'is 0 &&
  grep -q "^Models compared by AICc (10 values" out.txt && grep -q "^Chosen: $chosen" out.txt &&
  [[ $(grep -cE "^  (messier|alipio-visacro|power-law) " out.txt) -eq 3 ]]'
# A ground without dispersion: the power law's dispersive part at its
# bound, its exponent undetermined, both without sd.
run --joint --model power-law --json < <(printf '1.8 15 5\n3.6 15 5\n7.1 15 5\n14 15 5\n')
check "power-law at a bound: null sds and the notes" eval 'is 0 &&
  grep -q "\"dispersive_conductivity_sd\":null,\"exponent_sd\":null" out.txt &&
  grep -q "\"code\":\"parameter-at-bound\"" out.txt && grep -q "\"code\":\"parameter-undetermined\"" out.txt'
echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
