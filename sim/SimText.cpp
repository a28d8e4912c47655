#include "SimText.h"

#include <cstdio>

namespace sim {

namespace {

bool AllDigits(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

// Integer part and fraction (scaled to `fracDigits` places) of a dotted decimal.
std::optional<std::int64_t> ParseScaled(std::string_view s, int fracDigits, std::int64_t unit) {
    const auto dot = s.find('.');
    std::string_view whole = dot == std::string_view::npos ? s : s.substr(0, dot);
    std::string_view frac = dot == std::string_view::npos ? std::string_view{} : s.substr(dot + 1);
    if (whole.size() > 6 || !AllDigits(whole)) return std::nullopt;
    if (dot != std::string_view::npos &&
        (frac.empty() || frac.size() > static_cast<std::size_t>(fracDigits) || !AllDigits(frac)))
        return std::nullopt;
    std::int64_t f = 0;
    for (int i = 0; i < fracDigits; ++i) {
        f *= 10;
        if (static_cast<std::size_t>(i) < frac.size()) f += frac[i] - '0';
    }
    return *ParseDigits(whole) * unit + f;
}

}  // namespace

std::optional<std::int64_t> ParseDigits(std::string_view s) {
    if (s.size() > 10 || !AllDigits(s)) return std::nullopt;
    std::int64_t v = 0;
    for (char c : s) v = v * 10 + (c - '0');
    return v;
}

std::optional<std::int64_t> ParseSigned(std::string_view s) {
    bool neg = false;
    if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
        neg = s[0] == '-';
        s.remove_prefix(1);
    }
    auto v = ParseDigits(s);
    if (!v) return std::nullopt;
    return neg ? -*v : *v;
}

std::optional<std::int64_t> ParseCommandMHz(std::string_view s) {
    return ParseScaled(s, 6, 1000000);
}

std::optional<std::int64_t> ParseCommandkHz(std::string_view s) {
    return ParseScaled(s, 3, 1000);
}

std::string FormatAnswerMHz(std::int64_t hz) {
    if (hz < 0) hz = 0;
    return ZeroPad(hz / 1000000, 4) + "." + ZeroPad((hz % 1000000) / 10, 5);
}

std::string FormatAnswerkHz(std::int64_t hz) {
    if (hz < 0) hz = 0;
    return ZeroPad(hz / 1000, 3) + "." + ZeroPad((hz % 1000) / 10, 2);
}

namespace {
std::string CompactForm(std::int64_t v, std::int64_t unit, int digits) {
    std::string frac = ZeroPad(v % unit, digits);
    while (frac.size() > 1 && frac.back() == '0') frac.pop_back();
    return std::to_string(v / unit) + "." + frac;
}
}  // namespace

std::string FormatCompactMHz(std::int64_t hz) { return CompactForm(hz, 1000000, 6); }
std::string FormatCompactkHz(std::int64_t hz) { return CompactForm(hz, 1000, 3); }

std::string ZeroPad(std::int64_t v, int width) {
    std::string s = std::to_string(v < 0 ? -v : v);
    if (static_cast<int>(s.size()) < width) s.insert(0, width - s.size(), '0');
    return v < 0 ? "-" + s : s;
}

std::string HexPad(std::int64_t v, int width) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%0*llX", width, static_cast<unsigned long long>(v));
    return buf;
}

std::string FixWidth(std::string_view s, std::size_t width) {
    std::string r(s.substr(0, width));
    r.resize(width, ' ');
    return r;
}

}  // namespace sim
