#!/usr/bin/env bash
# Checks, without changing anything, that every C++ file of src/, tests/, bench/ and fuzz/ is
# laid out as the repository's .clang-format says; lists the files that are not and fails.
# The layout is that of clang-format 14 (Debian 12); CLANG_FORMAT names another binary. To lay
# a file out: clang-format -i FILE.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
clang_format="${CLANG_FORMAT:-clang-format}"

if ! command -v "$clang_format" >/dev/null; then
  echo "check_format.sh: $clang_format is not installed (Debian: apt-get install clang-format)" >&2
  exit 2
fi

mapfile -t files < <(find src tests bench fuzz -type f \( -name '*.cpp' -o -name '*.hpp' \) | sort)

unformatted=()
for file in "${files[@]}"; do
  if ! "$clang_format" --style=file --dry-run -Werror "$file" >/dev/null 2>&1; then
    unformatted+=("$file")
  fi
done

if ((${#unformatted[@]} > 0)); then
  echo "check_format.sh: ${#unformatted[@]} of ${#files[@]} files differ from .clang-format:" >&2
  printf '  %s\n' "${unformatted[@]}" >&2
  echo "lay them out with: clang-format -i FILE ..." >&2
  exit 1
fi
echo "check_format.sh: ${#files[@]} files follow .clang-format"
