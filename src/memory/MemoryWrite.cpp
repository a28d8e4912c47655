#include "MemoryWrite.h"

#include "BandPlan.h"
#include "DModeCode.h"
#include "FreqText.h"
#include "MemoryRead.h"
#include "OffsetFreqSend.h"
#include "ParamAnswers.h"

namespace {

std::string Num(int v)
{
    return std::to_string(v);
}

// The channels of one bank in groups of four: main commands first, then the details.
void AppendBank(const TStore& store, int bank, TCommandList& out)
{
    for (int first = 0; first < kMemChPerBank; first += 4) {
        const int last = std::min(first + 4, kMemChPerBank);
        for (int ch = first; ch < last; ++ch)
            out.push_back(MainWriteCommand(bank, ch, store.MemChData[bank][ch]));
        for (int ch = first; ch < last; ++ch) {
            const TCommandList details = DetailWriteCommands(bank, ch, store.MemChData[bank][ch]);
            out.insert(out.end(), details.begin(), details.end());
        }
    }
}

}  // namespace

std::string ModeCodeParam(std::uint8_t dModeEnable, std::uint8_t dMode, std::uint8_t aMode)
{
    if (dModeEnable == 1) {
        int digit = CodeDigitFromDMode(dMode);
        if (digit < 0)
            digit = CodeDigitFromDMode(kAutoDigitalSelects);
        return "0" + Num(digit) + "0";
    }
    return "0F" + Num(aMode);
}

std::string Make_MD_Param(const TMemChElement& MemCh)
{
    return ModeCodeParam(MemCh.Dem_DModeEnable, MemCh.DMode, MemCh.AMode);
}

std::string OffsetParam(std::int16_t offsetFreq)
{
    return offsetFreq > 0 ? "+" + Num(offsetFreq) : Num(offsetFreq);
}

bool ChannelHoldsData(const TMemChElement& MemCh)
{
    return MemCh.MemFlag_RegistedFlag != 0 && MemCh.RxFreq != 0;
}

TQueuedCommand MainWriteCommand(int bank, int ch, const TMemChElement& MemCh)
{
    const std::string bc = TwoDigits(bank) + TwoDigits(ch);
    if (!ChannelHoldsData(MemCh))
        return {"MQ" + bc, "[-1](1000)"};
    return {"MX" + bc + " MP" + Num(MemCh.MemFlag_Pass) + " RF" + cmdfreq::MHzToDotStr(MemCh.RxFreq) +
                " MD" + Make_MD_Param(MemCh) + " AU" + Num(MemCh.Dem_AutoBand) + " PT" +
                Num(MemCh.MemFlag_ProtectFlag) + " TT" + memparam::Utf16ToLatin1(TitleText(MemCh.Title)),
            "[1](1000)"};
}

TCommandList DetailWriteCommands(int bank, int ch, const TMemChElement& MemCh)
{
    if (!ChannelHoldsData(MemCh))
        return {};
    TCommandList out{{"MR" + TwoDigits(bank) + TwoDigits(ch), "[1](1000)"}};
    const TCommandList params = ParamSetCommands(MemCh);
    out.insert(out.end(), params.begin(), params.end());
    return out;
}

TCommandList ChannelWriteCommands_1Ch(const TStore& store, int bank, int ch)
{
    const TMemChElement& rec = store.MemChData[bank][ch];
    TCommandList out{MainWriteCommand(bank, ch, rec)};
    const TCommandList details = DetailWriteCommands(bank, ch, rec);
    out.insert(out.end(), details.begin(), details.end());
    return out;
}

TCommandList ChannelWriteCommands_1Bank(const TStore& store, int bank)
{
    TCommandList out;
    AppendBank(store, bank, out);
    return out;
}

TCommandList ChannelWriteCommands_AllBanks(const TStore& store)
{
    TCommandList out;
    for (int bank = 0; bank < kMemBankCount; ++bank)
        AppendBank(store, bank, out);
    return out;
}

TCommandList WrapWriteCommands(TCommandList channels, bool& offsetFreqChanged,
                               const std::int32_t (&offsetFreqTable)[kOffsetCount])
{
    TCommandList out{{"AZ", "[1](200)"}, {"IX1", "[-1](200)"}};
    OffsetFreqSetCommand(offsetFreqChanged, offsetFreqTable, out);
    out.insert(out.end(), channels.begin(), channels.end());
    out.push_back({"IX0", "[-1](200)"});
    return out;
}

bool MemoryWriteRes_1Line(std::string_view RxString)
{
    for (std::string_view exact : {" ", "20 ", "?", "30?", "50?", "60?"})
        if (RxString == exact)
            return true;
    return memparam::FindKeyAt(RxString, "RX ").has_value();
}
