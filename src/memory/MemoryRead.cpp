#include "MemoryRead.h"

#include "FreqText.h"
#include "IntText.h"

#include <array>
#include <cstdio>

using memparam::FieldBetween;
using memparam::InRange;

std::string TwoDigits(int n)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d", n);
    return text;
}

namespace {

const char* const kReadOpt = "[1](200)";

void AppendChannelQueries(int bank, TCommandList& out)
{
    for (int ch = 0; ch < kMemChPerBank; ++ch)
        out.push_back({"MA" + TwoDigits(bank) + TwoDigits(ch), kReadOpt});
    out.push_back({"MW" + TwoDigits(bank), kReadOpt});
}

// Keys of the memory family in the order a line is searched.
constexpr std::array<std::string_view, 29> kMemoryKeys = [] {
    std::array<std::string_view, 29> keys{"MX", "MW", "RX"};
    for (std::size_t i = 0; i < memparam::kSharedKeys.size(); ++i)
        keys[3 + i] = memparam::kSharedKeys[i];
    return keys;
}();

// Two digits at a 0-based position of the line, or the default when absent or unreadable.
std::int64_t NumberAt(std::string_view line, std::size_t pos, std::int64_t dflt)
{
    return pos < line.size() ? ReadInt(line.substr(pos, 2), dflt) : dflt;
}

}  // namespace

TCommandList ReadCommands_1Ch(int bank, int ch)
{
    return {{"AZ", kReadOpt},
            {"MA" + TwoDigits(bank) + TwoDigits(ch), kReadOpt},
            {"MW" + TwoDigits(bank), kReadOpt}};
}

TCommandList ReadCommands_1Bank(int bank)
{
    TCommandList out{{"AZ", kReadOpt}};
    AppendChannelQueries(bank, out);
    return out;
}

TCommandList ReadCommands_AllBanks()
{
    TCommandList out{{"AZ", kReadOpt}};
    for (int bank = 0; bank < kMemBankCount; ++bank)
        AppendChannelQueries(bank, out);
    return out;
}

TCommandList DetailChain(int bank, int ch, bool auInMx, std::int32_t& cmdOLReceivedFlag)
{
    TCommandList out;
    out.push_back({"MR" + TwoDigits(bank) + TwoDigits(ch), "[1](2)"});
    out.push_back({"RX", kReadOpt});
    if (!auInMx)
        out.push_back({"AU", kReadOpt});
    out.push_back({"IF", kReadOpt});
    out.push_back({"AT", kReadOpt});
    memparam::AppendOffsetQueries(cmdOLReceivedFlag, out);
    for (const char* key : {"OF", "SQ", "NR", "AC", "CI", "SI", "DI", "CN", "SC", "DS", "DJ",
                            "DC", "DW", "NM", "NC", "OT", "CM", "CC", "PM", "PC", "TS"})
        out.push_back({key, kReadOpt});
    return out;
}

TMemoryReadFamily::TMemoryReadFamily(TStore& store, memparam::TParamShared& shared)
    : store_(store), shared_(shared)
{
}

bool TMemoryReadFamily::MemoryReadRes_1Line(std::string_view RxString, std::string_view sendedCommand,
                                            TCommandList& appended)
{
    memparam::TParamContext ctx{shared_.Squelch, store_.OffsetFreqTable, store_.Region,
                                OffsetListComplete, RegionChanged};
    bool accepted = memparam::RecognizeKeys(
        std::string(RxString), kMemoryKeys, [&](std::string_view key, std::string_view line) {
            if (key == "MX")
                MemoryRes_MX(line, appended);
            else if (key == "MW")
                MemoryRes_MW(line);
            else if (key == "RX")
                MemoryRes_RX(line);
            else
                memparam::ChainParamAnswer(guard_, key, line, Focused(), ctx);
        });
    // Whatever arrives after the closing "EX" belongs to the operation.
    if (sendedCommand == "EX")
        accepted = true;
    return accepted;
}

void TMemoryReadFamily::CommandSent(std::string_view command)
{
    if (command.size() == 6 && command.starts_with("MR")) {
        const std::int64_t bank = NumberAt(command, 2, 100);
        const std::int64_t ch = NumberAt(command, 4, 100);
        if (InRange(bank, 0, kMemBankCount - 1) && InRange(ch, 0, kMemChPerBank - 1)) {
            guard_.RecallSent(static_cast<int>(bank * kMemChPerBank + ch));
            return;
        }
        guard_.Disarm();
    } else if (command == "EX") {
        // The operation is over: nothing more belongs to its last chain.
        guard_.Disarm();
    }
}


void TMemoryReadFamily::MemoryRes_MX(std::string_view line, TCommandList& appended)
{
    const std::int64_t bank = NumberAt(line, 2, 100);
    const std::int64_t ch = NumberAt(line, 4, 100);
    if (!InRange(bank, 0, kMemBankCount - 1) || !InRange(ch, 0, kMemChPerBank - 1))
        return;
    TMemChElement rec = store_.MemChEmptyData;
    if (line.size() >= 10 && line.substr(7, 3) == "---") {
        rec.ReadState = 1;
        store_.MemChData[bank][ch] = rec;
        return;
    }

    constexpr auto npos = std::string_view::npos;
    const std::size_t mp = line.find("MP"), rf = line.find("RF"), st = line.find("ST"),
                      sh = line.find("SH"), md = line.find("MD"), pt = line.find("PT"),
                      tt = line.find("TT");
    for (std::size_t p : {mp, rf, st, sh, md, pt, tt})
        if (p == npos)
            return;
    const auto au = memparam::FindOptionalAU(line, md, pt);

    const std::int64_t pass = ReadInt(FieldBetween(line, mp, rf), 10);
    if (!InRange(pass, 0, 1))
        return;
    const std::int64_t freq = DotStrToMHz(FieldBetween(line, rf, st));
    if (!InRange(freq, 100000, 3000000000LL))
        return;
    const std::int32_t step = DotStrTokHz(FieldBetween(line, st, sh));
    const std::int32_t adj = DotStrTokHz(FieldBetween(line, sh, md));
    if (!InRange(step, 0, 999999) || !InRange(adj, 0, 999999))
        return;
    const auto mode = memparam::ParseModeCode(FieldBetween(line, md, au ? *au : pt));
    if (!mode)
        return;
    std::int64_t autoBand = rec.Dem_AutoBand;
    if (au) {
        autoBand = ReadInt(FieldBetween(line, *au, pt), 10);
        if (!InRange(autoBand, 0, 1))
            return;
    }
    const std::int64_t protect = ReadInt(FieldBetween(line, pt, tt), 10);
    if (!InRange(protect, 0, 1))
        return;

    rec.MemFlag_Pass = static_cast<std::uint8_t>(pass);
    rec.RxFreq = freq;
    rec.StepFreq = step;
    rec.AdjFreq = adj;
    rec.Dem_DModeEnable = mode->Dem_DModeEnable;
    rec.DMode = mode->DMode;
    rec.AMode = mode->AMode;
    rec.Dem_AutoBand = static_cast<std::uint8_t>(autoBand);
    rec.MemFlag_ProtectFlag = static_cast<std::uint8_t>(protect);
    SetTitleText(rec.Title, memparam::Latin1ToUtf16(line.substr(tt + 2, 12)));
    rec.MemFlag_RegistedFlag = 1;
    rec.ReadState = 1;
    AU_in_MX_Flag = au ? 1 : 0;
    auQueried_[bank][ch] = !au.has_value();
    store_.MemChData[bank][ch] = rec;

    const TCommandList chain = DetailChain(static_cast<int>(bank), static_cast<int>(ch), au.has_value(),
                                           shared_.CmdOL_ReceivedFlag);
    appended.insert(appended.end(), chain.begin(), chain.end());
}

void TMemoryReadFamily::MemoryRes_MW(std::string_view line)
{
    const std::int64_t bank = NumberAt(line, 2, 100);
    if (!InRange(bank, 0, kMemBankCount - 1))
        return;
    TMemBankElement rec = store_.MemBankEmptyData;
    const std::size_t pt = line.find("PT"), tt = line.find("TT");
    if (pt == std::string_view::npos || tt == std::string_view::npos)
        return;
    const std::int64_t protect = ReadInt(FieldBetween(line, pt, tt), 10);
    if (!InRange(protect, 0, 1))
        return;
    rec.MemBankFlag_ProtectFlag = static_cast<std::uint8_t>(protect);
    SetTitleText(rec.Title, memparam::Latin1ToUtf16(line.substr(tt + 2, 11)));
    rec.MemBankFlag_RegistedFlag = 1;
    rec.ReadState = 1;
    store_.MemBankData[bank] = rec;
}

void TMemoryReadFamily::MemoryRes_RX(std::string_view line)
{
    if (line.size() < 5 || line.substr(3, 2) != "MR")
        return;
    const std::int64_t bank = NumberAt(line, 5, 100);
    const std::int64_t ch = NumberAt(line, 7, 100);
    if (InRange(bank, 0, kMemBankCount - 1) && InRange(ch, 0, kMemChPerBank - 1)) {
        CmdFocusMemBank = static_cast<std::int32_t>(bank);
        CmdFocusMemCh = static_cast<std::int32_t>(ch);
        guard_.FocusAnswered(static_cast<int>(bank * kMemChPerBank + ch), auQueried_[bank][ch]);
    }
}
