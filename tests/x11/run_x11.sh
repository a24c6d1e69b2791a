#!/bin/sh
# Runs a test program (with its arguments) on a private X server with a window manager; skips (77)
# where Xvfb or openbox is not installed. Displays from :71 on are tried, the
# low ones being left to servers people start by hand.
command -v Xvfb >/dev/null 2>&1 && command -v openbox >/dev/null 2>&1 || exit 77
display=71
while [ "$display" -lt 200 ]; do
    if [ ! -e "/tmp/.X$display-lock" ]; then
        Xvfb ":$display" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
        xvfb=$!
        for _ in $(seq 50); do
            [ -e "/tmp/.X11-unix/X$display" ] || ! kill -0 "$xvfb" 2>/dev/null && break
            sleep 0.1
        done
        kill -0 "$xvfb" 2>/dev/null && [ -e "/tmp/.X11-unix/X$display" ] && break
    fi
    display=$((display + 1))
done
kill -0 "${xvfb:-0}" 2>/dev/null || { echo "no X server could be started"; exit 1; }
export DISPLAY=":$display"
openbox >/dev/null 2>&1 &
wm=$!
trap 'kill $wm $xvfb 2>/dev/null' EXIT INT TERM
sleep 0.5
QT_QPA_PLATFORM=xcb "$@"
