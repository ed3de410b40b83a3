#!/usr/bin/env bash
# In GNOME's own compositor, mutter, headless with Xwayland: the main-window tests pass natively on
# Wayland. The installed program, where Qt's choice is Wayland (KDE's environment, the platform
# named, a GNOME session without X display), is a Wayland client whose app id is its menu
# entry's name, and ends with status 0 on SIGTERM. In a GNOME session it is an X11 window, read
# as the window manager reads it, and used as a player uses it (see the last part). Every wait ends
# within 20 s.
# Usage: mutter.sh PATH/TO/tst_frmmain BUILD-FOLDER REFERENCE-PICTURE-OF-THE-SPIEL-MENU
set -uo pipefail
fail() { echo "FAIL: $*" >&2; exit 1; }
if [ -z "${MARLOVIN_IN_MUTTER:-}" ]; then
    runtime=$(mktemp -d) && chmod 700 "$runtime" || fail "no runtime directory"
    trap 'rm -rf "$runtime"' EXIT
    # Xwayland's sockets go into /tmp/.X11-unix, which a desktop makes at boot (mode 1777, as
    # systemd-tmpfiles does). Where it is missing, mutter makes it without write permission for
    # others and then refuses to use it.
    [ -d /tmp/.X11-unix ] || mkdir -m 1777 /tmp/.X11-unix || fail "cannot make /tmp/.X11-unix"
    # mutter runs this script again as its first client, with DISPLAY, WAYLAND_DISPLAY and
    # XAUTHORITY as a GNOME session hands them on, and ends when it ends.
    log=$2/tests/ui/mutter.log
    export XDG_RUNTIME_DIR=$runtime MARLOVIN_IN_MUTTER=1
    timeout -k 5 200 dbus-run-session -- mutter --headless --wayland --virtual-monitor 1024x768 \
        --wayland-display=marlovin-test -- "$0" "$@" >"$log" 2>&1 && exit 0
    cat "$log" >&2
    verdict=$(sed -n 's/^FAIL: //p' "$log")
    fail "${verdict:-mutter ended before the checks did} (mutter's log: $log)"
fi
# Waits up to 20 s for the command $2 to succeed while the process $1 lives.
await() { for _ in $(seq 200); do eval "$2" && return; kill -0 "$1" 2>/dev/null || return; sleep 0.1; done; false; }
# Ends the process $1 if it has not ended within 20 s; its exit status.
reap() { timeout 20 tail --pid="$1" -s 0.05 -f /dev/null || kill -KILL "$1"; wait "$1"; }
# The visible X11 windows of the program titled $1, letter for letter. The search by class leaves
# out the frames that GNOME 44 and later draw in a client of their own, with the same title.
titled() {
    for id in $(xdotool search --onlyvisible --class '^Marlovin$'); do
        [ "$(xprop -id "$id" _NET_WM_NAME)" = "_NET_WM_NAME(UTF8_STRING) = \"$1\"" ] && echo "$id"
    done
}
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
# The X11 window $1, named $2, is owned by the main window: transient for it and modal.
owned() {
    owner=$(xprop -id "$1" WM_TRANSIENT_FOR)
    [ "$owner" = "WM_TRANSIENT_FOR(WINDOW): window id # $(printf '0x%x' "$window")" ] ||
        fail "$2 is not owned by the main window: $owner"
    grep -q MODAL <<<"$(xprop -id "$1" _NET_WM_STATE)" || fail "$2 is not modal"
}
trap 'kill -KILL ${program:-} 2>/dev/null; wait' EXIT
unset QT_QPA_PLATFORM XDG_CURRENT_DESKTOP XDG_SESSION_TYPE

QT_QPA_PLATFORM=wayland timeout 120 "$1" || fail "the main-window tests failed on Wayland"

DESTDIR=$XDG_RUNTIME_DIR/root cmake --install "$2" --prefix /usr >/dev/null || fail "no install"
entry=$(echo "$XDG_RUNTIME_DIR"/root/usr/share/applications/*.desktop)
installed=$XDG_RUNTIME_DIR/root/usr/games/marlovin
log=$XDG_RUNTIME_DIR/client.log
# Shown: the program named its top-level window by the entry, and drew into it once configured.
# libwayland writes an object as wl_surface@27, and since 1.23 as wl_surface#27.
for session in XDG_CURRENT_DESKTOP=KDE "XDG_CURRENT_DESKTOP=GNOME QT_QPA_PLATFORM=wayland" \
    "-u DISPLAY XDG_CURRENT_DESKTOP=GNOME"; do
    env $session XDG_SESSION_TYPE=wayland WAYLAND_DEBUG=client "$installed" 2>"$log" &
    program=$!
    await $program 'grep -qE "wl_surface[@#][0-9]+\.attach\(wl_buffer" "$log"' ||
        fail "$session: no window on Wayland"
    await $program 'grep -qF ".set_app_id(\"$(basename "$entry" .desktop)\")" "$log"' ||
        fail "$session: the app id is not the entry's name: $(grep -E 'set_app_id|get_toplevel|attach' "$log" | head -4)"
    kill -TERM $program
    reap $program || fail "$session: exit status $? after SIGTERM"
done

# A GNOME session: an X11 window of the class the entry names, titled "Marlovin", with its icon, a
# fixed frame and neither minimise nor maximise. A click opens the "Spiel" menu as its reference
# picture shows it, "Strg+N" included: the program loads Qt's German texts itself. The About
# window ("Info") has the same frame, is modal, owned by the main window and kept off the task
# bar; its close box closes it alone. The message that ends a game is owned by the main window
# too. GNOME's close box on the main window ends the program with status 0 while that message is
# open.
XDG_CURRENT_DESKTOP=ubuntu:GNOME XDG_SESSION_TYPE=wayland "$installed" &
program=$!
await $program 'window=$(titled Marlovin) && [ -n "$window" ]' || fail "GNOME: no X11 window titled Marlovin"
fixed_frame "$window" "the main window"
class=$(sed -n 's/^StartupWMClass=//p' "$entry")
xprop -id "$window" WM_CLASS | grep -qF "\"$class\"" || fail "the window's class is not \"$class\""
grep -q 'Icon (32 x 32)' <<<"$(xprop -id "$window" _NET_WM_ICON)" || fail "no 32 x 32 window icon"
timeout 20 xdotool windowactivate --sync "$window" mousemove --window "$window" 20 10 click 1
await $program 'menu=$(xdotool search --onlyvisible --class "^Marlovin$" | grep -vx "$window")' ||
    fail "a click on Spiel opened no menu"
if [ -f "$3" ]; then
    differ=$(import -window "$menu" png:- | compare -metric AE png:- "$3" null: 2>&1)
    [ "$differ" = 0 ] || fail "the Spiel menu differs from $3 in $differ pixels"
else
    echo "no reference picture $3: the Spiel menu is not compared"
fi
xdotool key Escape
timeout 20 xdotool windowactivate --sync "$window" key --clearmodifiers alt+i
await $program 'info=$(titled Info) && [ -n "$info" ]' || fail "no About window titled Info"
fixed_frame "$info" "the About window"
owned "$info" "the About window"
grep -q SKIP_TASKBAR <<<"$(xprop -id "$info" _NET_WM_STATE)" || fail "the About window is in the task bar"
state=$(xprop -id "$window" _NET_WM_STATE)
! grep -qE 'MODAL|SKIP|ABOVE' <<<"$state" || fail "the main window is $state"
wmctrl -i -c "$info"
await $program '[ -z "$(titled Info)" ]' || fail "the About window's close box did not close it"
kill -0 $program 2>/dev/null || fail "the About window's close box ended the program"

# The computer plays red as well (Optionen, CPU-Spieler, Rot), so a new game runs to its end.
# Each access key waits for the menu it is meant for.
shown() { xdotool search --onlyvisible --class '^Marlovin$' | wc -l; }
timeout 20 xdotool windowactivate --sync "$window" key --clearmodifiers alt+o
await $program '[ "$(shown)" -eq 2 ]' || fail "Alt+O opened no menu"
xdotool key --clearmodifiers c
await $program '[ "$(shown)" -eq 3 ]' || fail "C opened no submenu"
xdotool key --clearmodifiers r ctrl+n
await $program 'box=$(titled Marlovin | grep -vx "$window") && [ -n "$box" ]' ||
    fail "no message titled Marlovin at the end of the game"
owned "$box" "the message"
wmctrl -i -c "$window"
reap $program || fail "exit status $? after the close box"
