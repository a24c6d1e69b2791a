#!/usr/bin/env bash
# How many plausible one-line mistakes the test suite catches. Applies each
# mutant of mutants.txt, one at a time, to a scratch copy of the tree (the
# files git tracks, as they are in this work tree), rebuilds incrementally,
# runs the whole suite and reports which mutants a test kills. A mutant whose
# line names the test expected to kill it gets that test built and run first;
# the whole suite runs only when it passes, so a survivor is still judged on
# every test.
#
# Usage: tests/mutants/run.sh [scratch folder] [mutant list]
#   default scratch folder /var/tmp/plimsa-mutants (kept: a second run only
#   rebuilds what changed); default list tests/mutants/mutants.txt.
# Not part of CI: about two minutes a surviving mutant on 2 cores, far less
# for one its named test kills.
#
# A mutant that hangs a test costs at most MUTANT_TEST_TIMEOUT seconds (600)
# a test: the scratch build gives every test that limit in place of its own
# (TIMEOUT, and nine tenths of it to Qt Test's limit a function, which then
# names the function that hung). Each mutant's log is kept as
# logs/<list>/mutant-<n>.log in the scratch folder, n its place in the list:
# the named test's whole output, then the suite's, with the output of every
# test that failed; the report names the test function that failed first.
# tests/mutants/selfcheck.txt holds a mutant that hangs a test, to check the
# limit (above the slowest test's time, the fault matrix's minute and a half):
#   MUTANT_TEST_TIMEOUT=300 tests/mutants/run.sh DIR tests/mutants/selfcheck.txt
set -uo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
scratch=${1:-/var/tmp/plimsa-mutants}
list=${2:-$src/tests/mutants/mutants.txt}
limit=${MUTANT_TEST_TIMEOUT:-600}
tree=$scratch/tree
build=$scratch/build
report=$scratch/report.txt
logs=$scratch/logs/$(basename "$list" .txt)
export QT_QPA_PLATFORM=offscreen

# Only a file whose bytes differ from the copy's is copied again, and it gets
# the time of this copy: its objects, built from an earlier copy, may be newer
# than its time in the work tree. An unchanged file is not built again; a
# file a mutant changes gets a new time, since its objects may be a mutant's
# from an earlier run.
mkdir -p "$tree"
rm -rf "$scratch/stage" && mkdir -p "$scratch/stage"
(cd "$src" && git ls-files -z | xargs -0 tar -cf -) | tar -xf - -C "$scratch/stage"
(cd "$scratch/stage" && find . -type f -print0) | while IFS= read -r -d '' file; do
  cmp -s "$scratch/stage/$file" "$tree/$file" ||
    { mkdir -p "$(dirname "$tree/$file")" && cp "$scratch/stage/$file" "$tree/$file"; }
done
# A file the tree no longer has (a test merged into another) must not linger
# in the copy of an earlier run, where the build would still find it.
(cd "$src" && git ls-files | sort) > "$scratch/tracked.txt"
(cd "$tree" && find . -type f -printf '%P\n' | sort) | comm -23 - "$scratch/tracked.txt" |
  while read -r stale; do rm -f "$tree/$stale"; done
# Every file any mutant of the shipped list or this one touches: a run cut
# short, or one with another list, may have left a mutant's objects.
cat "$src/tests/mutants/mutants.txt" "$list" | grep -v '^#' | cut -f2 | sort -u | while read -r file; do
  [ -n "$file" ] && touch "$tree/$file"
done
launcher=()
command -v ccache > /dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# With the standard library's bounds checks on, a mutant that indexes past
# the end of an array stops the test; without them it may write into the
# member that follows and change nothing a test can see.
cmake -S "$tree" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" \
  -DCMAKE_CXX_FLAGS=-D_GLIBCXX_ASSERTIONS -DPLIMSA_TEST_TIMEOUT="$limit" \
  > "$scratch/configure.log" 2>&1 || { echo "configure failed: $scratch/configure.log"; exit 2; }
mkdir -p "$logs"

build_and_test() { # log file [expected killer]; 0 when every test passed, 1 when one failed, 2 when no build
  : > "$1"
  if [ -n "${2:-}" ]; then
    # The killer's own target (folder_name) and what it depends on; when it
    # does not build, the whole build below says whether the mutant does.
    if cmake --build "$build" -j2 --target "${2//\//_}" >> "$1" 2>&1 &&
      ctest --test-dir "$build" -N -R "^$2\$" | grep -q 'Total Tests: 1$'; then
      ctest --test-dir "$build" -R "^$2\$" -V --timeout "$limit" >> "$1" 2>&1 || return 1
    else
      echo "run.sh: the named test $2 was not built or not found; running the whole suite" >> "$1"
    fi
  fi
  cmake --build "$build" -j2 >> "$1" 2>&1 || return 2
  ctest --test-dir "$build" -j2 --stop-on-failure --output-on-failure --timeout "$limit" >> "$1" 2>&1 || return 1
  return 0
}

echo "baseline: building and running the suite unchanged"
build_and_test "$scratch/baseline.log"
case $? in
  0) ;;
  1) echo "the suite fails without any mutant: $scratch/baseline.log"; exit 2 ;;
  *) echo "the tree does not build: $scratch/baseline.log"; exit 2 ;;
esac

killed=0
total=0
: > "$report"
n=0
while IFS=$'\t' read -r what file expr killer; do
  case $what in '#'* | '') continue ;; esac
  n=$((n + 1))
  target=$tree/$file
  cp -p "$target" "$scratch/original"
  sed -i "$expr" "$target"
  changed=$(diff "$scratch/original" "$target" | grep -c '^>')
  if [ "$changed" != 1 ]; then
    verdict="INVALID (changes $changed lines)"
  else
    total=$((total + 1))
    log=$logs/mutant-$n.log
    build_and_test "$log" "$killer"
    case $? in
      0) verdict="SURVIVED (log: $log)" ;;
      1)
        killed=$((killed + 1))
        verdict="killed by $(grep -m1 -E '\*\*\*(Failed|Timeout|Exception)|Subprocess aborted' "$log" |
          grep -oE 'Test +#[0-9]+: [^ ]+' | awk '{print $NF}')"
        # Qt Test's line of the first function that failed, timed out or aborted.
        failed=$(grep -m1 -oE '(FAIL!|QFATAL) +: [A-Za-z_0-9:]+\([^)]*\)' "$log" | sed -E 's/^[A-Z!]+ +: //')
        [ -n "$failed" ] && verdict="$verdict $failed"
        ;;
      *) verdict="INVALID (does not build: $log)"; total=$((total - 1)) ;;
    esac
  fi
  # Back as it was, with a new time so that the next build takes it again.
  cp "$scratch/original" "$target"
  touch "$target"
  printf '%-2d %-60s %s\n' "$n" "$what" "$verdict" | tee -a "$report"
done < "$list"

percent=$((total ? killed * 100 / total : 0))
echo "mutants: $killed killed of $total ($percent %)" | tee -a "$report"
