#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# gndfit.exe in a real terminal under Wine: the heading, a measurement typed
# and edited with the line editor's keys, the rows read back from the
# screen, a paste longer than the key queue, and Ctrl+C saving the window
# position as four bytes.
# Depends on Wine's console in a terminal: grey keys arrive without their
# enhanced flag (the keypad codes are the same), and Home and End must be
# sent as ESC [ H and ESC [ F.
set -euo pipefail
exe=$1
source "$(dirname "$0")/../support/tmux.sh"
tmux_scratch_dir
tmux_run "wine '$exe'; sleep 30"
tmux_wait_for '^Freq perm cond = *$'
tmux_wait_for 'Relative skin depth'

type_and_check_first_example $'\e[H' $'\e[F'

# Left and Delete inside the line, then the second worked example.
tmux_keys "28.5 13 1x0" Left Left DC Enter
tmux_wait_for '^   3.98       2.78       2.32'

# A 600-character paste, more than the key queue holds, arrives whole:
# "7.1", blanks, "13 5" gives its table only if its start was kept.  The
# row to expect comes from the same measurement in batch.
{ printf '7.1'; printf '%592s' ''; printf '13 5\n'; } > paste.txt
row=$(mkdir batch && cd batch && wine "$exe" < ../paste.txt | tr -d '\r' | sed -n 7p)
[[ -n $row ]] || { echo "no table in batch"; exit 1; }
tmux -L "$tmux_socket" load-buffer paste.txt
tmux -L "$tmux_socket" paste-buffer -t t -d
tmux_wait_for "^$row\$"

tmux_keys C-c
for _ in $(seq 100); do
  [[ -f gndfit.ini && $(stat -c %s gndfit.ini) -eq 4 ]] && break
  sleep 0.1
done
[[ $(stat -c %s gndfit.ini) -eq 4 ]] || { echo "position file not written: $(stat -c %s gndfit.ini) bytes"; exit 1; }
echo "1 passed, 0 failed"
