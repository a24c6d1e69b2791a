#!/bin/sh
# Runs a test program as a client of a private Wayland compositor (weston's
# headless backend), with no X server to fall back on; skips (77) where weston
# or Qt's Wayland platform ($1, the plugin folder) is not installed.
plugins=$1
shift
command -v weston >/dev/null 2>&1 && [ -e "$plugins/platforms/libqwayland-generic.so" ] || exit 77
runtime=$(mktemp -d) || exit 1
chmod 700 "$runtime"
export XDG_RUNTIME_DIR="$runtime"
# In a process group of its own, with the helper clients it starts (the
# shell's panel, an on-screen keyboard), so that they can be ended with it.
setsid weston --backend=headless-backend.so --socket=plimsa-test --idle-time=0 \
    --log="$runtime/weston.log" >/dev/null 2>&1 &
compositor=$!
finish() {
    # weston first, so it starts no helper again as they go; then the helpers.
    kill "$compositor" 2>/dev/null
    wait "$compositor" 2>/dev/null
    kill -- -"$compositor" 2>/dev/null
    for _ in $(seq 50); do
        kill -0 -- -"$compositor" 2>/dev/null || break
        sleep 0.1
    done
    rm -rf "$runtime"
}
trap finish EXIT INT TERM
for _ in $(seq 100); do
    [ -S "$runtime/plimsa-test" ] || ! kill -0 "$compositor" 2>/dev/null && break
    sleep 0.1
done
[ -S "$runtime/plimsa-test" ] || { echo "weston did not start:"; cat "$runtime/weston.log"; exit 1; }
unset DISPLAY
export WAYLAND_DISPLAY=plimsa-test QT_QPA_PLATFORM=wayland
# The headless backend has no seat, and Qt 6.4's Wayland text input then
# reaches for a keyboard that is not there: no input method here.
export QT_IM_MODULE=none
"$@"
