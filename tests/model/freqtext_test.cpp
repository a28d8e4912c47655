#include "FreqText.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace {

// Hertz to text: every display and command form for one value.
struct ToTextCase {
    std::int64_t hz;
    std::string_view compactMHz;
    std::string_view fixedMHz;
    std::string_view tableMHz;
};

void PrintTo(const ToTextCase& c, std::ostream* os)
{
    *os << c.hz;
}

class MHzForms : public ::testing::TestWithParam<ToTextCase> {};

TEST_P(MHzForms, FormatsEachForm)
{
    const ToTextCase& c = GetParam();
    EXPECT_EQ(cmdfreq::MHzToDotStr(c.hz), c.compactMHz);
    EXPECT_EQ(dlgfreq::MHzToDotStr(c.hz), c.fixedMHz);
    EXPECT_EQ(TableMHzStr(c.hz), c.tableMHz);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MHzForms,
    ::testing::Values(
        ToTextCase{154443750, "154.44375", "0154.44375", " 154.44375"},
        ToTextCase{351175000, "351.175", "0351.17500", " 351.17500"},
        // at least one fraction digit stays
        ToTextCase{145000000, "145.0", "0145.00000", " 145.00000"},
        ToTextCase{100000, "0.1", "0000.10000", "   0.10000"},
        ToTextCase{500000, "0.5", "0000.50000", "   0.50000"},
        ToTextCase{0, "0.0", "0000.00000", "   0.00000"},
        // above 2^31 Hz; the hertz are sent but cut (never rounded) in the shown forms
        ToTextCase{3000000000LL, "3000.0", "3000.00000", "3000.00000"},
        ToTextCase{3000000001LL, "3000.000001", "3000.00000", "3000.00000"},
        ToTextCase{2147483649LL, "2147.483649", "2147.48364", "2147.48364"},
        ToTextCase{999999999, "999.999999", "0999.99999", " 999.99999"},
        ToTextCase{12345678, "12.345678", "0012.34567", "  12.34567"},
        // only the rightmost four integer digits fit the fixed and table forms
        ToTextCase{12345000000LL, "12345.0", "2345.00000", "2345.00000"}));

struct kHzCase {
    std::int32_t hz;
    std::string_view compact;
    std::string_view table;
};

void PrintTo(const kHzCase& c, std::ostream* os)
{
    *os << c.hz;
}

class kHzForms : public ::testing::TestWithParam<kHzCase> {};

TEST_P(kHzForms, FormatsEachForm)
{
    EXPECT_EQ(cmdfreq::kHzToDotStr(GetParam().hz), GetParam().compact);
    EXPECT_EQ(TablekHzStr(GetParam().hz), GetParam().table);
}

INSTANTIATE_TEST_SUITE_P(Cases, kHzForms,
                         ::testing::Values(kHzCase{12500, "12.5", " 12.50"},
                                           kHzCase{8333, "8.333", "  8.33"},
                                           kHzCase{6250, "6.25", "  6.25"},
                                           kHzCase{5000, "5.0", "  5.00"},
                                           kHzCase{50, "0.05", "  0.05"},
                                           kHzCase{9, "0.009", "  0.00"},
                                           kHzCase{0, "0.0", "  0.00"},
                                           kHzCase{250000, "250.0", "250.00"},
                                           kHzCase{500000, "500.0", "500.00"}));

TEST(NegativeValues, ShowSignAndMagnitude)
{
    EXPECT_EQ(cmdfreq::MHzToDotStr(-1500000), "-1.5");
    EXPECT_EQ(cmdfreq::kHzToDotStr(-12500), "-12.5");
    EXPECT_EQ(dlgfreq::MHzToDotStr(-100000), "-0000.10000");
    EXPECT_EQ(cmdfreq::MHzToDotStr(INT64_MIN), "-9223372036854.775808");
}

struct ParseCase {
    std::string_view text;
    std::int64_t hz;
};

void PrintTo(const ParseCase& c, std::ostream* os)
{
    *os << '"' << c.text << '"';
}

class AnswerMHz : public ::testing::TestWithParam<ParseCase> {};

TEST_P(AnswerMHz, ReadsTenHertzUnits)
{
    EXPECT_EQ(DotStrToMHz(GetParam().text), GetParam().hz);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AnswerMHz,
    ::testing::Values(ParseCase{"154.44375", 154443750}, ParseCase{"3000.00000", 3000000000LL},
                      ParseCase{"2999.99999", 2999999990LL}, ParseCase{"0000.10000", 100000},
                      // the fraction counts 10 Hz units whatever its length
                      ParseCase{"0.5", 50}, ParseCase{" 145.00000", 145000000},
                      ParseCase{"3999.99999", 3999999990LL},
                      ParseCase{"4000.00000", kBadMHz}, ParseCase{"1.100000", kBadMHz},
                      ParseCase{"154", kBadMHz}, ParseCase{"", kBadMHz},
                      ParseCase{"abc.00000", kBadMHz}, ParseCase{"154.x", kBadMHz},
                      ParseCase{"154.", kBadMHz}, ParseCase{".5", kBadMHz},
                      ParseCase{"154.44375 ", kBadMHz}, ParseCase{"1.2.3", kBadMHz},
                      // a negative part would give a value that passes the callers' range
                      ParseCase{"154.-5", kBadMHz}, ParseCase{"-1.00000", kBadMHz}));

class AnswerkHz : public ::testing::TestWithParam<ParseCase> {};

TEST_P(AnswerkHz, ReadsTenHertzUnits)
{
    EXPECT_EQ(DotStrTokHz(GetParam().text), GetParam().hz);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AnswerkHz,
    ::testing::Values(ParseCase{"12.50", 12500}, ParseCase{"8.33", 8330}, ParseCase{"3.12", 3120},
                      ParseCase{"4.16", 4160}, ParseCase{"0.00", 0}, ParseCase{"999.99", 999990},
                      ParseCase{"999.999", 1008990}, ParseCase{"1000.00", kBadkHz},
                      ParseCase{"12.1000", kBadkHz}, ParseCase{"1250", kBadkHz},
                      ParseCase{"x.50", kBadkHz}, ParseCase{"12.5x", kBadkHz},
                      ParseCase{"-1.00", kBadkHz}, ParseCase{"1.-50", kBadkHz}));

class TypedMHz : public ::testing::TestWithParam<ParseCase> {};

TEST_P(TypedMHz, ReadsToTheHertz)
{
    EXPECT_EQ(InputStrToMHz(GetParam().text), GetParam().hz);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TypedMHz,
    ::testing::Values(
        ParseCase{"154.44375", 154443750}, ParseCase{"145", 145000000}, ParseCase{".5", 500000},
        ParseCase{"145.", 145000000}, ParseCase{"  0154.44375  ", 154443750},
        ParseCase{"\t0.1\t", 100000}, ParseCase{"3000.0", 3000000000LL},
        ParseCase{"2148.5", 2148500000LL}, ParseCase{"3000.000001", 3000000001LL},
        ParseCase{"154.4437509", 154443750}, ParseCase{"999.999999", 999999999},
        ParseCase{"3000.5", 3000500000LL}, ParseCase{"1. 5", 1500000},
        // undotted text is not range-tested here; the callers reject it
        ParseCase{"5000", 5000000000LL}, ParseCase{"3001", 3001000000LL},
        ParseCase{"  145", 145000000}, ParseCase{"-5", -5000000},
        ParseCase{"abc", 4000000000LL}, ParseCase{"", 4000000000LL},
        ParseCase{"145 ", 4000000000LL},
        // failures
        ParseCase{"1.2.3", kBadMHz}, ParseCase{"3001.0", kBadMHz}, ParseCase{"-1.5", kBadMHz},
        ParseCase{"+1.5", kBadMHz}, ParseCase{"1.+5", kBadMHz}, ParseCase{"1.-5", kBadMHz},
        ParseCase{"1 4.5", kBadMHz}, ParseCase{"14.5 5", kBadMHz}, ParseCase{"a.5", kBadMHz},
        ParseCase{"1.x", kBadMHz},
        // whole MHz counts whose hertz overflow 64 bits
        ParseCase{"9223372036855", kBadMHz}, ParseCase{"-9223372036855", kBadMHz},
        ParseCase{"9223372036854", 9223372036854000000LL}));

TEST(TableOffset, SignIndexAndEntry)
{
    std::array<std::int32_t, 40> table{};
    table[20] = 100000;
    table[38] = 126350000;
    table[5] = 999999999;
    EXPECT_EQ(TableOffsetStr(-20, table), "-20(000.10000)");
    EXPECT_EQ(TableOffsetStr(20, table), "+20(000.10000)");
    EXPECT_EQ(TableOffsetStr(0, table), "+00(000.00000)");
    EXPECT_EQ(TableOffsetStr(38, table), "+38(126.35000)");
    EXPECT_EQ(TableOffsetStr(-5, table), "-05(999.99999)");
    // a damaged index beyond the table must not read past it
    EXPECT_EQ(TableOffsetStr(40, table), "+40(000.00000)");
    EXPECT_EQ(TableOffsetStr(-32768, table), "-68(000.00000)");
    EXPECT_EQ(TableOffsetStr(3, {}), "+03(000.00000)");
}

}  // namespace

namespace {

// What one form writes, the matching reader must give back (at the form's resolution).
TEST(RoundTrip, ReadersInvertTheWriters)
{
    std::vector<std::int64_t> values{0, 9, 10, 100000, 999999, 1000000, 2147483647, 2147483648LL,
                                     2999999999LL, 3000000000LL};
    std::uint64_t x = 12345;  // fixed-seed generator: the same values every run
    for (int i = 0; i < 2000; ++i) {
        x = x * 6364136223846793005ULL + 1442695040888963407ULL;
        values.push_back(static_cast<std::int64_t>((x >> 11) % 3000000001ULL));
    }
    for (const std::int64_t f : values) {
        SCOPED_TRACE(f);
        const std::int64_t cut = f - f % 10;
        EXPECT_EQ(InputStrToMHz(cmdfreq::MHzToDotStr(f)), f);
        EXPECT_EQ(InputStrToMHz(dlgfreq::MHzToDotStr(f)), cut);
        EXPECT_EQ(InputStrToMHz(TableMHzStr(f)), cut);
        // the receiver's answer form is the fixed form: five decimals of 10 Hz units
        EXPECT_EQ(DotStrToMHz(dlgfreq::MHzToDotStr(f)), cut);
        const auto k = static_cast<std::int32_t>(f % 1000000);
        EXPECT_EQ(DotStrTokHz(TablekHzStr(k)), k - k % 10);
    }
}

}  // namespace
