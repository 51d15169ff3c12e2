#!/usr/bin/env bash
# Lists every include that points up a floor and fails when there is one.
# A file of a floor folder may include its own floor and the floors below:
#   platform < base < records < media < game < stage < frontend < app
# Usage: check_floors.sh [source root]   (default: the checkout)
set -euo pipefail
root="${1:-$(dirname "$0")/..}"
cd "$root"
floors=(platform base records media game stage frontend app)
present=()
for f in "${floors[@]}"; do [ -d "$f" ] && present+=("$f"); done
[ ${#present[@]} -eq 0 ] && exit 0
# Only the include lines are read: grep hands awk "file:line:text".
grep -rn --include='*.h' --include='*.cpp' -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "${present[@]}" |
awk -v order="${floors[*]}" '
  BEGIN { n = split(order, names, " "); for (i = 1; i <= n; i++) rank[names[i]] = i }
  {
    split($0, parts, ":"); file = parts[1]; line = parts[2]
    split(file, dirs, "/"); own = dirs[1]
    text = $0; sub(/^[^"]*"/, "", text); sub(/".*$/, "", text)
    split(text, inc, "/"); target = inc[1]
    if ((target in rank) && (own in rank) && rank[target] > rank[own]) {
      printf "%s:%s: floor %s includes floor %s (%s)\n", file, line, own, target, text
      bad++
    }
  }
  END { if (bad) { printf "%d include(s) point up a floor\n", bad; exit 1 } }'
