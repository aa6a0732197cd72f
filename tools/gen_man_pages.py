#!/usr/bin/env python3
"""Writes the manual pages from the export table src/exports.def.

  python3 tools/gen_man_pages.py OUT_DIR VERSION

OUT_DIR/man1/karpa.1.gz    the command line
OUT_DIR/man3/<export>.3.gz one page per export: synopsis, description, empty
                           input, failures, example, the result's lifetime
OUT_DIR/man7/karpa.7.gz    the contract every export keeps (docs/man/karpa.7.in)

The pages carry no date and are compressed without a time stamp, so that two
builds give the same bytes.
"""
import gzip
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from gen_python_exports import read_table  # noqa: E402

CONTRACT_PAGE = os.path.join(HERE, os.pardir, "docs", "man", "karpa.7.in")
LIBRARIES = {
    "seq": "lists of integers, floats and strings",
    "curried": "statistics and collections",
    "datetime": "proleptic Gregorian calendar in UTC",
    "crypto": "MD5, SHA-1, SHA-256 and HMAC as hexadecimal text",
}
MANUAL = "Karpa Library Functions"


def roff(text):
    """Text for a roff line: backslashes, minus signs and a leading control character escaped."""
    text = text.replace("\\", "\\e").replace("-", "\\-")
    return "\\&" + text if text[:1] in (".", "'") else text


def c_literal(value):
    if value is None:
        return "NULL"
    if isinstance(value, int):
        return str(value)
    return '"' + value.replace("\\", "\\\\").replace('"', '\\"') + '"'


def signature(row):
    library, result, name, parameters = row[:4]
    return f"{result} {name}({', '.join(f'{t} {n}' for t, n in parameters) or 'void'});"


def clauses(contract):
    """The contract cut into its sentences' clauses, each sorted into description, empty input or failure."""
    parts = {"description": [], "empty": [], "failure": []}
    for sentence in re.split(r"(?<=\.) (?=[A-Z])", contract):
        pieces = sentence.split("; ")
        for k, piece in enumerate(pieces):
            piece = piece.strip()
            if not piece.endswith("."):
                piece += "."
            piece = piece[0].upper() + piece[1:]
            if re.search(r"\bfail", piece):
                parts["failure"].append(piece)
            elif k > 0 and re.search(r'empty|^"[^"]*" for|^"[^"]*" when', piece):
                parts["empty"].append(piece)
            else:
                parts["description"].append(piece)
    return parts


def summary(name, sentence):
    """The page's one-line summary: the contract's first clause without its full stop, lower case unless
    it starts with an abbreviation; a digest's page names its algorithm."""
    sentence = sentence.rstrip(".")
    if name.endswith("_hash"):
        algorithm = {"md5": "MD5", "sha1": "SHA-1", "sha256": "SHA-256"}[name[:-5]]
        sentence = f"{algorithm} digest of a byte buffer as {sentence}"
    elif not sentence[:1].isalpha():  # "28 to 31": say what it counts
        sentence = f"{name.split('_', 1)[1].replace('_', ' ')}: {sentence}"
    return sentence[0].lower() + sentence[1:] if sentence[1:2].islower() else sentence


def list_kind(name):
    for suffix, kind in (("_int", "int"), ("_float", "float"), ("_string", "string")):
        if name.endswith(suffix):
            return kind
    return None


def argument_lines(row):
    library, result, name, parameters = row[:4]
    kind = list_kind(name)
    lines = []
    names = [n for _, n in parameters]
    for k, (c_type, param) in enumerate(parameters):
        if c_type == "const char*" and k + 1 < len(parameters) and parameters[k + 1][1] in ("len", param + "_len"):
            lines.append((param, f"a buffer of {parameters[k + 1][1]} bytes, any bytes, NUL included; "
                                 "a null pointer with length 0 is empty"))
        elif c_type == "int" and (param == "len" or (k > 0 and names[k - 1] + "_len" == param)):
            continue
        elif c_type == "const char*" and kind and param in ("list", "a", "b"):
            text = {
                "int": "list text: decimal integers separated by commas; blanks around a piece are "
                       "stripped and empty pieces skipped",
                "float": "list text: float texts separated by commas; blanks around a piece are "
                         "stripped and empty pieces skipped",
                "string": "list text: items separated by commas, each kept exactly as written (blanks and "
                          "empty items included)",
            }[kind]
            lines.append((param, text))
        elif c_type == "const char*" and kind == "float":
            lines.append((param, "one float text, read as a list item is"))
        elif c_type == "const char*":
            lines.append((param, "text, taken whole"))
        elif c_type == "int":
            lines.append((param, "a C int, widened with its sign (-1 stays -1)"))
        else:
            lines.append((param, "a 64-bit integer, used as given"))
    return lines


def export_page(row, version, siblings):
    library, result, name, parameters, contract, example, example_result = row
    parts = clauses(contract)
    text_result = result == "const char*"
    kind = list_kind(name)
    out = [
        f'.TH {name.upper()} 3 "" "Karpa {version}" "{MANUAL}"',
        ".SH NAME",
        f"{roff(name)} \\- {roff(summary(name, parts['description'][0]))}",
        ".SH LIBRARY",
        f"karpa_{library} ({roff(LIBRARIES[library])}):",
        f".BR libkarpa_{library}.so.1 ,",
        f".B \\-lkarpa_{library}",
        f"or pkg\\-config module",
        f".BR karpa\\-{library} .",
        ".SH SYNOPSIS",
        ".nf",
        f".B #include <karpa/{library}.h>",
        ".PP",
        f".B {roff(signature(row))}",
        ".fi",
        ".SH DESCRIPTION",
    ]
    out += [roff(" ".join(parts["description"]))]
    for param, text in argument_lines(row):
        out += [".TP", f".I {param}", roff(text)]
    out += [".SH EMPTY INPUT"]
    if parts["empty"]:
        out += [roff(" ".join(parts["empty"]))]
    elif library == "crypto":
        out += ["A length of 0 (the data pointer may then be null) gives the stored digest of the empty message, "
                "in lower\\-case letters; every computed digest is in upper\\-case letters."]
    elif kind is None:
        out += ["The arguments are numbers; there is no list text to be empty."]
    else:
        out += ["A null pointer reads as the empty text \\(dq\\(dq."]
    out += [".SH FAILURES"]
    failure_value = "the null pointer" if text_result else "0"
    if parts["failure"]:
        out += [roff(" ".join(parts["failure"]))]
    if kind in ("int", "float") and library in ("seq", "curried"):
        number = "a decimal integer in the 64\\-bit range" if kind == "int" else "a float text"
        out += [".PP", f"A piece of list text that is not {number} fails (ValueError)."]
    never = any(p.startswith("Never fails") for p in parts["failure"])
    if not text_result and not parts["failure"]:
        out += ["Never fails."]
        never = True
    if never:
        out += [".PP", f"The result is never {failure_value}." if text_result else
                "No argument makes the call fail; 0 is an answer here, not a failure."]
    else:
        out += [".PP",
                f"A failed call returns {failure_value}. The reason (kind and message) is kept per thread;",
                ".B TovMain",
                "called right after the failed call writes the library's report to standard error and exits "
                "with status 1 (see",
                ".BR karpa (7))."]
    out += [".SH RETURN VALUE"]
    if text_result:
        out += ["Read\\-only, NUL\\-terminated result text, or the null pointer for a failure."]
    elif result == "int32_t":
        out += ["1 or 0."]
    else:
        out += ["A 64\\-bit integer." if never else "A 64\\-bit integer; 0 for a failure."]
    out += [".SH EXAMPLE", ".nf", ".EX",
            roff(f"{result} r = {name}({', '.join(c_literal(a) for a in example)});"),
            roff(f"/* r is {c_literal(example_result) if example_result is not None else 'NULL (a failure)'} */"),
            ".EE", ".fi", ".PP", "From the shell:", ".PP", ".nf", ".EX"]
    words = []
    skip = False
    for k, value in enumerate(example):
        if skip:
            skip = False
            continue
        c_type, param = parameters[k]
        if c_type == "const char*" and k + 1 < len(parameters) and parameters[k + 1][1] in ("len", param + "_len"):
            skip = True
        word = "" if value is None else str(value)
        words.append(word if re.fullmatch(r"[\w.,\-]+", word) else "'" + word.replace("'", "'\\''") + "'")
    out += [roff(f"$ karpa {name} {' '.join(words)}".rstrip()),
            roff(str(example_result) if example_result is not None
                 else "(exit status 1, the library's report on standard error)"),
            ".EE", ".fi",
            ".SH RESULT LIFETIME"]
    if text_result:
        out += ["The result text belongs to the library and is never freed by the caller. It stays valid and "
                "unchanged until the next call into", f".B libkarpa_{library}",
                "on the same thread; copy it before then. A constant result (such as \\(dq\\(dq) stays valid "
                "while the library is loaded."]
    else:
        out += ["The result is a number; nothing is kept."]
    out += [".SH THREADS", "May be called from any number of threads at once; no locks are taken.",
            ".SH SEE ALSO"]
    see = [f".BR {s} (3)," for s in siblings if s != name]
    out += see + [".BR karpa (1),", ".BR karpa (7)"]
    return "\n".join(out) + "\n"


def command_page(rows, version):
    out = [
        f'.TH KARPA 1 "" "Karpa {version}" "User Commands"',
        ".SH NAME",
        "karpa \\- call an export of the Karpa libraries from the shell",
        ".SH SYNOPSIS",
        ".nf",
        ".B karpa \\fIEXPORT\\fP [\\fIARG\\fP ...]",
        ".B karpa \\-\\-list",
        ".B karpa \\-\\-help \\fR[\\fP\\fIEXPORT\\fP\\fR]\\fP",
        ".B karpa \\-\\-version",
        ".B karpa tour",
        ".fi",
        ".SH DESCRIPTION",
        ".B karpa",
        "loads the library that holds",
        ".I EXPORT",
        "(libkarpa_seq, libkarpa_curried, libkarpa_datetime or libkarpa_crypto), calls it with the arguments "
        "and prints the result text and a line feed. Text arguments are passed as given; an argument",
        ".B \\-",
        "is read from standard input (at most one per call). Integer arguments are decimal. A byte buffer "
        "(the digests) is given as its text; its length is taken from the text.",
        ".PP",
        "After every call the command calls the library's",
        ".BR TovMain ,",
        "so a failed call ends with the library's own report on standard error, for example",
        ".RB \\(dq \"Error: unhandled exception: invalid integer: x [ValueError]\" \\(dq.",
        ".SH OPTIONS",
        ".TP", ".B \\-\\-list", "Every export with its library and C signature.",
        ".TP", ".BR \\-\\-help \" [\" \\fIEXPORT\\fP ]",
        "The usage, or one export's signature, contract and example.",
        ".TP", ".B \\-\\-version", "The version.",
        ".TP", ".B tour", "Calls every export with its example and shows the results.",
        ".SH EXIT STATUS",
        ".TP", ".B 0", "The call succeeded.",
        ".TP", ".B 1", "The library failed the call (the null pointer, or a failed numeric calendar call).",
        ".TP", ".B 2",
        "A wrong call: unknown export, wrong number or type of arguments, or a library that cannot be loaded.",
        ".SH FILES",
        "The libraries are loaded from",
        ".I ../lib",
        "beside the program first, then wherever the dynamic loader finds",
        ".IR libkarpa_ NAME .so.1 .",
        ".SH EXPORTS",
    ]
    for library in LIBRARIES:
        out += [".SS " + f"karpa_{library}", ".nf"]
        out += [roff(signature(r)) for r in rows if r[0] == library]
        out += [".fi"]
    out += [".SH EXAMPLES", ".nf", ".EX",
            roff("$ karpa seq_sort_int ' 3,1, 2' 0"), "1,2,3",
            roff("$ seq 1 100000 | paste -sd, | karpa seq_reduce_sum_int -"), "5000050000",
            roff("$ karpa dt_ymd_to_ts 2023 2 29; echo $?"),
            roff("(the library's report on standard error)"), "1",
            ".EE", ".fi",
            ".SH SEE ALSO", ".BR karpa (7),", ".BR seq_sort_int (3)",
            "and the other section 3 pages, one per export."]
    return "\n".join(out) + "\n"


def contract_page(rows, version):
    with open(CONTRACT_PAGE, encoding="utf-8") as template:
        text = template.read()
    listing = []
    for library, what in LIBRARIES.items():
        listing += [".TP", f".B libkarpa_{library}.so.1", roff(what) + ":"]
        names = [r[2] for r in rows if r[0] == library]
        listing += [f".BR {n} (3){',' if k + 1 < len(names) else ''}" for k, n in enumerate(names)]
    return text.replace("@VERSION@", version).replace("@EXPORTS@\n", "\n".join(listing) + "\n")


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    data = gzip.compress(text.encode("utf-8"), compresslevel=9, mtime=0)
    with open(path + ".gz", "wb") as out:
        out.write(data)


def main():
    out_dir, version = sys.argv[1:3]
    rows = read_table()
    for row in rows:
        siblings = [r[2] for r in rows if r[0] == row[0]]
        write(os.path.join(out_dir, "man3", row[2] + ".3"), export_page(row, version, siblings))
    write(os.path.join(out_dir, "man1", "karpa.1"), command_page(rows, version))
    write(os.path.join(out_dir, "man7", "karpa.7"), contract_page(rows, version))


if __name__ == "__main__":
    main()
