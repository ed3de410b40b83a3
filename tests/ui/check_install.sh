#!/bin/sh
# Installs the build below a scratch folder, or with "package" builds the Debian package and
# unpacks it there; either way the menu entry validates and starts the installed program by its
# full path, the icon it names is there at every size desktops ask for, and so are the manual
# pages in English and German. The package also has its section, Depends, lintian's verdict
# (which covers what the manual pages say) and AppStream metainfo checked.
# Arguments: build folder, scratch folder[, package].
set -eu
fail() { echo "FAIL: $*" >&2; exit 1; }
rm -rf "$2" && mkdir -p "$2"
root=$2/root
if [ "${3:-}" = package ]; then
    (cd "$1" && cpack -G DEB -B "$2" >/dev/null)
    deb=$2/marlovin_1.0.0.1_amd64.deb
    ! dpkg-deb -c "$deb" | awk '{ print $6 }' | grep -v '^\./usr/' || fail "the package installs outside /usr"
    [ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "section is not games"
    # The package that holds Qt's X11 platform plugin, whichever it is on this system.
    xcb=$(dpkg -S '*/qt6/plugins/platforms/libqxcb.so')
    for d in libc6 libqt6widgets6 "${xcb%%:*}" qt6-translations-l10n; do
        dpkg-deb -f "$deb" Depends | grep -qw "$d" || fail "Depends lacks $d: $(dpkg-deb -f "$deb" Depends)"
    done
    # lintian also fails a package without copyright file or changelog.
    out=$(lintian --fail-on error,warning "$deb" 2>&1) || fail "lintian: $out"
    dpkg-deb -x "$deb" "$root"
    # Nothing to mend: no error, warning or info.
    out=$(appstreamcli validate-tree --no-net "$root" 2>&1) && ! echo "$out" | grep -qE '^ *[EWI]:' ||
        fail "appstreamcli: $out"
    # What the validator leaves optional: a release entry for this version.
    grep -qF "<release version=\"$(dpkg-deb -f "$deb" Version)\"" \
        "$root/usr/share/metainfo/org.example.marlovin.metainfo.xml" || fail "no release entry"
else
    # A prefix other than the configured one: the entry must name the one given here.
    DESTDIR=$root cmake --install "$1" --prefix /usr >/dev/null
fi
entry=$root/usr/share/applications/org.example.marlovin.desktop
out=$(desktop-file-validate "$entry" 2>&1) && [ -z "$out" ] || fail "desktop-file-validate: $out"
grep -qxF "Exec=/usr/games/marlovin" "$entry" || fail "the menu entry does not start /usr/games/marlovin"
[ -x "$root/usr/games/marlovin" ] || fail "the program is not installed in /usr/games"
icons=$root/usr/share/icons/hicolor
icon=$(sed -n 's/^Icon=//p' "$entry")
for side in 16 22 24 32 48 64 128 256; do
    size=$(identify -format '%m %wx%h' "$icons/${side}x$side/apps/$icon.png") || size=none
    [ "$size" = "PNG ${side}x$side" ] || fail "no ${side}x$side PNG icon"
done
grep -q '<svg' "$icons/scalable/apps/$icon.svg" || fail "no scalable icon"
man=$root/usr/share/man
[ -f "$man/man6/marlovin.6.gz" ] && [ -f "$man/de/man6/marlovin.6.gz" ] || fail "no English or no German manual page"
rm -rf "$2"
