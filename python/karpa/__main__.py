"""``python -m karpa`` (or the ``karpa`` command of an installed wheel): call any export from the shell.

    karpa EXPORT ARG...    call one export, print its result
    karpa --list           every export with its C signature
    karpa --help [EXPORT]  usage, or one export's signature, contract and example
    karpa --version
    karpa tour             a short tour of all four libraries

It behaves like the C++ command (tools/karpa.cpp) and reads the same export
table, through this package's copy (``karpa._exports``). Arguments follow the
C signature: text goes in as the argument's bytes, ``int`` takes a 32-bit and
``int64_t`` a 64-bit decimal integer, and a ``const char*`` followed by an
``int`` named ``len`` or ``<name>_len`` is a byte buffer given as one argument
(its length is counted here). An argument ``-`` reads that text from standard
input, without its trailing line break. The result text is printed with a
newline.

Exit status: 0 for a result; 1 when the library fails the call (its reason on
standard error); 2 for a wrong call (unknown export, wrong number or type of
arguments) or a library that cannot be loaded, with a usage line.
"""

from __future__ import annotations

import os
import re
import sys
from typing import BinaryIO, List, NoReturn, Optional, Sequence, Tuple, Union

from . import KarpaError, KarpaLoadError, _call, _codec, _exports, _libraries
from . import datetime as _datetime
from ._version import __version__

USAGE = (
    'usage: karpa EXPORT ARG...   call an export ("-" reads an argument from standard input)\n'
    "       karpa --list          every export with its C signature\n"
    "       karpa --help EXPORT   an export's signature, contract and example\n"
    "       karpa --version\n"
    "       karpa tour            a short tour of all four libraries\n"
)

# The same steps as the C++ command's tour.
TOUR = (
    ("seq_sort_int", (" 3,1, 2", "0")),
    ("seq_unique_int", ("3,1,3,2,1",)),
    ("seq_reduce_sum_int", ("9223372036854775807,1",)),
    ("seq_reduce_sum_float", ("0.1,0.2",)),
    ("seq_map_float", ("1.5, 2", "2")),
    ("seq_sort_string", ("b,a,,B", "0")),
    ("seq_map_string", ("a, b,,c", "<", ">")),
    ("cur_mean_int", ("1,2,2",)),
    ("cur_variance_int", ("1,2,3,4",)),
    ("cur_median_float", ("4,1,3,2",)),
    ("cur_union_string", ("a,b,a", "c,b,d")),
    ("dt_ts_to_ymdhms", ("1700000000",)),
    ("dt_add_months", ("2024", "1", "31", "1")),
    ("dt_week_of_year", ("2024", "1", "15")),
    ("dt_range_months", ("2024", "11", "4")),
    ("sha256_hash", ("abc",)),
    ("hmac_md5", ("what do ya want for nothing?", "Jefe")),
)

# What strtoll accepts in base 10, all of the text: blanks first, a sign, digits.
_INTEGER = re.compile(r"[ \t\n\v\f\r]*[+-]?[0-9]+")
_SHELL_SAFE = re.compile(r"[A-Za-z0-9_.-]+")

Value = Union[bytes, int]


class _Usage(Exception):
    """A wrong call: the message goes to standard error with the usage, exit status 2."""


def _usage(problem: str) -> NoReturn:
    raise _Usage(problem)


def argument_kinds(export: _exports.Export) -> str:
    """One letter per command-line argument: s text, b byte buffer, i 32-bit int, l 64-bit int."""
    kinds = []
    parameters = export.parameters
    k = 0
    while k < len(parameters):
        c_type, name = parameters[k]
        following = parameters[k + 1] if k + 1 < len(parameters) else None
        if (c_type == "const char*" and following is not None and following[0] == "int"
                and following[1] in ("len", name + "_len")):
            kinds.append("b")
            k += 2
            continue
        kinds.append("s" if c_type == "const char*" else "i" if c_type in ("int", "int32_t") else "l")
        k += 1
    return "".join(kinds)


def signature(export: _exports.Export) -> str:
    """The C signature: ``const char* seq_sort_int(const char* list, int descending)``."""
    parameters = ", ".join(f"{c_type} {name}" for c_type, name in export.parameters)
    return f"{export.result} {export.name}({parameters})"


def find_export(name: str) -> Optional[_exports.Export]:
    for export in _exports.EXPORTS:
        if export.name == name:
            return export
    return None


def _known(name: str) -> _exports.Export:
    export = find_export(name)
    if export is None:
        _usage(f"unknown export '{name}' (karpa --list shows them all)")
    return export


def _read_standard_input(stdin: BinaryIO) -> bytes:
    # A trailing line break from the pipe is not part of the list.
    return stdin.read().rstrip(b"\r\n")


def c_arguments(export: _exports.Export, words: Sequence[str], stdin: Optional[BinaryIO] = None) -> Tuple[Value, ...]:
    """The C arguments for the command-line words (a byte buffer gives its bytes and their length)."""
    kinds = argument_kinds(export)
    if len(words) != len(kinds):
        count = len(kinds)
        _usage(f"{export.name} takes {count} argument{'' if count == 1 else 's'}: {signature(export)}")
    values: List[Value] = []
    stdin_used = False
    for position, (kind, word) in enumerate(zip(kinds, words), 1):
        if kind in ("i", "l"):
            low, high, what = ((_codec.INT32_MIN, _codec.INT32_MAX, "a 32-bit") if kind == "i"
                               else (_codec.INT64_MIN, _codec.INT64_MAX, "a 64-bit"))
            number = int(word) if _INTEGER.fullmatch(word) else None
            if number is None or not low <= number <= high:
                _usage(f"argument {position} of {export.name} must be {what} integer, not '{word}'")
            values.append(number)
            continue
        if word == "-":
            if stdin_used:
                _usage("only one argument can be read from standard input")
            stdin_used = True
            data = _read_standard_input(stdin if stdin is not None else sys.stdin.buffer)
        else:
            data = os.fsencode(word)
        if kind == "b":
            if len(data) > _codec.INT32_MAX:
                _usage("argument too long for an int length")
            values += [data, len(data)]
        else:
            values.append(data)
    return tuple(values)


def call(export: _exports.Export, arguments: Sequence[Value]) -> bytes:
    """The result text of one call; raises KarpaError when the library fails it.

    A numeric calendar export answers a failure with 0, which can also be a
    real answer; then the matching ``karpa.datetime`` function decides (it
    raises exactly when the library failed).
    """
    function = _libraries[export.library].function(export.name)
    if export.result == "const char*":
        return _call(function, *arguments)
    number = function(*arguments)
    if number == 0 and export.library == "datetime":
        wrapper = getattr(_datetime, export.name[len("dt_"):], None)
        if wrapper is not None:
            wrapper(*arguments)
    return b"%d" % number


def _c_literal(value: object) -> str:
    if value is None:
        return "NULL"
    if isinstance(value, str):
        escaped = value.replace("\\", "\\\\").replace('"', '\\"').replace("\n", "\\n").replace("\t", "\\t")
        return f'"{escaped}"'
    return str(value)


def _shell_quoted(word: str) -> str:
    if _SHELL_SAFE.fullmatch(word):
        return word
    return "'" + word.replace("'", "'\\''") + "'"


def example_words(export: _exports.Export) -> List[str]:
    """The table example's C arguments as command-line words (a byte buffer's length left out)."""
    words = []
    arguments = iter(export.example_arguments)
    for kind in argument_kinds(export):
        value = next(arguments)
        if kind == "b":
            next(arguments)
        words.append("" if value is None else str(value))
    return words


def help_text(export: _exports.Export) -> str:
    example = ", ".join(_c_literal(value) for value in export.example_arguments)
    command = " ".join(["karpa", export.name] + [_shell_quoted(word) for word in example_words(export)])
    return (f"{signature(export)}   (libkarpa_{export.library})\n  {export.contract}\n\n"
            f"example:\n  {export.name}({example}) -> {_c_literal(export.example_result)}\n  {command}\n")


def list_text() -> str:
    return "".join(f"{'karpa_' + e.library:<16} {signature(e)}\n" for e in _exports.EXPORTS)


def _tour() -> str:
    lines = []
    for name, words in TOUR:
        export = _known(name)
        kinds = argument_kinds(export)
        shown = ", ".join(f'"{w}"' if kind in "sb" else w for kind, w in zip(kinds, words))
        try:
            result = call(export, c_arguments(export, words)).decode("utf-8", "surrogateescape")
            if export.result == "const char*":
                result = f'"{result}"'
        except KarpaError:
            result = "failure (null pointer)"
        lines.append(f"{name + '(' + shown + ')':<52} -> {result}\n")
    return "".join(lines)


def _write(text: Union[str, bytes]) -> None:
    out = sys.stdout
    out.flush()
    out.buffer.write(text if isinstance(text, bytes) else text.encode("utf-8", "surrogateescape"))
    out.buffer.flush()


def _run(argv: Sequence[str]) -> int:
    if not argv:
        _usage("nothing to do")
    command = argv[0]
    if command == "--list":
        _write(list_text())
        return 0
    if command == "tour" and len(argv) == 1:
        _write(_tour())
        return 0
    if command in ("--help", "-h"):
        _write(help_text(_known(argv[1])) if len(argv) == 2 else USAGE)
        return 0
    if command == "--version" and len(argv) == 1:
        _write(f"karpa {__version__}\n")
        return 0
    export = _known(command)
    arguments = c_arguments(export, argv[1:])
    try:
        result = call(export, arguments)
    except KarpaError as error:
        sys.stdout.flush()
        print(f"karpa: {error}", file=sys.stderr)
        return 1
    _write(result + b"\n")
    return 0


def main(argv: Optional[Sequence[str]] = None) -> int:
    """Runs one command line (``sys.argv[1:]`` when not given); the exit status."""
    try:
        return _run(list(sys.argv[1:] if argv is None else argv))
    except _Usage as problem:
        print(f"karpa: {problem}\n{USAGE}", end="", file=sys.stderr)
        return 2
    except KarpaLoadError as error:
        print(f"karpa: {error}", file=sys.stderr)
        return 2
    except BrokenPipeError:
        # The reader left (`karpa --list | head -1`); nothing more to write.
        devnull = os.open(os.devnull, os.O_WRONLY)
        os.dup2(devnull, sys.stdout.fileno())
        return 0


if __name__ == "__main__":
    sys.exit(main())
