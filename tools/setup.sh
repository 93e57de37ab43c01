#!/usr/bin/env bash
# Installs what korvant needs to build on Debian or Ubuntu (only what is missing, and only
# when run as root; otherwise it prints the command to run) and builds the program and its
# tests. Extra arguments go to the cmake configure step, e.g. -DKORVANT_SANITIZE=ON.
#
#   KORVANT_BUILD_DIR       build folder (default: build, beside src)
#   KORVANT_BUILD_TYPE      CMake build type (default: RelWithDebInfo)
#   KORVANT_EXTRA_PACKAGES  further Debian packages to install, blank-separated (tools/test.sh:
#                           those the tests need and the program does not)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${KORVANT_BUILD_DIR:-$root/build}"
build_type="${KORVANT_BUILD_TYPE:-RelWithDebInfo}"
# libopenblas0-pthread: a tuned BLAS and LAPACK for the dense kernels of the sparse
# factorization (--large) and the band solver. Installing it makes it the system's
# libblas.so.3 and liblapack.so.3 (update-alternatives); the program links against those
# names, so it runs on whichever the alternatives select (the reference BLAS where they are
# pinned to it). CONTRIBUTING.md, Benchmark: the figures with either.
packages=(g++ make cmake libblas-dev liblapack-dev libgtest-dev nlohmann-json3-dev gnuplot-nox
          libsuitesparse-dev zlib1g-dev libopenblas0-pthread)
read -r -a extra <<<"${KORVANT_EXTRA_PACKAGES:-}"
packages+=("${extra[@]}")

missing=()
if command -v dpkg-query >/dev/null; then
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
fi

if ((${#missing[@]} > 0)); then
  if [[ "$(id -u)" -eq 0 ]]; then
    echo "Installing ${missing[*]}"
    apt-get update
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
  else
    echo "korvant needs these packages, which are not installed: ${missing[*]}" >&2
    echo "Install them as root, then run this script again:" >&2
    echo "  apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
fi

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE="$build_type" "$@"
cmake --build "$build" -j"$(nproc)"
