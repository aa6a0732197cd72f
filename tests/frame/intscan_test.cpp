// The integer scanner and the integer list reader against the per-digit
// algorithm they replace: same values, same consumed counts, same error kind
// and message, for table texts, texts built around the eight-byte blocks and
// the 64-bit limits, and random texts of the bytes that matter.
#include <gtest/gtest.h>

#include <algorithm>

#include <memory>
#include <optional>
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

// ---- The model: the per-digit scan and the one-pass list reader, copied as
// they stood before the eight-digit reader.

constexpr int64_t kModelDigitLimit[10] = {
    (INT64_MIN + 0) / 10, (INT64_MIN + 1) / 10, (INT64_MIN + 2) / 10, (INT64_MIN + 3) / 10,
    (INT64_MIN + 4) / 10, (INT64_MIN + 5) / 10, (INT64_MIN + 6) / 10, (INT64_MIN + 7) / 10,
    (INT64_MIN + 8) / 10, (INT64_MIN + 9) / 10,
};

size_t modelScan(const char* s, size_t n, int64_t& value) {
    size_t i = 0;
    bool negative = false;
    if (n == 0) return 0;
    if (s[0] == '+' || s[0] == '-') {
        negative = s[0] == '-';
        i = 1;
    }
    if (i >= n || !isDigit(s[i])) return 0;
    int64_t acc = 0;
    for (; i < n; ++i) {
        const unsigned d = static_cast<unsigned char>(s[i]) - unsigned('0');
        if (d <= 9) {
            if (acc < kModelDigitLimit[d]) integerOutOfRangeError();
            acc = acc * 10 - static_cast<int64_t>(d);
        } else if (s[i] != '_') {
            break;
        }
    }
    if (!negative) {
        if (acc == INT64_MIN) integerOutOfRangeError();
        acc = -acc;
    }
    value = acc;
    return i;
}

std::vector<int64_t> modelReadList(std::string_view text) {
    std::vector<int64_t> out;
    if (text.empty()) return out;
    const char* p = text.data();
    const char* const end = p + text.size();
    for (;;) {
        const char* const pieceStart = p;
        while (p < end && isListWhitespace(*p)) ++p;
        if (p == end) break;
        if (*p == ',') {
            ++p;
            continue;
        }
        int64_t value;
        const size_t used = modelScan(p, static_cast<size_t>(end - p), value);
        const char* q = p + used;
        while (used != 0 && q < end && isListWhitespace(*q)) ++q;
        if (used == 0 || (q < end && *q != ',')) {
            const void* comma = std::memchr(pieceStart, ',', static_cast<size_t>(end - pieceStart));
            const char* pieceEnd = comma ? static_cast<const char*>(comma) : end;
            invalidInteger(strip({pieceStart, static_cast<size_t>(pieceEnd - pieceStart)}));
        }
        out.push_back(value);
        if (q == end) break;
        p = q + 1;
    }
    return out;
}

// ---- Comparison. Each text is copied into a buffer of exactly its size, so
// that AddressSanitizer sees a read past the end.

struct Outcome {
    std::optional<karpa_test::Raised> error;
    std::vector<int64_t> values;
    size_t used = 0;  // the scanner only
};

std::unique_ptr<char[]> exactCopy(std::string_view text) {
    std::unique_ptr<char[]> buffer(new char[text.size() == 0 ? 1 : text.size()]);
    if (!text.empty()) std::memcpy(buffer.get(), text.data(), text.size());
    return buffer;
}

template <class Fn>
Outcome outcomeOf(Fn&& fn) {
    Outcome o;
    o.error = raisedBy([&] { fn(o); });
    if (o.error) {
        o.values.clear();
        o.used = 0;
    }
    return o;
}

::testing::AssertionResult same(const Outcome& fast, const Outcome& model, std::string_view text) {
    auto fail = [&] { return ::testing::AssertionFailure() << "text [" << std::string(text) << "]: "; };
    if (bool(fast.error) != bool(model.error)) {
        return fail() << (fast.error ? "raised \"" + fast.error->message + "\", the model did not"
                                     : "did not raise, the model raised \"" + model.error->message + "\"");
    }
    if (fast.error) {
        if (fast.error->kind != model.error->kind || fast.error->message != model.error->message) {
            return fail() << "raised \"" << fast.error->message << "\", the model \"" << model.error->message << "\"";
        }
        return ::testing::AssertionSuccess();
    }
    if (fast.used != model.used) return fail() << "consumed " << fast.used << ", the model " << model.used;
    if (fast.values != model.values) {
        std::string a, b;
        for (int64_t v : fast.values) a += std::to_string(v) + " ";
        for (int64_t v : model.values) b += std::to_string(v) + " ";
        return fail() << "values [" << a << "], the model [" << b << "]";
    }
    return ::testing::AssertionSuccess();
}

// The list reader, the scanner and parseInt on one text.
::testing::AssertionResult agrees(std::string_view text) {
    const auto buffer = exactCopy(text);
    const std::string_view exact(buffer.get(), text.size());

    const Outcome listFast = outcomeOf([&](Outcome& o) {
        const IntList xs = parseCsvInts(exact);
        o.values.assign(xs.begin(), xs.end());
    });
    const Outcome listModel = outcomeOf([&](Outcome& o) { o.values = modelReadList(exact); });
    if (auto r = same(listFast, listModel, text); !r) return r << " (list)";

    const Outcome scanFast = outcomeOf([&](Outcome& o) {
        int64_t v = 0;
        o.used = rawParseInt(exact.data(), exact.size(), v);
        if (o.used != 0) o.values.push_back(v);
    });
    const Outcome scanModel = outcomeOf([&](Outcome& o) {
        int64_t v = 0;
        o.used = modelScan(exact.data(), exact.size(), v);
        if (o.used != 0) o.values.push_back(v);
    });
    if (auto r = same(scanFast, scanModel, text); !r) return r << " (scan)";

    const Outcome wholeFast = outcomeOf([&](Outcome& o) { o.values.push_back(parseInt(exact)); });
    const Outcome wholeModel = outcomeOf([&](Outcome& o) {
        int64_t v = 0;
        const size_t used = modelScan(exact.data(), exact.size(), v);
        if (used == 0 || used != exact.size()) invalidInteger(exact);
        o.values.push_back(v);
    });
    if (auto r = same(wholeFast, wholeModel, text); !r) return r << " (whole)";

    // The sum taken while reading against the list read first, then summed
    // from its first item with every addition checked.
    const Outcome sumFast = outcomeOf([&](Outcome& o) { o.values.push_back(readIntSum(exact)); });
    const Outcome sumModel = outcomeOf([&](Outcome& o) {
        const std::vector<int64_t> xs = modelReadList(exact);
        int64_t sum = xs.empty() ? 0 : xs[0];
        for (size_t i = 1; i < xs.size(); ++i) sum = checkedAdd(sum, xs[i]);
        o.values.push_back(sum);
    });
    if (auto r = same(sumFast, sumModel, text); !r) return r << " (sum)";

    const Outcome extremesFast = outcomeOf([&](Outcome& o) {
        const Extremes<int64_t> e = readIntExtremes(exact);
        if (e.any) o.values.insert(o.values.end(), {e.min, e.max});
    });
    const Outcome extremesModel = outcomeOf([&](Outcome& o) {
        const std::vector<int64_t> xs = modelReadList(exact);
        if (!xs.empty()) o.values.insert(o.values.end(), {*std::min_element(xs.begin(), xs.end()), *std::max_element(xs.begin(), xs.end())});
    });
    if (auto r = same(extremesFast, extremesModel, text); !r) return r << " (extremes)";
    return ::testing::AssertionSuccess();
}

// ---- Table texts: the cases named by the list and integer rules.

const char* const kTable[] = {
    "", ",", ",,", " ", "\t\n\v\f\r ", " , ", "123,-45,6789", "+5", "-0", "+0", "0", "-", "+", "--1", "+-1", "-+1",
    "1__2_", "1_000", "1_", "_1", "-_1", "1 _2", "1_ 2", "1 2", "1,2 3,4", " 12 ,, 3 ", ",5,", "1,", "1,,", ",1",
    "x", "1x", "x1", "3,x,4", "1.5", "0x10", "1e3", "\xC2\xA0" "1", "1\xC2\xA0",
    "0000000000000000000001", "-0000000000000000000001", "00000000000000000000000000000000000000000000007",
    "9223372036854775807", "-9223372036854775808", "9223372036854775808", "-9223372036854775809",
    "09223372036854775807", "-009223372036854775808", "0009223372036854775808", "-00009223372036854775809",
    "9_223_372_036_854_775_807", "-9_223_372_036_854_775_808", "9_223_372_036_854_775_808",
    "-922337203685477580_9", "922337203685477580__7__", "0_0_0_0_0_0_0_0_0_0_9223372036854775807",
    "99999999999999999999abc", "9999999999999999999abc", "9223372036854775808abc", "9223372036854775808 1",
    "1 99999999999999999999", "1_2 99999999999999999999", "18446744073709551615", "18446744073709551616",
    "-18446744073709551616", "10000000000000000000", "9999999999999999999", "999999999999999999",
    "1000000000000000000", "-1000000000000000000", "12345678", "123456789", "1234567812345678",
    "12345678123456781", "-12345678", "-1234567", "1234567,12345678,123456789", "99999999,99999999",
    "1,2,3,4,5,6,7,8,9", "00000000", "0000000000000000", "00000000000000000000000",
    " 9223372036854775807 , -9223372036854775808 ", "9223372036854775807,9223372036854775808",
    "x,9223372036854775808", "9223372036854775808,x", "1_,2__,3___", "1\t,\t2\n,\n3",
    "9223372036854775807,1", "9223372036854775807,1,-1", "9223372036854775807,1,x", "-9223372036854775808,-1",
    "-9223372036854775808,-1, 99999999999999999999", "-9223372036854775807,-1", "4611686018427387904,4611686018427387904",
};

TEST(IntScan, TableTextsMatchThePerDigitReader) {
    for (const char* text : kTable) EXPECT_TRUE(agrees(text));
}

TEST(IntScan, NamedValues) {
    const auto read = [](const char* text) {
        const IntList xs = parseCsvInts(text);
        return std::vector<int64_t>(xs.begin(), xs.end());
    };
    EXPECT_EQ(read("123,-45,6789"), (std::vector<int64_t>{123, -45, 6789}));
    EXPECT_EQ(read(" 12 ,, 3 "), (std::vector<int64_t>{12, 3}));
    EXPECT_EQ(read("1__2_,1_000,+5,-0"), (std::vector<int64_t>{12, 1000, 5, 0}));
    EXPECT_EQ(read("0000000000000000000001"), (std::vector<int64_t>{1}));
    EXPECT_EQ(read("-9223372036854775808,9223372036854775807,-0009_223_372_036_854_775_808"),
              (std::vector<int64_t>{INT64_MIN, INT64_MAX, INT64_MIN}));
    auto error = raisedBy([] { parseCsvInts("99999999999999999999abc"); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message, "Parsed integer outside of valid range");
    error = raisedBy([] { parseCsvInts("5,1 2"); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message, "invalid integer: 1 2");
    error = raisedBy([] { parseCsvInts("5,\t \n,9223372036854775808"); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message, "Parsed integer outside of valid range");
}

// The raise sites stay in textcodec.cpp under the raisers' names.
TEST(IntScan, ErrorsAreRaisedFromTheCodecRaisers) {
    for (const auto& [text, procedure] : {std::pair{"1,x", "invalidInteger"},
                                          std::pair{"12345678901234567890", "integerOutOfRangeError"},
                                          std::pair{"9223372036854775808", "integerOutOfRangeError"}}) {
        try {
            parseCsvInts(text);
            ADD_FAILURE() << text;
        } catch (const Unwind&) {
            const ErrorRecord* error = currentError();
            ASSERT_NE(error, nullptr);
            ASSERT_EQ(error->trace.size(), 1u);
            EXPECT_EQ(error->trace[0].file, "textcodec.cpp") << text;
            EXPECT_EQ(error->trace[0].procedure, procedure) << text;
            clearFailure();
        }
    }
}

// ---- Texts built around the blocks and the limits.

// Magnitudes whose digit runs end near 8, 16 and 19 digits and near 2^63.
std::vector<std::string> boundaryRuns() {
    std::vector<std::string> runs = {"0",
                                     "9223372036854775807",
                                     "9223372036854775808",
                                     "9223372036854775809",
                                     "9223372036854775799",
                                     "9223372036854775810",
                                     "9999999999999999999",
                                     "10000000000000000000",
                                     "18446744073709551615",
                                     "18446744073709551616",
                                     "99999999999999999999",
                                     "922337203685477580",
                                     "922337203685477581"};
    for (int digits = 1; digits <= 21; ++digits) {
        runs.push_back(std::string(digits, '9'));
        runs.push_back("1" + std::string(digits - 1, '0'));
        runs.push_back(std::string(digits, '1'));
    }
    return runs;
}

TEST(IntScan, BoundaryRunsWithZerosUnderscoresSignsAndEndings) {
    const std::vector<std::string> runs = boundaryRuns();
    const char* const signs[] = {"", "-", "+"};
    const char* const endings[] = {"", ",", ",7", " ", " ,", "_", "_,", "x", "x,", " 1", ".", "-"};
    size_t checked = 0;
    for (const std::string& run : runs) {
        for (size_t zeros : {0, 1, 5, 13}) {
            for (int underscore = -1; underscore < static_cast<int>(run.size()); underscore += 5) {
                std::string digits = std::string(zeros, '0') + run;
                if (underscore >= 0) digits.insert(zeros + static_cast<size_t>(underscore) + 1, "_");
                for (const char* sign : signs) {
                    for (const char* ending : endings) {
                        // Alone, after another piece, and followed by enough
                        // text that every block of the run is loaded whole.
                        for (const char* before : {"", "1,"}) {
                            for (const char* after : {"", ",12345678"}) {
                                ASSERT_TRUE(agrees(before + (sign + digits + ending) + after));
                                ++checked;
                            }
                        }
                    }
                }
            }
        }
    }
    EXPECT_GT(checked, 50000u);
}

// Every text of up to eleven bytes' distance from the end: a run of digits
// then each possible ending, so that the last block is read with every count
// of bytes left.
TEST(IntScan, EveryDistanceFromTheEndOfTheText) {
    const std::string digits = "12345678901234567890123";
    for (size_t length = 1; length <= digits.size(); ++length) {
        for (size_t after = 0; after <= 11; ++after) {
            for (char filler : {',', '0', ' ', '_', 'x'}) {
                const std::string text = digits.substr(0, length) + std::string(after, filler);
                ASSERT_TRUE(agrees(text));
                ASSERT_TRUE(agrees("-" + text));
                ASSERT_TRUE(agrees("5," + text));
            }
        }
    }
}

// Each of the 256 byte values in each place of a run that spans three
// blocks: the bytes next to the digits (/ and :), the ones whose addition
// carries out of a byte (0xFA..0xFF) and NUL among them.
TEST(IntScan, EveryByteInEveryPlaceOfARun) {
    const std::string run = "12345678901234567890";
    for (int byte = 0; byte < 256; ++byte) {
        for (size_t place = 0; place <= run.size(); ++place) {
            std::string replaced = run;
            if (place < run.size()) {
                replaced[place] = static_cast<char>(byte);
            } else {
                replaced += static_cast<char>(byte);
            }
            std::string inserted = run;
            inserted.insert(place, 1, static_cast<char>(byte));
            for (const std::string& text : {replaced, inserted, "-" + replaced, replaced.substr(1), inserted + ",1"}) {
                ASSERT_TRUE(agrees(text)) << "byte " << byte << " at " << place;
            }
        }
    }
}

// ---- Random texts.

// Pieces shaped like numbers: blanks, a sign, a run of a chosen length
// (around 8, 16 and 19 digits more often), sometimes leading zeros, limit
// prefixes, underscores or a stray byte, blanks; joined by commas.
std::string randomNumberText(std::mt19937_64& rng) {
    static const int kLengths[] = {0, 1, 2, 3, 4, 7, 8, 9, 15, 16, 17, 18, 19, 19, 19, 20, 20, 21, 23, 24, 25};
    static const char kBlanks[] = " \t\n\v\f\r";
    static const char kStray[] = "_x+-. ,\t";
    auto pick = [&](size_t n) { return static_cast<size_t>(rng() % n); };
    std::string text;
    const size_t pieces = 1 + pick(4);
    for (size_t piece = 0; piece < pieces; ++piece) {
        if (piece != 0) text += pick(10) == 0 ? ",," : ",";
        if (pick(6) == 0) text += kBlanks[pick(6)];
        switch (pick(4)) {
            case 0: text += '-'; break;
            case 1: if (pick(3) == 0) text += '+'; break;
            default: break;
        }
        const int length = kLengths[pick(std::size(kLengths))];
        std::string run;
        switch (pick(5)) {
            case 0: run = std::string(pick(12), '0'); break;
            case 1: run = "922337203685477580"; break;
            case 2: run = "9999999999"; break;
            default: break;
        }
        while (static_cast<int>(run.size()) < length) run += static_cast<char>('0' + pick(10));
        if (static_cast<int>(run.size()) > length && pick(2) == 0) run.resize(static_cast<size_t>(length));
        if (!run.empty() && pick(5) == 0) run.insert(1 + pick(run.size()), pick(2) ? "_" : "__");
        if (pick(12) == 0) run.insert(pick(run.size() + 1), 1, kStray[pick(std::size(kStray) - 1)]);
        text += run;
        if (pick(6) == 0) text += kBlanks[pick(6)];
    }
    return text;
}

// Bytes drawn from the small alphabet alone.
std::string randomAlphabetText(std::mt19937_64& rng) {
    static const std::string kAlphabet = "0123456789012345678901234567890123456789_+-,,, \t\nx";
    std::string text;
    const size_t length = rng() % 48;
    for (size_t i = 0; i < length; ++i) text += kAlphabet[rng() % kAlphabet.size()];
    return text;
}

TEST(IntScan, RandomNumberTextsMatchThePerDigitReader) {
    std::mt19937_64 rng(20240611);
    for (int round = 0; round < 50000; ++round) ASSERT_TRUE(agrees(randomNumberText(rng)));
}

TEST(IntScan, RandomAlphabetTextsMatchThePerDigitReader) {
    std::mt19937_64 rng(7);
    for (int round = 0; round < 40000; ++round) ASSERT_TRUE(agrees(randomAlphabetText(rng)));
}

// Every int64 value written plainly, with leading zeros and with a sign,
// read back; random values of every width.
TEST(IntScan, RandomValuesRoundTrip) {
    std::mt19937_64 rng(99);
    std::string text;
    std::vector<int64_t> expected;
    for (int i = 0; i < 20000; ++i) {
        const int64_t v = static_cast<int64_t>(rng()) >> (rng() % 64);
        expected.push_back(v);
        if (i != 0) text += ',';
        const std::string plain = decimalText(v);
        switch (i % 4) {
            case 0: text += plain; break;
            case 1: text += v < 0 ? "-000" + plain.substr(1) : "000" + plain; break;
            case 2: text += v < 0 ? plain : "+" + plain; break;
            default: text += " " + plain + " "; break;
        }
    }
    const IntList xs = parseCsvInts(text);
    EXPECT_EQ(std::vector<int64_t>(xs.begin(), xs.end()), expected);
    EXPECT_TRUE(agrees(text));
}

// ---- Every tier: long lists, so that the block readers run, against the
// per-digit model (which is the baseline reader's rule).

class IntScanTiers : public TierTest {};

// A usual piece (what the block readers take) or, one time in `odd`, any
// other kind: blanks, '+', '_', a stray byte, an empty piece, a lone sign,
// twenty digits or more, a value past the limits, 64 blanks.
std::string randomPiece(std::mt19937_64& rng, unsigned odd) {
    auto pick = [&](size_t n) { return static_cast<size_t>(rng() % n); };
    auto digits = [&](size_t n) {
        std::string run;
        for (size_t i = 0; i < n; ++i) run += static_cast<char>('0' + pick(10));
        return run;
    };
    const std::string sign = pick(3) == 0 ? "-" : "";
    if (pick(odd) != 0) {
        static const size_t kLengths[] = {1, 1, 2, 3, 5, 7, 8, 9, 12, 15, 16, 17, 18, 19};
        return sign + digits(kLengths[pick(std::size(kLengths))]);
    }
    static const char* const kOdd[] = {" 12", "12 ", "+7", "1_0", "_1", "x", "", "-", "+", "--1", "1-", "\t5\r",
                                       "9223372036854775807", "-9223372036854775808", "9223372036854775808",
                                       "-9223372036854775809", "9999999999999999999", "00000000000000000001",
                                       "99999999999999999999", "1.5", "\xC2\xA0" "1", "1e3"};
    switch (pick(4)) {
        case 0: return sign + digits(20 + pick(50));
        case 1: return std::string(64 + pick(8), ' ') + digits(1 + pick(3));
        default: return kOdd[pick(std::size(kOdd))];
    }
}

std::string randomList(std::mt19937_64& rng, size_t pieces, unsigned odd) {
    std::string text;
    for (size_t i = 0; i < pieces; ++i) {
        if (i != 0) text += ',';
        text += randomPiece(rng, odd);
    }
    return text;
}

TEST_P(IntScanTiers, TableTextsInLongLists) {
    const std::string lead = randomList(*std::make_unique<std::mt19937_64>(5), 40, 1000);
    for (const char* t : kTable) {
        ASSERT_TRUE(agrees(lead + "," + t));
        ASSERT_TRUE(agrees(lead + "," + t + "," + lead));
        ASSERT_TRUE(agrees(std::string(t) + "," + lead));
    }
}

TEST_P(IntScanTiers, RandomLongListsMatchThePerDigitReader) {
    std::mt19937_64 rng(2026);
    for (int round = 0; round < 3000; ++round) {
        const unsigned odd = round % 3 == 0 ? 1000000 : 4 + static_cast<unsigned>(rng() % 60);
        ASSERT_TRUE(agrees(randomList(rng, 1 + rng() % 120, odd)));
    }
}

// One odd piece at every distance from the end of a list of usual pieces, and
// every length of usual text after the last block.
TEST_P(IntScanTiers, EveryDistanceFromTheEnd) {
    std::mt19937_64 rng(31);
    const std::string usual = randomList(rng, 60, 1000000);
    for (const char* odd : {"x", "1 2", "99999999999999999999", "-", "9223372036854775808", "+1", ""}) {
        for (size_t cut = 0; cut <= 160; ++cut) {
            const std::string tail = usual.substr(usual.size() - cut);
            ASSERT_TRUE(agrees(usual + "," + odd + "," + tail));
            ASSERT_TRUE(agrees(usual + "," + odd + tail));
            ASSERT_TRUE(agrees(usual.substr(0, usual.size() - cut)));
        }
    }
}

// Sums that leave 64 bits before a bad piece, and extremes at the edges.
TEST_P(IntScanTiers, OverflowingSumsBeforeABadPiece) {
    std::string text;
    for (int i = 0; i < 40; ++i) text += "9223372036854775807,-9223372036854775808,4611686018427387904,";
    ASSERT_TRUE(agrees(text + "1"));
    ASSERT_TRUE(agrees(text + "x"));
    ASSERT_TRUE(agrees(text + "4611686018427387904,4611686018427387904"));
}

KARPA_INSTANTIATE_TIERS(IntScanTiers);

}  // namespace
