#!/usr/bin/env bash
# Replays the seed corpus of every fuzz target, then fuzzes each for SECONDS.
# Usage: fuzz/run.sh BUILD_FOLDER [SECONDS]   (the build made with -DPLIMSA_FUZZ=ON)
# New inputs go into BUILD_FOLDER/fuzz/found/<target>/, a crashing input into
# BUILD_FOLDER/fuzz/artifacts/ (fuzz/run.sh then fails); add a crash that was
# mended to corpus/<target>/ so every later run replays it.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:?build folder}
seconds=${2:-20}
bin=$build/fuzz
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p "$bin/artifacts"
passed=0
failed=0
for target in "$bin"/fuzz_*; do
  [ -f "$target" ] && [ -x "$target" ] || continue
  name=$(basename "$target")
  seeds=$here/corpus/$name
  found=$bin/found/$name
  log=$bin/$name.log
  mkdir -p "$found"
  options=(-artifact_prefix="$bin/artifacts/$name-" -print_final_stats=1 -timeout=10
           -rss_limit_mb=2048 -max_len=8192)
  [ -f "$here/$name.dict" ] && options+=(-dict="$here/$name.dict")
  # Every seed once, then fuzzing from the seeds and what earlier runs found.
  if "$target" "${options[@]}" "$seeds"/* > "$log" 2>&1 &&
     "$target" "${options[@]}" -max_total_time="$seconds" "$found" "$seeds" >> "$log" 2>&1; then
    passed=$((passed + 1))
    result=ok
  else
    failed=$((failed + 1))
    result=CRASH
  fi
  runs=$(awk '/stat::number_of_executed_units/ {n = $2} END {print n + 0}' "$log")
  printf '%-20s %-6s %10s executions in %ss, %s seeds, corpus %s\n' "$name" "$result" "$runs" \
    "$seconds" "$(ls "$seeds" | wc -l)" "$(ls "$found" | wc -l)"
  [ "$result" = ok ] || grep -E "ERROR|SUMMARY|fuzz_.*cpp:[0-9]+:|artifact" "$log" | head -20
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" = 0 ]
