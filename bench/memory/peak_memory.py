#!/usr/bin/env python3
"""Peak memory of the list exports on large inputs.

Each export runs once in a child process of its own on a list text of about
SIZE bytes (300 MB unless given): the memory the call adds at its peak is the
child's high-water mark of resident memory during the call (VmHWM, reset just
before it; getrusage ru_maxrss where it cannot be reset) less its resident
memory just before the call, which already holds the input. The table gives that
figure and its ratio to the input size, for these shapes of each list: many
one-character items (150 million at 300 MB) and distinct items of about eight
bytes; string lists also of empty items only (",,,...") and of eight-byte
items that all differ.

    python3 bench/memory/peak_memory.py [--size BYTES] [--lib DIR] [--only EXPORT ...]
"""

import argparse
import ctypes
import os
import random
import resource
import shutil
import sys
import tempfile
import time

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, os.pardir))

# (library, export, kinds of its arguments after the list: "int" or "list")
EXPORTS = [
    ("seq", "seq_sort_int", "int", ["int"]), ("seq", "seq_unique_int", "int", []),
    ("seq", "seq_reverse_int", "int", []), ("seq", "seq_reduce_sum_int", "int", []),
    ("curried", "cur_median_int", "int", []), ("curried", "cur_distinct_int", "int", []),
    ("seq", "seq_sort_float", "float", ["int"]), ("seq", "seq_unique_float", "float", []),
    ("curried", "cur_median_float", "float", []), ("curried", "cur_variance_float", "float", []),
    ("seq", "seq_sort_string", "string", ["int"]), ("seq", "seq_unique_string", "string", []),
    ("seq", "seq_reverse_string", "string", []), ("seq", "seq_map_string", "string", ["text", "text"]),
    ("curried", "cur_distinct_string", "string", []), ("curried", "cur_union_string", "string", ["list"]),
    ("curried", "cur_intersect_string", "string", ["list"]), ("curried", "cur_diff_string", "string", ["list"]),
]


SHAPES = {"int": ("short", "distinct"), "float": ("short", "distinct"),
          "string": ("short", "distinct", "empty", "unique8")}
LABELS = {"short": "one-character items", "distinct": "distinct items", "empty": "empty items",
          "unique8": "all different, eight bytes"}


def list_text(kind, shape, size):
    """About `size` bytes of list text in one of the SHAPES."""
    if shape == "short":
        item = {"int": b"7,", "float": b"5,", "string": b"a,"}[kind]
        return (item * (size // 2)).rstrip(b",")
    if shape == "empty":
        return b"," * (size - 1)
    if shape == "unique8":
        # i * an odd number is a bijection modulo 2^32: every item differs.
        return ",".join(format((i * 2654435761) & 0xFFFFFFFF, "08x") for i in range(size // 9)).encode()
    rng = random.Random(1)
    count = size // 9
    if kind == "string":
        letters = "abcdefghijklmnopqrstuvwxyz"
        base = "".join(rng.choice(letters) for _ in range(4))
        items = (base + format(i, "04x")[-4:] + letters[i % 26] for i in range(count))
        return ",".join(items)[:size].rsplit(",", 1)[0].encode()
    if kind == "int":
        return ",".join(str(rng.randrange(10**7, 10**8)) for _ in range(count)).encode()
    return ",".join("%.3f" % (rng.randrange(10**6) / 1000.0) for _ in range(count)).encode()


def resident_kib():
    with open("/proc/self/statm") as f:
        return int(f.read().split()[1]) * os.sysconf("SC_PAGE_SIZE") // 1024


def reset_peak():
    try:
        with open("/proc/self/clear_refs", "w") as f:
            f.write("5")
        return True
    except OSError:
        return False


def peak_kib():
    with open("/proc/self/status") as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


def measure(libdir, lib, name, kind, extra, path):
    read, write = os.pipe()
    pid = os.fork()
    if pid == 0:
        os.close(read)
        with open(path, "rb") as f:
            text = f.read()
        so = ctypes.CDLL(os.path.join(libdir, "libkarpa_%s.so" % lib))
        fn = getattr(so, name)
        fn.restype = ctypes.c_void_p  # the result's address: a copy into Python would count as the call's
        args = [text]
        for e in extra:
            args.append(0 if e == "int" else b"x" if e == "text" else text[: len(text) // 2])
        fn.argtypes = [ctypes.c_char_p if not isinstance(a, int) else ctypes.c_int for a in args]
        # The high-water mark is reset just before the call where the system
        # allows it, so that making the arguments does not hide the call's peak.
        reset = reset_peak()
        before = resident_kib()
        started = time.time()
        result = fn(*args)
        seconds = time.time() - started
        peak = peak_kib() if reset else resource.getrusage(resource.RUSAGE_SELF).ru_maxrss
        os.write(write, ("%d %d %.1f %d\n" % (len(text), peak - before, seconds, result is not None)).encode())
        os._exit(0)
    os.close(write)
    line = os.read(read, 200).decode()
    os.waitpid(pid, 0)
    length, added, seconds, ok = line.split()
    return int(length), max(0, int(added)) * 1024, float(seconds), ok == "1"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--size", type=int, default=300_000_000)
    parser.add_argument("--lib", default=os.path.join(ROOT, "build", "lib"))
    parser.add_argument("--only", nargs="*", help="measure these exports alone")
    args = parser.parse_args()
    print("| export | list | input MB | added at peak, MB | x input | seconds |")
    print("|---|---|---:|---:|---:|---:|")
    worst = (0.0, "")
    # The texts are made here, once, and read by each child in one piece, so
    # that what making them took does not count in a child's high-water mark.
    workdir = tempfile.mkdtemp(prefix="karpa-peak-")
    paths = {}
    kinds = {kind for _, name, kind, _ in EXPORTS if not args.only or name in args.only}
    for kind in kinds:
        for shape in SHAPES[kind]:
            paths[kind, shape] = os.path.join(workdir, kind + "-" + shape)
            with open(paths[kind, shape], "wb") as f:
                f.write(list_text(kind, shape, args.size))
    for lib, name, kind, extra in EXPORTS:
        if args.only and name not in args.only:
            continue
        for shape in SHAPES[kind]:
            length, added, seconds, ok = measure(args.lib, lib, name, kind, extra, paths[kind, shape])
            ratio = added / length
            worst = max(worst, (ratio, "%s (%s items)" % (name, shape)))
            label = LABELS[shape]
            print("| `%s` | %s | %.0f | %.0f | %.2f | %.1f%s |" % (name, label, length / 1e6, added / 1e6, ratio,
                                                               seconds, "" if ok else " (failed)"))
            sys.stdout.flush()
    print("\nworst: %s at %.2f times its input" % (worst[1], worst[0]))
    shutil.rmtree(workdir)


if __name__ == "__main__":
    main()
