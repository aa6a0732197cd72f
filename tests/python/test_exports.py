import ast
import os
import re
import unittest

import support  # noqa: F401  (puts the package on the path)

import karpa
from karpa import _exports

PREFIXES = {"seq": "seq_", "curried": "cur_", "datetime": "dt_", "crypto": ""}


class ExportTable(unittest.TestCase):
    """Every row of the export table, called as the table's example through its ctypes signature."""

    def test_every_example_gives_its_result(self):
        for export in _exports.EXPORTS:
            with self.subTest(export=export.name):
                function = karpa._libraries[export.library].function(export.name)
                arguments = [a.encode() if isinstance(a, str) else a for a in export.example_arguments]
                result = function(*arguments)
                if export.result == "const char*" and result is not None:
                    result = result.decode()
                self.assertEqual(result, export.example_result)

    def test_raw_functions_read_c_int_arguments_as_the_argument_types_do(self):
        # The wrappers call _<export>_raw with exact ints in the C int range and
        # bytes; each must reach the export as the 64-bit (or C int) value itself.
        # (The range exports are left out: their wrappers do not use it, and a
        # count of 2**31 - 1 would build a huge list.)
        edges = {"datetime": (-(1 << 31), -(1 << 31) + 1, -1, 0, 1, 2, 12, 31, 2024, 1700000000, (1 << 31) - 1),
                 "crypto": (-(1 << 31), -1, 0, 1, 3)}  # lengths of b"abc"
        modules = {"datetime": karpa.datetime, "crypto": karpa.crypto}
        for export in _exports.EXPORTS:
            if export.library not in modules or "_range_" in export.name:
                continue
            namespace = vars(modules[export.library])
            checked, raw = namespace["_" + export.name], namespace["_" + export.name + "_raw"]
            for value in edges[export.library]:
                arguments = [b"abc" if t == "const char*" else value for t, _ in export.parameters]
                with self.subTest(export=export.name, value=value):
                    self.assertEqual(raw(*arguments), checked(*arguments))

    def test_the_readme_shows_each_rows_example(self):
        rows = {}
        with open(os.path.join(support.REPO, "README.md"), encoding="utf-8") as readme:
            for line in readme:
                match = re.match(r"\| \w+ \| `(\w+)\((.*)\)` \| (.*) \|$", line)
                if match:
                    rows[match[1]] = (match[2], match[3])
        for export in _exports.EXPORTS:
            with self.subTest(export=export.name):
                arguments, shown = rows[export.name]
                self.assertEqual(ast.literal_eval("(" + arguments.replace("NULL", "None") + ",)"), export.example_arguments)
                if export.example_result is None:
                    self.assertEqual(shown, "null (failure)")
                elif isinstance(export.example_result, str):
                    self.assertEqual(ast.literal_eval(shown.strip("`")), export.example_result)
                else:
                    self.assertEqual(int(shown), export.example_result)
        self.assertEqual(len(rows), len(_exports.EXPORTS))

    def test_every_export_has_a_python_function(self):
        modules = {"seq": karpa.seq, "curried": karpa.curried, "datetime": karpa.datetime, "crypto": karpa.crypto}
        for export in _exports.EXPORTS:
            with self.subTest(export=export.name):
                module = modules[export.library]
                name = export.name[len(PREFIXES[export.library]):]
                self.assertIn(name, module.__all__)
                self.assertTrue(callable(getattr(module, name)))


if __name__ == "__main__":
    unittest.main()
