"""python -m karpa: results, failures, wrong calls, --list, --help and --version.

Where this build's C++ command (build/bin/karpa, beside KARPA_LIB_DIR) exists,
the two commands are held to the same output.
"""

import contextlib
import hashlib
import io
import os
import re
import subprocess
import sys
import unittest

from support import PACKAGE_ROOT, REPO

import karpa
from karpa import __main__ as cli
from karpa import _exports


def run(*args, stdin=b""):
    env = dict(os.environ)
    env["PYTHONPATH"] = os.pathsep.join(p for p in (PACKAGE_ROOT, env.get("PYTHONPATH")) if p)
    return subprocess.run([sys.executable, "-m", "karpa", *args], input=stdin, capture_output=True, env=env,
                          timeout=300)


def cpp_command():
    lib_dir = os.environ.get("KARPA_LIB_DIR", "").split(os.pathsep)[0]
    path = os.path.join(lib_dir, os.pardir, "bin", "karpa") if lib_dir else ""
    return path if path and os.access(path, os.X_OK) else None


# (arguments, standard input, exit status, standard output)
CASES = (
    (("seq_sort_int", " 3,1, 2", "0"), b"", 0, b"1,2,3\n"),
    (("seq_sort_int", " +3,1", " -1"), b"", 0, b"3,1\n"),       # ints read as strtoll reads them
    (("seq_filter_int", "1,2", "9"), b"", 0, b"\n"),
    (("seq_take_int", "1", "-2147483648"), b"", 1, b""),
    (("seq_take_int", "1", "2147483648"), b"", 2, b""),
    (("seq_sort_int", "1", "2 "), b"", 2, b""),
    (("seq_sort_int", "1"), b"", 2, b""),
    (("seq_sort_int", "3,x", "0"), b"", 1, b""),
    (("no_such_export",), b"", 2, b""),
    ((), b"", 2, b""),
    (("dt_ts_to_ymdhms", "9223372036854775807"), b"", 0, b"292277026596-12-04 15:30:07\n"),
    (("dt_ts_to_ymd", "9223372036854775808"), b"", 2, b""),
    (("dt_ymd_to_ts", "1970", "1", "1"), b"", 0, b"0\n"),       # 0 as the answer
    (("dt_ymd_to_ts", "2023", "2", "29"), b"", 1, b""),         # 0 as the failure
    (("dt_days_between", "2024", "3", "1", "2024", "3", "1"), b"", 0, b"0\n"),
    (("dt_days_between", "2024", "2", "30", "2024", "2", "30"), b"", 1, b""),
    (("dt_days_in_month", "2024", "13"), b"", 0, b"0\n"),
    (("dt_is_leap_year", "1900"), b"", 0, b"0\n"),
    (("hmac_md5", "what do ya want for nothing?", "Jefe"), b"", 0, b"750C783E6AB0B503EAA86E310A5DB738\n"),
    (("seq_reduce_sum_int", "-"), b"1,2,3\r\n", 0, b"6\n"),
    (("md5_hash", "-"), b"a\0b\n", 0, hashlib.md5(b"a\0b").hexdigest().upper().encode() + b"\n"),
    (("md5_hash", b"\xff"), b"", 0, hashlib.md5(b"\xff").hexdigest().upper().encode() + b"\n"),
    (("cur_dot_int", "-", "-"), b"1", 2, b""),
    (("seq_sort_int", "-", "-"), b"1", 2, b""),                 # "-" is text only
)


class Command(unittest.TestCase):
    def test_cases(self):
        for args, stdin, status, out in CASES:
            with self.subTest(args=args):
                result = run(*args, stdin=stdin)
                self.assertEqual((result.returncode, result.stdout), (status, out), result.stderr)
                if status == 1:
                    self.assertRegex(result.stderr, rb"^karpa: \w+\(.*\) failed: ")
                if status == 2:
                    self.assertIn(b"\nusage: karpa EXPORT ARG...", result.stderr)

    def test_failure_message_is_the_package_error(self):
        result = run("seq_sort_int", "3,x", "0")
        with self.assertRaises(karpa.KarpaError) as raised:
            karpa.seq.sort_int("3,x")
        self.assertEqual(result.stderr.decode(), f"karpa: {raised.exception}\n")

    def test_every_table_example(self):
        for export in _exports.EXPORTS:
            with self.subTest(export=export.name):
                out = io.TextIOWrapper(io.BytesIO(), encoding="utf-8")
                with contextlib.redirect_stdout(out), contextlib.redirect_stderr(io.StringIO()):
                    status = cli.main([export.name, *cli.example_words(export)])
                out.flush()
                if export.example_result is None:
                    self.assertEqual(status, 1)
                else:
                    self.assertEqual((status, out.buffer.getvalue()), (0, f"{export.example_result}\n".encode()))

    def test_list_has_one_line_per_export(self):
        result = run("--list")
        self.assertEqual(result.returncode, 0)
        lines = result.stdout.decode().splitlines()
        self.assertEqual(len(lines), len(_exports.EXPORTS))
        for line, export in zip(lines, _exports.EXPORTS):
            self.assertEqual(line.split(None, 1), [f"karpa_{export.library}", cli.signature(export)])
        self.assertIn("const char* hmac_md5(const char* message, int message_len, const char* key, int key_len)",
                      result.stdout.decode())

    def test_help_for_an_export(self):
        result = run("--help", "md5_hash")
        self.assertEqual(result.stdout.decode(), (
            "const char* md5_hash(const char* data, int len)   (libkarpa_crypto)\n"
            "  32 hex characters; fails when len < 0.\n\nexample:\n"
            '  md5_hash("abc", 3) -> "900150983CD24FB0D6963F7D28E17F72"\n  karpa md5_hash abc\n'))
        self.assertEqual(run("--help", "nothing").returncode, 2)
        self.assertIn(b"usage:", run("--help").stdout)

    def test_version_is_the_cmake_project_version(self):
        with open(os.path.join(REPO, "CMakeLists.txt"), encoding="utf-8") as cmake:
            version = re.search(r"project\(karpa VERSION ([0-9.]+)", cmake.read()).group(1)
        self.assertEqual(getattr(karpa, "__version__", None), version,
                         "karpa/__init__.py should say: from ._version import __version__")
        self.assertEqual(run("--version").stdout.decode(), f"karpa {version}\n")


@unittest.skipIf(cpp_command() is None, "the C++ karpa command is not built beside KARPA_LIB_DIR")
class SameAsTheCppCommand(unittest.TestCase):
    def test_same_output(self):
        for args in (("--list",), ("--help",), ("--version",), ("tour",), ("--help", "hmac_sha256"),
                     ("seq_map_string", "a, b,,c", "<", ">"), ("dt_week_of_year", "2024", "1", "1"),
                     ("cur_minmax_float", ""), ("seq_take_int", "1", "x"), ("dt_day_of_week", "2023", "2", "30")):
            with self.subTest(args=args):
                cpp = subprocess.run([cpp_command(), *args], capture_output=True, timeout=300)
                python = run(*args)
                self.assertEqual((python.returncode, python.stdout), (cpp.returncode, cpp.stdout))


if __name__ == "__main__":
    unittest.main()
