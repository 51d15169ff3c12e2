#!/usr/bin/env bash
# The game executable starts headless (no project yet: window, game thread,
# frame loop), and on a close request by signal ends every thread in order
# and exits with 0, writing nothing to stderr. A second copy asks (headless:
# on stderr, answered Yes), ends the first in order and runs. Every run has
# its own runtime folder, so its lock never meets another game's.
# It also runs in a folder whose host name has characters without a
# Shift-JIS form. Argument: the executable.
set -uo pipefail
game="$(realpath "$1")"
status=0
top="$(mktemp -d)"
trap 'rm -rf "$top"' EXIT
mkdir "$top/run"

# start <folder>: starts the game there in the background; sets $pid.
start() {
  mkdir -p "$1"
  (cd "$1" && XDG_RUNTIME_DIR="$top/run" SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
     TAVRIK_EDITOR_SOCKET= exec "$game" 2>"$1/stderr.txt") &
  pid=$!
}

# up <folder>: waits until start-up has reached the display report.
up() {
  for _ in $(seq 1 200); do
    grep -q "^Mode : " "$1/Report_Game.txt" 2>/dev/null && return 0
    sleep 0.05
  done
  echo "$1: not up after 10 s"
  status=1
}

# ended <name> <pid>: waits up to 10 s for the process to end and checks exit 0.
ended() {
  local i
  for i in $(seq 1 200); do
    kill -0 "$2" 2>/dev/null || break
    sleep 0.05
  done
  if kill -0 "$2" 2>/dev/null; then
    echo "$1: still running after 10 s"
    kill -KILL "$2" 2>/dev/null
    status=1
  fi
  wait "$2"
  local rc=$?
  if [ "$rc" -ne 0 ]; then echo "$1: exit code $rc"; status=1; fi
}

# report <name> <folder>: the report log names the version, the machine and the display.
report() {
  for line in "App : ver 734" "OS : " "HD Free : " "Mode : "; do
    if ! grep -q "^$line" "$2/Report_Game.txt" 2>/dev/null; then
      echo "$1: no \"$line\" in the report log"
      status=1
    fi
  done
}

quiet() {
  if [ -s "$2/stderr.txt" ]; then echo "$1: stderr:"; cat "$2/stderr.txt"; status=1; fi
}

# signal, then the folder (below the run's own one) to start the game in
for run in "TERM TERM" "INT INT" "TERM ゲーム/josé"; do
  sig="${run%% *}"
  dir="$top/${run#* }"
  start "$dir"
  up "$dir"
  sleep 0.3  # some frames
  kill -"$sig" "$pid"
  ended "SIG$sig" "$pid"
  quiet "SIG$sig" "$dir"
  report "SIG$sig" "$dir"
done

# A second copy ends the first in order and runs in its place.
start "$top/first"
first=$pid
up "$top/first"
start "$top/second"
second=$pid
ended "first copy" "$first"
quiet "first copy" "$top/first"
up "$top/second"
report "second copy" "$top/second"
if ! grep -q "Running this program now. Restart?" "$top/second/stderr.txt"; then
  echo "second copy: no question on stderr"
  cat "$top/second/stderr.txt"
  status=1
fi
kill -TERM "$second"
ended "second copy" "$second"
exit "$status"
