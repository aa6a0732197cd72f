#!/usr/bin/env python3
"""Karpa called from Python through the ``karpa`` package (ctypes) against the
plain Python a user would write for the same job, on the same data.

Every pair starts from the same Python value (usually a ``str`` of list text,
since that is how such data arrives) and ends with the same Python value, so
the encoding, the foreign call and the decoding all count against Karpa.
Each pair is checked to agree once before it is timed.

Two more kinds of rows: one small call of a wrapper (as the package runs it,
and through its pure-Python wrapper) against the bare ctypes call of its export,
and a million Python values through a list wrapper against ``sorted()`` and
against the export's own call on the same list text.

Times are CPU time of this process (``time.process_time``), the median of
``--repetitions`` runs, the two sides alternating; the garbage collector is
off while timing, as ``timeit`` does.

    KARPA_LIB_DIR=build-bench/lib python3 bench/python/host_bench.py            # a table
    KARPA_LIB_DIR=build-bench/lib python3 bench/python/host_bench.py --json     # for run_all.py
"""

import argparse
import ctypes
import datetime as std_datetime
import gc
import hashlib
import hmac
import itertools
import json
import math
import os
import random
import statistics
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, os.pardir, os.pardir, "python"))

import karpa  # noqa: E402
from karpa import _exports  # noqa: E402

ITEMS = 1_000_000
PER_CALL_ITEMS = 200_000  # one foreign call per item
DIGEST_BYTES = 1 << 20
SMALL_BYTES = 64
SMALL_CALLS = 200_000
ONE_CALLS = 200_000  # the per-call rows


# ---- inputs, fixed seeds ----------------------------------------------------


def int_text(seed, low, high):
    rng = random.Random(seed)
    return ",".join(str(rng.randint(low, high)) for _ in range(ITEMS))


def float_text(seed):
    rng = random.Random(seed)
    return ",".join("%.4f" % rng.uniform(-1000.0, 1000.0) for _ in range(ITEMS))


def letter_words(seed):
    rng = random.Random(seed)
    letters = "abcdefghijklmnopqrstuvwxyz"
    return ",".join("".join(rng.choice(letters) for _ in range(rng.randint(3, 8))) for _ in range(ITEMS))


def pool_words(seed):
    rng = random.Random(seed)
    return ",".join("w%d" % rng.randrange(300_000) for _ in range(ITEMS))


def random_bytes(seed, size):
    return random.Random(seed).randbytes(size)


def timestamps(seed):
    rng = random.Random(seed)
    return [rng.randint(-2208988800, 4133980799) for _ in range(PER_CALL_ITEMS)]


# ---- the pairs ----------------------------------------------------------------


def close(a, b):
    return math.isclose(float(a), float(b), rel_tol=1e-5)


def pairs():
    """(name, export, anchor description, karpa job, python job, size, unit, same) for each pair.

    ``size`` is the input's bytes (unit "B") or items (unit "items");
    ``same`` compares the two results.
    """
    ints = int_text(42, -1_000_000, 1_000_000)
    wide = int_text(1, -1_000_000_000, 1_000_000_000)
    floats = float_text(4)
    letters = letter_words(43)
    words_a, words_b = pool_words(6), pool_words(7)
    data = random_bytes(20240611, DIGEST_BYTES)
    small, key = data[:SMALL_BYTES], data[SMALL_BYTES:SMALL_BYTES + 32]
    stamps = timestamps(20240229)
    start = std_datetime.date(1990, 3, 15)
    one_day = std_datetime.timedelta(days=1)
    utc = std_datetime.timezone.utc
    seq, cur, dt, crypto = karpa.seq, karpa.curried, karpa.datetime, karpa.crypto
    size = len

    def py_intersect():
        set_b = set(words_b.split(","))
        return ",".join(dict.fromkeys(x for x in words_a.split(",") if x in set_b))

    def py_range_days():
        return ",".join((start + one_day * i).isoformat() for i in range(ITEMS))

    def karpa_ts():
        convert = dt.ts_to_ymdhms
        return [convert(t) for t in stamps]

    def py_ts():
        fromtimestamp = std_datetime.datetime.fromtimestamp
        return [fromtimestamp(t, utc).strftime("%Y-%m-%d %H:%M:%S") for t in stamps]

    def karpa_hmac():
        mac = crypto.hmac_sha256
        for _ in range(SMALL_CALLS):
            r = mac(small, key)
        return r

    def py_hmac():
        digest = hmac.digest
        for _ in range(SMALL_CALLS):
            r = digest(key, small, "sha256").hex().upper()
        return r

    eq = lambda a, b: a == b  # noqa: E731
    return [
        ("sort_int", "seq_sort_int", '",".join(map(str, sorted(map(int, s.split(",")))))',
         lambda: seq.sort_int(ints, text=True),
         lambda: ",".join(map(str, sorted(map(int, ints.split(","))))), size(ints), "B", eq),
        ("reduce_sum_int", "seq_reduce_sum_int", 'sum(map(int, s.split(",")))',
         lambda: seq.reduce_sum_int(ints),
         lambda: sum(map(int, ints.split(","))), size(ints), "B", eq),
        ("unique_int", "seq_unique_int", '",".join(map(str, dict.fromkeys(map(int, s.split(",")))))',
         lambda: seq.unique_int(ints, text=True),
         lambda: ",".join(map(str, dict.fromkeys(map(int, ints.split(","))))), size(ints), "B", eq),
        ("sort_string", "seq_sort_string", '",".join(sorted(s.split(",")))',
         lambda: seq.sort_string(letters, text=True),
         lambda: ",".join(sorted(letters.split(","))), size(letters), "B", eq),
        ("reduce_sum_float", "seq_reduce_sum_float", 'sum(map(float, s.split(",")))',
         lambda: seq.reduce_sum_float(floats),
         lambda: sum(map(float, floats.split(","))), size(floats), "B", eq),
        ("variance_float", "cur_variance_float", 'statistics.pvariance(map(float, s.split(",")))',
         lambda: cur.variance_float(floats),
         lambda: statistics.pvariance(map(float, floats.split(","))), size(floats), "B", close),
        ("median_int", "cur_median_int", 'statistics.median(map(int, s.split(",")))',
         lambda: cur.median_int(wide),
         lambda: statistics.median(map(int, wide.split(","))), size(wide), "B", close),
        ("distinct_string", "cur_distinct_string", '",".join(dict.fromkeys(s.split(",")))',
         lambda: cur.distinct_string(words_a, text=True),
         lambda: ",".join(dict.fromkeys(words_a.split(","))), size(words_a), "B", eq),
        ("intersect_string", "cur_intersect_string", '",".join(dict.fromkeys(x for x in a.split(",") if x in set_b))',
         lambda: cur.intersect_string(words_a, words_b, text=True),
         py_intersect, size(words_a) + size(words_b), "B", eq),
        ("range_days", "dt_range_days", '",".join((d + timedelta(i)).isoformat() for i in range(n))',
         lambda: dt.range_days(1990, 3, 15, ITEMS, text=True),
         py_range_days, ITEMS, "items", eq),
        ("ts_to_ymdhms", "dt_ts_to_ymdhms, one call per item", 'datetime.fromtimestamp(t, timezone.utc).strftime("%Y-%m-%d %H:%M:%S")',
         karpa_ts, py_ts, PER_CALL_ITEMS, "items", eq),
        ("md5_hash/1MiB", "md5_hash, 1 MiB", "hashlib.md5(data).hexdigest().upper()",
         lambda: crypto.md5_hash(data),
         lambda: hashlib.md5(data).hexdigest().upper(), DIGEST_BYTES, "B", eq),
        ("sha1_hash/1MiB", "sha1_hash, 1 MiB", "hashlib.sha1(data).hexdigest().upper()",
         lambda: crypto.sha1_hash(data),
         lambda: hashlib.sha1(data).hexdigest().upper(), DIGEST_BYTES, "B", eq),
        ("sha256_hash/1MiB", "sha256_hash, 1 MiB", "hashlib.sha256(data).hexdigest().upper()",
         lambda: crypto.sha256_hash(data),
         lambda: hashlib.sha256(data).hexdigest().upper(), DIGEST_BYTES, "B", eq),
        ("hmac_sha256/64B", "hmac_sha256, 64 B, one call per item", 'hmac.digest(key, m, "sha256").hex().upper()',
         karpa_hmac, py_hmac, SMALL_CALLS, "items", eq),
    ]


def bare_export(name):
    """The export as a bare ctypes function: its own handle, argtypes and restype from the table."""
    export = next(e for e in _exports.EXPORTS if e.name == name)
    function = getattr(ctypes.CDLL(karpa.library_path(export.library)), name)
    function.restype = karpa._CTYPES[export.result]
    function.argtypes = [karpa._CTYPES[t] for t, _ in export.parameters]
    return function


def repeated(function, *args):
    """ONE_CALLS calls of function(*args), the loop the same for both sides."""
    if len(args) == 1:
        (a,) = args

        def job():
            for _ in itertools.repeat(None, ONE_CALLS):
                function(a)
    else:
        a, b = args

        def job():
            for _ in itertools.repeat(None, ONE_CALLS):
                function(a, b)
    return job


def call_pairs():
    """One small call through the package against the bare ctypes call of its export.

    Each wrapper is timed as the package runs it (with karpa._native when it is
    in use) and as its pure-Python wrapper; the bare call gets the export's own
    arguments (list text as bytes), the wrapper the Python values. ratio = bare
    time / package time: 2 or more is half the bare call's time or less.
    """
    seq, cur, dt, crypto = karpa.seq, karpa.curried, karpa.datetime, karpa.crypto
    cases = [
        (seq, "sort_int", "seq_sort_int", ([3, 1, 2],), (b"3,1,2", 0)),
        (cur, "mean_int", "cur_mean_int", ([1, 2, 2],), (b"1,2,2",)),
        (dt, "is_leap_year", "dt_is_leap_year", (2024,), (2024,)),
        (dt, "ts_to_ymdhms", "dt_ts_to_ymdhms", (1700000000,), (1700000000,)),
        (crypto, "sha256_hash", "sha256_hash", (b"abc",), (b"abc", 3)),
    ]
    eq = lambda a, b: True  # noqa: E731  (different forms of one answer; the tests compare the paths)
    rows = []
    for module, name, export, args, bare_args in cases:
        bare = bare_export(export)
        shown = ", ".join(repr(a) for a in bare_args)
        paths = [("karpa._native", getattr(module, name))] if karpa.native else []
        paths.append(("pure Python", module._PYTHON[name]))
        for path, function in paths:
            rows.append((f"call/{name}/{path}",
                         f"{export}, one call {module.__name__.split('.')[1]}.{name}({', '.join(map(repr, args))})"
                         f" through {path}",
                         f"ctypes: {export}({shown})", repeated(function, *args), repeated(bare, *bare_args),
                         ONE_CALLS, "items", eq, "ctypes"))
    return rows


def list_pairs():
    """A million Python values through the package: against sorted() and the export on the same text."""
    rng = random.Random(27)
    ints = [rng.randint(-10**12, 10**12) for _ in range(ITEMS)]
    floats = [rng.uniform(-1000.0, 1000.0) for _ in range(ITEMS)]
    int_text = ",".join(map(str, ints)).encode()
    float_text = ",".join(map(repr, floats)).encode()
    sort_export, mean_export = bare_export("seq_sort_int"), bare_export("cur_mean_float")
    seq, cur = karpa.seq, karpa.curried
    path = "karpa._native" if karpa.native else "pure Python"
    return [
        ("list/sort_int/sorted", f"seq_sort_int, a list of 1M Python ints through {path}", "sorted(list)",
         lambda: seq.sort_int(ints), lambda: sorted(ints), ITEMS, "items", lambda a, b: a == b, "python"),
        ("list/sort_int/export", f"seq_sort_int, a list of 1M Python ints through {path}",
         "ctypes: seq_sort_int(list_text, 0)",
         lambda: seq.sort_int(ints), lambda: sort_export(int_text, 0), ITEMS, "items",
         lambda a, b: a == list(map(int, b.split(b","))), "export"),
        ("list/mean_float/export", f"cur_mean_float, a list of 1M Python floats through {path}",
         "ctypes: cur_mean_float(list_text)", lambda: cur.mean_float(floats), lambda: mean_export(float_text),
         ITEMS, "items", lambda a, b: a == float(b), "export"),
    ]


def cpu_seconds(job):
    start = time.process_time()
    job()
    return time.process_time() - start


def measure(repetitions, only=None):
    rows = []
    every = [pair + ("python",) for pair in pairs()] + call_pairs() + list_pairs()
    for name, export, anchor, ours, theirs, size, unit, same, anchor_kind in every:
        if only and only not in name:
            continue
        if not same(ours(), theirs()):
            raise SystemExit(f"{name}: karpa and the Python baseline disagree")
        ours_times, theirs_times = [], []
        gc.collect()
        gc.disable()
        try:
            for _ in range(repetitions):
                ours_times.append(cpu_seconds(ours))
                theirs_times.append(cpu_seconds(theirs))
        finally:
            gc.enable()
        rows.append({
            "name": name, "export": export, "anchor": anchor, "size": size, "unit": unit,
            "karpa_cpu_s": statistics.median(ours_times), "anchor_cpu_s": statistics.median(theirs_times),
            "repetitions": repetitions, "anchor_kind": anchor_kind,
        })
    return rows


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--repetitions", type=int, default=5)
    parser.add_argument("--json", action="store_true", help="print the medians as JSON")
    parser.add_argument("--filter", help="only pairs whose name contains this")
    args = parser.parse_args()
    rows = measure(args.repetitions, args.filter)
    if args.json:
        json.dump({"python": sys.version.split()[0], "native": karpa.native, "rows": rows}, sys.stdout, indent=1)
        print()
        return
    for r in rows:
        scale, label = (1e6, "MB/s") if r["unit"] == "B" else (1e6, "M items/s")
        ours = r["size"] / r["karpa_cpu_s"] / scale
        theirs = r["size"] / r["anchor_cpu_s"] / scale
        print(f"{r['name']:32s} karpa {ours:9.2f} {label:9s} python {theirs:9.2f} {label:9s}"
              f" ratio {r['anchor_cpu_s'] / r['karpa_cpu_s']:7.2f}")


if __name__ == "__main__":
    main()
