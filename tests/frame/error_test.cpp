// Raisers, their messages and the unhandled-error report.
#include <gtest/gtest.h>

#include <vector>

#include "frame/error.hpp"
#include "raised.hpp"

using namespace karpa;
using karpa_test::raisedBy;

namespace {

TEST(Raisers, KindsAndMessages) {
    struct Case {
        std::optional<karpa_test::Raised> error;
        ErrorKind kind;
        const char* message;
    };
    const std::vector<Case> cases = {
        {raisedBy([] { raiseOverflow(); }), ErrorKind::OverflowDefect, "over- or underflow"},
        {raisedBy([] { checkedAdd(INT64_MAX, 1); }), ErrorKind::OverflowDefect, "over- or underflow"},
        {raisedBy([] { checkedSub(INT64_MIN, 1); }), ErrorKind::OverflowDefect, "over- or underflow"},
        {raisedBy([] { checkedMul(INT64_MIN, -1); }), ErrorKind::OverflowDefect, "over- or underflow"},
        {raisedBy([] { checkedNeg(INT64_MIN); }), ErrorKind::OverflowDefect, "over- or underflow"},
        {raisedBy([] { raiseIndexError2(-1, 2); }), ErrorKind::IndexDefect, "index -1 not in 0 .. 2"},
        {raisedBy([] { raiseIndexError2(-1, -1); }), ErrorKind::IndexDefect,
         "index out of bounds, the container is empty"},
        {raisedBy([] { checkedSize(-3); }), ErrorKind::RangeDefect,
         "value out of range: -3 notin 0 .. 9223372036854775807"},
        {raisedBy([] { raiseRangeErrorI(13, 1, 12); }), ErrorKind::RangeDefect, "value out of range: 13 notin 1 .. 12"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(c.error);
        EXPECT_EQ(c.error->kind, c.kind);
        EXPECT_EQ(c.error->message, c.message);
    }
    EXPECT_EQ(checkedAdd(INT64_MAX - 1, 1), INT64_MAX);
    EXPECT_EQ(checkedMul(-1, INT64_MAX), -INT64_MAX);
}

TEST(Raisers, FailureStateHoldsTheLastError) {
    EXPECT_FALSE(failureFlag());
    EXPECT_EQ(currentError(), nullptr);
    try {
        raiseOverflow();
    } catch (const Unwind&) {
    }
    ASSERT_TRUE(failureFlag());
    ASSERT_NE(currentError(), nullptr);
    EXPECT_EQ(currentError()->kind, ErrorKind::OverflowDefect);
    ASSERT_EQ(currentError()->trace.size(), 1u);
    EXPECT_EQ(currentError()->trace[0].procedure, "raiseOverflow");
    EXPECT_EQ(currentError()->trace[0].file, "error.cpp");
    clearFailure();
    EXPECT_FALSE(failureFlag());
}

TEST(Report, LayoutOfOneSite) {
    ErrorRecord record{ErrorKind::OverflowDefect, "over- or underflow", {{"raiseOverflow", "error.cpp", 77}}};
    //                  "error.cpp(77)" is 13 bytes, so 12 blanks reach column 25.
    EXPECT_EQ(formatUnhandledError(record),
              "error.cpp(77)            raiseOverflow\n"
              "Error: unhandled exception: over- or underflow [OverflowDefect]\n");
    record.trace = {{"p", "a_very_long_file_name_indeed.cpp", 0}};
    EXPECT_EQ(formatUnhandledError(record),
              "a_very_long_file_name_indeed.cpp p\n"
              "Error: unhandled exception: over- or underflow [OverflowDefect]\n");
}

TEST(Report, StaysBelowTwoThousandBytes) {
    ErrorRecord record{ErrorKind::ValueError, "invalid integer: " + std::string(5000, 'x'), {{"parseInt", "t.cpp", 1}}};
    const std::string report = formatUnhandledError(record);
    EXPECT_LT(report.size(), 2000u);
    // The message does not fit, the pieces after it still do.
    EXPECT_EQ(report,
              "t.cpp(1)                 parseInt\n"
              "Error: unhandled exception:  [ValueError]\n");
    record.trace.assign(100, RaiseSite{"procedure", "file.cpp", 12});  // a trace of 2000 bytes or more
    record.message = "m";
    EXPECT_EQ(formatUnhandledError(record), "Error: unhandled exception: m [ValueError]\n");
}

}  // namespace
