#!/usr/bin/env bash
# Installs what is missing, builds the runtime and the tools, writes the
# sample project to build/sample when it is not there yet, and starts the
# game in it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTS=OFF
cmake --build build/release
if [ ! -d build/sample ]; then
  # Written beside and moved into place, so a failed run leaves no half sample.
  rm -rf build/sample.new
  ./build/release/tools/mkproject build/sample.new
  mv build/sample.new build/sample
fi
echo "play: the sample starts at its title. Arrows move, Z decides, X cancels; close the window to end it."
cd build/sample
exec ../release/game
