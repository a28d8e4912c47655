#include "FreqText.h"

#include "IntText.h"

#include <limits>

namespace {

struct Magnitude {
    bool negative;
    std::uint64_t value;
};

Magnitude Split(std::int64_t v)
{
    const auto u = static_cast<std::uint64_t>(v);
    return v < 0 ? Magnitude{true, 0u - u} : Magnitude{false, u};
}

std::string SignOf(const Magnitude& m)
{
    return m.negative ? "-" : "";
}

// Decimal digits of x with leading zeros to at least n places; only the rightmost n stay.
std::string Digits(std::uint64_t x, std::size_t n)
{
    std::string s = std::to_string(x);
    if (s.size() < n)
        s.insert(0, n - s.size(), '0');
    return s.substr(s.size() - n);
}

// Decimal digits of x right-aligned with spaces in n places; only the rightmost n stay.
std::string Padded(std::uint64_t x, std::size_t n)
{
    std::string s = std::to_string(x);
    if (s.size() < n)
        s.insert(0, n - s.size(), ' ');
    return s.substr(s.size() - n);
}

// Integer part, ".", `places` fraction digits with trailing zeros dropped down to one.
std::string Compact(std::int64_t v, std::uint64_t unit, std::size_t places)
{
    const Magnitude m = Split(v);
    std::string fraction = Digits(m.value % unit, places);
    while (fraction.size() > 1 && fraction.back() == '0')
        fraction.pop_back();
    return SignOf(m) + std::to_string(m.value / unit) + "." + fraction;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool StartsWithSign(std::string_view s)
{
    return !s.empty() && (s.front() == '+' || s.front() == '-');
}

}  // namespace

namespace cmdfreq {

std::string MHzToDotStr(std::int64_t v)
{
    return Compact(v, 1000000, 6);
}

std::string kHzToDotStr(std::int32_t v)
{
    return Compact(v, 1000, 3);
}

}  // namespace cmdfreq

std::int64_t DotStrToMHz(std::string_view s)
{
    const auto dot = s.find('.');
    if (dot == std::string_view::npos)
        return kBadMHz;
    const std::int64_t m = ReadInt(s.substr(0, dot), 1000000);
    const std::int64_t d = ReadInt(s.substr(dot + 1), 100000);
    // A negative fraction would pull a valid-looking value below its integer MHz.
    if (m < 0 || d < 0 || m >= 4000 || d >= 100000)
        return kBadMHz;
    return m * 1000000 + d * 10;
}

std::int32_t DotStrTokHz(std::string_view s)
{
    const auto dot = s.find('.');
    if (dot == std::string_view::npos)
        return kBadkHz;
    const std::int64_t k = ReadInt(s.substr(0, dot), 1000);
    const std::int64_t d = ReadInt(s.substr(dot + 1), 1000);
    // Callers only test "below 1000000", so a negative step must fail here.
    if (k < 0 || d < 0 || k >= 1000 || d >= 1000)
        return kBadkHz;
    return static_cast<std::int32_t>(k * 1000 + d * 10);
}

namespace dlgfreq {

std::string MHzToDotStr(std::int64_t v)
{
    const Magnitude m = Split(v);
    return SignOf(m) + Digits(m.value / 1000000, 4) + "." + Digits(m.value % 1000000 / 10, 5);
}

}  // namespace dlgfreq

std::int64_t InputStrToMHz(std::string_view str)
{
    constexpr std::int64_t kHzPerMHz = 1000000;
    const auto dot = str.find('.');
    if (dot == std::string_view::npos) {
        const std::int64_t m = ReadInt(str, 4000);
        if (m > std::numeric_limits<std::int64_t>::max() / kHzPerMHz ||
            m < std::numeric_limits<std::int64_t>::min() / kHzPerMHz)
            return kBadMHz;
        return m * kHzPerMHz;
    }

    // "0" in front makes an empty integer part read as 0 and a sign invalid.
    const std::string intText = "0" + std::string(Trim(str.substr(0, dot)));
    const std::string_view fracTrimmed = Trim(str.substr(dot + 1));
    if (StartsWithSign(fracTrimmed))
        return kBadMHz;
    // Pad to the hertz and ignore any digit beyond the sixth.
    const std::string fracText = (std::string(fracTrimmed) + "00000").substr(0, 6);

    const std::int64_t m = ReadInt(intText, 4000);
    const std::int64_t d = ReadInt(fracText, 1000000);
    if (m > 3000 || d > 999999)
        return kBadMHz;
    return m * kHzPerMHz + d;
}

std::string TableMHzStr(std::int64_t v)
{
    const Magnitude m = Split(v);
    return SignOf(m) + Padded(m.value / 1000000, 4) + "." + Digits(m.value % 1000000 / 10, 5);
}

std::string TablekHzStr(std::int32_t v)
{
    const Magnitude m = Split(v);
    return SignOf(m) + Padded(m.value / 1000, 3) + "." + Digits(m.value % 1000 / 10, 2);
}

std::string TableOffsetStr(std::int32_t offsetSel, std::span<const std::int32_t> offsetTable)
{
    const Magnitude index = Split(offsetSel);
    const std::int32_t entry = index.value < offsetTable.size() ? offsetTable[index.value] : 0;
    const Magnitude t = Split(entry);
    return std::string(offsetSel < 0 ? "-" : "+") + Digits(index.value, 2) + "(" +
           SignOf(t) + Digits(t.value / 1000000, 3) + "." + Digits(t.value % 1000000 / 10, 5) + ")";
}
