"""Proleptic Gregorian calendar arithmetic in UTC (``libkarpa_datetime``).

Arguments are integers in the signed 64-bit range (``OverflowError`` beyond
it); a date is ``year, month, day`` with month 1 = January. Years are
astronomical (year 0 is 1 BC) and unlimited apart from the 64-bit span, so
dates are returned as the library's exact text rather than ``datetime.date``:

- date text ``"2024-03-05"`` (year without padding: ``"5-01-01"``, ``"-1-12-31"``),
- date-time text ``"1969-12-31 23:59:59"``,
- month text ``"2024-03"``.

``to_date()`` turns a date text into a ``datetime.date`` when the year is 1 to 9999.
Range functions return lists of such texts, or the joined text with ``text=True``.

Failures raise ``karpa.KarpaError`` with the library's own kind and message:
a month outside 1 to 12 or a day outside 1 to 31, a day past the end of its
month, a date or timestamp outside the 64-bit span. The numeric exports answer
a failure with 0, which for ``ymd_to_ts`` and ``days_between`` is also a real
answer (1970-01-01, equal dates); these functions still raise exactly when the
library failed, because a 0 is a real answer for just those arguments:
``ymd_to_ts`` fails unless the date is valid, and 1970-01-01 is; two valid
dates are 0 days apart only when they are the same date, and then the call
fails exactly when that date does. ``is_leap_year``, ``days_in_month``,
``days_in_year`` and ``validate_date`` never fail; ``days_in_month`` gives 0
for a month outside 1 to 12.
"""

import datetime as _std_datetime
from typing import List, Union

from . import _codec as _c
from . import _accelerate, _call, _library, KarpaError

__all__ = [
    "is_leap_year", "days_in_month", "days_in_year", "ts_to_ymd", "ts_to_ymdhms", "ymd_to_ts",
    "days_between", "day_of_week", "week_of_year", "validate_date", "add_days", "add_months",
    "range_days", "range_days_between", "range_months", "to_date",
]

# Each export of the library is the module global _<export name> (see karpa._Library).
_lib = _library("datetime", globals())

_EPOCH = (1970, 1, 1)
_MIN, _MAX = -(1 << 63), (1 << 63) - 1
_LOW, _HIGH = -(1 << 31), (1 << 31) - 1

# The wrappers pass exact ints in the C int range to _<export>_raw (see
# karpa._Library), other exact ints in the int64_t range to the export through
# its argument types (ctypes would cut larger ones silently), and leave
# everything else to _c.c_int64, which converts or raises with the argument's name.


def _args(names, values):
    return tuple(_c.c_int64(value, name) for name, value in zip(names, values))


def _date(year, month, day):
    return _args(("year", "month", "day"), (year, month, day))


def is_leap_year(year: int) -> bool:
    """True for a leap year (divisible by 4 and not by 100, or by 400; year 0 is one)."""
    if type(year) is int and _LOW <= year <= _HIGH:
        return _dt_is_leap_year_raw(year) != 0
    if not (type(year) is int and _MIN <= year <= _MAX):
        year = _c.c_int64(year, "year")
    return _dt_is_leap_year(year) != 0


def days_in_month(year: int, month: int) -> int:
    """28 to 31; 0 when ``month`` is outside 1 to 12 (a result, not a failure)."""
    if type(year) is type(month) is int and _LOW <= year <= _HIGH and _LOW <= month <= _HIGH:
        return _dt_days_in_month_raw(year, month)
    if not (type(year) is type(month) is int and
            _MIN <= year <= _MAX and _MIN <= month <= _MAX):
        year, month = _args(("year", "month"), (year, month))
    return _dt_days_in_month(year, month)


def days_in_year(year: int) -> int:
    """366 for a leap year, else 365."""
    if type(year) is int and _LOW <= year <= _HIGH:
        return _dt_days_in_year_raw(year)
    if not (type(year) is int and _MIN <= year <= _MAX):
        year = _c.c_int64(year, "year")
    return _dt_days_in_year(year)


def ts_to_ymd(timestamp: int) -> str:
    """The UTC date holding a Unix timestamp, as date text: ``ts_to_ymd(-1) == "1969-12-31"``."""
    if type(timestamp) is int and _LOW <= timestamp <= _HIGH:
        result = _dt_ts_to_ymd_raw(timestamp)
    else:
        if not (type(timestamp) is int and _MIN <= timestamp <= _MAX):
            timestamp = _c.c_int64(timestamp, "timestamp")
        result = _dt_ts_to_ymd(timestamp)
    if result is None:
        raise KarpaError("dt_ts_to_ymd", (timestamp,))
    return result.decode()  # date text is ASCII


def ts_to_ymdhms(timestamp: int) -> str:
    """A Unix timestamp in UTC as date-time text: ``ts_to_ymdhms(1700000000) == "2023-11-14 22:13:20"``."""
    if type(timestamp) is int and _LOW <= timestamp <= _HIGH:
        result = _dt_ts_to_ymdhms_raw(timestamp)
    else:
        if not (type(timestamp) is int and _MIN <= timestamp <= _MAX):
            timestamp = _c.c_int64(timestamp, "timestamp")
        result = _dt_ts_to_ymdhms(timestamp)
    if result is None:
        raise KarpaError("dt_ts_to_ymdhms", (timestamp,))
    return result.decode()


def ymd_to_ts(year: int, month: int, day: int) -> int:
    """The Unix timestamp of 00:00:00 UTC on the date: ``ymd_to_ts(2000, 2, 29) == 951782400``.

    Raises KarpaError for an impossible date (a 0 answer for any date but 1970-01-01).
    """
    if type(year) is type(month) is type(day) is int and \
            _LOW <= year <= _HIGH and _LOW <= month <= _HIGH and _LOW <= day <= _HIGH:
        result = _dt_ymd_to_ts_raw(year, month, day)
    else:
        if not (type(year) is type(month) is type(day) is int and
                _MIN <= year <= _MAX and _MIN <= month <= _MAX and _MIN <= day <= _MAX):
            year, month, day = _date(year, month, day)
        result = _dt_ymd_to_ts(year, month, day)
    if result == 0 and (year, month, day) != _EPOCH:
        raise KarpaError("dt_ymd_to_ts", (year, month, day))
    return result


def days_between(year1: int, month1: int, day1: int, year2: int, month2: int, day2: int) -> int:
    """Days from the first date to the second (negative when the second is earlier).

    ``days_between(2024, 1, 1, 2024, 3, 1) == 60``. Raises KarpaError when
    either date is impossible.
    """
    if type(year1) is type(month1) is type(day1) is type(year2) is type(month2) is type(day2) is int and \
            _LOW <= year1 <= _HIGH and _LOW <= month1 <= _HIGH and _LOW <= day1 <= _HIGH and \
            _LOW <= year2 <= _HIGH and _LOW <= month2 <= _HIGH and _LOW <= day2 <= _HIGH:
        result = _dt_days_between_raw(year1, month1, day1, year2, month2, day2)
        if result != 0:
            return result
        first, second = (year1, month1, day1), (year2, month2, day2)
    else:
        first, second = _date(year1, month1, day1), _date(year2, month2, day2)
        result = _dt_days_between(*first, *second)
    if result == 0:
        # Two different valid dates are never 0 days apart; equal dates are
        # valid exactly when the date has a timestamp.
        invalid = first != second or (_dt_ymd_to_ts(*first) == 0 and first != _EPOCH)
        if invalid:
            raise KarpaError("dt_days_between", first + second)
    return result


def day_of_week(year: int, month: int, day: int) -> int:
    """1 = Monday to 7 = Sunday: ``day_of_week(1970, 1, 1) == 4``. KarpaError for an impossible date."""
    if type(year) is type(month) is type(day) is int and \
            _LOW <= year <= _HIGH and _LOW <= month <= _HIGH and _LOW <= day <= _HIGH:
        result = _dt_day_of_week_raw(year, month, day)
    else:
        if not (type(year) is type(month) is type(day) is int and
                _MIN <= year <= _MAX and _MIN <= month <= _MAX and _MIN <= day <= _MAX):
            year, month, day = _date(year, month, day)
        result = _dt_day_of_week(year, month, day)
    if result == 0:
        raise KarpaError("dt_day_of_week", (year, month, day))
    return result


def week_of_year(year: int, month: int, day: int) -> int:
    """The library's own week number, 1 to 52 (not ISO 8601): ``week_of_year(2024, 1, 15) == 2``.

    The first days of January count as week 52 (``week_of_year(2024, 1, 1) == 52``).
    KarpaError for an impossible date.
    """
    if type(year) is type(month) is type(day) is int and \
            _LOW <= year <= _HIGH and _LOW <= month <= _HIGH and _LOW <= day <= _HIGH:
        result = _dt_week_of_year_raw(year, month, day)
    else:
        if not (type(year) is type(month) is type(day) is int and
                _MIN <= year <= _MAX and _MIN <= month <= _MAX and _MIN <= day <= _MAX):
            year, month, day = _date(year, month, day)
        result = _dt_week_of_year(year, month, day)
    if result == 0:
        raise KarpaError("dt_week_of_year", (year, month, day))
    return result


def validate_date(year: int, month: int, day: int) -> bool:
    """True for a real date in the years 1 to 9999."""
    if type(year) is type(month) is type(day) is int and \
            _LOW <= year <= _HIGH and _LOW <= month <= _HIGH and _LOW <= day <= _HIGH:
        return _dt_validate_date_raw(year, month, day) != 0
    if not (type(year) is type(month) is type(day) is int and
            _MIN <= year <= _MAX and _MIN <= month <= _MAX and _MIN <= day <= _MAX):
        year, month, day = _date(year, month, day)
    return _dt_validate_date(year, month, day) != 0


def add_days(year: int, month: int, day: int, days: int) -> str:
    """The date shifted by ``days`` (negative goes back), as date text.

    ``add_days(2024, 2, 28, 1) == "2024-02-29"``. KarpaError for an impossible date.
    """
    if type(year) is type(month) is type(day) is type(days) is int and \
            _LOW <= year <= _HIGH and _LOW <= month <= _HIGH and _LOW <= day <= _HIGH and _LOW <= days <= _HIGH:
        result = _dt_add_days_raw(year, month, day, days)
    else:
        if not (type(year) is type(month) is type(day) is type(days) is int and
                _MIN <= year <= _MAX and _MIN <= month <= _MAX and _MIN <= day <= _MAX and _MIN <= days <= _MAX):
            year, month, day, days = _date(year, month, day) + _args(("days",), (days,))
        result = _dt_add_days(year, month, day, days)
    if result is None:
        raise KarpaError("dt_add_days", (year, month, day, days))
    return result.decode()


def add_months(year: int, month: int, day: int, months: int) -> str:
    """The date shifted by ``months``, the day clamped to the month's length, as date text.

    ``add_months(2024, 1, 31, 1) == "2024-02-29"``. No date check: a month
    outside 1 to 12 carries into the year and a day below 1 is printed as given
    (``add_months(2024, 5, 0, 0) == "2024-05-00"``).
    """
    if type(year) is type(month) is type(day) is type(months) is int and \
            _LOW <= year <= _HIGH and _LOW <= month <= _HIGH and _LOW <= day <= _HIGH and _LOW <= months <= _HIGH:
        result = _dt_add_months_raw(year, month, day, months)
    else:
        if not (type(year) is type(month) is type(day) is type(months) is int and
                _MIN <= year <= _MAX and _MIN <= month <= _MAX and _MIN <= day <= _MAX and _MIN <= months <= _MAX):
            year, month, day, months = _date(year, month, day) + _args(("months",), (months,))
        result = _dt_add_months(year, month, day, months)
    if result is None:
        raise KarpaError("dt_add_months", (year, month, day, months))
    return result.decode()


def range_days(year: int, month: int, day: int, count: int, *, text: bool = False) -> Union[List[str], str]:
    """``count`` consecutive dates from the given one, as a list of date texts.

    KarpaError for an impossible start date or a negative count.
    """
    arguments = _date(year, month, day) + _args(("count",), (count,))
    return _out(_call(_dt_range_days, *arguments), text)


def range_days_between(year1: int, month1: int, day1: int, year2: int, month2: int, day2: int, *,
                       text: bool = False) -> Union[List[str], str]:
    """Every date from the first to the second, both included, as date texts; [] when the second is earlier."""
    arguments = _date(year1, month1, day1) + _date(year2, month2, day2)
    return _out(_call(_dt_range_days_between, *arguments), text)


def range_months(year: int, month: int, count: int, *, text: bool = False) -> Union[List[str], str]:
    """``count`` consecutive months as month texts: ``range_months(2024, 11, 2) == ["2024-11", "2024-12"]``.

    No month check: a start month outside 1 to 12 is printed as given and
    advanced until it passes 12. KarpaError for a negative count.
    """
    arguments = _args(("year", "month", "count"), (year, month, count))
    return _out(_call(_dt_range_months, *arguments), text)


def _out(result, text):
    return _c.decode_text(result) if text else _c.strings(result)


def to_date(date_text: str) -> _std_datetime.date:
    """A date text (``"2024-02-29"``) as ``datetime.date``; ValueError outside years 1 to 9999."""
    year, separator, rest = date_text.lstrip("-").partition("-")
    month, _, day = rest.partition("-")
    if not separator or not year.isdigit() or not month.isdigit() or not day.isdigit():
        raise ValueError(f"not a date text: {date_text!r}")
    sign = -1 if date_text.startswith("-") else 1
    return _std_datetime.date(sign * int(year), int(month), int(day))


# Numeric answers of 0 may be failures: karpa._native hands those to the wrapper ("z").
_accelerate(globals(), _lib, "dt_", {
    "is_leap_year": ("q", "?"), "days_in_month": ("qq", "d"), "days_in_year": ("q", "d"),
    "ts_to_ymd": ("q", "s"), "ts_to_ymdhms": ("q", "s"), "ymd_to_ts": ("qqq", "z"),
    "days_between": ("qqqqqq", "z"), "day_of_week": ("qqq", "z"), "week_of_year": ("qqq", "z"),
    "validate_date": ("qqq", "?"), "add_days": ("qqqq", "s"), "add_months": ("qqqq", "s"),
    "range_days": ("qqqq", "T"), "range_days_between": ("qqqqqq", "T"), "range_months": ("qqq", "T"),
})
