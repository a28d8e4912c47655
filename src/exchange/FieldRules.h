// The values the program itself accepts in every stored field: the ranges of the answer
// parsers, the edit dialogs and the group answers, gathered in one table per record so that
// the image reader and the channel import check a value against the same rule.
//
// Each record's fields are offered to a visitor in record order, with their name (the
// field's own name) and their rule. The visitor gets a reference to the field, so the same
// list serves writing (const record) and reading (mutable record).
#pragma once

#include "Records.h"
#include "Store.h"

#include <cstdint>
#include <string_view>

namespace exchange {

// An integer rule: lo..hi, or also exactly 0 when zeroAllowed (a field that holds 0 until
// something fills it, such as a frequency or the V.SCR value of a blank record).
struct IntRule {
    std::int64_t lo;
    std::int64_t hi;
    bool zeroAllowed = false;

    constexpr bool Accepts(std::int64_t v) const { return (v >= lo && v <= hi) || (zeroAllowed && v == 0); }
};

inline constexpr std::int64_t kMinFreq = 100000;
inline constexpr std::int64_t kMaxFreq = 3000000000;
// Frequencies below this refuse "AMP" in the channel dialog.
inline constexpr std::int64_t kAmpMinFreq = 18000000;
inline constexpr int kMaxTitleChars = 12;  // what the dialogs store

inline constexpr IntRule kFreqRule{kMinFreq, kMaxFreq, true};
inline constexpr IntRule kStepRule{0, 999999};     // steps and adjusts read as kHz answers
inline constexpr IntRule kFlagRule{0, 1};
inline constexpr IntRule kReservedRule{0, 0};      // fields no operation ever sets
inline constexpr IntRule kReadStateRule{0, 2};
inline constexpr IntRule kOffsetEntryRule{0, 2147483647};  // what the offset answer stores
inline constexpr IntRule kRegionRule{0, 2};
inline constexpr IntRule kDelayRule{0, 100};
inline constexpr IntRule kFreeRule{0, 60};
// Shared channel and search bank fields that the channel import also reads as numbers.
inline constexpr IntRule kOffsetSelRule{-39, 39};
inline constexpr IntRule kVoiceScrRule{200, 700, true};  // units of 10 Hz; 0 in a blank record
inline constexpr IntRule kDcrCodeRule{0, 32767};
inline constexpr IntRule kDcrWhiteRule{0, 511};
inline constexpr IntRule kNacRule{0, 4095};
inline constexpr IntRule kColorCodeRule{0, 16};
inline constexpr IntRule kRanCodeRule{0, 64};

// Highest IF bandwidth position for an AMode: the rule of the bandwidth answer.
constexpr int IFBWMaxFor(std::uint8_t aMode)
{
    if (aMode == 1)
        return 3;
    if (aMode >= 2 && aMode <= 6)
        return 1;
    return 4;
}

// The 30 fields that channels and search banks share, OffsetFreq through NXDN_RANCodeMute.
template <class R, class V>
void VisitSharedFields(R& r, V&& v)
{
    v("OffsetFreq", r.OffsetFreq, kOffsetSelRule);
    v("VoiceSCR", r.VoiceSCR, kVoiceScrRule);
    v("DCR_CODE", r.DCR_CODE, kDcrCodeRule);
    v("DCR_WHITE", r.DCR_WHITE, kDcrWhiteRule);
    v("RF_VSQ", r.RF_VSQ, kReservedRule);
    v("RF_SQ_N_L_Type", r.RF_SQ_N_L_Type, IntRule{0, 2});
    v("RF_AGC", r.RF_AGC, IntRule{0, 3});
    v("RF_DualEnable", r.RF_DualEnable, kReservedRule);
    v("RF_TETRA_Slot", r.RF_TETRA_Slot, IntRule{0, 4});
    v("RF_IF_Inv", r.RF_IF_Inv, kFlagRule);
    v("RF_ATT", r.RF_ATT, IntRule{0, 2});
    v("Dem_DENOIS", r.Dem_DENOIS, IntRule{0, 3});
    v("Dem_AFC", r.Dem_AFC, kReservedRule);
    v("Dem_SQL_Type", r.Dem_SQL_Type, IntRule{0, 4});
    v("Dem_DModeEnable", r.Dem_DModeEnable, kFlagRule);
    v("Dem_DigiDecode", r.Dem_DigiDecode, kFlagRule);
    v("Dem_DMR_Slot", r.Dem_DMR_Slot, IntRule{0, 3});
    v("Dem_AutoBand", r.Dem_AutoBand, kFlagRule);
    v("P25_NACCode", r.P25_NACCode, kNacRule);
    v("P25_NACCodeMute", r.P25_NACCodeMute, kFlagRule);
    v("AMode", r.AMode, IntRule{0, 9});  // the mode answer's digit; the dialog offers 0..6
    v("DMode", r.DMode, IntRule{0, 9});
    // Checked again against AMode once the whole record is read (IFBWMaxFor).
    v("IFBW", r.IFBW, IntRule{0, 4});
    v("CTCSS_CODE", r.CTCSS_CODE, IntRule{0, 53});
    v("RevTone", r.RevTone, kReservedRule);
    v("DCS_CODE", r.DCS_CODE, IntRule{0, 107});
    v("DMR_ColorCode", r.DMR_ColorCode, kColorCodeRule);
    v("DMR_ColorCodeMute", r.DMR_ColorCodeMute, kFlagRule);
    v("NXDN_RANCode", r.NXDN_RANCode, kRanCodeRule);
    v("NXDN_RANCodeMute", r.NXDN_RANCodeMute, kFlagRule);
}

// Integer fields of a channel; the title is handled on its own.
template <class R, class V>
void VisitChannelFields(R& r, V&& v)
{
    v("RxFreq", r.RxFreq, kFreqRule);
    v("StepFreq", r.StepFreq, kStepRule);
    v("AdjFreq", r.AdjFreq, kStepRule);
    VisitSharedFields(r, v);
    v("MemFlag_RegistedFlag", r.MemFlag_RegistedFlag, kFlagRule);
    v("MemFlag_Select", r.MemFlag_Select, kReservedRule);
    v("MemFlag_Pass", r.MemFlag_Pass, kFlagRule);
    v("MemFlag_BankFree", r.MemFlag_BankFree, kReservedRule);
    v("MemFlag_ProtectFlag", r.MemFlag_ProtectFlag, kFlagRule);
    v("ReadState", r.ReadState, kReadStateRule);
}

template <class R, class V>
void VisitBankHeaderFields(R& r, V&& v)
{
    v("ChCount", r.ChCount, kReservedRule);
    v("MemBankFlag_RegistedFlag", r.MemBankFlag_RegistedFlag, kFlagRule);
    v("MemBankFlag_ProtectFlag", r.MemBankFlag_ProtectFlag, kFlagRule);
    v("MemBankFlag_Pass", r.MemBankFlag_Pass, kReservedRule);
    v("ReadState", r.ReadState, kFlagRule);  // the bank-header answer sets 1, nothing sets 2
}

template <class R, class V>
void VisitSearchBankFields(R& r, V&& v)
{
    v("LowFreq", r.LowFreq, kFreqRule);
    v("HighFreq", r.HighFreq, kFreqRule);
    v("StepFreq", r.StepFreq, kStepRule);
    v("AdjFreq", r.AdjFreq, kStepRule);
    VisitSharedFields(r, v);
    v("Flags_RegistedFlag", r.Flags_RegistedFlag, kFlagRule);
    v("Flags_ProtectFlag", r.Flags_ProtectFlag, kFlagRule);
    v("Flags_Pass", r.Flags_Pass, kReservedRule);
    v("ReadState", r.ReadState, kReadStateRule);
}

// Group fields apart from the link mask. Scan groups never carry the store flag.
template <class R, class V>
void VisitGroupFields(R& r, bool searchGroup, V&& v)
{
    v("Delay", r.Delay, kDelayRule);
    v("Free", r.Free, kFreeRule);
    v("GrpFlag_RegistedFlag", r.GrpFlag_RegistedFlag, kFlagRule);
    v("GrpFlag_AutoStore", r.GrpFlag_AutoStore, searchGroup ? kFlagRule : kReservedRule);
    v("GrpFlag_LinkEnable", r.GrpFlag_LinkEnable, kFlagRule);
}

// CR and LF can never come from the receiver (they end or vanish from its lines) and would
// split a command line, so no title may hold them.
constexpr bool TitleCharAllowed(char16_t c)
{
    return c != u'\r' && c != u'\n';
}

}  // namespace exchange
