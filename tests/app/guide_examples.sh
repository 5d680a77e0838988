#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The README and the user guide run as written: in every fenced block, each
# `$ ` command runs and must print the lines the document shows after it
# (a last line ending in `...` is a beginning of the output); a `$ `
# command shown without output must end with status 0, as must each
# command of an sh block without prompts that runs gndfit.  All run in one
# scratch directory holding a copy of examples/, with gndfit on the PATH,
# so the files the documents name must be there.  A command whose program
# is not installed (nec2c) is skipped and counted as such.
#   guide_examples.sh PROGRAM EXAMPLES_DIR DOCUMENT...
set -uo pipefail
program=$(cd "$(dirname "$1")" && pwd)/$(basename "$1") examples=$2
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
printf '#!/bin/sh\nexec "%s" "$@"\n' "$program" > "$work/bin/gndfit"
chmod +x "$work/bin/gndfit"
cp -r "$examples" "$work/examples"
passed=0 failed=0 skipped=0

run_command() {  # document, command, 1 when output is shown, the output shown
  local document=$1 command=$2 shown=$3 expected=$4 actual status first
  first=${command%% *}
  if [[ $first != gndfit && $first != '('* ]] && ! command -v "$first" > /dev/null; then
    skipped=$((skipped + 1))
    echo "skipped ($first is not installed): $command"
    return
  fi
  actual=$(cd "$work" && PATH="$work/bin:$PATH" bash -e -c "$command" 2>&1 | tr -d '\r'
           exit "${PIPESTATUS[0]}")
  status=$?
  expected=$(printf '%s' "$expected")  # without trailing blank lines, as $() gives them
  if [[ $shown -eq 0 ]]; then
    [[ $status -eq 0 ]] && { passed=$((passed + 1)); return; }
    failed=$((failed + 1))
    printf 'FAILED (%s): %s\n--- status %d, printed:\n%s\n' "$document" "$command" "$status" "$actual"
    return
  fi
  if [[ $expected == *... ]]; then
    [[ $actual == "${expected%...}"* ]] && { passed=$((passed + 1)); return; }
  elif [[ $actual == "$expected" ]]; then
    passed=$((passed + 1))
    return
  fi
  failed=$((failed + 1))
  printf 'FAILED (%s): %s\n--- the document shows:\n%s\n--- the program printed:\n%s\n' \
    "$document" "$command" "$expected" "$actual"
}

for document in "$@"; do
  name=$(basename "$document")
  inside=0 language="" command="" expected="" shown=0 prompts=0 plain=()
  flush() {
    [[ -n $command ]] && run_command "$name" "$command" "$shown" "$expected"
    command="" expected="" shown=0
  }
  while IFS= read -r line || [[ -n $line ]]; do
    if [[ $inside -eq 0 ]]; then
      [[ $line == '```'* ]] && inside=1 language=${line#'```'} prompts=0 plain=()
      continue
    fi
    if [[ $line == '```'* ]]; then
      flush
      inside=0
      # An sh block without prompts: a list of commands; those running
      # gndfit are run.
      if [[ $prompts -eq 0 && $language == sh ]]; then
        for text in "${plain[@]}"; do
          [[ $text =~ (^|[|\(][[:space:]]*)gndfit([[:space:]]|$) ]] && run_command "$name" "$text" 0 ""
        done
      fi
      continue
    fi
    if [[ $line == '$ '* ]]; then
      flush
      prompts=1 command=${line#'$ '}
    elif [[ -n $command ]]; then
      if [[ $shown -eq 0 ]]; then expected=$line; else expected+=$'\n'$line; fi
      shown=1
    elif [[ -n $line ]]; then
      plain+=("$line")
    fi
  done < "$document"
done
echo "$passed passed, $failed failed, $skipped skipped"
[[ $passed -gt 0 && $failed -eq 0 ]]
