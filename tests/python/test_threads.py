import datetime as std
import hashlib
import hmac
import random
import threading
import unittest

from support import PACKAGE_ROOT, g

import karpa
from karpa import crypto, curried, seq
from karpa import datetime as kdt

THREADS = 8
ROUNDS = 300


def date_text(d):
    return f"{d.year}-{d.month:02d}-{d.day:02d}"


def worker(index, barrier, problems):
    rng = random.Random(1000 + index)
    barrier.wait()
    try:
        for round_ in range(ROUNDS):
            items = [rng.randint(-10**6, 10**6) for _ in range(rng.randrange(0, 60))]
            expect = [
                (seq.sort_int, (items,), sorted(items)),
                (seq.unique_int, (items,), list(dict.fromkeys(items))),
                (curried.mean_int, (items,), float(g(sum(items) / len(items))) if items else 0.0),
                (seq.sort_string, ([str(x) for x in items],), sorted(map(str, items))),
            ]
            data = rng.randbytes(rng.randrange(0, 200))
            key = rng.randbytes(rng.randrange(0, 100))
            expect.append((crypto.sha256_hash, (data,),
                           hashlib.sha256(data).hexdigest() if not data else hashlib.sha256(data).hexdigest().upper()))
            expect.append((crypto.hmac_md5, (data, key), hmac.new(key, data, hashlib.md5).hexdigest().upper()))
            day = std.date.fromordinal(rng.randint(700000, 760000))
            shift = rng.randint(-1000, 1000)
            expect.append((kdt.add_days, (day.year, day.month, day.day, shift),
                           date_text(day + std.timedelta(days=shift))))
            expect.append((kdt.day_of_week, (day.year, day.month, day.day), day.isoweekday()))
            for function, args, wanted in expect:
                got = function(*args)
                if got != wanted:
                    problems.append((index, round_, function.__name__, wanted, got))
            # failures interleaved with successes on the same thread
            failing = [
                (seq.sort_int, (f"{round_},x",), "seq_sort_int"),
                (curried.sum_int, ([2**63 - 1, index + 1],), "cur_sum_int"),
                (kdt.ymd_to_ts, (2023, 2, 29), "dt_ymd_to_ts"),
                (seq.take_string, (["a"], -1 - index), "seq_take_string"),
            ]
            for function, args, export in failing:
                try:
                    function(*args)
                    problems.append((index, round_, export, "KarpaError", "a result"))
                except karpa.KarpaError as error:
                    if error.function != export:
                        problems.append((index, round_, export, "named in the error", error.function))
            if seq.reduce_sum_int(items) != sum(items):
                problems.append((index, round_, "reduce_sum_int after failures", sum(items), None))
    except Exception as error:  # anything unexpected is a failure of the test
        problems.append((index, "raised", repr(error)))


class Threads(unittest.TestCase):
    def test_eight_threads_with_exact_results_and_failures_interleaved(self):
        barrier = threading.Barrier(THREADS)
        problems = []
        threads = [threading.Thread(target=worker, args=(i, barrier, problems)) for i in range(THREADS)]
        for thread in threads:
            thread.start()
        for thread in threads:
            thread.join()
        self.assertEqual(problems, [])

    def test_first_use_from_many_threads_at_once_loads_once(self):
        # A fresh interpreter, so the libraries are loaded by the racing threads themselves.
        import os
        import subprocess
        import sys
        code = (
            "import threading, karpa\n"
            "b = threading.Barrier(8); out = []\n"
            "def f():\n"
            "    b.wait(); out.append((karpa.seq.sort_int('3,1,2'), karpa.crypto.md5_hash(b'abc')))\n"
            "ts = [threading.Thread(target=f) for _ in range(8)]\n"
            "[t.start() for t in ts]; [t.join() for t in ts]\n"
            "assert out == [([1, 2, 3], '900150983CD24FB0D6963F7D28E17F72')] * 8, out\n"
            "print('ok')\n"
        )
        env = dict(os.environ, PYTHONPATH=PACKAGE_ROOT)
        result = subprocess.run([sys.executable, "-c", code], env=env, capture_output=True, text=True, timeout=120)
        self.assertEqual((result.returncode, result.stdout.strip()), (0, "ok"), result.stderr)


if __name__ == "__main__":
    unittest.main()
