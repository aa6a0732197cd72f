import calendar
import datetime as std
import random
import unittest

from support import INT64_MAX, INT64_MIN

import karpa
from karpa import datetime as kdt

UTC = std.timezone.utc


def date_text(d):
    return f"{d.year}-{d.month:02d}-{d.day:02d}"


class KnownAnswers(unittest.TestCase):
    # (function, arguments, result)
    CASES = [
        (kdt.is_leap_year, (2024,), True), (kdt.is_leap_year, (1900,), False),
        (kdt.is_leap_year, (0,), True), (kdt.is_leap_year, (-100,), False), (kdt.is_leap_year, (-400,), True),
        (kdt.days_in_month, (2024, 2), 29), (kdt.days_in_month, (1900, 2), 28),
        (kdt.days_in_month, (2024, 4), 30), (kdt.days_in_month, (2024, 13), 0), (kdt.days_in_month, (2024, -1), 0),
        (kdt.days_in_year, (2000,), 366), (kdt.days_in_year, (1900,), 365),
        (kdt.ts_to_ymd, (0,), "1970-01-01"), (kdt.ts_to_ymd, (-1,), "1969-12-31"),
        (kdt.ts_to_ymd, (951782400,), "2000-02-29"), (kdt.ts_to_ymd, (-62135596800,), "1-01-01"),
        (kdt.ts_to_ymd, (-62135596801,), "0-12-31"),
        (kdt.ts_to_ymdhms, (-1,), "1969-12-31 23:59:59"),
        (kdt.ts_to_ymdhms, (1700000000,), "2023-11-14 22:13:20"),
        (kdt.ts_to_ymdhms, (INT64_MAX,), "292277026596-12-04 15:30:07"),
        (kdt.ts_to_ymdhms, (-9223372036854720000,), "-292277022657-01-28 00:00:00"),
        (kdt.ymd_to_ts, (1970, 1, 1), 0), (kdt.ymd_to_ts, (2000, 2, 29), 951782400),
        (kdt.days_between, (2024, 1, 1, 2024, 3, 1), 60), (kdt.days_between, (2024, 3, 1, 2024, 1, 1), -60),
        (kdt.days_between, (2024, 3, 1, 2024, 3, 1), 0), (kdt.days_between, (1970, 1, 1, 1970, 1, 1), 0),
        (kdt.day_of_week, (1970, 1, 1), 4), (kdt.day_of_week, (2024, 1, 1), 1),
        (kdt.day_of_week, (2000, 1, 1), 6), (kdt.day_of_week, (2023, 12, 31), 7),
        (kdt.week_of_year, (2024, 1, 1), 52), (kdt.week_of_year, (2024, 1, 5), 52),
        (kdt.week_of_year, (2024, 1, 6), 1), (kdt.week_of_year, (2024, 1, 15), 2),
        (kdt.week_of_year, (2024, 12, 31), 52), (kdt.week_of_year, (2026, 1, 3), 1),
        (kdt.week_of_year, (2012, 12, 31), 1), (kdt.week_of_year, (2021, 1, 11), 2),
        (kdt.validate_date, (2024, 2, 29), True), (kdt.validate_date, (2023, 2, 29), False),
        (kdt.validate_date, (9999, 12, 31), True), (kdt.validate_date, (0, 1, 1), False),
        (kdt.validate_date, (10000, 1, 1), False), (kdt.validate_date, (2024, 1, 0), False),
        (kdt.add_days, (2024, 2, 28, 1), "2024-02-29"), (kdt.add_days, (2023, 2, 28, 1), "2023-03-01"),
        (kdt.add_days, (2024, 1, 1, -1), "2023-12-31"), (kdt.add_days, (2000, 1, 1, 366), "2001-01-01"),
        (kdt.add_months, (2024, 1, 31, 1), "2024-02-29"), (kdt.add_months, (2023, 1, 31, 1), "2023-02-28"),
        (kdt.add_months, (2024, 1, 15, -13), "2022-12-15"), (kdt.add_months, (2024, 1, 31, 25), "2026-02-28"),
        (kdt.add_months, (2024, 14, 10, 0), "2025-02-10"), (kdt.add_months, (2024, 0, 10, 0), "2023-12-10"),
        (kdt.add_months, (2024, 5, 0, 0), "2024-05-00"), (kdt.add_months, (2024, 5, -3, 0), "2024-05--03"),
        (kdt.range_days, (2024, 2, 27, 4), ["2024-02-27", "2024-02-28", "2024-02-29", "2024-03-01"]),
        (kdt.range_days, (2023, 12, 30, 3), ["2023-12-30", "2023-12-31", "2024-01-01"]),
        (kdt.range_days, (2024, 1, 1, 0), []),
        (kdt.range_days_between, (2024, 1, 30, 2024, 2, 2),
         ["2024-01-30", "2024-01-31", "2024-02-01", "2024-02-02"]),
        (kdt.range_days_between, (2024, 1, 30, 2024, 1, 29), []),
        (kdt.range_months, (2024, 11, 4), ["2024-11", "2024-12", "2025-01", "2025-02"]),
        (kdt.range_months, (2024, -1, 3), ["2024--01", "2024-00", "2024-01"]),
    ]

    def test_known_answers(self):
        for function, args, expected in self.CASES:
            with self.subTest(function=function.__name__, args=args):
                result = function(*args)
                self.assertEqual(result, expected)
                self.assertIs(type(result), type(expected))

    def test_ranges_as_text(self):
        self.assertEqual(kdt.range_months(2024, 13, 2, text=True), "2024-13,2025-01")
        self.assertEqual(kdt.range_days(2024, 1, 1, 1, text=True), "2024-01-01")
        self.assertEqual(kdt.range_days_between(2024, 1, 1, 2023, 12, 31, text=True), "")

    def test_to_date(self):
        self.assertEqual(kdt.to_date(kdt.add_days(2024, 2, 28, 1)), std.date(2024, 2, 29))
        self.assertEqual(kdt.to_date("5-01-01"), std.date(5, 1, 1))
        for text in ("0-12-31", "-1-12-31", "2024-05-00", "2024-13", "x"):
            with self.subTest(text=text):
                self.assertRaises(ValueError, kdt.to_date, text)


class Oracles(unittest.TestCase):
    def test_against_the_datetime_module(self):
        rng = random.Random(19700101)
        first, last = std.date(1, 1, 1).toordinal(), std.date(9999, 12, 31).toordinal()
        for _ in range(400):
            d1 = std.date.fromordinal(rng.randint(first, last))
            d2 = std.date.fromordinal(rng.randint(first, last))
            y, m, d = d1.year, d1.month, d1.day
            with self.subTest(date=d1, other=d2):
                ts = calendar.timegm(d1.timetuple())
                self.assertEqual(kdt.ymd_to_ts(y, m, d), ts)
                self.assertEqual(kdt.ts_to_ymd(ts), date_text(d1))
                seconds = ts + rng.randrange(86400)
                self.assertEqual(kdt.ts_to_ymdhms(seconds),
                                 std.datetime.fromtimestamp(seconds, UTC).strftime(f"{y}-%m-%d %H:%M:%S"))
                self.assertEqual(kdt.days_between(y, m, d, d2.year, d2.month, d2.day), (d2 - d1).days)
                self.assertEqual(kdt.day_of_week(y, m, d), d1.isoweekday())
                self.assertTrue(kdt.validate_date(y, m, d))
                self.assertEqual(kdt.days_in_month(y, m), calendar.monthrange(y, m)[1])
                shift = rng.randint(-400, 400)
                if first <= d1.toordinal() + shift <= last:
                    self.assertEqual(kdt.add_days(y, m, d, shift), date_text(d1 + std.timedelta(days=shift)))
                months = rng.randint(-30, 30)
                ny, nm = divmod(y * 12 + (m - 1) + months, 12)
                if 1 <= ny <= 9999:
                    clamped = min(d, calendar.monthrange(ny, nm + 1)[1])
                    self.assertEqual(kdt.add_months(y, m, d, months), date_text(std.date(ny, nm + 1, clamped)))
                if d1.toordinal() + 5 <= last:
                    self.assertEqual(kdt.range_days(y, m, d, 5),
                                     [date_text(d1 + std.timedelta(days=i)) for i in range(5)])

    def test_validation_and_leap_years_against_python(self):
        rng = random.Random(2)
        for _ in range(400):
            y, m, d = rng.randint(-5, 10005), rng.randint(-1, 14), rng.randint(-1, 33)
            try:
                std.date(y, m, d)
                valid = True
            except ValueError:
                valid = False
            with self.subTest(date=(y, m, d)):
                self.assertEqual(kdt.validate_date(y, m, d), valid)
                self.assertEqual(kdt.is_leap_year(y), calendar.isleap(y))
        for y in range(-2000, 2001, 7):
            self.assertEqual(kdt.days_in_year(y), 366 if calendar.isleap(y) else 365)


class Errors(unittest.TestCase):
    def test_impossible_dates_raise(self):
        cases = [
            (kdt.ymd_to_ts, (2023, 2, 29), "dt_ymd_to_ts(2023, 2, 29)"),
            (kdt.ymd_to_ts, (2024, 13, 1), "dt_ymd_to_ts(2024, 13, 1)"),
            (kdt.ymd_to_ts, (292277026596, 12, 5), "dt_ymd_to_ts"),
            (kdt.days_between, (2024, 13, 1, 2024, 1, 0), "dt_days_between(2024, 13, 1, 2024, 1, 0)"),
            (kdt.days_between, (2023, 2, 29, 2023, 2, 29), "dt_days_between"),
            (kdt.days_between, (2024, 1, 1, 2024, 1, 32), "dt_days_between"),
            (kdt.day_of_week, (2024, 0, 1), "dt_day_of_week(2024, 0, 1)"),
            (kdt.week_of_year, (2024, 2, 30), "dt_week_of_year(2024, 2, 30)"),
            (kdt.ts_to_ymd, (-9223372036854720001,), "dt_ts_to_ymd(-9223372036854720001)"),
            (kdt.ts_to_ymdhms, (INT64_MIN,), "dt_ts_to_ymdhms"),
            (kdt.add_days, (2024, 2, 30, 1), "dt_add_days(2024, 2, 30, 1)"),
            (kdt.add_days, (2024, 1, 1, INT64_MAX), "dt_add_days"),
            (kdt.add_months, (2024, INT64_MAX, 1, 1), "dt_add_months"),
            (kdt.range_days, (2024, 1, 1, -1), "dt_range_days(2024, 1, 1, -1)"),
            (kdt.range_days, (2024, 2, 30, 0), "dt_range_days"),
            (kdt.range_days_between, (2024, 1, 1, 2024, 2, 30), "dt_range_days_between"),
            (kdt.range_months, (2024, 1, -1), "dt_range_months(2024, 1, -1)"),
        ]
        for function, args, named in cases:
            with self.subTest(function=function.__name__, args=args):
                with self.assertRaises(karpa.KarpaError) as caught:
                    function(*args)
                self.assertIn(named, str(caught.exception))

    def test_zero_answers_that_are_real_answers_do_not_raise(self):
        self.assertEqual(kdt.ymd_to_ts(1970, 1, 1), 0)
        self.assertEqual(kdt.days_between(1970, 1, 1, 1970, 1, 1), 0)
        self.assertEqual(kdt.days_between(-4, 2, 29, -4, 2, 29), 0)
        self.assertEqual(kdt.days_in_month(2024, 0), 0)

    def test_integers_beyond_64_bits_are_refused(self):
        with self.assertRaises(OverflowError):
            kdt.ts_to_ymd(1 << 63)
        with self.assertRaises(OverflowError):
            kdt.is_leap_year(-(1 << 63) - 1)
        with self.assertRaises(TypeError):
            kdt.add_days(2024, 1, 1, 1.5)


if __name__ == "__main__":
    unittest.main()
