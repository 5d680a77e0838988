#!/usr/bin/env bash
# gndfit.exe in a real terminal under Wine: the heading, a measurement typed
# and edited with the line editor's keys, the rows read back from the
# screen, and Ctrl+C saving the window position as four bytes.
# Depends on Wine's console in a terminal: grey keys arrive without their
# enhanced flag (the keypad codes are the same), and Home and End must be
# sent as ESC [ H and ESC [ F.
set -euo pipefail
exe=$1
source "$(dirname "$0")/../support/tmux.sh"
work=$(mktemp -d)
trap 'tmux_stop; rm -rf "$work"' EXIT
cd "$work"
tmux_run "wine '$exe'; sleep 30"
tmux_wait_for '^Freq perm cond = *$'
tmux_wait_for 'Relative skin depth'

# "0 15 5", Home, "1", End, "x", Backspace: the line becomes "10 15 5".
tmux_keys "0 15 5"
tmux_keys -l $'\e[H'
tmux_keys "1"
tmux_keys -l $'\e[F'
tmux_keys "x" BSpace Enter
tmux_wait_for '^   2.36       1.64       1.37'
screen=$(tmux_screen)
grep -q '^Freq perm cond = 10 15 5$' <<<"$screen" || { echo "edited line wrong"; echo "$screen"; exit 1; }
grep -q '^23.8  2.9  19.2  3.6  17.4  4.0  16.2  4.4  15.0  5.0  14.0  5.7  13.3  6.2  13.0  6.6  12.6  7.1  12.3  7.5$' <<<"$screen" \
  || { echo "model row wrong"; echo "$screen"; exit 1; }

# Left and Delete inside the line, then the second worked example.
tmux_keys "28.5 13 1x0" Left Left DC Enter
tmux_wait_for '^   3.98       2.78       2.32'

tmux_keys C-c
for _ in $(seq 100); do
  [[ -f gndfit.ini && $(stat -c %s gndfit.ini) -eq 4 ]] && break
  sleep 0.1
done
[[ $(stat -c %s gndfit.ini) -eq 4 ]] || { echo "position file not written: $(stat -c %s gndfit.ini) bytes"; exit 1; }
echo "1 passed, 0 failed"
