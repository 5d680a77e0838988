#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Windows zip made from this build: gndfit.exe, the README, the user
# guide, the licence and the man page in it, and the exe taken out of the
# zip prints the worked examples under Wine.
#   zip_package.sh BUILD_DIR WORKED_EXAMPLES_EXPECTED
set -uo pipefail
build=$1
expected=$2
source "$(dirname "$0")/../support/package.sh"
make_package "$build" 'gndfit-*-windows-x86_64.zip'
zip=$package
failed=0
listing=$(python3 -m zipfile -l "$zip")
for path in bin/gndfit.exe share/doc/gndfit/README.md share/doc/gndfit/docs/user-guide.md \
            share/doc/gndfit/LICENSE share/man/man1/gndfit.1; do
  grep -q "/$path " <<< "$listing" || { echo "zip lacks $path"; failed=1; }
done
python3 -m zipfile -e "$zip" "$work/unpacked"
exe=$(ls "$work"/unpacked/*/bin/gndfit.exe)
(cd "$work" && printf '10 15 5\r\n28.5,13,10\r\n' | wine "$exe" > out.bin 2> /dev/null)
cmp -s "$work/out.bin" "$expected" || { echo "the zipped gndfit.exe's output differs"; failed=1; }
[[ $failed -eq 0 ]] && echo "zip $(basename "$zip") complete; its gndfit.exe prints the worked examples"
exit $failed
