#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs every test and fuzz-seed replay; then
# builds what the thread tests need with ThreadSanitizer and runs them again;
# then plays the golden replays in a plain debug build and a release build.
# JOBS limits the parallel compiles and tests (default: one per core).
# LOAD=n runs the tests beside n busy loops at the lowest priority, to show
# that they hold on a loaded machine.
set -euo pipefail
cd "$(dirname "$0")/.."
busy=()
stop_busy() { if [ ${#busy[@]} -gt 0 ]; then kill "${busy[@]}" 2>/dev/null || true; fi; }
trap stop_busy EXIT
start_busy() {
  local i
  for i in $(seq 1 "${LOAD:-0}"); do
    nice -n 19 bash -c 'while :; do :; done' &
    busy+=($!)
  done
}
# Each step says how long it took, so a slow build and slow tests show apart.
step() {
  local start=$SECONDS
  "$@"
  echo "test.sh: $((SECONDS - start)) s for: $*"
}
bash scripts/setup.sh
bash scripts/check_floors.sh
cmake -S . -B build/test -G Ninja -DSANITIZE=address,undefined -DCMAKE_BUILD_TYPE=RelWithDebInfo
step cmake --build build/test -j"${JOBS:-$(nproc)}"
start_busy
step ctest --test-dir build/test --output-on-failure -j"${JOBS:-$(nproc)}"

# Some kernels place memory where ThreadSanitizer does not expect it; without
# address-space randomisation it runs there too. Try a tiny program first.
mkdir -p build/tsan
tsan=()
if ! { echo 'int main() { return 0; }' | "${CXX:-c++}" -x c++ -fsanitize=thread - -o build/tsan/probe &&
       build/tsan/probe; } >/dev/null 2>&1; then
  tsan=(setarch "$(uname -m)" -R)
fi
"${tsan[@]}" cmake -S . -B build/tsan -G Ninja -DSANITIZE=thread -DCMAKE_BUILD_TYPE=RelWithDebInfo
step "${tsan[@]}" cmake --build build/tsan -j"${JOBS:-$(nproc)}" --target test_threads game write_start_project mkproject
step "${tsan[@]}" ctest --test-dir build/tsan --output-on-failure -L threads -j"${JOBS:-$(nproc)}"

# Stage play must come out the same whatever the optimiser makes of it and
# without the sanitizers: the golden replays (label replay) play again in a
# plain debug build and a release build, which build only the replay tests
# and print each golden's frames per second.
for type in Debug Release; do
  dir=build/replay-${type,,}
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type"
  step cmake --build "$dir" -j"${JOBS:-$(nproc)}" --target test_replay
  step ctest --test-dir "$dir" --output-on-failure -L '^replay$' -j"${JOBS:-$(nproc)}" --verbose
done
