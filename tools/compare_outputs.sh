#!/usr/bin/env bash
# Runs every bundled example deck (and every error deck) and every job of the test suite, and
# keeps what each job wrote, so that two builds can be compared file by file:
#
#   tools/compare_outputs.sh collect BUILD_DIR ARCHIVE   runs the jobs of BUILD_DIR into ARCHIVE
#   tools/compare_outputs.sh compare ARCHIVE_A ARCHIVE_B  lists the files that differ, exit 1 if any
#
# The test jobs are archived by the tests' own runner (KORVANT_OUTPUT_ARCHIVE, see
# tests/support/test_support.cpp): every job folder with its report, zone layout, datasets,
# JSON, VTK and picture files, console, errors and exit status.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

collect() {
  local build archive
  build="$(cd "$1" && pwd)"
  mkdir -p "$2"
  archive="$(cd "$2" && pwd)"
  local work
  work="$(mktemp -d)"
  for deck in "$root"/examples/*.inp "$root"/examples/errors/*.inp; do
    local name dir
    name="$(basename "$deck" .inp)"
    dir="$archive/example-$(basename "$(dirname "$deck")")-$name"
    rm -rf "$work/run" && mkdir -p "$work/run" && cp "$deck" "$work/run/"
    local status=0
    (cd "$work/run" && "$build/korvant" --yes --json --vtk "$name" >.stdout 2>.stderr) || status=$?
    echo "$status" >"$work/run/.status"
    rm -rf "$dir" && cp -r "$work/run" "$dir"
  done
  rm -rf "$work"
  KORVANT_OUTPUT_ARCHIVE="$archive/tests" ctest --test-dir "$build" -j"$(nproc)" --timeout 1500 \
    -E 'IncludeRules|SanitizerStop' >"$archive/.ctest.log" 2>&1 || {
    echo "the tests failed while collecting; see $archive/.ctest.log" >&2
    return 1
  }
  echo "collected $(find "$archive" -type f -not -name '.ctest.log' | wc -l) files into $archive"
}

compare() {
  local a="$1" b="$2" differ=0 count=0
  while IFS= read -r rel; do
    count=$((count + 1))
    if [[ ! -f "$b/$rel" ]]; then
      echo "only in $a: $rel"
      differ=1
    elif ! cmp -s "$a/$rel" "$b/$rel"; then
      echo "differs: $rel"
      differ=1
    fi
  done < <(cd "$a" && find . -type f -not -name '.ctest.log' | sort)
  while IFS= read -r rel; do
    [[ -f "$a/$rel" ]] || { echo "only in $b: $rel"; differ=1; }
  done < <(cd "$b" && find . -type f -not -name '.ctest.log' | sort)
  echo "compared $count files: $([[ $differ -eq 0 ]] && echo 'all identical' || echo 'some differ')"
  return "$differ"
}

case "${1:-}" in
  collect) collect "$2" "$3" ;;
  compare) compare "$2" "$3" ;;
  *) sed -n '2,10p' "${BASH_SOURCE[0]}" >&2; exit 2 ;;
esac
