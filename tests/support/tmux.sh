# Sourced by the terminal tests: one tmux server of the test's own, a
# 120 x 30 terminal running a command, keys sent to it and the screen read
# back as text.
tmux_socket="gndfit_test_$$"
tmux_run() {  # command...
  tmux -L "$tmux_socket" new-session -d -s t -x 120 -y 30 "$*"
}
tmux_keys() { tmux -L "$tmux_socket" send-keys -t t "$@"; }
tmux_screen() { tmux -L "$tmux_socket" capture-pane -p -t t; }
tmux_stop() { tmux -L "$tmux_socket" kill-server 2>/dev/null || true; }
# Waits up to 30 s for a line of the screen to match a pattern.
tmux_wait_for() {  # pattern
  for _ in $(seq 300); do
    tmux_screen | grep -q -- "$1" && return 0
    sleep 0.1
  done
  echo "screen never showed: $1"
  tmux_screen
  return 1
}
