// The four plain records of the receiver image. Copied by value; nothing on the heap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>

constexpr int kTitleLen = 14;

// One memory channel.
struct TMemChElement {
    std::int64_t RxFreq;
    std::int32_t StepFreq;
    std::int32_t AdjFreq;
    std::int16_t OffsetFreq;
    std::uint16_t VoiceSCR;
    std::uint16_t DCR_CODE;
    std::uint16_t DCR_WHITE;
    std::uint8_t RF_VSQ;
    std::uint8_t RF_SQ_N_L_Type;
    std::uint8_t RF_AGC;
    std::uint8_t RF_DualEnable;
    std::uint8_t RF_TETRA_Slot;
    std::uint8_t RF_IF_Inv;
    std::uint8_t RF_ATT;
    std::uint8_t Dem_DENOIS;
    std::uint8_t Dem_AFC;
    std::uint8_t Dem_SQL_Type;
    std::uint8_t Dem_DModeEnable;
    std::uint8_t Dem_DigiDecode;
    std::uint8_t Dem_DMR_Slot;
    std::uint8_t Dem_AutoBand;
    std::uint16_t P25_NACCode;
    std::uint8_t P25_NACCodeMute;
    std::uint8_t AMode;
    std::uint8_t DMode;
    std::uint8_t IFBW;
    std::uint8_t CTCSS_CODE;
    std::uint8_t RevTone;
    std::uint8_t DCS_CODE;
    std::uint8_t DMR_ColorCode;
    std::uint8_t DMR_ColorCodeMute;
    std::uint8_t NXDN_RANCode;
    std::uint8_t NXDN_RANCodeMute;
    std::uint8_t MemFlag_RegistedFlag;
    std::uint8_t MemFlag_Select;
    std::uint8_t MemFlag_Pass;
    std::uint8_t MemFlag_BankFree;
    std::uint8_t MemFlag_ProtectFlag;
    std::uint8_t ReadState;
    char16_t Title[kTitleLen];
};

// One memory bank header.
struct TMemBankElement {
    std::uint8_t ChCount;
    std::uint8_t MemBankFlag_RegistedFlag;
    std::uint8_t MemBankFlag_ProtectFlag;
    std::uint8_t MemBankFlag_Pass;
    std::uint8_t ReadState;
    char16_t Title[kTitleLen];
};

// One search bank; fields OffsetFreq..NXDN_RANCodeMute match TMemChElement's.
struct TSearchBankElement {
    std::int64_t LowFreq;
    std::int64_t HighFreq;
    std::int32_t StepFreq;
    std::int32_t AdjFreq;
    std::int16_t OffsetFreq;
    std::uint16_t VoiceSCR;
    std::uint16_t DCR_CODE;
    std::uint16_t DCR_WHITE;
    std::uint8_t RF_VSQ;
    std::uint8_t RF_SQ_N_L_Type;
    std::uint8_t RF_AGC;
    std::uint8_t RF_DualEnable;
    std::uint8_t RF_TETRA_Slot;
    std::uint8_t RF_IF_Inv;
    std::uint8_t RF_ATT;
    std::uint8_t Dem_DENOIS;
    std::uint8_t Dem_AFC;
    std::uint8_t Dem_SQL_Type;
    std::uint8_t Dem_DModeEnable;
    std::uint8_t Dem_DigiDecode;
    std::uint8_t Dem_DMR_Slot;
    std::uint8_t Dem_AutoBand;
    std::uint16_t P25_NACCode;
    std::uint8_t P25_NACCodeMute;
    std::uint8_t AMode;
    std::uint8_t DMode;
    std::uint8_t IFBW;
    std::uint8_t CTCSS_CODE;
    std::uint8_t RevTone;
    std::uint8_t DCS_CODE;
    std::uint8_t DMR_ColorCode;
    std::uint8_t DMR_ColorCodeMute;
    std::uint8_t NXDN_RANCode;
    std::uint8_t NXDN_RANCodeMute;
    std::uint8_t Flags_RegistedFlag;
    std::uint8_t Flags_ProtectFlag;
    std::uint8_t Flags_Pass;
    std::uint8_t ReadState;
    char16_t Title[kTitleLen];
};

// One scan group (links memory banks) or search group (links search banks).
struct TSearchGrpElement {
    std::uint8_t Link[5];
    std::uint8_t Delay;
    std::uint8_t Free;
    std::uint8_t GrpFlag_RegistedFlag;
    std::uint8_t GrpFlag_AutoStore;
    std::uint8_t GrpFlag_LinkEnable;
};

// Records must stay trivially copyable value types.
static_assert(std::is_trivially_copyable_v<TMemChElement>);
static_assert(std::is_trivially_copyable_v<TSearchBankElement>);
static_assert(sizeof(TSearchGrpElement) == 10);
static_assert(offsetof(TMemChElement, StepFreq) == 8);
static_assert(offsetof(TMemChElement, OffsetFreq) == 16);
static_assert(offsetof(TMemChElement, RF_VSQ) == 24);
static_assert(offsetof(TMemChElement, P25_NACCode) == 38);
static_assert(offsetof(TMemChElement, Title) == 58);
static_assert(offsetof(TSearchBankElement, OffsetFreq) == 24);
static_assert(offsetof(TSearchBankElement, P25_NACCode) == 46);
static_assert(offsetof(TSearchBankElement, Title) == 64);
// The 30 shared fields sit at the same distance from OffsetFreq in both records.
static_assert(offsetof(TMemChElement, NXDN_RANCodeMute) - offsetof(TMemChElement, OffsetFreq) ==
              offsetof(TSearchBankElement, NXDN_RANCodeMute) - offsetof(TSearchBankElement, OffsetFreq));

// Title helpers. The text of a title is the characters before the first NUL (all 14 when none).
std::u16string TitleText(const char16_t (&title)[kTitleLen]);
// Stores up to 14 characters of text, then NULs.
void SetTitleText(char16_t (&title)[kTitleLen], std::u16string_view text);
// The blank template title: 12 spaces and two NULs.
void SetBlankTitle(char16_t (&title)[kTitleLen]);
