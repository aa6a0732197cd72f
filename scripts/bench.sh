#!/usr/bin/env bash
# Builds in release mode, runs every benchmark and the Python host benchmark,
# prints the table and writes docs/performance.md and docs/performance.svg.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh --tests
python3 bench/run_all.py --configure "$@"
