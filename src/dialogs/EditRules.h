// The rules by which the edit dialogs turn typed text into record fields. Toolkit-free
// apart from QString, so they can be checked without a window.
#pragma once

#include "Records.h"

#include <QString>

#include <cstdint>

namespace editrules {

constexpr int kTitleChars = 12;
constexpr std::int64_t kMinFreq = 100000;
constexpr std::int64_t kMaxFreq = 3000000000;
constexpr std::int64_t kAmpMinFreq = 18000000;

// A typed frequency in Hz, or -1 when the text is no frequency the dialogs accept.
std::int64_t FreqFromInput(const QString& text);

// The fixed MHz form shown in the frequency boxes.
QString FreqBoxText(std::int64_t hz);

// The typed title padded with spaces, or cut, to exactly 12 characters. A surrogate pair is
// never split: a lone high half at the cut becomes a space.
QString TitleBoxText(const QString& typed);

// Stores the 12 characters of a title box followed by NULs.
void StoreTitle(char16_t (&title)[kTitleLen], const QString& boxText);

// V.SCR typed in Hz: cut down to a multiple of 10; outside 2000..7000 (or not a number) it
// becomes 2000 and the box must show "2000" (replaced = true).
struct VoiceScrInput {
    std::uint16_t stored;  // in units of 10 Hz
    bool replaced;
};
VoiceScrInput VoiceScrFromInput(const QString& text);

// A decimal number box: the value when it reads as 0..max, else 0.
std::uint16_t NumberFromInput(const QString& text, std::uint16_t max);

// The NAC box: hexadecimal 0..4095, else 0; shown as three upper-case hex digits.
std::uint16_t NacFromInput(const QString& text);
QString NacText(std::uint16_t nac);

// "AMP" is refused for a known frequency below 18 MHz; without a frequency it is allowed.
bool AmpRefused(std::int64_t freq);

}  // namespace editrules
