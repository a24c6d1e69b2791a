#!/usr/bin/env bash
# Crash soak of the real program: Plimsa's start and main window on a scratch
# notebook, driven by random commands (tests/soak/plimsa_soak.cpp: keys typed
# through the program's own key-string service, menu items), killed
# with SIGKILL at a random moment, again and again, and started again on the
# same store each time. Each start first checks the store against the
# driver's journal: it loads as the start loads it, no file is torn, every
# title of idx.dat has its file (apart from the new entry's placeholder and
# separator lines), and every text whose save was confirmed is still there,
# apart from those the command cut short was about to let go of.
#
#   cmake --build build --target plimsa_soak
#   bench/soak_program.sh 2000                       # 2000 kills under /tmp
#   bench/soak_program.sh 500 build/bench/plimsa_soak /mnt/share/soak
#
# Arguments: number of kills (default 1000), the driver (default
# build/bench/plimsa_soak), a scratch folder on the file system to test
# (default a new folder under /tmp, removed afterwards; a folder given is
# kept). A quarter of the kills fall into the start, the rest while commands
# run. Exit status 0 when every check passed; otherwise the store and journal
# of the first failure are kept as failed-<n> in the scratch folder.
set -euo pipefail

rounds=${1:-1000}
driver=$(realpath "${2:-build/bench/plimsa_soak}")
if [[ -n ${3:-} ]]; then
    mkdir -p "$3"
    scratch=$(realpath "$3")
else
    scratch=$(mktemp -d /tmp/plimsa-soak-XXXXXX)
    trap 'rm -rf "$scratch"' EXIT
fi
export QT_QPA_PLATFORM=offscreen
program=$scratch/program
journal=$scratch/journal
rm -rf "$program" "$journal"
"$driver" prepare "$program" "$journal" 2>/dev/null

# A wait without starting a process: read from a pipe that never gets data.
exec 9<> <(:)
pause() { read -r -t "$1" -u 9 _ || true; }

failed=0 kills=0 starting=0
start=$SECONDS
keep() {
    failed=$((failed + 1))
    if ((failed == 1)); then
        cp -r "$program" "$scratch/failed-$1"
        cp "$journal" "$scratch/failed-$1/journal"
    fi
}
for ((i = 1; i <= rounds; i++)); do
    "$driver" run "$program" "$journal" "$RANDOM$RANDOM" >"$scratch/said" 2>/dev/null &
    pid=$!
    if ((RANDOM % 4)); then
        # After the start, while commands run: up to 0.8 s.
        for ((w = 0; w < 2000; w++)); do
            [[ -s $scratch/said ]] && break
            pause 0.01
        done
        pause "0.$((RANDOM % 8))$((RANDOM % 10))"
    else
        starting=$((starting + 1))
        pause "0.$((RANDOM % 4))$((RANDOM % 10))"
    fi
    if kill -KILL "$pid" 2>/dev/null; then
        kills=$((kills + 1))
    fi
    status=0
    wait "$pid" 2>/dev/null || status=$?
    if ((status != 0 && status != 137)); then
        echo "round $i: the driver ended with $status: $(grep -v '^ready' "$scratch/said")" >&2
        keep "$i"
        # A store that failed its check fails every later start too.
        ((status == 2)) && break
    fi
    if ((i % 100 == 0)); then
        echo "$i rounds, $kills kills ($starting in the start), $failed failures"
    fi
done

if ! "$driver" check "$program" "$journal" >"$scratch/last-check" 2>/dev/null; then
    echo "last check: $(cat "$scratch/last-check")" >&2
    failed=$((failed + 1))
fi
commands=$(grep -c '^done' "$journal" || true)
refused=$(grep -c '^refused' "$journal" || true)
echo "done: $((i > rounds ? rounds : i)) rounds in $((SECONDS - start)) s, $kills kills ($starting in the start)," \
    "$commands commands confirmed, $refused refused by a file a kill left in the way, $failed failures"
((failed == 0))
