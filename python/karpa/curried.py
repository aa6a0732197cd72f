"""Statistics over number lists and set operations over string lists (``libkarpa_curried``).

Lists: a Python iterable, or list text (``str`` or bytes) passed unchanged.
Integer lists take integers, float lists real numbers (sent as ``repr(float(x))``),
string lists ``str``/bytes items without ``","`` or NUL (see ``karpa.seq``).

Results:

- integers (sum, min, max, dot, counts) as ``int``;
- the mean, variance, standard deviation, median and L2 norm as ``float`` read
  from the library's six-significant-digit text ("%g": ``mean_int([1, 2, 2])``
  is ``1.66667``); the float sum, min, max and dot product are exact;
- ``minmax_*`` as a tuple ``(min, max)``, or ``(None, None)`` for an empty list;
- distinct values and set results as lists.

With ``text=True`` every function returns the library's exact result text.
Empty number lists give the library's fixed answers: 0 (or 0.0) for every
statistic.

String lists: in list text the empty text stands for one empty item, so here
an empty Python sequence is answered as the empty collection it is (union with
it adds nothing, intersection with it is empty, nothing is removed by it, and
nothing is counted in it), while ``""`` given as text is one empty item.

A bad item (not a whole integer or float) or a 64-bit overflow raises
``karpa.KarpaError``.
"""

from __future__ import annotations

from typing import Callable, List, Literal, Optional, SupportsIndex, Tuple, TypeVar, Union, overload

from . import _codec as _c
from . import _accelerate, _call, _library

__all__ = [
    "sum_int", "mean_int", "min_int", "max_int", "minmax_int", "variance_int", "stddev_int",
    "median_int", "dot_int", "l2norm_int",
    "sum_float", "mean_float", "min_float", "max_float", "minmax_float", "variance_float",
    "stddev_float", "median_float", "dot_float", "l2norm_float",
    "distinct_int", "count_int", "distinct_string", "count_string", "union_string",
    "intersect_string", "diff_string",
]

# Each export of the library is the module global _<export name> (see karpa._Library).
_lib = _library("curried", globals())


_T = TypeVar("_T")


def _out(result: bytes, text: bool, parse: Callable[[bytes], _T]) -> Union[str, _T]:
    return _c.decode_text(result) if text else parse(result)


def _pair(number: Callable[[bytes], _T]) -> Callable[[bytes], Tuple[Optional[_T], Optional[_T]]]:
    def parse(result: bytes) -> Tuple[Optional[_T], Optional[_T]]:
        low, high = result.split(b",")
        return (number(low), number(high)) if low else (None, None)
    return parse


# Integer statistics


@overload
def sum_int(values: _c.IntList, *, text: Literal[False] = ...) -> int: ...
@overload
def sum_int(values: _c.IntList, *, text: Literal[True]) -> str: ...
@overload
def sum_int(values: _c.IntList, *, text: bool) -> Union[int, str]: ...
def sum_int(values: _c.IntList, *, text: bool = False) -> Union[int, str]:
    """The sum as an int (0 for an empty list); KarpaError when a running sum overflows 64 bits."""
    return _out(_call(_cur_sum_int, _c.int_list(values)), text, int)


@overload
def mean_int(values: _c.IntList, *, text: Literal[False] = ...) -> float: ...
@overload
def mean_int(values: _c.IntList, *, text: Literal[True]) -> str: ...
@overload
def mean_int(values: _c.IntList, *, text: bool) -> Union[float, str]: ...
def mean_int(values: _c.IntList, *, text: bool = False) -> Union[float, str]:
    """The mean (integer sum / count) as a float of six significant digits; 0.0 for an empty list.

    ``mean_int([1, 2]) == 1.5``; KarpaError when the sum overflows 64 bits.
    """
    return _out(_call(_cur_mean_int, _c.int_list(values)), text, float)


@overload
def min_int(values: _c.IntList, *, text: Literal[False] = ...) -> int: ...
@overload
def min_int(values: _c.IntList, *, text: Literal[True]) -> str: ...
@overload
def min_int(values: _c.IntList, *, text: bool) -> Union[int, str]: ...
def min_int(values: _c.IntList, *, text: bool = False) -> Union[int, str]:
    """The smallest item as an int; 0 for an empty list."""
    return _out(_call(_cur_min_int, _c.int_list(values)), text, int)


@overload
def max_int(values: _c.IntList, *, text: Literal[False] = ...) -> int: ...
@overload
def max_int(values: _c.IntList, *, text: Literal[True]) -> str: ...
@overload
def max_int(values: _c.IntList, *, text: bool) -> Union[int, str]: ...
def max_int(values: _c.IntList, *, text: bool = False) -> Union[int, str]:
    """The largest item as an int; 0 for an empty list."""
    return _out(_call(_cur_max_int, _c.int_list(values)), text, int)


@overload
def minmax_int(values: _c.IntList, *, text: Literal[False] = ...) -> Tuple[Optional[int], Optional[int]]: ...
@overload
def minmax_int(values: _c.IntList, *, text: Literal[True]) -> str: ...
@overload
def minmax_int(values: _c.IntList, *, text: bool) -> Union[Tuple[Optional[int], Optional[int]], str]: ...
def minmax_int(values: _c.IntList, *, text: bool = False) -> Union[Tuple[Optional[int], Optional[int]], str]:
    """``(min, max)`` as ints; ``(None, None)`` for an empty list (text ",")."""
    return _out(_call(_cur_minmax_int, _c.int_list(values)), text, _pair(int))


@overload
def variance_int(values: _c.IntList, *, text: Literal[False] = ...) -> float: ...
@overload
def variance_int(values: _c.IntList, *, text: Literal[True]) -> str: ...
@overload
def variance_int(values: _c.IntList, *, text: bool) -> Union[float, str]: ...
def variance_int(values: _c.IntList, *, text: bool = False) -> Union[float, str]:
    """The population variance (divisor n) as a float of six significant digits.

    ``variance_int([1, 2, 3, 4]) == 1.25``; KarpaError when the sum overflows 64 bits.
    """
    return _out(_call(_cur_variance_int, _c.int_list(values)), text, float)


@overload
def stddev_int(values: _c.IntList, *, text: Literal[False] = ...) -> float: ...
@overload
def stddev_int(values: _c.IntList, *, text: Literal[True]) -> str: ...
@overload
def stddev_int(values: _c.IntList, *, text: bool) -> Union[float, str]: ...
def stddev_int(values: _c.IntList, *, text: bool = False) -> Union[float, str]:
    """The population standard deviation as a float of six significant digits."""
    return _out(_call(_cur_stddev_int, _c.int_list(values)), text, float)


@overload
def median_int(values: _c.IntList, *, text: Literal[False] = ...) -> float: ...
@overload
def median_int(values: _c.IntList, *, text: Literal[True]) -> str: ...
@overload
def median_int(values: _c.IntList, *, text: bool) -> Union[float, str]: ...
def median_int(values: _c.IntList, *, text: bool = False) -> Union[float, str]:
    """The median as a float of six significant digits (mean of the middle two for an even count)."""
    return _out(_call(_cur_median_int, _c.int_list(values)), text, float)


@overload
def dot_int(a: _c.IntList, b: _c.IntList, *, text: Literal[False] = ...) -> int: ...
@overload
def dot_int(a: _c.IntList, b: _c.IntList, *, text: Literal[True]) -> str: ...
@overload
def dot_int(a: _c.IntList, b: _c.IntList, *, text: bool) -> Union[int, str]: ...
def dot_int(a: _c.IntList, b: _c.IntList, *, text: bool = False) -> Union[int, str]:
    """The dot product over the shorter length, as an int; KarpaError on 64-bit overflow.

    ``dot_int([1, 2, 3], [4, 5]) == 14``.
    """
    return _out(_call(_cur_dot_int, _c.int_list(a, "a"), _c.int_list(b, "b")), text, int)


@overload
def l2norm_int(values: _c.IntList, *, text: Literal[False] = ...) -> float: ...
@overload
def l2norm_int(values: _c.IntList, *, text: Literal[True]) -> str: ...
@overload
def l2norm_int(values: _c.IntList, *, text: bool) -> Union[float, str]: ...
def l2norm_int(values: _c.IntList, *, text: bool = False) -> Union[float, str]:
    """The Euclidean norm as a float of six significant digits: ``l2norm_int([3, 4]) == 5.0``."""
    return _out(_call(_cur_l2norm_int, _c.int_list(values)), text, float)


# Float statistics (binary64, left-to-right sums from +0.0, no fused multiply-add)


@overload
def sum_float(values: _c.FloatList, *, text: Literal[False] = ...) -> float: ...
@overload
def sum_float(values: _c.FloatList, *, text: Literal[True]) -> str: ...
@overload
def sum_float(values: _c.FloatList, *, text: bool) -> Union[float, str]: ...
def sum_float(values: _c.FloatList, *, text: bool = False) -> Union[float, str]:
    """The left-to-right sum, exact, as a float: ``sum_float([0.1, 0.2]) == 0.30000000000000004``."""
    return _out(_call(_cur_sum_float, _c.float_list(values)), text, float)


@overload
def mean_float(values: _c.FloatList, *, text: Literal[False] = ...) -> float: ...
@overload
def mean_float(values: _c.FloatList, *, text: Literal[True]) -> str: ...
@overload
def mean_float(values: _c.FloatList, *, text: bool) -> Union[float, str]: ...
def mean_float(values: _c.FloatList, *, text: bool = False) -> Union[float, str]:
    """The mean as a float of six significant digits; 0.0 for an empty list."""
    return _out(_call(_cur_mean_float, _c.float_list(values)), text, float)


@overload
def min_float(values: _c.FloatList, *, text: Literal[False] = ...) -> float: ...
@overload
def min_float(values: _c.FloatList, *, text: Literal[True]) -> str: ...
@overload
def min_float(values: _c.FloatList, *, text: bool) -> Union[float, str]: ...
def min_float(values: _c.FloatList, *, text: bool = False) -> Union[float, str]:
    """The smallest item, exact (a NaN in first place wins); 0.0 for an empty list."""
    return _out(_call(_cur_min_float, _c.float_list(values)), text, float)


@overload
def max_float(values: _c.FloatList, *, text: Literal[False] = ...) -> float: ...
@overload
def max_float(values: _c.FloatList, *, text: Literal[True]) -> str: ...
@overload
def max_float(values: _c.FloatList, *, text: bool) -> Union[float, str]: ...
def max_float(values: _c.FloatList, *, text: bool = False) -> Union[float, str]:
    """The largest item, exact (a NaN in first place wins); 0.0 for an empty list."""
    return _out(_call(_cur_max_float, _c.float_list(values)), text, float)


@overload
def minmax_float(values: _c.FloatList, *, text: Literal[False] = ...) -> Tuple[Optional[float], Optional[float]]: ...
@overload
def minmax_float(values: _c.FloatList, *, text: Literal[True]) -> str: ...
@overload
def minmax_float(values: _c.FloatList, *, text: bool) -> Union[Tuple[Optional[float], Optional[float]], str]: ...
def minmax_float(values: _c.FloatList, *, text: bool = False) -> Union[Tuple[Optional[float], Optional[float]], str]:
    """``(min, max)`` as exact floats; ``(None, None)`` for an empty list (text ",")."""
    return _out(_call(_cur_minmax_float, _c.float_list(values)), text, _pair(float))


@overload
def variance_float(values: _c.FloatList, *, text: Literal[False] = ...) -> float: ...
@overload
def variance_float(values: _c.FloatList, *, text: Literal[True]) -> str: ...
@overload
def variance_float(values: _c.FloatList, *, text: bool) -> Union[float, str]: ...
def variance_float(values: _c.FloatList, *, text: bool = False) -> Union[float, str]:
    """The population variance (two passes) as a float of six significant digits."""
    return _out(_call(_cur_variance_float, _c.float_list(values)), text, float)


@overload
def stddev_float(values: _c.FloatList, *, text: Literal[False] = ...) -> float: ...
@overload
def stddev_float(values: _c.FloatList, *, text: Literal[True]) -> str: ...
@overload
def stddev_float(values: _c.FloatList, *, text: bool) -> Union[float, str]: ...
def stddev_float(values: _c.FloatList, *, text: bool = False) -> Union[float, str]:
    """The population standard deviation as a float of six significant digits."""
    return _out(_call(_cur_stddev_float, _c.float_list(values)), text, float)


@overload
def median_float(values: _c.FloatList, *, text: Literal[False] = ...) -> float: ...
@overload
def median_float(values: _c.FloatList, *, text: Literal[True]) -> str: ...
@overload
def median_float(values: _c.FloatList, *, text: bool) -> Union[float, str]: ...
def median_float(values: _c.FloatList, *, text: bool = False) -> Union[float, str]:
    """The median as a float of six significant digits."""
    return _out(_call(_cur_median_float, _c.float_list(values)), text, float)


@overload
def dot_float(a: _c.FloatList, b: _c.FloatList, *, text: Literal[False] = ...) -> float: ...
@overload
def dot_float(a: _c.FloatList, b: _c.FloatList, *, text: Literal[True]) -> str: ...
@overload
def dot_float(a: _c.FloatList, b: _c.FloatList, *, text: bool) -> Union[float, str]: ...
def dot_float(a: _c.FloatList, b: _c.FloatList, *, text: bool = False) -> Union[float, str]:
    """The dot product over the shorter length, exact, as a float."""
    return _out(_call(_cur_dot_float, _c.float_list(a, "a"), _c.float_list(b, "b")), text, float)


@overload
def l2norm_float(values: _c.FloatList, *, text: Literal[False] = ...) -> float: ...
@overload
def l2norm_float(values: _c.FloatList, *, text: Literal[True]) -> str: ...
@overload
def l2norm_float(values: _c.FloatList, *, text: bool) -> Union[float, str]: ...
def l2norm_float(values: _c.FloatList, *, text: bool = False) -> Union[float, str]:
    """The Euclidean norm (no scaling, so it may overflow to inf) as a float of six significant digits."""
    return _out(_call(_cur_l2norm_float, _c.float_list(values)), text, float)


# Distinct values, counts and string sets


@overload
def distinct_int(values: _c.IntList, *, text: Literal[False] = ...) -> List[int]: ...
@overload
def distinct_int(values: _c.IntList, *, text: Literal[True]) -> str: ...
@overload
def distinct_int(values: _c.IntList, *, text: bool) -> Union[List[int], str]: ...
def distinct_int(values: _c.IntList, *, text: bool = False) -> Union[List[int], str]:
    """The first occurrence of each value, in order, as ints: ``distinct_int([3, 1, 3, 2]) == [3, 1, 2]``."""
    return _out(_call(_cur_distinct_int, _c.int_list(values)), text, _c.ints)


@overload
def count_int(values: _c.IntList, value: SupportsIndex, *, text: Literal[False] = ...) -> int: ...
@overload
def count_int(values: _c.IntList, value: SupportsIndex, *, text: Literal[True]) -> str: ...
@overload
def count_int(values: _c.IntList, value: SupportsIndex, *, text: bool) -> Union[int, str]: ...
def count_int(values: _c.IntList, value: SupportsIndex, *, text: bool = False) -> Union[int, str]:
    """How many items equal ``value`` (a 32-bit int), as an int."""
    return _out(_call(_cur_count_int, _c.int_list(values), _c.c_int(value, "value")), text, int)


@overload
def distinct_string(values: _c.StringList, *, text: Literal[False] = ...) -> List[str]: ...
@overload
def distinct_string(values: _c.StringList, *, text: Literal[True]) -> str: ...
@overload
def distinct_string(values: _c.StringList, *, text: bool) -> Union[List[str], str]: ...
def distinct_string(values: _c.StringList, *, text: bool = False) -> Union[List[str], str]:
    """The first occurrence of each item (byte for byte, blanks count), in order: a list of str."""
    return _out(_call(_cur_distinct_string, _c.string_list(values)), text, _c.strings)


@overload
def count_string(values: _c.StringList, item: _c.Text, *, text: Literal[False] = ...) -> int: ...
@overload
def count_string(values: _c.StringList, item: _c.Text, *, text: Literal[True]) -> str: ...
@overload
def count_string(values: _c.StringList, item: _c.Text, *, text: bool) -> Union[int, str]: ...
def count_string(values: _c.StringList, item: _c.Text, *, text: bool = False) -> Union[int, str]:
    """How many items equal ``item`` exactly (taken whole, not stripped), as an int."""
    item_text = _c.encode_text(item, "item")
    list_text, empty = _c.string_collection(values)
    if empty:
        return "0" if text else 0
    return _out(_call(_cur_count_string, list_text, item_text), text, int)


@overload
def union_string(a: _c.StringList, b: _c.StringList, *, text: Literal[False] = ...) -> List[str]: ...
@overload
def union_string(a: _c.StringList, b: _c.StringList, *, text: Literal[True]) -> str: ...
@overload
def union_string(a: _c.StringList, b: _c.StringList, *, text: bool) -> Union[List[str], str]: ...
def union_string(a: _c.StringList, b: _c.StringList, *, text: bool = False) -> Union[List[str], str]:
    """The first occurrences of the items of ``a``, then those of ``b`` not seen: a list of str.

    ``union_string(["a", "b", "a"], ["c", "b", "d"]) == ["a", "b", "c", "d"]``.
    """
    a_text, a_empty = _c.string_collection(a, "a")
    b_text, b_empty = _c.string_collection(b, "b")
    if a_empty and b_empty:
        return _out(b"", text, _c.strings)
    if a_empty or b_empty:
        # The union with nothing is the other list's first occurrences.
        a_text = b_text = (b_text if a_empty else a_text)
    return _out(_call(_cur_union_string, a_text, b_text), text, _c.strings)


@overload
def intersect_string(a: _c.StringList, b: _c.StringList, *, text: Literal[False] = ...) -> List[str]: ...
@overload
def intersect_string(a: _c.StringList, b: _c.StringList, *, text: Literal[True]) -> str: ...
@overload
def intersect_string(a: _c.StringList, b: _c.StringList, *, text: bool) -> Union[List[str], str]: ...
def intersect_string(a: _c.StringList, b: _c.StringList, *, text: bool = False) -> Union[List[str], str]:
    """The items of ``a`` that also occur in ``b``, each once, in the order of ``a``: a list of str."""
    a_text, a_empty = _c.string_collection(a, "a")
    b_text, b_empty = _c.string_collection(b, "b")
    if a_empty or b_empty:
        return _out(b"", text, _c.strings)
    return _out(_call(_cur_intersect_string, a_text, b_text), text, _c.strings)


@overload
def diff_string(a: _c.StringList, b: _c.StringList, *, text: Literal[False] = ...) -> List[str]: ...
@overload
def diff_string(a: _c.StringList, b: _c.StringList, *, text: Literal[True]) -> str: ...
@overload
def diff_string(a: _c.StringList, b: _c.StringList, *, text: bool) -> Union[List[str], str]: ...
def diff_string(a: _c.StringList, b: _c.StringList, *, text: bool = False) -> Union[List[str], str]:
    """The items of ``a`` that do not occur in ``b``, every occurrence kept: a list of str.

    ``diff_string(["a", "b", "a", "c"], ["b"]) == ["a", "a", "c"]``.
    """
    a_text, a_empty = _c.string_collection(a, "a")
    b_text, b_empty = _c.string_collection(b, "b")
    if a_empty:
        return _out(b"", text, _c.strings)
    if b_empty:
        return _out(a_text, text, _c.strings)
    return _out(_call(_cur_diff_string, a_text, b_text), text, _c.strings)


_accelerate(globals(), _lib, "cur_", {
    "sum_int": ("L", "n"), "mean_int": ("L", "x"), "min_int": ("L", "n"), "max_int": ("L", "n"),
    "minmax_int": ("L", "P"), "variance_int": ("L", "x"), "stddev_int": ("L", "x"), "median_int": ("L", "x"),
    "dot_int": ("LL", "n"), "l2norm_int": ("L", "x"),
    "sum_float": ("F", "x"), "mean_float": ("F", "x"), "min_float": ("F", "x"), "max_float": ("F", "x"),
    "minmax_float": ("F", "Q"), "variance_float": ("F", "x"), "stddev_float": ("F", "x"),
    "median_float": ("F", "x"), "dot_float": ("FF", "x"), "l2norm_float": ("F", "x"),
    "distinct_int": ("L", "N"), "count_int": ("Li", "n"), "distinct_string": ("S", "T"),
    "count_string": ("Ct", "n"), "union_string": ("CC", "T"), "intersect_string": ("CC", "T"),
    "diff_string": ("CC", "T"),
})
