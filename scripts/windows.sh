#!/usr/bin/env bash
# Builds Marlovin for 64-bit Windows on Debian and tests it under Wine. Qt for Windows is built
# once from the source of the host's own Qt into a cache outside the clone, keyed by Qt's and the
# compiler's versions; the game's installer and portable zip are left in build-windows/.
# Needs root (for the packages and the cache), and takes it through sudo otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."
[ "$(id -u)" -eq 0 ] || exec sudo --preserve-env=MARLOVIN_WINDOWS_CACHE "$0" "$@"

top=$PWD
build=$top/build-windows
logs=$build/logs
triple=x86_64-w64-mingw32
toolchain=$top/cmake/mingw-w64-x86_64.cmake

fail() {
    echo "windows.sh: $*" >&2
    exit 1
}

# Runs a step with its output in a log of its own; a failure names the step and the log.
step() {
    local name=$1 what=$2
    shift 2
    echo "windows.sh: $what"
    "$@" >"$logs/$name.log" 2>&1 || fail "$what failed (see $logs/$name.log)"
}

scripts/deps.sh windows
mkdir -p "$logs"

qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
mingw_version=$(dpkg-query -W -f='${Version}' g++-mingw-w64-x86-64-posix)
# Raised whenever the way Qt is configured changes, so that an older build is not reused.
recipe=1
cache=${MARLOVIN_WINDOWS_CACHE:-/var/cache/marlovin-windows}
qt=$cache/qt-$qt_version-mingw-$mingw_version-$recipe
work=$cache/work

# The machine's own package sources, as source packages, in a folder of their own: the system's
# apt stays as it was.
write_source_lists() {
    local parts=$1 file
    mkdir -p "$parts"
    for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$file" ] || continue
        sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$file" >"$parts/$(basename "$file").list"
    done
    for file in /etc/apt/sources.list.d/*.sources; do
        [ -f "$file" ] || continue
        sed 's/^Types:.*/Types: deb-src/' "$file" >"$parts/$(basename "$file")"
    done
}

fetch_qt_source() {
    local apt=(-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$work/sources"
        -o Dir::State::Lists="$work/lists" -o Dir::Cache::pkgcache= -o Dir::Cache::srcpkgcache=)
    write_source_lists "$work/sources"
    mkdir -p "$work/lists/partial" "$work/source"
    apt-get "${apt[@]}" update &&
        (cd "$work/source" && apt-get "${apt[@]}" source "qt6-base=$qt_version") &&
        mv "$work/source"/qt6-base-*/ "$work/qtbase"
}

# Core, Gui, Widgets and Test as DLLs with the bundled third-party libraries, and the platform
# plugins windows and offscreen. Debian's source lacks wintab, hence no tablet events; Qt 6.4's
# Windows plugin needs OpenGL, and its font database needs direct2d, so both keep their defaults.
configure_qt() {
    cmake -S "$work/qtbase" -B "$work/build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
        -DCMAKE_INSTALL_PREFIX="$qt.partial" \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
        -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF \
        -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_tabletevent=OFF -DFEATURE_vulkan=OFF \
        -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_ico=OFF \
        -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_freetype=OFF \
        -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF \
        -DFEATURE_system_doubleconversion=OFF
}

build_qt() {
    exec 9>"$cache/lock"
    flock 9
    [ -f "$qt/.complete" ] && return
    rm -rf "$work" "$qt.partial"
    trap 'rm -rf "$work" "$qt.partial"' EXIT
    local started=$SECONDS
    step qt-source "fetching the source of qt6-base $qt_version" fetch_qt_source
    step qt-configure "configuring Qt $qt_version for Windows" configure_qt
    step qt-build "building Qt for Windows (half an hour or more)" cmake --build "$work/build"
    step qt-install "installing Qt into $qt" cmake --install "$work/build" --strip
    touch "$qt.partial/.complete"
    mv "$qt.partial" "$qt"
    rm -rf "$work"
    trap - EXIT
    echo "windows.sh: Qt for Windows built in $((SECONDS - started)) s"
}

# A Wine prefix of this run's own, in a scratch folder, gone with the run.
start_wine() {
    scratch=$(mktemp -d /tmp/marlovin-windows.XXXXXX)
    export WINEPREFIX=$scratch/prefix WINEARCH=win64 WINEDEBUG=-all
    trap 'wineserver -k 2>/dev/null || true; rm -rf "$scratch"' EXIT
    timeout 300 wineboot --init && timeout 60 wine cmd /c ver &&
        # Wine's null display driver gives the offscreen tests their windows without an X
        # server; the end-to-end test makes a prefix of its own, with a display.
        wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f
}

# Debian's Qt leaves the plugins' CMake targets out unless asked for (from Qt 6.8 on).
configure_game() {
    cmake -S "$top" -B "$build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_PREFIX_PATH="$qt" -DCMAKE_FIND_ROOT_PATH="$qt" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DCMAKE_CROSSCOMPILING_EMULATOR=wine \
        -DQT_SKIP_AUTO_PLUGIN_INCLUSION=OFF \
        -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON -DMARLOVIN_BUILD_BENCH=OFF \
        -DMARLOVIN_WERROR=ON -DMARLOVIN_QT_SOURCE="$qt_version"
}

# The installer and the zip, or neither.
package_game() {
    rm -f "$build"/Marlovin-*-win64.*
    (cd "$build" && cpack) || {
        rm -f "$build"/Marlovin-*-win64.*
        return 1
    }
}

mkdir -p "$cache"
build_qt
step wine "starting Wine in a new prefix" start_wine
step configure "configuring Marlovin for Windows" configure_game
step build "building Marlovin for Windows" cmake --build "$build"
step package "making the installer and the zip" package_game
echo "windows.sh: testing under Wine"
if ! ctest --test-dir "$build" --output-on-failure --timeout 600 -j "$(nproc)"; then
    rm -f "$build"/Marlovin-*-win64.*
    fail "tests under Wine failed; no installer or zip is left"
fi
ls -l "$build"/Marlovin-*-win64.exe "$build"/Marlovin-*-win64.zip
