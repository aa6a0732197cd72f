#!/usr/bin/env bash
# The main job: build the four libraries and the command-line host (no tests,
# no benchmarks), then take the tour.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DKARPA_TESTS=OFF -DKARPA_BENCH=OFF
cmake --build build -j"$(nproc)" --target karpa karpa_seq karpa_curried karpa_datetime karpa_crypto
build/bin/karpa tour
