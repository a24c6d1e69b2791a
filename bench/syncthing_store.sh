#!/usr/bin/env bash
# One notebook in a folder that a real sync engine carries between two
# computers: two Syncthing instances on 127.0.0.1, each syncing the store
# folder of its own program folder, and on each the real program and window
# (bench/plimsa_syncpeer, offscreen) driven as a user would. Checks:
#   1. an entry made on A appears on B without a restart of B (time taken);
#   2. an entry edited on both sides at once loses neither text (each text is
#      in an entry file or in a conflict copy the program named);
#   3. idx.dat changed on both sides within the sync interval loses no title
#      (each is in idx.dat or in a conflict copy of it that the program named).
#
# Usage: bench/syncthing_store.sh [build folder] [rounds]   (default: build 1)
# Needs root (private ports and folders under /var/tmp) and Debian's syncthing:
#   apt-get install -y --no-install-recommends syncthing
# Skips (exit 77) without them. Everything it makes is removed at the end.
set -uo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
rounds=${2:-1}
peer=$build/bench/plimsa_syncpeer
skip() { echo "skipped: $*"; exit 77; }
[ "$(id -u)" = 0 ] || skip "needs root"
command -v syncthing > /dev/null || skip "install syncthing"
[ -x "$peer" ] || { echo "no $peer: build the target plimsa_syncpeer first" >&2; exit 2; }

work=$(mktemp -d /var/tmp/plimsa-sync.XXXXXX)
declare -A pid fdin fdout log
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
mkdir -p "$work/A/FileStore/A" "$work/A/FileStore/Trash"
crlf "idx Plimsa 1.3.02" A '\x' '\y' Trash > "$work/A/FileStore/idx.dat"
for t in x y; do crlf "date of $t" "text of $t" > "$work/A/FileStore/A/$t.txt"; done
: > "$work/A/FileStore/A/_mask.dat"
: > "$work/A/FileStore/Trash/_mask.dat"

# Two Syncthing instances that know only each other, on 127.0.0.1.
declare -A id port gui
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
          rescanIntervalS="3600" fsWatcherEnabled="true" fsWatcherDelayS="1">
    <device id="${id[A]}"></device>
    <device id="${id[B]}"></device>
    <maxConflicts>10</maxConflicts>
  </folder>
  <device id="${id[A]}" name="A"><address>tcp://127.0.0.1:${port[A]}</address></device>
  <device id="${id[B]}" name="B"><address>tcp://127.0.0.1:${port[B]}</address></device>
  <gui enabled="true" tls="false"><address>127.0.0.1:${gui[$side]}</address></gui>
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

# The two stores alike, apart from each side's own marker and Syncthing's files.
same_stores() {
  diff -r -q -x InUse.dat -x '.st*' -x '.syncthing.*' "$work/A/FileStore" "$work/B/FileStore" \
    > /dev/null 2>&1
}
settle() { # until both stores are alike for two seconds, at most $1 seconds
  local until=$(($(date +%s) + $1)) alike=0
  while [ "$(date +%s)" -lt "$until" ]; do
    if same_stores; then alike=$((alike + 1)); [ $alike -ge 4 ] && return 0; else alike=0; fi
    sleep 0.5
  done
  return 1
}
settle ${PLIMSA_SETTLE:-120} || { fail "Syncthing did not carry the store to B within 120 s"; exit 1; }

# The program on each side, talked to through fifos; its output also kept in a log.
start_peer() {
  local side=$1 in out
  mkfifo "$work/$side.in"
  log[$side]=$work/$side.out
  "$peer" "$work/$side" < "$work/$side.in" > "${log[$side]}" 2>&1 &
  pid[$side]=$!
  exec {in}> "$work/$side.in"
  fdin[$side]=$in
}
tell() { echo "$2" >&"${fdin[$1]}"; }
# Waits until the peer's log holds a line matching $2 (after line $3); prints the time.
wait_for() {
  local side=$1 pattern=$2 from=${3:-0} until=$(($(date +%s) + ${4:-60}))
  while [ "$(date +%s)" -lt "$until" ]; do
    tail -n +"$((from + 1))" "${log[$side]}" | grep -q -- "$pattern" && return 0
    sleep 0.05
  done
  return 1
}
lines() { wc -l < "${log[$1]}"; }

start_peer A; start_peer B
wait_for A '^ready' 0 60 && wait_for B '^ready' 0 60 || { fail "a program did not start"; exit 1; }
tell A "select A x"; tell B "select A x"
wait_for A '^done select' && wait_for B '^done select'

conflicts() { find "$work/$1/FileStore" \( -name '*.sync-conflict-*' -o -name '*conflicted copy*' \) | sort; }

for round in $(seq 1 "$rounds"); do
  echo "round $round"
  # 1. Made on A, shown on B.
  b=$(lines B); t0=$(now_ms)
  tell A "new z$round made on A"
  if wait_for B "^list .*z$round" "$b" 60; then
    echo "  1. entry z$round made on A shown on B after $(($(now_ms) - t0)) ms"
  else
    fail "1. z$round made on A not shown on B within 60 s"
  fi
  settle 60 || fail "1. stores not alike after 60 s"

  # 2. The same entry edited on both sides at once.
  tell A "select A x"; tell B "select A x"; sleep 1
  a=$(lines A); b=$(lines B)
  tell A "edit fromA$round "; tell B "edit fromB$round "
  wait_for A "^done edit" "$a"; wait_for B "^done edit" "$b"
  settle 60 || fail "2. stores not alike after 60 s"
  sleep 3
  for side in A B; do
    for text in fromA$round fromB$round; do
      grep -rlq --exclude=InUse.dat -- "$text" "$work/$side/FileStore" ||
        fail "2. $text lost on $side"
    done
  done
  echo "  2. both edits of x kept on both sides; conflict copies: $(conflicts A | wc -l);" \
    "questions asked: A $(tail -n +$((a + 1)) "${log[A]}" | grep -c '^message This entry'),"\
    "B $(tail -n +$((b + 1)) "${log[B]}" | grep -c '^message This entry')"

  # 3. idx.dat changed on both sides within the sync interval.
  a=$(lines A); b=$(lines B)
  tell A "new a$round from A"; tell B "new b$round from B"
  wait_for A "^done new" "$a"; wait_for B "^done new" "$b"
  settle 60 || fail "3. stores not alike after 60 s"
  sleep 3
  for side in A B; do
    for title in a$round b$round; do
      if tr -d '\r' < "$work/$side/FileStore/idx.dat" | grep -qx "\\\\$title"; then :
      elif cat "$work/$side"/FileStore/idx*conflict* 2> /dev/null | tr -d '\r' | grep -qx "\\\\$title"; then
        grep -q "^message A sync program has left copies" "${log[$side]}" ||
          fail "3. the conflict copy holding $title not named on $side"
        echo "  3. $title on $side only in a conflict copy of idx.dat (named)"
      else
        fail "3. title $title lost on $side"
      fi
    done
  done
  echo "  3. idx.dat on A: $(tr -d '\r' < "$work/A/FileStore/idx.dat" | tr '\n' ' ')"
  echo "     cancelled and read again: A $(tail -n +$((a + 1)) "${log[A]}" | grep -c '^message The notebook was changed'),"\
    "B $(tail -n +$((b + 1)) "${log[B]}" | grep -c '^message The notebook was changed')"
done

echo "conflict copies at the end on A: $(conflicts A | sed "s|$work/A/FileStore/||" | tr '\n' ' ')"
grep -h '^message' "${log[A]}" "${log[B]}" | cut -c1-100 | sort | uniq -c
[ $failures -eq 0 ] && echo "all checks passed" || echo "$failures failed"
[ $failures -eq 0 ]
