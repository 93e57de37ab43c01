#!/usr/bin/env bash
# Checks the layering of the source folders (ARCHITECTURE.md): the folders stand in one order,
# and a folder includes only itself and the folders to its right, never one to its left.
# Prints each include that runs up the order and exits 1 when there is one.
set -euo pipefail

root="${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"

# From the top down; main.cpp, directly in src/, stands above them all.
layers=(exporters studies job input output nonlinear equilibrium equations section solver core)

declare -A rank=()
for k in "${!layers[@]}"; do rank[${layers[$k]}]=$k; done

broken=0
for dir in "${layers[@]}"; do
  [ -d "$root/src/$dir" ] || continue
  while IFS= read -r hit; do
    file="${hit%%:*}"
    target="$(sed -n 's/.*#include "\([a-z_]*\)\/.*/\1/p' <<<"${hit#*:}")"
    [ -n "$target" ] || continue
    if [ -z "${rank[$target]+set}" ] || [ "${rank[$target]}" -lt "${rank[$dir]}" ]; then
      echo "${file#"$root"/}: includes $target/, which stands above $dir/"
      broken=1
    fi
  done < <(grep -rH '#include "' "$root/src/$dir" || true)
done
# A folder of src/ that is not in the order is a folder the order forgot.
for path in "$root"/src/*/; do
  dir="$(basename "$path")"
  if [ -z "${rank[$dir]+set}" ]; then
    echo "src/$dir/: not in the layer order of tools/check_includes.sh"
    broken=1
  fi
done
if [ "$broken" -eq 0 ]; then echo "include rules: no folder includes one above it"; fi
exit "$broken"
