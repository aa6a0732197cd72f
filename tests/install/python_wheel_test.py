#!/usr/bin/env python3
"""python_wheel_test.py SOURCE_DIR: the pip-installable package, offline.

In a fresh virtual environment, `pip wheel . --no-deps --no-index` builds the
wheel (CMake builds the four libraries again, CMAKE_BUILD_PARALLEL_LEVEL=2);
its files, RECORD and metadata are checked; it is installed into a second
fresh environment, where the package, `python -m karpa` and the `karpa`
command run from the wheel's own libraries. The sdist's listing is checked too.
"""
import base64
import csv
import hashlib
import io
import os
import re
import shutil
import subprocess
import sys
import sysconfig
import tarfile
import tempfile
import zipfile

LIBRARIES = ("seq", "curried", "datetime", "crypto")
failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what)
    if not condition:
        failures.append(what)


def run(command, env, cwd):
    return subprocess.run(command, env=env, cwd=cwd, capture_output=True, timeout=900)


def must(command, env, cwd):
    result = run(command, env, cwd)
    if result.returncode != 0:
        sys.stdout.write(result.stdout.decode(errors="replace") + result.stderr.decode(errors="replace"))
        raise SystemExit(f"FAIL {' '.join(command)} exited with {result.returncode}")
    return result


def environment():
    env = {k: v for k, v in os.environ.items()
           if k not in ("KARPA_LIB_DIR", "PYTHONPATH", "PYTHONHOME", "LD_LIBRARY_PATH", "PIP_FIND_LINKS",
                        "PIP_INDEX_URL", "PIP_EXTRA_INDEX_URL", "VIRTUAL_ENV")}
    env.update(PIP_NO_INDEX="1", PIP_NO_CACHE_DIR="1", PIP_DISABLE_PIP_VERSION_CHECK="1",
               PIP_CONFIG_FILE=os.devnull, CMAKE_BUILD_PARALLEL_LEVEL="2")
    return env


def venv(path, env):
    must([sys.executable, "-m", "venv", path], env, os.path.dirname(path))
    return os.path.join(path, "bin", "python")


def check_wheel(path, version):
    with zipfile.ZipFile(path) as wheel:
        names = set(wheel.namelist())
        dist_info = f"karpa-{version}.dist-info"
        record = list(csv.reader(io.StringIO(wheel.read(f"{dist_info}/RECORD").decode())))
        listed = {row[0] for row in record}
        check(listed == names, "RECORD lists every file of the wheel")
        good = True
        for name, digest, size in record:
            if name == f"{dist_info}/RECORD":
                good &= digest == "" and size == ""
                continue
            data = wheel.read(name)
            expected = "sha256=" + base64.urlsafe_b64encode(hashlib.sha256(data).digest()).rstrip(b"=").decode()
            good &= digest == expected and size == str(len(data))
        check(good, "RECORD holds each file's sha256 and size")
        check({f"karpa/lib/libkarpa_{n}.so.1" for n in LIBRARIES} <= names, "the four libraries in karpa/lib/")
        check(all(wheel.read(f"karpa/lib/libkarpa_{n}.so.1")[:4] == b"\x7fELF" for n in LIBRARIES),
              "the libraries are ELF files")
        check({"karpa/__init__.py", "karpa/__main__.py", "karpa/_version.py", "karpa/py.typed"} <= names,
              "the package with __main__, _version and py.typed")
        check(not any("__pycache__" in n or n.endswith(".pyc") for n in names), "no byte code")
        metadata = wheel.read(f"{dist_info}/METADATA").decode()
        for field in ("Metadata-Version: 2.1", "Name: karpa", f"Version: {version}", "License: MIT",
                      "Requires-Python: >=3.8"):
            check(re.search(f"^{re.escape(field)}$", metadata, re.M) is not None, f"METADATA has {field}")
        wheel_file = wheel.read(f"{dist_info}/WHEEL").decode()
        check("Root-Is-Purelib: false" in wheel_file, "WHEEL: not pure")
        entry_points = wheel.read(f"{dist_info}/entry_points.txt").decode()
        check("karpa = karpa.__main__:main" in entry_points, "the karpa console script")


def check_sdist(python, source, work, env, version):
    target = os.path.join(work, "sdist")
    must([python, "-c", "import sys; sys.path.insert(0, sys.argv[1]); import karpa_build; "
          "print(karpa_build.build_sdist(sys.argv[2]))", os.path.join(source, "tools", "pybuild"), target],
         env, source)
    path = os.path.join(target, f"karpa-{version}.tar.gz")
    check(os.path.isfile(path), f"sdist {os.path.basename(path)}")
    with tarfile.open(path) as sdist:
        names = {n.split("/", 1)[1] for n in sdist.getnames() if "/" in n}
        pkg_info = sdist.extractfile(f"karpa-{version}/PKG-INFO").read().decode()
    needed = {"PKG-INFO", "pyproject.toml", "CMakeLists.txt", "tools/pybuild/karpa_build.py", "src/exports.def",
              "python/karpa/__init__.py", "python/karpa/_version.py"}
    check(needed <= names, "the sdist holds what a build needs (missing: %s)" % (", ".join(sorted(needed - names)) or "none"))
    check(not any(n.startswith("build") or "/__pycache__/" in n for n in names), "no build folders in the sdist")
    check(f"\nVersion: {version}\n" in pkg_info, "PKG-INFO has the version")


def main():
    source = os.path.abspath(sys.argv[1])
    with open(os.path.join(source, "CMakeLists.txt"), encoding="utf-8") as cmake:
        version = re.search(r"project\(karpa VERSION ([0-9.]+)", cmake.read()).group(1)
    work = tempfile.mkdtemp(prefix="karpa-wheel-test-")
    try:
        env = environment()
        builder = venv(os.path.join(work, "build-venv"), env)
        wheels = os.path.join(work, "wheels")
        must([builder, "-m", "pip", "wheel", ".", "--no-deps", "--no-index", "-w", wheels], env, source)
        platform = sysconfig.get_platform().replace("-", "_").replace(".", "_")
        expected = f"karpa-{version}-py3-none-{platform}.whl"
        check(os.listdir(wheels) == [expected], f"pip wheel gives {expected} (got {os.listdir(wheels)})")
        wheel = os.path.join(wheels, expected)
        check_wheel(wheel, version)

        user = venv(os.path.join(work, "user-venv"), env)
        must([user, "-m", "pip", "install", "--no-deps", "--no-index", wheel], env, work)
        probe = run([user, "-c",
                     "import os, sys, karpa\n"
                     "print(karpa.seq.sort_int([3, 1, 2]) == [1, 2, 3])\n"
                     "print(karpa.__version__)\n"
                     "print(os.path.realpath(karpa.library_path('seq')).startswith(os.path.realpath(sys.prefix)))\n"],
                    env, work)
        check(probe.stdout.decode().split() == ["True", version, "True"],
              f"import karpa in a fresh venv: sort_int, __version__ {version}, libraries from the wheel "
              f"({probe.stdout.decode().split()} {probe.stderr.decode()[-400:]})")
        result = run([user, "-m", "karpa", "seq_sort_int", "3,1,2", "0"], env, work)
        check((result.returncode, result.stdout) == (0, b"1,2,3\n"), "python -m karpa seq_sort_int 3,1,2 0")
        command = os.path.join(work, "user-venv", "bin", "karpa")
        result = run([command, "--version"], env, work)
        check(result.stdout == f"karpa {version}\n".encode(), "the karpa command: --version")
        result = run([command, "seq_sort_int", "3,x", "0"], env, work)
        check(result.returncode == 1 and b"failed" in result.stderr, "the karpa command: a failure exits 1")

        check_sdist(builder, source, work, env, version)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print(f"{'0' if not failures else len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
