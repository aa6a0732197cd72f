"""Build backend (PEP 517) for the karpa Python package, standard library only.

pip loads this module from tools/pybuild (``backend-path`` in pyproject.toml)
with no build requirements, so ``pip install .`` and ``pip wheel .`` work with
no package index. A wheel is built in three steps:

1. CMake configures the checkout in a scratch folder (Release, no tests, no
   benchmarks; Ninja when it is installed) and builds the four libraries only;
2. python/karpa and the libraries, as ``karpa/lib/libkarpa_<name>.so.1``
   (their SONAME), go into the wheel, where the package's loader finds them;
   so does ``karpa/_native<suffix>``, the wrappers' C path built for the
   Python that runs the build, when its headers are installed (the wheel stays
   ``py3-none``: another Python ignores a module not built for it and uses the
   pure-Python path);
3. the dist-info folder: METADATA, WHEEL, entry_points.txt (the ``karpa``
   command), top_level.txt, LICENSE and RECORD, the sha256 and size of every file.

The version is the CMake project version in CMakeLists.txt; the build stops if
python/karpa/_version.py says otherwise. The sdist is a tar.gz of the files
git tracks (of every file but build folders when there is no git checkout, as
in an unpacked sdist), with PKG-INFO on top.

Config settings (``pip wheel . --config-settings build-dir=PATH``):
``build-dir`` keeps the CMake build in PATH, so that a second build reuses it.
The build runs ``CMAKE_BUILD_PARALLEL_LEVEL`` jobs when that is set.
"""

import base64
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
import time
import zipfile

NAME = "karpa"
SUMMARY = ("Python bindings (ctypes) for the Karpa libraries: list operations, statistics, "
           "calendar arithmetic and digests")
LICENSE = "MIT"
REQUIRES_PYTHON = ">=3.8"
CLASSIFIERS = (
    "License :: OSI Approved :: MIT License",
    "Operating System :: POSIX :: Linux",
    "Programming Language :: C++",
    "Programming Language :: Python :: 3",
    "Typing :: Typed",
)
CONSOLE_SCRIPTS = {"karpa": "karpa.__main__:main"}
LIBRARIES = ("seq", "curried", "datetime", "crypto")
CMAKE_OPTIONS = ("-DKARPA_TESTS=OFF", "-DKARPA_BENCH=OFF", "-DCMAKE_BUILD_TYPE=Release")

ROOT = os.path.abspath(os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, os.pardir))
PACKAGE_DIR = os.path.join(ROOT, "python", "karpa")

_PROJECT_VERSION = re.compile(r"^\s*project\s*\(\s*karpa\b[^)]*?\bVERSION\s+([0-9]+(?:\.[0-9]+)*)", re.M | re.I)
_PACKAGE_VERSION = re.compile(r"^__version__\s*=\s*[\"']([^\"']+)[\"']", re.M)


# Metadata


def project_version(root=ROOT):
    """The VERSION of ``project(karpa ...)`` in CMakeLists.txt."""
    with open(os.path.join(root, "CMakeLists.txt"), encoding="utf-8") as cmake:
        match = _PROJECT_VERSION.search(cmake.read())
    if match is None:
        raise RuntimeError("CMakeLists.txt has no project(karpa VERSION x.y.z)")
    return match.group(1)


def _checked_version():
    version = project_version()
    path = os.path.join(PACKAGE_DIR, "_version.py")
    with open(path, encoding="utf-8") as module:
        match = _PACKAGE_VERSION.search(module.read())
    if match is None or match.group(1) != version:
        found = match.group(1) if match else "nothing"
        raise RuntimeError(f"{path} says {found}, CMakeLists.txt says {version}: make them agree")
    return version


def _metadata(version):
    lines = [
        "Metadata-Version: 2.1",
        f"Name: {NAME}",
        f"Version: {version}",
        f"Summary: {SUMMARY}",
        f"License: {LICENSE}",
        f"Requires-Python: {REQUIRES_PYTHON}",
    ]
    lines += [f"Classifier: {c}" for c in CLASSIFIERS]
    readme = os.path.join(ROOT, "README.md")
    if not os.path.isfile(readme):
        return "\n".join(lines) + "\n"
    lines.append("Description-Content-Type: text/markdown")
    with open(readme, encoding="utf-8") as description:
        return "\n".join(lines) + "\n\n" + description.read()


def _tag():
    platform = sysconfig.get_platform().replace("-", "_").replace(".", "_")
    return f"py3-none-{platform}"


def _wheel_file():
    return f"Wheel-Version: 1.0\nGenerator: karpa_build\nRoot-Is-Purelib: false\nTag: {_tag()}\n"


def _entry_points():
    return "[console_scripts]\n" + "".join(f"{n} = {t}\n" for n, t in CONSOLE_SCRIPTS.items())


def _dist_info(version):
    return f"{NAME}-{version}.dist-info"


def _dist_info_files(version):
    """The dist-info files but RECORD, as (name, text)."""
    files = [("METADATA", _metadata(version)), ("WHEEL", _wheel_file()),
             ("entry_points.txt", _entry_points()), ("top_level.txt", NAME + "\n")]
    license_file = os.path.join(ROOT, "LICENSE")
    if os.path.isfile(license_file):
        with open(license_file, encoding="utf-8") as text:
            files.append(("LICENSE", text.read()))
    return files


# The libraries


def _run(command):
    print("karpa_build:", " ".join(command), file=sys.stderr, flush=True)
    status = subprocess.run(command).returncode
    if status != 0:
        raise RuntimeError(f"{' '.join(command)} failed with exit status {status} (its output is above)")


def _build_libraries(build_dir):
    """Configures and builds the four libraries in build_dir; their files by name."""
    cmake = shutil.which("cmake")
    if cmake is None:
        raise RuntimeError("building karpa needs cmake (3.25 or later) and a C++20 compiler")
    configure = [cmake, "-S", ROOT, "-B", build_dir, *CMAKE_OPTIONS, f"-DPython3_EXECUTABLE={sys.executable}"]
    if not os.path.exists(os.path.join(build_dir, "CMakeCache.txt")) and shutil.which("ninja"):
        configure += ["-G", "Ninja"]
    _run(configure)
    jobs = [] if os.environ.get("CMAKE_BUILD_PARALLEL_LEVEL") else ["-j", str(os.cpu_count() or 1)]
    _run([cmake, "--build", build_dir, "--target", *(f"karpa_{n}" for n in LIBRARIES), *jobs])
    native = os.path.join(build_dir, "lib", "_native" + sysconfig.get_config_var("EXT_SUFFIX"))
    print("karpa_build: the C path karpa._native, if this Python's headers are installed", file=sys.stderr, flush=True)
    if subprocess.run([cmake, "--build", build_dir, "--target", "karpa_native", *jobs]).returncode != 0 \
            or not os.path.isfile(native):
        print("karpa_build: karpa._native not built; the package uses its pure-Python path", file=sys.stderr)
        native = None
    files = {}
    for name in LIBRARIES:
        # libkarpa_<name>.so links to .so.1 (the SONAME), which links to the file.
        path = os.path.realpath(os.path.join(build_dir, "lib", f"libkarpa_{name}.so"))
        if not os.path.isfile(path):
            raise RuntimeError(f"the build gave no {path}")
        files[name] = path
    return files, native


def _package_files():
    """(path in the wheel, file) for python/karpa: modules and py.typed, no caches or libraries."""
    entries = []
    for directory, subdirs, names in os.walk(PACKAGE_DIR):
        subdirs[:] = sorted(d for d in subdirs if d not in ("__pycache__", "lib"))
        for name in sorted(names):
            if name.endswith(".py") or name == "py.typed":
                path = os.path.join(directory, name)
                entries.append((NAME + "/" + os.path.relpath(path, PACKAGE_DIR).replace(os.sep, "/"), path))
    return entries


# Archives


def _timestamp():
    """SOURCE_DATE_EPOCH when set (reproducible archives), else now; never before 1980 (zip)."""
    epoch = os.environ.get("SOURCE_DATE_EPOCH")
    seconds = int(epoch) if epoch and epoch.isdigit() else int(time.time())
    return max(seconds, 315532800)


class _WheelWriter:
    def __init__(self, path, dist_info):
        self.zip = zipfile.ZipFile(path, "w", compression=zipfile.ZIP_DEFLATED)
        self.dist_info = dist_info
        self.records = []
        self.date_time = time.gmtime(_timestamp())[:6]

    def add(self, name, data, executable=False):
        info = zipfile.ZipInfo(name, date_time=self.date_time)
        info.compress_type = zipfile.ZIP_DEFLATED
        info.external_attr = (0o100755 if executable else 0o100644) << 16
        self.zip.writestr(info, data)
        digest = base64.urlsafe_b64encode(hashlib.sha256(data).digest()).rstrip(b"=").decode("ascii")
        self.records.append(f"{name},sha256={digest},{len(data)}")

    def close(self):
        record = self.dist_info + "/RECORD"
        lines = self.records + [f"{record},,"]
        info = zipfile.ZipInfo(record, date_time=self.date_time)
        info.external_attr = 0o100644 << 16
        info.compress_type = zipfile.ZIP_DEFLATED
        self.zip.writestr(info, "\n".join(lines) + "\n")
        self.zip.close()


def _read(path):
    with open(path, "rb") as f:
        return f.read()


def _source_files():
    """Paths (relative to ROOT, "/"-separated) that go into the sdist."""
    if os.path.exists(os.path.join(ROOT, ".git")) and shutil.which("git"):
        # The tracked files only: nothing a developer left lying in the tree.
        listed = subprocess.run(["git", "-C", ROOT, "ls-files", "-z", "--cached"], check=True,
                                stdout=subprocess.PIPE).stdout.decode("utf-8", "surrogateescape")
        paths = {p for p in listed.split("\0") if p}
    else:
        paths = set()
        for directory, subdirs, names in os.walk(ROOT):
            rel = os.path.relpath(directory, ROOT)
            subdirs[:] = [d for d in subdirs
                          if not (rel == "." and (d.startswith("build") or d.startswith(".")))
                          and d != "__pycache__"]
            for name in names:
                if not name.endswith(".pyc"):
                    paths.add(os.path.normpath(os.path.join(rel, name)).replace(os.sep, "/"))
        paths.discard("PKG-INFO")
    return sorted(p for p in paths if os.path.isfile(os.path.join(ROOT, p)))


# The hooks


def get_requires_for_build_wheel(config_settings=None):
    return []


def get_requires_for_build_sdist(config_settings=None):
    return []


def prepare_metadata_for_build_wheel(metadata_directory, config_settings=None):
    version = _checked_version()
    dist_info = _dist_info(version)
    target = os.path.join(metadata_directory, dist_info)
    os.makedirs(target, exist_ok=True)
    for name, text in _dist_info_files(version):
        with open(os.path.join(target, name), "w", encoding="utf-8", newline="\n") as out:
            out.write(text)
    return dist_info


def build_wheel(wheel_directory, config_settings=None, metadata_directory=None):
    version = _checked_version()
    build_dir = (config_settings or {}).get("build-dir")
    scratch = None
    if build_dir:
        build_dir = os.path.abspath(build_dir)
    else:
        scratch = build_dir = tempfile.mkdtemp(prefix="karpa-wheel-")
    try:
        libraries, native = _build_libraries(build_dir)
        filename = f"{NAME}-{version}-{_tag()}.whl"
        os.makedirs(wheel_directory, exist_ok=True)
        path = os.path.join(wheel_directory, filename)
        dist_info = _dist_info(version)
        wheel = _WheelWriter(path, dist_info)
        try:
            for name, source in _package_files():
                wheel.add(name, _read(source))
            for name, source in libraries.items():
                wheel.add(f"{NAME}/lib/libkarpa_{name}.so.1", _read(source), executable=True)
            if native:
                wheel.add(f"{NAME}/{os.path.basename(native)}", _read(native), executable=True)
            for name, text in _dist_info_files(version):
                wheel.add(f"{dist_info}/{name}", text.encode("utf-8"))
        finally:
            wheel.close()
        return filename
    finally:
        if scratch is not None:
            shutil.rmtree(scratch, ignore_errors=True)


def build_sdist(sdist_directory, config_settings=None):
    version = _checked_version()
    base = f"{NAME}-{version}"
    filename = base + ".tar.gz"
    os.makedirs(sdist_directory, exist_ok=True)
    mtime = _timestamp()

    def normalized(info):
        info.uid = info.gid = 0
        info.uname = info.gname = ""
        info.mtime = min(info.mtime, mtime)
        return info

    with tarfile.open(os.path.join(sdist_directory, filename), "w:gz", format=tarfile.PAX_FORMAT) as sdist:
        for path in _source_files():
            sdist.add(os.path.join(ROOT, path), arcname=f"{base}/{path}", recursive=False, filter=normalized)
        pkg_info = _metadata(version).encode("utf-8")
        info = tarfile.TarInfo(f"{base}/PKG-INFO")
        info.size, info.mtime, info.mode = len(pkg_info), mtime, 0o644
        sdist.addfile(info, io.BytesIO(pkg_info))
    return filename
