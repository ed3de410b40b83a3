#!/usr/bin/env bash
# Installs what is missing, builds and runs every test. With --sanitize the build and the run use
# AddressSanitizer and UndefinedBehaviorSanitizer (in build-asan/).
set -euo pipefail
cd "$(dirname "$0")/.."

build=build
flags=(-DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON -DMARLOVIN_BUILD_BENCH=ON)
if [ "${1:-}" = "--sanitize" ]; then
    build=build-asan
    flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON -DMARLOVIN_SANITIZE=ON -DMARLOVIN_BUILD_BENCH=OFF)
fi
# Tests build with warnings as errors; other builds only show them.
flags+=(-DMARLOVIN_WERROR=ON)

scripts/deps.sh test
cmake -S . -B "$build" -G Ninja "${flags[@]}"
cmake --build "$build" --parallel "$(nproc)"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
ctest --test-dir "$build" --output-on-failure --timeout 900 -j "$(nproc)"
