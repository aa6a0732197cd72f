import threading
import unittest

import support  # noqa: F401  (puts the package on the path)

import karpa
from karpa import curried, seq
from karpa import datetime as kdt
from karpa import _library_reason

DATE = "`monthday <= getDaysInMonth(month, year)` "


class Reasons(unittest.TestCase):
    """KarpaError carries the library's own kind and message, read from its report."""

    def test_kind_and_message_of_each_kind_of_failure(self):
        cases = [
            (seq.sort_int, ("3,x",), "ValueError", "invalid integer: x"),
            (seq.reduce_sum_float, ("1, 2e",), "ValueError", "invalid float: 2e"),
            (seq.reduce_sum_int, ([2**63 - 1, 1],), "OverflowDefect", "over- or underflow"),
            (seq.skip_int, ([1], -2), "IndexDefect", "index -2 not in 0 .. 0"),
            (seq.take_string, (["a"], -3), "RangeDefect", "value out of range: -3 notin 0 .. 9223372036854775807"),
            (curried.median_int, ("99999999999999999999",), "ValueError", "Parsed integer outside of valid range"),
            (kdt.ymd_to_ts, (2023, 2, 29), "AssertionDefect", "times(486, 3) " + DATE + "2023-02-29 is not a valid date"),
            (kdt.add_days, (2024, 13, 1, 0), "RangeDefect", "value out of range: 13 notin 1 .. 12"),
        ]
        for function, args, kind, message in cases:
            with self.subTest(function=function.__name__, args=args):
                with self.assertRaises(karpa.KarpaError) as caught:
                    function(*args)
                error = caught.exception
                self.assertEqual((error.kind, error.message), (kind, message))
                self.assertIn(f"failed: {message} [{kind}]", str(error))
                self.assertIn(f"Error: unhandled exception: {message} [{kind}]\n", error.report)

    def test_numeric_calendar_calls_raise_exactly_when_the_library_failed(self):
        # The oracle: the call repeated in a child process, whose TovMain reports
        # a failure; a successful call leaves it nothing to report.
        cases = [((1970, 1, 1), (1970, 1, 1)), ((2023, 2, 29), (2023, 2, 29)), ((2024, 2, 29), (2024, 2, 29)),
                 ((1970, 1, 1), (1970, 1, 2)), ((1970, 1, 0), (1970, 1, 1)), ((-292277022657, 1, 28), (292277026596, 12, 4)),
                 ((1969, 12, 31), (1970, 1, 1)), ((0, 2, 29), (0, 2, 29)), ((1900, 2, 29), (1900, 2, 29))]
        calls = []
        for first, second in cases:
            calls.append((kdt.ymd_to_ts, "dt_ymd_to_ts", first))
            calls.append((kdt.day_of_week, "dt_day_of_week", first))
            calls.append((kdt.week_of_year, "dt_week_of_year", first))
            calls.append((kdt.days_between, "dt_days_between", first + second))
        for function, export, args in calls:
            with self.subTest(export=export, args=args):
                library_failed = _library_reason(export, args)[0] is not None
                try:
                    function(*args)
                    raised = False
                except karpa.KarpaError:
                    raised = True
                self.assertEqual(raised, library_failed)

    def test_reasons_are_read_from_threads(self):
        errors = []

        def fail(i):
            try:
                seq.sort_int(f"1,x{i}")
            except karpa.KarpaError as error:
                errors.append((i, error.message))

        threads = [threading.Thread(target=fail, args=(i,)) for i in range(8)]
        for thread in threads:
            thread.start()
        for thread in threads:
            thread.join()
        self.assertEqual(sorted(errors), [(i, f"invalid integer: x{i}") for i in range(8)])


if __name__ == "__main__":
    unittest.main()
