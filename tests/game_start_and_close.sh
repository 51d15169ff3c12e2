#!/usr/bin/env bash
# The game executable starts headless (no project yet: window, game thread,
# frame loop), and on a close request by signal ends every thread in order
# and exits with 0, writing nothing to stderr. It does so in a folder whose
# host name has characters without a Shift-JIS form too. Argument: the
# executable.
set -uo pipefail
game="$1"
status=0

# signal, then the folder (below a fresh one) to start the game in
for run in "TERM ." "INT ." "TERM ゲーム/josé"; do
  sig="${run%% *}"
  top="$(mktemp -d)"
  dir="$top/${run#* }"
  mkdir -p "$dir"
  (cd "$dir" && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy exec "$game" 2>"$dir/stderr.txt") &
  pid=$!
  # Up once the report log exists; then let the game thread run some frames.
  for _ in $(seq 1 200); do
    [ -s "$dir/Report_Game.txt" ] && break
    sleep 0.05
  done
  sleep 0.3
  kill -"$sig" "$pid"
  ended=0
  for _ in $(seq 1 200); do
    if ! kill -0 "$pid" 2>/dev/null; then ended=1; break; fi
    sleep 0.05
  done
  if [ "$ended" -ne 1 ]; then
    echo "SIG$sig: still running after 10 s"
    kill -KILL "$pid" 2>/dev/null
    status=1
  fi
  wait "$pid"
  rc=$?
  if [ "$rc" -ne 0 ]; then echo "SIG$sig: exit code $rc"; status=1; fi
  if [ -s "$dir/stderr.txt" ]; then echo "SIG$sig: stderr:"; cat "$dir/stderr.txt"; status=1; fi
  if ! grep -q "App : ver 734" "$dir/Report_Game.txt" 2>/dev/null; then
    echo "SIG$sig in $dir: no report log"
    status=1
  fi
  rm -rf "$top"
done
exit "$status"
