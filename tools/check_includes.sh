#!/usr/bin/env bash
# Checks that every source folder includes only the folders it may (ARCHITECTURE.md): prints
# each include that breaks the rule and exits 1 when there is one.
set -euo pipefail

root="${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"

declare -A allowed=(
  [core]="core"
  [input]="core input section output"
  [section]="core input section solver"
  [equations]="core input section equations solver"
  [solver]="core solver"
  [nonlinear]="core input section solver nonlinear"
  [output]="core input section output"
  [equilibrium]="core input section equations solver equilibrium"
  [job]="core job input section equations solver nonlinear output"
)

broken=0
for dir in "${!allowed[@]}"; do
  [ -d "$root/src/$dir" ] || continue
  while IFS= read -r hit; do
    file="${hit%%:*}"
    target="$(sed -n 's/.*#include "\([a-z_]*\)\/.*/\1/p' <<<"${hit#*:}")"
    [ -n "$target" ] || continue
    if ! grep -qw "$target" <<<"${allowed[$dir]}"; then
      echo "${file#"$root"/}: includes $target/, which $dir/ may not"
      broken=1
    fi
  done < <(grep -rH '#include "' "$root/src/$dir" || true)
done
if [ "$broken" -eq 0 ]; then echo "include rules: every folder includes only what it may"; fi
exit "$broken"
