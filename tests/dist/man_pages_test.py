#!/usr/bin/env python3
"""The manual pages against the export table: each renders with `man -l`
without a warning, and shows its export's signature, every clause of its
contract, its example and the sections a C programmer looks for; karpa(1)
lists every export and karpa(7) says every sentence of the README's contract.

  man_pages_test.py MAN_DIR SOURCE_DIR
"""
import os
import re
import subprocess
import sys

man_dir, source = sys.argv[1:3]
sys.path.insert(0, os.path.join(source, "tools"))
from gen_man_pages import c_literal, clauses, signature  # noqa: E402
from gen_python_exports import read_table  # noqa: E402

SECTIONS = ("NAME", "LIBRARY", "SYNOPSIS", "DESCRIPTION", "EMPTY INPUT", "FAILURES", "RETURN VALUE", "EXAMPLE",
            "RESULT LIFETIME", "SEE ALSO")
failures = []


def flat(text):
    return " ".join(text.replace("`", "").replace('"', "").split())


def render(page):
    env = dict(os.environ, LC_ALL="C", MANWIDTH="4000", MANPAGER="cat", PAGER="cat")
    done = subprocess.run(["man", "--warnings", "-l", page], capture_output=True, text=True, env=env)
    if done.returncode != 0 or done.stderr.strip():
        failures.append(f"{page}: man -l says: {done.stderr.strip()[:300]} (status {done.returncode})")
    return done.stdout


def expect(page, shown, what):
    if flat(what) not in flat(shown):
        failures.append(f"{os.path.basename(page)}: does not show {what!r}")


rows = read_table()
pages = set(os.listdir(os.path.join(man_dir, "man3")))
wanted = {row[2] + ".3.gz" for row in rows}
if pages != wanted:
    failures.append(f"man3 pages differ from the table: extra {sorted(pages - wanted)}, "
                    f"missing {sorted(wanted - pages)}")

for row in rows:
    library, result, name, parameters, contract, example, example_result = row
    page = os.path.join(man_dir, "man3", name + ".3.gz")
    if not os.path.exists(page):
        continue
    shown = render(page)
    headings = re.findall(r"^([A-Z][A-Z ]+)$", shown, re.M)
    if tuple(h for h in headings if h in SECTIONS) != SECTIONS:
        failures.append(f"{name}.3: sections {headings}")
    expect(page, shown, f"{name} - ")
    expect(page, shown, f"#include <karpa/{library}.h>")
    expect(page, shown, signature(row))
    for piece in sum(clauses(contract).values(), []):
        expect(page, shown, piece)
    expect(page, shown, f"{name}({', '.join(c_literal(a) for a in example)});")
    expect(page, shown, c_literal(example_result) if example_result is not None else "NULL (a failure)")

command = render(os.path.join(man_dir, "man1", "karpa.1.gz"))
for row in rows:
    expect("karpa.1", command, signature(row))
for option in ("--list", "--help", "--version", "tour", "EXIT STATUS"):
    expect("karpa.1", command, option)

contract = render(os.path.join(man_dir, "man7", "karpa.7.gz"))
with open(os.path.join(source, "README.md"), encoding="utf-8") as readme:
    section = readme.read().split("## The contract every export keeps\n", 1)[1].split("\n## ", 1)[0]
sentences = re.split(r"(?<=[.;])\s+(?=[A-Z])", flat(section.replace("- ", " ")))
for sentence in sentences:
    expect("karpa.7", contract, sentence)
for row in rows:
    expect("karpa.7", contract, row[2] + "(3)")

for problem in failures:
    print("FAIL", problem)
print(f"{len(rows) + 2} pages rendered; {0 if failures else 1} passed, {1 if failures else 0} failed")
sys.exit(1 if failures else 0)
