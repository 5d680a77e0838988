#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Every way out of the program in a real terminal (tmux) leaves the terminal
# exactly as it was found, under a plain sh that repairs nothing: the same
# `stty -g` modes, the title the terminal had, the cursor shown, default
# colours for what the shell writes next, and the shell's prompt below the
# program's screen, and the exit status: 0 for Ctrl+D on an empty line (as
# at the end of input), death by the signal for Ctrl+C, Ctrl+\, SIGTERM and
# SIGHUP.
set -euo pipefail
program=$1
source "$(dirname "$0")/../support/tmux.sh"
tmux_scratch_dir
export LANG=C.UTF-8
passed=0 failed=0

way_out() {  # name, how (a key for tmux or "kill -SIG"), the exit status sh sees
  local name=$1 how=$2 status=$3
  rm -f before after
  tmux_run "sh -c 'trap true INT QUIT; printf \"\\033]0;shell-title\\007\"; stty -g > before; \"$program\"; s=\$?; stty -g > after; echo \"after-\$s\"'; sleep 30"
  tmux_wait_for '^Freq perm cond = *$'
  if [[ $how != C-d ]]; then
    tmux_keys "12 3"  # something typed, not finished
    sleep 0.3
  fi
  case $how in
    kill*)  # this terminal's program: in the session of the pane's shell
      local session
      session=$(ps -o sid= -p "$(tmux -L "$tmux_socket" display -p -t t '#{pane_pid}')" | tr -d ' ')
      pkill -${how#kill -} -s "$session" -f -x "$(program_command_line "$program")" ;;
    *) tmux_keys "$how" ;;
  esac
  local ok=1
  tmux_wait_for '^after-' || { echo "$name: the program did not end"; ok=0; }
  if ((ok)); then
    tmux_screen | grep -q "^after-$status\$" || { echo "$name: not status $status"; ok=0; }
    cmp -s before after || { echo "$name: stty modes differ: $(cat before) / $(cat after)"; ok=0; }
    local title cursor line
    title=$(tmux -L "$tmux_socket" display -p -t t '#{pane_title}')
    [[ $title == shell-title ]] || { echo "$name: title is '$title'"; ok=0; }
    cursor=$(tmux -L "$tmux_socket" display -p -t t '#{cursor_flag}')
    [[ $cursor == 1 ]] || { echo "$name: cursor hidden"; ok=0; }
    # The capture states the default colours again after the coloured screen
    # above; any other attribute on the shell's line was left on.
    line=$(tmux -L "$tmux_socket" capture-pane -p -e -t t | grep 'after-' | sed 's/\x1b\[\(0\|39\|49\)m//g')
    [[ $line == after-* ]] || { echo "$name: colours left on: $(printf %q "$line")"; ok=0; }
    local row
    row=$(tmux_screen | grep -n '^after-' | cut -d: -f1)
    ((row > 19)) || { echo "$name: the shell writes into the screen (row $row)"; ok=0; }
  fi
  ((ok)) || tmux_screen | tail -5
  tmux_stop
  if ((ok)); then passed=$((passed + 1)); else failed=$((failed + 1)); fi
}

way_out "Ctrl+D on an empty line" C-d 0
way_out "Ctrl+C" C-c 130
way_out "Ctrl+\\" 'C-\' 131
way_out "SIGTERM" "kill -TERM" 143
way_out "SIGHUP" "kill -HUP" 129
echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
