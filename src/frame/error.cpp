#include "frame/error.hpp"

#include <cstdio>
#include <cstdlib>

#include "frame/codec/textcodec.hpp"

namespace karpa {
namespace {

// "std::string_view karpa::kindName(ErrorKind)" -> "kindName"
std::string procedureName(const char* signature) {
    std::string_view s = signature;
    s = s.substr(0, s.find('('));
    if (const auto space = s.rfind(' '); space != std::string_view::npos) s.remove_prefix(space + 1);
    if (const auto scope = s.rfind("::"); scope != std::string_view::npos) s.remove_prefix(scope + 2);
    return std::string(s);
}

std::string baseName(const char* path) {
    std::string_view s = path;
    if (const auto slash = s.rfind('/'); slash != std::string_view::npos) s.remove_prefix(slash + 1);
    return std::string(s);
}

// The record is made at the thread's first raise, so that the thread-local
// block stays small (arena.hpp); the thread's end releases it.
ErrorRecord& threadErrorRecord() {
    if (tlsCall.error == nullptr) {
        tlsCall.error = new ErrorRecord;
        armThreadExitRelease();
    }
    return *tlsCall.error;
}

}  // namespace

void recordError(ErrorKind kind, std::string message, std::source_location site) {
    ErrorRecord& error = threadErrorRecord();
    error.kind = kind;
    error.message = std::move(message);
    error.trace.clear();
    error.trace.push_back({procedureName(site.function_name()), baseName(site.file_name()),
                           static_cast<int>(site.line())});
    tlsCall.failed = true;
    anyErrorRecorded.store(true, std::memory_order_relaxed);
}

std::string_view kindName(ErrorKind kind) {
    switch (kind) {
        case ErrorKind::ValueError: return "ValueError";
        case ErrorKind::OverflowDefect: return "OverflowDefect";
        case ErrorKind::IndexDefect: return "IndexDefect";
        case ErrorKind::RangeDefect: return "RangeDefect";
        case ErrorKind::AssertionDefect: return "AssertionDefect";
    }
    return "Defect";
}

std::atomic<bool> anyErrorRecorded{false};

bool failureFlag() { return tlsCall.failed; }

const ErrorRecord* currentError() { return tlsCall.failed ? tlsCall.error : nullptr; }

void clearFailure() {
    if (!tlsCall.failed) return;
    tlsCall.failed = false;
    // A huge message (a rejected piece of many megabytes) is not kept around.
    if (tlsCall.error->message.capacity() > 4096) std::string().swap(tlsCall.error->message);
}

void raise(ErrorKind kind, std::string message, std::source_location site) {
    recordError(kind, std::move(message), site);
    throw Unwind{};
}

void raiseOverflow() { raise(ErrorKind::OverflowDefect, "over- or underflow"); }

void raiseIndexError2(int64_t index, int64_t highest) {
    if (highest < 0) raise(ErrorKind::IndexDefect, "index out of bounds, the container is empty");
    raise(ErrorKind::IndexDefect,
          "index " + decimalText(index) + " not in 0 .. " + decimalText(highest));
}

void raiseRangeErrorI(int64_t value, int64_t low, int64_t high) {
    raise(ErrorKind::RangeDefect, "value out of range: " + decimalText(value) + " notin " +
                                      decimalText(low) + " .. " + decimalText(high));
}

std::string formatUnhandledError(const ErrorRecord& error) {
    constexpr size_t kReportLimit = 2000;
    std::string trace;
    for (const RaiseSite& site : error.trace) {
        const size_t lineStart = trace.size();
        trace += site.file;
        if (site.line > 0) {
            trace += '(';
            trace += decimalText(site.line);
            trace += ')';
        }
        const size_t written = trace.size() - lineStart;
        trace.append(written < 24 ? 25 - written : 1, ' ');
        trace += site.procedure;
        trace += '\n';
    }
    std::string report;
    auto add = [&report](std::string_view piece) {
        if (report.size() + piece.size() < kReportLimit) report += piece;
    };
    add(trace);
    add("Error: unhandled exception: ");
    add(error.message);
    add(" [");
    add(kindName(error.kind));
    add("]\n");
    return report;
}

void reportUnhandledError(const ErrorRecord& error) {
    const std::string report = formatUnhandledError(error);
    std::fwrite(report.data(), 1, report.size(), stderr);
    std::fflush(stderr);
}

void outOfMemory() {
    static const char kMessage[] = "out of memory\n";
    std::fwrite(kMessage, 1, sizeof kMessage - 1, stderr);
    std::fflush(stderr);
    std::exit(1);
}

}  // namespace karpa
