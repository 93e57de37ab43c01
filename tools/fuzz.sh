#!/usr/bin/env bash
# Builds the deck fuzzer with clang++ (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer,
# warnings as errors as in every CI build) in build-fuzz/ (KORVANT_FUZZ_DIR) and runs it for
# SECONDS (default 60) on a corpus seeded with examples/ and examples/errors/. Without clang++
# it says so and does nothing. A crash, leak, hang or sanitizer report stops it with a non-zero
# status and the input left in build-fuzz/.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${KORVANT_FUZZ_DIR:-$root/build-fuzz}"
seconds="${1:-60}"

if ! command -v clang++ >/dev/null; then
  echo "fuzz.sh: clang++ is not installed; the deck fuzzer is not built" >&2
  exit 0
fi
CXX=clang++ cmake -S "$root" -B "$build" -DKORVANT_FUZZ=ON -DKORVANT_TESTS=OFF -DKORVANT_WERROR=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target korvant_deck_fuzzer >/dev/null
mkdir -p "$build/corpus"
cd "$build"
"$build/fuzz/korvant_deck_fuzzer" -dict="$root/fuzz/deck.dict" -max_total_time="$seconds" \
  -timeout=60 -rss_limit_mb=4096 -print_final_stats=1 corpus "$root/examples" "$root/examples/errors"
