// The list reader, the integer scanner and the decimal printer.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "frame/codec/intscan.hpp"
#include "frame/codec/textcodec.hpp"
#include "raised.hpp"
#include "tiers.hpp"

using namespace karpa;
using karpa_test::raisedBy;

namespace {

struct IntCase {
    const char* text;
    bool ok;
    int64_t value;
    const char* message;  // for failures
};

class ParseIntTest : public ::testing::TestWithParam<IntCase> {};

TEST_P(ParseIntTest, WholeText) {
    const IntCase& c = GetParam();
    int64_t value = 0;
    auto error = raisedBy([&] { value = parseInt(c.text); });
    if (c.ok) {
        ASSERT_FALSE(error) << c.text << ": " << error->message;
        EXPECT_EQ(value, c.value) << c.text;
    } else {
        ASSERT_TRUE(error) << c.text;
        EXPECT_EQ(error->kind, ErrorKind::ValueError);
        EXPECT_EQ(error->message, c.message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ParseIntTest,
    ::testing::Values(
        IntCase{"0", true, 0, ""}, IntCase{"-0", true, 0, ""}, IntCase{"+5", true, 5, ""},
        IntCase{"007", true, 7, ""}, IntCase{"1_000", true, 1000, ""}, IntCase{"1__2", true, 12, ""},
        IntCase{"5_", true, 5, ""}, IntCase{"9223372036854775807", true, INT64_MAX, ""},
        IntCase{"-9223372036854775808", true, INT64_MIN, ""},
        IntCase{"-9_223_372_036_854_775_808", true, INT64_MIN, ""},
        IntCase{"_5", false, 0, "invalid integer: _5"}, IntCase{"1 2", false, 0, "invalid integer: 1 2"},
        IntCase{"1.5", false, 0, "invalid integer: 1.5"}, IntCase{"-", false, 0, "invalid integer: -"},
        IntCase{"+", false, 0, "invalid integer: +"}, IntCase{"", false, 0, "invalid integer: "},
        IntCase{" 1", false, 0, "invalid integer:  1"}, IntCase{"0x10", false, 0, "invalid integer: 0x10"},
        IntCase{"1e3", false, 0, "invalid integer: 1e3"}, IntCase{"--1", false, 0, "invalid integer: --1"},
        IntCase{"9223372036854775808", false, 0, "Parsed integer outside of valid range"},
        IntCase{"-9223372036854775809", false, 0, "Parsed integer outside of valid range"},
        IntCase{"99999999999999999999abc", false, 0, "Parsed integer outside of valid range"},
        IntCase{"\xC2\xA0" "1", false, 0, "invalid integer: \xC2\xA0" "1"}));

// The list rule written the long way: split, strip, skip empty, parse whole.
std::vector<int64_t> modelRead(const std::string& text) {
    std::vector<int64_t> out;
    if (text.empty()) return out;
    for (std::string_view piece : split(text, ',')) {
        piece = strip(piece);
        if (!piece.empty()) out.push_back(parseInt(piece));
    }
    return out;
}

TEST(ReadList, ExamplesFromTheListRule) {
    auto read = [](const char* text) {
        IntList xs = parseInts(text);
        return std::vector<int64_t>(xs.begin(), xs.end());
    };
    EXPECT_TRUE(read(nullptr).empty());
    EXPECT_TRUE(read("").empty());
    EXPECT_TRUE(read("   ").empty());
    EXPECT_TRUE(read(" , ").empty());
    EXPECT_EQ(read(" 1, 2 ,3 "), (std::vector<int64_t>{1, 2, 3}));
    EXPECT_EQ(read("1,,2"), (std::vector<int64_t>{1, 2}));
    EXPECT_EQ(read(",5,"), (std::vector<int64_t>{5}));
    EXPECT_EQ(read("\t7\r\n"), (std::vector<int64_t>{7}));
    EXPECT_EQ(read("\v8\f"), (std::vector<int64_t>{8}));
    auto error = raisedBy([] { parseInts("3,x,4"); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message, "invalid integer: x");
    error = raisedBy([] { parseInts("1, 2 3 ,4"); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message, "invalid integer: 2 3");
}

// The one-pass reader against the long way on random texts made of the bytes
// that matter, so that every error and every value must agree.
TEST(ReadList, OnePassReaderMatchesSplitStripParse) {
    std::mt19937_64 rng(12345);
    const std::string alphabet = "0123456789,,, \t\n-+_x.";
    for (int round = 0; round < 200000; ++round) {
        std::string text;
        const size_t length = rng() % 24;
        for (size_t i = 0; i < length; ++i) text += alphabet[rng() % alphabet.size()];
        if (rng() % 8 == 0) text += "99999999999999999999";
        std::vector<int64_t> fast, model;
        auto fastError = raisedBy([&] {
            IntList xs = parseCsvInts(text);
            fast.assign(xs.begin(), xs.end());
        });
        auto modelError = raisedBy([&] { model = modelRead(text); });
        ASSERT_EQ(bool(fastError), bool(modelError)) << "[" << text << "]";
        if (fastError) {
            ASSERT_EQ(fastError->message, modelError->message) << "[" << text << "]";
        } else {
            ASSERT_EQ(fast, model) << "[" << text << "]";
        }
    }
}

TEST(AddInt, MatchesToChars) {
    std::mt19937_64 rng(7);
    std::vector<int64_t> values = {0, 1, -1, 9, 10, 99, 100, INT64_MAX, INT64_MIN, INT64_MIN + 1};
    for (int64_t p = 1; p > 0 && p <= INT64_MAX / 10; p *= 10) {
        values.insert(values.end(), {p - 1, p, p + 1, -p, -p + 1, -p - 1});
    }
    for (int i = 0; i < 100000; ++i) values.push_back(static_cast<int64_t>(rng()) >> (rng() % 64));
    for (const int64_t v : values) {
        char expected[24];
        const auto end = std::to_chars(expected, expected + sizeof expected, v).ptr;
        ASSERT_EQ(decimalText(v), std::string(expected, end));
        TextBuilder out;
        out.append("x");
        addInt(out, v);
        ASSERT_EQ(std::string(out.view()), "x" + std::string(expected, end));
    }
}

// writeInt's callers give it exactly the room of the text (date fields, the
// slow float path), so the word stores must stop at the last digit: every
// width and both signs, with the bytes around the text watched.
TEST(AddInt, WriteIntStaysWithinItsText) {
    std::vector<int64_t> values = {0, INT64_MAX, INT64_MIN};
    for (int64_t p = 1; p > 0 && p <= INT64_MAX / 10; p *= 10) values.insert(values.end(), {p - 1, p, 3 * p, -p});
    std::mt19937_64 rng(8);
    for (int i = 0; i < 20000; ++i) values.push_back(static_cast<int64_t>(rng()) >> (rng() % 64));
    for (const int64_t v : values) {
        char expected[24];
        const auto end = std::to_chars(expected, expected + sizeof expected, v).ptr;
        char buffer[48];
        std::memset(buffer, '#', sizeof buffer);
        char* const written = writeInt(buffer + 8, v);
        ASSERT_EQ(std::string(buffer + 8, written), std::string(expected, end));
        ASSERT_EQ(std::string(buffer, 8), "########");
        for (const char* q = written; q < buffer + sizeof buffer; ++q) ASSERT_EQ(*q, '#') << v;
    }
}

TEST(Join, ReservesExactlyAndKeepsEmptyItems) {
    EXPECT_STREQ(join(split("a,,b,", ','), ","), "a,,b,");
    EXPECT_STREQ(join(split(",", ','), ","), ",");
    EXPECT_STREQ(join(split("", ','), ","), "");
    EXPECT_STREQ(join(split("x", ','), "--"), "x");
    IntList xs;
    EXPECT_STREQ(printIntList(xs), "");
    xs.assign({INT64_MIN, 0, INT64_MAX});
    EXPECT_STREQ(printIntList(xs), "-9223372036854775808,0,9223372036854775807");
}

TEST(SplitStrip, PiecesAndWhitespaceSet) {
    StringList pieces = split("a,, b ,", ',');
    ASSERT_EQ(pieces.size(), 4u);
    EXPECT_EQ(pieces[2], " b ");
    EXPECT_EQ(pieces[3], "");
    EXPECT_EQ(strip(" \t\n\v\f\rx y\r "), "x y");
    EXPECT_EQ(strip("\xA0x\x85"), "\xA0x\x85");  // no byte outside the six is whitespace
    EXPECT_EQ(strip("   "), "");
}

}  // namespace

namespace {

TEST(CountByte, MatchesACountOnEveryLengthAndAlignment) {
    std::mt19937_64 rng(3);
    std::string text;
    for (int i = 0; i < 9000; ++i) text += (rng() % 3 == 0) ? ',' : 'x';
    text += std::string(5000, ',');  // more than 255 blocks of nothing but matches
    for (size_t start = 0; start < 20; ++start) {
        for (size_t length : {size_t(0), size_t(1), size_t(15), size_t(16), size_t(17), size_t(4095), text.size() - start}) {
            const std::string_view piece = std::string_view(text).substr(start, length);
            ASSERT_EQ(countByte(piece, ','), static_cast<size_t>(std::count(piece.begin(), piece.end(), ',')));
        }
    }
    EXPECT_EQ(countByte(std::string_view("\0,\0", 3), '\0'), 2u);
}

}  // namespace

// The pieces of long texts, on every tier, against a byte-by-byte split:
// separators at every place of the blocks and at every distance from the
// end, runs of separators, long pieces, and a separator other than ','.
class ForEachPieceTiers : public TierTest {};

TEST_P(ForEachPieceTiers, MatchesAByteSplit) {
    std::mt19937_64 rng(11);
    auto byteSplit = [](const std::string& text, char separator) {
        std::vector<std::string> out(1);
        for (char c : text) {
            if (c == separator) {
                out.emplace_back();
            } else {
                out.back() += c;
            }
        }
        return out;
    };
    for (int round = 0; round < 4000; ++round) {
        const char separator = round % 5 == 0 ? ';' : ',';
        std::string text;
        const size_t length = rng() % 1400;
        const unsigned density = 1 + static_cast<unsigned>(rng() % 40);
        for (size_t i = 0; i < length; ++i) {
            text += rng() % density == 0 ? separator : static_cast<char>("ab,;\x80 "[rng() % 6]);
        }
        std::vector<std::string> pieces;
        const std::unique_ptr<char[]> exact(new char[text.empty() ? 1 : text.size()]);
        std::memcpy(exact.get(), text.data(), text.size());
        forEachPiece(std::string_view(exact.get(), text.size()), [&](std::string_view piece) { pieces.emplace_back(piece); },
                     separator);
        ASSERT_EQ(pieces, byteSplit(text, separator)) << text;
    }
}

KARPA_INSTANTIATE_TIERS(ForEachPieceTiers);

