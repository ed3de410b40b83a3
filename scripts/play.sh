#!/usr/bin/env bash
# Installs what is missing, builds and starts the game.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh play
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DMARLOVIN_BUILD_BENCH=OFF
cmake --build build --parallel "$(nproc)" --target marlovin
exec build/app/marlovin
