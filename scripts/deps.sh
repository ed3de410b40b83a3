#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; does nothing when all are present.
set -euo pipefail

packages=(
    cmake g++ ninja-build pkg-config clang-format git
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev libxcb1-dev qt6-translations-l10n qt6-wayland weston librsvg2-bin libfontconfig-dev
    fonts-liberation fonts-urw-base35 fonts-dejavu-core
    xvfb xauth xdotool imagemagick x11-utils
    desktop-file-utils valgrind python3
    dpkg-dev lintian appstream man-db
)

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
