#!/bin/sh
# Installs the build into a scratch prefix: the menu entry validates and names the installed
# program by its full path, and both icons are there. Arguments: build folder, scratch prefix.
set -eu
fail() { echo "FAIL: $*" >&2; exit 1; }
rm -rf "$2"
cmake --install "$1" --prefix "$2" >/dev/null
entry=$2/share/applications/org.example.marlovin.desktop
out=$(desktop-file-validate "$entry" 2>&1) && [ -z "$out" ] || fail "desktop-file-validate: $out"
for line in Name=Marlovin Icon=marlovin "Categories=Game;BoardGame;" "Exec=$2/games/marlovin"; do
    grep -qxF "$line" "$entry" || fail "$entry lacks the line $line"
done
[ -x "$2/games/marlovin" ] && [ "$(head -c 4 "$2/games/marlovin" | tail -c 3)" = ELF ] ||
    fail "the program is not installed"
icons=$2/share/icons/hicolor
[ "$(identify -format '%m %wx%h' "$icons/32x32/apps/marlovin.png")" = "PNG 32x32" ] || fail "no 32x32 PNG"
grep -q '<svg' "$icons/scalable/apps/marlovin.svg" || fail "no scalable icon"
rm -rf "$2"
