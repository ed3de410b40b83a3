#!/usr/bin/env bash
# Starts the real program under Xvfb, drives it like a person with xdotool (Ctrl+N, a click on a
# column button, "&Verlassen" from the keyboard) and checks the colours of a screenshot at the
# centres of the 49 circles. Usage: first_moves.sh PATH/TO/marlovin
source "$(dirname "$(realpath "$0")")/common.sh"

start_program
# The client area is the bottom 285 pixels of the window, below the menu bar.
info=$(xwininfo -id "$window")
field() { awk -F: -v k="$1" '$1 ~ k { gsub(/ /, "", $2); print $2 }' <<<"$info"; }
left=$(field "Absolute upper-left X")
top=$(field "Absolute upper-left Y")
width=$(field "Width")
height=$(field "Height")
[ "$width" -eq 201 ] || fail "window width $width, not 201"
client_x=$left
client_y=$((top + height - 285))

# Colours at every circle's centre, in matrix order (index 7 * column + row), as r,g,b.
circle_colours() {
    import -window root "$work/shot.png"
    local format=""
    for i in $(seq 0 48); do
        local x=$((client_x + 16 + 24 * (i / 7) + 12)) y=$((client_y + 160 - 24 * (i % 7) + 12))
        format+="%[fx:round(255*p{$x,$y}.r)],%[fx:round(255*p{$x,$y}.g)],%[fx:round(255*p{$x,$y}.b)] "
    done
    convert "$work/shot.png" -format "$format" info:
}
pixel() {
    convert "$work/shot.png" -format "%[fx:round(255*p{$1,$2}.r)],%[fx:round(255*p{$1,$2}.g)],%[fx:round(255*p{$1,$2}.b)]" info:
}
count() { tr ' ' '\n' <<<"$1" | grep -c "^$2\$" || true; }
# Polls the screenshot until the given shell condition on $colours holds.
wait_for() {
    for _ in $(seq 1 100); do
        colours=$(circle_colours)
        if eval "$1"; then return 0; fi
        sleep 0.1
    done
    fail "timed out waiting for: $2 (colours: $colours)"
}

xdotool key --clearmodifiers ctrl+n
wait_for '[ "$(count "$colours" 255,255,255)" -eq 49 ]' "an empty board after Ctrl+N"
[ "$(pixel $((client_x + 16)) $((client_y + 172)))" = 192,192,192 ] || fail "no silver border"
[ "$(pixel $((client_x + 9)) $((client_y + 9)))" = 0,0,0 ] || fail "the square is not black"

# Red is the person's colour in the first game; yellow, the computer, answers at once.
xdotool mousemove --sync $((client_x + 16 + 24 * 3 + 12)) $((client_y + 200 + 12)) click 1
wait_for '[ "$(count "$colours" 255,255,0)" -eq 1 ]' "the computer's yellow reply"
read -r -a cells <<<"$colours"
[ "${cells[21]}" = 255,0,0 ] || fail "matrix(21) is ${cells[21]}, not red"
[ "$(count "$colours" 255,0,0)" -eq 1 ] || fail "not exactly one red disc: $colours"
[ "$(count "$colours" 255,255,255)" -eq 47 ] || fail "not 47 empty cells: $colours"

# "&Verlassen" through the menu's access keys ends the program with status 0.
xdotool key --clearmodifiers alt+s
sleep 0.3
xdotool key v
expect_clean_exit
echo "PASS: Ctrl+N, a red disc in column 3, the computer's yellow reply, clean exit"
