#!/usr/bin/env bash
# The game beside a bare Qt Widgets window (bare_window.cpp), started in turn on one X server at
# 1x: for each, the median time from the start until its window is mapped, and the median
# resident memory 2 s after that, with the number of shared libraries it has loaded then.
#
#   bench/footprint.sh [BUILD_DIR [RUNS]]      defaults: build, 5 runs each
#
# Runs under its own xvfb-run when DISPLAY is not set.
set -euo pipefail
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
build=${1:-build}
runs=${2:-5}
unset QT_QPA_PLATFORM WAYLAND_DISPLAY QT_SCALE_FACTOR

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# One start of $1 whose window is titled $2: "milliseconds kilobytes libraries", or nothing when
# the X server refused the program (it then ends before its window shows).
measure() {
    local start pid shown rss libs
    start=$(date +%s%N)
    "$1" 2>/dev/null &
    pid=$!
    until xdotool search --onlyvisible --name "^$2\$" >/dev/null 2>&1; do
        kill -0 $pid 2>/dev/null || return 0
        sleep 0.005
    done
    shown=$(date +%s%N)
    sleep 2
    rss=$(awk '/^VmRSS:/ { print $2 }' /proc/$pid/status)
    libs=$(awk '$6 ~ /\.so/ { print $6 }' /proc/$pid/maps | sort -u | wc -l)
    kill $pid
    wait $pid 2>/dev/null || true
    echo "$(((shown - start) / 1000000)) $rss $libs"
}

declare -A binary=([bare]=$build/bench/marlovin_bare_window [marlovin]=$build/app/marlovin)
declare -A title=([bare]=Bare [marlovin]=Marlovin)
declare -A results=([bare]="" [marlovin]="")
# In turns, so that both see the same load on the machine.
for _ in $(seq "$runs"); do
    for program in bare marlovin; do
        result=""
        while [ -z "$result" ]; do
            result=$(measure "${binary[$program]}" "${title[$program]}")
        done
        results[$program]+="$result"$'\n'
    done
done

printf '%-10s %12s %10s %10s\n' program "start (ms)" "RSS (MB)" libraries
for program in bare marlovin; do
    column() { printf '%s' "${results[$program]}" | cut -d' ' -f"$1" | median; }
    printf '%-10s %12s %10s %10s\n' $program "$(column 1)" \
        "$(column 2 | awk '{ printf "%.1f", $1 / 1024 }')" "$(column 3)"
done
