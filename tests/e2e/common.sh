# Shared by the end-to-end scripts: runs the caller under its own Xvfb server, starts the program
# and waits for its window, ends it on exit. Source it with the program's path as $1.
set -euo pipefail

if [ -z "${MARLOVIN_E2E_IN_XVFB:-}" ]; then
    export MARLOVIN_E2E_IN_XVFB=1
    exec xvfb-run -a -s "-screen 0 640x480x24" "$0" "$@"
fi
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

program=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
work=$(mktemp -d)
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    if [ -f "$work/shot.png" ]; then
        cp "$work/shot.png" "${TMPDIR:-/tmp}/marlovin-e2e-failure.png"
        echo "last screenshot: ${TMPDIR:-/tmp}/marlovin-e2e-failure.png" >&2
    fi
    exit 1
}

# Starts the program; sets $pid and $window (its main window, focused).
start_program() {
    "$program" &
    pid=$!
    window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Marlovin$' | head -n 1) ||
        fail "the window did not appear"
    xdotool windowfocus --sync "$window"
}

# Waits for the program to end (a guard of 30 s against a hang) and checks its exit status.
expect_clean_exit() {
    timeout 30 tail --pid="$pid" -s 0.02 -f /dev/null || fail "the program did not end"
    local status=0
    wait "$pid" || status=$?
    pid=
    [ "$status" -eq 0 ] || fail "exit status $status"
}
