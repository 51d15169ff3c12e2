#!/usr/bin/env bash
# Installs what is missing, builds the runtime and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTS=OFF
cmake --build build/release
echo "play: the runtime opens its window and runs its frame loop; projects do not play yet. Close the window to end it."
./build/release/game
