#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Typed non-ASCII text in a UTF-8 terminal (tmux): each character is one
# byte of CP437 inside the program, one cell on the screen and one
# Backspace to remove; a character CP437 lacks is dropped.
set -euo pipefail
program=$1
source "$(dirname "$0")/../support/tmux.sh"
tmux_scratch_dir
export LANG=C.UTF-8 LC_ALL=C.UTF-8
tmux_run "'$program'; sleep 30"
tmux_wait_for '^Freq perm cond = *$'
tmux_keys -l "é½ß€x"
tmux_wait_for '^Freq perm cond = é½ßx *$'
tmux_keys BSpace BSpace
tmux_keys -l "─"
tmux_wait_for '^Freq perm cond = é½─ *$'
echo "1 passed, 0 failed"
