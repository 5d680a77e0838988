# SPDX-License-Identifier: MIT
# Sourced by the terminal tests: one tmux server of the test's own, a
# 120 x 30 terminal (or one of the size given) running a command, keys sent to it and the screen read
# back as text.
tmux_socket="gndfit_test_$$"
tmux_runs=0
# Each run gets a server of its own: a server just killed may still hold
# its socket for a moment, and a new session there fails.
tmux_run() {  # command...
  tmux_run_sized 120 30 "$@"
}
tmux_run_sized() {  # columns, rows, command...
  local columns=$1 rows=$2
  shift 2
  tmux_runs=$((tmux_runs + 1))
  tmux_socket="gndfit_test_$$_$tmux_runs"
  tmux -L "$tmux_socket" new-session -d -s t -x "$columns" -y "$rows" "$*"
}
tmux_keys() { tmux -L "$tmux_socket" send-keys -t t "$@"; }
tmux_screen() { tmux -L "$tmux_socket" capture-pane -p -t t; }
tmux_stop() { tmux -L "$tmux_socket" kill-server 2>/dev/null || true; }
# Waits up to 30 s for a line of the screen to match a pattern.
tmux_wait_for() {  # pattern
  for _ in $(seq 300); do
    local screen
    screen=$(tmux_screen 2>/dev/null) || { echo "the terminal went away before it showed: $1"; return 1; }
    grep -q -- "$1" <<<"$screen" && return 0
    sleep 0.1
  done
  echo "screen never showed: $1"
  tmux_screen
  return 1
}
# Runs the rest of the test in a scratch directory, removed with the tmux
# server when the test ends.
tmux_scratch_dir() {
  work=$(mktemp -d)
  trap 'tmux_stop; rm -rf "$work"' EXIT
  cd "$work"
}
# Types "0 15 5", Home, "1", End, "x", Backspace and Enter (Home and End
# as the keys given), and checks that the line became "10 15 5" and that
# its rows came out.
type_and_check_first_example() {  # home-key end-key
  tmux_keys "0 15 5"
  tmux_keys "$1"
  tmux_keys "1"
  tmux_keys "$2"
  tmux_keys "x" BSpace Enter
  tmux_wait_for '^   2.36       1.64       1.37       1.19       1.00       0.84' || return 1
  local screen
  screen=$(tmux_screen)
  grep -q '^Freq perm cond = 10 15 5$' <<<"$screen" || { echo "edited line wrong"; echo "$screen"; return 1; }
  grep -q '^23.8  2.9  19.2  3.6  17.4  4.0  16.2  4.4  15.0  5.0  14.0  5.7  13.3  6.2  13.0  6.6  12.6  7.1  12.3  7.5$' <<<"$screen" \
    || { echo "model row wrong"; echo "$screen"; return 1; }
}

# The command line the program runs with, to find its process: its path, or
# for a cross-built program the line of the emulator that its wrapper
# script execs.
program_command_line() {
  if [[ $(head -c 2 "$1") == '#!' ]]; then
    sed -n 's/^exec \(.*\) "\$@"$/\1/p' "$1"
  else
    printf '%s\n' "$1"
  fi
}
