"""karpa._native against the package's Python wrappers: the same calls, the same answers and errors.

Each accelerated function is called both ways (the module's function and its
Python wrapper in ``_PYTHON``) on values, lists, buffers, list text, wrong types,
failing calls and keyword arguments; results are compared by type and repr, so
-0.0 and nan count, and errors by type, text and, for KarpaError, the export
and arguments. The extension's float printer is held to repr() itself.
"""

import array
import math
import random
import struct
import sys
import unittest
import warnings

import support  # noqa: F401  (puts the package on the path)

import karpa
from karpa import crypto, curried, seq
from karpa import datetime as kdt

try:
    import numpy
except ImportError:
    numpy = None

MODULES = (seq, curried, kdt, crypto)
NO_NATIVE = f"karpa._native is not built for {sys.executable} (a build with Python's headers makes it)"


class Fresh(list):
    """A list given as a new iterator to each call."""


def outcome(function, args, kwargs):
    args = tuple(iter(a) if isinstance(a, Fresh) else a for a in args)
    try:
        value = function(*args, **kwargs)
    except karpa.KarpaError as error:
        return ("KarpaError", error.function, error.arguments)
    except Exception as error:  # noqa: BLE001  (every error must match)
        return (type(error).__name__, str(error))
    return ("value", type(value).__name__, repr(value))


def int_lists(rng):
    yield []
    yield [0]
    yield [3, 1, 2]
    yield [-(1 << 63), (1 << 63) - 1, 0, -1]
    yield [(1 << 63)]                      # beyond 64 bits: the library refuses it
    yield [True, 2]                        # bool items go through operator.index
    yield (5, 4, 4, 3)
    yield [1, 2.5]                         # TypeError
    yield ["1"]
    yield [rng.randint(-10**12, 10**12) for _ in range(2000)]
    yield "3, 1,,2"
    yield b"3,x"
    yield "1\x002"
    yield bytearray(b"4,5")
    yield Fresh([9, 8])
    yield array.array("q", [5, -3, 7])
    yield array.array("b", [-128, 127])
    yield array.array("Q", [0, (1 << 64) - 1])
    yield array.array("d", [1.5])
    yield 42


def float_lists(rng):
    yield []
    yield [0.1, 0.2]
    yield [-0.0, 0.0, math.nan, math.inf, -math.inf]
    yield [1, 2.5, (1 << 53) + 1]
    yield [5e-324, 1.7976931348623157e308, 1e16, 1e-5, 123456.789]
    yield [struct.unpack("d", rng.randbytes(8))[0] for _ in range(500)]
    yield [rng.uniform(-1e3, 1e3) for _ in range(2000)]
    yield [1 << 1100]                       # OverflowError in float()
    yield ["1.5"]
    yield "1.5, 2,,nan"
    yield b"1,x"
    yield array.array("d", [1.25, -0.0, math.nan])
    yield array.array("f", [0.1, 3.5])
    yield array.array("i", [1, -2])
    yield (2.0, 1.0)


def string_lists(rng):
    yield []
    yield [""]
    yield ["b", "a", "", "B", "a"]
    yield ["é", "ß", b"\xff", "x"]
    yield ["a,b"]
    yield ["a\0"]
    yield ["\udcff"]                        # a lone surrogate: surrogateescape
    yield [1]
    yield ["w%d" % rng.randrange(50) for _ in range(300)]
    yield "a, b,,c"
    yield ("x", "y", "x")
    yield Fresh(["q", "r"])


def arguments_of(kinds, rng):
    """Argument tuples for a wrapper whose argument kinds are ``kinds``."""
    pools = {
        "L": list(int_lists(rng)), "F": list(float_lists(rng)), "S": list(string_lists(rng)),
        "C": list(string_lists(rng)),
        "i": [0, 3, -1, 2, (1 << 31) - 1, 1 << 31, -(1 << 31) - 1, True, 2.0, "1"],
        "b": [False, True, 0, 2, None, [1]],
        "f": [2.0, 0.5, -0.0, math.nan, 1, "2", " 2", "", b"1.5", "x"],
        "t": ["a", "", "b,c", b"\xff", "é", "a\0", 3],
        "u": ["<", "", ",", b"[", "é", None],
        # (no large counts: a range of billions of days is more memory than a test has)
        "q": [2024, 1970, 0, -1, 1, 2, 12, 13, 29, 31, 400, 1 << 63, -(1 << 63) - 1, 1.5, "1", True],
        "y": [b"", b"abc", "abc", "clé", bytearray(b"ab"), memoryview(b"xyz"), 123, None],
    }
    for _ in range(40):
        yield tuple(rng.choice(pools[k]) for k in kinds)


class NativeAgainstPython(unittest.TestCase):
    def setUp(self):
        if not karpa.native:
            self.skipTest(NO_NATIVE)

    def compare(self, module, name, args, kwargs=None):
        kwargs = kwargs or {}
        native = outcome(getattr(module, name), args, kwargs)
        python = outcome(module._PYTHON[name], args, kwargs)
        self.assertEqual(native, python, f"{module.__name__}.{name}{args!r} {kwargs!r}")

    def test_every_accelerated_function_on_chosen_arguments(self):
        from karpa import _NATIVE_KINDS
        rng = random.Random(27)
        for module in MODULES:
            for name, (kinds, _) in _NATIVE_KINDS[module.__name__].items():
                with self.subTest(function=f"{module.__name__}.{name}"):
                    self.assertIsNot(getattr(module, name), module._PYTHON[name])
                    has_text = "text" in (module._PYTHON[name].__kwdefaults__ or {})
                    for args in arguments_of(kinds, rng):
                        self.compare(module, name, args)
                        if has_text:
                            self.compare(module, name, args, {"text": True})
                    # fewer and more arguments, unknown keywords
                    self.compare(module, name, ())
                    self.compare(module, name, (0,) * (len(kinds) + 1))
                    self.compare(module, name, (), {"nonsense": 1})

    def test_timestamps(self):
        for value in (0, -1, 1700000000, -(1 << 63), (1 << 63) - 1, 253402300800, -62135596801):
            self.compare(kdt, "ts_to_ymd", (value,))
            self.compare(kdt, "ts_to_ymdhms", (value,))
            self.compare(kdt, "is_leap_year", (value,))
            self.compare(kdt, "days_in_year", (value,))

    def test_keywords_and_defaults(self):
        self.compare(seq, "sort_int", ([3, 1, 2],), {"descending": True})
        self.compare(seq, "sort_int", ([3, 1, 2], True), {"text": True})
        self.compare(seq, "map_string", (["a", "b"],), {"prefix": "<", "suffix": ">"})
        self.compare(seq, "map_string", (["a"], ",", ""), {"text": True})
        self.compare(seq, "map_string", (["a"],))

    def test_pickled_by_name(self):
        import pickle
        for module in MODULES:
            for name in module._PYTHON:
                self.assertIs(pickle.loads(pickle.dumps(getattr(module, name))), getattr(module, name))

    def test_float_printer_is_repr(self):
        from karpa import _native
        rng = random.Random(1)
        values = [0.0, -0.0, math.nan, math.inf, -math.inf, 5e-324, 2.2250738585072014e-308, 1e16, 1e15, 0.0001,
                  1e-5, 9007199254740993.0, 1 / 3, 1e22, 1e23]
        values += [struct.unpack("d", rng.randbytes(8))[0] for _ in range(100000)]
        values += [rng.randint(1, 10**9) / 10 ** rng.randint(0, 20) for _ in range(100000)]
        for value in values:
            if _native.float_repr(value) != repr(value):
                self.fail(f"{value!r} printed as {_native.float_repr(value)}")

    def test_result_text_reader_is_float(self):
        from karpa import _native
        rng = random.Random(2)
        texts = ["0", "-0", "1", "0.0001", "1e-05", "1e+16", "123.0", "nan", "-nan", "inf", "-inf", "1.66667",
                 "5e-324", "1.7976931348623157e+308", "9007199254740993", "0.30000000000000004", "1e22", "1e23",
                 "123456789012345", "1234567890123456", "-0.000123457"]
        for _ in range(50000):
            x = struct.unpack("d", rng.randbytes(8))[0]
            texts += ["%g" % x, repr(x), "%.15g" % x, "%.6e" % (rng.random() * 10 ** rng.randint(-30, 30))]
        for text in texts:
            got, want = _native.float_of(text.encode()), float(text)
            if repr(got) != repr(want):
                self.fail(f"{text!r} read as {got!r}, float() gives {want!r}")

    def test_long_lists_leave_the_lock_to_other_threads(self):
        # Above 64 KiB of text the call runs without the GIL; results stay the same.
        rng = random.Random(3)
        values = [rng.randint(-10**15, 10**15) for _ in range(50000)]
        self.assertEqual(seq.sort_int(values), sorted(values))
        floats = [rng.uniform(-1, 1) for _ in range(20000)]
        self.assertEqual(seq.reduce_sum_float(floats), seq._PYTHON["reduce_sum_float"](floats))


@unittest.skipIf(numpy is None, f"numpy is not installed for {sys.executable} (Debian: python3-numpy)")
class Buffers(unittest.TestCase):
    """numpy arrays are read through the buffer protocol; the Python path iterates them."""

    def setUp(self):
        if not karpa.native:
            self.skipTest(NO_NATIVE)

    def compare(self, module, name, *args):
        self.assertEqual(outcome(getattr(module, name), args, {}), outcome(module._PYTHON[name], args, {}),
                         f"{module.__name__}.{name}{args!r}")

    def test_integer_and_float_arrays(self):
        warnings.simplefilter("ignore", DeprecationWarning)  # numpy's, for bool items taken as indexes
        rng = numpy.random.default_rng(5)
        ints = rng.integers(-10**15, 10**15, 5000, dtype=numpy.int64)
        floats = rng.standard_normal(5000) * 10.0 ** rng.integers(-30, 30, 5000)
        for values in (ints, ints[::3], ints.astype(numpy.int32), ints.astype(numpy.uint64), ints[:0],
                       ints.reshape(50, 100), numpy.array([True, False])):
            self.compare(seq, "sort_int", values)
            self.compare(curried, "sum_int", values)
            self.compare(curried, "mean_float", values)
        for values in (floats, floats[::-2], floats.astype(numpy.float32), numpy.array([-0.0, numpy.nan, numpy.inf]),
                       floats.reshape(100, 50)):
            self.compare(seq, "reduce_sum_float", values)
            self.compare(curried, "max_float", values)
            self.compare(curried, "minmax_float", values)
            self.compare(seq, "sort_int", values)
        self.assertEqual(seq.sort_int(ints), sorted(ints.tolist()))
        self.assertEqual(curried.sum_float(floats), curried._PYTHON["sum_float"](floats.tolist()))


if __name__ == "__main__":
    unittest.main()
