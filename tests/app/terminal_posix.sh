#!/usr/bin/env bash
# The POSIX program in a real terminal: until it draws its own screen there,
# it reads the terminal as a stream (the terminal echoes the typed line) and
# writes the table after each measurement; Ctrl+C ends it.
set -euo pipefail
program=$1
source "$(dirname "$0")/../support/tmux.sh"
work=$(mktemp -d)
trap 'tmux_stop; rm -rf "$work"' EXIT
cd "$work"
# The shell's own Ctrl+C trap keeps it alive to report how the program ended.
tmux_run "trap true INT; '$program'; echo exit=\$?; sleep 30"
tmux_wait_for '^Gndfit ground constants'
tmux_keys "10 15 5" Enter
tmux_wait_for '^   2.36       1.64       1.37       1.19       1.00       0.84'
tmux_screen | grep -q '^23.8  2.9  19.2  3.6' || { echo "model row wrong"; tmux_screen; exit 1; }
tmux_keys C-c
tmux_wait_for 'exit=130$'
echo "1 passed, 0 failed"
