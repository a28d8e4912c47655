#include "SearchBankRead.h"

#include "FreqText.h"
#include "IntText.h"
#include "MemoryRead.h"

#include <array>
#include <optional>
#include <string>

using memparam::FieldBetween;
using memparam::InRange;

namespace sbank {

namespace {

const char* const kReadOpt = "[1](200)";

// Keys searched after the search bank's own handling: the receive state, then the shared
// parameter keys.
constexpr std::array<std::string_view, 27> kParamKeys = [] {
    std::array<std::string_view, 27> keys{"RX"};
    for (std::size_t i = 0; i < memparam::kSharedKeys.size(); ++i)
        keys[1 + i] = memparam::kSharedKeys[i];
    return keys;
}();

std::int64_t NumberAt(std::string_view line, std::size_t pos, std::int64_t dflt)
{
    return pos < line.size() ? ReadInt(line.substr(pos, 2), dflt) : dflt;
}

bool IsRefusal(std::string_view line)
{
    return line == "?" || line == "30?";
}

}  // namespace

TCommandList ReadCommands_1Bank(int bank)
{
    return {{"AZ", kReadOpt}, {"SR" + TwoDigits(bank), kReadOpt}};
}

TCommandList ReadCommands_AllBanks()
{
    TCommandList out{{"AZ", kReadOpt}};
    for (int bank = 0; bank < kSearchBankCount; ++bank)
        out.push_back({"SR" + TwoDigits(bank), "[-1](200)"});
    return out;
}

TCommandList DetailChain(int bank, bool auInSe, std::int32_t& searchBankState,
                         std::int32_t& cmdOLReceivedFlag)
{
    TCommandList out{{"SS" + TwoDigits(bank), "[1](2)"}};
    AppendLinkSave(bank, searchBankState, out);
    out.push_back({"RX", kReadOpt});
    if (!auInSe)
        out.push_back({"AU", kReadOpt});
    out.push_back({"IF", kReadOpt});
    out.push_back({"AT", kReadOpt});
    memparam::AppendOffsetQueries(cmdOLReceivedFlag, out);
    for (const char* key : {"OF", "SQ", "NR", "AC", "CI", "SI", "DI", "CN", "SC", "DS", "DJ",
                            "DC", "DW", "NM", "NC", "OT", "CM", "CC", "PM", "PC", "TS"})
        out.push_back({key, kReadOpt});
    return out;
}

TSearchBankReadFamily::TSearchBankReadFamily(TStore& store, memparam::TParamShared& shared, TLinkSave link)
    : store_(store), shared_(shared), link_(link)
{
}

bool TSearchBankReadFamily::SearchBankReadRes_1Line(std::string_view RxString, std::string_view sendedCommand,
                                                    TCommandList& appended)
{
    std::string line(RxString);
    bool claimed = false;

    if (sendedCommand.starts_with("SR")) {
        if (const auto at = memparam::FindKeyAt(line, "SE")) {
            line.erase(0, *at);
            SearchBankRes_SE(line, appended);
            claimed = true;
        } else if (IsRefusal(line)) {
            // The receiver refuses "SR" for a bank without a range: store it as empty.
            const std::string_view bank = sendedCommand.substr(2, 2);
            SearchBankRes_SE("SE" + std::string(bank) + " --- ", appended);
            claimed = true;
        }
    }
    if (LinkAnswer(line, sendedCommand, link_))
        claimed = true;

    memparam::TParamContext ctx{shared_.Squelch, store_.OffsetFreqTable, store_.Region,
                                OffsetListComplete, RegionChanged};
    if (memparam::RecognizeKeys(line, kParamKeys, [&](std::string_view key, std::string_view cut) {
            if (key == "RX")
                SearchBankRes_RX(cut);
            else
                memparam::ChainParamAnswer(guard_, key, cut, Focused(), ctx);
        }))
        claimed = true;

    // Whatever arrives after the closing "EX" belongs to the operation.
    if (sendedCommand == "EX")
        claimed = true;
    return claimed;
}

void TSearchBankReadFamily::CommandSent(std::string_view command)
{
    if (command.size() == 4 && command.starts_with("SS")) {
        const std::int64_t bank = NumberAt(command, 2, 100);
        if (InRange(bank, 0, kSearchBankCount - 1)) {
            guard_.RecallSent(static_cast<int>(bank));
            return;
        }
        guard_.Disarm();
    } else if (command == "EX") {
        // The operation is over: nothing more belongs to its last chain.
        guard_.Disarm();
    }
}


void TSearchBankReadFamily::SearchBankRes_SE(std::string_view line, TCommandList& appended)
{
    const std::int64_t bank = NumberAt(line, 2, 100);
    if (!InRange(bank, 0, kSearchBankCount - 1))
        return;
    TSearchBankElement rec = store_.SearchBankEmptyData;
    if (line.find("---") == 5) {
        rec.ReadState = 1;
        store_.SearchBankData[bank] = rec;
        return;
    }

    constexpr auto npos = std::string_view::npos;
    const std::size_t sl = line.find("SL"), su = line.find("SU"), st = line.find("ST"),
                      sh = line.find("SH"), md = line.find("MD"), pt = line.find("PT"),
                      tt = line.find("TT");
    for (std::size_t p : {sl, su, st, sh, md, pt, tt})
        if (p == npos)
            return;
    // "AU" is a field only between "MD" and "PT"; the letters in a title are text.
    const std::optional<std::size_t> au = memparam::FindOptionalAU(line, md, pt);

    const std::int64_t low = DotStrToMHz(FieldBetween(line, sl, su));
    const std::int64_t high = DotStrToMHz(FieldBetween(line, su, st));
    if (!InRange(low, 100000, 3000000000LL) || !InRange(high, 100000, 3000000000LL))
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

    rec.LowFreq = low;
    rec.HighFreq = high;
    rec.StepFreq = step;
    rec.AdjFreq = adj;
    rec.Dem_DModeEnable = mode->Dem_DModeEnable;
    rec.DMode = mode->DMode;
    rec.AMode = mode->AMode;
    rec.Dem_AutoBand = static_cast<std::uint8_t>(autoBand);
    rec.Flags_ProtectFlag = static_cast<std::uint8_t>(protect);
    SetTitleText(rec.Title, memparam::Latin1ToUtf16(line.substr(tt + 2, 12)));
    rec.Flags_RegistedFlag = 1;
    rec.ReadState = 1;
    AU_in_SE_Flag = au ? 1 : 0;
    auQueried_[bank] = !au.has_value();
    store_.SearchBankData[bank] = rec;

    const TCommandList chain = DetailChain(static_cast<int>(bank), au.has_value(), link_.SearchBankState,
                                           shared_.CmdOL_ReceivedFlag);
    appended.insert(appended.end(), chain.begin(), chain.end());
}

void TSearchBankReadFamily::SearchBankRes_RX(std::string_view line)
{
    if (line.size() < 5 || line.substr(3, 2) != "SR")
        return;
    const std::int64_t bank = NumberAt(line, 5, 100);
    if (InRange(bank, 0, kSearchBankCount - 1)) {
        CmdFocusSearchBank = static_cast<std::int32_t>(bank);
        guard_.FocusAnswered(static_cast<int>(bank), auQueried_[bank]);
    }
}

}  // namespace sbank
