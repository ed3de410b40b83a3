#!/usr/bin/env bash
# The installer as a player meets it, in a Wine prefix of its own under Xvfb with openbox. The
# silent install lists the game among the installed apps and puts a Start-menu entry and the
# program, with its version resource field by field and its icon at 16, 24, 32, 48 and 256, the
# 32 being the window's bitmap. Two people play the installed game, red by mouse and yellow by
# keys, each disc read back from a screenshot. The About window opens and closes. taskkill while
# the computer plays ends the game with status 0. The silent uninstall leaves nothing of the game.
# Every wait is bounded.
# Usage: e2e.sh INSTALLER ICON-PNG
set -uo pipefail
fail() { echo "FAIL: $*" >&2; exit 1; }
if [ -z "${MARLOVIN_IN_XVFB:-}" ]; then
    MARLOVIN_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
scratch=$(mktemp -d)
# Without Wine's menu builder, which would copy the Start menu into the host's desktop menus, and
# its debugger, which would hold a crashed game open.
export WINEPREFIX=$scratch/prefix WINEDEBUG=-all WINEDLLOVERRIDES='winemenubuilder.exe,winedbg.exe=d'
trap 'kill %1; wineserver -k; rm -rf "$scratch"' EXIT
openbox &
# Waits up to 60 s for the command $1 to succeed.
await() { for _ in $(seq 600); do eval "$1" && return; sleep 0.1; done; false; }
timeout 300 wineboot --init || fail "Wine did not start"

timeout 120 wine "$1" /S || fail "the silent install failed"
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Marlovin'
listed=$(wine reg query "$uninstall" | tr -d '\r' | sed -nE 's/^\s+(\S+)\s+REG_\S+\s+(.*)$/\1=\2/p')
for value in DisplayName=Marlovin Publisher=Dunfeld DisplayVersion=1.0.0.1; do
    grep -qxF "$value" <<<"$listed" || fail "the installed app has no $value: $listed"
done
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Marlovin"
[ -f "$menu/Marlovin.lnk" ] || fail "no Start-menu entry Marlovin: $(ls "$menu")"

folder="$WINEPREFIX/drive_c/Program Files/Marlovin"
program=$folder/Marlovin.exe
# As windres writes the resource back as source, which leaves out the fields that are 0.
expected='FILEVERSION 1, 0, 0, 1
PRODUCTVERSION 1, 0, 0, 1
FILEOS 0x4
FILETYPE 0x1
BLOCK "040704B0"
VALUE "CompanyName", "Dunfeld"
VALUE "ProductName", "Marlovin"
VALUE "FileVersion", "1.00.0001"
VALUE "ProductVersion", "1.00.0001"
VALUE "InternalName", "Marlovin"
VALUE "OriginalFilename", "Marlovin.exe"
VALUE "Translation", 0x407, 1200'
resource=$(x86_64-w64-mingw32-windres -i "$program" -O rc | sed -n '/VERSIONINFO/,/^END/p')
got=$(sed 's/^\s*//' <<<"$resource" | grep -E '^(FILE|PRODUCT|VALUE|BLOCK "0)')
[ "$got" = "$expected" ] || fail "the version resource differs:"$'\n'"$(diff <(echo "$expected") <(echo "$got"))"
wrestool -x -t 14 -o "$scratch/icon.ico" "$program" || fail "no icon in the program"
sizes=$(icotool -l "$scratch/icon.ico" | sed -n 's/.*--width=\([0-9]*\).*/\1/p' | sort -n | xargs)
[ "$sizes" = "16 24 32 48 256" ] || fail "the icon's sizes are $sizes"
icotool -x -w 32 -o "$scratch/icon-32.png" "$scratch/icon.ico"
differ=$(compare -metric AE "$scratch/icon-32.png" "$2" null: 2>&1)
[ "$differ" = 0 ] || fail "the icon's 32 differs from $2 in $differ pixels"

# A start that ends without a window is tried once more.
for _ in 1 2; do
    wine "C:\\Program Files\\Marlovin\\Marlovin.exe" &
    game=$!
    await 'window=$(xdotool search --onlyvisible --name "^Marlovin$") || ! kill -0 $game' ||
        fail "no window titled Marlovin within 60 s"
    [ -n "$window" ] && break
done
[ -n "$window" ] || fail "no window titled Marlovin"
# The top of the client area, below the menu bar.
top=$(($(xwininfo -id "$window" | sed -n 's/^\s*Height: //p') - 285))
# The circles from the bottom row up, left to right: r, y or . for red, yellow and white.
board() {
    import -window "$window" "$scratch/shot.png"
    points=""
    for row in {0..6}; do
        for column in {0..6}; do
            points+="%[hex:p{$((28 + 24 * column)),$((top + 172 - 24 * row))}] "
        done
    done
    convert "$scratch/shot.png" -format "$points" info: | sed 's/FF0000/r/g; s/FFFF00/y/g; s/FFFFFF/./g; s/ //g'
}
xdotool windowactivate --sync "$window" key alt+o c g ctrl+n
expected=$(printf '.%.0s' {1..49})
await '[ "$(board)" = "$expected" ]' || fail "a new game's board is $(board)"
player=r
for column in 0 0 1 1 2 2; do
    if [ $player = r ]; then
        xdotool mousemove --window "$window" $((28 + 24 * column)) $((top + 212)) click 1
    else
        xdotool key "$column"
    fi
    for row in {0..6}; do
        [ "${expected:7*row+column:1}" = . ] && break
    done
    expected=${expected:0:7*row+column}$player${expected:7*row+column+1}
    await '[ "$(board)" = "$expected" ]' || fail "after a disc in column $column: $(board), not $expected"
    player=$([ $player = r ] && echo y || echo r)
done
xdotool windowactivate --sync "$window" key alt+i
await 'xdotool search --onlyvisible --name "^Info$" >/dev/null' || fail "Alt+I opened no About window"
xdotool key Escape
await '! xdotool search --onlyvisible --name "^Info$"' || fail "Esc did not close the About window"

# The computer plays both colours at its highest level, and the game is closed while it plays.
xdotool windowactivate --sync "$window" key alt+o c r alt+o c g alt+o s 4 ctrl+n
await '[ "$(board | tr -d .)" != "" ]' || fail "the computer did not play"
timeout 60 wine taskkill /im Marlovin.exe
timeout 60 tail --pid=$game -f /dev/null || fail "the game did not end after taskkill"
wait $game || fail "status $? after taskkill"

timeout 60 wine "$folder/Deinstallieren.exe" /S || fail "the silent uninstall failed"
await '[ ! -e "$folder" ]' || fail "the program folder is still there"
timeout 60 wineserver -w
left=$(find "$WINEPREFIX/drive_c" -iname '*marlovin*'; grep -il -e marlovin -e dunfeld "$WINEPREFIX"/*.reg)
[ -z "$left" ] || fail "the uninstall left $left"
