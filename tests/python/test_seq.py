import functools
import math
import operator
import random
import unittest

from support import INT64_MAX, INT64_MIN, WHITESPACE, g

import karpa
from karpa import seq

NAN, INF = float("nan"), float("inf")


class IntKnownAnswers(unittest.TestCase):
    # (function, list text, further arguments, exact result text)
    CASES = [
        (seq.map_int, "1, 2,3", (10,), "10,20,30"),
        (seq.map_int, "1,,2", (-1,), "-1,-2"),
        (seq.map_int, "", (5,), ""),
        (seq.filter_int, "5,1,7,3", (3,), "5,7"),
        (seq.filter_int, "1,2", (9,), ""),
        (seq.count_int, "5,1,7,3", (3,), "2"),
        (seq.count_int, "3,3", (3,), "0"),
        (seq.reduce_sum_int, "-9223372036854775808", (), "-9223372036854775808"),
        (seq.reduce_sum_int, "1_000,+5,007", (), "1012"),
        (seq.reduce_max_int, "", (), "0"),
        (seq.reduce_min_int, "4,-2,9", (), "-2"),
        (seq.sort_int, " 3,1, 2", (False,), "1,2,3"),
        (seq.sort_int, "3,1,2", (True,), "3,2,1"),
        (seq.unique_int, "3,1,3,2,1", (), "3,1,2"),
        (seq.reverse_int, "1,2,3", (), "3,2,1"),
        (seq.take_int, "1,2,3", (2,), "1,2"),
        (seq.take_int, "1,2,3", (5,), "1,2,3"),
        (seq.take_int, "1,2,3", (0,), ""),
        (seq.skip_int, "1,2,3", (1,), "2,3"),
        (seq.skip_int, "1,2,3", (10,), ""),
    ]

    def test_text_in_text_out(self):
        for function, text, args, expected in self.CASES:
            with self.subTest(function=function.__name__, text=text, args=args):
                self.assertEqual(function(text, *args, text=True), expected)

    def test_python_values_match_the_text(self):
        for function, text, args, expected in self.CASES:
            with self.subTest(function=function.__name__, text=text, args=args):
                items = [int(p) for p in text.split(",") if p.strip()]
                result = function(items, *args)
                if isinstance(result, list):
                    self.assertEqual(result, [int(p) for p in expected.split(",") if p])
                else:
                    self.assertEqual(result, int(expected))
                self.assertEqual(function(text.encode(), *args), result)

    def test_examples_from_the_docs(self):
        self.assertEqual(seq.sort_int([3, 1, 2]), [1, 2, 3])
        self.assertEqual(seq.sort_int("3,1,2"), [1, 2, 3])
        self.assertEqual(seq.sort_int((x for x in (3, 1, 2)), descending=True), [3, 2, 1])
        self.assertEqual(seq.reduce_sum_int([INT64_MAX]), INT64_MAX)
        self.assertEqual(seq.reverse_int([INT64_MIN, 0]), [0, INT64_MIN])


class IntOracles(unittest.TestCase):
    def setUp(self):
        self.random = random.Random(20240228)

    def lists(self, count=60):
        for _ in range(count):
            size = self.random.randrange(0, 40)
            yield [self.random.randint(-50, 50) for _ in range(size)]

    def test_against_python(self):
        for items in self.lists():
            with self.subTest(items=items):
                t = self.random.randint(-60, 60)
                self.assertEqual(seq.sort_int(items), sorted(items))
                self.assertEqual(seq.sort_int(items, True), sorted(items, reverse=True))
                self.assertEqual(seq.unique_int(items), list(dict.fromkeys(items)))
                self.assertEqual(seq.filter_int(items, t), [x for x in items if x > t])
                self.assertEqual(seq.count_int(items, t), sum(1 for x in items if x > t))
                self.assertEqual(seq.map_int(items, t), [x * t for x in items])
                self.assertEqual(seq.reduce_sum_int(items), sum(items))
                self.assertEqual(seq.reduce_max_int(items), max(items, default=0))
                self.assertEqual(seq.reduce_min_int(items), min(items, default=0))
                self.assertEqual(seq.reverse_int(items), items[::-1])
                n = self.random.randrange(0, 45)
                self.assertEqual(seq.take_int(items, n), items[:n])
                self.assertEqual(seq.skip_int(items, n), items[n:])

    def test_running_sum_overflow_matches_a_checked_python_sum(self):
        big = [INT64_MAX, 1, -1]
        with self.assertRaises(karpa.KarpaError):
            seq.reduce_sum_int(big)
        self.assertEqual(seq.reduce_sum_int([INT64_MAX, -1, 1]), INT64_MAX)
        for _ in range(200):
            items = [self.random.choice([INT64_MAX, INT64_MIN, 1 << 62, -(1 << 62), 7]) for _ in range(4)]
            partial, overflow = items[0], False
            for x in items[1:]:
                partial += x
                overflow = overflow or not INT64_MIN <= partial <= INT64_MAX
            with self.subTest(items=items):
                if overflow:
                    self.assertRaises(karpa.KarpaError, seq.reduce_sum_int, items)
                else:
                    self.assertEqual(seq.reduce_sum_int(items), sum(items))


class FloatTests(unittest.TestCase):
    CASES = [
        (seq.map_float, "1.5, 2", ("2",), "3,4"),
        (seq.map_float, "1e308", ("10",), "inf"),
        (seq.map_float, "", ("2",), ""),
        (seq.filter_float, "0.5,1.5,nan,2", ("1",), "1.5,2"),
        (seq.count_float, "0.5,1.5,nan,2", ("1",), "2"),
        (seq.count_float, "1,2", ("nan",), "0"),
        (seq.reduce_sum_float, "0.1,0.2", (), "0.30000000000000004"),
        (seq.reduce_sum_float, "", (), "0.0"),
        (seq.reduce_sum_float, "-0.0", (), "0.0"),
        (seq.reduce_sum_float, "inf,-inf", (), "nan"),
        (seq.reduce_max_float, "nan,1,2", (), "nan"),
        (seq.reduce_max_float, "1,nan,2", (), "2.0"),
        (seq.reduce_min_float, "", (), "0.0"),
        (seq.sort_float, "3,1.5,2", (False,), "1.5,2,3"),
        (seq.sort_float, "3,1.5,2", (True,), "3,2,1.5"),
        (seq.sort_float, "0.0,-0.0", (True,), "0,-0"),
        (seq.sort_float, "nan,1", (False,), "1,nan"),
        (seq.sort_float, "1,nan", (False,), "nan,1"),
        (seq.unique_float, "1,1.0,2", (), "1,2"),
        (seq.unique_float, "nan,nan", (), "nan,nan"),
        (seq.unique_float, "-0.0,0.0", (), "-0"),
        (seq.reverse_float, "3.14159265,1", (), "1,3.14159"),
    ]

    def test_known_answers(self):
        for function, text, args, expected in self.CASES:
            with self.subTest(function=function.__name__, text=text, args=args):
                self.assertEqual(function(text, *args, text=True), expected)

    def test_python_values(self):
        self.assertEqual(seq.map_float([1.5, 2], 2), [3.0, 4.0])
        self.assertEqual(seq.map_float([1e308], 10.0), [INF])
        self.assertEqual(seq.reduce_sum_float([0.1, 0.2]), 0.30000000000000004)
        self.assertEqual(seq.reverse_float([3.14159265, 1]), [1.0, 3.14159])
        self.assertTrue(math.isnan(seq.reduce_max_float([NAN, 1.0])))
        self.assertEqual(seq.count_float([0.5, 1.5, NAN, 2], 1), 2)
        self.assertEqual(seq.filter_float([0.5, 1.5, NAN, 2], "1"), [1.5, 2.0])
        self.assertEqual(seq.reduce_min_float([-0.0, 0.0], text=True), "-0.0")
        self.assertEqual(seq.sort_float([NAN, 1.0], text=True), "1,nan")

    def test_every_float_survives_the_trip_in(self):
        # repr() of every value reads back exactly: the exact reductions return it unchanged.
        rng = random.Random(7)
        values = [5e-324, 2.2250738585072014e-308, 1.7976931348623157e308, 0.1, 1 / 3, 1e22, 1e-7, -0.0]
        values += [rng.uniform(-1e6, 1e6) for _ in range(50)]
        values += [math.ldexp(rng.random(), rng.randint(-1070, 1020)) for _ in range(50)]
        for x in values:
            with self.subTest(x=x):
                self.assertEqual(seq.reduce_max_float([x]).hex(), x.hex())

    def test_against_python(self):
        rng = random.Random(1234)
        for _ in range(60):
            items = [rng.choice([rng.uniform(-100, 100), float(rng.randint(-5, 5)), -0.0, 0.0])
                     for _ in range(rng.randrange(0, 30))]
            t = rng.uniform(-50, 50)
            with self.subTest(items=items, t=t):
                self.assertEqual(seq.sort_float(items, text=True), ",".join(map(g, sorted(items))))
                self.assertEqual(seq.sort_float(items, True, text=True),
                                 ",".join(map(g, sorted(items, reverse=True))))
                self.assertEqual(seq.map_float(items, t, text=True), ",".join(g(x * t) for x in items))
                self.assertEqual(seq.filter_float(items, t, text=True), ",".join(g(x) for x in items if x > t))
                self.assertEqual(seq.count_float(items, t), sum(1 for x in items if x > t))
                # left to right from +0.0, one rounding per addition
                self.assertEqual(seq.reduce_sum_float(items), functools.reduce(operator.add, items, 0.0))
                if items:
                    self.assertEqual(seq.reduce_max_float(items).hex(), max(items).hex())
                    self.assertEqual(seq.reduce_min_float(items).hex(), min(items).hex())
                self.assertEqual(seq.reverse_float(items, text=True), ",".join(map(g, reversed(items))))

    def test_bad_float_factor_fails(self):
        for factor in (" 2", "", "x", "1e"):
            with self.subTest(factor=factor):
                with self.assertRaises(karpa.KarpaError) as caught:
                    seq.map_float([1.0], factor)
                self.assertIn("seq_map_float", str(caught.exception))


class StringTests(unittest.TestCase):
    CASES = [
        (seq.map_string, "a, b,,c", ("<", ">"), "<a>,<b>,<>,<c>"),
        (seq.map_string, "", ("<", ">"), ""),
        (seq.filter_string, "ab, c,  ,def", (2,), "ab,def"),
        (seq.filter_string, " ab ,c", (2,), " ab "),
        (seq.filter_string, ",", (0,), ","),
        (seq.count_string, "ab, c,  ,def", (2,), "2"),
        (seq.count_string, ",", (0,), "2"),
        (seq.count_string, "", (0,), "0"),
        (seq.sort_string, "b,a,,B", (False,), ",B,a,b"),
        (seq.sort_string, "b,a,,B", (True,), "b,a,B,"),
        (seq.sort_string, "b, a", (False,), " a,b"),
        (seq.unique_string, "a,b,a, a", (), "a,b, a"),
        (seq.unique_string, "x,,x,", (), "x,"),
        (seq.reverse_string, "a,", (), ",a"),
        (seq.take_string, "a,b,c", (2,), "a,b"),
        (seq.take_string, "", (-1,), ""),
        (seq.skip_string, "a,b,c", (1,), "b,c"),
        (seq.skip_string, "a,b,c", (3,), ""),
    ]

    def test_known_answers(self):
        for function, text, args, expected in self.CASES:
            with self.subTest(function=function.__name__, text=text, args=args):
                self.assertEqual(function(text, *args, text=True), expected)

    def test_python_values(self):
        self.assertEqual(seq.map_string(["a", " b", "", "c"], "<", ">"), ["<a>", "<b>", "<>", "<c>"])
        self.assertEqual(seq.sort_string(["b", "a", "", "B"]), ["", "B", "a", "b"])
        self.assertEqual(seq.filter_string(["", ""], 0), ["", ""])
        self.assertEqual(seq.count_string(["ab", " c", "  ", "def"], 2), 2)
        self.assertEqual(seq.take_string([], -1), [])

    def test_non_ascii_items_sort_by_utf8_bytes(self):
        items = ["é", "e", "z", "日本", "Ω", "", " a"]
        self.assertEqual(seq.sort_string(items), sorted(items, key=lambda s: s.encode()))
        self.assertEqual(seq.map_string(["é "], "«", "»"), ["«é»"])
        self.assertEqual(seq.filter_string(["é", "ab"], 2), ["é", "ab"])  # lengths count bytes
        self.assertEqual(seq.unique_string([b"\xff", b"\xff", b"a"]), ["\udcff", "a"])

    def test_against_python(self):
        rng = random.Random(99)
        alphabet = ["a", "b", "B", " ", "\t", "é", "ß"]
        for _ in range(60):
            items = ["".join(rng.choice(alphabet) for _ in range(rng.randrange(0, 4)))
                     for _ in range(rng.randrange(1, 25))]
            if items == [""]:
                continue  # travels as the empty text, read as no items
            n = rng.randrange(0, 5)
            stripped = [len(s.strip(WHITESPACE).encode()) for s in items]
            with self.subTest(items=items, n=n):
                self.assertEqual(seq.sort_string(items), sorted(items, key=str.encode))
                self.assertEqual(seq.sort_string(items, True), sorted(items, key=str.encode, reverse=True))
                self.assertEqual(seq.unique_string(items, text=True), ",".join(dict.fromkeys(items)))
                self.assertEqual(seq.reverse_string(items, text=True), ",".join(reversed(items)))
                self.assertEqual(seq.take_string(items, n, text=True), ",".join(items[:n]))
                self.assertEqual(seq.skip_string(items, n, text=True), ",".join(items[n:]))
                self.assertEqual(seq.filter_string(items, n, text=True),
                                 ",".join(s for s, k in zip(items, stripped) if k >= n))
                self.assertEqual(seq.count_string(items, n), sum(1 for k in stripped if k >= n))
                self.assertEqual(seq.map_string(items, "[", "]", text=True),
                                 ",".join("[" + s.strip(WHITESPACE) + "]" for s in items))


class Errors(unittest.TestCase):
    def test_failures_raise_karpa_error_naming_the_export_and_arguments(self):
        cases = [
            (seq.sort_int, ("3,x", False), "seq_sort_int('3,x', 0)"),
            (seq.map_int, ([INT64_MAX], 2), "seq_map_int('9223372036854775807', 2)"),
            (seq.take_int, ([], -1), "seq_take_int('', -1)"),
            (seq.skip_int, ([1, 2], -1), "seq_skip_int('1,2', -1)"),
            (seq.reduce_sum_int, ("9223372036854775808",), "seq_reduce_sum_int"),
            (seq.reduce_sum_float, ("1,x",), "seq_reduce_sum_float('1,x')"),
            (seq.take_string, (["a"], -1), "seq_take_string('a', -1)"),
            (seq.skip_string, (["a", "b"], -1), "seq_skip_string('a,b', -1)"),
        ]
        for function, args, named in cases:
            with self.subTest(function=function.__name__, args=args):
                with self.assertRaises(karpa.KarpaError) as caught:
                    function(*args)
                self.assertIn(named, str(caught.exception))
                self.assertEqual(caught.exception.function, "seq_" + function.__name__)

    def test_error_message_shortens_long_lists(self):
        with self.assertRaises(karpa.KarpaError) as caught:
            seq.sort_int("1," * 5000 + "x")
        self.assertLess(len(str(caught.exception)), 300)

    def test_arguments_the_list_text_cannot_carry_are_refused(self):
        with self.assertRaises(ValueError):
            seq.sort_string(["a,b"])
        with self.assertRaises(ValueError):
            seq.sort_string(["a\0"])
        with self.assertRaises(ValueError):
            seq.sort_int("1\x002")
        with self.assertRaises(ValueError):
            seq.map_string(["a"], ",", "")
        self.assertEqual(seq.map_string(["a"], ",", "", text=True), ",a")
        with self.assertRaises(TypeError):
            seq.sort_int(["1", "2"])
        with self.assertRaises(TypeError):
            seq.sort_float(["1.5"])
        with self.assertRaises(TypeError):
            seq.sort_string([1])
        with self.assertRaises(OverflowError):
            seq.take_int([1], 1 << 31)
        self.assertEqual(seq.take_int([1, 2], (1 << 31) - 1), [1, 2])
        self.assertEqual(seq.map_int([1], -(1 << 31)), [-(1 << 31)])


if __name__ == "__main__":
    unittest.main()
