// Hostile inputs, one table: huge pieces, millions of separators, NUL bytes
// inside texts, bytes that are not UTF-8, numbers of a million digits, the
// extreme int and int64 arguments, dates at and past both ends of the span,
// and digest lengths of 0, -1 and INT_MIN. Each gives its exact result or
// fails, and none crashes or hangs.
#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "libraries.hpp"

using namespace karpa_test;

namespace {

const Libraries& libs() {
    static const Libraries loaded;
    return loaded;
}

// Inputs built once, on first use.
const std::string& piece100M() {
    static const std::string s(100'000'000, 'a');
    return s;
}
const std::string& digits100M() {
    static const std::string s(100'000'000, '7');
    return s;
}
const std::string& blanks100M() {
    static const std::string s(100'000'000, ' ');
    return s;
}
const std::string& commas10M() {
    static const std::string s(10'000'000, ',');
    return s;
}
const std::string& ones10M() {
    static const std::string s = [] {
        std::string t;
        t.reserve(20'000'000);
        for (int i = 0; i < 10'000'000; ++i) t += "1,";
        return t;
    }();
    return s;
}
std::string zeros(size_t n) { return std::string(n, '0'); }
constexpr size_t kMillion = 1'000'000;

Text number(int64_t v) { return std::to_string(v); }

struct Hostile {
    std::string name;
    std::function<Text()> call;
    std::function<Text()> expected;  // built lazily: some are 100 MB
};

// An expected value known up front.
std::function<Text()> is(Text t) {
    return [t] { return t; };
}
const std::function<Text()> fails = [] { return Text(); };

#define SEQ(f) KARPA_FN(libs().seq, f)
#define CUR(f) KARPA_FN(libs().curried, f)
#define DT(f) KARPA_FN(libs().datetime, f)
#define CRYPTO(f) KARPA_FN(libs().crypto, f)

std::vector<Hostile> table() {
    const std::string nul1("1,2\0,x", 6), nul2("a\0,b", 4), nul3("2\0x", 3), nul4("a,a\0,b", 6), nul5("a\0b", 3);
    const std::string nulData("ab\0cd", 5), nulMessage("\0\0msg", 5), nulKey("k\0y", 3);
    return {
        // One piece of 100 MB.
        {"reverse_string_100MB", [] { return take(SEQ(seq_reverse_string)(piece100M().c_str())); }, [] { return Text(piece100M()); }},
        {"count_string_100MB_long_enough", [] { return take(SEQ(seq_count_string)(piece100M().c_str(), 100'000'000)); }, is("1")},
        {"count_string_100MB_too_short", [] { return take(SEQ(seq_count_string)(piece100M().c_str(), 100'000'001)); }, is("0")},
        {"map_string_100MB", [] { return take(SEQ(seq_map_string)(piece100M().c_str(), "<", ">")); }, [] { return Text("<" + piece100M() + ">"); }},
        {"distinct_string_100MB", [] { return take(CUR(cur_distinct_string)(piece100M().c_str())); }, [] { return Text(piece100M()); }},
        {"union_string_100MB", [] { return take(CUR(cur_union_string)(piece100M().c_str(), piece100M().c_str())); }, [] { return Text(piece100M()); }},
        {"sort_int_100MB_letters", [] { return take(SEQ(seq_sort_int)(piece100M().c_str(), 0)); }, fails},
        {"sum_int_100MB_digits", [] { return take(SEQ(seq_reduce_sum_int)(digits100M().c_str())); }, fails},
        {"reverse_float_100MB_letters", [] { return take(SEQ(seq_reverse_float)(piece100M().c_str())); }, fails},
        {"sum_int_100MB_blanks", [] { return take(SEQ(seq_reduce_sum_int)(blanks100M().c_str())); }, is("0")},
        {"sum_float_100MB_blanks", [] { return take(CUR(cur_sum_float)(blanks100M().c_str())); }, is("0.0")},
        {"md5_100MB", [] { return take(CRYPTO(md5_hash)(piece100M().data(), int(piece100M().size()))); }, [] { return Text(oracleDigest(EVP_md5(), piece100M())); }},
        {"sha1_100MB", [] { return take(CRYPTO(sha1_hash)(piece100M().data(), int(piece100M().size()))); }, [] { return Text(oracleDigest(EVP_sha1(), piece100M())); }},
        {"sha256_100MB", [] { return take(CRYPTO(sha256_hash)(piece100M().data(), int(piece100M().size()))); }, [] { return Text(oracleDigest(EVP_sha256(), piece100M())); }},
        {"hmac_sha256_100MB_message_and_key", [] { return take(CRYPTO(hmac_sha256)(piece100M().data(), int(piece100M().size()), piece100M().data(), int(piece100M().size()))); },
         [] { return Text(oracleHmac(EVP_sha256(), piece100M(), piece100M())); }},

        // Ten million commas.
        {"reverse_int_10M_commas", [] { return take(SEQ(seq_reverse_int)(commas10M().c_str())); }, is("")},
        {"sum_int_10M_commas", [] { return take(CUR(cur_sum_int)(commas10M().c_str())); }, is("0")},
        {"sort_float_10M_commas", [] { return take(SEQ(seq_sort_float)(commas10M().c_str(), 0)); }, is("")},
        {"count_string_10M_commas", [] { return take(SEQ(seq_count_string)(commas10M().c_str(), 0)); }, is("10000001")},
        {"reverse_string_10M_commas", [] { return take(SEQ(seq_reverse_string)(commas10M().c_str())); }, [] { return Text(commas10M()); }},
        {"distinct_string_10M_commas", [] { return take(CUR(cur_distinct_string)(commas10M().c_str())); }, is("")},
        {"diff_string_10M_commas", [] { return take(CUR(cur_diff_string)(commas10M().c_str(), "x")); }, [] { return Text(commas10M()); }},
        {"sum_int_10M_items", [] { return take(CUR(cur_sum_int)(ones10M().c_str())); }, is("10000000")},
        {"unique_int_10M_items", [] { return take(SEQ(seq_unique_int)(ones10M().c_str())); }, is("1")},
        {"median_float_10M_items", [] { return take(CUR(cur_median_float)(ones10M().c_str())); }, is("1")},
        {"take_int_10M_items", [] { return take(SEQ(seq_take_int)(ones10M().c_str(), 3)); }, is("1,1,1")},
        {"skip_int_10M_items", [] { return take(SEQ(seq_skip_int)(ones10M().c_str(), 9'999'999)); }, is("1")},

        // A NUL byte inside the text ends it; inside a digest's buffer it is data.
        {"nul_in_int_list", [=] { return take(SEQ(seq_reduce_sum_int)(nul1.c_str())); }, is("3")},
        {"nul_in_string_list", [=] { return take(SEQ(seq_reverse_string)(nul2.c_str())); }, is("a")},
        {"nul_in_float_parameter", [=] { return take(SEQ(seq_map_float)("1.5", nul3.c_str())); }, is("3")},
        {"nul_in_count_item", [=] { return take(CUR(cur_count_string)(nul4.c_str(), nul5.c_str())); }, is("2")},
        {"nul_in_digest_data", [=] { return take(CRYPTO(md5_hash)(nulData.data(), 5)); }, is(oracleDigest(EVP_md5(), nulData))},
        {"nul_in_hmac_message_and_key", [=] { return take(CRYPTO(hmac_md5)(nulMessage.data(), 5, nulKey.data(), 3)); },
         is(oracleHmac(EVP_md5(), nulMessage, nulKey))},

        // Bytes that are not UTF-8 are ordinary bytes.
        {"invalid_utf8_reverse", [] { return take(SEQ(seq_reverse_string)("\xff,\xc3\x28,\xe2\x82")); }, is("\xe2\x82,\xc3\x28,\xff")},
        {"invalid_utf8_sort_unsigned", [] { return take(SEQ(seq_sort_string)("\xff,a,\x80", 0)); }, is("a,\x80,\xff")},
        {"invalid_utf8_map", [] { return take(SEQ(seq_map_string)("\xc0\xaf", "\xff", "\xfe")); }, is("\xff\xc0\xaf\xfe")},
        {"invalid_utf8_union", [] { return take(CUR(cur_union_string)("\xed\xa0\x80,x", "x,\xf4\x90\x80\x80")); }, is("\xed\xa0\x80,x,\xf4\x90\x80\x80")},
        {"utf8_length_in_bytes", [] { return take(SEQ(seq_count_string)("\xe3\x81\x82", 3)); }, is("1")},
        {"no_break_space_is_not_blank", [] { return take(SEQ(seq_reduce_sum_int)("\xc2\xa0" "5")); }, fails},
        {"fullwidth_digit_is_not_a_digit", [] { return take(SEQ(seq_reverse_float)("1,\xef\xbc\x91")); }, fails},
        {"invalid_utf8_int_list", [] { return take(CUR(cur_distinct_int)("\xff")); }, fails},

        // Integers of a million digits.
        {"million_digit_int_overflows", [] { return take(SEQ(seq_reduce_sum_int)(("1" + zeros(kMillion - 1)).c_str())); }, fails},
        {"million_nines_overflow", [] { return take(SEQ(seq_sort_int)(std::string(kMillion, '9').c_str(), 0)); }, fails},
        {"million_underscored_digits_overflow", [] {
             std::string s;
             for (size_t i = 0; i < kMillion / 2; ++i) s += "1_";
             return take(CUR(cur_sum_int)(s.c_str()));
         }, fails},
        {"million_leading_zeros", [] { return take(SEQ(seq_reduce_sum_int)((zeros(kMillion - 1) + "7").c_str())); }, is("7")},
        {"million_leading_zeros_negative", [] { return take(SEQ(seq_reduce_min_int)(("-" + zeros(kMillion) + "5").c_str())); }, is("-5")},
        {"million_leading_zeros_int64_max", [] { return take(CUR(cur_sum_int)((zeros(kMillion) + "9223372036854775807").c_str())); }, is("9223372036854775807")},
        {"million_leading_zeros_int64_min", [] { return take(SEQ(seq_reduce_max_int)(("-" + zeros(kMillion) + "9223372036854775808").c_str())); }, is("-9223372036854775808")},

        // Float texts of a million digits.
        {"million_digit_float_is_inf", [] { return take(SEQ(seq_reduce_max_float)(("1" + zeros(kMillion)).c_str())); }, is("inf")},
        {"million_digit_float_is_negative_inf", [] { return take(SEQ(seq_reduce_min_float)(("-9" + zeros(kMillion)).c_str())); }, is("-inf")},
        {"million_digit_fraction_underflows", [] { return take(SEQ(seq_reduce_max_float)(("0." + zeros(kMillion) + "1").c_str())); }, is("0.0")},
        {"million_digit_fraction_of_thirds", [] { return take(SEQ(seq_reduce_max_float)(("0." + std::string(kMillion, '3')).c_str())); }, is("0.3333333333333333")},
        {"million_digit_float_near_one", [] { return take(CUR(cur_sum_float)(("1." + zeros(kMillion) + "1").c_str())); }, is("1.0")},
        {"million_leading_zeros_float", [] { return take(SEQ(seq_reduce_max_float)((zeros(kMillion) + "1.5").c_str())); }, is("1.5")},
        {"million_digit_exponent", [] { return take(SEQ(seq_reduce_max_float)(("1e" + zeros(kMillion) + "5").c_str())); }, is("100000.0")},
        {"million_digit_negative_exponent", [] { return take(SEQ(seq_reduce_max_float)(("1e-" + std::string(kMillion, '9')).c_str())); }, is("0.0")},
        {"million_digit_exponent_of_negative_zero", [] { return take(SEQ(seq_reduce_max_float)(("-0e" + std::string(kMillion, '9')).c_str())); }, is("0.0")},
        {"million_digit_float_in_general_form", [] { return take(SEQ(seq_reverse_float)(("2." + std::string(kMillion, '5')).c_str())); }, is("2.55556")},

        // INT_MIN and INT_MAX as counts, thresholds, factors and flags.
        {"take_int_max", [] { return take(SEQ(seq_take_int)("1,2,3", INT_MAX)); }, is("1,2,3")},
        {"take_int_min", [] { return take(SEQ(seq_take_int)("1,2,3", INT_MIN)); }, fails},
        {"take_int_min_empty_list", [] { return take(SEQ(seq_take_int)("", INT_MIN)); }, fails},
        {"skip_int_max", [] { return take(SEQ(seq_skip_int)("1,2,3", INT_MAX)); }, is("")},
        {"skip_int_min", [] { return take(SEQ(seq_skip_int)("1,2,3", INT_MIN)); }, fails},
        {"sort_flag_int_min", [] { return take(SEQ(seq_sort_int)("1,3,2", INT_MIN)); }, is("3,2,1")},
        {"sort_flag_int_max", [] { return take(SEQ(seq_sort_int)("1,3,2", INT_MAX)); }, is("3,2,1")},
        {"sort_float_flag_int_min", [] { return take(SEQ(seq_sort_float)("1,2", INT_MIN)); }, is("2,1")},
        {"sort_string_flag_int_min", [] { return take(SEQ(seq_sort_string)("a,b", INT_MIN)); }, is("b,a")},
        {"map_factor_int_min", [] { return take(SEQ(seq_map_int)("2", INT_MIN)); }, is("-4294967296")},
        {"map_factor_int_min_negated", [] { return take(SEQ(seq_map_int)("-1", INT_MIN)); }, is("2147483648")},
        {"map_factor_int_max_overflows", [] { return take(SEQ(seq_map_int)("4294967299", INT_MAX)); }, fails},
        {"filter_threshold_int_min", [] { return take(SEQ(seq_filter_int)("-2147483649,-2147483648,0", INT_MIN)); }, is("0")},
        {"count_threshold_int_max", [] { return take(SEQ(seq_count_int)("2147483648,2147483647", INT_MAX)); }, is("1")},
        {"filter_string_int_min", [] { return take(SEQ(seq_filter_string)("a,,b", INT_MIN)); }, is("a,,b")},
        {"filter_string_int_max", [] { return take(SEQ(seq_filter_string)("a,,b", INT_MAX)); }, is("")},
        {"count_string_int_min", [] { return take(SEQ(seq_count_string)("a,,b", INT_MIN)); }, is("3")},
        {"take_string_int_min", [] { return take(SEQ(seq_take_string)("a,b", INT_MIN)); }, fails},
        {"take_string_int_min_empty_list", [] { return take(SEQ(seq_take_string)("", INT_MIN)); }, is("")},
        {"skip_string_int_max", [] { return take(SEQ(seq_skip_string)("a,b", INT_MAX)); }, is("")},
        {"skip_string_int_min", [] { return take(SEQ(seq_skip_string)("a,b", INT_MIN)); }, fails},
        {"count_int_value_int_min", [] { return take(CUR(cur_count_int)("-2147483648,2147483648,-2147483648", INT_MIN)); }, is("2")},
        {"count_int_value_int_max", [] { return take(CUR(cur_count_int)("2147483647,-2147483649", INT_MAX)); }, is("1")},

        // Timestamps and dates at and past both ends of the span.
        {"ts_int64_max", [] { return take(DT(dt_ts_to_ymdhms)(INT64_MAX)); }, is("292277026596-12-04 15:30:07")},
        {"ts_lowest", [] { return take(DT(dt_ts_to_ymdhms)(-9223372036854720000)); }, is("-292277022657-01-28 00:00:00")},
        {"ts_below_lowest", [] { return take(DT(dt_ts_to_ymd)(-9223372036854720001)); }, fails},
        {"ts_int64_min", [] { return take(DT(dt_ts_to_ymd)(INT64_MIN)); }, fails},
        {"ymd_last_day", [] { return number(DT(dt_ymd_to_ts)(292277026596, 12, 4)); }, is("9223372036854720000")},
        {"ymd_past_last_day", [] { return number(DT(dt_ymd_to_ts)(292277026596, 12, 5)); }, is("0")},
        {"ymd_first_day", [] { return number(DT(dt_ymd_to_ts)(-292277022657, 1, 28)); }, is("-9223372036854720000")},
        {"ymd_before_first_day", [] { return number(DT(dt_ymd_to_ts)(-292277022657, 1, 27)); }, is("0")},
        {"ymd_int64_extremes", [] { return number(DT(dt_ymd_to_ts)(INT64_MIN, INT64_MAX, INT64_MIN)); }, is("0")},
        {"add_days_onto_last_day", [] { return take(DT(dt_add_days)(292277026596, 12, 3, 1)); }, is("292277026596-12-04")},
        {"add_days_past_last_day", [] { return take(DT(dt_add_days)(292277026596, 12, 4, 1)); }, fails},
        {"add_days_before_first_day", [] { return take(DT(dt_add_days)(-292277022657, 1, 28, -1)); }, fails},
        {"add_days_int64_max", [] { return take(DT(dt_add_days)(1970, 1, 1, INT64_MAX)); }, fails},
        {"add_days_int64_min", [] { return take(DT(dt_add_days)(1970, 1, 1, INT64_MIN)); }, fails},
        {"add_months_year_overflow", [] { return take(DT(dt_add_months)(INT64_MAX, 12, 1, 1)); }, fails},
        {"add_months_int64_max", [] { return take(DT(dt_add_months)(2024, 1, 1, INT64_MAX)); }, fails},
        {"add_months_largest_year", [] { return take(DT(dt_add_months)(INT64_MAX, 1, 1, 0)); }, is("9223372036854775807-01-01")},
        {"add_months_smallest_year", [] { return take(DT(dt_add_months)(INT64_MIN, 1, 1, 0)); }, is("-9223372036854775808-01-01")},
        {"add_months_day_int64_min", [] { return take(DT(dt_add_months)(2024, 1, INT64_MIN, 0)); }, fails},
        {"range_months_month_int64_max", [] { return take(DT(dt_range_months)(2024, INT64_MAX, 1)); }, fails},
        {"range_months_year_int64_max", [] { return take(DT(dt_range_months)(INT64_MAX, 12, 1)); }, fails},
        {"range_months_count_int64_max", [] { return take(DT(dt_range_months)(2024, 1, INT64_MAX)); }, fails},
        {"range_days_count_int64_max", [] { return take(DT(dt_range_days)(2024, 1, 1, INT64_MAX)); }, fails},
        {"range_days_count_int64_min", [] { return take(DT(dt_range_days)(2024, 1, 1, INT64_MIN)); }, fails},
        {"range_days_past_last_day", [] { return take(DT(dt_range_days)(292277026596, 12, 3, 3)); }, fails},
        {"range_between_whole_span", [] { return take(DT(dt_range_days_between)(-292277022657, 1, 28, 292277026596, 12, 4)); }, fails},
        {"range_between_last_days", [] { return take(DT(dt_range_days_between)(292277026596, 12, 2, 292277026596, 12, 4)); },
         is("292277026596-12-02,292277026596-12-03,292277026596-12-04")},
        {"days_between_whole_span", [] { return number(DT(dt_days_between)(-292277022657, 1, 28, 292277026596, 12, 4)); }, is("0")},
        {"days_between_epoch_and_last_day", [] { return number(DT(dt_days_between)(1970, 1, 1, 292277026596, 12, 4)); }, is("106751991167300")},
        {"day_of_week_last_day", [] { return number(DT(dt_day_of_week)(292277026596, 12, 4)); }, is("7")},
        {"week_of_year_first_day", [] { return number(DT(dt_week_of_year)(-292277022657, 1, 28)); }, is("0")},
        {"leap_year_int64_min", [] { return number(DT(dt_is_leap_year)(INT64_MIN)); }, is("1")},
        {"days_in_year_int64_max", [] { return number(DT(dt_days_in_year)(INT64_MAX)); }, is("365")},
        {"days_in_month_int64_min", [] { return number(DT(dt_days_in_month)(2024, INT64_MIN)); }, is("0")},
        {"validate_int64_min", [] { return number(DT(dt_validate_date)(INT64_MIN, INT64_MIN, INT64_MIN)); }, is("0")},

        // Digest and HMAC lengths of 0, -1 and INT_MIN.
        {"md5_length_0", [] { return take(CRYPTO(md5_hash)(nullptr, 0)); }, is("d41d8cd98f00b204e9800998ecf8427e")},
        {"sha1_length_0", [] { return take(CRYPTO(sha1_hash)(nullptr, 0)); }, is("da39a3ee5e6b4b0d3255bfef95601890afd80709")},
        {"sha256_length_0", [] { return take(CRYPTO(sha256_hash)(nullptr, 0)); }, is("e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855")},
        {"md5_length_minus_1", [] { return take(CRYPTO(md5_hash)("abc", -1)); }, fails},
        {"sha1_length_minus_1", [] { return take(CRYPTO(sha1_hash)("abc", -1)); }, fails},
        {"sha256_length_minus_1", [] { return take(CRYPTO(sha256_hash)("abc", -1)); }, fails},
        {"md5_length_int_min", [] { return take(CRYPTO(md5_hash)("abc", INT_MIN)); }, fails},
        {"sha1_length_int_min", [] { return take(CRYPTO(sha1_hash)(nullptr, INT_MIN)); }, fails},
        {"sha256_length_int_min", [] { return take(CRYPTO(sha256_hash)("abc", INT_MIN)); }, fails},
        {"hmac_md5_lengths_0", [] { return take(CRYPTO(hmac_md5)(nullptr, 0, nullptr, 0)); }, is(oracleHmac(EVP_md5(), "", ""))},
        {"hmac_md5_lengths_minus_1", [] { return take(CRYPTO(hmac_md5)("abc", -1, "key", -1)); }, is(oracleHmac(EVP_md5(), "", ""))},
        {"hmac_md5_message_int_min", [] { return take(CRYPTO(hmac_md5)("abc", INT_MIN, "key", 3)); }, is(oracleHmac(EVP_md5(), "", "key"))},
        {"hmac_sha256_lengths_0", [] { return take(CRYPTO(hmac_sha256)(nullptr, 0, nullptr, 0)); }, is(oracleHmac(EVP_sha256(), "", ""))},
        {"hmac_sha256_lengths_int_min", [] { return take(CRYPTO(hmac_sha256)("abc", INT_MIN, "key", INT_MIN)); }, is(oracleHmac(EVP_sha256(), "", ""))},
        {"hmac_sha256_key_int_min", [] { return take(CRYPTO(hmac_sha256)("abc", 3, "key", INT_MIN)); }, is(oracleHmac(EVP_sha256(), "abc", ""))},
        {"hmac_sha256_key_minus_1", [] { return take(CRYPTO(hmac_sha256)("abc", 3, nullptr, -1)); }, is(oracleHmac(EVP_sha256(), "abc", ""))},
    };
}

void PrintTo(const Hostile& c, std::ostream* os) { *os << c.name; }

class HostileInput : public ::testing::TestWithParam<Hostile> {};

TEST_P(HostileInput, GivesItsExactResultOrFails) {
    const Hostile& c = GetParam();
    const Text got = c.call();
    const Text expected = c.expected();
    // Compared whole, shown shortened.
    EXPECT_TRUE(got == expected) << "got " << shown(got) << ", expected " << shown(expected);
}

INSTANTIATE_TEST_SUITE_P(Table, HostileInput, ::testing::ValuesIn(table()),
                         [](const auto& info) { return info.param.name; });

TEST(Hostile, EveryLibraryIsSelfContained) {
    for (const char* name : {"seq", "curried", "datetime", "crypto"}) expectSelfContained(name);
}

}  // namespace
