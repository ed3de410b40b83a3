#!/bin/sh
# Builds the Debian package and checks its files, Depends and lintian's verdict, then the
# AppStream metainfo against the menu entry and both manual pages as installed from it.
# Arguments: build folder, scratch folder.
set -eu
fail() { echo "FAIL: $*" >&2; exit 1; }
rm -rf "$2" && mkdir -p "$2"
(cd "$1" && cpack -G DEB -B "$2" >/dev/null)
deb=$2/marlovin_1.0.0.1_amd64.deb
dpkg-deb -c "$deb" | awk '{ print $6 }' >"$2/files"
for f in games/marlovin share/applications/org.example.marlovin.desktop \
    share/metainfo/org.example.marlovin.metainfo.xml share/man/man6/marlovin.6.gz \
    share/man/de/man6/marlovin.6.gz share/icons/hicolor/32x32/apps/marlovin.png \
    share/icons/hicolor/scalable/apps/marlovin.svg share/doc/marlovin/copyright \
    share/doc/marlovin/changelog.gz share/lintian/overrides/marlovin; do
    grep -qx "./usr/$f" "$2/files" || fail "the package lacks /usr/$f"
done
! grep -v '^\./usr/' "$2/files" || fail "the package installs outside /usr"
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "section is not games"
depends=$(dpkg-deb -f "$deb" Depends)
# The package that holds Qt's X11 platform plugin, whichever it is on this system.
xcb=$(dpkg -S '*/qt6/plugins/platforms/libqxcb.so')
for d in libc6 libqt6widgets6 "${xcb%%:*}" qt6-translations-l10n; do
    echo "$depends" | grep -qw "$d" || fail "Depends lacks $d: $depends"
done
out=$(lintian --fail-on error,warning "$deb" 2>&1) || fail "lintian: $out"
dpkg-deb -x "$deb" "$2/root"
grep -qx "Exec=/usr/games/marlovin" "$2/root/usr/share/applications/org.example.marlovin.desktop" ||
    fail "the menu entry does not start /usr/games/marlovin"
out=$(appstreamcli validate-tree --no-net "$2/root" 2>&1) || fail "appstreamcli: $out"
# What the validator leaves optional: the age rating and this version's release entry.
for tag in '<content_rating type="oars-1.1"' "<release version=\"$(dpkg-deb -f "$deb" Version)\""; do
    grep -qF "$tag" "$2/root/usr/share/metainfo/org.example.marlovin.metainfo.xml" || fail "no $tag"
done
for page in man6/marlovin.6.gz de/man6/marlovin.6.gz; do
    out=$(LC_ALL=C.UTF-8 man --warnings=w -l "$2/root/usr/share/man/$page" 2>&1 >/dev/null) &&
        [ -z "$out" ] || fail "man $page: $out"
done
rm -rf "$2"
