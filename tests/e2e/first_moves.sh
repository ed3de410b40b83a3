#!/usr/bin/env bash
# Starts the real program under Xvfb and drives it like a person with xdotool: Ctrl+N and a click
# on column button 3, which must put a red disc in that column, and the window's icon. (The frames
# and the close box are tried under GNOME's window manager, in tests/ui/wayland.sh.)
# Usage: first_moves.sh PATH/TO/marlovin
set -euo pipefail
if [ -z "${MARLOVIN_E2E_IN_XVFB:-}" ]; then
    MARLOVIN_E2E_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 640x480x24" "$0" "$@"
fi
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
fail() { echo "FAIL: $*" >&2 && exit 1; }
# Xvfb refuses about one connection in 300: a start that ends before any window shows is tried
# once more (when the wait for the window runs out), and nothing else is.
for attempt in 1 2; do
    "$1" &
    pid=$!
    trap 'kill $pid 2>/dev/null || true' EXIT
    window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Marlovin$' | head -n 1) && break
    kill -0 $pid 2>/dev/null && fail "the window did not appear"
    [ $attempt = 2 ] && fail "the program ended twice before its window showed"
done
xdotool windowfocus --sync "$window"
eval "$(xdotool getwindowgeometry --shell "$window")"
grep -q 'Icon (32 x 32)' <<<"$(xprop -id "$window" _NET_WM_ICON)" || fail "no 32 x 32 window icon"

xdotool key --clearmodifiers ctrl+n
# Red is the person's colour in the first game. The client area is the window's bottom 285
# pixels, below the menu bar; the circle above the button is matrix(21), the bottom of column 3.
xdotool mousemove --sync $((X + 16 + 24 * 3 + 12)) $((Y + HEIGHT - 85 + 12)) click 1
for _ in $(seq 100); do
    colour=$(import -window root png:- |
        convert png:- -format "%[hex:p{$((X + 28 + 24 * 3)),$((Y + HEIGHT - 113))}]" info:)
    [ "$colour" = FF0000 ] && break
    sleep 0.1
done
[ "$colour" = FF0000 ] || fail "matrix(21) is $colour, not red"

