// The one-digit digital-mode code of the receiver's mode field and the DMode it stands for.
// Parsers read the digit through DModeCodeTable; writers and the simulator use the inverse.
#pragma once

#include <array>
#include <cstdint>

// Code digit -> DMode (0 "DSTR" .. 9 "D-AU").
inline constexpr std::array<std::uint8_t, 10> DModeCodeTable{9, 0, 1, 6, 3, 5, 4, 2, 7, 8};

// DMode of a code digit 0..9; -1 for any other value.
constexpr int DModeFromCodeDigit(int digit)
{
    return digit >= 0 && digit < static_cast<int>(DModeCodeTable.size()) ? DModeCodeTable[digit] : -1;
}

// Code digit of a DMode 0..9; -1 for any other value (such as the band plan's 128).
constexpr int CodeDigitFromDMode(int dmode)
{
    for (int digit = 0; digit < static_cast<int>(DModeCodeTable.size()); ++digit)
        if (DModeCodeTable[digit] == dmode)
            return digit;
    return -1;
}

static_assert(CodeDigitFromDMode(DModeFromCodeDigit(0)) == 0 && CodeDigitFromDMode(9) == 0);
