#!/usr/bin/env bash
# The installed game end to end, under Wine in Xvfb with openbox as the window manager: the
# installer run silently in a fresh prefix, the game started from where it put it and played by
# mouse and keys with the board read back from a picture after each disc, the About window opened
# and closed, a close request (taskkill) mid-search ending the game with status 0, then the silent
# uninstall, after which nothing of the game is left. Pictures go to the folder given second.
# Every wait is bounded.
set -euo pipefail
installer=$1
pictures=$2
mkdir -p "$pictures"
scratch=$(mktemp -d /tmp/marlovin-e2e.XXXXXX)
export WINEPREFIX=$scratch/prefix WINEARCH=win64 WINEDEBUG=-all

fail() {
    echo "e2e: $*" >&2
    exit 1
}

cleanup() {
    wineserver -k 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$scratch"
}

# Runs the command until it succeeds, for at most `seconds`.
wait_for() {
    local what=$1 seconds=$2
    shift 2
    local deadline=$((SECONDS + seconds))
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -lt $deadline ] || fail "no $what after $seconds s"
        sleep 0.5
    done
}

display=90
while [ -e /tmp/.X11-unix/X$display ]; do
    display=$((display + 1))
done
Xvfb :$display -screen 0 1024x768x24 -nolisten tcp >"$scratch/xvfb.log" 2>&1 &
xvfb=$!
trap cleanup EXIT
export DISPLAY=:$display
wait_for "X server" 30 xdpyinfo
openbox >"$scratch/openbox.log" 2>&1 &
timeout 300 wineboot --init >/dev/null 2>&1 || fail "Wine could not make its prefix"

timeout 300 wine "$installer" /S || fail "the silent install failed"
folder=$(winepath -u 'C:\Program Files\Marlovin')
menu=$(winepath -u 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Marlovin')
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Marlovin'
[ -f "$folder/Marlovin.exe" ] || fail "no Marlovin.exe in $folder"
[ -f "$menu/Marlovin.lnk" ] || fail "no Start-menu entry Marlovin"
for entry in "DisplayName.*Marlovin" "Publisher.*Dunfeld" "DisplayVersion.*1\.0\.0\.1" \
    "DisplayIcon.*Marlovin\\\\Marlovin\.exe"; do
    wine reg query "$uninstall" | grep -q "$entry" || fail "the uninstall entry lacks $entry"
done

# A start that ends without a window is tried once more: Xvfb refuses a connection now and then.
start_game() {
    wine 'C:\Program Files\Marlovin\Marlovin.exe' &
    game=$!
    local deadline=$((SECONDS + 60))
    until window=$(xdotool search --onlyvisible --name '^Marlovin$' 2>/dev/null | head -n 1) &&
        [ -n "$window" ]; do
        kill -0 "$game" 2>/dev/null || return 1
        [ $SECONDS -lt $deadline ] || fail "no window titled Marlovin after 60 s"
        sleep 0.5
    done
}
start_game || start_game || fail "the game ended twice without a window"
eval "$(xdotool getwindowgeometry --shell "$window")"
# The client area below the menu bar is 285 pixels high.
menubar=$((HEIGHT - 285))

# The 49 circles, column by column from the bottom up: W empty, Y yellow, R red.
board() {
    import -window "$window" "$scratch/board.png"
    local format="" column row
    for column in 0 1 2 3 4 5 6; do
        for row in 0 1 2 3 4 5 6; do
            local x=$(((240 + 360 * column + 187) / 15))
            local y=$((menubar + (2400 - 360 * row + 187) / 15))
            format+="%[pixel:p{$x,$y}] "
        done
    done
    convert "$scratch/board.png" -format "$format" info: |
        sed -e 's/white/W/g' -e 's/yellow/Y/g' -e 's/red/R/g' -e 's/ //g'
}

count() {
    local text=$1 letter=$2
    echo -n "${text//[^$letter]/}" | wc -c
}

# A red disc by `how` into `column`, then yellow's reply: the red lands on the column's lowest
# empty cell, and the board shows as many yellow as red discs.
play_red() {
    local how=$1 column=$2 before after
    before=$(board)
    local column_before=${before:$((7 * column)):7}
    local height=${column_before%%W*}
    local reds=$(($(count "$before" R) + 1))
    if [ "$how" = click ]; then
        xdotool mousemove --window "$window" $(((240 + 360 * column + 187) / 15)) \
            $((menubar + (3000 + 187) / 15)) click 1
    else
        xdotool key --window "$window" "$column"
    fi
    local deadline=$((SECONDS + 30))
    while after=$(board) && [ "$(count "$after" Y)" -ne "$reds" ]; do
        [ $SECONDS -lt $deadline ] || fail "no yellow reply to red's disc in column $column: $after"
        sleep 0.5
    done
    [ "$(count "$after" R)" -eq "$reds" ] || fail "not $reds red discs after column $column: $after"
    [ "${after:$((7 * column + ${#height})):1}" = R ] ||
        fail "red's disc is not on the lowest empty cell of column $column: $after"
    cp "$scratch/board.png" "$pictures/board-$reds.png"
}

xdotool key --window "$window" ctrl+n
empty=$(printf 'W%.0s' $(seq 49))
deadline=$((SECONDS + 30))
until [ "$(board)" = "$empty" ]; do
    [ $SECONDS -lt $deadline ] || fail "no empty board after Strg+N: $(board)"
    sleep 0.5
done
play_red click 3
play_red key 4
play_red click 3
play_red key 2

xdotool key --window "$window" alt+i
wait_for "About window" 30 xdotool search --onlyvisible --name '^Info$'
about=$(xdotool search --onlyvisible --name '^Info$' | head -n 1)
import -window "$about" "$pictures/about.png"
xdotool key --window "$about" Return
wait_for "closing of the About window" 30 sh -c "! xdotool search --onlyvisible --name '^Info\$'"

# Both colours to the computer at Stufe 4, a new game, and a close request while it searches.
for keys in "alt+o c r" "alt+o s 4"; do
    for key in $keys; do
        xdotool key --window "$window" "$key"
        sleep 0.3
    done
done
xdotool key --window "$window" ctrl+n
sleep 2
import -window "$window" "$pictures/searching.png"
timeout 30 wine taskkill /IM Marlovin.exe >/dev/null 2>&1 || fail "taskkill failed"
status=0
timeout 30 tail --pid="$game" -f /dev/null || fail "the game did not end within 30 s of taskkill"
wait "$game" || status=$?
[ "$status" -eq 0 ] || fail "the game ended with status $status after taskkill mid-search"

timeout 300 wine "$folder/Deinstallieren.exe" /S || fail "the silent uninstall failed"
# The uninstaller goes on from a copy of itself in the temporary folder.
timeout 300 wineserver -w || fail "the uninstaller did not end within 300 s"
[ ! -e "$folder" ] || fail "the uninstall left $(find "$folder" | head -n 3)"
[ ! -e "$menu" ] || fail "the uninstall left the Start-menu folder"
for key in "$uninstall" 'HKLM\Software\Dunfeld' 'HKCU\Software\Dunfeld'; do
    ! wine reg query "$key" >/dev/null 2>&1 || fail "the uninstall left the registry key $key"
done
echo "e2e: installed, played, closed mid-search with status 0 and uninstalled without a trace"
