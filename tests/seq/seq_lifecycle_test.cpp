// Load-time set-up, fatal signals and the unhandled-error report, each in a
// child process.
#include <gtest/gtest.h>

#include <csignal>
#include <string>

#include "child.hpp"
#include "host.hpp"

using namespace karpa_test;

namespace {

using TextFn = const char*(const char*);

// Every test loads the library in a fresh child, so its load-time set-up runs each time.
TEST(Lifecycle, LoadingInstallsHandlersAndIgnoresSigpipe) {
    const ChildResult child = runInChild([] {
        std::signal(SIGPIPE, SIG_DFL);
        std::signal(SIGINT, SIG_DFL);
        Library seq("seq");
        bool ok = std::signal(SIGPIPE, SIG_DFL) == SIG_IGN;
        void (*handler)(int) = std::signal(SIGINT, SIG_DFL);
        ok = ok && handler != SIG_DFL && handler != SIG_IGN;
        // TovMain installs them again, without a failure to report.
        seq.fn<void()>("TovMain")();
        ok = ok && std::signal(SIGPIPE, SIG_DFL) == SIG_IGN && std::signal(SIGINT, SIG_DFL) == handler;
        _exit(ok ? 0 : 3);
    });
    EXPECT_TRUE(child.exited());
    EXPECT_EQ(child.exitCode(), 0);
    EXPECT_EQ(child.standardError, "");
}

struct SignalCase {
    int signal;
    const char* message;
};

class FatalSignal : public ::testing::TestWithParam<SignalCase> {};

TEST_P(FatalSignal, WritesItsMessageThenDiesByTheSignal) {
    const SignalCase c = GetParam();
    const ChildResult child = runInChild([&] {
        Library seq("seq");
        std::raise(c.signal);
    });
    EXPECT_TRUE(child.killedBy(c.signal)) << child.status;
    EXPECT_EQ(child.standardError, c.message);
}

INSTANTIATE_TEST_SUITE_P(All, FatalSignal,
                         ::testing::Values(SignalCase{SIGINT, "SIGINT: Interrupted by Ctrl-C.\n"},
                                           SignalCase{SIGSEGV, "SIGSEGV: Illegal storage access. (Attempt to read from nil?)\n"},
                                           SignalCase{SIGABRT, "SIGABRT: Abnormal termination.\n"},
                                           SignalCase{SIGFPE, "SIGFPE: Arithmetic error.\n"},
                                           SignalCase{SIGILL, "SIGILL: Illegal operation.\n"}));

TEST(Lifecycle, SigpipeIsIgnored) {
    const ChildResult child = runInChild([] {
        Library seq("seq");
        std::raise(SIGPIPE);
    });
    EXPECT_TRUE(child.exited());
    EXPECT_EQ(child.exitCode(), 0);
    EXPECT_EQ(child.standardError, "");
}

TEST(Lifecycle, TovMainAfterAFailureReportsAndExits) {
    const ChildResult child = runInChild([] {
        Library seq("seq");
        if (seq.fn<TextFn>("seq_reduce_sum_int")("1,x") != nullptr) return;
        seq.fn<void()>("TovMain")();
    });
    ASSERT_TRUE(child.exited());
    EXPECT_EQ(child.exitCode(), 1);
    // One trace line (file, line, padding to column 25, procedure), then the error.
    const std::string& report = child.standardError;
    const size_t lineEnd = report.find('\n');
    ASSERT_NE(lineEnd, std::string::npos) << report;
    const std::string site = report.substr(0, lineEnd);
    EXPECT_NE(site.find(".cpp("), std::string::npos) << site;
    const size_t procedure = site.find_last_of(' ') + 1;
    EXPECT_GE(procedure, 25u) << site;
    EXPECT_LT(procedure, site.size()) << site;
    EXPECT_EQ(report.substr(lineEnd + 1), "Error: unhandled exception: invalid integer: x [ValueError]\n");
}

TEST(Lifecycle, TovMainAfterAnOverflowNamesTheDefect) {
    const ChildResult child = runInChild([] {
        Library seq("seq");
        seq.fn<TextFn>("seq_reduce_sum_int")("9223372036854775807,1");
        seq.fn<void()>("TovMain")();
    });
    EXPECT_EQ(child.exitCode(), 1);
    EXPECT_NE(child.standardError.find("raiseOverflow\nError: unhandled exception: over- or underflow [OverflowDefect]\n"),
              std::string::npos)
        << child.standardError;
}

TEST(Lifecycle, TovMainAfterASuccessfulCallChangesNothing) {
    const ChildResult child = runInChild([] {
        Library seq("seq");
        seq.fn<TextFn>("seq_reduce_sum_int")("1,x");
        seq.fn<TextFn>("seq_reduce_sum_int")("1,2");  // each call stands alone
        seq.fn<void()>("TovMain")();
        seq.fn<void()>("TovMain")();
    });
    EXPECT_TRUE(child.exited());
    EXPECT_EQ(child.exitCode(), 0);
    EXPECT_EQ(child.standardError, "");
}

}  // namespace
