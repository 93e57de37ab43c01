#!/usr/bin/env bash
# Builds korvant with its tests (installing what is missing, see setup.sh), warnings as errors,
# and runs every test. Extra arguments go to the cmake configure step (-DKORVANT_WERROR=OFF
# lets warnings pass). Same variables as setup.sh.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${KORVANT_BUILD_DIR:-$root/build}"

# parallel: the sweep test runs ten decks with GNU parallel, as README shows a parametric study.
# python3-vtk9: the tests read the VTK files of --vtk back with VTK's own reader (the program
# writes them without it).
KORVANT_BUILD_DIR="$build" KORVANT_EXTRA_PACKAGES="python3-vtk9 parallel ${KORVANT_EXTRA_PACKAGES:-}" \
  "$root/tools/setup.sh" -DKORVANT_TESTS=ON -DKORVANT_WERROR=ON "$@"

# A sanitizer stop gets a status of its own (no job ends with 98 or 99), so that no test
# can pass on one; the options given here come last and win.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}exitcode=98:halt_on_error=1"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:+$UBSAN_OPTIONS:}exitcode=99:halt_on_error=1:print_stacktrace=1"
# One OpenBLAS thread a run: the tests already run side by side, and OpenBLAS's idle threads
# wait actively for work (CONTRIBUTING.md, A tuned BLAS).
export OPENBLAS_NUM_THREADS="${OPENBLAS_NUM_THREADS:-1}"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" --timeout 1500
