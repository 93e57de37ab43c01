#!/usr/bin/env bash
# Builds korvant with its benchmark in Release mode (in build-bench/, or KORVANT_BENCH_DIR)
# and runs it: the 31 x 31 benchmark jobs of bench/, their wall time, peak memory and phase
# times, against LAPACK's dgbsv on a band system of the coupled job's size, and the load paths
# in equilibrium of the same slab (--equilibrium). Extra arguments go to korvant_bench (e.g.
# --repeat 5, or --equilibrium-only for the paths alone). With --large first, the sparse-store
# benchmark runs instead (korvant_bench_large: grids of 31 to 151 points a side; e.g. --sizes
# 31,61; --equilibrium for the load paths on the sparse store).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${KORVANT_BENCH_DIR:-$root/build-bench}"
# A run is single-threaded; where OpenBLAS is the system's BLAS, its threads would only wait
# for work beside it (CONTRIBUTING.md, Benchmark).
export OPENBLAS_NUM_THREADS="${OPENBLAS_NUM_THREADS:-1}"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DKORVANT_BENCH=ON >/dev/null
if [[ "${1:-}" == "--large" ]]; then
  shift
  cmake --build "$build" -j"$(nproc)" --target korvant_bench_large >/dev/null
  exec "$build/bench/korvant_bench_large" "$@"
fi
cmake --build "$build" -j"$(nproc)" --target korvant_bench >/dev/null
"$build/bench/korvant_bench" "$@"
