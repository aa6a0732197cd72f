"""The README's Python examples hold as written: each commented result is what the line gives."""

import ast
import contextlib
import io
import os
import re
import unittest

from support import REPO

import karpa  # noqa: F401


def python_blocks(section):
    """The ```python blocks of the README section whose heading starts with ``section``."""
    with open(os.path.join(REPO, "README.md"), encoding="utf-8") as readme:
        text = readme.read()
    start = re.search(rf"^## {re.escape(section)}.*$", text, re.M)
    end = re.search(r"^## ", text[start.end():], re.M)
    body = text[start.end(): start.end() + end.start() if end else len(text)]
    return re.findall(r"^```python\n(.*?)^```$", body, re.M | re.S)


def leading_literal(comment):
    """The Python literal that a comment starts with, or None ("# [1, 2] then words")."""
    for end in range(len(comment), 0, -1):
        try:
            return (ast.literal_eval(comment[:end]),)
        except (ValueError, SyntaxError, TypeError, MemoryError, RecursionError):
            continue
    return None


class Readme(unittest.TestCase):
    def test_quick_start_results(self):
        block = python_blocks("Quick start: Python")[0]
        lines = block.splitlines()
        tree = ast.parse(block)
        seen = {}

        def record(line, thunk):
            out = io.StringIO()
            with contextlib.redirect_stdout(out):
                value = thunk()
            seen[line] = (value, out.getvalue())
            return value

        class Wrap(ast.NodeTransformer):
            def visit_Expr(self, node):
                thunk = ast.Lambda(ast.arguments([], [], None, [], [], None, []), node.value)
                call = ast.Call(ast.Name("_record", ast.Load()), [ast.Constant(node.lineno), thunk], [])
                return ast.copy_location(ast.Expr(call), node)

        code = compile(ast.fix_missing_locations(Wrap().visit(tree)), "README.md", "exec")
        exec(code, {"_record": record})  # noqa: S102  (the README's own example)
        checked = 0
        for number, line in enumerate(lines, 1):
            if "  # " not in line or number not in seen:
                continue
            comment = line.split("  # ", 1)[1].strip()
            value, printed = seen[number]
            with self.subTest(line=line.strip()):
                if printed:
                    self.assertEqual(printed.strip(), comment)
                    checked += 1
                    continue
                literal = leading_literal(comment)
                if literal is not None:
                    self.assertEqual(value, literal[0])
                    checked += 1
        self.assertGreaterEqual(checked, 10)


if __name__ == "__main__":
    unittest.main()
