// Writing memory channels: the mode code, the main and detail commands of a channel, the
// command lists of the three write buttons and the write answer check. Toolkit-free.
#pragma once

#include "QueuedCommand.h"
#include "Records.h"
#include "Store.h"

#include <cstdint>
#include <string>
#include <string_view>

// The three-character mode code of the "MD" parameter. A digital mode without a code digit
// (the band plan's automatic digital 128, or a damaged record) is sent as "D-AU", the mode
// the band plan's rule stores for those bands.
std::string ModeCodeParam(std::uint8_t dModeEnable, std::uint8_t dMode, std::uint8_t aMode);
std::string Make_MD_Param(const TMemChElement& MemCh);

// "OF" parameter text: "+" only for positive offsets, "0", or "-" and the magnitude.
std::string OffsetParam(std::int16_t offsetFreq);

// "RX" and the set commands of a record's parameters. Channels and search banks carry the
// same fields under the same names, so both writes use this one list.
template <class R>
TCommandList ParamSetCommands(const R& rec)
{
    auto num = [](int v) { return std::to_string(v); };
    const char* const quick = "[-1](200)";
    const std::uint8_t sql = rec.Dem_SQL_Type;
    TCommandList out;
    out.push_back({"RX", "[1](200)"});
    if (rec.Dem_AutoBand == 0)
        out.push_back({"IF" + num(rec.IFBW), "[1](200)"});
    out.push_back({"AT" + num(rec.RF_ATT), quick});
    out.push_back({"OF" + OffsetParam(rec.OffsetFreq), "[1](500)"});
    out.push_back({"SQ" + num(rec.RF_SQ_N_L_Type), quick});
    out.push_back({"NR" + num(rec.Dem_DENOIS), quick});
    if (rec.AMode != 0)
        out.push_back({"AC" + num(rec.RF_AGC), quick});
    out.push_back({"CI" + num(sql == 1 ? 1 : sql == 4 ? 2 : 0), quick});
    out.push_back({"SI" + num(sql == 3 ? 1 : 0), quick});
    out.push_back({"DI" + num(sql == 2 ? 1 : 0), quick});
    out.push_back({"CN" + num(rec.CTCSS_CODE), quick});
    out.push_back({"SC" + num(rec.VoiceSCR), quick});
    out.push_back({"DS" + num(rec.DCS_CODE), quick});
    out.push_back({"DJ" + num(rec.Dem_DigiDecode), quick});
    out.push_back({"DC" + num(rec.DCR_CODE), quick});
    out.push_back({"DW" + num(rec.DCR_WHITE), quick});
    out.push_back({"NM" + num(rec.NXDN_RANCodeMute), quick});
    out.push_back({"NC" + num(rec.NXDN_RANCode), quick});
    out.push_back({"OT" + num(rec.Dem_DMR_Slot), quick});
    out.push_back({"CM" + num(rec.DMR_ColorCodeMute), quick});
    out.push_back({"CC" + num(rec.DMR_ColorCode), quick});
    out.push_back({"PM" + num(rec.P25_NACCodeMute), quick});
    out.push_back({"PC" + num(rec.P25_NACCode), quick});
    out.push_back({"TS" + num(rec.RF_TETRA_Slot), quick});
    return out;
}

// A channel holds data when it is registered and has a frequency; others are deleted.
bool ChannelHoldsData(const TMemChElement& MemCh);

// "MX ..." for a channel that holds data, else "MQ" bb cc.
TQueuedCommand MainWriteCommand(int bank, int ch, const TMemChElement& MemCh);
// "MR" bb cc, "RX" and the set commands of a channel that holds data.
TCommandList DetailWriteCommands(int bank, int ch, const TMemChElement& MemCh);

// The channel commands of each write (without the opening "AZ", "IX1", the offset list
// and the closing "IX0").
TCommandList ChannelWriteCommands_1Ch(const TStore& store, int bank, int ch);
TCommandList ChannelWriteCommands_1Bank(const TStore& store, int bank);
TCommandList ChannelWriteCommands_AllBanks(const TStore& store);

// The opening commands, the offset commands (when the list changed) and the closing "IX0"
// around a write's channel commands; clears offsetFreqChanged when it queues the list.
TCommandList WrapWriteCommands(TCommandList channels, bool& offsetFreqChanged,
                               const std::int32_t (&offsetFreqTable)[kOffsetCount]);

// The write family's answer check: acknowledgements, the receiver's error answers and
// receive-state lines.
bool MemoryWriteRes_1Line(std::string_view RxString);
