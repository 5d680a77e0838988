#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Results that scroll off the top of the screen go into the terminal's
# scrollback (tmux history), each line once and in order, including lines
# that scroll off between two frames (a paste); the screen itself shows the
# same 19 rows as ever.
set -euo pipefail
program=$1
source "$(dirname "$0")/../support/tmux.sh"
tmux_scratch_dir
export LANG=C.UTF-8
tmux_run "'$program'; sleep 30"
tmux_wait_for '^Freq perm cond = *$'
for f in 1.5 2.5 3.5; do  # typed one by one: a frame after each
  tmux_keys "$f 15 5" Enter
  tmux_wait_for "^Freq perm cond = $f 15 5"
done
for f in 4.5 5.5 6.5 7.5 8.5 9.5; do printf '%s 15 5\n' "$f"; done > paste.txt
tmux -L "$tmux_socket" load-buffer paste.txt
tmux -L "$tmux_socket" paste-buffer -t t -d  # several tables between two frames
tmux_wait_for '^Freq perm cond = 9.5 15 5'
tmux_wait_for '^Freq perm cond = *$'
sleep 0.3

all=$(tmux -L "$tmux_socket" capture-pane -p -S - -t t)
# What the program printed, without the prompts, against the same
# measurements in batch.
shown=$(grep -v '^ *$' <<<"$all" | grep -v '^Freq perm cond =')
expected=$(printf '%s 15 5\n' 1.5 2.5 3.5 | cat - paste.txt | "$program" | tr -d '\r' | grep -v '^ *$')
[[ "$shown" == "$expected" ]] || { echo "scrollback and screen differ from the output:"; diff <(echo "$expected") <(echo "$shown") | head; exit 1; }
# Each row in its own colours, in the history as on the screen: every
# value row starts in the permittivity's colour (bright cyan, 96) and holds
# the conductivity's (bright green, 92), every depth row is dark grey (90).
coloured=$(tmux -L "$tmux_socket" capture-pane -e -p -S - -t t)
esc=$'\e'
value_rows=$(grep -c "^$esc\[96m.*$esc\[92m" <<<"$coloured" || true)
depth_rows=$(grep -cE "^$esc\[90m +[0-9]" <<<"$coloured" || true)
[[ $value_rows -eq 9 && $depth_rows -eq 9 ]] \
  || { echo "coloured rows in the history: $value_rows value rows, $depth_rows depth rows, not 9 each"; exit 1; }
prompts=$(grep -c '^Freq perm cond = [0-9]' <<<"$all")
[[ $prompts -eq 9 ]] || { echo "$prompts measurement lines, not 9"; exit 1; }
# The screen: the last 19 rows of it all, the last prompt on row 19.
screen=$(tmux_screen)
[[ $(sed -n 19p <<<"$screen") == "Freq perm cond = " || $(sed -n 19p <<<"$screen") == "Freq perm cond =" ]] \
  || { echo "the screen is not the program's 19 rows"; echo "$screen"; exit 1; }
[[ -z $(sed -n '20,$p' <<<"$screen" | tr -d ' \n') ]] || { echo "rows below the screen written"; exit 1; }
echo "1 passed, 0 failed"
