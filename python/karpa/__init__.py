"""Python bindings for the Karpa libraries, through ctypes.

Modules, one per library (each loaded on first use):

- ``karpa.seq``: list operations over integers, floats and strings (``libkarpa_seq``)
- ``karpa.curried``: statistics and string sets (``libkarpa_curried``)
- ``karpa.datetime``: proleptic Gregorian calendar arithmetic in UTC (``libkarpa_datetime``)
- ``karpa.crypto``: MD5, SHA-1, SHA-256 and HMAC as hexadecimal text (``libkarpa_crypto``)

Each function is named after its export without the library prefix
(``seq_sort_int`` is ``karpa.seq.sort_int``; the digest exports keep their
names). Lists go in as Python sequences or as list text; results come back as
Python values, or as the exact result text with ``text=True``. A call that the
library cannot answer raises ``KarpaError``.

Finding the libraries (``libkarpa_<name>.so`` or ``.so.1``), first match wins:

1. every directory in the ``KARPA_LIB_DIR`` environment variable (``os.pathsep``-separated);
2. ``lib/`` inside the package directory, then the package directory itself;
3. ``build/lib`` of the source tree the package sits in (``<repo>/python/karpa`` -> ``<repo>/build/lib``);
4. the system loader path: ``libkarpa_<name>.so.1``, then ``.so``, through
   ``LD_LIBRARY_PATH`` and the loader cache, then ``ctypes.util.find_library``.

``karpa.library_path(name)`` tells which file was loaded.

The wrappers' common cases run in C when the package's extension module
``karpa._native`` was built for this Python (``pip install .`` builds it, and so
does the CMake build when Python's headers are installed, into ``build/lib``;
it is looked for where the libraries are). ``karpa.native`` tells whether it is
in use; ``KARPA_NATIVE=0`` in the environment leaves it out. Both ways give the
same results and raise the same errors.

Loading a library installs its own handlers for SIGINT, SIGSEGV, SIGABRT,
SIGFPE, SIGILL and SIGPIPE; this package puts the process's previous handlers
back right after loading, so Ctrl-C still raises ``KeyboardInterrupt``.
"""

import ctypes
import ctypes.util
import functools
import importlib.machinery
import importlib.util
import os
import pickle
import re
import signal
import subprocess
import sys
import threading
from typing import Optional

from . import _codec, _exports
from ._version import __version__

__all__ = ["__version__", "KarpaError", "KarpaLoadError", "library_path", "native", "seq", "curried", "datetime", "crypto"]


class KarpaError(Exception):
    """A Karpa export gave no result: a null pointer, or the numeric failure value.

    ``function`` is the export's name and ``arguments`` the values it was called
    with (list text as bytes, integers as ints). ``kind`` (``"ValueError"``,
    ``"OverflowDefect"``, ``"IndexDefect"``, ``"RangeDefect"`` or
    ``"AssertionDefect"``), ``message`` (``"invalid integer: x"``) and ``report``
    (the library's whole unhandled-error report) are the library's own account
    of the failure. It is read when first asked for, by repeating the call in a
    short-lived child process that then calls the library's ``TovMain``, so a
    failure costs nothing until its reason is read.
    """

    def __init__(self, function, arguments):
        self.function = function
        self.arguments = tuple(arguments)
        self._reason = None
        super().__init__(function, self.arguments)

    def _explained(self):
        if self._reason is None:
            self._reason = _library_reason(self.function, self.arguments)
        return self._reason

    @property
    def kind(self) -> Optional[str]:
        return self._explained()[0]

    @property
    def message(self) -> str:
        return self._explained()[1]

    @property
    def report(self) -> str:
        return self._explained()[2]

    def __str__(self):
        shown = ", ".join(_show(argument) for argument in self.arguments)
        message = self.message if len(self.message) <= 200 else self.message[:197] + "..."
        return f"{self.function}({shown}) failed: {message} [{self.kind}]"

    def __reduce__(self):  # picklable, e.g. across multiprocessing
        return type(self), (self.function, self.arguments)


# Runs one export in a child process, then the library's TovMain, which writes
# the report of the failed call to standard error and exits with status 1.
_REPEAT_CALL = """
import ctypes, pickle, sys
path, export, result, parameters, arguments = pickle.load(sys.stdin.buffer)
types = {"const char*": ctypes.c_char_p, "int": ctypes.c_int, "int64_t": ctypes.c_int64, "int32_t": ctypes.c_int32}
library = ctypes.CDLL(path)
function = getattr(library, export)
function.restype = types[result]
function.argtypes = [types[t] for t in parameters]
function(*arguments)
library.TovMain()
"""
_REPORT_LAST_LINE = re.compile(r"Error: unhandled exception: (.*) \[(\w+)\]\n?\Z", re.S)


def _library_reason(function, arguments):
    """(kind, message, report) of a failed call, from the library's own report."""
    export = next(e for e in _exports.EXPORTS if e.name == function)
    path = library_path(export.library)
    payload = pickle.dumps((path, export.name, export.result, [t for t, _ in export.parameters], list(arguments)))
    try:
        child = subprocess.run([sys.executable, "-I", "-c", _REPEAT_CALL], input=payload, capture_output=True,
                               timeout=300)
    except (OSError, subprocess.SubprocessError) as error:
        return None, f"the library could not answer these arguments (its report could not be read: {error})", ""
    report = child.stderr.decode("utf-8", "replace")
    match = _REPORT_LAST_LINE.search(report)
    if child.returncode != 1 or match is None:
        return None, "the library could not answer these arguments (it wrote no report)", report
    return match.group(2), match.group(1), report


class KarpaLoadError(OSError):
    """A Karpa library could not be found or loaded."""


def _show(argument, limit=80):
    if isinstance(argument, bytes):
        text = repr(_codec.decode_text(argument))
        return text if len(text) <= limit else text[: limit - 3] + "..."
    return repr(argument)


_PACKAGE_DIR = os.path.dirname(os.path.abspath(__file__))
_load_lock = threading.Lock()


def _search_dirs():
    dirs = [os.path.abspath(d) for d in os.environ.get("KARPA_LIB_DIR", "").split(os.pathsep) if d]
    dirs.append(os.path.join(_PACKAGE_DIR, "lib"))
    dirs.append(_PACKAGE_DIR)
    dirs.append(os.path.normpath(os.path.join(_PACKAGE_DIR, os.pardir, os.pardir, "build", "lib")))
    return dirs


# Signals whose disposition the libraries set when they load.
_LIBRARY_SIGNALS = (signal.SIGINT, signal.SIGSEGV, signal.SIGABRT, signal.SIGFPE, signal.SIGILL, signal.SIGPIPE)
_SIGACTION_SIZE = 256  # more than glibc's struct sigaction on x86-64 (152 bytes); kept opaque


def _open_keeping_signals(path):
    """dlopen the library, then restore the dispositions its constructor replaced.

    Done through libc's sigaction, so it works from any thread (signal.signal
    only works on the main thread) and keeps handlers that were set from C too.
    """
    libc = ctypes.CDLL(None, use_errno=True)
    sigaction = libc.sigaction
    sigaction.argtypes = (ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)
    sigaction.restype = ctypes.c_int
    saved = {}
    for signum in _LIBRARY_SIGNALS:
        old = ctypes.create_string_buffer(_SIGACTION_SIZE)
        if sigaction(int(signum), None, old) == 0:
            saved[signum] = old
    try:
        return ctypes.CDLL(path)
    finally:
        for signum, old in saved.items():
            sigaction(int(signum), old, None)


def _locate(name):
    """Paths to try in order: the folders above, then names for the system loader."""
    files = (f"libkarpa_{name}.so", f"libkarpa_{name}.so.1")
    searched = []
    for directory in _search_dirs():
        for filename in files:
            path = os.path.join(directory, filename)
            searched.append(path)
            if os.path.isfile(path):
                return [path], searched
    # Bare names: dlopen searches LD_LIBRARY_PATH, the loader cache and the system folders.
    names = [f"libkarpa_{name}.so.1", f"libkarpa_{name}.so"]
    found = ctypes.util.find_library(f"karpa_{name}")
    if found and found not in names:
        names.append(found)
    return names, searched


class _DlInfo(ctypes.Structure):
    _fields_ = [("dli_fname", ctypes.c_char_p), ("dli_fbase", ctypes.c_void_p),
                ("dli_sname", ctypes.c_char_p), ("dli_saddr", ctypes.c_void_p)]


def _file_of(function, fallback):
    """The file the dynamic loader mapped a function from (a bare name resolves to its folder)."""
    dladdr = ctypes.CDLL(None).dladdr
    dladdr.argtypes = (ctypes.c_void_p, ctypes.POINTER(_DlInfo))
    dladdr.restype = ctypes.c_int
    info = _DlInfo()
    if dladdr(ctypes.cast(function, ctypes.c_void_p), ctypes.byref(info)) and info.dli_fname:
        return os.fsdecode(info.dli_fname)
    return fallback


class _Library:
    """One Karpa library: its exports' C signatures and, once loaded, their functions.

    Each module that wraps the library holds every export as a global named
    ``_<export>``: a stub that loads the library, then the ctypes function itself,
    so a wrapper reaches its export in one global lookup.

    Beside it, ``_<export>_raw`` is the same export with its result type but no
    argument types, for wrappers that have already checked their arguments: it
    takes only exact ints in the C int range and bytes. ctypes passes such an
    int as a C int sign-extended to 64 bits and bytes as a pointer, which is
    what the argument types would make of them, without converting each
    argument through its type (a third of a short call).
    """

    def __init__(self, name, signatures, namespace):
        self.name = name
        self.signatures = signatures  # export -> (restype, argtypes)
        self.path = None
        self._functions = None
        self._namespace = namespace
        namespace.update({"_" + export: self._stub(export) for export in signatures})
        namespace.update({"_" + export + "_raw": self._stub(export, True) for export in signatures})

    def _stub(self, export, raw=False):
        def call(*arguments):
            self.function(export)
            return self._namespace["_" + export + ("_raw" if raw else "")](*arguments)
        call.__name__ = export
        return call

    def _load(self):
        with _load_lock:
            if self._functions is None:
                candidates, searched = _locate(self.name)
                handle = None
                failures = []
                for path in candidates:
                    try:
                        handle = _open_keeping_signals(path)
                        break
                    except OSError as error:
                        failures.append(str(error))
                if handle is None:
                    raise KarpaLoadError(
                        f"cannot load libkarpa_{self.name}: " + "; ".join(failures) + ". Looked in: "
                        + ", ".join(searched) + ", then the system loader path"
                        " (set KARPA_LIB_DIR to the folder that holds it)"
                    )
                functions, raw = {}, {}
                for export, (restype, argtypes) in self.signatures.items():
                    function = getattr(handle, export)
                    function.restype = restype
                    function.argtypes = argtypes
                    functions[export] = function
                    raw[export] = handle[export]  # a function object of its own
                    raw[export].restype = restype
                self.path = _file_of(next(iter(functions.values())), path)
                self._handle = handle
                self._namespace.update({"_" + export + "_raw": function for export, function in raw.items()})
                self._namespace.update({"_" + export: function for export, function in functions.items()})
                self._functions = functions
        return self._functions

    def function(self, export):
        functions = self._functions
        if functions is None:
            functions = self._load()
        return functions[export]

    def address(self, export):
        """The export's address in the loaded library (loading it first)."""
        return ctypes.cast(self.function(export), ctypes.c_void_p).value


def _call(function, *arguments):
    """Call a text-returning export; the result is copied into bytes at once."""
    result = function(*arguments)
    if result is None:
        raise KarpaError(function.__name__, arguments)
    return result


_libraries = {}


_CTYPES = {"const char*": ctypes.c_char_p, "int": ctypes.c_int, "int64_t": ctypes.c_int64, "int32_t": ctypes.c_int32}


def _signatures(library):
    """export -> (restype, argtypes) for one library, from the export table."""
    return {e.name: (_CTYPES[e.result], tuple(_CTYPES[t] for t, _ in e.parameters))
            for e in _exports.EXPORTS if e.library == library}


def _library(name, namespace):
    library = _Library(name, _signatures(name), namespace)
    _libraries[name] = library
    return library


def library_path(name: str) -> str:
    """The file a library was (or now is) loaded from: name is 'seq', 'curried', 'datetime' or 'crypto'."""
    library = _libraries[name]
    library._functions or library._load()
    return library.path


def _load_native():
    """The extension module karpa._native when it is built for this Python, else None."""
    if os.environ.get("KARPA_NATIVE") == "0":
        return None
    try:
        from . import _native  # installed beside the package
        return _native
    except ImportError:
        pass
    for directory in _search_dirs():
        for suffix in importlib.machinery.EXTENSION_SUFFIXES:
            path = os.path.join(directory, "_native" + suffix)
            if os.path.isfile(path):
                try:
                    spec = importlib.util.spec_from_file_location(__name__ + "._native", path)
                    module = importlib.util.module_from_spec(spec)
                    spec.loader.exec_module(module)
                except ImportError:
                    continue
                sys.modules[spec.name] = module
                return module
    return None


_native = _load_native()
native = _native is not None

# The C type of each export parameter that a kind of argument of karpa._native.bind fills.
_NATIVE_C_TYPES = {"i": ("int",), "b": ("int",), "q": ("int64_t",), "y": ("const char*", "int")}


_NATIVE_KINDS = {}  # module name -> its wrappers' kinds


def _accelerate(namespace, library, prefix, kinds):
    """Swap the module's wrappers for karpa._native calls, keeping the Python ones in ``_PYTHON``.

    ``kinds`` maps a wrapper's name to the kinds of its arguments (one letter per
    parameter) and of its result; see python/native/karpa_native.c.
    """
    python = {name: namespace[name] for name in kinds}
    namespace["_PYTHON"] = python
    _NATIVE_KINDS[namespace["__name__"]] = kinds
    if _native is None:
        return
    exports = {e.name: e for e in _exports.EXPORTS}
    for name, (arguments, result) in kinds.items():
        wrapper = python[name]
        export = exports[prefix + name]
        code = wrapper.__code__
        if len(arguments) != code.co_argcount or \
                [t for k in arguments for t in _NATIVE_C_TYPES.get(k, ("const char*",))] != \
                [t for t, _ in export.parameters]:
            raise AssertionError(f"karpa._native kinds {arguments!r} do not fit {export.name}")
        namespace[name] = _native.bind(
            wrapper, functools.partial(library.address, export.name), arguments,
            code.co_argcount - len(wrapper.__defaults__ or ()), result, export.result == "int32_t",
            "text" in (wrapper.__kwdefaults__ or {}))


from . import seq, curried, datetime, crypto  # noqa: E402  (the modules register their libraries)
