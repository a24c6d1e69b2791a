#!/usr/bin/env bash
# One store on a real distributed file system, as several computers share it:
# a single-brick GlusterFS volume served on this machine and mounted twice
# through FUSE, each mount standing for one computer. The copies are the
# program's store without its window (plimsa_benchhelper store-writer: the same
# Store, marker and NotebookChange the program uses). Checks:
#   1. a second copy on the other mount is told the store is in use;
#   2. a holder killed with SIGKILL frees the store (time until another takes it);
#   3. a holder whose client connection is lost (its FUSE client killed and the
#      volume mounted again, as after a network drop) writes nothing more once
#      a copy on the other mount has taken the store;
#   4. after a restart of the server, which forgets every lock, never two
#      copies write.
#
# Usage: bench/shared_store_glusterfs.sh [build folder]   (default: build)
# Needs root, /dev/fuse and Debian's glusterfs-server and glusterfs-client:
#   apt-get install -y --no-install-recommends glusterfs-server glusterfs-client
# Skips (exit 77) without them. Everything it makes is removed at the end.
set -uo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
helper=$build/bench/plimsa_benchhelper
skip() { echo "skipped: $*"; exit 77; }
[ "$(id -u)" = 0 ] || skip "needs root (glusterd and FUSE mounts)"
[ -c /dev/fuse ] || skip "no /dev/fuse"
command -v glusterd > /dev/null && command -v mount.glusterfs > /dev/null ||
  skip "install glusterfs-server and glusterfs-client"
[ -x "$helper" ] || { echo "no $helper: build plimsa_benchhelper first" >&2; exit 2; }

work=$(mktemp -d /var/tmp/plimsa-gluster.XXXXXX)
host=$(hostname)
volume=plimsa$$
m1=$work/computer1
m2=$work/computer2
mkdir -p "$work/brick" "$m1" "$m2"
declare -A pid fdin fdout
own_glusterd=
failures=0

run() { echo "+ $*"; "$@" 2>&1 | sed 's/^/  /'; return "${PIPESTATUS[0]}"; }

cleanup() {
  for name in "${!pid[@]}"; do
    kill -9 "${pid[$name]}" 2> /dev/null
    wait "${pid[$name]}" 2> /dev/null
  done
  umount -l "$m1" 2> /dev/null
  umount -l "$m2" 2> /dev/null
  gluster --mode=script volume stop "$volume" force > /dev/null 2>&1
  gluster --mode=script volume delete "$volume" > /dev/null 2>&1
  [ -n "$own_glusterd" ] && kill "$own_glusterd" 2> /dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# A copy of the store on `folder`, talked to through two fifos.
start_copy() {
  local name=$1 folder=$2 in out
  mkfifo "$work/$name.in" "$work/$name.out"
  "$helper" store-writer "$folder" < "$work/$name.in" > "$work/$name.out" 2>&1 &
  pid[$name]=$!
  exec {in}> "$work/$name.in"
  exec {out}< "$work/$name.out"
  fdin[$name]=$in
  fdout[$name]=$out
}
tell() { echo "$2" >&"${fdin[$1]}"; }
hear() {
  local line
  IFS= read -r -t "${2:-20}" line <&"${fdout[$1]}" || line="(nothing within ${2:-20} s)"
  echo "$line"
}
end_copy() {
  local i=${fdin[$1]} o=${fdout[$1]}
  kill -9 "${pid[$1]}" 2> /dev/null
  wait "${pid[$1]}" 2> /dev/null
  exec {i}>&- {o}<&-
  unset "pid[$1]"
  rm -f "$work/$1.in" "$work/$1.out"
}
check() { # what, expected, got
  if [[ $3 == $2* ]]; then echo "  ok: $1: $3"; else
    echo "  FAILED: $1: expected \"$2...\", got \"$3\""
    failures=$((failures + 1))
  fi
}
now_ms() { echo $(($(date +%s%N) / 1000000)); }
# Starts copies on `folder` until one holds the store (at most `limit` ms);
# sets `took` to the milliseconds it took.
take_when_free() {
  local name=$1 folder=$2 limit=$3 start line
  start=$(now_ms)
  while :; do
    start_copy "$name" "$folder"
    line=$(hear "$name")
    [ "$line" = held ] && break
    end_copy "$name"
    if [ $(($(now_ms) - start)) -gt "$limit" ]; then
      took="never (last: $line)"
      return 1
    fi
    sleep 0.2
  done
  took=$(($(now_ms) - start))
}
fuse_client_of() { # the glusterfs process serving mount point $1
  ps -eo pid=,args= | awk -v m="$1" '$2 ~ /glusterfs$/ && $NF == m {print $1}'
}

echo "== GlusterFS volume $volume on $host, brick $work/brick"
if ! gluster --mode=script volume list > /dev/null 2>&1; then
  glusterd --log-file="$work/glusterd.log" -p "$work/glusterd.pid" || skip "glusterd did not start"
  for _ in $(seq 50); do gluster --mode=script volume list > /dev/null 2>&1 && break; sleep 0.1; done
  own_glusterd=$(cat "$work/glusterd.pid")
fi
run gluster --mode=script volume create "$volume" "$host:$work/brick" force || exit 1
run gluster --mode=script volume start "$volume" || exit 1
run mount -t glusterfs "$host:/$volume" "$m1" || exit 1
run mount -t glusterfs "$host:/$volume" "$m2" || exit 1
mkdir -p "$m1/FileStore/A"
printf 'idx Plimsa 1.3.02\r\nA\r\n' > "$m1/FileStore/idx.dat"
s1=$m1/FileStore/
s2=$m2/FileStore/

echo "== 1. a second copy on the other computer"
echo "+ store-writer $s1 (copy A)"
start_copy A "$s1"
check "A takes the store" held "$(hear A)"
echo "+ store-writer $s2 (copy B)"
start_copy B "$s2"
check "B is told the store is in use" "in use" "$(hear B)"
tell A "write a1"
check "A writes" written "$(hear A)"
end_copy B

echo "== 2. the holder killed with SIGKILL"
echo "+ kill -9 (copy A)"
end_copy A
take_when_free B "$s2" 5000
check "B takes the store after the kill" "" "$took ms"
[[ $took =~ ^[0-9]+$ ]] && [ "$took" -le 1000 ] || {
  echo "  FAILED: the store was not free within a second"
  failures=$((failures + 1))
}
end_copy B

echo "== 3. the holder's client connection lost"
echo "+ store-writer $s1 (copy A)"
start_copy A "$s1"
check "A takes the store" held "$(hear A)"
tell A "write a2"
check "A writes" written "$(hear A)"
client=$(fuse_client_of "$m1")
echo "+ kill -9 $client (the FUSE client of computer 1), umount -l, mount again"
kill -9 "$client"
umount -l "$m1"
run mount -t glusterfs "$host:/$volume" "$m1"
take_when_free B "$s2" 60000
check "B on computer 2 takes the store" "" "$took ms after the connection was lost"
tell B "write b1"
check "B writes" written "$(hear B)"
tell A "write a3"
check "A is told it lost the store" lost "$(hear A)"
check "A writes nothing" refused "$(hear A)"
index=$(tr -d '\r' < "$s2/idx.dat" | tr '\n' ' ')
echo "  idx.dat now: $index"
case "$index" in
  *a3*) echo "  FAILED: A's write reached idx.dat"; failures=$((failures + 1)) ;;
  *b1*) echo "  ok: idx.dat holds B's write and not A's" ;;
  *) echo "  FAILED: B's write is missing"; failures=$((failures + 1)) ;;
esac

end_copy A
end_copy B

echo "== 4. the server restarted (the brick process killed and started again)"
echo "+ store-writer $s1 (copy A)"
start_copy A "$s1"
check "A takes the store" held "$(hear A)"
brick=$(ps -eo pid=,args= | awk -v b="$work/brick" '$2 ~ /glusterfsd$/ && index($0, b) {print $1}')
echo "+ kill -9 $brick (the brick), gluster volume start $volume force"
kill -9 "$brick"
run gluster --mode=script volume start "$volume" force
# The brick forgets every lock; whichever copy asks first may have the store,
# but never both.
if take_when_free B "$s2" 60000; then
  echo "  B on computer 2 took the store $took ms after the restart"
  tell A "write a4"
  check "A, no longer holding it, is told so" lost "$(hear A)"
  check "A writes nothing" refused "$(hear A)"
else
  echo "  B could not take the store within 60 s ($took)"
  tell A "write a4"
  answer=$(hear A)
  case "$answer" in
    written) echo "  ok: A kept the store and writes" ;;
    lost*) echo "  ok: A stopped writing: $answer" ;;
    *) echo "  FAILED: A answered \"$answer\""; failures=$((failures + 1)) ;;
  esac
fi

echo "== $failures failed"
[ "$failures" = 0 ]
