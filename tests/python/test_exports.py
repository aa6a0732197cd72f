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
