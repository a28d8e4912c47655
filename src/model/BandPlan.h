// The per-region band plan and the F-AU rule: with F-AU on, a record's frequency decides
// its step, step adjust, mode, IF bandwidth and offset selection.
#pragma once

#include "Records.h"

#include <array>
#include <cstdint>

// One band: it covers the frequencies above LowerEdge up to and including the next row's
// LowerEdge. The other fields are copied into the record.
struct TAutoBandRow {
    std::int64_t LowerEdge;
    std::int32_t StepFreq;
    std::int32_t AdjFreq;
    std::uint8_t Dem_DModeEnable;
    std::uint8_t AMode;
    std::uint8_t DMode;
    std::uint8_t IFBW;
    std::int8_t OffsetFreq;
};

inline constexpr int kRegionCount = 3;  // 0 "USA", 1 "JAPAN", 2 "EURO."
inline constexpr int kAutoBandRows = 196;
// Edge of the closing rows that follow the last band: one above the highest frequency.
inline constexpr std::int64_t kAutoBandClosingEdge = 3000000001;
// DMode of plan rows whose signal may be any digital mode. It is no mode-list position,
// so the rule stores kAutoDigitalSelects ("D-AU", the receiver's automatic digital
// detection) instead, keeping DMode within 0..9.
inline constexpr std::uint8_t kAutoDigitalMode = 128;
inline constexpr std::uint8_t kAutoDigitalSelects = 9;

using TAutoBandPlan = std::array<TAutoBandRow, kAutoBandRows>;

// Indexed by Region.
extern const std::array<TAutoBandPlan, kRegionCount> AutoBandTable;

// The plan row a frequency selects: the first i in 0..194 with f <= edge of row i + 1.
// -1 when there is none, when it is row 194 (its band lies above every accepted
// frequency), or when the region is not 0..2.
int AutoBandRowIndex(std::int64_t f, int region);

// Apply the rule: false and the record unchanged when F-AU is off, the frequency
// (RxFreq, LowFreq) is 0 or no row matches; otherwise the row's settings are copied in.
bool MemCh_F_AU_Apply(TMemChElement& memch, int region);
bool SearchBank_F_AU_Apply(TSearchBankElement& SB, int region);
