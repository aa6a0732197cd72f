#!/usr/bin/env python3
"""Runs every benchmark and writes one table of Karpa against its anchors.

The C++ benchmark binaries each time a Karpa export, called through the loaded
library, next to an anchor doing the same job on the same input in the same
run (std::from_chars / std::to_chars, std::stable_sort, std::unordered_set,
std::chrono, OpenSSL). They run with repetitions and only their medians are
kept. The Python host benchmark (bench/python/host_bench.py) times the karpa
package against the plain Python a user would write instead.

Ratios come from CPU time (the machines are shared, so wall time is noisier):
ratio = anchor CPU time / Karpa CPU time on the same input, so above 1 means
Karpa is faster.

    cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release
    cmake --build build-bench --target bench        # builds, then runs this script
    python3 bench/run_all.py --configure            # the same two steps in one command
"""

import argparse
import datetime
import glob
import json
import math
import os
import platform
import re
import statistics
import subprocess
import sys
import time

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir))

# Karpa benchmark -> (what it measures, anchor benchmark, what the anchor does).
# Names the binaries give each side; rows for benchmarks not listed here are
# still made by the name patterns in pair_by_pattern().
CPP_PAIRS = {
    # bench/seq: from_chars to read, the algorithm, to_chars and one join to print
    "BM_SortInt_Karpa": ("seq_sort_int", "BM_SortInt_Std", "from_chars, std::stable_sort, to_chars"),
    "BM_SumInt_Karpa": ("seq_reduce_sum_int", "BM_SumInt_Std", "from_chars, checked sum, to_chars"),
    "BM_UniqueInt_Karpa": ("seq_unique_int", "BM_UniqueInt_Std", "from_chars, std::unordered_set, to_chars"),
    "BM_ReverseInt_Karpa": ("seq_reverse_int", "BM_ReverseInt_Std", "from_chars, std::reverse, to_chars"),
    "BM_SortString_Karpa": ("seq_sort_string", "BM_SortString_Std", "split, std::stable_sort, join"),
    "BM_UniqueString_Karpa": ("seq_unique_string", "BM_UniqueString_Std", "split, std::unordered_set, join"),
    # bench/float
    "BM_SumFloatList/0": ("seq_reduce_sum_float, 3 decimals", "BM_FromCharsLoop/0", "std::from_chars loop"),
    "BM_SumFloatList/1": ("seq_reduce_sum_float, 17 digits", "BM_FromCharsLoop/1", "std::from_chars loop"),
    "BM_RoundtripDigits": ("float codec: shortest round-trip digits", "BM_ToCharsShortest", "std::to_chars shortest"),
    # bench/curried
    "BM_sum_float_short_export": ("cur_sum_float, 4 decimals", "BM_sum_float_short_baseline",
                                  "from_chars, sum, to_chars"),
    "BM_sum_float_full_export": ("cur_sum_float, 17 digits", "BM_sum_float_full_baseline",
                                 "from_chars, sum, to_chars"),
    "BM_variance_float_export": ("cur_variance_float", "BM_variance_float_baseline",
                                 "from_chars, two passes, to_chars"),
    "BM_median_int_export": ("cur_median_int", "BM_median_int_baseline", "from_chars, std::stable_sort"),
    "BM_dot_int_export": ("cur_dot_int", "BM_dot_int_baseline", "from_chars, checked dot product"),
    "BM_distinct_string_export": ("cur_distinct_string", "BM_distinct_string_baseline",
                                  "split, std::unordered_set, join"),
    "BM_union_string_export": ("cur_union_string", "BM_union_string_baseline", "split, std::unordered_set, join"),
    "BM_intersect_string_export": ("cur_intersect_string", "BM_intersect_string_baseline",
                                   "split, std::unordered_set, join"),
    # bench/datetime
    "BM_RangeDays_Karpa": ("dt_range_days", "BM_RangeDays_Chrono", "std::chrono year_month_day, to_chars"),
    "BM_TsToYmdhms_Karpa": ("dt_ts_to_ymdhms, one call per item", "BM_TsToYmdhms_Chrono",
                            "std::chrono year_month_day + hh_mm_ss"),
    # bench/crypto
    "karpaDigest/md5/64": ("md5_hash, 64 B", "opensslDigest/md5/64", "OpenSSL EVP MD5"),
    "karpaDigest/md5/1048576": ("md5_hash, 1 MiB", "opensslDigest/md5/1048576", "OpenSSL EVP MD5"),
    "karpaDigest/sha1/64": ("sha1_hash, 64 B", "opensslDigest/sha1/64", "OpenSSL EVP SHA1"),
    "karpaDigest/sha1/1048576": ("sha1_hash, 1 MiB", "opensslDigest/sha1/1048576", "OpenSSL EVP SHA1"),
    "karpaDigest/sha256/64": ("sha256_hash, 64 B", "opensslDigest/sha256/64", "OpenSSL EVP SHA256"),
    "karpaDigest/sha256/1048576": ("sha256_hash, 1 MiB", "opensslDigest/sha256/1048576", "OpenSSL EVP SHA256"),
    "karpaHmacSha256/64": ("hmac_sha256, 64 B", "opensslHmacSha256/64", "OpenSSL EVP_MAC HMAC-SHA256"),
}

# Benchmarks that report no rate counter: the items each iteration handles.
ITEMS_PER_ITERATION = {
    "BM_SumFloatList/0": 1_000_000, "BM_SumFloatList/1": 1_000_000,
    "BM_FromCharsLoop/0": 1_000_000, "BM_FromCharsLoop/1": 1_000_000,
    "BM_RoundtripDigits": 1_000_000, "BM_ToCharsShortest": 1_000_000,
}

# Karpa-side and anchor-side name patterns, for benchmarks added after the table above.
PATTERNS = [
    (r"^(.*)_Karpa(/.*)?$", [r"\1_Std\2", r"\1_Chrono\2"]),
    (r"^(.*)_export(/.*)?$", [r"\1_baseline\2"]),
    (r"^karpa(.*)$", [r"openssl\1"]),
]

# Order of the table: the libraries as the README lists them.
BINARY_ORDER = ["seq_bench", "float_bench", "curried_bench", "datetime_bench", "crypto_bench"]

EXPORT_NAME = re.compile(r"^(seq|cur|dt)_\w+$|^(md5|sha1|sha256)_hash$|^hmac_\w+$")

TIME_UNITS = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}


def log(message):
    print(message, file=sys.stderr, flush=True)


# ---- running --------------------------------------------------------------------


def run_binary(path, repetitions, min_time, json_dir):
    name = os.path.basename(path)
    out = os.path.join(json_dir, name + ".json")
    command = [path, "--benchmark_format=json", f"--benchmark_repetitions={repetitions}",
               "--benchmark_report_aggregates_only=true", f"--benchmark_out={out}",
               "--benchmark_out_format=json"]
    if min_time:
        command.append(f"--benchmark_min_time={min_time}")
    log(f"== {name}")
    started = time.monotonic()
    result = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    if result.returncode != 0:
        log(result.stderr)
        raise SystemExit(f"{name} failed with status {result.returncode}")
    with open(out) as f:
        report = json.load(f)
    log(f"   {time.monotonic() - started:.1f} s")
    return name, report


def medians(report):
    """run_name -> median record (cpu_time in seconds plus counters).

    With a single repetition Google Benchmark reports no aggregates; the one
    run stands for its median then.
    """
    found = {}
    records = [b for b in report.get("benchmarks", []) if not b.get("error_occurred")]
    with_median = {b["run_name"] for b in records if b.get("aggregate_name") == "median"}
    for b in records:
        if b.get("aggregate_name") != "median" and not (
                b.get("run_type") == "iteration" and b["run_name"] not in with_median):
            continue
        scale = TIME_UNITS[b.get("time_unit", "ns")]
        record = dict(b)
        record["cpu_s"] = b["cpu_time"] * scale
        record["real_s"] = b["real_time"] * scale
        found[b["run_name"]] = record
    return found


def pair_by_pattern(name, available):
    for pattern, anchors in PATTERNS:
        if re.match(pattern, name):
            for anchor in anchors:
                candidate = re.sub(pattern, anchor, name)
                if candidate in available:
                    return candidate
    return None


def rate(name, record):
    """(throughput, unit) from the rate counters, or items over CPU time."""
    if record.get("bytes_per_second"):
        return record["bytes_per_second"] / 1e6, "MB/s"
    if record.get("items_per_second"):
        return record["items_per_second"] / 1e6, "M items/s"
    if name in ITEMS_PER_ITERATION:
        return ITEMS_PER_ITERATION[name] / record["cpu_s"] / 1e6, "M items/s"
    return None, None


def cpp_rows(results):
    rows, unpaired = [], []
    for binary, report in results:
        found = medians(report)
        anchors = set()
        for name, (label, anchor, anchor_label) in CPP_PAIRS.items():
            if name in found and anchor in found:
                anchors.add(anchor)
        for name, record in found.items():
            if name in CPP_PAIRS and CPP_PAIRS[name][1] in found:
                label, anchor, anchor_label = CPP_PAIRS[name]
            elif name not in anchors and (anchor := pair_by_pattern(name, found)):
                label, anchor_label = name, anchor
            else:
                continue
            anchors.add(anchor)
            rows.append(make_row("C++", binary, name, label, found[name], anchor, anchor_label, found[anchor]))
        for name, record in found.items():
            if name not in anchors and not any(r["benchmark"] == name for r in rows):
                unpaired.append({"binary": binary, "benchmark": name, "cpu_s": record["cpu_s"]})
    made = {r["benchmark"] for r in rows}
    for name, (_, anchor, _) in CPP_PAIRS.items():
        if name not in made:
            log(f"note: no row for {name} against {anchor} (one of them was not measured)")
    return rows, unpaired


def make_row(host, binary, name, label, ours, anchor, anchor_label, theirs):
    ours_rate, unit = rate(name, ours)
    theirs_rate, _ = rate(anchor, theirs)
    return {
        "host": host, "binary": binary, "benchmark": name, "label": label, "anchor": anchor_label,
        "anchor_benchmark": anchor, "karpa_cpu_s": ours["cpu_s"], "anchor_cpu_s": theirs["cpu_s"],
        "karpa_rate": ours_rate, "anchor_rate": theirs_rate, "unit": unit,
        "ratio": theirs["cpu_s"] / ours["cpu_s"],
    }


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
            "host": "Python", "binary": "host_bench.py", "benchmark": r["name"], "label": r["export"],
            "anchor": r["anchor"], "anchor_benchmark": r["anchor"],
            "karpa_cpu_s": r["karpa_cpu_s"], "anchor_cpu_s": r["anchor_cpu_s"],
            "karpa_rate": r["size"] / r["karpa_cpu_s"] / scale, "anchor_rate": r["size"] / r["anchor_cpu_s"] / scale,
            "unit": unit, "ratio": r["anchor_cpu_s"] / r["karpa_cpu_s"],
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
    return f"{value:.2f}x"


def fmt_time(seconds):
    for unit, scale in (("s", 1.0), ("ms", 1e-3), ("us", 1e-6), ("ns", 1e-9)):
        if seconds >= scale or unit == "ns":
            value = seconds / scale
            return f"{value:.1f} {unit}" if value >= 100 else f"{value:.3g} {unit}"


def plain_table(rows):
    header = ("host", "export", "Karpa", "anchor", "anchor rate", "unit", "ratio")
    lines = [header]
    for r in rows:
        lines.append((r["host"], r["label"], fmt_rate(r["karpa_rate"]), r["anchor"], fmt_rate(r["anchor_rate"]),
                      r["unit"] or "", fmt_ratio(r["ratio"])))
    widths = [max(len(str(line[i])) for line in lines) for i in range(len(header))]
    right = {2, 4, 6}
    out = []
    for k, line in enumerate(lines):
        cells = [str(c).rjust(w) if i in right else str(c).ljust(w) for i, (c, w) in enumerate(zip(line, widths))]
        out.append("  ".join(cells).rstrip())
        if k == 0:
            out.append("  ".join("-" * w for w in widths))
    return "\n".join(out)


def markdown(rows, unpaired, info, settings):
    md = ["# Performance", "",
          f"Measured {info['date']} on {info['cpu']} ({info['cores']} cores), Linux {info['kernel']}, "
          f"{info['compiler']}, {settings['build_type']} build, Python {settings['python']}. "
          f"Generated by `cmake --build build-bench --target bench` (`bench/run_all.py`); "
          f"running every benchmark took {settings['elapsed']} after the build.", "",
          "Each row is one Karpa export against an anchor doing the same job on the same input in the same "
          "run. Throughput is megabytes of input text per second (MB/s, 10^6 bytes) or millions of items per "
          "second, from CPU time. **ratio = anchor CPU time / Karpa CPU time**: above 1 Karpa is faster. "
          f"C++ rows: medians of {settings['repetitions']} Google Benchmark repetitions"
          f"{' of at least ' + str(settings['min_time']) + ' s each' if settings['min_time'] else ''}, "
          "`cpu_time`, the export called through the loaded `.so`. Python rows: medians of "
          f"{settings['python_repetitions']} runs of `time.process_time`, Karpa called through the `karpa` "
          "package (ctypes), so encoding the arguments, the foreign call and decoding the result all count; "
          "the anchor is the plain Python a user would write instead. Inputs: a million items per call "
          "(5 to 25 MB of list text), or 1 MiB and 64-byte buffers, from fixed seeds. The machine is shared, "
          "so single ratios move by several percent between runs (more for the hash-set rows, whose "
          "anchors are sensitive to cache pressure).", "",
          "![ratios](performance.svg)", "",
          "| host | Karpa export | Karpa throughput | anchor | anchor throughput | unit | ratio |",
          "|---|---|---:|---|---:|---|---:|"]
    for r in rows:
        export, comma, detail = r["label"].partition(", ")
        if EXPORT_NAME.match(export):
            export = f"`{export}`"
        anchor = f"`{r['anchor']}`" if r["host"] == "Python" else r["anchor"]
        md.append(f"| {r['host']} | {export}{comma}{detail} | {fmt_rate(r['karpa_rate'])} | {anchor} | "
                  f"{fmt_rate(r['anchor_rate'])} | {r['unit'] or ''} | **{fmt_ratio(r['ratio'])}** |")
    if unpaired:
        md += ["", "Measured without an anchor (CPU time per iteration, median):", "",
               "| binary | benchmark | CPU time |", "|---|---|---:|"]
        for u in unpaired:
            md.append(f"| {u['binary']} | `{u['benchmark']}` | {fmt_time(u['cpu_s'])} |")
    md += ["", "Ratios (geometric mean): " + ", ".join(
        f"{host} {geomean([r['ratio'] for r in rows if r['host'] == host]):.2f}x"
        for host in dict.fromkeys(r["host"] for r in rows)) + ".", ""]
    return "\n".join(md)


def geomean(values):
    return math.exp(statistics.fmean(math.log(v) for v in values)) if values else float("nan")


def esc(text):
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;").replace('"', "&quot;")


def svg(rows, info):
    """Horizontal bars of the ratios on a log scale, from the line at 1.0."""
    bar_h, gap, left, plot_w, top = 16, 6, 330, 460, 56
    ratios = [r["ratio"] for r in rows]
    # Room beyond the extreme bars for their labels.
    lo = 2.0 ** math.floor(math.log2(min(ratios + [0.5]) / 1.4))
    hi = 2.0 ** math.ceil(math.log2(max(ratios + [2.0]) * 1.4))
    span = math.log2(hi) - math.log2(lo)

    def x(v):
        return left + (math.log2(v) - math.log2(lo)) / span * plot_w

    # Rows grouped by host, each group under a heading.
    group_gap = 22
    ys, y, host = [], top, None
    for r in rows:
        if r["host"] != host:
            host = r["host"]
            y += group_gap
        ys.append(y)
        y += bar_h + gap
    bottom = y
    height = bottom + 40
    width = left + plot_w + 80
    out = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
           f'viewBox="0 0 {width} {height}" font-family="sans-serif" font-size="11">',
           f'<rect width="{width}" height="{height}" fill="white"/>',
           f'<text x="{width / 2}" y="18" text-anchor="middle" font-size="14" font-weight="bold">'
           'Karpa throughput / anchor throughput (CPU time, log scale)</text>',
           f'<text x="{width / 2}" y="34" text-anchor="middle" fill="#555">'
           f'{esc(info["cpu"])}, {info["cores"]} cores, {esc(info["date"])}; right of 1.0: Karpa faster</text>']
    tick = lo
    while tick <= hi * 1.0001:
        tx = x(tick)
        label = f"{tick:g}"
        out.append(f'<line x1="{tx:.1f}" y1="{top + 8}" x2="{tx:.1f}" y2="{bottom}" stroke="#e4e4e4"/>')
        out.append(f'<text x="{tx:.1f}" y="{bottom + 14}" text-anchor="middle" fill="#555">{label}</text>')
        tick *= 2
    one = x(1.0)
    host_colors = {"C++": ("#2b7bb9", "#c0504d"), "Python": ("#3a9a5b", "#d08a2c")}
    headings = {"C++": "C++ host, against std:: or OpenSSL",
                "Python": "Python host (karpa package), against Python"}
    for i, r in enumerate(rows):
        y = ys[i]
        if i == 0 or rows[i - 1]["host"] != r["host"]:
            heading = headings.get(r["host"], r["host"])
            out.append(f'<text x="8" y="{y - 7}" font-weight="bold" fill="#333">{esc(heading)}</text>')
        faster, slower = host_colors.get(r["host"], ("#2b7bb9", "#c0504d"))
        end = x(max(min(r["ratio"], hi), lo))
        x0, w = min(one, end), max(abs(end - one), 1.0)
        colour = faster if r["ratio"] >= 1 else slower
        name = r["label"]
        out.append(f'<text x="{left - 6}" y="{y + bar_h - 4}" text-anchor="end">{esc(name)}</text>')
        out.append(f'<rect x="{x0:.1f}" y="{y}" width="{w:.1f}" height="{bar_h}" fill="{colour}">'
                   f'<title>{r["host"]}: {esc(name)} vs {esc(r["anchor"])}: {r["ratio"]:.2f}x</title></rect>')
        tx, anchor = (end + 4, "start") if r["ratio"] >= 1 else (end - 4, "end")
        out.append(f'<text x="{tx:.1f}" y="{y + bar_h - 4}" text-anchor="{anchor}">{r["ratio"]:.2f}</text>')
    out.append(f'<line x1="{one:.1f}" y1="{top - 8}" x2="{one:.1f}" y2="{bottom + 2}" stroke="black" '
               'stroke-width="1.5"/>')
    out.append(f'<text x="{one + 4:.1f}" y="{top - 1}" font-weight="bold">1.0</text>')
    out.append(f'<text x="{left + plot_w / 2}" y="{bottom + 30}" text-anchor="middle" fill="#555">'
               'blue or green: Karpa faster; red or orange: the anchor faster</text>')
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
    parser.add_argument("--min-time", type=float, default=0.2, help="seconds per repetition, 0 for the default")
    parser.add_argument("--python-repetitions", type=int, default=5)
    parser.add_argument("--no-python", action="store_true")
    parser.add_argument("--out-dir", default=os.path.join(ROOT, "docs"), help="where performance.md/.svg go")
    args = parser.parse_args()
    build_dir = os.path.abspath(args.build_dir)
    if args.configure:
        configure_and_build(build_dir)

    started = time.monotonic()
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
    rows, unpaired = cpp_rows(results)
    if not rows:
        raise SystemExit("no benchmark pairs were measured")
    python_version = platform.python_version()
    if not args.no_python:
        host_rows, python_version = python_rows(build_dir, args.python_repetitions)
        rows += host_rows
    elapsed = time.monotonic() - started

    info = machine()
    settings = {"build_type": kind, "python": python_version, "repetitions": args.repetitions,
                "min_time": args.min_time, "python_repetitions": args.python_repetitions,
                "elapsed": f"{elapsed / 60:.1f} minutes"}
    print()
    print(f"{info['cpu']}, {info['cores']} cores, {info['date']}; ratio = anchor CPU time / Karpa CPU time")
    print(plain_table(rows))
    for u in unpaired:
        print(f"  (no anchor) {u['binary']}: {u['benchmark']} {fmt_time(u['cpu_s'])}")
    print(f"run time {elapsed:.0f} s")

    os.makedirs(args.out_dir, exist_ok=True)
    with open(os.path.join(args.out_dir, "performance.md"), "w") as f:
        f.write(markdown(rows, unpaired, info, settings))
    with open(os.path.join(args.out_dir, "performance.svg"), "w") as f:
        f.write(svg(rows, info))
    with open(os.path.join(json_dir, "table.json"), "w") as f:
        json.dump({"machine": info, "settings": settings, "rows": rows, "unpaired": unpaired}, f, indent=1)
    print(f"wrote {os.path.join(args.out_dir, 'performance.md')} and performance.svg")


if __name__ == "__main__":
    main()
