#!/usr/bin/env bash
# Rewrites the trace of every golden replay (tests/golden/replays/*.trace)
# with tools/replaytrace, played in a freshly written sample project. Run it
# when a change alters stage play on purpose, and commit the traces with it.
# Usage: scripts/rewrite_replay_goldens.sh [build folder]   (default: build/test)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build/test}"
cmake --build "$build" --target replaytrace mkproject
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$build/tools/mkproject" "$work/sample" > /dev/null
for replay in "$root"/tests/golden/replays/*.rpl4_734; do
  trace="${replay%.rpl4_734}.trace"
  SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$build/tools/replaytrace" "$work/sample" "$replay" > "$trace.new"
  mv "$trace.new" "$trace"
  echo "$(basename "$trace"): $(wc -l < "$trace") frames"
done
