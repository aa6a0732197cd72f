// Faults, each in a child process: memory refused by the system, fatal
// signals, SIGPIPE, and TovMain after a failed call, for every library.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <atomic>
#include <csignal>
#include <fstream>
#include <functional>
#include <thread>

#include "child.hpp"
#include "libraries.hpp"

using namespace karpa_test;

namespace {

TEST(Faults, EveryLibraryIsSelfContained) {
    for (const char* name : {"seq", "curried", "datetime", "crypto"}) expectSelfContained(name);
}

// ---- Out of memory -------------------------------------------------------

// Address space in use by this process, from /proc/self/statm.
long mappedBytes() {
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    statm >> size;
    return size * 4096;
}

// Lets the process map only `headroom` more bytes of address space.
void limitAddressSpace(long headroom) {
    const rlimit limit{rlim_t(mappedBytes() + headroom), rlim_t(mappedBytes() + headroom)};
    if (setrlimit(RLIMIT_AS, &limit) != 0) _exit(90);
}

struct MemoryCase {
    const char* library;
    const char* what;
    long headroom;  // address space left to the call
    // Prepares the input (before the limit) and returns the call to make under it.
    std::function<std::function<void()>(const Library&)> prepare;
};

class OutOfMemory : public ::testing::TestWithParam<MemoryCase> {};

TEST_P(OutOfMemory, WritesTheMessageAndExitsWithStatusOne) {
#ifdef KARPA_INSTRUMENTED_BUILD
    GTEST_SKIP() << "a limit on address space breaks the sanitizers' shadow memory";
#endif
    const MemoryCase c = GetParam();
    const ChildResult child = runInChild([&] {
        const Library library(c.library);
        const std::function<void()> call = c.prepare(library);
        limitAddressSpace(c.headroom);
        call();
        _exit(0);  // not reached: the call cannot succeed in that room
    });
    ASSERT_TRUE(child.exited()) << c.what << ": status " << child.status;
    EXPECT_EQ(child.exitCode(), 1) << c.what;
    EXPECT_EQ(child.standardError, "out of memory\n") << c.what;
}

// A list of 16 million ones: 32 MiB of text that reads into 128 MiB of numbers.
const std::string& manyOnes() {
    static const std::string text = [] {
        std::string s;
        s.reserve(32u << 20);
        for (int i = 0; i < (16 << 20); ++i) s += "1,";
        return s;
    }();
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    EachLibrary, OutOfMemory,
    ::testing::Values(
        MemoryCase{"seq", "seq_sort_int of 16M items", 64L << 20,
                   [](const Library& lib) -> std::function<void()> {
                       auto* f = KARPA_FN(lib, seq_sort_int);
                       const char* text = manyOnes().c_str();
                       return [=] { f(text, 0); };
                   }},
        MemoryCase{"curried", "cur_median_int of 16M items", 64L << 20,
                   [](const Library& lib) -> std::function<void()> {
                       auto* f = KARPA_FN(lib, cur_median_int);
                       const char* text = manyOnes().c_str();
                       return [=] { f(text); };
                   }},
        MemoryCase{"datetime", "dt_range_days of 50M days", 64L << 20,
                   [](const Library& lib) -> std::function<void()> {
                       auto* f = KARPA_FN(lib, dt_range_days);
                       return [=] { f(2024, 1, 1, 50'000'000); };
                   }},
        // The digests read their input in place, so what must fail here is
        // the call memory of a thread's first call.
        MemoryCase{"crypto", "sha256_hash on a new thread", 16L << 10,
                   [](const Library& lib) -> std::function<void()> {
                       auto* f = KARPA_FN(lib, sha256_hash);
                       static std::atomic<bool> go{false};
                       static std::thread* thread = new std::thread([=] {
                           while (!go.load()) std::this_thread::yield();
                           f("abc", 3);
                       });
                       return [] {
                           go = true;
                           thread->join();
                       };
                   }}),
    [](const auto& info) { return std::string(info.param.library); });

TEST(Faults, UnderTheSameLimitSmallCallsStillSucceed) {
#ifdef KARPA_INSTRUMENTED_BUILD
    GTEST_SKIP() << "a limit on address space breaks the sanitizers' shadow memory";
#endif
    const ChildResult child = runInChild([] {
        const Libraries libs;
        limitAddressSpace(64L << 20);
        const bool ok = take(KARPA_FN(libs.seq, seq_sort_int)("3,1,2", 0)) == Text("1,2,3") &&
                        take(KARPA_FN(libs.curried, cur_median_int)("3,1,2")) == Text("2") &&
                        take(KARPA_FN(libs.datetime, dt_range_days)(2024, 2, 28, 2)) == Text("2024-02-28,2024-02-29") &&
                        take(KARPA_FN(libs.crypto, md5_hash)("abc", 3)) == Text("900150983CD24FB0D6963F7D28E17F72");
        _exit(ok ? 0 : 96);
    });
    EXPECT_TRUE(child.exited());
    EXPECT_EQ(child.exitCode(), 0);
    EXPECT_EQ(child.standardError, "");
}

// ---- Fatal signals and SIGPIPE ------------------------------------------

struct SignalCase {
    int signal;
    const char* message;
};

const SignalCase kSignals[] = {
    {SIGINT, "SIGINT: Interrupted by Ctrl-C.\n"},
    {SIGSEGV, "SIGSEGV: Illegal storage access. (Attempt to read from nil?)\n"},
    {SIGABRT, "SIGABRT: Abnormal termination.\n"},
    {SIGFPE, "SIGFPE: Arithmetic error.\n"},
    {SIGILL, "SIGILL: Illegal operation.\n"},
};

class FatalSignal : public ::testing::TestWithParam<std::tuple<const char*, SignalCase>> {};

TEST_P(FatalSignal, WritesItsMessageThenTakesTheDefaultAction) {
    const auto [library, c] = GetParam();
    const ChildResult child = runInChild([&] {
        const Library loaded(library);
        std::raise(c.signal);
        _exit(0);
    });
    EXPECT_TRUE(child.killedBy(c.signal)) << library << ": status " << child.status;
    EXPECT_EQ(child.standardError, c.message) << library;
}

INSTANTIATE_TEST_SUITE_P(OtherLibraries, FatalSignal,
                         ::testing::Combine(::testing::Values("curried", "datetime", "crypto"),
                                            ::testing::ValuesIn(kSignals)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param)) + "_" +
                                    std::to_string(std::get<1>(info.param).signal);
                         });

TEST(Faults, WithAllFourLoadedASignalIsReportedOnce) {
    const ChildResult child = runInChild([] {
        const Libraries libs;
        std::raise(SIGSEGV);
        _exit(0);
    });
    EXPECT_TRUE(child.killedBy(SIGSEGV)) << child.status;
    EXPECT_EQ(child.standardError, "SIGSEGV: Illegal storage access. (Attempt to read from nil?)\n");
}

TEST(Faults, SigpipeIsIgnoredByEachLibrary) {
    for (const char* library : {"seq", "curried", "datetime", "crypto"}) {
        const ChildResult child = runInChild([&] {
            std::signal(SIGPIPE, SIG_DFL);
            const Library loaded(library);
            std::raise(SIGPIPE);
            // A write to a pipe without a reader fails with EPIPE instead of ending the process.
            int fds[2];
            if (pipe(fds) != 0) _exit(91);
            close(fds[0]);
            const bool epipe = write(fds[1], "x", 1) == -1 && errno == EPIPE;
            _exit(epipe ? 0 : 92);
        });
        EXPECT_TRUE(child.exited()) << library << ": status " << child.status;
        EXPECT_EQ(child.exitCode(), 0) << library;
        EXPECT_EQ(child.standardError, "") << library;
    }
}

// ---- TovMain after a failure ---------------------------------------------

struct ReportCase {
    const char* library;
    std::function<bool(const Library&)> fail;  // makes a failing call; true when it failed
    const char* lastLine;
};

class ReportAfterFailure : public ::testing::TestWithParam<ReportCase> {};

TEST_P(ReportAfterFailure, TovMainWritesTheReportAndExitsWithStatusOne) {
    const ReportCase c = GetParam();
    const ChildResult child = runInChild([&] {
        const Library library(c.library);
        if (!c.fail(library)) _exit(93);
        KARPA_FN(library, TovMain)();
        _exit(0);
    });
    ASSERT_TRUE(child.exited()) << c.library << ": status " << child.status;
    EXPECT_EQ(child.exitCode(), 1) << c.library;
    // One line for the raise site (file(line), padding, procedure), then the error.
    const std::string& report = child.standardError;
    const size_t firstLineEnd = report.find('\n');
    ASSERT_NE(firstLineEnd, std::string::npos) << report;
    EXPECT_NE(report.find(".cpp("), std::string::npos) << report;
    EXPECT_EQ(report.substr(firstLineEnd + 1), c.lastLine) << report;
}

INSTANTIATE_TEST_SUITE_P(
    OtherLibraries, ReportAfterFailure,
    ::testing::Values(
        ReportCase{"curried", [](const Library& lib) { return KARPA_FN(lib, cur_mean_int)("a,1") == nullptr; },
                   "Error: unhandled exception: invalid integer: a [ValueError]\n"},
        ReportCase{"datetime", [](const Library& lib) { return KARPA_FN(lib, dt_ymd_to_ts)(2023, 2, 29) == 0; },
                   "Error: unhandled exception: times(486, 3) `monthday <= getDaysInMonth(month, year)` "
                   "2023-02-29 is not a valid date [AssertionDefect]\n"},
        ReportCase{"crypto", [](const Library& lib) { return KARPA_FN(lib, md5_hash)("abc", -1) == nullptr; },
                   "Error: unhandled exception: value out of range: -1 notin 0 .. 9223372036854775807 "
                   "[RangeDefect]\n"}),
    [](const auto& info) { return std::string(info.param.library); });

TEST(Faults, AFailureIsReportedOnlyByItsOwnLibraryAndThread) {
    const ChildResult child = runInChild([] {
        const Libraries libs;
        // seq fails on this thread: the other three have nothing to report.
        if (KARPA_FN(libs.seq, seq_sort_int)("1,x", 0) != nullptr) _exit(94);
        KARPA_FN(libs.curried, TovMain)();
        KARPA_FN(libs.datetime, TovMain)();
        KARPA_FN(libs.crypto, TovMain)();
        // A failure on another thread stays there.
        std::thread([&] {
            if (KARPA_FN(libs.crypto, sha1_hash)("abc", -1) != nullptr) _exit(95);
        }).join();
        KARPA_FN(libs.crypto, TovMain)();
        _exit(0);
    });
    EXPECT_TRUE(child.exited()) << child.status;
    EXPECT_EQ(child.exitCode(), 0);
    EXPECT_EQ(child.standardError, "");
}

// The calendar calls that cannot fail skip the thread's state while no thread
// has failed; after a failure each must still leave its thread clean.
TEST(Faults, CallsThatCannotFailStillStartClean) {
    const ChildResult child = runInChild([] {
        const Library dt("datetime");
        const std::function<void()> cannotFail[] = {
            [&] { KARPA_FN(dt, dt_is_leap_year)(2024); },
            [&] { KARPA_FN(dt, dt_days_in_month)(2024, 2); },
            [&] { KARPA_FN(dt, dt_days_in_year)(2024); },
            [&] { KARPA_FN(dt, dt_validate_date)(2024, 2, 30); },
        };
        for (const auto& call : cannotFail) {
            if (KARPA_FN(dt, dt_ymd_to_ts)(2023, 2, 29) != 0) _exit(96);
            call();
            KARPA_FN(dt, TovMain)();  // nothing to report
        }
        _exit(0);
    });
    EXPECT_TRUE(child.exited()) << child.status;
    EXPECT_EQ(child.exitCode(), 0);
    EXPECT_EQ(child.standardError, "");
}

TEST(Faults, CallsAfterTovDestroyGlobalsWorkAsBefore) {
    const Libraries libs;
    KARPA_FN(libs.seq, TovDestroyGlobals)();
    KARPA_FN(libs.curried, TovDestroyGlobals)();
    KARPA_FN(libs.datetime, TovDestroyGlobals)();
    KARPA_FN(libs.crypto, TovDestroyGlobals)();
    EXPECT_EQ(take(KARPA_FN(libs.seq, seq_sort_int)("3,1,2", 0)), Text("1,2,3"));
    EXPECT_EQ(take(KARPA_FN(libs.curried, cur_median_int)("4,1,3,2")), Text("2.5"));
    EXPECT_EQ(take(KARPA_FN(libs.datetime, dt_add_days)(2024, 2, 28, 1)), Text("2024-02-29"));
    EXPECT_EQ(take(KARPA_FN(libs.crypto, md5_hash)("abc", 3)), Text("900150983CD24FB0D6963F7D28E17F72"));
}

}  // namespace
