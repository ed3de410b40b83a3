#!/usr/bin/env bash
# On a headless Wayland compositor: the main-window tests pass, and the real program, in a session
# that names only WAYLAND_DISPLAY, shows its window there and ends with status 0 on SIGTERM.
# Usage: wayland.sh PATH/TO/tst_frmmain PATH/TO/marlovin
set -uo pipefail
fail() { echo "FAIL: $*" >&2; exit 1; }
# Waits up to 30 s for the command $2 to succeed while the process $1 lives.
await() { for _ in $(seq 300); do eval "$2" && return; kill -0 "$1" 2>/dev/null || return; sleep 0.1; done; false; }
runtime=$(mktemp -d) && chmod 700 "$runtime" || fail "no runtime directory"
export XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=marlovin-test QT_QPA_PLATFORM=wayland
unset DISPLAY
weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" --idle-time=0 >"$runtime/weston.log" 2>&1 &
weston=$!
trap 'exit 1' INT TERM
trap 'kill ${program:-} $weston 2>/dev/null; wait; rm -rf "$runtime"' EXIT
await $weston '[ -S "$runtime/$WAYLAND_DISPLAY" ]' || fail "weston did not start: $(cat "$runtime/weston.log")"

"$1" || fail "the main-window tests failed on wayland"

WAYLAND_DEBUG=client env -u QT_QPA_PLATFORM "$2" 2>"$runtime/client.log" &
program=$!
# Shown: the program named its top-level window, and drew into it once the compositor configured it.
await $program 'grep -q "wl_surface@[0-9]*\.attach(wl_buffer" "$runtime/client.log"' &&
    grep -q 'xdg_toplevel@[0-9]*\.set_title("Marlovin")' "$runtime/client.log" || fail "the window was not shown"
kill -TERM $program
wait $program || fail "exit status $? after SIGTERM"
