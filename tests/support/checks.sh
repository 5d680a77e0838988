# SPDX-License-Identifier: MIT
# Sourced by the command-line tests: a scratch directory, checks counted,
# and the real program run with its output and status kept.
#   program=(...) must be set first.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
passed=0 failed=0
check() {  # description, then a command that must succeed
  local what=$1; shift
  if "$@"; then passed=$((passed + 1)); else echo "FAILED: $what"; failed=$((failed + 1)); fi
}
run() { "${program[@]}" "$@" > out.txt 2> err.txt; status=$?; }
is() { [[ $status -eq $1 ]] || { echo "status $status, stderr: $(cat err.txt)"; return 1; }; }
one_line_hint() { [[ $(wc -l < err.txt) -eq 1 ]] && grep -q "try 'gndfit --help'" err.txt && [[ ! -s out.txt ]]; }
