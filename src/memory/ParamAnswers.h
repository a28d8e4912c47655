// Parameter answers shared by the memory channel and the search bank families.
//
// Both families store the same keys ("AU" .. "TS", "OL", "AZ") with the same field widths,
// defaults and ranges; only the target record differs (a focused channel or a focused
// search bank). So the parsers are templates on the record type: every field they touch
// has the same name and type in TMemChElement and TSearchBankElement.
//
// A parser is given the cut line (it begins with the key). A value that cannot be read
// takes the key's default, which its range test always rejects; a rejected value changes
// nothing, but the line still counts as an answer.
#pragma once

#include "IntText.h"
#include "QueuedCommand.h"
#include "Records.h"
#include "Store.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

namespace memparam {

// Last "CI", "SI" and "DI" results; one set shared by both families.
struct TSquelchResults {
    std::int32_t CmdCI_Res = 0;
    std::int32_t CmdSI_Res = 0;
    std::int32_t CmdDI_Res = 0;
};

// State that the memory and search bank operations share on the data window.
struct TParamShared {
    TSquelchResults Squelch;
    // 1 once the offset list queries were queued in the running operation.
    std::int32_t CmdOL_ReceivedFlag = 0;
    // The offset list holds entries not yet sent to the receiver; set at program start
    // and by the offset list dialog, cleared by the write that queues the list.
    bool OffsetFreqChanged = true;
};

// Queues "OL01" .. "OL39" once per operation (with the first record that holds data).
// Returns the number of commands appended.
int AppendOffsetQueries(std::int32_t& cmdOLReceivedFlag, TCommandList& out);

// Mode fields of a record, as carried by the three-character "MD" code.
struct TModeCode {
    std::uint8_t Dem_DModeEnable = 0;
    std::uint8_t DMode = 0;
    std::uint8_t AMode = 0;
};
// The "MD" code of a main answer: first character unused; "F" or a code digit; AMode digit.
std::optional<TModeCode> ParseModeCode(std::string_view field);

// Structured main answers ("MX", "SE"): a field is the text from just after its key up to
// the blank in front of the next key. Positions are 0-based; a next key that stands before
// the key (a damaged line) gives an empty field, which every check rejects.
inline std::string_view FieldBetween(std::string_view line, std::size_t key, std::size_t next)
{
    if (next < key + 3 || next > line.size())
        return {};
    return line.substr(key + 2, next - key - 3);
}

// Where the optional "AU" field of a main answer stands: only between "MD" and "PT" is it
// a field; letters AU elsewhere (in the title) are text.
std::optional<std::size_t> FindOptionalAU(std::string_view line, std::size_t md, std::size_t pt);

// What the shared keys need beside the focused record.
struct TParamContext {
    TSquelchResults& Squelch;
    std::int32_t (&OffsetFreqTable)[kOffsetCount];
    std::int32_t& Region;
    // The answer for offset entry 39 arrived: rebuild the family's offset choice list.
    std::function<void()> OffsetListComplete;
    // The region answer arrived: select the item in both region radio groups.
    std::function<void(int)> RegionChanged;
};

// The shared keys, in the order they are searched after the family's own keys.
inline constexpr std::array<std::string_view, 26> kSharedKeys = {
    "AU", "IF", "AT", "OL", "OF", "SQ", "NR", "AC", "CI", "SI", "DI", "CN", "SC",
    "DS", "DJ", "DC", "DW", "NM", "NC", "OT", "CM", "CC", "PM", "PC", "TS", "AZ"};

// 0-based start of the key when its first occurrence is at character 1 or 3, else nothing.
std::optional<std::size_t> FindKeyAt(std::string_view line, std::string_view key);

// Runs the recognition of one line over the family's keys in order: each key found at
// character 1 or 3 cuts the line to begin with it and is handed to onKey(key, cutLine);
// later keys are searched in the cut line. Returns whether any key matched.
// Characters 3-4 of a line that already begins with one of the keys belong to that key's
// value, so they are not taken for a key: the NAC answer "PCACE" carries the hexadecimal
// value ACE, not an "AC" answer (which would lose the NAC).
template <class OnKey>
bool RecognizeKeys(std::string line, std::span<const std::string_view> keys, OnKey&& onKey)
{
    auto beginsWithKey = [&] {
        for (std::string_view k : keys)
            if (std::string_view(line).substr(0, 2) == k)
                return true;
        return false;
    };
    bool accepted = false;
    for (std::string_view key : keys) {
        const auto at = FindKeyAt(line, key);
        if (!at || (*at == 2 && beginsWithKey()))
            continue;
        line.erase(0, *at);
        onKey(key, std::string_view(line));
        accepted = true;
    }
    return accepted;
}

// The value field: up to `width` characters after the two key letters.
inline std::string_view Field(std::string_view cut, std::size_t width)
{
    return cut.size() <= 2 ? std::string_view{} : cut.substr(2, width);
}

// Reads a decimal field; the default when it cannot be read.
inline std::int64_t FieldInt(std::string_view cut, std::size_t width, std::int64_t dflt)
{
    return ReadInt(Field(cut, width), dflt);
}

inline bool InRange(std::int64_t v, std::int64_t lo, std::int64_t hi)
{
    return v >= lo && v <= hi;
}

// The receiver's 8-bit characters map one to one onto the first 256 UTF-16 code points.
std::u16string Latin1ToUtf16(std::string_view bytes);
// Characters beyond the 8-bit range cannot be sent and become "?".
std::string Utf16ToLatin1(std::u16string_view text);

// Squelch type from the three results: CTC, RTN, DCS, SCR or OFF.
std::uint8_t SquelchTypeFromResults(const TSquelchResults& r);

// "CN" answer value (0, 1..52, 99) to CTCSS_CODE; nothing for any other value.
std::optional<std::uint8_t> CtcssCodeFromAnswer(std::int64_t v);

// "DS" answer value (0, 1..777, 999) to DCS_CODE through the DCS list that both dialogs
// share; nothing when the list has no such code.
std::optional<std::uint8_t> DcsCodeFromAnswer(std::int64_t v);

// "OL" and "AZ" change the store, not the focused record.
// True when the value was taken.
bool ParamRes_OL(std::string_view cut, TParamContext& ctx);
bool ParamRes_AZ(std::string_view cut, TParamContext& ctx);

// Shared keys whose answers belong to the record a detail chain is reading ("OL" and "AZ"
// fill the store, whatever record is focused).
bool IsRecordKey(std::string_view key);

// Keeps a detail chain's answers out of records they do not belong to. The receive-state
// answer names the record the receiver has recalled; when that answer is lost or names
// another record, the focus still names the record of an earlier chain, which would take
// this chain's parameters. So the chain's answers are stored only after a receive-state
// answer naming the record of the latest recall. The closing "TS" marks the record fully
// read only when every parameter the chain asked for was taken; otherwise a blank field
// would pass for the receiver's value.
class TDetailChainGuard {
public:
    // A recall of `target` was sent: answers wait for its receive state.
    void RecallSent(int target);
    // A receive-state answer named `target`; `auQueried`: the chain asks for "AU".
    void FocusAnswered(int target, bool auQueried);
    // Something other than a recall was sent or the operation ended.
    void Disarm();
    // The chain may store this key's answer now: armed, and for "DI", which combines the
    // three squelch answers, this chain's "CI" and "SI" were taken (else an earlier
    // record's results would decide the squelch type).
    bool MayStore(std::string_view key) const;
    // A record key's answer was taken into the record.
    void Taken(std::string_view key);
    // Every record key the chain asked for, "TS" aside, was taken.
    bool Complete() const;

private:
    static constexpr int kNoTarget = -1;
    int recalled_ = kNoTarget;
    bool armed_ = false;
    bool auQueried_ = false;
    std::array<bool, kSharedKeys.size()> taken_{};
};

// One shared key's answer into the focused record. Keys outside kSharedKeys are ignored.
// True when the value was taken (in range and, for "DI", "CN", "DS", known); "TS" takes
// the slot but leaves ReadState to the family, which knows whether the chain was complete.
template <class R>
bool ParamAnswer(std::string_view key, std::string_view cut, R& rec, TParamContext& ctx)
{
    // One-character flag or small index: the value goes into the field when in range.
    auto small = [&](std::uint8_t& field, std::int64_t dflt, std::int64_t hi) {
        const std::int64_t v = FieldInt(cut, 1, dflt);
        if (!InRange(v, 0, hi))
            return false;
        field = static_cast<std::uint8_t>(v);
        return true;
    };
    // A wider number: stored when within lo..hi.
    auto ranged = [&](auto& field, std::size_t width, std::int64_t dflt, std::int64_t lo, std::int64_t hi) {
        const std::int64_t v = FieldInt(cut, width, dflt);
        if (!InRange(v, lo, hi))
            return false;
        field = static_cast<std::remove_reference_t<decltype(field)>>(v);
        return true;
    };

    if (key == "AU")
        return small(rec.Dem_AutoBand, 10, 1);
    if (key == "IF") {
        std::int64_t hi = 4;
        if (rec.AMode == 1)
            hi = 3;
        else if (rec.AMode >= 2 && rec.AMode <= 6)
            hi = 1;
        return small(rec.IFBW, 10, hi);
    }
    if (key == "AT")
        return small(rec.RF_ATT, 10, 2);
    if (key == "OL")
        return ParamRes_OL(cut, ctx);
    if (key == "OF") {
        const std::string_view sign = Field(cut, 1);
        const std::int64_t v = ReadInt(cut.size() > 3 ? cut.substr(3, 2) : std::string_view{}, 50);
        if ((sign != "+" && sign != "-") || !InRange(v, 0, 39))
            return false;
        rec.OffsetFreq = static_cast<std::int16_t>(sign == "-" ? -v : v);
        return true;
    }
    if (key == "SQ")
        return small(rec.RF_SQ_N_L_Type, 4, 2);
    if (key == "NR")
        return small(rec.Dem_DENOIS, 4, 3);
    if (key == "AC")
        return small(rec.RF_AGC, 4, 3);
    if (key == "CI") {
        const std::int64_t v = FieldInt(cut, 1, 3);
        if (!InRange(v, 0, 2))
            return false;
        ctx.Squelch.CmdCI_Res = static_cast<std::int32_t>(v);
        ctx.Squelch.CmdSI_Res = 0;
        ctx.Squelch.CmdDI_Res = 0;
        return true;
    }
    if (key == "SI") {
        const std::int64_t v = FieldInt(cut, 1, 2);
        if (!InRange(v, 0, 1))
            return false;
        ctx.Squelch.CmdSI_Res = static_cast<std::int32_t>(v);
        return true;
    }
    if (key == "DI") {
        const std::int64_t v = FieldInt(cut, 1, 2);
        if (!InRange(v, 0, 1))
            return false;
        ctx.Squelch.CmdDI_Res = static_cast<std::int32_t>(v);
        rec.Dem_SQL_Type = SquelchTypeFromResults(ctx.Squelch);
        return true;
    }
    if (key == "CN") {
        const auto code = CtcssCodeFromAnswer(FieldInt(cut, 2, 100));
        if (code)
            rec.CTCSS_CODE = *code;
        return code.has_value();
    }
    if (key == "SC")
        return ranged(rec.VoiceSCR, 3, 900, 200, 700);
    if (key == "DS") {
        const auto code = DcsCodeFromAnswer(FieldInt(cut, 3, 800));
        if (code)
            rec.DCS_CODE = *code;
        return code.has_value();
    }
    if (key == "DJ")
        return small(rec.Dem_DigiDecode, 10, 1);
    if (key == "DC")
        return ranged(rec.DCR_CODE, 5, 32768, 0, 32767);
    if (key == "DW")
        return ranged(rec.DCR_WHITE, 3, 512, 0, 511);
    if (key == "NM")
        return small(rec.NXDN_RANCodeMute, 10, 1);
    if (key == "NC")
        return ranged(rec.NXDN_RANCode, 2, 65, 0, 64);
    if (key == "OT")
        return small(rec.Dem_DMR_Slot, 4, 3);
    if (key == "CM")
        return small(rec.DMR_ColorCodeMute, 10, 1);
    if (key == "CC")
        return ranged(rec.DMR_ColorCode, 2, 17, 0, 16);
    if (key == "PM")
        return small(rec.P25_NACCodeMute, 10, 1);
    if (key == "PC") {
        const std::int64_t v = ReadHex(Field(cut, 3), 4096);
        if (!InRange(v, 0, 4095))
            return false;
        rec.P25_NACCode = static_cast<std::uint16_t>(v);
        return true;
    }
    if (key == "TS")
        return small(rec.RF_TETRA_Slot, 4, 3);
    if (key == "AZ")
        return ParamRes_AZ(cut, ctx);
    return false;
}

// A detail chain's answer: "OL" and "AZ" go to the store; a record key goes into the
// focused record only while the guard allows it (otherwise the line is claimed but not
// stored: the focus may name another record), and "TS" marks the record fully read once
// the chain is complete.
template <class R>
void ChainParamAnswer(TDetailChainGuard& guard, std::string_view key, std::string_view cut, R& focused,
                      TParamContext& ctx)
{
    if (!IsRecordKey(key)) {
        ParamAnswer(key, cut, focused, ctx);
        return;
    }
    if (!guard.MayStore(key) || !ParamAnswer(key, cut, focused, ctx))
        return;
    guard.Taken(key);
    if (key == "TS" && guard.Complete())
        focused.ReadState = 2;
}

}  // namespace memparam
