#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The real program in batch use when things go wrong: every failure of
# standard input or output is reported and ends the run with status 1, a
# broken pipe ends it silently by SIGPIPE, nothing is lost on non-blocking
# descriptors, a control signal ends it promptly and by that signal, and
# the position file is used only when it is a regular file.
set -uo pipefail
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
ulimit -c 0
passed=0 failed=0
check() {  # description, then a command that must succeed
  local what=$1; shift
  if "$@"; then passed=$((passed + 1)); else echo "FAILED: $what"; failed=$((failed + 1)); fi
}
# 20,000 measurements, about 3 MB of tables.
awk 'BEGIN { for (i = 0; i < 20000; i++) printf "%.3f %.1f %.2f\n", 1 + (i * 7919 % 29000) / 1000, 3 + i % 37, 0.5 + i % 50 }' > m20k.txt
"$program" < m20k.txt > reference.out

# Runs the program, keeping its status and standard error.
run() { "$@" 2> err.txt; status=$?; }
status_and_message() {  # expected status, expected standard error
  [[ $status -eq $1 && "$(cat err.txt)" == "$2" ]] || { echo "status $status, stderr: $(cat err.txt)"; return 1; }
}

run "$program" < m20k.txt > /dev/full
check "a full disk is reported" status_and_message 1 "gndfit: cannot write standard output: No space left on device"
run "$program" < m20k.txt >&-
check "a closed standard output is reported" status_and_message 1 "gndfit: cannot write standard output: Bad file descriptor"
run "$program" < /tmp > /dev/null
check "a directory as standard input is reported" status_and_message 1 "gndfit: cannot read standard input: Is a directory"
run "$program" <&- > /dev/null
check "a closed standard input is reported" status_and_message 1 "gndfit: cannot read standard input: Bad file descriptor"
yes 10 15 5 | timeout 5 "$program" > /dev/full 2> err.txt; status=${PIPESTATUS[1]}
check "endless input into a full disk ends at once" status_and_message 1 "gndfit: cannot write standard output: No space left on device"
"$program" < m20k.txt 2> err.txt | head -c 100 > /dev/null; status=${PIPESTATUS[0]}
check "a broken pipe ends the run by SIGPIPE, silently" status_and_message 141 ""

# Non-blocking descriptors with a slow partner lose nothing.
nonblocking() {  # STDIN or STDOUT, command...
  local fh=$1; shift
  perl -MFcntl -e 'my $fh = shift; my $f = fcntl($fh, F_GETFL, 0); fcntl($fh, F_SETFL, $f | O_NONBLOCK) or die; exec @ARGV' "$fh" "$@"
}
nonblocking STDOUT "$program" < m20k.txt | (sleep 1; cat) > slow_reader.out
check "non-blocking output with a slow reader loses nothing" cmp slow_reader.out reference.out
(sleep 1; cat m20k.txt) | nonblocking STDIN "$program" > slow_writer.out
check "non-blocking input with a slow writer loses nothing" cmp slow_writer.out reference.out

# A control signal while the output is blocked (the reader has stopped
# reading) ends the run within a second.
ends_within_a_second() {  # signal
  rm -f out.fifo
  mkfifo out.fifo
  sleep 20 < out.fifo &  # a reader that never reads
  local reader=$!
  "$program" < m20k.txt > out.fifo &
  local pid=$!
  sleep 0.5
  kill "-$1" "$pid"
  local ended=1
  for _ in $(seq 20); do kill -0 "$pid" 2>/dev/null || { ended=0; break; }; sleep 0.05; done
  kill "$reader" 2>/dev/null
  wait "$reader" "$pid" 2>/dev/null
  ((ended == 0)) || { echo "still running a second after SIG$1"; kill -KILL "$pid"; return 1; }
}
for sig in TERM INT HUP; do check "SIG$sig ends a run whose output is blocked" ends_within_a_second $sig; done

# Each control signal ends the process by that very signal, as the
# signal's own action would, after the handlers ran.
ends_by() {  # signal name, signal number
  local how
  how=$(perl -e 'pipe(my $r, my $w) or die; my $pid = fork;
        if (!$pid) { close $w; open(STDIN, "<&", $r); open(STDOUT, ">", "/dev/null"); exec @ARGV[1 .. $#ARGV] or exit 99 }
        close $r; select(undef, undef, undef, 0.3); kill $ARGV[0], $pid; waitpid($pid, 0);
        print(($? & 127) ? "signal " . ($? & 127) : "exit " . ($? >> 8))' "$1" "$program")
  [[ $how == "signal $2" ]] || { echo "SIG$1: $how"; return 1; }
}
check "SIGINT ends the process by SIGINT" ends_by INT 2
check "SIGQUIT ends the process by SIGQUIT" ends_by QUIT 3
check "SIGTERM ends the process by SIGTERM" ends_by TERM 15
check "SIGHUP ends the process by SIGHUP" ends_by HUP 1

# The position file: a FIFO of that name is not waited on, a dangling
# symbolic link does not create its target.
mkdir fifo link
printf '10 15 5\n' > one.txt
(cd fifo && mkfifo gndfit.ini && timeout 5 "$program" < ../one.txt > out.txt); status=$?
check "a FIFO as position file does not block start-up" test $status -eq 0 -a -p fifo/gndfit.ini
(cd link && ln -s target gndfit.ini && "$program" < ../one.txt > out.txt)
check "a dangling symbolic link creates nothing" test ! -e link/target -a -L link/gndfit.ini
check "the output is the same without a usable position file" cmp fifo/out.txt link/out.txt

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
