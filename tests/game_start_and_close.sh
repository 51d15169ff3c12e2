#!/usr/bin/env bash
# The game executable starts headless in a small project (written by the
# helper program: default\ without data\, so the first start asks, on
# stderr, whether to create data\ and takes the default Yes), shows the
# system and display lines in its report log, and on a close request by
# signal ends every thread in order and exits with 0, having written its
# window's place to user_data\Window.dat and nothing to stderr but the
# question. A second copy asks (headless: on stderr, answered Yes), ends the
# first in order and runs. Every run has its own runtime folder, so its lock
# never meets another game's. It also runs in a folder whose host name has
# characters without a Shift-JIS form, and in the sample project, which asks
# for Direct3D in a window.
# Arguments: the executable, the project writer, the sample project writer.
set -uo pipefail
game="$(realpath "$1")"
writer="$(realpath "$2")"
sample="$(realpath "$3")"
status=0
top="$(mktemp -d)"
trap 'rm -rf "$top"' EXIT
mkdir "$top/run"

# start <folder> [writer]: writes the project there (the small one unless
# another writer is named), then starts the game there in the background;
# sets $pid.
start() {
  if ! "${2:-$writer}" "$1" >/dev/null; then
    echo "$1: the project could not be written"
    status=1
  fi
  (cd "$1" && XDG_RUNTIME_DIR="$top/run" SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
     TAVRIK_EDITOR_SOCKET= exec "$game" 2>"$1/stderr.txt") &
  pid=$!
}

# up <folder>: waits until start-up has reached the display report.
up() {
  for _ in $(seq 1 1200); do
    grep -q "^Bpp : " "$1/Report_Game.txt" 2>/dev/null && return 0
    sleep 0.05
  done
  echo "$1: not up after 60 s"
  status=1
}

# ended <name> <pid>: waits up to 60 s (a bound for a hung program, never a pace) for the process to end and checks exit 0.
ended() {
  local i
  for i in $(seq 1 1200); do
    kill -0 "$2" 2>/dev/null || break
    sleep 0.05
  done
  if kill -0 "$2" 2>/dev/null; then
    echo "$1: still running after 60 s"
    kill -KILL "$2" 2>/dev/null
    status=1
  fi
  wait "$2"
  local rc=$?
  if [ "$rc" -ne 0 ]; then echo "$1: exit code $rc"; status=1; fi
}

# report <name> <folder> [line]: the report log names the version, the
# machine and the display the project asked for (a window at the desktop's
# depth; the software display reports its refresh rate, unless another line
# of the display is named).
report() {
  for line in "App : ver 734" "OS : " "HD Free : " "Mode : Window" "Bpp : 32" "${3:-RR : }"; do
    if ! grep -q "^$line" "$2/Report_Game.txt" 2>/dev/null; then
      echo "$1: no \"$line\" in the report log"
      status=1
    fi
  done
}

# quiet <name> <folder>: stderr holds the data question and nothing else.
quiet() {
  if ! grep -q "^\[デフォルトデータ作成の確認\] データが存在しません！" "$2/stderr.txt"; then
    echo "$1: no data question on stderr"
    status=1
  fi
  if grep -v -e "^\[デフォルトデータ作成の確認\] " -e "^\[二重起動\] " -e "^実行中のプログラム" \
       -e "^Running this program now" -e "^$" "$2/stderr.txt"; then
    echo "$1: more on stderr than the questions"
    status=1
  fi
}

# placed <name> <folder>: the window's place was written at the close.
placed() {
  if [ "$(stat -c %s "$2/user_data/Window.dat" 2>/dev/null)" != 32 ]; then
    echo "$1: no Window.dat"
    status=1
  fi
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
  placed "SIG$sig" "$dir"
  if [ ! -f "$dir/data/System.dat" ]; then echo "SIG$sig: data\\ not made"; status=1; fi
done

# The sample project: Direct3D in a window, with its fonts.
start "$top/sample" "$sample"
up "$top/sample"
sleep 0.3
kill -TERM "$pid"
ended "sample" "$pid"
quiet "sample" "$top/sample"
report "sample" "$top/sample" "TextureMem : "
placed "sample" "$top/sample"

# A second copy ends the first in order and runs in its place.
start "$top/first"
first=$pid
up "$top/first"
start "$top/second"
second=$pid
ended "first copy" "$first"
quiet "first copy" "$top/first"
placed "first copy" "$top/first"
up "$top/second"
report "second copy" "$top/second"
if ! grep -q "Running this program now. Restart?" "$top/second/stderr.txt"; then
  echo "second copy: no question on stderr"
  cat "$top/second/stderr.txt"
  status=1
fi
kill -TERM "$second"
ended "second copy" "$second"
quiet "second copy" "$top/second"
exit "$status"
