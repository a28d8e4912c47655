#include "IntText.h"

#include <limits>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

int DigitValue(char c, int base)
{
    int v = -1;
    if (c >= '0' && c <= '9')
        v = c - '0';
    else if (c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
    return v < base ? v : -1;
}

std::int64_t ReadWithBase(std::string_view s, int base, std::int64_t dflt)
{
    std::size_t i = 0;
    while (i < s.size() && IsBlank(s[i]))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    if (i == s.size())
        return dflt;

    // The magnitude may reach one above INT64_MAX for the most negative value.
    const std::uint64_t limit =
        static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + (negative ? 1u : 0u);
    std::uint64_t magnitude = 0;
    for (; i < s.size(); ++i) {
        const int d = DigitValue(s[i], base);
        if (d < 0)
            return dflt;
        if (magnitude > (limit - static_cast<std::uint64_t>(d)) / static_cast<std::uint64_t>(base))
            return dflt;
        magnitude = magnitude * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(d);
    }
    if (!negative)
        return static_cast<std::int64_t>(magnitude);
    // Negate in unsigned arithmetic so that INT64_MIN needs no signed overflow.
    return static_cast<std::int64_t>(0u - magnitude);
}

}  // namespace

std::int64_t ReadInt(std::string_view s, std::int64_t dflt)
{
    return ReadWithBase(s, 10, dflt);
}

std::int64_t ReadHex(std::string_view s, std::int64_t dflt)
{
    return ReadWithBase(s, 16, dflt);
}
