#!/usr/bin/env bash
# scripts/soak.sh [minutes]   (default 10; not part of the test command)
#
# Plays the sample project at random for the given minutes, with the
# sanitizer build (build/test) and the release build (build/release) side by
# side, each in its own copy of the sample and its own runtime folder, with
# the dummy video and audio drivers. Each start gets a random script (its
# seed printed; SOAK_SEED=n repeats a soak): taps, holds and waits over the
# arrows and the buttons, with dialogs and boxes answered at random. A run
# that ends in order (exit 0, also through Escape or the title's exit entry) is
# started again; one whose script has ended is closed by SIGTERM first.
#
# It fails on a crash, a non-zero exit, a sanitizer report, an "err V[" or
# "err L[" line in the report log, a run still going after 15 minutes, or
# growing memory: the release run's RSS, sampled every 10 s past the first
# minute, must rise under 2 MB along its fitted line (the samples and the
# line are printed). Each sample is filed under the screen the run was on
# (its trace's last scene or stage line) and a line is fitted per screen,
# so that going from the title to a stage, which holds more, is no growth.
set -uo pipefail
cd "$(dirname "$0")/.."
minutes="${1:-10}"
seed="${SOAK_SEED:-$(( $(date +%s) % 1000000 ))}"
# Another release build folder may stand in (SOAK_RELEASE_BUILD=build/bench).
rel="${SOAK_RELEASE_BUILD:-build/release}"
echo "soak: $minutes minutes, seed $seed"

export CMAKE_CXX_COMPILER_LAUNCHER="${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}"
export CMAKE_C_COMPILER_LAUNCHER="${CMAKE_C_COMPILER_LAUNCHER:-ccache}"
if [ ! -f build/test/build.ninja ]; then
  cmake -S . -B build/test -G Ninja -DSANITIZE=address,undefined -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || exit 1
fi
if [ ! -f "$rel/build.ninja" ]; then
  cmake -S . -B "$rel" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTS=OFF >/dev/null || exit 1
fi
cmake --build build/test -j3 --target game mkproject >/dev/null || { echo "soak: the sanitizer build failed"; exit 1; }
cmake --build "$rel" -j3 --target game mkproject >/dev/null || { echo "soak: the release build failed"; exit 1; }

top="$(pwd)/build/soak"
rm -rf "$top"
mkdir -p "$top"
status=0
end=$(( $(date +%s) + minutes * 60 ))
start_time=$(date +%s)

# script <seed> <file>: a random script of about 1500 steps.
script() {
  awk -v seed="$1" 'BEGIN {
    srand(seed);
    split("37 38 39 40 90 88 67 86 65 83 112 13", keys, " ");  # arrows, Z X C V A S, F1, Return
    for (i = 0; i < 1500; i++) {
      r = rand();
      k = keys[int(rand() * 12) + 1];
      if (r < 0.45) {
        printf "hold 1 %s\nwait %d\n", k, 1 + int(rand() * 3);
      } else if (r < 0.75) {
        printf "hold %d %s %s\n", 1 + int(rand() * 120), keys[int(rand() * 4) + 1], (rand() < 0.4 ? 90 : 88);
      } else if (r < 0.9) {
        printf "wait %d\n", 1 + int(rand() * 60);
      } else if (r < 0.998) {
        name = "";
        for (n = int(rand() * 4); n > 0; n--) name = name sprintf("%c", 97 + int(rand() * 26));
        printf "maybe type %s\nmaybe answer %d\n", name, (rand() < 0.5 ? 6 : 7);
      } else {
        printf "hold 1 27\n";  # Escape: the program closes in order
      }
    }
  }' > "$2"
}

# side <name> <build>: runs the game of that build again and again until
# the end time; writes its state to $top/<name>/pid and its verdict to
# $top/<name>/failed.
side() {
  local name="$1" bin="$(pwd)/$2/game" dir="$top/$1" n=0
  mkdir -p "$dir/run"
  "$2/tools/mkproject" "$dir/game" >/dev/null || { echo "$name: the sample could not be written" > "$dir/failed"; return; }
  while [ "$(date +%s)" -lt "$end" ]; do
    n=$((n + 1))
    local s=$((seed * 100 + n))
    script "$s" "$dir/script.txt"
    echo "$name: start $n, script seed $s"
    : > "$dir/trace.txt"
    (cd "$dir/game" && XDG_RUNTIME_DIR="$dir/run" SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
       TAVRIK_EDITOR_SOCKET= TAVRIK_SCRIPT="$dir/script.txt" TAVRIK_TRACE="$dir/trace.txt" \
       ASAN_OPTIONS=detect_leaks=1 exec "$bin" 2>"$dir/stderr.txt") &
    local pid=$! begun
    begun=$(date +%s)
    echo "$pid" > "$dir/pid"
    while kill -0 "$pid" 2>/dev/null; do
      if grep -q "^script end" "$dir/trace.txt" 2>/dev/null || [ "$(date +%s)" -ge "$end" ]; then
        kill -TERM "$pid" 2>/dev/null
        break
      fi
      if [ $(( $(date +%s) - begun )) -gt 900 ]; then
        echo "$name: start $n (seed $s) still running after 15 minutes" > "$dir/failed"
        kill -KILL "$pid" 2>/dev/null
        break
      fi
      sleep 1
    done
    wait "$pid"
    local rc=$?
    rm -f "$dir/pid"
    if [ -s "$dir/failed" ]; then return; fi
    if [ "$rc" -ne 0 ]; then
      { echo "$name: start $n (seed $s) ended with exit code $rc"; tail -5 "$dir/trace.txt"; tail -20 "$dir/stderr.txt"; } > "$dir/failed"
      return
    fi
    if grep -aqE "ERROR: (Address|Leak)Sanitizer|runtime error:" "$dir/stderr.txt"; then
      { echo "$name: start $n (seed $s): a sanitizer report"; head -30 "$dir/stderr.txt"; } > "$dir/failed"
      return
    fi
    if grep -aq "err [VL]\[" "$dir/game/Report_Game.txt" 2>/dev/null; then
      { echo "$name: start $n (seed $s): a report line"; grep -a "err [VL]\[" "$dir/game/Report_Game.txt" | head -5; } > "$dir/failed"
      return
    fi
  done
}

side asan build/test &
asan=$!
side release "$rel" &
release=$!

# The release run's memory every 10 s past the first minute.
: > "$top/rss.txt"
while kill -0 "$release" 2>/dev/null; do
  sleep 10
  now=$(date +%s)
  [ $((now - start_time)) -lt 60 ] && continue
  pid="$(cat "$top/release/pid" 2>/dev/null)"
  [ -n "$pid" ] || continue
  rss="$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status" 2>/dev/null)"
  where="$(grep -aE '^(scene|stage) ' "$top/release/trace.txt" 2>/dev/null | tail -1 | tr ' ' '-')"
  [ -n "$rss" ] && echo "$((now - start_time)) $rss ${where:-start}" >> "$top/rss.txt"
done
wait "$asan"
wait "$release"

for name in asan release; do
  if [ -s "$top/$name/failed" ]; then
    echo "soak FAILED:"
    cat "$top/$name/failed"
    status=1
  fi
done

# Least-squares line through (seconds, kB) per screen; the rise is its
# slope over that screen's sampled span.
if [ -s "$top/rss.txt" ]; then
  echo "release RSS (seconds, MB, screen):"
  awk '{ printf "  %5d s %8.1f MB  %s\n", $1, $2 / 1024, $3 }' "$top/rss.txt"
  rises=$(awk '{ k = $3; n[k]++; sx[k] += $1; sy[k] += $2; sxx[k] += $1 * $1; sxy[k] += $1 * $2;
                 if (n[k] == 1) first[k] = $1; last[k] = $1 }
    END { for (k in n) { if (n[k] < 3) continue; d = n[k] * sxx[k] - sx[k] * sx[k];
          slope = d ? (n[k] * sxy[k] - sx[k] * sy[k]) / d : 0;
          printf "%s %.3f %d\n", k, slope * (last[k] - first[k]) / 1024, n[k] } }' "$top/rss.txt")
  if [ -z "$rises" ]; then
    echo "release RSS: no screen with three samples"
  fi
  while read -r where rise count; do
    [ -n "$where" ] || continue
    echo "release RSS rise along the fitted line on $where: $rise MB over $count samples (limit 2 MB)"
    if awk -v r="$rise" 'BEGIN { exit !(r >= 2) }'; then
      echo "soak FAILED: memory grows on $where"
      status=1
    fi
  done <<< "$rises"
else
  echo "release RSS: no samples (runs shorter than a minute)"
fi
[ "$status" -eq 0 ] && echo "soak passed (seed $seed)"
exit "$status"
