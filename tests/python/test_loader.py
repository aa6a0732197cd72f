import os
import shutil
import subprocess
import sys
import tempfile
import unittest

from support import PACKAGE_ROOT

import karpa

NAMES = ("seq", "curried", "datetime", "crypto")
PROBE = (
    "import karpa\n"
    "assert karpa.seq.sort_int('3,1,2') == [1, 2, 3]\n"
    "assert karpa.curried.sum_int([1, 2]) == 3\n"
    "assert karpa.datetime.add_days(2024, 2, 28, 1) == '2024-02-29'\n"
    "assert karpa.crypto.md5_hash(b'abc') == '900150983CD24FB0D6963F7D28E17F72'\n"
    "print('|'.join(karpa.library_path(n) for n in ('seq', 'curried', 'datetime', 'crypto')))\n"
)


def run_python(code, package_parent, **env_changes):
    env = {k: v for k, v in os.environ.items() if k not in ("KARPA_LIB_DIR", "LD_LIBRARY_PATH")}
    env["PYTHONPATH"] = package_parent
    env.update(env_changes)
    return subprocess.run([sys.executable, "-c", code], env=env, capture_output=True, text=True, timeout=120,
                          cwd=package_parent)


class Layouts(unittest.TestCase):
    """Where the package finds the libraries, tried on copies of the package in a scratch folder."""

    @classmethod
    def setUpClass(cls):
        cls.built = {name: os.path.realpath(karpa.library_path(name)) for name in NAMES}

    def setUp(self):
        self.scratch = tempfile.mkdtemp(prefix="karpa-layout-")
        self.addCleanup(shutil.rmtree, self.scratch)

    def package_at(self, *parts):
        parent = os.path.join(self.scratch, *parts)
        shutil.copytree(os.path.join(PACKAGE_ROOT, "karpa"), os.path.join(parent, "karpa"),
                        ignore=shutil.ignore_patterns("__pycache__", "lib", "*.so*"))
        return parent

    def put_libraries(self, directory, suffix=".so"):
        os.makedirs(directory, exist_ok=True)
        for name, path in self.built.items():
            shutil.copyfile(path, os.path.join(directory, f"libkarpa_{name}{suffix}"))
        return directory

    def loaded_from(self, result):
        self.assertEqual(result.returncode, 0, result.stderr)
        return result.stdout.strip().split("|")

    def test_environment_directory_is_used_by_this_test_run(self):
        directory = os.environ.get("KARPA_LIB_DIR")
        if not directory:
            self.skipTest("KARPA_LIB_DIR is not set")
        for name in NAMES:
            self.assertEqual(os.path.dirname(karpa.library_path(name)), directory)

    def test_lib_folder_inside_the_installed_package(self):
        parent = self.package_at("site")
        lib = self.put_libraries(os.path.join(parent, "karpa", "lib"), ".so.1")
        paths = self.loaded_from(run_python(PROBE, parent))
        self.assertEqual(paths, [os.path.join(lib, f"libkarpa_{n}.so.1") for n in NAMES])

    def test_libraries_in_the_package_folder_itself(self):
        parent = self.package_at("site")
        lib = self.put_libraries(os.path.join(parent, "karpa"))
        self.assertEqual(self.loaded_from(run_python(PROBE, parent)),
                         [os.path.join(lib, f"libkarpa_{n}.so") for n in NAMES])

    def test_build_tree_of_the_source_checkout(self):
        parent = self.package_at("repo", "python")
        lib = self.put_libraries(os.path.join(self.scratch, "repo", "build", "lib"))
        self.assertEqual(self.loaded_from(run_python(PROBE, parent)),
                         [os.path.join(lib, f"libkarpa_{n}.so") for n in NAMES])

    def test_environment_variable_comes_first(self):
        parent = self.package_at("site")
        self.put_libraries(os.path.join(parent, "karpa", "lib"))
        chosen = self.put_libraries(os.path.join(self.scratch, "chosen"))
        paths = self.loaded_from(run_python(PROBE, parent, KARPA_LIB_DIR=os.pathsep.join(["/nonexistent", chosen])))
        self.assertEqual(paths, [os.path.join(chosen, f"libkarpa_{n}.so") for n in NAMES])

    def test_system_loader_path(self):
        parent = self.package_at("site")
        lib = self.put_libraries(os.path.join(self.scratch, "system"))
        result = run_python(PROBE, parent, LD_LIBRARY_PATH=lib)
        self.assertEqual(self.loaded_from(result), [os.path.join(lib, f"libkarpa_{n}.so") for n in NAMES])

    def test_missing_library_names_the_places_searched(self):
        parent = self.package_at("site")
        code = (
            "import karpa\n"
            "try:\n"
            "    karpa.seq.sort_int([1])\n"
            "except karpa.KarpaLoadError as error:\n"
            "    print(error)\n"
        )
        result = run_python(code, parent)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertIn("libkarpa_seq", result.stdout)
        self.assertIn("KARPA_LIB_DIR", result.stdout)
        self.assertIn(os.path.join(parent, "karpa", "lib"), result.stdout)


class Loading(unittest.TestCase):
    def run_here(self, code):
        env = dict(os.environ, PYTHONPATH=PACKAGE_ROOT)
        env.setdefault("KARPA_LIB_DIR", os.path.dirname(karpa.library_path("seq")))
        result = subprocess.run([sys.executable, "-c", code], env=env, capture_output=True, text=True, timeout=120)
        self.assertEqual(result.returncode, 0, result.stderr)
        return result.stdout.strip()

    def test_each_library_loads_on_first_use(self):
        code = (
            "import karpa\n"
            "def mapped():\n"
            "    with open('/proc/self/maps') as maps:\n"
            "        text = maps.read()\n"
            "    return [n for n in ('seq', 'curried', 'datetime', 'crypto') if f'libkarpa_{n}.' in text]\n"
            "print(mapped())\n"
            "karpa.crypto.sha1_hash(b'')\n"
            "print(mapped())\n"
        )
        self.assertEqual(self.run_here(code).splitlines(), ["[]", "['crypto']"])

    def test_python_signal_handling_survives_loading(self):
        # The libraries install their own handlers when loaded; Ctrl-C must still
        # reach Python as KeyboardInterrupt, and SIGPIPE stays ignored.
        code = (
            "import os, signal, threading, time, karpa\n"
            "t = threading.Thread(target=lambda: karpa.seq.sort_int([2, 1])); t.start(); t.join()\n"
            "karpa.curried.sum_int([1]); karpa.datetime.is_leap_year(4); karpa.crypto.md5_hash(b'x')\n"
            "assert signal.getsignal(signal.SIGPIPE) == signal.SIG_IGN\n"
            "try:\n"
            "    os.kill(os.getpid(), signal.SIGINT)\n"
            "    time.sleep(5)\n"
            "    print('not interrupted')\n"
            "except KeyboardInterrupt:\n"
            "    print('KeyboardInterrupt')\n"
        )
        self.assertEqual(self.run_here(code), "KeyboardInterrupt")


if __name__ == "__main__":
    unittest.main()
