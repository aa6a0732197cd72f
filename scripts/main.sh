#!/usr/bin/env bash
# The main job: build the four libraries and the command-line host, then take the tour.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)"
build/bin/karpa tour
