#!/usr/bin/env bash
# Lets every fuzz target search for a while (FUZZ_SECONDS each, default 60), starting
# from its seed corpus in fuzz/corpus/<name>/. What a search adds goes to
# build/fuzz/corpus/<name>/; a finding stops the script, its input kept in
# build/fuzz/findings/ to be fixed and then copied into the seed corpus.
# Usage: scripts/fuzz.sh [target ...]   (default: all of them)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-60}
build=build/fuzz
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "${JOBS:-2}"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for folder in fuzz/corpus/*/; do targets+=("$(basename "$folder")"); done
fi
mkdir -p "$build/findings"
for name in "${targets[@]}"; do
  mkdir -p "$build/corpus/$name"
  echo "== $name: ${seconds} s"
  "$build/${name}_fuzzer" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$build/findings/${name}-" "$build/corpus/$name" "fuzz/corpus/$name" \
    2>&1 | grep -E '^(#[0-9]+ +DONE|stat::number_of_executed_units|==[0-9]+==|SUMMARY|.*property failed)' || true
  if ls "$build/findings/${name}-"* >/dev/null 2>&1; then
    echo "FINDING in $name: $(ls "$build/findings/${name}-"*)" >&2
    exit 1
  fi
done
echo "all fuzz targets ran clean"
