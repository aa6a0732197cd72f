"""Conversions between Python values and the libraries' argument and result text.

Arguments: list text given as ``str`` (encoded as UTF-8) or bytes is passed on
unchanged; any other iterable is written as list text here. Results: the bytes
that ctypes copied out of the library are decoded or parsed here.
"""

from __future__ import annotations

import itertools
import math
import operator
from typing import TYPE_CHECKING, Iterable, List, SupportsFloat, SupportsIndex, Tuple, Union

if TYPE_CHECKING:
    from typing_extensions import TypeGuard

INT32_MIN, INT32_MAX = -(1 << 31), (1 << 31) - 1
INT64_MIN, INT64_MAX = -(1 << 63), (1 << 63) - 1

_BYTES_LIKE = (bytes, bytearray, memoryview)

# What the wrappers take: text (str is encoded as UTF-8), or a list's items.
Text = Union[str, bytes, bytearray, memoryview]
Number = Union[SupportsFloat, SupportsIndex]
IntList = Union[Text, Iterable[SupportsIndex]]
FloatList = Union[Text, Iterable[Number]]
StringList = Union[Text, Iterable[Text]]
FloatArgument = Union[Text, Number]


def encode_text(value: Text, what: str) -> bytes:
    """Text argument as bytes: str is encoded as UTF-8, bytes-like taken as is.

    A NUL byte would silently end the text inside the library, so it is refused.
    """
    if isinstance(value, str):
        data = value.encode("utf-8", "surrogateescape")
    elif isinstance(value, _BYTES_LIKE):
        data = bytes(value)
    else:
        raise TypeError(f"{what} must be str or bytes, not {type(value).__name__}")
    if b"\0" in data:
        raise ValueError(f"{what} contains a NUL character")
    return data


def decode_text(data: bytes) -> str:
    """Result bytes as str; bytes that are not UTF-8 survive as surrogate escapes."""
    return data.decode("utf-8", "surrogateescape")


_TEXT = (str,) + _BYTES_LIKE


def _is_text(value: object) -> TypeGuard[Text]:
    return isinstance(value, _TEXT)


def _items(value):
    """The items of a list argument, read once: a list or tuple as it is, any other iterable into a list."""
    return value if type(value) is list or type(value) is tuple else list(value)


def int_list(value: IntList, what: str = "list") -> bytes:
    """List text of 64-bit integers from text or an iterable of integers."""
    if isinstance(value, _TEXT):
        return encode_text(value, what)
    value = _items(value)
    try:
        # operator.index gives exact ints, whose str() is "%d"
        return ",".join(map(str, map(operator.index, value))).encode()
    except TypeError:
        pass
    pieces = []
    for item in value:
        try:
            number = operator.index(item)  # type: ignore[arg-type]  # value is not text here
        except TypeError:
            raise TypeError(f"{what} items must be integers, not {type(item).__name__}") from None
        pieces.append(b"%d" % number)
    return b",".join(pieces)


def float_list(value: FloatList, what: str = "list") -> bytes:
    """List text of floats from text or an iterable of real numbers.

    Each item goes through float() and is written with repr(), which reads back
    to the same binary64 value ('nan', 'inf' and '-inf' included).
    """
    if isinstance(value, _TEXT):
        return encode_text(value, what)
    value = _items(value)
    try:
        # ldexp(x, 0) is float(x) but refuses text, which float() would parse
        return ",".join(map(repr, map(math.ldexp, value, itertools.repeat(0)))).encode()
    except TypeError:
        pass
    pieces = []
    for item in value:
        if _is_text(item):
            raise TypeError(f"{what} items must be numbers, not {type(item).__name__}")
        pieces.append(repr(float(item)).encode("ascii"))
    return b",".join(pieces)


def string_list(value: StringList, what: str = "list") -> bytes:
    """List text of strings from text or an iterable of str/bytes items.

    An item holding "," or NUL cannot travel in list text and is refused.
    """
    if isinstance(value, _TEXT):
        return encode_text(value, what)
    pieces = []
    for item in value:
        if isinstance(item, str):
            piece = item.encode("utf-8", "surrogateescape")
        elif isinstance(item, _BYTES_LIKE):
            piece = bytes(item)
        else:
            raise TypeError(f"{what} items must be str or bytes, not {type(item).__name__}")
        if b"," in piece or b"\0" in piece:
            raise ValueError(f"{what} item {item!r} holds ',' or NUL, which list text cannot carry")
        pieces.append(piece)
    return b",".join(pieces)


def string_collection(value: StringList, what: str = "list") -> Tuple[bytes, bool]:
    """List text of strings and whether ``value`` was an iterable with no items.

    The empty text reads as one empty item in the set operations, so an empty
    Python collection has to be told apart before it becomes text.
    """
    if _is_text(value):
        return encode_text(value, what), False
    items = list(value)
    return string_list(items, what), not items  # type: ignore[arg-type]  # value is not text here


def float_arg(value: FloatArgument, what: str) -> bytes:
    """A single float argument: text passed exactly as given, a number via repr(float())."""
    if _is_text(value):
        return encode_text(value, what)
    return repr(float(value)).encode("ascii")


def c_int(value: SupportsIndex, what: str) -> int:
    """A C int argument: any integer in the 32-bit signed range."""
    number = operator.index(value)
    if not INT32_MIN <= number <= INT32_MAX:
        raise OverflowError(f"{what} = {number} does not fit a 32-bit C int")
    return number


def c_int64(value: SupportsIndex, what: str) -> int:
    """An int64_t argument: any integer in the 64-bit signed range."""
    number = operator.index(value)
    if not INT64_MIN <= number <= INT64_MAX:
        raise OverflowError(f"{what} = {number} does not fit a 64-bit integer")
    return number


def byte_buffer(value: Text, what: str) -> bytes:
    """A (pointer, length) buffer: bytes-like as is, str encoded as UTF-8."""
    if isinstance(value, str):
        data = value.encode("utf-8")
    elif isinstance(value, bytes):
        data = value
    elif isinstance(value, (bytearray, memoryview)):
        data = bytes(value)
    else:
        raise TypeError(f"{what} must be bytes or str, not {type(value).__name__}")
    if len(data) > INT32_MAX:
        raise OverflowError(f"{what} is {len(data)} bytes; at most {INT32_MAX} fit a C int length")
    return data


def ints(result: bytes) -> List[int]:
    """Parse a result list of integers; the empty text is the empty list."""
    return list(map(int, result.split(b","))) if result else []


def floats(result: bytes) -> List[float]:
    """Parse a result list of floats ('nan', '-nan', 'inf' read as float() reads them)."""
    return list(map(float, result.split(b","))) if result else []


def strings(result: bytes) -> List[str]:
    """Split a result list of strings at ','; the empty text is the empty list."""
    return decode_text(result).split(",") if result else []
