#!/usr/bin/env bash
# Runs every benchmark program of the native build: the executables that the
# folders under bench/ define, whose names end in "_bench".
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/native}
if [ ! -d "$build/bench" ]; then
  echo "No benchmarks in $build: configure with cpp-httplib installed and ORVANEL_BENCHMARKS=ON." >&2
  exit 1
fi
status=0
while IFS= read -r program; do
  printf '\n== %s\n' "$(basename "$program")"
  "$program" || status=1
done < <(find "$build/bench" -type f -perm -u+x -name '*_bench' | sort)
exit $status
