#!/bin/sh
# Runs a test program on a private X server (Xvfb) with a window manager
# (openbox), for what only a real window system shows: the tray, the window
# manager's own resizing. Skips (77) where Xvfb or openbox is not installed.
set -u
program=$1
if ! command -v Xvfb >/dev/null 2>&1 || ! command -v openbox >/dev/null 2>&1; then
    echo "Xvfb or openbox is not installed: skipped"
    exit 77
fi

xvfb=
wm=
cleanup() {
    [ -n "$wm" ] && kill "$wm" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    wait 2>/dev/null
}
trap cleanup EXIT INT TERM

# The first display from 71 on that no other server holds: the low numbers
# are left to people who start a server by hand.
display=71
while [ "$display" -lt 200 ]; do
    if [ ! -e "/tmp/.X$display-lock" ] && [ ! -e "/tmp/.X11-unix/X$display" ]; then
        Xvfb ":$display" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
        xvfb=$!
        tries=0
        while [ "$tries" -lt 50 ] && kill -0 "$xvfb" 2>/dev/null &&
            [ ! -e "/tmp/.X11-unix/X$display" ]; do
            sleep 0.1
            tries=$((tries + 1))
        done
        if kill -0 "$xvfb" 2>/dev/null && [ -e "/tmp/.X11-unix/X$display" ]; then
            break
        fi
        xvfb=
    fi
    display=$((display + 1))
done
if [ -z "$xvfb" ]; then
    echo "no X server could be started"
    exit 1
fi

export DISPLAY=":$display"
openbox >/dev/null 2>&1 &
wm=$!
sleep 0.5
QT_QPA_PLATFORM=xcb "$program"
