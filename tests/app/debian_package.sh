#!/usr/bin/env bash
# The Debian package made from this build: its control fields and contents,
# and the packaged program run on the worked examples: installed with dpkg
# and removed again when running as root in CI, else unpacked.
#   debian_package.sh BUILD_DIR WORKED_EXAMPLES_EXPECTED
set -uo pipefail
build=$1
expected=$2
source "$(dirname "$0")/../support/package.sh"
make_package "$build" 'gndfit_*.deb'
deb=$package
failed=0
info=$(dpkg-deb --info "$deb")
for field in "Package: gndfit" "Section: hamradio" "Depends: .*libc6" "Description: carry a measurement"; do
  grep -Eq "^ *$field" <<< "$info" || { echo "control lacks '$field'"; failed=1; }
done
contents=$(dpkg-deb --contents "$deb")
for path in ./usr/bin/gndfit ./usr/share/man/man1/gndfit.1 ./usr/share/doc/gndfit/README.md \
            ./usr/share/doc/gndfit/user-guide.md; do
  grep -q " $path\$" <<< "$contents" || { echo "package lacks $path"; failed=1; }
done
input=$'10 15 5\r\n28.5,13,10\r\n'
if [[ ${CI:-} == true && $(id -u) -eq 0 ]] && ! dpkg -s gndfit > /dev/null 2>&1; then
  dpkg -i "$deb" > /dev/null || { echo "dpkg -i failed"; exit 1; }
  (cd "$work" && printf '%s' "$input" | /usr/bin/gndfit > out.bin)
  man -w gndfit > /dev/null 2>&1 || [[ -f /usr/share/man/man1/gndfit.1 ]] || { echo "man page not installed"; failed=1; }
  dpkg -r gndfit > /dev/null || { echo "dpkg -r failed"; failed=1; }
  [[ ! -e /usr/bin/gndfit ]] || { echo "dpkg -r left /usr/bin/gndfit"; failed=1; }
  how="installed with dpkg -i and removed"
else
  dpkg-deb -x "$deb" "$work/root"
  (cd "$work" && printf '%s' "$input" | root/usr/bin/gndfit > out.bin)
  how="unpacked with dpkg-deb -x"
fi
cmp -s "$work/out.bin" "$expected" || { echo "the packaged program's output differs"; failed=1; }
[[ $failed -eq 0 ]] && echo "package $(basename "$deb") complete; $how, it prints the worked examples"
exit $failed
