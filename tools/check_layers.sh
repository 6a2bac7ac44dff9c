#!/usr/bin/env bash
# Fails when a source includes an area above its own. Each area may include
# itself and the areas listed for it; the core areas never include the
# bindings, pybind11 or Python.h.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

declare -A allowed=(
  [foundation]="foundation"
  [circuit]="foundation circuit"
  [simulator]="foundation circuit simulator"
  [execution]="foundation circuit simulator execution"
  [qasm]="foundation circuit qasm"
  [drawer]="foundation circuit drawer"
  [bindings]="foundation circuit simulator execution qasm drawer bindings"
)

failures=0
for area in "${!allowed[@]}"; do
  [ -d "$root/src/$area" ] || continue
  while IFS=: read -r file line text; do
    target=$(sed -E 's/.*#include *["<]([^"/>]+)\/.*/\1/' <<<"$text")
    if [ "$target" = "pybind11" ] || [[ "$text" =~ \<Python\.h\> ]]; then
      [ "$area" = bindings ] && continue
    elif [ -z "${allowed[$target]+x}" ] || [[ " ${allowed[$area]} " == *" $target "* ]]; then
      continue
    fi
    echo "${file#"$root"/}:$line: $area may not include $target: $text"
    failures=$((failures + 1))
  done < <(grep -rnE '^\s*#\s*include\s*["<]([a-z_0-9]+/|Python\.h)' "$root/src/$area" || true)
done

if [ "$failures" -gt 0 ]; then
  echo "$failures include(s) cross the layers"
  exit 1
fi
echo "layers: every include points down"
