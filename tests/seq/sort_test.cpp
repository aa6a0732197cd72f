// The merge sort: stable, exact merge steps, and the NaN orders they produce.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <random>
#include <utility>
#include <vector>

#include "frame/codec/textcodec.hpp"
#include "merge_steps.hpp"
#include "seq/int_print.hpp"
#include "seq/sort.hpp"
#include "seq/string_pieces.hpp"
#include "tiers.hpp"

using namespace karpa;

namespace {

// Elements carry their input position so that stability is visible.
using Tagged = std::pair<int64_t, int>;

struct ByValue {
    int operator()(const Tagged& x, const Tagged& y) const { return Ascending{}(x.first, y.first); }
};
struct ByValueReversed {
    int operator()(const Tagged& x, const Tagged& y) const { return Ascending{}(y.first, x.first); }
};

TEST(MergeSort, EqualsStableSortOnRandomListsOfEveryLength) {
    std::mt19937_64 rng(99);
    for (int n = 0; n < 300; ++n) {
        for (int64_t range : {int64_t(3), int64_t(1000000)}) {
            ArenaVec<Tagged> list;
            for (int i = 0; i < n; ++i) list.emplace_back(static_cast<int64_t>(rng() % range), i);
            std::vector<Tagged> up(list.begin(), list.end()), down(up);
            std::stable_sort(up.begin(), up.end(), [](auto& a, auto& b) { return a.first < b.first; });
            std::stable_sort(down.begin(), down.end(), [](auto& a, auto& b) { return a.first > b.first; });
            ArenaVec<Tagged> ascending = list, descending = list;
            sort(ascending, ByValue{});
            sort(descending, ByValueReversed{});
            ASSERT_EQ(std::vector<Tagged>(ascending.begin(), ascending.end()), up) << n;
            ASSERT_EQ(std::vector<Tagged>(descending.begin(), descending.end()), down) << n;
        }
    }
}

// With NaN the comparison is no order at all, so only the exact steps agree.
TEST(MergeSort, FloatsWithNanFollowTheLiteralSteps) {
    std::mt19937_64 rng(23);
    for (int round = 0; round < 3000; ++round) {
        std::vector<double> values(rng() % 70);
        for (double& x : values) x = (rng() % 4 == 0) ? NAN : static_cast<double>(rng() % 9) - 4.0;
        for (bool descending : {false, true}) ASSERT_EQ(floatSortMismatch(values, descending), -1) << round;
    }
}

// Without NaN the floats are sorted by keys; with NaN by the merge steps.
// Either way the bits must be the literal steps' output: lists rich in ties,
// both zeros and infinities, long enough for every path of the key sort.
TEST(FloatSort, KeySortMatchesTheLiteralMergeSteps) {
    std::mt19937_64 rng(5);
    const double pool[] = {0.0, -0.0, 1.0, -1.0, 0.5, -2.25, INFINITY, -INFINITY, 5e-324, -5e-324, 1e300};
    for (int round = 0; round < 1290; ++round) {
        const size_t n = round < 1200 ? rng() % 80 : std::vector<size_t>{2100, 5000, 70000}[round % 3];
        const bool withNan = round % 5 == 0;
        const bool wide = round % 3 == 0;
        std::vector<double> values(n);
        for (double& x : values) {
            if (withNan && rng() % 16 == 0) {
                x = NAN;
            } else if (wide) {
                x = std::bit_cast<double>(rng() & 0xFFEF'FFFF'FFFF'FFFFull);  // any finite value
            } else {
                x = pool[rng() % 11];
            }
        }
        for (bool descending : {false, true}) ASSERT_EQ(floatSortMismatch(values, descending), -1) << round;
    }
}

std::vector<std::string> sortedFloats(std::initializer_list<double> values, bool descending) {
    FloatList list(values);
    sortDirected(list, descending);
    std::vector<std::string> out;
    for (double x : list) out.push_back(std::isnan(x) ? "nan" : std::to_string(x));
    return out;
}

TEST(MergeSort, NanOrdersFollowTheMergeSteps) {
    using V = std::vector<std::string>;
    EXPECT_EQ(sortedFloats({NAN, 1}, false), (V{"1.000000", "nan"}));
    EXPECT_EQ(sortedFloats({1, NAN}, false), (V{"nan", "1.000000"}));
    // -0.0 and 0.0 are equal and keep their order in both directions.
    FloatList zeros{0.0, -0.0};
    sortDirected(zeros, false);
    EXPECT_FALSE(std::signbit(zeros[0]));
    sortDirected(zeros, true);
    EXPECT_FALSE(std::signbit(zeros[0]));
}

TEST(MergeSort, StringsByUnsignedBytesShorterFirst) {
    StringList items{"b", "a", "", "B", "ab", "\xff", "a"};
    sortDirected(items, false);
    EXPECT_EQ(std::vector<std::string_view>(items.begin(), items.end()),
              (std::vector<std::string_view>{"", "B", "a", "a", "ab", "b", "\xff"}));
}

// The keyed string sort must give exactly the plain merge sort's order.
TEST(MergeSort, KeyedStringsMatchThePlainComparison) {
    std::mt19937_64 rng(17);
    std::vector<std::string> storage;
    for (int i = 0; i < 3000; ++i) {
        std::string s = (rng() % 2) ? "prefix12" : "";  // shared eight-byte prefixes
        const size_t length = rng() % 12;
        for (size_t k = 0; k < length; ++k) s += "ab\0\xff"[rng() % 4];
        storage.push_back(s);
    }
    for (bool descending : {false, true}) {
        StringList keyed(storage.begin(), storage.end());
        StringList plain = keyed;
        sortDirected(keyed, descending);
        if (descending) {
            sort(plain, Descending{});
        } else {
            sort(plain, Ascending{});
        }
        // Equal strings are interchangeable only if they are the same item: compare positions.
        for (size_t i = 0; i < plain.size(); ++i) ASSERT_EQ(keyed[i].data(), plain[i].data()) << i;
    }
}

// Lists of few distinct pieces are sorted by counting, others by records:
// both must give the merge sort's text.
TEST(StringSort, CountingAndRecordsGiveTheMergeSortsText) {
    std::mt19937_64 rng(12);
    for (int round = 0; round < 400; ++round) {
        const size_t kinds = 1 + rng() % (round % 2 ? 3 : 5000);
        const size_t n = 1 + rng() % (round % 7 == 0 ? 20000 : 300);
        std::vector<std::string> pool;
        for (size_t k = 0; k < kinds; ++k) pool.push_back(std::string(rng() % 10, "a1\xff"[rng() % 3]) + std::to_string(rng() % 50));
        for (std::string& p : pool) p.resize(rng() % (p.size() + 1));
        std::string text;
        StringList items;
        std::vector<std::string> storage(n);
        for (size_t i = 0; i < n; ++i) storage[i] = pool[rng() % kinds];
        for (size_t i = 0; i < n; ++i) {
            if (i) text += ',';
            text += storage[i];
            items.push_back(storage[i]);
        }
        for (bool descending : {false, true}) {
            StringList sorted = items;
            if (descending) {
                sort(sorted, Descending{});
            } else {
                sort(sorted, Ascending{});
            }
            std::string expected;
            for (size_t i = 0; i < n; ++i) expected += (i ? "," : "") + std::string(sorted[i]);
            ASSERT_EQ(std::string(sortStringsImpl(text, descending)), expected) << round;
        }
    }
}

// A text of 4 GiB or more sorts with 64-bit positions: the same result.
TEST(StringSort, WidePositionsGiveTheSameText) {
    std::mt19937_64 rng(8);
    for (int round = 0; round < 300; ++round) {
        std::string text;
        for (size_t i = 0, n = 1 + rng() % 60; i < n; ++i) {
            if (i) text += ',';
            text += std::string("abcdefgh").substr(0, rng() % 9) + std::string(rng() % 3, "a\xff"[rng() % 2]);
        }
        for (bool descending : {false, true}) {
            const std::string narrow = sortPiecesAs<uint32_t>(text, descending);
            ASSERT_EQ(narrow, sortPiecesAs<uint64_t>(text, descending)) << text;
        }
    }
}

// The integer sort of lists of every length and key shape given, both
// directions, against std::sort.
template <class Key>
void expectSortsAsStdSort(std::initializer_list<size_t> lengths, int shapes, Key& key) {
    for (size_t n : lengths) {
        for (int shape = 0; shape < shapes; ++shape) {
            for (bool descending : {false, true}) {
                IntList list;
                for (size_t i = 0; i < n; ++i) list.push_back(key(shape, i, n));
                std::vector<int64_t> expected(list.begin(), list.end());
                if (descending) {
                    std::sort(expected.begin(), expected.end(), std::greater<>());
                } else {
                    std::sort(expected.begin(), expected.end());
                }
                sortDirected(list, descending);
                ASSERT_EQ(std::vector<int64_t>(list.begin(), list.end()), expected)
                    << n << " shape " << shape << " descending " << descending;
            }
        }
    }
}

}  // namespace

// The integer sort against std::sort: lengths on each side of the insertion,
// counting, cache-sized and large-list thresholds, keys drawn from narrow and
// wide ranges, near the 64-bit limits, sorted, reversed and nearly sorted.
TEST(RadixSort, EqualsStdSortForEveryKeyShapeAndLength) {
    std::mt19937_64 rng(7);
    const auto key = [&](int shape, size_t i, size_t n) -> int64_t {
        switch (shape) {
            case 0: return static_cast<int64_t>(rng());                                 // all 64 bits
            case 1: return static_cast<int64_t>(rng() % 500) - 250;                     // counting range
            case 2: return static_cast<int64_t>(rng() >> 40);                           // shared high bytes
            case 3: {  // at the limits
                const int64_t step = static_cast<int64_t>(rng() % 3);
                return rng() & 1 ? INT64_MIN + step : INT64_MAX - step;
            }
            case 4: return static_cast<int64_t>(i) * 3 - static_cast<int64_t>(n);      // sorted
            case 5: return static_cast<int64_t>(n - i);                                 // reversed
            default: return static_cast<int64_t>(i) + (rng() % 64 == 0 ? 1000 : 0);    // nearly sorted
        }
    };
    expectSortsAsStdSort({0, 1, 2, 31, 32, 33, 600, 2047, 2048, 2049, 65536, 65537, 300000}, 7, key);
}

// The bucket sort's own hazards: a cluster with far outliers (one bucket
// holding nearly every key, split again level after level), wide keys with
// many repeats (buckets above the insertion size holding one value), buckets
// just above and below the insertion size, the full 64-bit span, and
// patterns of equal gaps that put every key on a bucket edge.
TEST(RadixSort, BucketShapesEqualStdSort) {
    std::mt19937_64 rng(23);
    const auto key = [&](int shape, size_t i, size_t n) -> int64_t {
        switch (shape) {
            case 0: return i % 97 == 0 ? (rng() & 1 ? INT64_MIN : INT64_MAX) : static_cast<int64_t>(rng() % 1000);
            case 1: return static_cast<int64_t>(rng() % (n / 20 + 1)) << 30;         // ~20 repeats each, wide
            case 2: return static_cast<int64_t>((rng() >> 20) - (uint64_t(1) << 43)); // 44-bit, as benchmarked
            case 3: return static_cast<int64_t>(i % 17) << 50;                        // 17 values, n/17 each
            case 4: return static_cast<int64_t>(rng() % 2 ? rng() : rng() % 40);      // dense bottom, 64-bit rest
            case 5: return static_cast<int64_t>((i * 0x9E3779B97F4A7C15ull) & (~uint64_t(0) << 40));
            default: return static_cast<int64_t>(i & ~size_t(15)) * 1000003 - static_cast<int64_t>(rng() % 16);
        }
    };
    expectSortsAsStdSort({33, 40, 100, 1000, 5000, 70000, 400000}, 7, key);
}

// The integer sort and the run printer on every tier, against std::stable_sort
// and the one-item printer: lists of close values (sorted by counting, counts
// wrapping past 255), wide ones, the 64-bit limits, and lengths around the
// counting threshold and the eight-key words.
class IntSortTiers : public TierTest {};

TEST_P(IntSortTiers, EqualsStableSortAndPrintsAsTheItemPrinter) {
    std::mt19937_64 rng(11);
    const auto key = [&](int shape, size_t i, size_t n) -> int64_t {
        const int64_t span = static_cast<int64_t>(n);
        switch (shape) {
            case 0: return static_cast<int64_t>(rng() % (2 * n)) - span;                 // close values
            case 1: return rng() % 3 == 0 ? 7 : static_cast<int64_t>(rng() % n);        // one value wraps its count
            case 2: return INT64_MAX - static_cast<int64_t>(rng() % (3 * n));            // close, at the top
            case 3: return INT64_MIN + static_cast<int64_t>(rng() % (3 * n));            // close, at the bottom
            case 4: return static_cast<int64_t>(rng());                                  // all 64 bits
            case 5: return static_cast<int64_t>(rng() % 4) * 100000000 - 150000000;     // few distinct, wide
            case 6: return static_cast<int64_t>(n - i);                                  // reversed
            case 7: return 42;                                                           // all equal
            default: {  // close values with the limits among them
                const uint64_t r = rng() % 64;
                return r == 0 ? INT64_MIN : r == 1 ? INT64_MAX : static_cast<int64_t>(rng() % n);
            }
        }
    };
    for (size_t n : {0, 1, 7, 8, 9, 17, 4095, 4096, 4097, 4103, 20000}) {
        for (int shape = 0; shape < 9; ++shape) {
            for (bool descending : {false, true}) {
                IntList list;
                for (size_t i = 0; i < n; ++i) list.push_back(key(shape, i, n));
                std::vector<int64_t> expected(list.begin(), list.end());
                if (descending) {
                    std::stable_sort(expected.begin(), expected.end(), std::greater<>());
                } else {
                    std::stable_sort(expected.begin(), expected.end());
                }
                sortDirected(list, descending);
                ASSERT_EQ(std::vector<int64_t>(list.begin(), list.end()), expected)
                    << n << " shape " << shape << " descending " << descending;
                ASSERT_STREQ(printIntListInRuns(list), printIntList(list)) << n << " shape " << shape;
            }
        }
    }
}

// Runs of every width and sign, broken at every place, in the run printer.
TEST_P(IntSortTiers, RunPrinterWritesEveryWidth) {
    std::mt19937_64 rng(12);
    IntList list;
    for (unsigned width = 1; width <= 19; ++width) {
        for (int sign : {1, -1}) {
            const size_t run = rng() % 20;
            for (size_t i = 0; i < run; ++i) {
                const uint64_t low = width == 1 ? 0 : kPowersOf10[width - 1];
                const uint64_t high = width == 19 ? uint64_t(INT64_MAX) : kPowersOf10[width] - 1;
                list.push_back(sign * static_cast<int64_t>(low + rng() % (high - low + 1)));
            }
        }
    }
    list.push_back(INT64_MIN);
    for (size_t cut = 0; cut <= list.size(); cut += 3) {
        IntList part(list.begin() + static_cast<std::ptrdiff_t>(cut), list.end());
        ASSERT_STREQ(printIntListInRuns(part), printIntList(part)) << cut;
    }
}

KARPA_INSTANTIATE_TIERS(IntSortTiers);
