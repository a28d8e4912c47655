#include "SearchBankWrite.h"

#include "FreqText.h"
#include "MemoryRead.h"
#include "MemoryWrite.h"
#include "ParamAnswers.h"

namespace sbank {

std::string Make_SEMD_Param(const TSearchBankElement& SBTmp)
{
    return ModeCodeParam(SBTmp.Dem_DModeEnable, SBTmp.DMode, SBTmp.AMode);
}

bool BankHoldsRange(const TSearchBankElement& bank)
{
    return bank.Flags_RegistedFlag != 0 && bank.LowFreq != 0 && bank.HighFreq != 0;
}

std::string SummaryWriteLine(int bank, const TSearchBankElement& rec)
{
    return "SE" + TwoDigits(bank) + " SL" + cmdfreq::MHzToDotStr(rec.LowFreq) + " SU" +
           cmdfreq::MHzToDotStr(rec.HighFreq) + " ST" + cmdfreq::kHzToDotStr(rec.StepFreq) + " SH" +
           cmdfreq::kHzToDotStr(rec.AdjFreq) + " MD" + Make_SEMD_Param(rec) + " AU" +
           std::to_string(rec.Dem_AutoBand) + " PT" + std::to_string(rec.Flags_ProtectFlag) + " TT" +
           memparam::Utf16ToLatin1(TitleText(rec.Title));
}

TCommandList BankWriteBlock(int bank, const TSearchBankElement& rec, std::int32_t& searchBankState)
{
    const std::string nn = TwoDigits(bank);
    if (!BankHoldsRange(rec))
        return {{"SX" + nn, "[-1](200)"}};
    TCommandList out{{SummaryWriteLine(bank, rec), "[1](1000)"}, {"SS" + nn, "[1](1000)"}};
    AppendLinkSave(bank, searchBankState, out);
    const TCommandList params = ParamSetCommands(rec);
    out.insert(out.end(), params.begin(), params.end());
    return out;
}

TCommandList WriteCommands_1Bank(const TStore& store, int bank, std::int32_t& searchBankState,
                                 bool& offsetFreqChanged)
{
    if (bank < 0 || bank >= kSearchBankCount)
        return {};
    return WrapWriteCommands(BankWriteBlock(bank, store.SearchBankData[bank], searchBankState),
                             offsetFreqChanged, store.OffsetFreqTable);
}

TCommandList WriteCommands_AllBanks(const TStore& store, std::int32_t& searchBankState, bool& offsetFreqChanged)
{
    TCommandList blocks;
    for (int bank = 0; bank < kSearchBankCount; ++bank) {
        const TCommandList block = BankWriteBlock(bank, store.SearchBankData[bank], searchBankState);
        blocks.insert(blocks.end(), block.begin(), block.end());
    }
    return WrapWriteCommands(std::move(blocks), offsetFreqChanged, store.OffsetFreqTable);
}

bool SearchBankWriteRes_1Line(std::string_view RxString, std::string_view sendedCommand, TLinkSave& link)
{
    std::string line(RxString);
    if (LinkAnswer(line, sendedCommand, link))
        return true;
    for (std::string_view exact : {" ", "20 ", "?", "30?", "50?", "60?"})
        if (RxString == exact)
            return true;
    const std::size_t rx = RxString.find("RX ");
    const std::size_t sr = RxString.find("SR");
    return (rx == 0 || rx == 2) && (sr == 3 || sr == 5);
}

}  // namespace sbank
