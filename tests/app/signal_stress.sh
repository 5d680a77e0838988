#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Control signals at random moments of a batch run, from start-up to the
# last write: every run must end either normally (status 0) or by the very
# signal sent, never by a crash or a sanitizer's report.
set -uo pipefail
runs=$1
program=$2
golden=$(cd "$(dirname "$0")/../golden" && pwd)
work=$(mktemp -d)
# A signal may reach a forked shell before it runs the program, and a shell
# runs its EXIT trap on SIGHUP: only this shell removes the directory.
main_shell=$BASHPID
trap '[[ $BASHPID == "$main_shell" ]] && rm -rf "$work"' EXIT
cd "$work"
ulimit -c 0
signals=(TERM INT HUP QUIT)
declare -A allowed=([TERM]=143 [INT]=130 [HUP]=129 [QUIT]=131)
bad=0
for ((i = 0; i < runs; i++)); do
  sig=${signals[i % 4]}
  # The shortest input with a measurement (one without any is an error of
  # its own), and a longer one.
  input=$golden/golden_07.in
  ((i % 2)) && input=$golden/golden_08.in
  "$program" < "$input" > /dev/null 2> err.txt &
  pid=$!
  sleep "0.00$((RANDOM % 10))"
  kill "-$sig" "$pid" 2>/dev/null
  wait "$pid"
  status=$?
  if [[ $status -ne 0 && $status -ne ${allowed[$sig]} ]] || [[ -s err.txt ]]; then
    echo "run $i (SIG$sig): status $status"; head -5 err.txt
    bad=$((bad + 1))
  fi
done
echo "$((runs - bad)) passed, $bad failed"
[[ $bad -eq 0 ]]
