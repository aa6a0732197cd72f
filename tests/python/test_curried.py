import functools
import math
import operator
import random
import statistics
import unittest

from support import INT64_MAX, g

import karpa
from karpa import curried

NAN = float("nan")


class KnownAnswers(unittest.TestCase):
    # (function, arguments, exact result text)
    CASES = [
        (curried.sum_int, ("1, 2 ,,3",), "6"),
        (curried.sum_int, (",,",), "0"),
        (curried.sum_int, ("9223372036854775807,-1,1",), "9223372036854775807"),
        (curried.mean_int, ("1,2",), "1.5"),
        (curried.mean_int, ("1,2,2",), "1.66667"),
        (curried.mean_int, ("1000000",), "1e+06"),
        (curried.mean_int, ("2,2",), "2"),
        (curried.variance_int, ("1,2,3,4",), "1.25"),
        (curried.stddev_int, ("1,2,3,4",), "1.11803"),
        (curried.median_int, ("3,1,2",), "2"),
        (curried.median_int, ("4,1,3,2",), "2.5"),
        (curried.minmax_int, ("3,-1,2",), "-1,3"),
        (curried.minmax_int, ("5",), "5,5"),
        (curried.minmax_int, ("",), ","),
        (curried.min_int, ("",), "0"),
        (curried.max_int, ("7,9,8",), "9"),
        (curried.dot_int, ("1,2,3", "4,5"), "14"),
        (curried.dot_int, ("", "1,2"), "0"),
        (curried.l2norm_int, ("3,4",), "5"),
        (curried.sum_float, ("0.1,0.2",), "0.30000000000000004"),
        (curried.mean_float, ("0.1,0.2",), "0.15"),
        (curried.sum_float, ("-0.0",), "0.0"),
        (curried.min_float, ("-0.0,0.0",), "-0.0"),
        (curried.min_float, ("0.0,-0.0",), "0.0"),
        (curried.min_float, ("nan,1",), "nan"),
        (curried.min_float, ("1,nan",), "1.0"),
        (curried.max_float, ("",), "0.0"),
        (curried.dot_float, ("", "1"), "0.0"),
        (curried.minmax_float, ("",), ","),
        (curried.minmax_float, ("2.5,-1",), "-1.0,2.5"),
        (curried.median_float, ("4,1,3,2",), "2.5"),
        (curried.variance_float, ("",), "0"),
        (curried.l2norm_float, ("1e200,1e200",), "inf"),
        (curried.distinct_int, ("3, 1,3 ,2,1",), "3,1,2"),
        (curried.distinct_int, ("1,+1,01",), "1"),
        (curried.distinct_int, (" , ",), ""),
        (curried.count_int, ("1,2,1,1", 1), "3"),
        (curried.count_int, ("-1,1", -1), "1"),
        (curried.distinct_string, ("b,a,b, a",), "b,a, a"),
        (curried.distinct_string, ("a,,b,,",), "a,,b"),
        (curried.count_string, ("a,b,a", "a"), "2"),
        (curried.count_string, ("a, a", "a"), "1"),
        (curried.count_string, ("", ""), "1"),
        (curried.union_string, ("a,b,a", "c,b,d"), "a,b,c,d"),
        (curried.union_string, ("a", ""), "a,"),
        (curried.union_string, ("", "a"), ",a"),
        (curried.intersect_string, ("a,b,a,c", "c,a"), "a,c"),
        (curried.intersect_string, ("a", ""), ""),
        (curried.diff_string, ("a,b,a,c", "b"), "a,a,c"),
        (curried.diff_string, ("a,b", ""), "a,b"),
    ]

    def test_known_answers(self):
        for function, args, expected in self.CASES:
            with self.subTest(function=function.__name__, args=args):
                self.assertEqual(function(*args, text=True), expected)

    def test_python_values(self):
        self.assertEqual(curried.mean_int([1, 2]), 1.5)
        self.assertEqual(curried.mean_int([1, 2, 2]), 1.66667)
        self.assertEqual(curried.minmax_int([3, -1, 2]), (-1, 3))
        self.assertEqual(curried.minmax_int([]), (None, None))
        self.assertEqual(curried.minmax_float([2.5, -1]), (-1.0, 2.5))
        self.assertEqual(curried.dot_int([1, 2, 3], [4, 5]), 14)
        self.assertEqual(curried.sum_float([0.1, 0.2]), 0.30000000000000004)
        self.assertTrue(math.isnan(curried.min_float([NAN, 1.0])))
        self.assertEqual(curried.l2norm_int([3, 4]), 5.0)
        self.assertEqual(curried.distinct_int([3, 1, 3, 2, 1]), [3, 1, 2])
        self.assertEqual(curried.count_int([1, 2, 1, 1], 1), 3)
        self.assertEqual(curried.union_string(["a", "b", "a"], ["c", "b", "d"]), ["a", "b", "c", "d"])
        self.assertEqual(curried.union_string(["a"], [""]), ["a", ""])
        self.assertEqual(curried.diff_string(["a", "b", "a", "c"], ["b"]), ["a", "a", "c"])
        self.assertEqual(curried.distinct_string(["é", "e", "é"]), ["é", "e"])

    def test_empty_python_collections_are_empty(self):
        # As text, "" is one empty item; an empty Python list has no items at all.
        self.assertEqual(curried.union_string([], ["a", "b", "a"]), ["a", "b"])
        self.assertEqual(curried.union_string(["a", "a"], []), ["a"])
        self.assertEqual(curried.union_string([], []), [])
        self.assertEqual(curried.union_string(iter([]), iter(["x"])), ["x"])
        self.assertEqual(curried.intersect_string([], ["a"]), [])
        self.assertEqual(curried.intersect_string(["a", ""], []), [])
        self.assertEqual(curried.diff_string(["a", "", "a"], [], text=True), "a,,a")
        self.assertEqual(curried.diff_string([], ["a"]), [])
        self.assertEqual(curried.count_string([], ""), 0)
        self.assertEqual(curried.count_string([""], ""), 1)
        self.assertEqual(curried.count_string("", ""), 1)


class Oracles(unittest.TestCase):
    def test_integer_statistics_against_the_statistics_module(self):
        rng = random.Random(31337)
        for _ in range(80):
            items = [rng.randint(-1000, 1000) for _ in range(rng.randrange(1, 40))]
            with self.subTest(items=items):
                self.assertEqual(curried.sum_int(items), sum(items))
                # the integer sum is exact here, so the mean is the correctly rounded quotient
                self.assertEqual(curried.mean_int(items, text=True), g(statistics.fmean(items)))
                self.assertEqual(curried.median_int(items, text=True), g(statistics.median(items)))
                self.assertEqual(curried.variance_int(items, text=True), g(statistics.pvariance(items)))
                self.assertEqual(curried.stddev_int(items, text=True), g(statistics.pstdev(items)))
                self.assertEqual(curried.minmax_int(items), (min(items), max(items)))
                self.assertEqual(curried.l2norm_int(items, text=True), g(math.hypot(*items)))
                other = [rng.randint(-1000, 1000) for _ in range(rng.randrange(0, 40))]
                self.assertEqual(curried.dot_int(items, other), sum(a * b for a, b in zip(items, other)))
                self.assertEqual(curried.distinct_int(items), list(dict.fromkeys(items)))
                value = rng.choice(items)
                self.assertEqual(curried.count_int(items, value), items.count(value))

    def test_float_statistics_in_the_same_operation_order(self):
        rng = random.Random(4242)
        for _ in range(80):
            items = [rng.uniform(-1e3, 1e3) for _ in range(rng.randrange(1, 40))]
            other = [rng.uniform(-10, 10) for _ in range(rng.randrange(1, 40))]
            total = functools.reduce(operator.add, items, 0.0)
            mean = total / len(items)
            variance = functools.reduce(operator.add, ((x - mean) * (x - mean) for x in items), 0.0) / len(items)
            with self.subTest(items=items):
                self.assertEqual(curried.sum_float(items), total)
                self.assertEqual(curried.mean_float(items, text=True), g(mean))
                self.assertEqual(curried.variance_float(items, text=True), g(variance))
                self.assertEqual(curried.stddev_float(items, text=True), g(math.sqrt(variance)))
                self.assertEqual(curried.median_float(items, text=True), g(statistics.median(items)))
                self.assertEqual(curried.minmax_float(items), (min(items), max(items)))
                self.assertEqual(curried.dot_float(items, other),
                                 functools.reduce(operator.add, (a * b for a, b in zip(items, other)), 0.0))
                # statistics agrees to six digits: the operation order matters only in the last bits
                self.assertEqual(curried.mean_float(items, text=True), g(statistics.fmean(items)))

    def test_string_sets_against_python(self):
        rng = random.Random(5)
        for _ in range(80):
            a = [rng.choice(["a", "b", "c", "", " a", "é"]) for _ in range(rng.randrange(1, 10))]
            b = [rng.choice(["a", "b", "d", "", "é"]) for _ in range(rng.randrange(1, 10))]
            with self.subTest(a=a, b=b):
                self.assertEqual(curried.union_string(a, b, text=True), ",".join(dict.fromkeys(a + b)))
                self.assertEqual(curried.intersect_string(a, b, text=True),
                                 ",".join(dict.fromkeys(x for x in a if x in b)))
                self.assertEqual(curried.diff_string(a, b, text=True), ",".join(x for x in a if x not in b))
                self.assertEqual(curried.count_string(a, "a"), a.count("a"))
                if a != [""]:
                    self.assertEqual(curried.distinct_string(a, text=True), ",".join(dict.fromkeys(a)))


class Errors(unittest.TestCase):
    def test_failures_name_the_export(self):
        cases = [
            (curried.mean_int, ("a,1",), "cur_mean_int('a,1')"),
            (curried.sum_int, ([INT64_MAX, 1, -1],), "cur_sum_int('9223372036854775807,1,-1')"),
            (curried.dot_int, ([INT64_MAX], [2]), "cur_dot_int('9223372036854775807', '2')"),
            (curried.median_float, ("1,x",), "cur_median_float('1,x')"),
            (curried.distinct_int, ("1,x",), "cur_distinct_int('1,x')"),
            (curried.count_int, ("1.5", 1), "cur_count_int('1.5', 1)"),
        ]
        for function, args, named in cases:
            with self.subTest(function=function.__name__):
                with self.assertRaises(karpa.KarpaError) as caught:
                    function(*args)
                self.assertIn(named, str(caught.exception))


if __name__ == "__main__":
    unittest.main()
