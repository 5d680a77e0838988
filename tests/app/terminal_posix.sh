#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The program in a real POSIX terminal (tmux, 120 x 30): the heading and
# legend in colour, a measurement typed and edited with the line editor's
# keys, the rows read back from the screen, Esc erasing a line, and Ctrl+C
# ending the run with the terminal given back in its normal mode and no
# position file made.
set -euo pipefail
program=$1
source "$(dirname "$0")/../support/tmux.sh"
tmux_scratch_dir
# The shell's own Ctrl+C trap keeps it alive to report how the program
# ended and whether the terminal is back in line mode with echo.
tmux_run "trap true INT; '$program'; echo exit=\$?;" \
  "stty -a | grep -q ' icanon' && stty -a | grep -q ' echo ' && echo terminal-restored; sleep 30"
tmux_wait_for '^Freq perm cond = *$'
tmux -L "$tmux_socket" capture-pane -p -e -t t | grep -q $'\e\\[96m   Permittivity' \
  || { echo "legend not in colour"; exit 1; }

type_and_check_first_example Home End
tmux -L "$tmux_socket" capture-pane -p -e -t t | grep -q $'\e\\[96m23.8 \e\\[92m 2.9' \
  || { echo "permittivity and conductivity not in their colours"; exit 1; }

# A line erased with Esc, then the second example edited with Left and Delete.
tmux_keys "junk" Escape
sleep 0.3
tmux_keys "28.5 13 1x0" Left Left DC Enter
tmux_wait_for '^   3.98       2.78       2.32'
tmux_screen | grep -q '^Freq perm cond = 28.5 13 10$' || { echo "Esc or Delete wrong"; tmux_screen; exit 1; }

tmux_keys C-c
tmux_wait_for 'exit=130$'
tmux_wait_for '^terminal-restored$'
# A terminal has no window position to keep: no position file is made.
[[ ! -e gndfit.ini ]] || { echo "gndfit.ini made in a terminal"; exit 1; }
echo "1 passed, 0 failed"
