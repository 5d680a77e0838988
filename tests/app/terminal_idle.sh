#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# At rest at its prompt in a terminal (tmux) the program sleeps until a key,
# a signal or a resize arrives: over three idle seconds its main thread
# wakes a handful of times at most (looking every 25 ms would be 120), and
# it still answers a key and an Esc alone at once.  A resize while it
# waits is terminal_small.sh's: the table redrawn with no key pressed.
set -euo pipefail
program=$1
source "$(dirname "$0")/../support/tmux.sh"
if [[ $(head -c 2 "$program") == '#!' ]]; then
  echo "skipped: an emulated program's wake-ups are the emulator's"
  exit 77
fi
tmux_scratch_dir
export LANG=C.UTF-8
tmux_run "'$program'; sleep 30"
tmux_wait_for '^Freq perm cond = *$'
# The program is the child of this terminal's shell: other tests may run
# the same program at the same time.
shell_pid=$(tmux -L "$tmux_socket" display-message -p -t t '#{pane_pid}')
pid=$(pgrep -P "$shell_pid" | head -1)
[[ -n $pid ]] || { echo "no program under the terminal's shell $shell_pid"; exit 1; }
wakes() { awk '/^voluntary_ctxt_switches/ { print $2 }' "/proc/$pid/status"; }
sleep 0.5
before=$(wakes)
sleep 3
after=$(wakes)
[[ $((after - before)) -le 6 ]] || { echo "$((after - before)) wake-ups in 3 idle seconds"; exit 1; }
# Still prompt: a key, a lone Esc (erases the line), a measurement.
tmux_keys "10 15"
tmux_wait_for '^Freq perm cond = 10 15$'
tmux_keys Escape
tmux_wait_for '^Freq perm cond = *$'
tmux_keys "10 15 5" Enter
tmux_wait_for '^   2.36       1.64'
echo "1 passed, 0 failed"
