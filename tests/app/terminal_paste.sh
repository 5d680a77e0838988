#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Pastes into the program in a real terminal (tmux): nothing typed may be
# lost however much arrives at once.  A 20,000-character line must arrive
# whole (its first and last fields make the measurement), and 50 pasted
# measurement lines must each give their table, in order.
set -euo pipefail
program=$1
source "$(dirname "$0")/../support/tmux.sh"
tmux_scratch_dir
export LANG=C.UTF-8
paste_text() {  # file
  tmux -L "$tmux_socket" load-buffer "$1"
  tmux -L "$tmux_socket" paste-buffer -t t -d  # line ends arrive as Enter
}
tmux_run "'$program'; sleep 30"
tmux_wait_for '^Freq perm cond = *$'

# "10", 19,993 blanks, "15 5": only the whole line gives the first worked
# example; losing its start leaves "15 5", which is rejected.
{ printf '10'; printf '%19993s' ''; printf '15 5\n'; } > long.txt
[[ $(wc -c < long.txt) -eq 20000 ]]
paste_text long.txt
tmux_wait_for '^23.8  2.9  19.2  3.6  17.4  4.0  16.2  4.4  15.0  5.0  14.0  5.7  13.3  6.2  13.0  6.6  12.6  7.1  12.3  7.5$'
tmux_wait_for '^Freq perm cond = *$'

# 50 measurements, 1.01 to 1.50 MHz, each padded to 60 characters.  The
# screen keeps the last three tables; the same lines in batch give the
# rows to expect.
for i in $(seq 1 50); do printf '%-60s\n' "1.$(printf %02d "$i") 15 5"; done > lines.txt
expected=$("$program" < lines.txt | tr -d '\r' | grep -E '^ *[0-9]+\.[0-9]+  ' | grep -v '^    1.8' | tail -6)
paste_text lines.txt
tmux_wait_for '^Freq perm cond = 1.50 '
tmux_wait_for '^Freq perm cond = *$'
shown=$(tmux_screen | grep -E '^ *[0-9]+\.[0-9]+  ' | grep -v '^    1.8' | tail -6)
[[ "$shown" == "$expected" ]] || { echo "last tables differ:"; echo "$shown"; echo "expected:"; echo "$expected"; exit 1; }
[[ $(tmux_screen | grep -c '^Freq perm cond = 1.4[89] ') -eq 2 ]] || { echo "lines 48 and 49 not shown"; tmux_screen; exit 1; }
echo "1 passed, 0 failed"
