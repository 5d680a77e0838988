#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Debian package built from debian/ (scripts/package.sh deb): its
# control fields, its contents where Debian wants them (the man page and
# large documents compressed, the licence in copyright, the examples), and
# the packaged program run on the worked examples: installed with dpkg and
# removed again when running as root in CI, else unpacked.
#   debian_package.sh DEB WORKED_EXAMPLES_EXPECTED
set -uo pipefail
deb=$1
expected=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "$1"; failed=1; }

info=$(dpkg-deb --info "$deb") || { echo "not a Debian package: $deb"; exit 1; }
for field in "Package: gndfit" "Section: hamradio" "Priority: optional" \
             "Maintainer: .+ <[^ @]+@[^ @]+\.[a-z]+>" "Depends: .*libc6" "Depends: .*libstdc\+\+6" \
             "Description: frequency-dependent ground constants"; do
  grep -Eq "^ *$field" <<< "$info" || fail "control lacks '$field'"
done
# No line of the extended description may reach 80 columns.
awk '/^ Description:/ { d = 1; next } d && /^ [A-Z][-A-Za-z]*:/ { d = 0 } d && length($0) > 80' \
  <<< "$info" | grep -q . && fail "a description line is 80 columns or more"

contents=$(dpkg-deb --contents "$deb" | awk '{ print $NF }')
has() { grep -Eqx "$1" <<< "$contents" || fail "package lacks $1"; }
lacks() { ! grep -Eqx "$1" <<< "$contents" || fail "package holds $1"; }
has ./usr/bin/gndfit
has ./usr/share/man/man1/gndfit\.1\.gz
lacks ./usr/share/man/man1/gndfit\.1
doc=./usr/share/doc/gndfit
has "$doc/copyright"
has "$doc/changelog\.Debian\.gz"
has "$doc/README\.md"
has "$doc/docs/user-guide\.md"
has "$doc/examples/worked-examples\.txt"
has "$doc/examples/sweeps/short-air\.s1p"
lacks "$doc/LICENSE(\.gz)?"
dpkg-deb --fsys-tarfile "$deb" | tar -xOf - "$doc/copyright" > "$work/copyright" 2> /dev/null
grep -qx 'License: MIT' "$work/copyright" || fail "copyright does not name the MIT licence"
grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
  "$work/copyright" || fail "copyright is not in the machine-readable format"
# Every relative link of the installed README leads to a file of the
# package (the licence's to copyright).
dpkg-deb --fsys-tarfile "$deb" | tar -xOf - "$doc/README.md" > "$work/README.md" 2> /dev/null
links=$(grep -o '](\([^)]*\))' "$work/README.md" | sed 's/^](//; s/)$//; s/#.*//' | grep -v '^[a-z]*:')
[[ $(wc -l <<< "$links") -ge 5 ]] || fail "the installed README has fewer links than it should"
while read -r target; do
  grep -Fqx "$doc/$target" <<< "$contents" || fail "the installed README links $target, not in the package"
done <<< "$links"

# The program, and the installed example file, give the worked examples'
# tables; the package's version is the program's own.
mkdir "$work/run"
if [[ ${CI:-} == true && $(id -u) -eq 0 ]] && ! dpkg -s gndfit > /dev/null 2>&1; then
  dpkg -i "$deb" > /dev/null || { echo "dpkg -i failed"; exit 1; }
  root=
  man -w gndfit > /dev/null 2>&1 || [[ -f /usr/share/man/man1/gndfit.1.gz ]] || fail "man page not installed"
  removal=yes
  how="installed with dpkg -i and removed"
else
  dpkg-deb -x "$deb" "$work/root"
  root=$work/root
  removal=
  how="unpacked with dpkg-deb -x"
fi
(cd "$work/run" && "$root/usr/bin/gndfit" < "$root${doc#.}/examples/worked-examples.txt" > out.bin) ||
  fail "the packaged program failed on the installed examples"
cmp -s "$work/run/out.bin" "$expected" || fail "the packaged program's output differs"
program_version=$("$root/usr/bin/gndfit" --version | grep -Eo '[0-9]+\.[0-9]+\.[0-9]+' | head -1)
package_version=$(dpkg-deb --field "$deb" Version)
[[ -n $program_version && $package_version == "$program_version"-* ]] ||
  fail "package version $package_version is not the program's $program_version"
if [[ -n $removal ]]; then
  dpkg -r gndfit > /dev/null || fail "dpkg -r failed"
  [[ ! -e /usr/bin/gndfit ]] || fail "dpkg -r left /usr/bin/gndfit"
fi
[[ $failed -eq 0 ]] && echo "package $(basename "$deb") complete; $how, it prints the worked examples"
exit $failed
