// The one integer reading rule shared by every answer parser and input box.
//
// A field is read whole: leading blanks (space or tab) are skipped, one sign ("+" or "-")
// may follow, then at least one digit, and nothing may follow the digits (trailing blanks
// included). Text that does not fit, or whose value does not fit in 64 bits, gives the
// caller's default, which each caller picks outside its own accepted range.
#pragma once

#include <cstdint>
#include <string_view>

// Decimal digits 0-9.
std::int64_t ReadInt(std::string_view s, std::int64_t dflt);

// Hexadecimal digits 0-9, a-f, A-F, without any prefix ("0x" or "$" make the text invalid).
std::int64_t ReadHex(std::string_view s, std::int64_t dflt);
