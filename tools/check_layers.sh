#!/usr/bin/env bash
# Fails when a source includes an area above its own. Which area may include
# which is read from CMakeLists.txt, where it is written once: each core area
# of TAVIRON_AREAS may include itself and every area it uses through its
# TAVIRON_USES_<area>, directly or through another; the bindings may include
# every core area. Only the bindings include pybind11 or Python.h.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cmake_lists="$root/CMakeLists.txt"

# The single-line set() commands of CMakeLists.txt that declare the areas.
read -r -a areas < <(sed -nE 's/^[[:space:]]*set\(TAVIRON_AREAS[[:space:]]+([^)]*)\).*/\1/p' "$cmake_lists")
declare -A uses=()
while read -r area used; do
  uses[$area]=$used
done < <(sed -nE 's/^[[:space:]]*set\(TAVIRON_USES_([a-z_0-9]+)[[:space:]]*([^)]*)\).*/\1 \2/p' "$cmake_lists")

declare -A is_area=()
for area in "${areas[@]}"; do is_area[$area]=1; done
if [ ${#areas[@]} -eq 0 ]; then
  echo "CMakeLists.txt: no set(TAVIRON_AREAS ...) line"
  exit 1
fi
for area in "${areas[@]}"; do
  if [ -z "${uses[$area]+x}" ]; then
    echo "CMakeLists.txt: no set(TAVIRON_USES_$area ...) line"
    exit 1
  fi
  for used in ${uses[$area]}; do
    if [ -z "${is_area[$used]+x}" ]; then
      echo "CMakeLists.txt: TAVIRON_USES_$area names $used, which is not an area"
      exit 1
    fi
  done
done

# The area itself and every area it uses, directly or not.
reachable_from() {
  local -A seen=()
  local pending=("$1") area
  while [ ${#pending[@]} -gt 0 ]; do
    area=${pending[-1]}
    unset 'pending[-1]'
    [ -n "${seen[$area]+x}" ] && continue
    seen[$area]=1
    # shellcheck disable=SC2206  # the list is split on purpose
    pending+=(${uses[$area]})
  done
  echo "${!seen[@]}"
}

declare -A allowed=()
for area in "${areas[@]}"; do allowed[$area]=$(reachable_from "$area"); done
allowed[bindings]="${areas[*]} bindings"

failures=0
for area in "${areas[@]}" bindings; do
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
