// karpa: call any export of the Karpa libraries from the shell.
//
//   karpa EXPORT ARG...    call one export, print its result
//   karpa --list           every export with its C signature
//   karpa --help [EXPORT]  usage, or one export's signature, contract and example
//   karpa --version
//   karpa tour             a short tour of all four libraries
//
// The libraries are loaded through the dynamic loader from ../lib beside this
// program (the build tree and an installed prefix have the same layout), as
// any host would load them. An argument "-" reads that text from standard input.
// After a call the library's TovMain runs, so a failed call ends with the
// library's own report of the error on standard error and exit status 1.
#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// One row of the export table (src/exports.def), with its parameters sorted
// into argument kinds: a letter per argument (s text, i int, l int64_t,
// b byte buffer given as text plus its int length) and the result
// (T text, L int64_t, B int32_t yes/no).
struct Export {
    const char* library;
    const char* resultType;
    const char* name;
    const char* parameters;  // "(const char* list, int factor)"
    const char* contract;
    const char* exampleArguments;
    const char* exampleResult;
    std::string arguments;
    std::vector<std::string> argumentNames;
    char result = 'T';
};

std::vector<Export> tableExports() {
    std::vector<Export> rows = {
#define KARPA_EXPORT_ROW(library, result, name, parameters, contract, example, exampleResult) \
    {#library, #result, #name, #parameters, contract, #example, #exampleResult, {}, {}},
#include "exports.def"
#undef KARPA_EXPORT_ROW
    };
    for (Export& e : rows) {
        const std::string_view result = e.resultType;
        e.result = result == "const char*" ? 'T' : (result == "int64_t" ? 'L' : 'B');
        // "(type name, type name)" into types and names.
        std::vector<std::pair<std::string, std::string>> params;
        std::string list(e.parameters + 1, std::strlen(e.parameters) - 2);
        for (size_t start = 0; start < list.size();) {
            size_t comma = list.find(", ", start);
            if (comma == std::string::npos) comma = list.size();
            const std::string param = list.substr(start, comma - start);
            const size_t space = param.rfind(' ');
            params.emplace_back(param.substr(0, space), param.substr(space + 1));
            start = comma + 2;
        }
        for (size_t k = 0; k < params.size(); ++k) {
            const auto& [type, name] = params[k];
            const bool bufferLength = k + 1 < params.size() && params[k + 1].first == "int" &&
                                      (params[k + 1].second == "len" || params[k + 1].second == name + "_len");
            if (type == "const char*" && bufferLength) {
                e.arguments += 'b';
                ++k;
            } else {
                e.arguments += type == "const char*" ? 's' : (type == "int" ? 'i' : 'l');
            }
            e.argumentNames.push_back(name);
        }
    }
    return rows;
}

const std::vector<Export>& allExports() {
    static const std::vector<Export> rows = tableExports();
    return rows;
}

const Export* findExport(const std::string& name) {
    for (const Export& e : allExports()) {
        if (name == e.name) return &e;
    }
    return nullptr;
}

std::string cSignature(const Export& e) { return std::string(e.resultType) + " " + e.name + e.parameters; }

std::string programDirectory() {
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return ".";
    std::string p(path, static_cast<size_t>(n));
    return p.substr(0, p.rfind('/'));
}

// The loaded library, or null (with the loader's message in `why`) when it cannot be loaded.
void* tryOpenLibrary(const char* library, std::string* why) {
    static void* handles[4] = {};
    static const char* names[4] = {"seq", "curried", "datetime", "crypto"};
    for (int i = 0; i < 4; ++i) {
        if (std::strcmp(names[i], library) != 0) continue;
        if (handles[i] != nullptr) return handles[i];
        const std::string base = programDirectory() + "/../lib/libkarpa_" + library + ".so";
        // Beside this program first, then wherever the system loader finds it.
        const std::string soname = std::string("libkarpa_") + library + ".so.1";
        for (const std::string& path : {base, base + ".1", soname}) {
            handles[i] = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
            if (handles[i] != nullptr) return handles[i];
        }
        if (why != nullptr) *why = base + ": " + dlerror();
        return nullptr;
    }
    return nullptr;
}

void* openLibrary(const char* library) {
    std::string why;
    void* handle = tryOpenLibrary(library, &why);
    if (handle == nullptr) {
        std::fprintf(stderr, "karpa: cannot load %s\n", why.c_str());
        std::exit(2);
    }
    return handle;
}

constexpr const char* kUsage =
    "usage: karpa EXPORT ARG...   call an export (\"-\" reads an argument from standard input)\n"
    "       karpa --list          every export with its C signature\n"
    "       karpa --help EXPORT   an export's signature, contract and example\n"
    "       karpa --version\n"
    "       karpa tour            a short tour of all four libraries\n";

[[noreturn]] void usage(const std::string& problem) {
    std::fprintf(stderr, "karpa: %s\n%s", problem.c_str(), kUsage);
    std::exit(2);
}

std::optional<int64_t> parseNumber(const std::string& text, int64_t low, int64_t high) {
    if (text.empty()) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value < low || value > high) return std::nullopt;
    return value;
}

// One argument value, typed by its letter.
struct Value {
    std::string text;
    int64_t number = 0;
};

struct Outcome {
    bool failed = false;
    std::string text;
};

// Calls through a function pointer of the export's exact C type.
Outcome invoke(const Export& e, void* fn, const std::vector<Value>& v) {
    const std::string a = e.arguments;
    auto text = [](const char* r) { return r == nullptr ? Outcome{true, {}} : Outcome{false, r}; };
    auto integer = [](int64_t r) { return Outcome{false, std::to_string(r)}; };
    auto I = [&](size_t k) { return static_cast<int>(v[k].number); };
    auto L = [&](size_t k) { return v[k].number; };
    auto S = [&](size_t k) { return v[k].text.c_str(); };
    auto N = [&](size_t k) { return static_cast<int>(v[k].text.size()); };
    if (e.result == 'T') {
        if (a == "s") return text(reinterpret_cast<const char* (*)(const char*)>(fn)(S(0)));
        if (a == "si") return text(reinterpret_cast<const char* (*)(const char*, int)>(fn)(S(0), I(1)));
        if (a == "ss") return text(reinterpret_cast<const char* (*)(const char*, const char*)>(fn)(S(0), S(1)));
        if (a == "sss")
            return text(reinterpret_cast<const char* (*)(const char*, const char*, const char*)>(fn)(S(0), S(1), S(2)));
        if (a == "b") return text(reinterpret_cast<const char* (*)(const char*, int)>(fn)(S(0), N(0)));
        if (a == "bb")
            return text(reinterpret_cast<const char* (*)(const char*, int, const char*, int)>(fn)(S(0), N(0), S(1), N(1)));
        if (a == "l") return text(reinterpret_cast<const char* (*)(int64_t)>(fn)(L(0)));
        if (a == "lll") return text(reinterpret_cast<const char* (*)(int64_t, int64_t, int64_t)>(fn)(L(0), L(1), L(2)));
        if (a == "llll")
            return text(reinterpret_cast<const char* (*)(int64_t, int64_t, int64_t, int64_t)>(fn)(L(0), L(1), L(2), L(3)));
        if (a == "llllll")
            return text(reinterpret_cast<const char* (*)(int64_t, int64_t, int64_t, int64_t, int64_t, int64_t)>(fn)(
                L(0), L(1), L(2), L(3), L(4), L(5)));
    } else if (e.result == 'B') {
        if (a == "l") return integer(reinterpret_cast<int32_t (*)(int64_t)>(fn)(L(0)));
        if (a == "lll") return integer(reinterpret_cast<int32_t (*)(int64_t, int64_t, int64_t)>(fn)(L(0), L(1), L(2)));
    } else {
        if (a == "l") return integer(reinterpret_cast<int64_t (*)(int64_t)>(fn)(L(0)));
        if (a == "ll") return integer(reinterpret_cast<int64_t (*)(int64_t, int64_t)>(fn)(L(0), L(1)));
        if (a == "lll") return integer(reinterpret_cast<int64_t (*)(int64_t, int64_t, int64_t)>(fn)(L(0), L(1), L(2)));
        if (a == "llllll")
            return integer(reinterpret_cast<int64_t (*)(int64_t, int64_t, int64_t, int64_t, int64_t, int64_t)>(fn)(
                L(0), L(1), L(2), L(3), L(4), L(5)));
    }
    usage(std::string("no calling convention for ") + e.name);
}

std::string readStandardInput() {
    std::string text((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
    // A trailing line break from the pipe is not part of the list.
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

Outcome call(const std::string& name, const std::vector<std::string>& args) {
    const Export* e = findExport(name);
    if (e == nullptr) usage("unknown export '" + name + "' (karpa --list shows them all)");
    const size_t arity = e->arguments.size();
    if (args.size() != arity) {
        usage(name + " takes " + std::to_string(arity) + " argument" + (arity == 1 ? "" : "s") + ": " + cSignature(*e));
    }
    std::vector<Value> values(arity);
    bool stdinUsed = false;
    for (size_t k = 0; k < arity; ++k) {
        const char kind = e->arguments[k];
        std::string arg = args[k];
        if (arg == "-" && (kind == 's' || kind == 'b')) {
            if (stdinUsed) usage("only one argument can be read from standard input");
            stdinUsed = true;
            arg = readStandardInput();
        }
        if (kind == 'i' || kind == 'l') {
            const auto n = kind == 'i' ? parseNumber(arg, INT32_MIN, INT32_MAX) : parseNumber(arg, INT64_MIN, INT64_MAX);
            if (!n) usage("argument " + std::to_string(k + 1) + " of " + name + " must be " +
                          (kind == 'i' ? "a 32-bit" : "a 64-bit") + " integer, not '" + arg + "'");
            values[k].number = *n;
        } else {
            if (kind == 'b' && arg.size() > INT32_MAX) usage("argument too long for an int length");
            values[k].text = std::move(arg);
        }
    }
    void* fn = dlsym(openLibrary(e->library), e->name);
    if (fn == nullptr) usage(std::string("export ") + e->name + " is missing from libkarpa_" + e->library + ".so");
    return invoke(*e, fn, values);
}

int tour() {
    struct Step {
        const char* name;
        std::vector<std::string> args;
    };
    const std::vector<Step> steps = {
        {"seq_sort_int", {" 3,1, 2", "0"}},
        {"seq_unique_int", {"3,1,3,2,1"}},
        {"seq_reduce_sum_int", {"9223372036854775807,1"}},
        {"seq_reduce_sum_float", {"0.1,0.2"}},
        {"seq_map_float", {"1.5, 2", "2"}},
        {"seq_sort_string", {"b,a,,B", "0"}},
        {"seq_map_string", {"a, b,,c", "<", ">"}},
        {"cur_mean_int", {"1,2,2"}},
        {"cur_variance_int", {"1,2,3,4"}},
        {"cur_median_float", {"4,1,3,2"}},
        {"cur_union_string", {"a,b,a", "c,b,d"}},
        {"dt_ts_to_ymdhms", {"1700000000"}},
        {"dt_add_months", {"2024", "1", "31", "1"}},
        {"dt_week_of_year", {"2024", "1", "15"}},
        {"dt_range_months", {"2024", "11", "4"}},
        {"sha256_hash", {"abc"}},
        {"hmac_md5", {"what do ya want for nothing?", "Jefe"}},
    };
    for (const Step& step : steps) {
        const Export* e = findExport(step.name);
        std::string shown = std::string(step.name) + "(";
        for (size_t k = 0; k < step.args.size(); ++k) {
            const char kind = e->arguments[k];
            shown += (k ? ", " : "") + (kind == 's' || kind == 'b' ? "\"" + step.args[k] + "\"" : step.args[k]);
        }
        shown += ")";
        const Outcome outcome = call(step.name, step.args);
        const std::string result = outcome.failed ? "failure (null pointer)"
                                   : e->result == 'T' ? "\"" + outcome.text + "\""
                                                      : outcome.text;
        std::printf("%-52s -> %s\n", shown.c_str(), result.c_str());
    }
    return 0;
}

// The C arguments of a table example ("(\"abc\", 3)") as command-line words:
// string literals unquoted, a byte buffer's length left out (the command
// takes it from the text).
std::vector<std::string> exampleWords(const Export& e) {
    std::vector<std::string> literals;
    const std::string text = e.exampleArguments;
    for (size_t i = 1; i + 1 < text.size();) {
        std::string literal;
        if (text[i] == '"') {
            for (++i; text[i] != '"'; ++i) literal += text[i] == '\\' ? text[++i] : text[i];
            ++i;
        } else {
            while (i + 1 < text.size() && text[i] != ',') literal += text[i++];
        }
        literals.push_back(literal);
        if (text[i] == ',') i += 2;
    }
    std::vector<std::string> words;
    size_t k = 0;
    for (const char kind : e.arguments) {
        words.push_back(literals.at(k) == "NULL" ? "" : literals.at(k));  // the null pointer reads as ""
        k += kind == 'b' ? 2 : 1;
    }
    return words;
}

std::string shellQuoted(const std::string& word) {
    if (!word.empty() && word.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-.") == std::string::npos) {
        return word;
    }
    std::string out = "'";
    for (const char c : word) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

int help(const std::string& name) {
    const Export* e = findExport(name);
    if (e == nullptr) usage("unknown export '" + name + "' (karpa --list shows them all)");
    std::printf("%s   (libkarpa_%s)\n  %s\n\nexample:\n  %s%s -> %s\n  karpa %s", cSignature(*e).c_str(), e->library,
                e->contract, e->name, e->exampleArguments, e->exampleResult, e->name);
    for (const std::string& word : exampleWords(*e)) std::printf(" %s", shellQuoted(word).c_str());
    std::printf("\n");
    return 0;
}

// The library's own verdict on the call just made on this thread: TovMain
// writes the report of a failed call and exits with status 1; after a
// successful call it only installs the signal handlers again.
void reportLibraryFailure(const Export& e) {
    auto tovMain = reinterpret_cast<void (*)()>(dlsym(openLibrary(e.library), "TovMain"));
    if (tovMain == nullptr) usage(std::string("TovMain is missing from libkarpa_") + e.library + ".so");
    std::fflush(stdout);
    tovMain();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) usage("nothing to do");
    const std::string command = argv[1];
    if (command == "--list") {
        for (const Export& e : allExports()) {
            std::printf("%-16s %s\n", (std::string("karpa_") + e.library).c_str(), cSignature(e).c_str());
        }
        return 0;
    }
    if (command == "tour" && argc == 2) return tour();
    if (command == "--help" || command == "-h") {
        if (argc == 3) return help(argv[2]);
        std::printf("%s", kUsage);
        return 0;
    }
    if (command == "--version" && argc == 2) {
        std::printf("karpa %s\n", KARPA_VERSION);
        return 0;
    }
    const Outcome outcome = call(command, std::vector<std::string>(argv + 2, argv + argc));
    reportLibraryFailure(*findExport(command));
    if (outcome.failed) {
        std::fprintf(stderr, "karpa: %s failed (the library returned the null pointer)\n", command.c_str());
        return 1;
    }
    std::fwrite(outcome.text.data(), 1, outcome.text.size(), stdout);
    std::fputc('\n', stdout);
    return 0;
}
