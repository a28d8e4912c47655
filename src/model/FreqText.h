// Text forms of frequencies (all frequencies are integers in hertz).
//
//   cmdfreq::MHzToDotStr   compact MHz for command lines      154443750 -> "154.44375"
//   cmdfreq::kHzToDotStr   compact kHz for command lines      12500     -> "12.5"
//   DotStrToMHz            MHz of an answer field             "154.44375" -> 154443750
//   DotStrTokHz            kHz of an answer field             "12.50"     -> 12500
//   dlgfreq::MHzToDotStr   fixed MHz of the edit dialogs      154443750 -> "0154.44375"
//   InputStrToMHz          MHz typed into an edit box         "154.44375" -> 154443750
//   TableMHzStr            table column MHz                   154443750 -> " 154.44375"
//   TablekHzStr            table column kHz                   12500     -> " 12.50"
//   TableOffsetStr         table column offset                -20, 100000 -> "-20(000.10000)"
//
// The display forms show 10 Hz resolution and cut the hertz below 10, never round.
// Every caller passes non-negative values; a negative one is shown as "-" and its magnitude.
// The parsers return a failure mark that lies outside every accepted range, so callers
// only test the result against their own range.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

inline constexpr std::int64_t kBadMHz = 4000000000;  // failure mark of the MHz parsers
inline constexpr std::int32_t kBadkHz = 1000000;     // failure mark of the kHz parser

// Forms sent to the receiver: integer part, ".", fraction with trailing zeros dropped
// but at least one digit kept.
namespace cmdfreq {
std::string MHzToDotStr(std::int64_t v);
std::string kHzToDotStr(std::int32_t v);
}  // namespace cmdfreq

// Answer fields: digits, ".", digits counting 10 Hz units (so "0.5" is 50 Hz). No ".",
// text that is not a number, a negative part or a part out of range gives the failure mark.
std::int64_t DotStrToMHz(std::string_view s);
std::int32_t DotStrTokHz(std::string_view s);

// Fixed form of the dialogs: 4 digits, ".", 5 digits (only the rightmost 4 integer digits).
namespace dlgfreq {
std::string MHzToDotStr(std::int64_t v);
}  // namespace dlgfreq

// Typed MHz, with or without a decimal point; blanks around a dotted text are ignored.
// Without a point the whole text is an integer count of MHz and is not range-tested here
// (5000 gives 5000000000); with a point the integer part must be 0..3000 and the fraction
// is read to the hertz (a sign in either part makes the text invalid). Failure, and
// values whose hertz do not fit in 64 bits, give kBadMHz.
std::int64_t InputStrToMHz(std::string_view str);

// Table columns: integer part right-aligned with spaces (4 places for MHz, 3 for kHz).
std::string TableMHzStr(std::int64_t v);
std::string TablekHzStr(std::int32_t v);

// Offset column of the tables for a signed offset selection. An index beyond the table
// (only possible in a damaged record) shows the entry as 0.
std::string TableOffsetStr(std::int32_t offsetSel, std::span<const std::int32_t> offsetTable);
