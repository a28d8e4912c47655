// Pointers into the fields that a channel and a search bank share (same names, same
// meaning), so that one set of controls and handlers serves both edit dialogs.
#pragma once

#include "Records.h"

#include <cstdint>

struct SharedFields {
    std::int16_t* OffsetFreq;
    std::uint16_t* VoiceSCR;
    std::uint16_t* DCR_CODE;
    std::uint16_t* DCR_WHITE;
    std::uint8_t* RF_SQ_N_L_Type;
    std::uint8_t* RF_AGC;
    std::uint8_t* RF_TETRA_Slot;
    std::uint8_t* RF_IF_Inv;
    std::uint8_t* RF_ATT;
    std::uint8_t* Dem_DENOIS;
    std::uint8_t* Dem_SQL_Type;
    std::uint8_t* Dem_DModeEnable;
    std::uint8_t* Dem_DigiDecode;
    std::uint8_t* Dem_DMR_Slot;
    std::uint8_t* Dem_AutoBand;
    std::uint16_t* P25_NACCode;
    std::uint8_t* P25_NACCodeMute;
    std::uint8_t* AMode;
    std::uint8_t* DMode;
    std::uint8_t* IFBW;
    std::uint8_t* CTCSS_CODE;
    std::uint8_t* DCS_CODE;
    std::uint8_t* DMR_ColorCode;
    std::uint8_t* DMR_ColorCodeMute;
    std::uint8_t* NXDN_RANCode;
    std::uint8_t* NXDN_RANCodeMute;
    std::uint8_t* ProtectFlag;  // MemFlag_ProtectFlag or Flags_ProtectFlag
    std::uint8_t* ReadState;
    char16_t (*Title)[kTitleLen];
};

template <class Rec>
SharedFields BindSharedFields(Rec& r, std::uint8_t& protectFlag)
{
    return SharedFields{
        &r.OffsetFreq, &r.VoiceSCR, &r.DCR_CODE, &r.DCR_WHITE, &r.RF_SQ_N_L_Type, &r.RF_AGC,
        &r.RF_TETRA_Slot, &r.RF_IF_Inv, &r.RF_ATT, &r.Dem_DENOIS, &r.Dem_SQL_Type,
        &r.Dem_DModeEnable, &r.Dem_DigiDecode, &r.Dem_DMR_Slot, &r.Dem_AutoBand, &r.P25_NACCode,
        &r.P25_NACCodeMute, &r.AMode, &r.DMode, &r.IFBW, &r.CTCSS_CODE, &r.DCS_CODE,
        &r.DMR_ColorCode, &r.DMR_ColorCodeMute, &r.NXDN_RANCode, &r.NXDN_RANCodeMute,
        &protectFlag, &r.ReadState, &r.Title,
    };
}
