#!/usr/bin/env python3
"""Writes the host bindings' call tables from the export table src/exports.def.

One file per host, each a thin typed wrapper per export around its package's
hand-written runtime (loading, argument text, failures):

  bindings/node/lib/exports.js  and  bindings/node/index.d.ts   (koffi)
  bindings/ruby/lib/karpa/exports.rb                            (Fiddle)
  bindings/rust/src/exports.rs                                  (dlopen)
  bindings/go/exports.go  and  bindings/go/examples_test.go     (cgo)

  python3 tools/gen_bindings.py            rewrite them
  python3 tools/gen_bindings.py --check    exit 1 when one differs
"""
import json
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from gen_python_exports import ROOT, read_table  # noqa: E402

LIBRARIES = ("seq", "curried", "datetime", "crypto")
PREFIXES = {"seq": "seq_", "curried": "cur_", "datetime": "dt_", "crypto": ""}
LIST_NAMES = ("list", "a", "b")
HEADER = "Generated from src/exports.def by tools/gen_bindings.py; do not edit."


class Param:
    """kind: list (with elem int/float/string), text, float (a float as text), bytes, int, int64."""

    def __init__(self, kind, name, elem=None):
        self.kind, self.name, self.elem = kind, name, elem


class Export:
    def __init__(self, row):
        library, result, name, parameters, contract, example, example_result = row
        self.library, self.name, self.contract = library, name, contract
        self.example, self.example_result = example, example_result
        self.result = {"const char*": "text", "int64_t": "int64", "int32_t": "bool"}[result]
        self.c_result = result
        self.c_parameters = parameters
        # A number result that is also the failure value: 0.
        self.zero_fails = self.result == "int64" and "0 on failure" in contract
        self.short = name[len(PREFIXES[library]):]
        elem = name.rsplit("_", 1)[-1] if library in ("seq", "curried") else None
        self.params = []
        k = 0
        while k < len(parameters):
            c_type, pname = parameters[k]
            following = parameters[k + 1] if k + 1 < len(parameters) else None
            if c_type == "const char*" and following and following[0] == "int" and \
                    following[1] in ("len", pname + "_len"):
                self.params.append(Param("bytes", pname))
                k += 2
                continue
            if c_type == "const char*":
                if pname in LIST_NAMES and elem in ("int", "float", "string"):
                    self.params.append(Param("list", pname, elem))
                elif elem == "float":
                    self.params.append(Param("float", pname))
                else:
                    self.params.append(Param("text", pname))
            else:
                self.params.append(Param({"int": "int", "int64_t": "int64"}[c_type], pname))
            k += 1


def camel(name, upper=False):
    words = name.split("_")
    text = words[0] + "".join(w[:1].upper() + w[1:] for w in words[1:])
    return text[:1].upper() + text[1:] if upper else text


def host_example(e):
    """The example's arguments as a binding takes them: a buffer's length left out, NULL as ""."""
    args, k = [], 0
    for p in e.params:
        a = e.example[k]
        args.append("" if a is None else a)
        k += 2 if p.kind == "bytes" else 1
    return args


def example_call(e):
    return f"{e.name}{json.dumps(list(e.example))[1:-1].join('()')} -> " + (
        "failure" if e.example_result is None else json.dumps(e.example_result))


# Node (koffi) ----------------------------------------------------------------

def koffi_signature(e):
    types = {"const char*": "const char *", "int": "int", "int64_t": "int64_t", "int32_t": "int32_t"}
    parts = []
    for c_type, pname in e.c_parameters:
        parts.append(f"{types[c_type]} {pname}")
    # Byte buffers travel as Buffers, not JS strings.
    for p in e.params:
        if p.kind == "bytes":
            parts = [s.replace(f"const char * {p.name}", f"const uint8_t * {p.name}") for s in parts]
    return f"{types[e.c_result]} {e.name}({', '.join(parts)})".replace("* ", "*")


NODE_ARG = {"list": "rt.{elem}List({n}, '{n}')", "text": "rt.text({n}, '{n}')", "float": "rt.floatText({n}, '{n}')",
            "bytes": "...rt.bytes({n}, '{n}')", "int": "rt.int32({n}, '{n}')", "int64": "rt.int64({n}, '{n}')"}
TS_TYPE = {"list": {"int": "IntList", "float": "FloatList", "string": "StringList"}, "text": "string",
           "float": "FloatArgument", "bytes": "Bytes", "int": "number", "int64": "Int64"}
TS_RESULT = {"text": "string", "int64": "number | bigint", "bool": "boolean"}


def render_node(exports):
    js = ["'use strict';", f"// {HEADER}", "", "const rt = require('./runtime');", "",
          "const SIGNATURES = {"]
    for lib in LIBRARIES:
        js.append(f"  {lib}: [")
        js += [f"    {json.dumps(koffi_signature(e))}," for e in exports if e.library == lib]
        js.append("  ],")
    js += ["};", ""]
    for lib in LIBRARIES:
        js.append(f"const {lib} = {{")
        for e in (e for e in exports if e.library == lib):
            names = ", ".join(camel(p.name) for p in e.params)
            args = ", ".join(NODE_ARG[p.kind].format(n=camel(p.name), elem=p.elem) for p in e.params)
            js.append(f"  /** {e.contract} */")
            js.append(f"  {camel(e.short)}({names}) {{")
            js.append(f"    return rt.call('{lib}', '{e.name}', '{e.result}', {str(e.zero_fails).lower()}, [{args}]);")
            js.append("  },")
        js += ["};", ""]
    js.append("const EXPORTS = [")
    for e in exports:
        js.append(f"  {json.dumps({'library': e.library, 'name': e.name, 'function': camel(e.short), 'example': host_example(e), 'result': e.example_result})},")
    js += ["];", "", f"module.exports = {{ SIGNATURES, EXPORTS, {', '.join(LIBRARIES)} }};", ""]

    ts = [f"// {HEADER}", "",
          "/** List text as given, or the items of a list. */",
          "export type IntList = string | ReadonlyArray<number | bigint>;",
          "export type FloatList = string | ReadonlyArray<number>;",
          "export type StringList = string | ReadonlyArray<string>;",
          "/** A float as text (passed exactly) or a number. */",
          "export type FloatArgument = string | number;",
          "/** A 64-bit integer. */",
          "export type Int64 = number | bigint;",
          "/** A byte buffer; a string is taken as UTF-8. */",
          "export type Bytes = string | Uint8Array;", "",
          "/** A call the library could not answer; kind and message are the library's own. */",
          "export class KarpaError extends Error {",
          "  /** The export's C name, such as \"seq_sort_int\". */",
          "  readonly function: string;",
          "  /** The arguments as they reached the library. */",
          "  readonly arguments: ReadonlyArray<unknown>;",
          "  /** \"ValueError\", \"OverflowDefect\", \"IndexDefect\", \"RangeDefect\" or \"AssertionDefect\"; null when no report could be read. */",
          "  readonly kind: string | null;",
          "  /** The library's whole unhandled-error report. */",
          "  readonly report: string;",
          "}", "",
          "/** A library that could not be found or loaded. */",
          "export class KarpaLoadError extends Error {}", "",
          "/** Where to look first for libkarpa_*.so (before pkg-config and the system loader path). */",
          "export function setLibraryDir(dir: string | null): void;",
          "/** The file a library was loaded from ('seq', 'curried', 'datetime' or 'crypto'). */",
          "export function libraryPath(name: 'seq' | 'curried' | 'datetime' | 'crypto'): string;",
          "/** A list result as numbers (RangeError beyond 2**53) or as bigints. */",
          "export function ints(text: string): number[];",
          "export function bigInts(text: string): bigint[];",
          "export function floats(text: string): number[];",
          "export function strings(text: string): string[];",
          "export const version: string;", ""]
    for lib in LIBRARIES:
        ts.append(f"export namespace {lib} {{")
        for e in (e for e in exports if e.library == lib):
            params = ", ".join(
                f"{camel(p.name)}: {TS_TYPE['list'][p.elem] if p.kind == 'list' else TS_TYPE[p.kind]}"
                for p in e.params)
            ts.append(f"  /** {e.contract} `{example_call(e)}` */")
            ts.append(f"  function {camel(e.short)}({params}): {TS_RESULT[e.result]};")
        ts += ["}", ""]
    return {"bindings/node/lib/exports.js": "\n".join(js), "bindings/node/index.d.ts": "\n".join(ts)}


# Ruby (Fiddle) ----------------------------------------------------------------

RUBY_ARG = {"list": "Karpa.{elem}_list({n})", "text": "Karpa.text({n}, '{n}')", "float": "Karpa.float_text({n})",
            "bytes": "*Karpa.bytes({n})", "int": "Karpa.int32({n}, '{n}')", "int64": "Karpa.int64({n}, '{n}')"}
FIDDLE_TYPE = {"const char*": "P", "int": "I", "int64_t": "L", "int32_t": "I"}


def render_ruby(exports):
    rb = [f"# {HEADER}", "", "module Karpa"]
    rb.append("  # Export -> [library, result, argument types (P pointer, I int, L int64_t), zero fails].")
    rb.append("  SIGNATURES = {")
    for e in exports:
        types = "".join(FIDDLE_TYPE[t] for t, _ in e.c_parameters)
        rb.append(f"    '{e.name}' => ['{e.library}', '{e.result}', '{types}', {str(e.zero_fails).lower()}],")
    rb.append("  }.freeze")
    rb.append("")
    rb.append("  # Every export's table example: [module, function, arguments, result (nil: failure)].")
    rb.append("  EXAMPLES = [")
    for e in exports:
        args = ", ".join(json.dumps(a) for a in host_example(e))
        res = "nil" if e.example_result is None else json.dumps(
            bool(e.example_result) if e.result == "bool" else e.example_result)
        rb.append(f"    [:{e.library.capitalize()}, :{e.short}, [{args}], {res}],")
    rb.append("  ].freeze")
    for lib in LIBRARIES:
        rb += ["", f"  module {lib.capitalize()}"]
        for e in (e for e in exports if e.library == lib):
            names = ", ".join(p.name for p in e.params)
            args = ", ".join(RUBY_ARG[p.kind].format(n=p.name, elem=p.elem) for p in e.params)
            rb.append(f"    # {e.contract}")
            rb.append(f"    #   {example_call(e)}")
            rb.append(f"    def self.{e.short}({names})")
            rb.append(f"      Karpa.call('{e.name}', [{args}])")
            rb.append("    end")
        rb.append("  end")
    rb += ["end", ""]
    return {"bindings/ruby/lib/karpa/exports.rb": "\n".join(rb)}


# Rust (dlopen) ----------------------------------------------------------------

RUST_C = {"const char*": "*const c_char", "int": "c_int", "int64_t": "i64", "int32_t": "i32"}
RUST_PARAM = {"text": "&str", "float": "impl FloatArg", "bytes": "impl AsRef<[u8]>", "int": "i32", "int64": "i64"}
RUST_LIST = {"int": "impl IntList", "float": "impl FloatList", "string": "impl StrList"}
RUST_RESULT = {"text": "String", "int64": "i64", "bool": "bool"}


def rust_literal(value):
    if value is None:
        return "None"
    return json.dumps(value)


def render_rust(exports):
    rs = [f"// {HEADER}", "", "use super::rt::{self, Arg, IntList, FloatList, StrList, FloatArg, KarpaError};",
          "use std::os::raw::{c_char, c_int};", ""]
    for lib in LIBRARIES:
        rows = [e for e in exports if e.library == lib]
        rs.append(f"/// The exports of `libkarpa_{lib}`, resolved once.")
        rs.append("#[allow(non_snake_case, dead_code)]")
        rs.append(f"pub(crate) struct {camel(lib, True)}Fns {{")
        for e in rows:
            cps = ", ".join(RUST_C[t] for t, _ in e.c_parameters)
            rs.append(f"    pub {e.name}: unsafe extern \"C\" fn({cps}) -> {RUST_C[e.c_result]},")
        rs += ["}", "", f"pub(crate) fn load_{lib}(h: &rt::Handle) -> Result<{camel(lib, True)}Fns, String> {{",
               "    unsafe {", f"        Ok({camel(lib, True)}Fns {{"]
        for e in rows:
            rs.append(f"            {e.name}: std::mem::transmute(h.symbol(\"{e.name}\\0\")?),")
        rs += ["        })", "    }", "}", ""]
    for lib in LIBRARIES:
        rows = [e for e in exports if e.library == lib]
        rs.append(f"/// `libkarpa_{lib}`.")
        rs.append(f"pub mod {lib} {{")
        rs.append("    use super::*;")
        for e in rows:
            params = ", ".join(
                f"{p.name}: {RUST_LIST[p.elem] if p.kind == 'list' else RUST_PARAM[p.kind]}" for p in e.params)
            rs.append("")
            rs.append(f"    /// {e.contract}")
            rs.append("    ///")
            rs.append(f"    /// `{example_call(e)}`")
            rs.append(f"    pub fn {e.short}({params}) -> Result<{RUST_RESULT[e.result]}, KarpaError> {{")
            if e.result == "text" or e.zero_fails:
                rs.append(f"        const NAME: &str = \"{e.name}\";")
            args = []
            for p in e.params:
                if p.kind == "list":
                    args.append(f"Arg::Text({p.name}.list_text(NAME, \"{p.name}\")?)")
                elif p.kind == "text":
                    args.append(f"Arg::Text(rt::text(NAME, \"{p.name}\", {p.name}.as_bytes())?)")
                elif p.kind == "float":
                    args.append(f"Arg::Text({p.name}.float_text(NAME, \"{p.name}\")?)")
                elif p.kind == "bytes":
                    args.append(f"Arg::Bytes(rt::bytes(NAME, \"{p.name}\", {p.name}.as_ref())?)")
                elif p.kind == "int":
                    args.append(f"Arg::Int({p.name})")
                else:
                    args.append(f"Arg::Int64({p.name})")
            if e.result == "text" or e.zero_fails:  # kept for a failure's reason
                rs.append(f"        let args = [{', '.join(args)}];")
            rs.append(f"        let f = rt::{lib}()?.{e.name};")
            cargs = []
            k = 0
            for p in e.params:
                if p.kind in ("list", "text", "float"):
                    cargs.append(f"args[{k}].ptr()")
                elif p.kind == "bytes":
                    cargs += [f"args[{k}].ptr()", f"args[{k}].len()"]
                elif p.kind == "int":
                    cargs.append(f"{p.name} as c_int")
                else:
                    cargs.append(p.name)
                k += 1
            call = f"unsafe {{ f({', '.join(cargs)}) }}"
            if e.result == "text":
                rs.append(f"        rt::text_result(NAME, &args, {call})")
            elif e.result == "bool":
                rs.append(f"        Ok({call} != 0)")
            elif e.zero_fails:
                rs.append(f"        rt::number_result(NAME, &args, {call})")
            else:
                rs.append(f"        Ok({call})")
            rs.append("    }")
        rs += ["}", ""]
    rs.append("/// The library of an export.")
    rs.append("pub(crate) fn library_of(function: &str) -> &'static str {")
    rs.append("    match function {")
    for lib in LIBRARIES:
        names = " | ".join(f'"{e.name}"' for e in exports if e.library == lib)
        rs.append(f"        {names} => \"{lib}\",")
    rs += ["        _ => \"\",", "    }", "}", ""]
    rs.append("/// Calls an export by its C name with its arguments as command-line words; numbers come back as text.")
    rs.append("#[doc(hidden)]")
    rs.append("pub fn call_by_name(name: &str, words: &[&str]) -> Result<String, KarpaError> {")
    rs.append("    match name {")
    for e in exports:
        words = []
        for k, p in enumerate(e.params):
            if p.kind in ("int", "int64"):
                words.append(f"words[{k}].parse().expect(\"an integer word\")")
            else:
                words.append(f"words[{k}]")
        call = f"{e.library}::{e.short}({', '.join(words)})"
        if e.result == "bool":
            call += ".map(|b| (b as i32).to_string())"
        elif e.result == "int64":
            call += ".map(|n| n.to_string())"
        rs.append(f"        \"{e.name}\" => {call},")
    rs += ["        _ => panic!(\"no export {}\", name),", "    }", "}", ""]
    rs.append("/// Every export's table example: library, export, arguments as command-line words, result.")
    rs.append("#[doc(hidden)]")
    rs.append("pub const EXAMPLES: &[(&str, &str, &[&str], Option<&str>)] = &[")
    for e in exports:
        shown = [str(a) for a in host_example(e)]
        res = "None" if e.example_result is None else f"Some({json.dumps(str(e.example_result))})"
        rs.append(f"    (\"{e.library}\", \"{e.name}\", &[{', '.join(json.dumps(w) for w in shown)}], {res}),")
    rs += ["];", ""]
    return {"bindings/rust/src/exports.rs": "\n".join(rs)}


# Go (cgo) ----------------------------------------------------------------------

GO_PARAM = {"text": "string", "bytes": "[]byte", "int": "int32", "int64": "int64"}
GO_GENERIC = {"int": "IntList", "float": "FloatList", "string": "StringList"}
GO_RESULT = {"text": "string", "int64": "int64", "bool": "bool"}
GO_HEADER = "// Code generated from src/exports.def by tools/gen_bindings.py. DO NOT EDIT."


def go_type_param(p):
    return camel(p.name, True) if p.kind in ("list", "float") else None


def render_go(exports):
    go = [GO_HEADER, "", "package karpa", "",
          "// #include <stdlib.h>", "// #include <karpa/karpa.h>", "import \"C\"", "", "import \"unsafe\"", ""]
    for e in exports:
        generic = [f"{go_type_param(p)} {GO_GENERIC[p.elem] if p.kind == 'list' else 'FloatArg'}"
                   for p in e.params if go_type_param(p)]
        tparams = f"[{', '.join(generic)}]" if generic else ""
        params = ", ".join(f"{camel(p.name)} {go_type_param(p) or GO_PARAM[p.kind]}" for p in e.params)
        name = camel(e.name, True)
        go.append(f"// {name} calls {e.name}: {e.contract}")
        go.append("//")
        go.append(f"//\t{example_call(e)}")
        go.append(f"func {name}{tparams}({params}) ({GO_RESULT[e.result]}, error) {{")
        zero = {"text": '""', "int64": "0", "bool": "false"}[e.result]
        words, cargs = [], []
        if e.result == "text" or e.zero_fails or any(p.kind in ("list", "text", "float", "bytes") for p in e.params):
            go.append(f"\tconst export = \"{e.name}\"")
        for p in e.params:
            v = camel(p.name)
            c = "c" + camel(p.name, True)
            if p.kind in ("list", "text", "float"):
                convert = {"list": f"{p.elem}ListText", "text": "checkText", "float": "floatText"}[p.kind]
                go.append(f"\t{v}Text, err := {convert}(export, \"{p.name}\", {v})")
                go += ["\tif err != nil {", f"\t\treturn {zero}, err", "\t}"]
                go.append(f"\t{c} := C.CString({v}Text)")
                go.append(f"\tdefer C.free(unsafe.Pointer({c}))")
                words.append(f"{v}Text")
                cargs.append(c)
            elif p.kind == "bytes":
                go.append(f"\tif err := checkBytes(export, \"{p.name}\", {v}); err != nil {{")
                go += [f"\t\treturn {zero}, err", "\t}"]
                go.append(f"\t{c} := C.CBytes({v})")
                go.append(f"\tdefer C.free({c})")
                words.append(f"string({v})")
                cargs += [f"(*C.char)({c})", f"C.int(len({v}))"]
            elif p.kind == "int":
                words.append(f"itoa(int64({v}))")
                cargs.append(f"C.int({v})")
            else:
                words.append(f"itoa({v})")
                cargs.append(f"C.int64_t({v})")
        call = f"C.{e.name}({', '.join(cargs)})"
        args = f"[]string{{{', '.join(words)}}}"
        if e.result == "text":
            go += [f"\tresult := {call}", "\tif result == nil {", f"\t\treturn \"\", failure(export, {args})", "\t}",
                   "\treturn C.GoString(result), nil // copied before the next call"]
        elif e.result == "bool":
            go.append(f"\treturn {call} != 0, nil")
        elif e.zero_fails:
            go += [f"\tresult := int64({call})", f"\tif result == 0 && !zeroIsAnswer(export, {args}) {{",
                   f"\t\treturn 0, failure(export, {args})", "\t}", "\treturn result, nil"]
        else:
            go.append(f"\treturn int64({call}), nil")
        go += ["}", ""]

    test = [GO_HEADER, "", "package karpa", "", "import \"strconv\"", "",
            "// examples holds every export's table example: export, arguments as words, result (nil: a failure).",
            "var examples = []struct {", "\texport string", "\targs   []string", "\tresult *string", "}{"]
    for e in exports:
        shown = [str(a) for a in host_example(e)]
        res = "nil" if e.example_result is None else f"ptr({json.dumps(str(e.example_result))})"
        test.append(f"\t{{\"{e.name}\", []string{{{', '.join(json.dumps(w) for w in shown)}}}, {res}}},")
    test += ["}", "", "func ptr(s string) *string { return &s }", "",
             "func word32(w string) int32 { n, _ := strconv.ParseInt(w, 10, 32); return int32(n) }", "",
             "func word64(w string) int64 { n, _ := strconv.ParseInt(w, 10, 64); return n }", "",
             "func text(s string, err error) (string, error) { return s, err }", "",
             "func number(n int64, err error) (string, error) { return strconv.FormatInt(n, 10), err }", "",
             "func truth(b bool, err error) (string, error) {", "\tif b {", "\t\treturn \"1\", err", "\t}",
             "\treturn \"0\", err", "}", "",
             "// callByName calls an export by its C name with its arguments as words; numbers come back as text.",
             "func callByName(name string, w []string) (string, error) {", "\tswitch name {"]
    for e in exports:
        words = []
        for k, p in enumerate(e.params):
            words.append({"int": f"word32(w[{k}])", "int64": f"word64(w[{k}])", "bytes": f"[]byte(w[{k}])"}
                         .get(p.kind, f"w[{k}]"))
        wrap = {"text": "text", "int64": "number", "bool": "truth"}[e.result]
        test += [f"\tcase \"{e.name}\":", f"\t\treturn {wrap}({camel(e.name, True)}({', '.join(words)}))"]
    test += ["\t}", "\tpanic(\"no export \" + name)", "}", ""]
    return {"bindings/go/exports.go": "\n".join(go), "bindings/go/examples_test.go": "\n".join(test)}


def render_all():
    exports = [Export(row) for row in read_table()]
    files = {}
    for render in (render_node, render_ruby, render_rust, render_go):
        files.update(render(exports))
    return files


def main():
    check = "--check" in sys.argv[1:]
    stale = []
    for relative, text in render_all().items():
        path = os.path.join(ROOT, relative)
        current = None
        if os.path.exists(path):
            with open(path, encoding="utf-8") as f:
                current = f.read()
        if current == text:
            continue
        if check:
            stale.append(relative)
        else:
            with open(path, "w", encoding="utf-8") as f:
                f.write(text)
    if stale:
        print("out of date: " + ", ".join(stale) + " (run python3 tools/gen_bindings.py)")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
