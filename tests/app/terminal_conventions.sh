#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Conventions of terminal programs, in a real terminal (tmux): NO_COLOR set
# gives the same screen without a single colour; TERM=dumb gives no drawn
# screen but the prompt, the line typed in the terminal's own mode, the rows
# as plain text, and Ctrl+D ending the run with status 0.
set -euo pipefail
program=$1
source "$(dirname "$0")/../support/tmux.sh"
tmux_scratch_dir
export LANG=C.UTF-8
example_row='^23.8  2.9  19.2  3.6  17.4  4.0  16.2  4.4  15.0  5.0  14.0  5.7  13.3  6.2  13.0  6.6  12.6  7.1  12.3  7.5$'

screen_after_example() {  # environment assignments for the program
  tmux_run "env $* '$program'; sleep 30"
  tmux_wait_for '^Freq perm cond = *$'
  tmux_keys "10 15 5" Enter
  tmux_wait_for "$example_row"
  tmux_wait_for '^Freq perm cond = *$'
}

screen_after_example NO_COLOR=
tmux_screen > coloured.txt
tmux -L "$tmux_socket" capture-pane -p -e -t t | grep -q $'\e\\[9[0-9]m' || { echo "no colours without NO_COLOR"; exit 1; }
tmux_stop
screen_after_example NO_COLOR=1
tmux_screen > plain.txt
if tmux -L "$tmux_socket" capture-pane -p -e -t t | grep -q $'\e\\['; then
  echo "NO_COLOR: colour sequences on the screen"; exit 1
fi
cmp coloured.txt plain.txt || { echo "NO_COLOR: the layout differs"; exit 1; }
tmux_stop

tmux_run "env TERM=dumb '$program'; echo exit=\$?; sleep 30"
tmux_wait_for '^Freq perm cond = *$'
tmux_keys "10 15 5" Enter
tmux_wait_for "$example_row"
tmux_wait_for '^Freq perm cond = *$'
tmux_keys C-d
tmux_wait_for '^exit=0$' || { echo "TERM=dumb: Ctrl+D did not end the run with 0"; exit 1; }
tmux_screen | grep -q '^Gndfit ground constants$' || { echo "TERM=dumb: no heading"; exit 1; }
echo "1 passed, 0 failed"
