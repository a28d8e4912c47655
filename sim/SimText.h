// Text forms the receiver reads and writes on the line: strict numbers in commands,
// fixed-width frequencies and codes in answers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sim {

// Plain decimal digits only (1 to 10 of them), no sign, no blanks.
std::optional<std::int64_t> ParseDigits(std::string_view s);

// Optional "+" or "-" followed by digits.
std::optional<std::int64_t> ParseSigned(std::string_view s);

// Compact MHz as commands carry it: integer MHz, optionally "." and 1 to 6 fraction
// digits ("154.44375", "0.1", "145"). Result in Hz.
std::optional<std::int64_t> ParseCommandMHz(std::string_view s);

// Compact kHz: integer kHz, optionally "." and 1 to 3 fraction digits. Result in Hz.
std::optional<std::int64_t> ParseCommandkHz(std::string_view s);

// Answer MHz: four integer digits, ".", five digits of 10 Hz units ("0154.44375").
std::string FormatAnswerMHz(std::int64_t hz);

// Answer kHz: three integer digits, ".", two digits of 10 Hz units ("012.50").
std::string FormatAnswerkHz(std::int64_t hz);

// Compact forms, the way a command would carry a value (used by the README examples
// and the tests that build commands).
std::string FormatCompactMHz(std::int64_t hz);
std::string FormatCompactkHz(std::int64_t hz);

// Decimal with leading zeros to the given width.
std::string ZeroPad(std::int64_t v, int width);

// Upper-case hexadecimal with leading zeros to the given width.
std::string HexPad(std::int64_t v, int width);

// Cut or pad with blanks to exactly width characters.
std::string FixWidth(std::string_view s, std::size_t width);

}  // namespace sim
