#!/usr/bin/env python3
"""Throughput ratios (karpa / OpenSSL) from crypto_bench's JSON output, by median.

    crypto_bench --benchmark_repetitions=3 --benchmark_format=json | python3 ratios.py
"""
import json
import sys

medians = {}
for b in json.load(sys.stdin)["benchmarks"]:
    if b.get("aggregate_name") == "median":
        medians[b["run_name"]] = b["bytes_per_second"]

pairs = [(name, name.replace("karpa", "openssl", 1)) for name in medians if name.startswith("karpa")]
pairs += [(name, name.replace("portableDigest", "opensslDigest", 1)) for name in medians
          if name.startswith("portable")]
# The portable rows compare fairly only when OpenSSL is kept off the SHA
# extensions as well (OPENSSL_ia32cap=":~0x20000000").
for ours, anchor in pairs:
    if anchor in medians:
        print(f"{ours:34s} {medians[ours] / 2**20:10.1f} MiB/s  vs {anchor:32s} {medians[anchor] / 2**20:10.1f} MiB/s"
              f"  ratio {medians[ours] / medians[anchor]:.3f}")
