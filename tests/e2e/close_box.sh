#!/usr/bin/env bash
# The close box ends the real program with status 0 when nothing runs, while the About window is
# open, and after a game that the computer plays for both colours while its win message (a modal
# window too) is open. (Such a game
# takes a fraction of a second here; closing in the middle of a search is tested in-process by
# tst_frmmain.)
# Usage: close_box.sh PATH/TO/marlovin
source "$(dirname "$(realpath "$0")")/common.sh"

# Both colours to the computer, "Stufe &4", then a new game: all through the menus' access keys.
start_computer_game() {
    start_program
    for keys in "alt+o c r" "alt+o s 4"; do
        for key in $keys; do
            xdotool key --clearmodifiers "$key"
            sleep 0.2
        done
    done
    xdotool key --clearmodifiers ctrl+n
}

# The window manager's close request, as its close box sends it.
close_box() { python3 "$here/wm_delete_window.py" "$window"; }

start_program
close_box
expect_clean_exit
echo "PASS: closed at rest"

start_program
xdotool key --clearmodifiers alt+i
timeout 30 xdotool search --sync --onlyvisible --name '^Info$' >/dev/null ||
    fail "the About window did not open"
close_box
expect_clean_exit
echo "PASS: closed while the About window was open"

start_computer_game
for _ in $(seq 1 300); do
    [ "$(xdotool search --onlyvisible --name '^Marlovin$' | wc -l)" -ge 2 ] && break
    sleep 0.1
done
[ "$(xdotool search --onlyvisible --name '^Marlovin$' | wc -l)" -ge 2 ] ||
    fail "no win message appeared"
close_box
expect_clean_exit
echo "PASS: closed while the win message was open"
