#!/usr/bin/env bash
# Installs what the benchmarks need (Google Benchmark and the peer libraries:
# fast_float, fmt, abseil, pdqsort, Highway's vqsort, nettle, libgcrypt, Hinnant date, Crypto++,
# OpenSSL), builds in release mode, runs every benchmark and the Python host
# benchmark, prints the table and writes docs/performance.md and
# docs/performance.svg: every export against its strongest peer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh --tests
python3 bench/run_all.py --configure "$@"
echo "scripts/bench.sh took ${SECONDS} s"
