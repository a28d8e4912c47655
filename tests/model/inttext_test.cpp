#include "IntText.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string_view>

namespace {

constexpr std::int64_t kDflt = -777;

struct IntCase {
    std::string_view text;
    std::int64_t dec;  // ReadInt
    std::int64_t hex;  // ReadHex
};

void PrintTo(const IntCase& c, std::ostream* os)
{
    *os << '"' << c.text << '"';
}

class IntRule : public ::testing::TestWithParam<IntCase> {};

TEST_P(IntRule, ReadsWholeFieldOrGivesDefault)
{
    const IntCase& c = GetParam();
    EXPECT_EQ(ReadInt(c.text, kDflt), c.dec);
    EXPECT_EQ(ReadHex(c.text, kDflt), c.hex);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IntRule,
    ::testing::Values(
        IntCase{"0", 0, 0}, IntCase{"42", 42, 0x42}, IntCase{"007", 7, 7},
        // leading blanks skipped, one sign allowed
        IntCase{"   12", 12, 0x12}, IntCase{"\t 9", 9, 9}, IntCase{"-12", -12, -0x12},
        IntCase{"+12", 12, 0x12}, IntCase{"  -5", -5, -5},
        // nothing may follow the digits, not even a blank
        IntCase{"12 ", kDflt, kDflt}, IntCase{"12x", kDflt, kDflt}, IntCase{"1 2", kDflt, kDflt},
        IntCase{"1.5", kDflt, kDflt},
        // no digits, two signs, blank between sign and digits
        IntCase{"", kDflt, kDflt}, IntCase{"   ", kDflt, kDflt}, IntCase{"+", kDflt, kDflt},
        IntCase{"-", kDflt, kDflt}, IntCase{"+-1", kDflt, kDflt}, IntCase{"--1", kDflt, kDflt},
        IntCase{"- 1", kDflt, kDflt},
        // hexadecimal letters either case; no prefixes
        IntCase{"1A3", kDflt, 419}, IntCase{"fff", kDflt, 4095}, IntCase{"FfF", kDflt, 4095},
        IntCase{"abc", kDflt, 2748}, IntCase{"1g", kDflt, kDflt}, IntCase{"0x1A", kDflt, kDflt},
        IntCase{"$1A", kDflt, kDflt},
        // 64-bit limits and overflow
        IntCase{"9223372036854775807", std::numeric_limits<std::int64_t>::max(), kDflt},
        IntCase{"-9223372036854775808", std::numeric_limits<std::int64_t>::min(), kDflt},
        IntCase{"9223372036854775808", kDflt, kDflt},
        IntCase{"-9223372036854775809", kDflt, kDflt},
        IntCase{"99999999999999999999999", kDflt, kDflt},
        IntCase{"7FFFFFFFFFFFFFFF", kDflt, std::numeric_limits<std::int64_t>::max()},
        IntCase{"-8000000000000000", -8000000000000000LL, std::numeric_limits<std::int64_t>::min()},
        IntCase{"8000000000000000", 8000000000000000LL, kDflt},
        IntCase{"3000000000", 3000000000LL, 0x3000000000LL}));

TEST(IntRule, EmbeddedNulIsNotADigit)
{
    const std::string_view withNul("12\0", 3);
    EXPECT_EQ(ReadInt(withNul, kDflt), kDflt);
}

}  // namespace
