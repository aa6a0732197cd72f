"""List operations over integers, floats and strings (``libkarpa_seq``).

Lists: a Python iterable, or list text (``str`` or bytes) passed unchanged.

- Integer lists: items must be integers (``operator.index``); text items such
  as ``" 3,1, 2"`` follow the library's rules (blanks around items and empty
  pieces are skipped, ``"1_000"`` and ``"+5"`` are integers).
- Float lists: items go through ``float()`` and are written as text that reads
  back to the same value (``repr()``, or the libraries' own round-trip form in
  ``karpa._native``), so every value (``nan``, ``inf``, ``-0.0``) reaches the
  library exactly.
- String lists: items are ``str`` (UTF-8) or bytes and must not contain ``","``
  or NUL (``ValueError``). Items are kept exactly, blanks and empty items
  included. An empty sequence and ``[""]`` both travel as the empty text,
  which these functions read as the empty list; likewise a result holding
  only one empty item joins to the empty text and comes back as ``[]``.

Results: lists come back as Python lists (``int``, ``float`` or ``str`` items),
single numbers as ``int`` or ``float``. With ``text=True`` every function
returns the library's exact result text as ``str`` instead. Float list results
(map, filter, sort, unique, reverse) carry six significant digits, as the
library prints them ("%g"); the float sum, max and min are exact.

A call the library cannot answer (an item that is not a number, an integer
overflow, a negative count) raises ``karpa.KarpaError``.
"""

from __future__ import annotations

from typing import Callable, List, Literal, SupportsIndex, TypeVar, Union, overload

from . import _codec as _c
from . import _accelerate, _call, _library

__all__ = [
    "map_int", "filter_int", "reduce_sum_int", "reduce_max_int", "reduce_min_int", "sort_int",
    "unique_int", "count_int", "reverse_int", "take_int", "skip_int",
    "map_float", "filter_float", "reduce_sum_float", "reduce_max_float", "reduce_min_float",
    "sort_float", "unique_float", "count_float", "reverse_float",
    "map_string", "filter_string", "count_string", "sort_string", "unique_string",
    "reverse_string", "take_string", "skip_string",
]

# Each export of the library is the module global _<export name> (see karpa._Library).
_lib = _library("seq", globals())


_T = TypeVar("_T")


def _out(result: bytes, text: bool, parse: Callable[[bytes], _T]) -> Union[str, _T]:
    return _c.decode_text(result) if text else parse(result)


# Integer lists


@overload
def map_int(values: _c.IntList, factor: SupportsIndex, *, text: Literal[False] = ...) -> List[int]: ...
@overload
def map_int(values: _c.IntList, factor: SupportsIndex, *, text: Literal[True]) -> str: ...
@overload
def map_int(values: _c.IntList, factor: SupportsIndex, *, text: bool) -> Union[List[int], str]: ...
def map_int(values: _c.IntList, factor: SupportsIndex, *, text: bool = False) -> Union[List[int], str]:
    """Each item times ``factor`` (a 32-bit int): a list of ints.

    ``map_int([1, 2, 3], 10) == [10, 20, 30]``. Raises KarpaError on 64-bit overflow.
    """
    return _out(_call(_seq_map_int, _c.int_list(values), _c.c_int(factor, "factor")), text, _c.ints)


@overload
def filter_int(values: _c.IntList, threshold: SupportsIndex, *, text: Literal[False] = ...) -> List[int]: ...
@overload
def filter_int(values: _c.IntList, threshold: SupportsIndex, *, text: Literal[True]) -> str: ...
@overload
def filter_int(values: _c.IntList, threshold: SupportsIndex, *, text: bool) -> Union[List[int], str]: ...
def filter_int(values: _c.IntList, threshold: SupportsIndex, *, text: bool = False) -> Union[List[int], str]:
    """The items strictly greater than ``threshold``, in order: a list of ints.

    ``filter_int([5, 1, 7, 3], 3) == [5, 7]``.
    """
    return _out(_call(_seq_filter_int, _c.int_list(values), _c.c_int(threshold, "threshold")), text, _c.ints)


@overload
def reduce_sum_int(values: _c.IntList, *, text: Literal[False] = ...) -> int: ...
@overload
def reduce_sum_int(values: _c.IntList, *, text: Literal[True]) -> str: ...
@overload
def reduce_sum_int(values: _c.IntList, *, text: bool) -> Union[int, str]: ...
def reduce_sum_int(values: _c.IntList, *, text: bool = False) -> Union[int, str]:
    """The sum as an int; 0 for an empty list.

    Raises KarpaError when a running sum leaves the 64-bit range, even if
    later items would bring it back.
    """
    return _out(_call(_seq_reduce_sum_int, _c.int_list(values)), text, int)


@overload
def reduce_max_int(values: _c.IntList, *, text: Literal[False] = ...) -> int: ...
@overload
def reduce_max_int(values: _c.IntList, *, text: Literal[True]) -> str: ...
@overload
def reduce_max_int(values: _c.IntList, *, text: bool) -> Union[int, str]: ...
def reduce_max_int(values: _c.IntList, *, text: bool = False) -> Union[int, str]:
    """The largest item as an int; 0 for an empty list."""
    return _out(_call(_seq_reduce_max_int, _c.int_list(values)), text, int)


@overload
def reduce_min_int(values: _c.IntList, *, text: Literal[False] = ...) -> int: ...
@overload
def reduce_min_int(values: _c.IntList, *, text: Literal[True]) -> str: ...
@overload
def reduce_min_int(values: _c.IntList, *, text: bool) -> Union[int, str]: ...
def reduce_min_int(values: _c.IntList, *, text: bool = False) -> Union[int, str]:
    """The smallest item as an int; 0 for an empty list."""
    return _out(_call(_seq_reduce_min_int, _c.int_list(values)), text, int)


@overload
def sort_int(values: _c.IntList, descending: bool = ..., *, text: Literal[False] = ...) -> List[int]: ...
@overload
def sort_int(values: _c.IntList, descending: bool = ..., *, text: Literal[True]) -> str: ...
@overload
def sort_int(values: _c.IntList, descending: bool = ..., *, text: bool) -> Union[List[int], str]: ...
def sort_int(values: _c.IntList, descending: bool = False, *, text: bool = False) -> Union[List[int], str]:
    """The items sorted (stable), ascending or with ``descending=True`` descending: a list of ints.

    ``sort_int([3, 1, 2]) == sort_int("3,1,2") == [1, 2, 3]``.
    """
    return _out(_call(_seq_sort_int, _c.int_list(values), 1 if descending else 0), text, _c.ints)


@overload
def unique_int(values: _c.IntList, *, text: Literal[False] = ...) -> List[int]: ...
@overload
def unique_int(values: _c.IntList, *, text: Literal[True]) -> str: ...
@overload
def unique_int(values: _c.IntList, *, text: bool) -> Union[List[int], str]: ...
def unique_int(values: _c.IntList, *, text: bool = False) -> Union[List[int], str]:
    """The first occurrence of each value, in input order: a list of ints.

    ``unique_int([3, 1, 3, 2, 1]) == [3, 1, 2]``.
    """
    return _out(_call(_seq_unique_int, _c.int_list(values)), text, _c.ints)


@overload
def count_int(values: _c.IntList, threshold: SupportsIndex, *, text: Literal[False] = ...) -> int: ...
@overload
def count_int(values: _c.IntList, threshold: SupportsIndex, *, text: Literal[True]) -> str: ...
@overload
def count_int(values: _c.IntList, threshold: SupportsIndex, *, text: bool) -> Union[int, str]: ...
def count_int(values: _c.IntList, threshold: SupportsIndex, *, text: bool = False) -> Union[int, str]:
    """How many items are strictly greater than ``threshold`` (not equal to it), as an int."""
    return _out(_call(_seq_count_int, _c.int_list(values), _c.c_int(threshold, "threshold")), text, int)


@overload
def reverse_int(values: _c.IntList, *, text: Literal[False] = ...) -> List[int]: ...
@overload
def reverse_int(values: _c.IntList, *, text: Literal[True]) -> str: ...
@overload
def reverse_int(values: _c.IntList, *, text: bool) -> Union[List[int], str]: ...
def reverse_int(values: _c.IntList, *, text: bool = False) -> Union[List[int], str]:
    """The items in reverse order: a list of ints."""
    return _out(_call(_seq_reverse_int, _c.int_list(values)), text, _c.ints)


@overload
def take_int(values: _c.IntList, count: SupportsIndex, *, text: Literal[False] = ...) -> List[int]: ...
@overload
def take_int(values: _c.IntList, count: SupportsIndex, *, text: Literal[True]) -> str: ...
@overload
def take_int(values: _c.IntList, count: SupportsIndex, *, text: bool) -> Union[List[int], str]: ...
def take_int(values: _c.IntList, count: SupportsIndex, *, text: bool = False) -> Union[List[int], str]:
    """The first ``count`` items (all when fewer): a list of ints.

    Raises KarpaError for a negative count, even for an empty list.
    """
    return _out(_call(_seq_take_int, _c.int_list(values), _c.c_int(count, "count")), text, _c.ints)


@overload
def skip_int(values: _c.IntList, count: SupportsIndex, *, text: Literal[False] = ...) -> List[int]: ...
@overload
def skip_int(values: _c.IntList, count: SupportsIndex, *, text: Literal[True]) -> str: ...
@overload
def skip_int(values: _c.IntList, count: SupportsIndex, *, text: bool) -> Union[List[int], str]: ...
def skip_int(values: _c.IntList, count: SupportsIndex, *, text: bool = False) -> Union[List[int], str]:
    """The items after the first ``count``: a list of ints.

    Raises KarpaError for a negative count, even for an empty list.
    """
    return _out(_call(_seq_skip_int, _c.int_list(values), _c.c_int(count, "count")), text, _c.ints)


# Float lists. ``factor`` and ``threshold`` are a number (sent as repr(float(x)))
# or one float text, read whole by the library: "2" works, " 2" and "" fail.


@overload
def map_float(values: _c.FloatList, factor: _c.FloatArgument, *, text: Literal[False] = ...) -> List[float]: ...
@overload
def map_float(values: _c.FloatList, factor: _c.FloatArgument, *, text: Literal[True]) -> str: ...
@overload
def map_float(values: _c.FloatList, factor: _c.FloatArgument, *, text: bool) -> Union[List[float], str]: ...
def map_float(values: _c.FloatList, factor: _c.FloatArgument, *, text: bool = False) -> Union[List[float], str]:
    """Each item times ``factor``: a list of floats with six significant digits.

    ``map_float([1.5, 2], 2) == [3.0, 4.0]``; ``map_float("1e308", 10) == [inf]``.
    """
    return _out(_call(_seq_map_float, _c.float_list(values), _c.float_arg(factor, "factor")), text, _c.floats)


@overload
def filter_float(values: _c.FloatList, threshold: _c.FloatArgument, *, text: Literal[False] = ...) -> List[float]: ...
@overload
def filter_float(values: _c.FloatList, threshold: _c.FloatArgument, *, text: Literal[True]) -> str: ...
@overload
def filter_float(values: _c.FloatList, threshold: _c.FloatArgument, *, text: bool) -> Union[List[float], str]: ...
def filter_float(values: _c.FloatList, threshold: _c.FloatArgument, *, text: bool = False) -> Union[List[float], str]:
    """The items strictly greater than ``threshold`` (never a NaN), six significant digits."""
    return _out(_call(_seq_filter_float, _c.float_list(values), _c.float_arg(threshold, "threshold")),
                text, _c.floats)


@overload
def reduce_sum_float(values: _c.FloatList, *, text: Literal[False] = ...) -> float: ...
@overload
def reduce_sum_float(values: _c.FloatList, *, text: Literal[True]) -> str: ...
@overload
def reduce_sum_float(values: _c.FloatList, *, text: bool) -> Union[float, str]: ...
def reduce_sum_float(values: _c.FloatList, *, text: bool = False) -> Union[float, str]:
    """The left-to-right sum from +0.0, exact, as a float; 0.0 for an empty list.

    ``reduce_sum_float([0.1, 0.2]) == 0.30000000000000004``.
    """
    return _out(_call(_seq_reduce_sum_float, _c.float_list(values)), text, float)


@overload
def reduce_max_float(values: _c.FloatList, *, text: Literal[False] = ...) -> float: ...
@overload
def reduce_max_float(values: _c.FloatList, *, text: Literal[True]) -> str: ...
@overload
def reduce_max_float(values: _c.FloatList, *, text: bool) -> Union[float, str]: ...
def reduce_max_float(values: _c.FloatList, *, text: bool = False) -> Union[float, str]:
    """The largest item, exact, as a float (a NaN in first place wins); 0.0 for an empty list."""
    return _out(_call(_seq_reduce_max_float, _c.float_list(values)), text, float)


@overload
def reduce_min_float(values: _c.FloatList, *, text: Literal[False] = ...) -> float: ...
@overload
def reduce_min_float(values: _c.FloatList, *, text: Literal[True]) -> str: ...
@overload
def reduce_min_float(values: _c.FloatList, *, text: bool) -> Union[float, str]: ...
def reduce_min_float(values: _c.FloatList, *, text: bool = False) -> Union[float, str]:
    """The smallest item, exact, as a float (a NaN in first place wins); 0.0 for an empty list."""
    return _out(_call(_seq_reduce_min_float, _c.float_list(values)), text, float)


@overload
def sort_float(values: _c.FloatList, descending: bool = ..., *, text: Literal[False] = ...) -> List[float]: ...
@overload
def sort_float(values: _c.FloatList, descending: bool = ..., *, text: Literal[True]) -> str: ...
@overload
def sort_float(values: _c.FloatList, descending: bool = ..., *, text: bool) -> Union[List[float], str]: ...
def sort_float(values: _c.FloatList, descending: bool = False, *, text: bool = False) -> Union[List[float], str]:
    """The items sorted (stable; -0.0 equals 0.0): a list of floats with six significant digits.

    Every comparison with a NaN answers "greater", so NaNs land where the
    merge steps put them.
    """
    return _out(_call(_seq_sort_float, _c.float_list(values), 1 if descending else 0), text, _c.floats)


@overload
def unique_float(values: _c.FloatList, *, text: Literal[False] = ...) -> List[float]: ...
@overload
def unique_float(values: _c.FloatList, *, text: Literal[True]) -> str: ...
@overload
def unique_float(values: _c.FloatList, *, text: bool) -> Union[List[float], str]: ...
def unique_float(values: _c.FloatList, *, text: bool = False) -> Union[List[float], str]:
    """The first of each numerically equal value (every NaN kept), six significant digits."""
    return _out(_call(_seq_unique_float, _c.float_list(values)), text, _c.floats)


@overload
def count_float(values: _c.FloatList, threshold: _c.FloatArgument, *, text: Literal[False] = ...) -> int: ...
@overload
def count_float(values: _c.FloatList, threshold: _c.FloatArgument, *, text: Literal[True]) -> str: ...
@overload
def count_float(values: _c.FloatList, threshold: _c.FloatArgument, *, text: bool) -> Union[int, str]: ...
def count_float(values: _c.FloatList, threshold: _c.FloatArgument, *, text: bool = False) -> Union[int, str]:
    """How many items are strictly greater than ``threshold``, as an int."""
    return _out(_call(_seq_count_float, _c.float_list(values), _c.float_arg(threshold, "threshold")),
                text, int)


@overload
def reverse_float(values: _c.FloatList, *, text: Literal[False] = ...) -> List[float]: ...
@overload
def reverse_float(values: _c.FloatList, *, text: Literal[True]) -> str: ...
@overload
def reverse_float(values: _c.FloatList, *, text: bool) -> Union[List[float], str]: ...
def reverse_float(values: _c.FloatList, *, text: bool = False) -> Union[List[float], str]:
    """The items in reverse order: a list of floats with six significant digits."""
    return _out(_call(_seq_reverse_float, _c.float_list(values)), text, _c.floats)


# String lists


@overload
def map_string(
    values: _c.StringList,
    prefix: _c.Text = ...,
    suffix: _c.Text = ...,
    *,
    text: Literal[False] = ...,
) -> List[str]: ...
@overload
def map_string(values: _c.StringList, prefix: _c.Text = ..., suffix: _c.Text = ..., *, text: Literal[True]) -> str: ...
@overload
def map_string(
    values: _c.StringList,
    prefix: _c.Text = ...,
    suffix: _c.Text = ...,
    *,
    text: bool,
) -> Union[List[str], str]: ...
def map_string(
    values: _c.StringList,
    prefix: _c.Text = "",
    suffix: _c.Text = "",
    *,
    text: bool = False,
) -> Union[List[str], str]:
    """Each item stripped of blanks and wrapped: ``prefix + item.strip() + suffix``; a list of str.

    ``map_string(["a", " b", "", "c"], "<", ">") == ["<a>", "<b>", "<>", "<c>"]``.
    Without ``text=True`` the prefix and suffix must not contain ",", since the
    result could not be split back into its items (ValueError).
    """
    prefix_text = _c.encode_text(prefix, "prefix")
    suffix_text = _c.encode_text(suffix, "suffix")
    if not text and (b"," in prefix_text or b"," in suffix_text):
        raise ValueError("prefix and suffix must not contain ',' unless text=True")
    return _out(_call(_seq_map_string, _c.string_list(values), prefix_text, suffix_text), text, _c.strings)


@overload
def filter_string(values: _c.StringList, min_length: SupportsIndex, *, text: Literal[False] = ...) -> List[str]: ...
@overload
def filter_string(values: _c.StringList, min_length: SupportsIndex, *, text: Literal[True]) -> str: ...
@overload
def filter_string(values: _c.StringList, min_length: SupportsIndex, *, text: bool) -> Union[List[str], str]: ...
def filter_string(values: _c.StringList, min_length: SupportsIndex, *, text: bool = False) -> Union[List[str], str]:
    """The items (unchanged) whose blank-stripped length in bytes is at least ``min_length``."""
    return _out(_call(_seq_filter_string, _c.string_list(values), _c.c_int(min_length, "min_length")),
                text, _c.strings)


@overload
def count_string(values: _c.StringList, min_length: SupportsIndex, *, text: Literal[False] = ...) -> int: ...
@overload
def count_string(values: _c.StringList, min_length: SupportsIndex, *, text: Literal[True]) -> str: ...
@overload
def count_string(values: _c.StringList, min_length: SupportsIndex, *, text: bool) -> Union[int, str]: ...
def count_string(values: _c.StringList, min_length: SupportsIndex, *, text: bool = False) -> Union[int, str]:
    """How many items have a blank-stripped length in bytes of at least ``min_length``, as an int."""
    return _out(_call(_seq_count_string, _c.string_list(values), _c.c_int(min_length, "min_length")),
                text, int)


@overload
def sort_string(values: _c.StringList, descending: bool = ..., *, text: Literal[False] = ...) -> List[str]: ...
@overload
def sort_string(values: _c.StringList, descending: bool = ..., *, text: Literal[True]) -> str: ...
@overload
def sort_string(values: _c.StringList, descending: bool = ..., *, text: bool) -> Union[List[str], str]: ...
def sort_string(values: _c.StringList, descending: bool = False, *, text: bool = False) -> Union[List[str], str]:
    """The items sorted by their UTF-8 bytes (stable): a list of str.

    ``sort_string(["b", "a", "", "B"]) == ["", "B", "a", "b"]``.
    """
    return _out(_call(_seq_sort_string, _c.string_list(values), 1 if descending else 0), text, _c.strings)


@overload
def unique_string(values: _c.StringList, *, text: Literal[False] = ...) -> List[str]: ...
@overload
def unique_string(values: _c.StringList, *, text: Literal[True]) -> str: ...
@overload
def unique_string(values: _c.StringList, *, text: bool) -> Union[List[str], str]: ...
def unique_string(values: _c.StringList, *, text: bool = False) -> Union[List[str], str]:
    """The first occurrence of each item (compared byte for byte), in input order: a list of str."""
    return _out(_call(_seq_unique_string, _c.string_list(values)), text, _c.strings)


@overload
def reverse_string(values: _c.StringList, *, text: Literal[False] = ...) -> List[str]: ...
@overload
def reverse_string(values: _c.StringList, *, text: Literal[True]) -> str: ...
@overload
def reverse_string(values: _c.StringList, *, text: bool) -> Union[List[str], str]: ...
def reverse_string(values: _c.StringList, *, text: bool = False) -> Union[List[str], str]:
    """The items in reverse order: a list of str."""
    return _out(_call(_seq_reverse_string, _c.string_list(values)), text, _c.strings)


@overload
def take_string(values: _c.StringList, count: SupportsIndex, *, text: Literal[False] = ...) -> List[str]: ...
@overload
def take_string(values: _c.StringList, count: SupportsIndex, *, text: Literal[True]) -> str: ...
@overload
def take_string(values: _c.StringList, count: SupportsIndex, *, text: bool) -> Union[List[str], str]: ...
def take_string(values: _c.StringList, count: SupportsIndex, *, text: bool = False) -> Union[List[str], str]:
    """The first ``count`` items: a list of str. A negative count raises KarpaError for a non-empty list."""
    return _out(_call(_seq_take_string, _c.string_list(values), _c.c_int(count, "count")), text, _c.strings)


@overload
def skip_string(values: _c.StringList, count: SupportsIndex, *, text: Literal[False] = ...) -> List[str]: ...
@overload
def skip_string(values: _c.StringList, count: SupportsIndex, *, text: Literal[True]) -> str: ...
@overload
def skip_string(values: _c.StringList, count: SupportsIndex, *, text: bool) -> Union[List[str], str]: ...
def skip_string(values: _c.StringList, count: SupportsIndex, *, text: bool = False) -> Union[List[str], str]:
    """The items after the first ``count``: a list of str. A negative count raises KarpaError for a non-empty list."""
    return _out(_call(_seq_skip_string, _c.string_list(values), _c.c_int(count, "count")), text, _c.strings)


_accelerate(globals(), _lib, "seq_", {
    "map_int": ("Li", "N"), "filter_int": ("Li", "N"), "reduce_sum_int": ("L", "n"), "reduce_max_int": ("L", "n"),
    "reduce_min_int": ("L", "n"), "sort_int": ("Lb", "N"), "unique_int": ("L", "N"), "count_int": ("Li", "n"),
    "reverse_int": ("L", "N"), "take_int": ("Li", "N"), "skip_int": ("Li", "N"),
    "map_float": ("Ff", "X"), "filter_float": ("Ff", "X"), "reduce_sum_float": ("F", "x"),
    "reduce_max_float": ("F", "x"), "reduce_min_float": ("F", "x"), "sort_float": ("Fb", "X"),
    "unique_float": ("F", "X"), "count_float": ("Ff", "n"), "reverse_float": ("F", "X"),
    "map_string": ("Suu", "T"), "filter_string": ("Si", "T"), "count_string": ("Si", "n"), "sort_string": ("Sb", "T"),
    "unique_string": ("S", "T"), "reverse_string": ("S", "T"), "take_string": ("Si", "T"), "skip_string": ("Si", "T"),
})
