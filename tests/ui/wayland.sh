#!/usr/bin/env bash
# In GNOME's own compositor, mutter, headless with Xwayland: the main-window tests pass natively on
# Wayland. The installed program, where Qt's choice is Wayland (KDE's environment, the platform
# named, a GNOME session without X display), is a Wayland client whose app id is its menu
# entry's name, and ends with status 0 on SIGTERM. In a GNOME session it is an X11 window, read
# as the window manager reads it (see the last part).
# Usage: wayland.sh PATH/TO/tst_frmmain BUILD-FOLDER
set -uo pipefail
fail() { echo "FAIL: $*" >&2; exit 1; }
if [ -z "${MARLOVIN_IN_MUTTER:-}" ]; then
    runtime=$(mktemp -d) && chmod 700 "$runtime" || fail "no runtime directory"
    trap 'rm -rf "$runtime"' EXIT
    # mutter runs this script again as its first client, with DISPLAY, WAYLAND_DISPLAY and
    # XAUTHORITY as a GNOME session hands them on, and ends when it ends. On failure: all that
    # was said, then the check that failed.
    export XDG_RUNTIME_DIR=$runtime MARLOVIN_IN_MUTTER=1
    dbus-run-session -- mutter --headless --wayland --virtual-monitor 1024x768 \
        --wayland-display=marlovin-test -- "$0" "$@" >"$runtime/mutter.log" 2>&1 && exit 0
    cat "$runtime/mutter.log" >&2
    verdict=$(sed -n 's/^FAIL: //p' "$runtime/mutter.log")
    fail "${verdict:-mutter ended before the checks did}"
fi
# Waits up to 30 s for the command $2 to succeed while the process $1 lives.
await() { for _ in $(seq 300); do eval "$2" && return; kill -0 "$1" 2>/dev/null || return; sleep 0.1; done; false; }
# The X11 window $1, named $2: minimum and maximum size equal; the Motif hints give functions and
# decorations (flags 1 and 2), and neither has minimise (8, 32) or maximise (16, 64).
fixed_frame() {
    hints=$(xprop -id "$1" WM_NORMAL_HINTS _MOTIF_WM_HINTS)
    minimum=$(sed -n 's/.*minimum size: //p' <<<"$hints")
    maximum=$(sed -n 's/.*maximum size: //p' <<<"$hints")
    [ -n "$minimum" ] && [ "$minimum" = "$maximum" ] || fail "$2 can be resized: $hints"
    read -r flags functions decorations _ <<<"$(sed -n 's/^_MOTIF_WM_HINTS.* = //p' <<<"$hints" | tr -d ,)"
    (( (flags & 3) == 3 && (functions & 24) == 0 && (decorations & 96) == 0 )) ||
        fail "$2 offers minimise or maximise: $hints"
}
trap 'kill ${program:-} 2>/dev/null; wait' EXIT
unset QT_QPA_PLATFORM XDG_CURRENT_DESKTOP XDG_SESSION_TYPE

QT_QPA_PLATFORM=wayland "$1" || fail "the main-window tests failed on Wayland"

DESTDIR=$XDG_RUNTIME_DIR/root cmake --install "$2" --prefix /usr >/dev/null || fail "no install"
entry=$(echo "$XDG_RUNTIME_DIR"/root/usr/share/applications/*.desktop)
installed=$XDG_RUNTIME_DIR/root/usr/games/marlovin
log=$XDG_RUNTIME_DIR/client.log
# Shown: the program named its top-level window by the entry, and drew into it once configured.
for session in XDG_CURRENT_DESKTOP=KDE "XDG_CURRENT_DESKTOP=GNOME QT_QPA_PLATFORM=wayland" \
    "-u DISPLAY XDG_CURRENT_DESKTOP=GNOME"; do
    env $session XDG_SESSION_TYPE=wayland WAYLAND_DEBUG=client "$installed" 2>"$log" &
    program=$!
    await $program 'grep -q "wl_surface@[0-9]*\.attach(wl_buffer" "$log"' ||
        fail "$session: no window on Wayland"
    grep -qF ".set_app_id(\"$(basename "$entry" .desktop)\")" "$log" ||
        fail "$session: the app id is not the entry's name: $(grep -F set_app_id "$log")"
    kill -TERM $program
    wait $program || fail "$session: exit status $? after SIGTERM"
done

# A GNOME session: an X11 window of the class the entry names, with a fixed frame and neither
# minimise nor maximise. The About window is the same, modal, owned by the main window and kept
# off the task bar. GNOME's close box on the main window ends the program with status 0 while the
# About window is open.
XDG_CURRENT_DESKTOP=ubuntu:GNOME XDG_SESSION_TYPE=wayland "$installed" &
program=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Marlovin$' | head -n 1) ||
    fail "GNOME: no X11 window"
fixed_frame "$window" "the main window"
class=$(sed -n 's/^StartupWMClass=//p' "$entry")
xprop -id "$window" WM_CLASS | grep -qF "\"$class\"" || fail "the window's class is not \"$class\""
xdotool windowactivate --sync "$window" key --clearmodifiers alt+i
info=$(timeout 30 xdotool search --sync --onlyvisible --name '^Info$' | head -n 1) ||
    fail "the About window did not open"
fixed_frame "$info" "the About window"
owner=$(xprop -id "$info" WM_TRANSIENT_FOR)
[ "$owner" = "WM_TRANSIENT_FOR(WINDOW): window id # $(printf '0x%x' "$window")" ] ||
    fail "the About window is not owned by the main window: $owner"
state=$(xprop -id "$info" _NET_WM_STATE)
grep -q MODAL <<<"$state" && grep -q SKIP_TASKBAR <<<"$state" || fail "the About window is $state"
state=$(xprop -id "$window" _NET_WM_STATE)
! grep -qE 'MODAL|SKIP|ABOVE' <<<"$state" || fail "the main window is $state"
wmctrl -i -c "$window"
timeout 30 tail --pid=$program -s 0.05 -f /dev/null || fail "the close box did not end the program"
wait $program || fail "exit status $? after the close box"
