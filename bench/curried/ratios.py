#!/usr/bin/env python3
"""Export/baseline time ratios from a curried_bench JSON report.

    curried_bench --benchmark_repetitions=3 --benchmark_report_aggregates_only=true \
        --benchmark_out=out.json --benchmark_out_format=json
    ratios.py out.json

Uses the median of the repetitions; prints CPU-time and real-time ratios.
"""
import json
import sys

report = json.load(open(sys.argv[1]))
rows = {b["run_name"]: b for b in report["benchmarks"] if b.get("aggregate_name", "median") == "median"}
for name, row in rows.items():
    if not name.endswith("_export"):
        continue
    base = rows.get(name[: -len("_export")] + "_baseline")
    if base is None:
        continue
    print(f"{name[3:-len('_export')]:20s} cpu {row['cpu_time'] / base['cpu_time']:.2f}"
          f"  real {row['real_time'] / base['real_time']:.2f}")
