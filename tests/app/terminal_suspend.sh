#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Ctrl+Z and fg in a real terminal (tmux), under bash and under dash: while
# the program is stopped the shell has its terminal back (lines typed are
# echoed and read in its own mode, the program's title is gone); after fg
# the screen is drawn again exactly as it was and the program goes on.
set -euo pipefail
program=$1
source "$(dirname "$0")/../support/tmux.sh"
tmux_scratch_dir
export LANG=C.UTF-8 PS1='$ '
passed=0 failed=0

suspend_and_resume() {  # shell command line
  local shell=$1 ok=1
  tmux_run "$shell"
  tmux_wait_for '[$#] *$'
  tmux_keys "printf '\\033]0;shell-title\\007'; '$program'" Enter
  tmux_wait_for '^Freq perm cond = *$'
  tmux_keys "10 15 5" Enter
  tmux_wait_for '^   2.36       1.64'
  tmux_wait_for '^Freq perm cond = *$'
  tmux_keys "7"  # a line begun before the stop
  sleep 0.3
  local before
  before=$(tmux_screen)
  tmux_keys C-z
  tmux_wait_for '[$#] *$'
  tmux_keys "echo back-in-the-\$((1 + 1))-shell" Enter
  tmux_wait_for '^back-in-the-2-shell$' || { echo "$shell: the shell did not get its terminal back"; ok=0; }
  [[ $(tmux -L "$tmux_socket" display -p -t t '#{pane_title}') == shell-title ]] || { echo "$shell: title not given back"; ok=0; }
  tmux_keys "fg" Enter
  for _ in $(seq 50); do [[ $(tmux_screen) == "$before" ]] && break; sleep 0.1; done
  [[ $(tmux_screen) == "$before" ]] || { echo "$shell: screen not drawn again as it was"; tmux_screen | head -12; ok=0; }
  tmux_keys ".1 13 5" Enter  # the line goes on: 7.1 13 5
  tmux_wait_for '^Freq perm cond = 7.1 13 5 *$' || { echo "$shell: the program did not go on"; ok=0; }
  tmux_stop
  if ((ok)); then passed=$((passed + 1)); else failed=$((failed + 1)); fi
}

suspend_and_resume "bash --norc --noprofile -i"
suspend_and_resume "dash -i"
echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
