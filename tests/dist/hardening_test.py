#!/usr/bin/env python3
"""The shipped binaries carry their hardening, and the libraries' thread-local
blocks fit the loader's static reserve: read off each library and the
karpa command with readelf and objdump.

  hardening_test.py LIB_DIR KARPA_COMMAND SOURCE_DIR
"""
import os
import re
import subprocess
import sys

lib_dir, command, source = sys.argv[1:4]
sys.path.insert(0, os.path.join(source, "tools"))
from gen_python_exports import read_table  # noqa: E402

LIBRARIES = ("seq", "curried", "datetime", "crypto")
LIFECYCLE = {"TovMain", "TovDestroyGlobals"}
# karpa_datetime's own code makes no libc call whose object size the compiler
# knows, so FORTIFY leaves no checked call in it; its memcpy, memset and
# sprintf imports come from the static C++ runtime, built without FORTIFY.
NO_CHECKED_CALLS = {"libkarpa_datetime.so"}

failures = []


def run(*args):
    return subprocess.run(args, check=True, capture_output=True, text=True).stdout


def fail(binary, problem):
    failures.append(f"{os.path.basename(binary)}: {problem}")


def check_common(binary):
    dynamic = run("readelf", "-dW", binary)
    segments = run("readelf", "-lW", binary)
    if "GNU_RELRO" not in segments:
        fail(binary, "no RELRO segment (-z relro)")
    if not re.search(r"\(FLAGS\)\s.*BIND_NOW|\(FLAGS_1\)\s.*\bNOW\b", dynamic):
        fail(binary, "no BIND_NOW: RELRO is only partial (-z now)")
    stack = re.search(r"GNU_STACK(?:\s+\S+){5}\s+(\w+)", segments)
    if stack is None or "E" in stack.group(1):
        fail(binary, "the stack is executable or unmarked (-z noexecstack)")
    if "TEXTREL" in dynamic:
        fail(binary, "text relocations")
    imports = set(run("nm", "-D", "--undefined-only", "--format=just-symbols", binary).split())
    imports = {name.split("@")[0] for name in imports}
    if "__stack_chk_fail" not in imports:
        fail(binary, "no stack protector (-fstack-protector-strong)")
    checked = sorted(name for name in imports if re.fullmatch(r"__\w+_chk", name) and name != "__stack_chk_fail")
    if not checked and os.path.basename(binary) not in NO_CHECKED_CALLS:
        fail(binary, "no FORTIFY-checked libc call (-D_FORTIFY_SOURCE)")
    return checked


def entry_instructions(library, names):
    """The first instruction of each named function, read from the disassembly."""
    first = {}
    current = None
    for line in run("objdump", "-d", "--no-show-raw-insn", library).splitlines():
        head = re.match(r"^[0-9a-f]+ <([^>]+)>:$", line)
        if head:
            current = head.group(1) if head.group(1) in names else None
            continue
        if current and current not in first:
            parts = line.split("\t")
            if len(parts) >= 2 and parts[-1].strip():
                first[current] = parts[-1].split()[0]
    return first


table = read_table()
for short in LIBRARIES:
    library = os.path.join(lib_dir, f"libkarpa_{short}.so")
    checked = check_common(library)
    wanted = {row[2] for row in table if row[0] == short} | LIFECYCLE
    defined = run("nm", "-D", "--defined-only", library).split("\n")
    symbols = {}
    for line in defined:
        fields = line.split()
        if len(fields) == 3:
            symbols[fields[2].split("@")[0]] = fields[1]
    if set(symbols) != wanted:
        extra, missing = sorted(set(symbols) - wanted), sorted(wanted - set(symbols))
        fail(library, f"exports differ from the table: extra {extra[:10]}, missing {missing[:10]}")
    not_code = sorted(name for name, kind in symbols.items() if kind != "T")
    if not_code:
        fail(library, f"exports that are not functions: {not_code}")
    entries = entry_instructions(library, wanted)
    no_pad = sorted(name for name in wanted if entries.get(name) != "endbr64")
    if no_pad:
        fail(library, f"exports without an endbr64 landing pad (-fcf-protection): {no_pad[:10]}")
    print(f"libkarpa_{short}.so: {len(wanted)} exports; checked calls {', '.join(checked) or 'none'}")

# glibc places the thread-local blocks of dlopen'd libraries that use TLS
# descriptors in its static reserve, 512 bytes by default, while they fit;
# there a call reaches its thread's state in two instructions, elsewhere
# through a walk of the thread's module table. All four libraries fit.
TLS_RESERVE = 512
tls_total = 0
for short in LIBRARIES:
    library = os.path.join(lib_dir, f"libkarpa_{short}.so")
    tls = re.search(r"^\s*TLS(?:\s+\S+){4}\s+(0x[0-9a-f]+)\s+\S+\s+(0x[0-9a-f]+)\s*$",
                    run("readelf", "-lW", library), re.M)
    if tls:
        size, align = int(tls.group(1), 16), int(tls.group(2), 16)
        tls_total += (size + align - 1) // align * align
if tls_total > TLS_RESERVE:
    failures.append(f"the libraries' thread-local blocks take {tls_total} bytes, more than the loader's "
                    f"{TLS_RESERVE}-byte static reserve for dlopen'd libraries")
print(f"thread-local blocks of the four libraries: {tls_total} bytes")

if run("readelf", "-hW", command).find("DYN") < 0:
    fail(command, "not a position-independent executable")
print(f"karpa: checked calls {', '.join(check_common(command))}")

for problem in failures:
    print("FAIL", problem)
print(f"{0 if failures else 1} passed, {1 if failures else 0} failed")
sys.exit(1 if failures else 0)
