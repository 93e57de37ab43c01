#!/usr/bin/env bash
# The include check must fail on an upward include: one planted into a copy of the source tree
# (section/ including job/) is named, and the check exits 1.
set -euo pipefail
root="$1"
copy="$(mktemp -d)"
trap 'rm -rf "$copy"' EXIT
cp -r "$root/src" "$copy/src"
echo '#include "job/run_context.hpp"' >>"$copy/src/section/layer_table.hpp"
status=0
out="$(bash "$root/tools/check_includes.sh" "$copy")" || status=$?
echo "$out"
[ "$status" -eq 1 ]
grep -qx 'src/section/layer_table.hpp: includes job/, which stands above section/' <<<"$out"
