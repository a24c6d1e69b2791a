#!/usr/bin/env bash
# Crash soak of the whole-file writer: the test helper rewrites one entry file
# in an endless loop (two known contents of different lengths) and is killed
# with SIGKILL at a random moment, again and again. After every kill the file
# must be exactly one of the two contents, at most one new file may be left
# over, and the clean-up (plimsa_benchhelper clean) must remove it. In CI the
# power-cut check (tests/e2e/tst_faultmatrix.cpp) holds every write of every
# command to a stricter model; this runs the writer on a real file system, as
# long as you like.
#
#   cmake --build build --target plimsa_testhelper plimsa_benchhelper
#   bench/soak_crash.sh 20000                         # 20000 kills under /tmp
#   bench/soak_crash.sh 5000 build/tests/plimsa_testhelper /mnt/share/soak
#
# Arguments: number of kills (default 10000), the helper (default
# build/tests/plimsa_testhelper), a scratch folder on the file system to test
# (default a new folder under /tmp; it is removed afterwards only if created
# here), the bench helper (default build/bench/plimsa_benchhelper). Exit
# status 0 when every file was whole; otherwise the torn file is kept as
# torn-<n> in the scratch folder.
set -euo pipefail
shopt -s nullglob dotglob

iterations=${1:-10000}
helper=$(realpath "${2:-build/tests/plimsa_testhelper}")
cleaner=$(realpath "${4:-build/bench/plimsa_benchhelper}")
if [[ -n ${3:-} ]]; then
    scratch=$3
    mkdir -p "$scratch"
else
    scratch=$(mktemp -d /tmp/plimsa-soak-XXXXXX)
    trap 'rm -rf "$scratch"' EXIT
fi

store=$scratch/store
target=$store/G/entry.txt
mkdir -p "$store/G"
head -c 98304 /dev/urandom >"$scratch/A"
head -c 163857 /dev/urandom >"$scratch/B"
cp "$scratch/A" "$target"

# A wait without starting a process: read from a pipe that never gets data.
exec 9<> <(:)
pause() { read -r -t "$1" -u 9 _ || true; }

old=0 new=0 leftovers=0 failed=0
start=$SECONDS
for ((i = 1; i <= iterations; i++)); do
    coproc writer { exec "$helper" write-loop "$target" "$store" "$scratch/A" "$scratch/B"; }
    pid=$writer_PID
    if ((RANDOM % 2)); then
        read -r -u "${writer[0]}" line
        [[ $line == ready ]] || { echo "writer said: $line" >&2; exit 1; }
    fi
    pause "0.00$((RANDOM % 10))"
    kill -KILL "$pid"
    wait "$pid" 2>/dev/null || true

    if cmp -s "$target" "$scratch/A"; then
        old=$((old + 1))
    elif cmp -s "$target" "$scratch/B"; then
        new=$((new + 1))
    else
        failed=$((failed + 1))
        cp "$target" "$scratch/torn-$i"
        echo "kill $i: file is neither old nor new ($(stat -c %s "$target") bytes)" >&2
    fi
    left=("$store"/G/.plimsa-new-*)
    if ((${#left[@]} > 1)); then
        echo "kill $i: ${#left[@]} new files left over" >&2
        failed=$((failed + 1))
    fi
    leftovers=$((leftovers + ${#left[@]}))
    if ((${#left[@]})); then
        "$cleaner" clean "$store" >/dev/null
        left=("$store"/G/.plimsa-new-*)
        if ((${#left[@]})); then
            echo "kill $i: clean-up left ${#left[@]} new files" >&2
            failed=$((failed + 1))
        fi
    fi
    if ((i % 1000 == 0)); then
        echo "$i kills: $old old, $new new, $leftovers new files cleaned, $failed faults"
    fi
done

echo "done: $iterations kills in $((SECONDS - start)) s: $old old, $new new," \
    "$leftovers new files cleaned, $failed faults"
((failed == 0))
