#!/usr/bin/env bash
# Builds korvant with its tests (installing what is missing, see setup.sh) and runs every
# test. Extra arguments go to the cmake configure step. Same variables as setup.sh.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${KORVANT_BUILD_DIR:-$root/build}"

KORVANT_BUILD_DIR="$build" "$root/tools/setup.sh" -DKORVANT_TESTS=ON "$@"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" --timeout 1500
