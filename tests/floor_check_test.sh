#!/usr/bin/env bash
# The floor check passes on the project and fails, naming the file, the line
# and the two floors, on a tree with one include that points up.
set -euo pipefail
check="$1"; project="$2"
bash "$check" "$project"

tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/base" "$tmp/records" "$tmp/app"
printf '#include "base/a.h"\n' > "$tmp/records/ok.cpp"
printf '#include "records/ok.h"\n#include "app/b.h"\n' > "$tmp/app/ok.cpp"
printf '#pragma once\n\n#include "records/r.h"\n' > "$tmp/base/up.h"
if out=$(bash "$check" "$tmp"); then
  echo "an upward include passed the check"; exit 1
fi
grep -q '^base/up.h:3: floor base includes floor records' <<<"$out" || { echo "unexpected: $out"; exit 1; }
[ "$(grep -c 'includes floor' <<<"$out")" -eq 1 ] || { echo "wrong count: $out"; exit 1; }
echo "floor check ok"
