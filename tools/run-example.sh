#!/usr/bin/env bash
# Builds korvant (installing what is missing, see setup.sh) and runs a bundled example job
# without any typing at the console. The job runs in a scratch folder, <build>/example, so
# that examples/ stays clean; its report, zone layout and datasets are written there.
#
#   tools/run-example.sh [name]     runs examples/<name>.inp (default: plate)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${KORVANT_BUILD_DIR:-$root/build}"
job="${1:-plate}"

if [[ ! -f "$root/examples/$job.inp" ]]; then
  echo "No example deck examples/$job.inp" >&2
  exit 1
fi

# The program alone: the tests are built by tools/test.sh.
KORVANT_BUILD_DIR="$build" "$root/tools/setup.sh" -DKORVANT_TESTS=OFF

run="$build/example"
mkdir -p "$run"
cp "$root/examples/$job.inp" "$run/"
cd "$run"
status=0
"$build/korvant" --yes "$job" || status=$?
echo
echo "korvant finished with exit status $status. Report: $run/$job.out"
exit "$status"
