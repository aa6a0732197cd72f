#!/usr/bin/env python3
"""Runs every benchmark and writes one table of Karpa against its strongest peers.

Each C++ benchmark binary times Karpa's exports, called through the loaded
library, next to the same job done end to end on the same input in the same
process: by the strongest peer libraries found at build time (fast_float, simdjson, fmt,
abseil's flat_hash_set, pdqsort, Highway's vqsort, nettle, libgcrypt, Crypto++, OpenSSL,
std::chrono and Howard Hinnant's date, the benchmarks' own eight-digits-at-a-
time integer reader) and by the standard library. Every peer pipeline is
checked once against Karpa's output before it is timed; a peer that disagrees
is stopped and its row says so. The binaries run with repetitions in random
interleaved order (--benchmark_enable_random_interleaving), and only the
medians of CPU time are kept, since the machines are shared.

    ratio = peer CPU time / Karpa CPU time        (below 1: Karpa is slower)

For every row the strongest peer is the fastest of the peer pipelines measured
(the standard-library pipeline included); the table names it. Rows also show
how close Karpa gets to a physical limit measured in the same run: memory
bandwidth (strlen over 64 MiB) for the text paths, the serial round chain of
MD5 and the SHA-NI rate of SHA-1/SHA-256 (cycles per byte at the core clock
measured by a chain of dependent additions), and for the per-call rows an
empty call into a dlopen'd library.

The Python host benchmark (bench/python/host_bench.py) times the karpa package
against the plain Python a user would write instead.

    bash scripts/bench.sh                                   # setup, build, run, write docs/
    python3 bench/run_all.py --configure                    # build and run only
"""

import argparse
import datetime
import glob
import json
import math
import os
import platform
import statistics
import subprocess
import sys
import time

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir))

SWAR = "SWAR int reader"  # the benchmarks' own eight-digits-at-a-time reader (bench/peers.hpp)


def row(section, karpa, label, std=None, peers=(), limit=None):
    """One table row: Karpa's benchmark, the std pipeline (benchmark, what it does), the peer pipelines."""
    return {"section": section, "karpa": karpa, "label": label, "std": std, "peers": list(peers), "limit": limit}


LISTS = "Whole lists, 1M items"
DIGESTS = "Digests and HMAC"
CALLS = "One small call"
KERNELS = "Printer kernels, 1M values into one buffer"

# Limits: ("memory",) text throughput against strlen bandwidth; ("cpb", c) a
# digest against c cycles per byte at the measured clock; ("call",) an empty
# dlopen'd call as the floor of a call.
MEMORY = ("memory",)
CALL = ("call",)

ROWS = [
    # bench/seq
    row(LISTS, "BM_SortInt_Karpa", "seq_sort_int", ("BM_SortInt_Std", "from_chars, std::stable_sort, to_chars"),
        [("BM_SortInt_PeerPdq", f"{SWAR}, pdqsort_branchless, to_chars"),
         ("BM_SortInt_PeerVqsort", f"{SWAR}, Highway vqsort, to_chars")], MEMORY),
    row(LISTS, "BM_SortWideInt_Karpa", "seq_sort_int, random 44-bit integers",
        ("BM_SortWideInt_Std", "from_chars, std::stable_sort, to_chars"),
        [("BM_SortWideInt_PeerVqsort", f"{SWAR}, Highway vqsort, to_chars")], MEMORY),
    row(LISTS, "BM_SumInt_Karpa", "seq_reduce_sum_int", ("BM_SumInt_Std", "from_chars, checked sum, to_chars"),
        [("BM_SumInt_PeerSwar", f"{SWAR}, checked sum, to_chars")], MEMORY),
    row(LISTS, "BM_UniqueInt_Karpa", "seq_unique_int",
        ("BM_UniqueInt_Std", "from_chars, std::unordered_set, to_chars"),
        [("BM_UniqueInt_PeerAbsl", f"{SWAR}, absl::flat_hash_set, to_chars")], MEMORY),
    row(LISTS, "BM_ReverseInt_Karpa", "seq_reverse_int", ("BM_ReverseInt_Std", "from_chars, std::reverse, to_chars"),
        [("BM_ReverseInt_PeerSwar", f"{SWAR}, std::reverse, to_chars"),
         ("BM_ReverseInt_PeerSwarFmt", f"{SWAR}, std::reverse, fmt::format_int")], MEMORY),
    row(LISTS, "BM_ReverseFloat_Karpa", "seq_reverse_float, %g-form list",
        ("BM_ReverseFloat_Std", "from_chars, std::reverse, to_chars %g"),
        [("BM_ReverseFloat_PeerFastFloatFmt", "fast_float, std::reverse, fmt {:g}"),
         ("BM_ReverseFloat_PeerFastFloatToChars", "fast_float, std::reverse, to_chars %g")], MEMORY),
    row(LISTS, "BM_SortFloat_Karpa", "seq_sort_float, %g-form list",
        ("BM_SortFloat_Std", "from_chars, std::stable_sort, to_chars %g"),
        [("BM_SortFloat_PeerFastFloatFmt", "fast_float, std::stable_sort, fmt {:g}"),
         ("BM_SortFloat_PeerFastFloatToChars", "fast_float, std::stable_sort, to_chars %g")], MEMORY),
    row(LISTS, "BM_SortString_Karpa", "seq_sort_string", ("BM_SortString_Std", "split, std::stable_sort, join"),
        [("BM_SortString_PeerPdq", "split, pdqsort, join")],
        MEMORY),
    row(LISTS, "BM_UniqueString_Karpa", "seq_unique_string", ("BM_UniqueString_Std", "split, std::unordered_set, join"),
        [("BM_UniqueString_PeerAbsl", "split, absl::flat_hash_set, join")], MEMORY),
    # bench/float
    row(LISTS, "BM_SumFloatList/0", "seq_reduce_sum_float, 3 decimals", ("BM_FromCharsLoop/0", "std::from_chars loop"),
        [("BM_SumFloatPeer_FastFloat/0", "fast_float, sum, fmt"),
         ("BM_SumFloatPeer_ShortPath/0", "SWAR digits + Clinger fast path, sum, fmt"),
         ("BM_SumFloatPeer_Simdjson/0", "simdjson (as a JSON array), sum, fmt")], MEMORY),
    row(LISTS, "BM_SumFloatList/1", "seq_reduce_sum_float, 17 digits", ("BM_FromCharsLoop/1", "std::from_chars loop"),
        [("BM_SumFloatPeer_FastFloat/1", "fast_float, sum, fmt"),
         ("BM_SumFloatPeer_Simdjson/1", "simdjson (as a JSON array), sum, fmt")], MEMORY),
    # bench/curried
    row(LISTS, "BM_sum_float_short_export", "cur_sum_float, 4 decimals",
        ("BM_sum_float_short_baseline", "from_chars, sum, to_chars"),
        [("BM_sum_float_short_peer_fastfloat", "fast_float, sum, fmt"),
         ("BM_sum_float_short_peer_shortpath", "SWAR digits + Clinger fast path, sum, fmt"),
         ("BM_sum_float_short_peer_simdjson", "simdjson (as a JSON array), sum, fmt")], MEMORY),
    row(LISTS, "BM_sum_float_full_export", "cur_sum_float, 17 digits",
        ("BM_sum_float_full_baseline", "from_chars, sum, to_chars"),
        [("BM_sum_float_full_peer_fastfloat", "fast_float, sum, fmt"),
         ("BM_sum_float_full_peer_simdjson", "simdjson (as a JSON array), sum, fmt")], MEMORY),
    row(LISTS, "BM_variance_float_export", "cur_variance_float",
        ("BM_variance_float_baseline", "from_chars, two passes, to_chars"),
        [("BM_variance_float_peer_fastfloat", "fast_float, two passes, fmt"),
         ("BM_variance_float_peer_shortpath", "SWAR digits + Clinger fast path, two passes, fmt")], MEMORY),
    row(LISTS, "BM_median_int_export", "cur_median_int", ("BM_median_int_baseline", "from_chars, std::stable_sort"),
        [("BM_median_int_peer_nth", f"{SWAR}, std::nth_element")], MEMORY),
    row(LISTS, "BM_dot_int_export", "cur_dot_int", ("BM_dot_int_baseline", "from_chars, checked dot product"),
        [("BM_dot_int_peer_swar", f"{SWAR}, checked dot product")], MEMORY),
    row(LISTS, "BM_distinct_string_export", "cur_distinct_string",
        ("BM_distinct_string_baseline", "split, std::unordered_set, join"),
        [("BM_distinct_string_peer_absl", "split, absl::flat_hash_set, join")], MEMORY),
    row(LISTS, "BM_union_string_export", "cur_union_string",
        ("BM_union_string_baseline", "split, std::unordered_set, join"),
        [("BM_union_string_peer_absl", "split, absl::flat_hash_set, join")], MEMORY),
    row(LISTS, "BM_intersect_string_export", "cur_intersect_string",
        ("BM_intersect_string_baseline", "split, std::unordered_set, join"),
        [("BM_intersect_string_peer_absl", "split, absl::flat_hash_set, join")], MEMORY),
    # bench/datetime
    row(LISTS, "BM_RangeDays_Karpa", "dt_range_days",
        ("BM_RangeDays_Chrono", "std::chrono year_month_day, to_chars"),
        [("BM_RangeDays_Peer<ChronoCivil>", "std::chrono year_month_day, digit-pair table"),
         ("BM_RangeDays_Peer<DateCivil>", "Hinnant date year_month_day, digit-pair table")]),
    row(LISTS, "BM_TsToYmdhms_Karpa", "dt_ts_to_ymdhms, a call per item (peer in process)",
        ("BM_TsToYmdhms_Chrono", "std::chrono year_month_day + hh_mm_ss, to_chars"),
        [("BM_TsToYmdhms_Peer<ChronoCivil>", "std::chrono year_month_day, digit-pair table"),
         ("BM_TsToYmdhms_Peer<DateCivil>", "Hinnant date year_month_day, digit-pair table")]),
]

CRYPTO_PEERS = [("openssl", "OpenSSL EVP"), ("nettle", "nettle"), ("gcrypt", "libgcrypt"), ("cryptopp", "Crypto++")]
# Serial limits at the measured clock: MD5's round chain, SHA-1 and SHA-256 with the SHA extensions.
CYCLES_PER_BYTE = {"md5": 4.5, "sha1": 1.9, "sha256": 2.0}
for algorithm, export in (("md5", "md5_hash"), ("sha1", "sha1_hash"), ("sha256", "sha256_hash")):
    for size, size_label in ((64, "64 B"), (1048576, "1 MiB")):
        ROWS.append(row(DIGESTS, f"karpaDigest/{algorithm}/{size}", f"{export}, {size_label}", None,
                        [(f"{p}Digest/{algorithm}/{size}", name) for p, name in CRYPTO_PEERS],
                        ("cpb", CYCLES_PER_BYTE[algorithm]) if size > 64 else None))
for algorithm in ("md5", "sha256"):
    ROWS.append(row(DIGESTS, f"karpaHmac/{algorithm}/64", f"hmac_{algorithm}, 64 B", None,
                    [(f"{p}Hmac/{algorithm}/64", name) for p, name in CRYPTO_PEERS]))

DLOPEN = "dlopen'd C++ function"
ROWS += [
    row(CALLS, "BM_Call_SeqSumInt_Karpa", 'seq_reduce_sum_int("1")', None,
        [("BM_Call_SumInt_Peer", f"{DLOPEN}: {SWAR}, checked sum, to_chars")], CALL),
    row(CALLS, "BM_Call_CurSumInt_Karpa", 'cur_sum_int("1")', None,
        [("BM_Call_SumInt_Peer", f"{DLOPEN}: {SWAR}, checked sum, to_chars")], CALL),
    row(CALLS, "BM_Call_IsLeapYear_Karpa", "dt_is_leap_year", None,
        [("BM_Call_IsLeapYear_Peer", f"{DLOPEN}: the Gregorian rule")], CALL),
    row(CALLS, "BM_Call_TsToYmdhms_Karpa", "dt_ts_to_ymdhms", None,
        [("BM_Call_TsToYmdhms_Peer", f"{DLOPEN}: std::chrono, digit-pair table")], CALL),
    row(CALLS, "BM_Call_Md5_Karpa", 'md5_hash("abc", 3)', None,
        [("BM_Call_Md5_Peer", f"{DLOPEN}: nettle MD5, hex")], CALL),
    row(CALLS, "BM_OneFloat_Karpa/seq_reduce_max_float_short", "seq_reduce_max_float, one short decimal (peer in process)",
        None, [("BM_OneFloat_Fmt/seq_reduce_max_float_short", "in process: fast_float, max, fmt"),
               ("BM_OneFloat_ToChars/seq_reduce_max_float_short", "in process: fast_float, max, to_chars")], CALL),
    row(CALLS, "BM_OneFloat_Karpa/seq_reduce_max_float_17", "seq_reduce_max_float, one 17-digit value (peer in process)", None,
        [("BM_OneFloat_Fmt/seq_reduce_max_float_17", "in process: fast_float, max, fmt"),
         ("BM_OneFloat_ToChars/seq_reduce_max_float_17", "in process: fast_float, max, to_chars")], CALL),
    row(CALLS, "BM_OneFloat_Karpa/seq_reduce_min_float_17", "seq_reduce_min_float, one 17-digit value (peer in process)", None,
        [("BM_OneFloat_Fmt/seq_reduce_min_float_17", "in process: fast_float, min, fmt"),
         ("BM_OneFloat_ToChars/seq_reduce_min_float_17", "in process: fast_float, min, to_chars")], CALL),
    row(CALLS, "BM_OneFloat_Karpa/cur_min_float_17", "cur_min_float, one 17-digit value (peer in process)", None,
        [("BM_OneFloat_Fmt/cur_min_float_17", "in process: fast_float, min, fmt"),
         ("BM_OneFloat_ToChars/cur_min_float_17", "in process: fast_float, min, to_chars")], CALL),
    row(CALLS, "BM_OneFloat_Karpa/cur_max_float_17", "cur_max_float, one 17-digit value (peer in process)", None,
        [("BM_OneFloat_Fmt/cur_max_float_17", "in process: fast_float, max, fmt"),
         ("BM_OneFloat_ToChars/cur_max_float_17", "in process: fast_float, max, to_chars")], CALL),
    row(CALLS, "BM_OneFloat_Karpa/cur_minmax_float_17", "cur_minmax_float, one 17-digit value (peer in process)", None,
        [("BM_OneFloat_Fmt/cur_minmax_float_17", "in process: fast_float, min and max, fmt"),
         ("BM_OneFloat_ToChars/cur_minmax_float_17", "in process: fast_float, min and max, to_chars")], CALL),
    # bench/float: the printers alone (the same code on every tier)
    row(KERNELS, "BM_PrintShortest/0", "writeFloatRoundtrip, short decimals", ("BM_PrintShortestToChars/0", "std::to_chars"),
        [("BM_PrintShortestFmt/0", "fmt {}")]),
    row(KERNELS, "BM_PrintShortest/1", "writeFloatRoundtrip, 17-digit values", ("BM_PrintShortestToChars/1", "std::to_chars"),
        [("BM_PrintShortestFmt/1", "fmt {}")]),
    row(KERNELS, "BM_PrintGeneral/0", "writeFloatGeneral, %g of short decimals", None, [("BM_PrintGeneralFmt/0", "fmt {:g}")]),
    row(KERNELS, "BM_PrintGeneral/1", "writeFloatGeneral, %g of 17-digit values", None, [("BM_PrintGeneralFmt/1", "fmt {:g}")]),
    row(KERNELS, "BM_PrintInt/0", "writeInt, up to six digits", ("BM_PrintIntToChars/0", "std::to_chars"),
        [("BM_PrintIntFmt/0", "fmt::format_int")]),
    row(KERNELS, "BM_PrintInt/1", "writeInt, any width", ("BM_PrintIntToChars/1", "std::to_chars"),
        [("BM_PrintIntFmt/1", "fmt::format_int")]),
]

# The list readers' rows name the processor tier they ran on (the best the
# machine has); these also get a row on the baseline tier (SSE2), run with
# --karpa_tier=baseline (bench/tier.hpp) beside the same peers.
READING_BINARIES = ("seq_bench", "float_bench", "curried_bench")
BASELINE_TIER_ROWS = ("BM_SumInt_Karpa", "BM_SumFloatList/0", "BM_SumFloatList/1", "BM_sum_float_short_export",
                      "BM_sum_float_full_export", "BM_dot_int_export")

# The measurements the limits come from.
BANDWIDTH = "BM_Bandwidth_Strlen"
MEMCPY = "BM_Bandwidth_Memcpy"
CLOCK = "BM_ClockChain"
CALL_FLOOR = "BM_Call_Empty_Peer"

# Order of the binaries: the libraries as the README lists them, the calls last.
BINARY_ORDER = ["seq_bench", "float_bench", "curried_bench", "datetime_bench", "crypto_bench", "calls_bench"]

TIME_UNITS = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}


def log(message):
    print(message, file=sys.stderr, flush=True)


# ---- running --------------------------------------------------------------------


def run_binary(path, repetitions, min_time, json_dir, extra=(), suffix=""):
    name = os.path.basename(path)
    out = os.path.join(json_dir, name + suffix + ".json")
    command = [path, f"--benchmark_repetitions={repetitions}", "--benchmark_enable_random_interleaving=true",
               "--benchmark_report_aggregates_only=true", f"--benchmark_out={out}", "--benchmark_out_format=json",
               *extra]
    if min_time:
        command.append(f"--benchmark_min_time={min_time}")
    log(f"== {name}{suffix}")
    started = time.monotonic()
    result = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    # Google Benchmark writes its context (CPU, caches, load) to standard error; pass on the rest.
    for line in result.stderr.splitlines():
        if "differs" in line or "rror" in line:
            log("   " + line)
    if result.returncode != 0:
        raise SystemExit(f"{name} failed with status {result.returncode}")
    with open(out) as f:
        report = json.load(f)
    log(f"   {time.monotonic() - started:.1f} s")
    return name, report


def collect(results):
    """run_name -> median record (cpu_s, rates, binary); run_name -> error message."""
    found, errors = {}, {}
    for binary, report in results:
        records = report.get("benchmarks", [])
        with_median = {b["run_name"] for b in records if b.get("aggregate_name") == "median"}
        for b in records:
            if b.get("error_occurred"):
                errors[b["run_name"]] = b.get("error_message", "error")
                continue
            # With a single repetition there are no aggregates; the one run stands for its median.
            if b.get("aggregate_name") != "median" and not (
                    b.get("run_type") == "iteration" and b["run_name"] not in with_median):
                continue
            record = dict(b)
            record["cpu_s"] = b["cpu_time"] * TIME_UNITS[b.get("time_unit", "ns")]
            record["binary"] = binary
            found[b["run_name"]] = record
    return found, errors


def cpp_rows(found, errors, specs=ROWS):
    rows, notes = [], []
    bandwidth = found.get(BANDWIDTH, {}).get("bytes_per_second")
    clock_hz = found.get(CLOCK, {}).get("items_per_second")
    floor_s = found.get(CALL_FLOOR, {}).get("cpu_s")
    for spec in specs:
        ours = found.get(spec["karpa"])
        if ours is None:
            notes.append(f"{spec['label']}: Karpa's benchmark {spec['karpa']} was not measured"
                         + (f" ({errors[spec['karpa']]})" if spec["karpa"] in errors else ""))
            continue
        candidates = []
        for bench, what in spec["peers"]:
            if bench in found:
                candidates.append((found[bench]["cpu_s"], bench, what))
            elif bench in errors:
                notes.append(f"{spec['label']}: peer `{what}` skipped: {errors[bench]}")
            else:
                notes.append(f"{spec['label']}: peer `{what}` not built (its library was not found)")
        std = None
        if spec["std"] and spec["std"][0] in found:
            std = (found[spec["std"][0]]["cpu_s"], spec["std"][0], spec["std"][1])
        # The strongest peer: the fastest pipeline measured, the standard library's included.
        best = min(candidates + ([std] if std else []), default=None)
        r = {"section": spec["section"], "label": spec["label"], "karpa_benchmark": spec["karpa"],
             "binary": ours["binary"], "karpa_cpu_s": ours["cpu_s"]}
        if spec["limit"] == CALL:
            r["unit"] = "ns/call"
            r["karpa_rate"] = ours["cpu_s"] * 1e9
        elif ours.get("bytes_per_second"):
            r["unit"] = "MB/s"
            r["karpa_rate"] = ours["bytes_per_second"] / 1e6
        elif ours.get("items_per_second"):
            r["unit"] = "M items/s"
            r["karpa_rate"] = ours["items_per_second"] / 1e6
        else:
            r["unit"], r["karpa_rate"] = None, None

        def rate_of(cpu_s):
            if r["unit"] == "ns/call":
                return cpu_s * 1e9
            return r["karpa_rate"] * ours["cpu_s"] / cpu_s if r["karpa_rate"] else None

        if best:
            r.update(peer=best[2], peer_benchmark=best[1], peer_cpu_s=best[0], peer_rate=rate_of(best[0]),
                     ratio=best[0] / ours["cpu_s"])
            r["others"] = [{"peer": w, "benchmark": b, "ratio": c / ours["cpu_s"]}
                           for c, b, w in sorted(candidates) if b != best[1]]
        if std:
            r.update(std=std[2], std_benchmark=std[1], std_ratio=std[0] / ours["cpu_s"])
        limit = spec["limit"]
        if limit == MEMORY and bandwidth and r["unit"] == "MB/s":
            r.update(limit=f"strlen {bandwidth / 1e9:.1f} GB/s", fraction=r["karpa_rate"] * 1e6 / bandwidth)
        elif limit and limit[0] == "cpb" and clock_hz and r["unit"] == "MB/s":
            ceiling = clock_hz / limit[1]
            r.update(limit=f"{limit[1]} cycles/B = {ceiling / 1e6:,.0f} MB/s", fraction=r["karpa_rate"] * 1e6 / ceiling)
        elif limit == CALL and floor_s:
            r.update(limit=f"empty dlopen'd call {floor_s * 1e9:.1f} ns", fraction=floor_s / ours["cpu_s"])
        rows.append(r)
    limits = {"bandwidth": bandwidth, "memcpy": found.get(MEMCPY, {}).get("bytes_per_second"),
              "clock_hz": clock_hz, "call_floor_s": floor_s}
    return rows, notes, limits


def tier_rows(rows, results, binaries, repetitions, min_time, json_dir):
    """Names the tier in the list readers' rows; adds their baseline-tier rows, each after its best-tier row."""
    tiers = {name: report.get("context", {}).get("karpa_tier") for name, report in results}
    for r in rows:
        if r["binary"] in READING_BINARIES and r["section"] != KERNELS and tiers.get(r["binary"]):
            r["label"] += f", {tiers[r['binary']]} tier"
    specs = [spec for spec in ROWS if spec["karpa"] in BASELINE_TIER_ROWS]
    names = [spec["karpa"] for spec in specs]
    names += [b for spec in specs for b, _ in spec["peers"] + ([spec["std"]] if spec["std"] else [])]
    pattern = "^(" + "|".join(n.replace("<", ".").replace(">", ".") for n in names) + ")$"
    reruns = [run_binary(b, repetitions, min_time, json_dir, ("--karpa_tier=baseline", f"--benchmark_filter={pattern}"),
                         ".baseline") for b in binaries if os.path.basename(b) in READING_BINARIES]
    baseline = cpp_rows(*collect(reruns), specs)[0]
    for b in baseline:
        b["label"] += ", baseline tier"
        b["tier"] = "baseline"
        at = next((i for i, r in enumerate(rows) if r["karpa_benchmark"] == b["karpa_benchmark"]), len(rows) - 1)
        rows.insert(at + 1, b)


def python_rows(build_dir, repetitions):
    env = dict(os.environ, KARPA_LIB_DIR=os.path.join(build_dir, "lib"), PYTHONDONTWRITEBYTECODE="1")
    script = os.path.join(ROOT, "bench", "python", "host_bench.py")
    log("== python host (karpa package)")
    started = time.monotonic()
    result = subprocess.run([sys.executable, script, "--json", f"--repetitions={repetitions}"],
                            env=env, stdout=subprocess.PIPE, text=True)
    if result.returncode != 0:
        raise SystemExit(f"host_bench.py failed with status {result.returncode}")
    log(f"   {time.monotonic() - started:.1f} s")
    report = json.loads(result.stdout)
    rows = []
    for r in report["rows"]:
        scale, unit = (1e6, "MB/s") if r["unit"] == "B" else (1e6, "M items/s")
        rows.append({
            "label": r["export"], "anchor": r["anchor"], "unit": unit,
            "karpa_cpu_s": r["karpa_cpu_s"], "anchor_cpu_s": r["anchor_cpu_s"],
            "karpa_rate": r["size"] / r["karpa_cpu_s"] / scale, "anchor_rate": r["size"] / r["anchor_cpu_s"] / scale,
            "ratio": r["anchor_cpu_s"] / r["karpa_cpu_s"], "anchor_kind": r.get("anchor_kind", "python"),
        })
    return rows, report["python"]


# ---- the machine ----------------------------------------------------------------


def machine():
    model, cores = "unknown CPU", os.cpu_count()
    try:
        with open("/proc/cpuinfo") as f:
            for line in f:
                if line.startswith("model name"):
                    model = line.split(":", 1)[1].strip()
                    break
    except OSError:
        pass
    compiler = "unknown"
    try:
        compiler = subprocess.run(["c++", "--version"], stdout=subprocess.PIPE, text=True).stdout.splitlines()[0]
    except (OSError, IndexError):
        pass
    return {"cpu": model, "cores": cores, "kernel": platform.release(), "compiler": compiler,
            "date": datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%d %H:%M UTC")}


def build_type(build_dir):
    try:
        with open(os.path.join(build_dir, "CMakeCache.txt")) as f:
            for line in f:
                if line.startswith("CMAKE_BUILD_TYPE:"):
                    return line.split("=", 1)[1].strip()
    except OSError:
        pass
    return "unknown"


# ---- output ---------------------------------------------------------------------


def fmt_rate(value):
    if value is None:
        return "n/a"
    return f"{value:,.0f}" if value >= 100 else f"{value:.3g}" if value < 1 else f"{value:.1f}"


def fmt_ratio(value):
    return "n/a" if value is None else f"{value:.2f}"


def fmt_fraction(r):
    if "fraction" not in r:
        return ""
    return f"{r['fraction']:.1%}" if r["fraction"] < 0.1 else f"{r['fraction']:.0%}"


def geomean(values):
    values = [v for v in values if v]
    return math.exp(statistics.fmean(math.log(v) for v in values)) if values else float("nan")


def plain_table(rows, py_rows):
    header = ("export", "Karpa", "unit", "strongest peer", "ratio", "std ratio", "of limit")
    lines = [header]
    for r in rows:
        lines.append((r["label"], fmt_rate(r["karpa_rate"]), r["unit"] or "", r.get("peer", "none measured"),
                      fmt_ratio(r.get("ratio")), fmt_ratio(r.get("std_ratio")), fmt_fraction(r)))
    for r in py_rows:
        lines.append(("Python: " + r["label"], fmt_rate(r["karpa_rate"]), r["unit"], r["anchor"][:60],
                      fmt_ratio(r["ratio"]), "", ""))
    widths = [max(len(str(line[i])) for line in lines) for i in range(len(header))]
    right = {1, 4, 5, 6}
    out = []
    for k, line in enumerate(lines):
        cells = [str(c).rjust(w) if i in right else str(c).ljust(w) for i, (c, w) in enumerate(zip(line, widths))]
        out.append("  ".join(cells).rstrip())
        if k == 0:
            out.append("  ".join("-" * w for w in widths))
    return "\n".join(out)


def code(label):
    """The export name at the start of a label in backticks."""
    name, sep, rest = label.partition(", ")
    head, paren, tail = name.partition("(")
    return f"`{name}`{sep}{rest}" if not paren else f"`{head}({tail}`{sep}{rest}"


def markdown(rows, py_rows, notes, limits, info, settings):
    md = ["# Performance", "",
          f"Measured {info['date']} on {info['cpu']} ({info['cores']} cores), Linux {info['kernel']}, "
          f"{info['compiler']}, {settings['build_type']} build, Python {settings['python']}, by one run of "
          f"`bash scripts/bench.sh` (`bench/run_all.py`); running every benchmark took {settings['elapsed']} "
          "after the build; the one-minute load average was "
          f"{settings['load'][0]:.1f} at the start and {settings['load'][1]:.1f} at the end "
          f"({info['cores']} cores; above that, other work shared the machine).", "",
          "Each row is one Karpa export against the **strongest peer**: the fastest of the pipelines a user would "
          "write instead, doing the same job end to end on the same input (read the text, compute, print the "
          "result text) in the same process. The peers are fast_float, simdjson, fmt, abseil's `flat_hash_set`, pdqsort, Highway's vqsort, "
          "`std::nth_element`, std::chrono and Howard Hinnant's date, OpenSSL, nettle, libgcrypt and Crypto++, and "
          f"an eight-digits-at-a-time (SWAR) integer reader written in `bench/peers.hpp`; the standard-library "
          "pipeline counts as a peer too and keeps its own column. Every peer's output was checked equal to "
          "Karpa's on the same input before it was timed.", "",
          "**ratio = peer CPU time / Karpa CPU time**: below 1 Karpa is slower, above 1 faster. "
          f"C++ rows: medians of {settings['repetitions']} repetitions"
          f"{' of at least ' + str(settings['min_time']) + ' s' if settings['min_time'] else ''}, run in random "
          "interleaved order (`--benchmark_enable_random_interleaving`), `cpu_time`, Karpa called through its "
          "loaded `.so`. Throughput is of the input text (MB/s, 10^6 bytes) or of items; per-call rows are "
          "nanoseconds per call. The machine is shared and noisy, so single ratios move by several percent "
          "between runs.", "",
          "**of limit** is how close Karpa gets to a physical limit measured in the same run: for the text paths, "
          "memory bandwidth (strlen over 64 MiB"
          + (f": {limits['bandwidth'] / 1e9:.1f} GB/s; memcpy {limits['memcpy'] / 1e9:.1f} GB/s" if limits["bandwidth"]
             and limits["memcpy"] else "")
          + "); for the 1 MiB digests, the serial dependency chain of MD5's rounds (4.5 cycles/byte) and SHA-1 / "
          "SHA-256 with the SHA extensions (1.9 / 2.0 cycles/byte) at the core clock"
          + (f" ({limits['clock_hz'] / 1e9:.2f} GHz, from a chain of dependent additions)" if limits["clock_hz"] else "")
          + "; for a single call, the share of its time that an empty call into a dlopen'd library takes"
          + (f" ({limits['call_floor_s'] * 1e9:.1f} ns)" if limits["call_floor_s"] else "") + ".", "",
          "![ratios](performance.svg)", ""]
    section = None
    for r in rows:
        if r["section"] != section:
            section = r["section"]
            md += ["", f"## {section}", "",
                   "| export | Karpa | unit | strongest peer | peer | **ratio** | standard library | std ratio | "
                   "limit | of limit |",
                   "|---|---:|---|---|---:|---:|---|---:|---|---:|"]
        md.append(f"| {code(r['label'])} | {fmt_rate(r['karpa_rate'])} | {r['unit'] or ''} | "
                  f"{r.get('peer', 'none measured')} | {fmt_rate(r.get('peer_rate'))} | **{fmt_ratio(r.get('ratio'))}** | "
                  f"{r.get('std', '')} | {fmt_ratio(r.get('std_ratio')) if 'std_ratio' in r else ''} | "
                  f"{r.get('limit', '')} | {fmt_fraction(r)} |")
    others = [(r["label"], o) for r in rows for o in r.get("others", [])]
    if others:
        md += ["", "The other peers measured (ratio against Karpa, same run):", ""]
        for label, o in others:
            md.append(f"- {code(label)}: {o['peer']} {o['ratio']:.2f}")
    if py_rows:
        md += ["", "## From Python", "",
               "The `karpa` package (ctypes) against the plain Python a user would write instead, from the same "
               f"Python value to the same Python value: medians of {settings['python_repetitions']} runs of "
               "`time.process_time`, the two sides alternating, so encoding, the foreign call and decoding count "
               "against Karpa. ratio = Python time / Karpa time. The rows \"through karpa._native\" or \"through pure "
               "Python\" time one path of the package: one small call against the bare ctypes call of its export "
               "(targets: ratio 2 or more through karpa._native, 0.67 or more through pure Python), and a million "
               "Python values against `sorted()` and against the export's call on the same list text (target 0.25 "
               "or more).", "",
               "| export | Karpa | Python | Python throughput | unit | ratio |", "|---|---:|---|---:|---|---:|"]
        for r in py_rows:
            md.append(f"| {code(r['label'])} | {fmt_rate(r['karpa_rate'])} | `{r['anchor']}` | "
                      f"{fmt_rate(r['anchor_rate'])} | {r['unit']} | **{fmt_ratio(r['ratio'])}** |")
    if notes:
        md += ["", "## Rows and peers left out", ""] + [f"- {n}" for n in notes]
    md += ["", "## Summary", "",
           "Geometric mean of the ratios: "
           + ", ".join(f"{s} {geomean([r.get('ratio') for r in rows if r['section'] == s]):.2f} "
                       "against the strongest peer" for s in dict.fromkeys(r["section"] for r in rows))
           + f"; all C++ rows {geomean([r.get('ratio') for r in rows]):.2f} against the strongest peer, "
           f"{geomean([r.get('std_ratio') for r in rows]):.2f} against the standard library alone"
           + (f"; Python {geomean([r['ratio'] for r in py_rows if r['anchor_kind'] == 'python']):.2f} against plain Python"
              if py_rows else "")
           + ".", ""]
    return "\n".join(md)


def esc(text):
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;").replace('"', "&quot;")


def svg(rows, py_rows, info):
    """Horizontal bars of the ratio against the strongest peer, log scale, from the 1.0 line; a tick marks
    the standard-library ratio. The Python rows follow, against plain Python."""
    bars = [(r["section"], r["label"], r.get("ratio"), r.get("std_ratio"), r.get("peer", "")) for r in rows
            if r.get("ratio")]
    against = {"python": "plain Python", "ctypes": "the bare ctypes call", "export": "the export on list text"}
    bars += [(f"From Python, against {against[r['anchor_kind']]}", r["label"], r["ratio"], None, r["anchor"])
             for r in py_rows]
    bar_h, gap, left, plot_w, top = 15, 5, 360, 470, 62
    values = [b[2] for b in bars] + [b[3] for b in bars if b[3]]
    lo = 2.0 ** math.floor(math.log2(min(values + [0.5]) / 1.3))
    hi = 2.0 ** math.ceil(math.log2(max(values + [2.0]) * 1.3))
    span = math.log2(hi) - math.log2(lo)

    def x(v):
        return left + (math.log2(max(min(v, hi), lo)) - math.log2(lo)) / span * plot_w

    ys, y, section = [], top, None
    for b in bars:
        if b[0] != section:
            section = b[0]
            y += 22
        ys.append(y)
        y += bar_h + gap
    bottom = y
    width, height = left + plot_w + 60, bottom + 44
    out = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
           f'viewBox="0 0 {width} {height}" font-family="sans-serif" font-size="11">',
           f'<rect width="{width}" height="{height}" fill="white"/>',
           f'<text x="{width / 2}" y="18" text-anchor="middle" font-size="14" font-weight="bold">'
           'Karpa against its strongest peer: peer CPU time / Karpa CPU time (log scale)</text>',
           f'<text x="{width / 2}" y="34" text-anchor="middle" fill="#555">'
           f'{esc(info["cpu"])}, {info["cores"]} cores, {esc(info["date"])}; right of 1.0: Karpa faster; '
           'black tick: against the standard library</text>']
    tick = lo
    while tick <= hi * 1.0001:
        tx = x(tick)
        out.append(f'<line x1="{tx:.1f}" y1="{top + 6}" x2="{tx:.1f}" y2="{bottom}" stroke="#e4e4e4"/>')
        out.append(f'<text x="{tx:.1f}" y="{bottom + 14}" text-anchor="middle" fill="#555">{tick:g}</text>')
        tick *= 2
    one = x(1.0)
    for i, (section, label, ratio, std_ratio, peer) in enumerate(bars):
        y = ys[i]
        if i == 0 or bars[i - 1][0] != section:
            out.append(f'<text x="8" y="{y - 6}" font-weight="bold" fill="#333">{esc(section)}</text>')
        python = section.startswith("From Python")
        colour = ("#3a9a5b" if python else "#2b7bb9") if ratio >= 1 else ("#d08a2c" if python else "#c0504d")
        end = x(ratio)
        x0, w = min(one, end), max(abs(end - one), 1.0)
        out.append(f'<text x="{left - 6}" y="{y + bar_h - 4}" text-anchor="end">{esc(label)}</text>')
        out.append(f'<rect x="{x0:.1f}" y="{y}" width="{w:.1f}" height="{bar_h}" fill="{colour}">'
                   f'<title>{esc(label)} vs {esc(peer)}: {ratio:.2f}</title></rect>')
        label_at = end
        if std_ratio:
            sx = x(std_ratio)
            out.append(f'<line x1="{sx:.1f}" y1="{y - 1}" x2="{sx:.1f}" y2="{y + bar_h + 1}" stroke="black" '
                       f'stroke-width="2"><title>against the standard library: {std_ratio:.2f}</title></line>')
            # Keep the number clear of a tick just beyond the bar's end.
            if ratio >= 1 and end <= sx < end + 30:
                label_at = sx
            elif ratio < 1 and end - 30 < sx <= end:
                label_at = sx
        tx, anchor = (label_at + 4, "start") if ratio >= 1 else (label_at - 4, "end")
        out.append(f'<text x="{tx:.1f}" y="{y + bar_h - 4}" text-anchor="{anchor}">{ratio:.2f}</text>')
    out.append(f'<line x1="{one:.1f}" y1="{top - 4}" x2="{one:.1f}" y2="{bottom + 2}" stroke="black" '
               'stroke-width="1.5"/>')
    out.append(f'<text x="{one + 4:.1f}" y="{top + 2}" font-weight="bold">1.0</text>')
    out.append(f'<text x="{left + plot_w / 2}" y="{bottom + 32}" text-anchor="middle" fill="#555">'
               'blue or green: Karpa faster than the strongest peer; red or orange: the peer faster</text>')
    out.append("</svg>")
    return "\n".join(out) + "\n"


# ---- main -----------------------------------------------------------------------


def configure_and_build(build_dir):
    subprocess.run(["cmake", "-S", ROOT, "-B", build_dir, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
                    "-DKARPA_BENCH=ON"], check=True)
    result = subprocess.run(["cmake", "--build", build_dir, "-j2", "--target", "bench"])
    raise SystemExit(result.returncode)


def main():
    parser = argparse.ArgumentParser(description="Run every benchmark; write docs/performance.md and .svg.")
    parser.add_argument("--build-dir", default=os.path.join(ROOT, "build-bench"))
    parser.add_argument("--configure", action="store_true",
                        help="configure a Release build in --build-dir and build its bench target (which runs this)")
    parser.add_argument("--binary", action="append", default=[], help="benchmark binary (default: bin/*_bench)")
    parser.add_argument("--repetitions", type=int, default=5)
    parser.add_argument("--min-time", type=float, default=0.1, help="seconds per repetition, 0 for the default")
    parser.add_argument("--python-repetitions", type=int, default=3)
    parser.add_argument("--no-python", action="store_true")
    parser.add_argument("--missing-peers", default="", help="peer libraries the build did not find")
    parser.add_argument("--out-dir", default=os.path.join(ROOT, "docs"), help="where performance.md/.svg go")
    args = parser.parse_args()
    build_dir = os.path.abspath(args.build_dir)
    if args.configure:
        configure_and_build(build_dir)

    started = time.monotonic()
    load_start = os.getloadavg()[0]
    binaries = args.binary or glob.glob(os.path.join(build_dir, "bin", "*_bench"))
    rank = {name: i for i, name in enumerate(BINARY_ORDER)}
    binaries.sort(key=lambda b: (rank.get(os.path.basename(b), len(rank)), os.path.basename(b)))
    if not binaries:
        raise SystemExit(f"no benchmark binaries in {build_dir}/bin; build the bench target first")
    kind = build_type(build_dir)
    if kind != "Release":
        log(f"warning: {build_dir} is a {kind} build; the figures are only meaningful for Release")
    json_dir = os.path.join(build_dir, "bench-results")
    os.makedirs(json_dir, exist_ok=True)

    results = [run_binary(b, args.repetitions, args.min_time, json_dir) for b in binaries]
    found, errors = collect(results)
    rows, notes, limits = cpp_rows(found, errors)
    if not rows:
        raise SystemExit("no benchmark rows were measured")
    tier_rows(rows, results, binaries, args.repetitions, args.min_time, json_dir)
    missing = args.missing_peers.split()
    if missing:
        notes.insert(0, "peer libraries not found at build time (their rows or columns are left out): "
                     + ", ".join(missing))
    python_version, py_rows = platform.python_version(), []
    if not args.no_python:
        py_rows, python_version = python_rows(build_dir, args.python_repetitions)
    elapsed = time.monotonic() - started

    info = machine()
    settings = {"build_type": kind, "python": python_version, "repetitions": args.repetitions,
                "min_time": args.min_time, "python_repetitions": args.python_repetitions,
                "elapsed": f"{elapsed / 60:.1f} minutes", "load": (load_start, os.getloadavg()[0])}
    print()
    print(f"{info['cpu']}, {info['cores']} cores, {info['date']}; ratio = peer CPU time / Karpa CPU time")
    print(plain_table(rows, py_rows))
    for n in notes:
        print("note:", n)
    print(f"run time {elapsed:.0f} s")

    os.makedirs(args.out_dir, exist_ok=True)
    with open(os.path.join(args.out_dir, "performance.md"), "w") as f:
        f.write(markdown(rows, py_rows, notes, limits, info, settings))
    with open(os.path.join(args.out_dir, "performance.svg"), "w") as f:
        f.write(svg(rows, py_rows, info))
    with open(os.path.join(json_dir, "table.json"), "w") as f:
        json.dump({"machine": info, "settings": settings, "limits": limits, "rows": rows, "python_rows": py_rows,
                   "notes": notes}, f, indent=1)
    print(f"wrote {os.path.join(args.out_dir, 'performance.md')} and performance.svg")


if __name__ == "__main__":
    main()
