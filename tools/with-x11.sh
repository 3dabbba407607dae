#!/usr/bin/env bash
# Runs a command on an X server of its own (Xvfb, on a display number it picks itself) with a
# window manager (openbox), and stops both however the command ends. Its exit status is the
# command's.
#
#   tools/with-x11.sh COMMAND [ARGUMENT...]
set -euo pipefail
[ $# -gt 0 ] || { echo "usage: $0 COMMAND [ARGUMENT...]" >&2; exit 2; }
readonly StartSeconds=30

work=$(mktemp -d)
xvfb=""
wm=""
stop() {
    [ -n "$wm" ] && kill "$wm" 2>/dev/null && wait "$wm" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap stop EXIT
trap 'exit 130' INT TERM

# -displayfd: the server takes the first free display and writes its number once it accepts
# connections, so two runs on one machine never collide.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for ((i = 0; i < StartSeconds * 10; i++)); do
    [ -s "$work/display" ] && break
    kill -0 "$xvfb" 2>/dev/null || { cat "$work/xvfb.log" >&2; echo "Xvfb did not start" >&2; exit 1; }
    sleep 0.1
done
[ -s "$work/display" ] || { echo "Xvfb did not start in ${StartSeconds}s" >&2; exit 1; }
export DISPLAY=":$(tr -d '\n' <"$work/display")"

# The window manager is up once it has announced itself on the root window.
openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm=$!
for ((i = 0; i < StartSeconds * 10; i++)); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    kill -0 "$wm" 2>/dev/null || { cat "$work/openbox.log" >&2; echo "openbox did not start" >&2; exit 1; }
    sleep 0.1
done
xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' \
    || { echo "openbox did not start in ${StartSeconds}s" >&2; exit 1; }

unset WAYLAND_DISPLAY
status=0
"$@" || status=$?
exit "$status"
