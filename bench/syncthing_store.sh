#!/usr/bin/env bash
# One notebook in a folder that a real sync engine carries between two
# computers: two Syncthing instances on 127.0.0.1, each syncing the store
# folder of its own program folder, and on each the real program and window
# (bench/plimsa_syncpeer, offscreen) driven as a user would. Each round:
#   1. (the first round) an entry made on A appears in B's window without a
#      restart of B (the time it takes);
#   2. the two computers apart (each Syncthing pauses the other device), and
#      on each side 50 random commands of every kind, the crash soak's
#      (tests/soak/soakcommands.h), then the entry that was first before them
#      given a text of its own on each side, where it still is; then the
#      connection back. Once it has
#      settled, on both computers: every text either side stored and every
#      title either side made is in the notebook (a mask's other text in its
#      copy), idx.dat is the same bytes on both, no copy of idx.dat or of an
#      entry is left, and every entry file in the store is named by idx.dat.
#
# Usage: bench/syncthing_store.sh [build folder] [rounds] [commands]
#        (default: build 1 50); PLIMSA_SEED=N gives other random commands.
# Needs root (private ports and folders under /var/tmp) and Debian's syncthing:
#   apt-get install -y --no-install-recommends syncthing
# Skips (exit 77) without them. Everything it makes is removed at the end
# (PLIMSA_KEEP=1 keeps it).
set -uo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
rounds=${2:-1}
commands=${3:-50}
seed=${PLIMSA_SEED:-0}
peer=$build/bench/plimsa_syncpeer
skip() { echo "skipped: $*"; exit 77; }
[ "$(id -u)" = 0 ] || skip "needs root"
command -v syncthing > /dev/null || skip "install syncthing"
command -v curl > /dev/null || skip "install curl"
[ -x "$peer" ] || { echo "no $peer: build the target plimsa_syncpeer first" >&2; exit 2; }

work=$(mktemp -d /var/tmp/plimsa-sync.XXXXXX)
declare -A pid fdin log
failures=0
cleanup() {
  for name in "${!pid[@]}"; do
    kill -9 "${pid[$name]}" 2> /dev/null
    wait "${pid[$name]}" 2> /dev/null
  done
  [ -n "${PLIMSA_KEEP:-}" ] && echo "kept $work" || rm -rf "$work"
}
trap cleanup EXIT
now_ms() { date +%s%3N; }
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

# A line of Windows-1252 text with CR LF, as the program writes.
crlf() { printf '%s\r\n' "$@"; }

# The program folders: A holds the notebook, B an empty store that Syncthing fills.
for side in A B; do
  mkdir -p "$work/$side/FileStore/.stfolder"
  cp data/pref.dat data/Language.dat "$work/$side/"
done
for group in A B C; do mkdir -p "$work/A/FileStore/$group"; : > "$work/A/FileStore/$group/_mask.dat"; done
mkdir -p "$work/A/FileStore/Trash"; : > "$work/A/FileStore/Trash/_mask.dat"
crlf "idx Plimsa 1.3.02" A '\x' '\y' '\w' B '\b1' '\b2' C '\c1' Trash '\t1' > "$work/A/FileStore/idx.dat"
for t in A/x A/y A/w B/b1 B/b2 C/c1 Trash/t1; do
  crlf "date of ${t#*/}" "text of ${t#*/}" > "$work/A/FileStore/$t.txt"
done

# Two Syncthing instances that know only each other, on 127.0.0.1. The folder
# watcher reports changes within a second; the scan every 10 s catches what it
# misses (1.19.2 stops watching a folder its puller made anew after deleting it).
declare -A id port gui
key=plimsa-bench
port[A]=$((22100 + $$ % 400)); port[B]=$((port[A] + 1))
gui[A]=$((port[A] + 2000)); gui[B]=$((port[B] + 2000))
for side in A B; do
  id[$side]=$(syncthing generate --home="$work/st$side" --no-default-folder 2>&1 |
    sed -n 's/.*Device ID: //p')
  [ -n "${id[$side]}" ] || { echo "syncthing generate failed" >&2; exit 2; }
done
for side in A B; do
  cat > "$work/st$side/config.xml" <<XML
<configuration version="36">
  <folder id="plimsa" label="FileStore" path="$work/$side/FileStore" type="sendreceive"
          rescanIntervalS="10" fsWatcherEnabled="true" fsWatcherDelayS="1">
    <device id="${id[A]}"></device>
    <device id="${id[B]}"></device>
    <maxConflicts>10</maxConflicts>
  </folder>
  <device id="${id[A]}" name="A"><address>tcp://127.0.0.1:${port[A]}</address></device>
  <device id="${id[B]}" name="B"><address>tcp://127.0.0.1:${port[B]}</address></device>
  <gui enabled="true" tls="false"><address>127.0.0.1:${gui[$side]}</address><apikey>$key</apikey></gui>
  <options>
    <listenAddress>tcp://127.0.0.1:${port[$side]}</listenAddress>
    <globalAnnounceEnabled>false</globalAnnounceEnabled>
    <localAnnounceEnabled>false</localAnnounceEnabled>
    <relaysEnabled>false</relaysEnabled>
    <natEnabled>false</natEnabled>
    <startBrowser>false</startBrowser>
    <urAccepted>-1</urAccepted>
    <autoUpgradeIntervalH>0</autoUpgradeIntervalH>
    <crashReportingEnabled>false</crashReportingEnabled>
  </options>
</configuration>
XML
  STNOUPGRADE=1 syncthing serve --home="$work/st$side" --no-browser --no-restart \
    --logfile="$work/st$side.log" > /dev/null 2>&1 &
  pid[st$side]=$!
done
# Pauses or resumes, on `side`, the connection to the other computer.
connection() {
  local side=$1 what=$2 other=B
  [ "$side" = B ] && other=A
  curl -s -f -X POST -H "X-API-Key: $key" \
    "http://127.0.0.1:${gui[$side]}/rest/system/$what?device=${id[$other]}" > /dev/null
}

# The two stores alike, apart from each side's own marker and Syncthing's files.
same_stores() {
  diff -r -q -x InUse.dat -x '.st*' -x '.syncthing.*' "$work/A/FileStore" "$work/B/FileStore" \
    > /dev/null 2>&1
}
# Copies of idx.dat or of entries on a side (masks' and the entry list's copies are kept;
# Syncthing's own temporary files, left where a copy went before it was pulled whole, are
# its to clear).
copies() {
  find "$work/$1/FileStore" \( -name '*.sync-conflict-*' -o -name '*conflicted copy*' \) \
    ! -name '_mask.*' ! -name 'LstPrnt*' ! -name '.syncthing.*' | sort
}
# Syncthing on a side has nothing left to pull and no item it failed to sync
# (it retries those a minute later).
idle() {
  local status errors
  status=$(curl -s -f -H "X-API-Key: $key" "http://127.0.0.1:${gui[$1]}/rest/db/status?folder=plimsa") &&
    errors=$(curl -s -f -H "X-API-Key: $key" "http://127.0.0.1:${gui[$1]}/rest/folder/errors?folder=plimsa") ||
    return 1
  echo "$status" | tr -d ' \n' | grep -q '"needTotalItems":0,' &&
    echo "$status" | tr -d ' \n' | grep -q '"state":"idle"' &&
    ! echo "$errors" | tr -d ' \n' | grep -q '"errors":\[{'
}
settled() { same_stores && [ -z "$(copies A)$(copies B)" ] && idle A && idle B; }
settle() { # until both stores are alike and hold no copies for two seconds, at most $1 seconds
  local until=$(($(date +%s) + $1)) alike=0
  while [ "$(date +%s)" -lt "$until" ]; do
    if settled; then alike=$((alike + 1)); [ $alike -ge 4 ] && return 0; else alike=0; fi
    sleep 0.5
  done
  return 1
}
settle ${PLIMSA_SETTLE:-120} || { fail "Syncthing did not carry the store to B within 120 s"; exit 1; }

# The program on each side, talked to through fifos; its output also kept in a log.
start_peer() {
  local side=$1 in
  mkfifo "$work/$side.in"
  log[$side]=$work/$side.out
  "$peer" "$work/$side" < "$work/$side.in" > "${log[$side]}" 2>&1 &
  pid[$side]=$!
  exec {in}> "$work/$side.in"
  fdin[$side]=$in
}
tell() { echo "$2" >&"${fdin[$1]}"; }
# Waits until the peer's log holds a line matching $2 (after line $3).
wait_for() {
  local side=$1 pattern=$2 from=${3:-0} until=$(($(date +%s) + ${4:-60}))
  while [ "$(date +%s)" -lt "$until" ]; do
    tail -n +"$((from + 1))" "${log[$side]}" | grep -q -- "$pattern" && return 0
    sleep 0.05
  done
  return 1
}
lines() { wc -l < "${log[$1]}"; }
since() { tail -n +"$(($2 + 1))" "${log[$1]}"; }

start_peer A; start_peer B
wait_for A '^ready' 0 60 && wait_for B '^ready' 0 60 || { fail "a program did not start"; exit 1; }
tell A "select A x"; tell B "select A x"
wait_for A '^done select' && wait_for B '^done select'

for round in $(seq 1 "$rounds"); do
  echo "round $round"
  # 1. Made on A, shown on B (on the notebook both started with).
  if [ "$round" = 1 ]; then
    b=$(lines B); t0=$(now_ms)
    tell A "new z made on A"
    if wait_for B "^list .*z" "$b" 60; then
      echo "  1. entry z made on A shown on B after $(($(now_ms) - t0)) ms"
    else
      fail "1. z made on A not shown on B within 60 s"
    fi
    settle 60 || fail "1. stores not alike after 60 s"
  fi

  # 2. Apart, each side's commands, then together again.
  connection A pause && connection B pause || fail "2. the connection could not be paused"
  a=$(lines A)
  tell A "first-entry"; wait_for A "^done first-entry" "$a"
  first=$(since A "$a" | sed -n 's/^first //p')
  a=$(lines A); b=$(lines B); t0=$(now_ms)
  tell A "soak $((seed + round * 2)) $commands"; tell B "soak $((seed + round * 2 + 1)) $commands"
  wait_for A "^done soak" "$a" 900 && wait_for B "^done soak" "$b" 900 ||
    { fail "2. the commands did not end within 900 s"; continue; }
  soaked=$(($(now_ms) - t0))
  tell A "edit-entry $first|fromA$round"; tell B "edit-entry $first|fromB$round"
  wait_for A "^done edit-entry" "$a" && wait_for B "^done edit-entry" "$b"
  { since A "$a"; since B "$b"; } | grep "^skipped:" | sed 's/^/     /'
  tell A "soak 0 0"; tell B "soak 0 0"
  wait_for A "^done soak 0 0" "$a" && wait_for B "^done soak 0 0" "$b"
  since A "$a" > "$work/A.round"; since B "$b" > "$work/B.round"
  # What a side stored and let go of again (its edit after the commands) is not expected.
  grep -h '^gone ' "$work/A.round" "$work/B.round" | sed 's/^gone /stored /' > "$work/gone"
  grep -h '^stored \|^title ' "$work/A.round" "$work/B.round" | grep -v -x -F -f "$work/gone" \
    > "$work/expected"
  errors=$(grep -c '^error ' "$work/A.round" "$work/B.round" | awk -F: '{ s += $2 } END { print s }')
  [ "$errors" = 0 ] || { fail "2. $errors errors while apart"; grep -h '^error ' "$work/A.round" "$work/B.round" | cut -c1-160; }
  a=$(lines A); b=$(lines B)
  connection A resume && connection B resume || fail "2. the connection could not be resumed"
  t0=$(now_ms)
  if settle "${PLIMSA_SETTLE:-300}"; then
    settled_ms=$(($(now_ms) - t0 - 2000))
  else
    settled_ms=never
    fail "2. not settled within ${PLIMSA_SETTLE:-300} s:"
    diff -r -q -x InUse.dat -x '.st*' -x '.syncthing.*' "$work/A/FileStore" "$work/B/FileStore" |
      head -10 | sed 's/^/     /'
    copies A | sed 's/^/     copy on A: /'; copies B | sed 's/^/     copy on B: /'
  fi
  merges=$(since A "$a" | grep -c '^message The notebook was changed on another computer')
  mergesB=$(since B "$b" | grep -c '^message The notebook was changed on another computer')
  others=$(since A "$a"; since B "$b") 
  others=$(echo "$others" | grep -o '(other computer [0-9-]*)_*' | sort -u | wc -l)
  va=$(lines A); vb=$(lines B)
  tell A "verify $work/expected"; tell B "verify $work/expected"
  wait_for A "^verified" "$va" 60 && wait_for B "^verified" "$vb" 60 || fail "2. no verify"
  # Titles idx.dat names without a file, and groups without a mask (the other
  # side deleted the group, this one made an entry in it), are counted, not failed.
  findings='^missing \|^unnamed \|^copy left '
  for side in A B; do
    from=$va; [ "$side" = B ] && from=$vb
    n=$(since "$side" "$from" | grep -c "$findings")
    if [ "$n" != 0 ]; then
      fail "2. on $side: $n findings"
      since "$side" "$from" | grep "$findings" | head -20 | sed 's/^/     /'
    fi
  done
  nomask=$(since A "$va" | grep -c '^no file for .*/$')
  nofile=$(since A "$va" | grep '^no file for .*/.' | sed 's/^no file for //' | tr '\n' ' ')
  cmp -s "$work/A/FileStore/idx.dat" "$work/B/FileStore/idx.dat" || fail "2. idx.dat differs"
  maskcopies=$(find "$work/A/FileStore" -name '_mask.*conflict*' | wc -l)
  echo "  2. apart: $commands commands a side in $soaked ms; $(grep -c '^stored ' "$work/expected") texts" \
    "and $(grep -c '^title ' "$work/expected") titles made; together again: settled after" \
    "$settled_ms ms, merges told A $merges, B $mergesB; entries made of another text $others;" \
    "masks' copies $maskcopies," \
    "groups without a mask $nomask, titles without a file: ${nofile:-none};" \
    "idx.dat $(tr -d '\r' < "$work/A/FileStore/idx.dat" | grep -c '^\\') titles," \
    "$(cmp -s "$work/A/FileStore/idx.dat" "$work/B/FileStore/idx.dat" && echo same || echo different) bytes on both"
done

grep -h '^message\|^error' "${log[A]}" "${log[B]}" | cut -c1-100 | sort | uniq -c | sort -rn | head -15
[ $failures -eq 0 ] && echo "all checks passed" || echo "$failures failed"
[ $failures -eq 0 ]
