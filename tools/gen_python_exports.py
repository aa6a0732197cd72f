#!/usr/bin/env python3
"""Writes python/karpa/_exports.py from the export table src/exports.def.

The Python package carries the table's rows as Python data, so that a copy of
the package directory works on its own (installed, or copied anywhere).

  python3 tools/gen_python_exports.py            rewrite the module
  python3 tools/gen_python_exports.py --check    exit 1 when the module differs
"""
import ast
import os
import re
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir)
TABLE = os.path.join(ROOT, "src", "exports.def")
MODULE = os.path.join(ROOT, "python", "karpa", "_exports.py")

ROW = re.compile(
    r'^KARPA_EXPORT_ROW\((?P<library>\w+), (?P<result>[^,]+), (?P<name>\w+), \((?P<parameters>[^)]*)\), '
    r'"(?P<contract>(?:[^"\\]|\\.)*)", \((?P<example>.*)\), (?P<example_result>"(?:[^"\\]|\\.)*"|NULL|-?\d+)\)$'
)
C_TYPES = ("const char*", "int", "int64_t", "int32_t")


def read_table(path=TABLE):
    """The rows as tuples: library, result type, name, ((type, name), ...), contract,
    example arguments (Python values, None for NULL) and example result (text, None for a failure, or int)."""
    rows = []
    with open(path, encoding="utf-8") as table:
        for number, line in enumerate(table, 1):
            if not line.startswith("KARPA_EXPORT_ROW("):
                continue
            match = ROW.match(line.rstrip("\n"))
            if match is None:
                raise SystemExit(f"{path}:{number}: row does not have the table's form")
            parameters = tuple(tuple(p.rsplit(" ", 1)) for p in match["parameters"].split(", ") if p)
            for c_type in (match["result"],) + tuple(t for t, _ in parameters):
                if c_type not in C_TYPES:
                    raise SystemExit(f"{path}:{number}: C type {c_type!r} is not one of {C_TYPES}")
            example = ast.literal_eval("(" + match["example"].replace("NULL", "None") + ",)")
            result = match["example_result"]
            rows.append((match["library"], match["result"], match["name"], parameters,
                         ast.literal_eval('"' + match["contract"] + '"'), example,
                         None if result == "NULL" else ast.literal_eval(result)))
    return rows


def render(rows):
    lines = [
        '"""The export table: every export\'s library, C signature, contract and example.',
        "",
        "Generated from src/exports.def by tools/gen_python_exports.py; do not edit.",
        '"""',
        "",
        "from collections import namedtuple",
        "",
        'Export = namedtuple("Export", "library result name parameters contract example_arguments example_result")',
        "",
        "EXPORTS = (",
    ]
    lines += [f"    Export{row!r}," for row in rows]
    lines += [")", ""]
    return "\n".join(lines)


def main():
    text = render(read_table())
    if "--check" in sys.argv[1:]:
        with open(MODULE, encoding="utf-8") as current:
            if current.read() != text:
                print(f"{MODULE} is out of date: run python3 tools/gen_python_exports.py")
                return 1
        return 0
    with open(MODULE, "w", encoding="utf-8") as out:
        out.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
