#!/usr/bin/env bash
# Installs the Debian packages that are missing: with "play" what building and running the game
# need, with "test" also what the tests and benchmarks need, with "chroot" what running the tests
# on another release needs, with "windows" what building Qt and the game for Windows and testing
# them under Wine need. Does nothing when all are present.
set -euo pipefail

play=(
    cmake g++ ninja-build pkg-config
    qt6-base-dev libxcb1-dev libfontconfig-dev librsvg2-bin
    qt6-translations-l10n qt6-wayland
)
test=(
    git clang-format clang-tidy clazy libgtest-dev libgmock-dev libbenchmark-dev qt6-base-private-dev
    mutter xwayland dbus-daemon wmctrl xvfb xauth xdotool imagemagick x11-utils valgrind
    fonts-liberation fonts-dejavu-core
    desktop-file-utils dpkg-dev lintian appstream man-db patchelf
)

windows=(
    cmake ninja-build pkg-config dpkg-dev xz-utils qt6-base-dev qt6-translations-l10n librsvg2-bin
    googletest
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    wine wine64 nsis icoutils zip unzip
    xvfb xauth openbox xdotool imagemagick x11-utils
)

case "${1:-}" in
    play) packages=("${play[@]}") ;;
    test) packages=("${play[@]}" "${test[@]}") ;;
    chroot) packages=(debootstrap git) ;;
    windows) packages=("${windows[@]}") ;;
    *) echo "usage: $0 play|test|chroot|windows" >&2 && exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
