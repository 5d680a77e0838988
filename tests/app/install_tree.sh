#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# `cmake --install` into a temporary prefix puts the program, the man page,
# the README, the documents it links, the examples and the licence where a
# user looks for them (every relative link of the installed README leads to
# an installed file), and the installed program prints the worked examples'
# tables.  INSTALL_LICENSE is the
# build's GNDFIT_INSTALL_LICENSE: with it off (as the Debian package builds)
# the licence must be left out.
#   install_tree.sh BUILD_DIR WORKED_EXAMPLES_EXPECTED INSTALL_LICENSE
set -uo pipefail
build=$1
expected=$2
install_license=$3
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null || { echo "cmake --install failed"; exit 1; }
failed=0
for path in bin/gndfit share/man/man1/gndfit.1 share/doc/gndfit/README.md \
            share/doc/gndfit/docs/user-guide.md share/doc/gndfit/examples/measurements.txt; do
  [[ -f $prefix/$path ]] || { echo "missing: $path"; failed=1; }
done
doc=$prefix/share/doc/gndfit
links=$(grep -o '](\([^)]*\))' "$doc/README.md" | sed 's/^](//; s/)$//; s/#.*//' | grep -v '^[a-z]*:')
[[ $(wc -l <<< "$links") -ge 5 ]] || { echo "the installed README has fewer links than it should"; failed=1; }
while read -r target; do
  # Without the licence (the Debian package's build) its link is the
  # package's to point elsewhere.
  [[ $target == LICENSE && $install_license != @(ON|on|TRUE|true|1) ]] && continue
  [[ -f $doc/$target ]] || { echo "the installed README links $target, which is not installed"; failed=1; }
done <<< "$links"
case $install_license in
  ON | on | TRUE | true | 1) [[ -f $prefix/share/doc/gndfit/LICENSE ]] || { echo "missing: LICENSE"; failed=1; } ;;
  *) [[ ! -e $prefix/share/doc/gndfit/LICENSE ]] || { echo "LICENSE installed though turned off"; failed=1; } ;;
esac
(cd "$prefix" && printf '10 15 5\r\n28.5,13,10\r\n' | bin/gndfit > out.bin) || { echo "installed program failed"; failed=1; }
cmp -s "$prefix/out.bin" "$expected" || { echo "installed program's output differs"; failed=1; }
[[ $failed -eq 0 ]] && echo "install tree complete, installed program correct"
exit $failed
