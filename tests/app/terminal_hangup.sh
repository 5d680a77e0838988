#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The terminal goes away under the program without a SIGHUP reaching it
# (it runs in a session of its own, as behind a wrapper that does not pass
# the hang-up on): the program must see the hang-up itself and end, not
# poll a dead terminal for ever.
set -euo pipefail
program=$1
source "$(dirname "$0")/../support/tmux.sh"
tmux_scratch_dir
tmux_run "setsid sh -c 'echo \$\$ > pid; exec \"$program\"'; sleep 30"
tmux_wait_for '^Freq perm cond = *$'
pid=$(cat pid)
kill -0 "$pid"
tmux_stop  # closes the terminal
for _ in $(seq 150); do  # an emulated program under load can take seconds
  kill -0 "$pid" 2>/dev/null || { echo "1 passed, 0 failed"; exit 0; }
  sleep 0.1
done
echo "still running 15 s after its terminal closed"
kill -KILL "$pid"
exit 1
