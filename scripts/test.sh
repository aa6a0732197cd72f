#!/usr/bin/env bash
# Builds and runs every test: the release build, then the whole suite again
# under AddressSanitizer + UndefinedBehaviorSanitizer, then the concurrency
# tests under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh --tests
jobs="$(nproc)"

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DKARPA_TESTS=ON -DKARPA_BENCH=ON
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKARPA_SANITIZE=ON -DKARPA_TESTS=ON -DKARPA_BENCH=OFF
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs"

cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKARPA_TSAN=ON -DKARPA_TESTS=ON -DKARPA_BENCH=OFF
cmake --build build-tsan -j"$jobs"
TSAN_OPTIONS=halt_on_error=1 ctest --test-dir build-tsan --output-on-failure -L concurrency -j"$jobs"
bash scripts/fuzz.sh --smoke
