#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Gives every source file of ours the line "SPDX-License-Identifier: MIT"
# near its top, in the comment syntax of its kind: `//` for C++ and
# JavaScript, `/* */` for CSS and for C headers written with block comments,
# `#` after any shebang line for shell, CMake, Python and the like, `<!-- -->`
# for HTML (after the doctype) and Markdown, `.\"` for man pages.  A file
# that has the line already is left alone, so running it again changes
# nothing.  Data (golden outputs, fuzz corpora, measurement files,
# Touchstone files), JSON (no comment syntax), lockfiles, LICENSE itself
# and debian/'s data files are left out on purpose.  A file no rule knows is reported and makes the
# exit status 1: give it a rule here.
#   scripts/spdx-headers.sh [--check] [DIR]
# With --check nothing is changed: the files lacking the line are listed
# and the exit status is 1 when there is any.  DIR defaults to the checkout
# this script is in; its files are the ones git knows or would add, or,
# outside git, every file but the build trees.
set -euo pipefail
check=false
if [[ ${1:-} == --check ]]; then
  check=true
  shift
fi
root=$(cd "${1:-$(dirname "$0")/..}" && pwd)
cd "$root"
identifier="SPDX-License-Identifier: MIT"

list_files() {
  if [[ $(git rev-parse --show-toplevel 2> /dev/null) == "$root" ]]; then
    git ls-files -z --cached --others --exclude-standard
  else
    find . \( -name .git -o -path ./build -o -path './obj-*' -o -path ./debian/gndfit \
              -o -path ./debian/.debhelper -o -path ./debian/tmp -o -name node_modules \) -prune \
           -o -type f -printf '%P\0'
  fi
}

# Sets `kind` to the comment kind for a file: "//", "/*", "#", "<!--" or
# "roff"; "skip" for files that take no line; empty when no rule knows it.
# `first` is the file's first line.
classify() {
  local path=$1
  kind=""
  first=""
  IFS= read -r first < "$path" || true
  case $path in
    LICENSE | */LICENSE) kind=skip ;;  # the licence text itself
    *.md | *.html | *.htm | *.xml | *.svg) kind='<!--' ;;
    tests/golden/* | tests/fuzz/corpus/* | *.expected) kind=skip ;;  # test data
    *.lock | *-lock.json | *.json | *.webmanifest) kind=skip ;;  # JSON has no comments
    *.s[1-9]p | *.ts | *.nec) kind=skip ;;  # Touchstone measurements, NEC-2 decks
    CMakeLists.txt | */CMakeLists.txt) kind='#' ;;
    *.txt | *.csv | *.in | *.out) kind=skip ;;  # measurements and tables
    *.cpp | *.cc | *.hpp | *.hh | *.js | *.mjs | *.cjs) kind='//' ;;
    *.h) [[ $first == '/*'* ]] && kind='/*' || kind='//' ;;
    *.c | *.css) kind='/*' ;;
    *.sh | *.bash | *.py | *.cmake | *.yml | *.yaml | *.toml | .gitignore | */.gitignore | \
      .clang-format | */.clang-format | debian/rules) kind='#' ;;
    man/*.[1-9]) kind=roff ;;
    debian/tests/control) kind=skip ;;
    debian/tests/*) [[ $first == '#!'* ]] && kind='#' ;;
    debian/*) kind=skip ;;  # control files and lists that dpkg and debhelper read
    *) [[ $first == '#!'* ]] && kind='#' ;;  # a script without extension
  esac
  # Empty or binary: nothing to hold a comment.
  if [[ $kind != skip ]] && { [[ ! -s $path ]] || ! grep -Iq . "$path"; }; then
    kind=skip
  fi
  return 0
}

comment_line() {
  case $1 in
    '//') echo "// $identifier" ;;
    '/*') echo "/* $identifier */" ;;
    '#') echo "# $identifier" ;;
    '<!--') echo "<!-- $identifier -->" ;;
    roff) echo ".\\\" $identifier" ;;
  esac
}

# The line counts anywhere in the first five lines, as a comment of its
# own (a sentence that mentions it, as this script's do, is not one).
identifier_line='^(//|/[*]|#|<!--|[.]\\") SPDX-License-Identifier: [^ ]'
has_identifier() {
  local line n=0
  while ((n < 5)) && IFS= read -r line; do
    [[ $line =~ $identifier_line ]] && return 0
    n=$((n + 1))
  done < "$1"
  return 1
}

# The first line stays first when it must: a shebang, an HTML doctype, an
# XML declaration, or a man page's preprocessor line.  The rest of the file is left byte for byte
# as it was (a missing last line end too) by sed, which keeps the mode.
add_identifier() {
  local path=$1 line=$2 where=1i
  [[ $first == '#!'* || $first == '<!DOCTYPE'* || $first == '<!doctype'* || $first == '<?xml'* ||
     $first == "'\\\""* ]] && where=1a
  [[ $first == *$'\r' ]] && line+=$'\r'
  sed -i "$where\\
${line//\\/\\\\}" "$path"
}

missing=0 unknown=0
while IFS= read -r -d '' path; do
  [[ -f $path && ! -L $path ]] || continue
  classify "$path"
  if [[ -z $kind ]]; then
    echo "no rule for $path: give it one in scripts/spdx-headers.sh"
    unknown=$((unknown + 1))
    continue
  fi
  [[ $kind == skip ]] && continue
  has_identifier "$path" && continue
  if $check; then
    echo "lacks the SPDX line: $path"
    missing=$((missing + 1))
  else
    add_identifier "$path" "$(comment_line "$kind")"
    echo "added the SPDX line: $path"
  fi
done < <(list_files)
if $check && [[ $missing -gt 0 ]]; then
  echo "$missing file(s) lack the line; scripts/spdx-headers.sh adds it"
fi
[[ $missing -eq 0 && $unknown -eq 0 ]]
