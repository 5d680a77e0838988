#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# A terminal smaller than the 109 x 19 screen (tmux): what fits is drawn,
# the user is told once what size the table needs, and when the terminal
# grows all ten bands show.  With no row to spare below the screen the
# notice comes at the way out, readable after the program has ended.
set -euo pipefail
program=$1
source "$(dirname "$0")/../support/tmux.sh"
tmux_scratch_dir
export LANG=C.UTF-8
notice='^gndfit: the table needs a terminal of 109 x 19; this one is'

tmux_run_sized 80 24 "'$program'; sleep 30"
tmux_wait_for '^Freq perm cond = *$'
tmux_wait_for "$notice 80 x 24.\$"
tmux_keys "10 15 5" Enter
tmux_wait_for '^    1.8        3.7        5.3        7.1       10.1       14.2       18.1 *$'
tmux -L "$tmux_socket" resize-window -t t -x 130 -y 30
tmux_wait_for '^    1.8        3.7 .*24.9       28.5$'
tmux_wait_for '^23.8  2.9  19.2  3.6  17.4  4.0  16.2  4.4  15.0  5.0  14.0  5.7  13.3  6.2  13.0  6.6  12.6  7.1  12.3  7.5$'
tmux_stop

tmux_run_sized 100 15 "trap true INT; '$program'; echo ended; sleep 30"
tmux_wait_for '^Freq perm cond = *$'
tmux_keys C-c
tmux_wait_for '^ended$'
tmux_wait_for "$notice 100 x 15.\$"
echo "1 passed, 0 failed"
