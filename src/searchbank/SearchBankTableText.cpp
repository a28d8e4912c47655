#include "SearchBankTableText.h"

#include "ChoiceLists.h"
#include "FreqText.h"

#include <string>

namespace sbank {

namespace {

struct Column {
    const char* heading;
    const char* sample;
};

constexpr Column kColumns[kSearchTableColumns] = {
    {"", " 99 "},              {"L Freq (MHz)", " 9999.99999 "}, {"U Freq (MHz)", " 9999.99999 "},
    {"Title", " WWWWWWWWWWW "}, {"F-AU", " OFF "},               {"Step Freq", " 999.99 "},
    {"MODE", " DSTR "},        {"IFBW", " 200k "},              {"Protect", " OFF "},
    {"", "   "},               {"Step Adj", " 999.99 "},        {"AMP/ATT", " AMP "},
    {"Offset", " +99(999.9999999) "}, {"SQ Type", " AUTO "},    {"NR", " HIGH "},
    {"AGC", " AGCM "},         {"SQL", " RTN "},                {"CTCSS", " 999.9Hz "},
    {"V.SCR", " 9999 "},       {"DCS", " 999 "},                {"Dig.", " OFF "},
    {"IF Dir", " NOR "},       {"ENC", " 99999 "},              {"WC", " 999 "},
    {"RAN Mute", " OFF "},     {"RAN Code", " 99 "},            {"DMR Slot", " 9+9 "},
    {"ColorMute", " OFF "},    {"ColorCode", " 99 "},           {"NAC Mute", " OFF "},
    {"NAC Code", " FFF "},     {"T-TC Slot", " AUT "},
};

QString OnOff(std::uint8_t flag)
{
    return flag != 0 ? QStringLiteral("ON") : QStringLiteral("OFF");
}

QString Latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QString Item(ItemList items, int index)
{
    return Latin1(ItemAt(items, index));
}

QString Digits(int v, int n)
{
    return QStringLiteral("%1").arg(v, n, 10, QLatin1Char('0'));
}

QString Title(const TSearchBankElement& r)
{
    const std::u16string title = TitleText(r.Title);
    return QString::fromUtf16(title.data(), static_cast<qsizetype>(title.size()));
}

}  // namespace

QString SearchTableHeading(int col)
{
    return col >= 0 && col < kSearchTableColumns ? QString::fromLatin1(kColumns[col].heading) : QString();
}

QString SearchTableWidthSample(int col)
{
    return col >= 0 && col < kSearchTableColumns ? QString::fromLatin1(kColumns[col].sample) : QString();
}

QString SearchTableCellText(const TStore& store, int bank, int col)
{
    if (bank < 0 || bank >= kSearchBankCount || col < 0 || col >= kSearchTableColumns)
        return {};
    if (col == 0)
        return Digits(bank, 2);
    const TSearchBankElement& r = store.SearchBankData[bank];
    if (r.Flags_RegistedFlag == 0)
        return col == 1 ? QStringLiteral("---") : QString();

    switch (col) {
    case 1: return Latin1(TableMHzStr(r.LowFreq));
    case 2: return Latin1(TableMHzStr(r.HighFreq));
    case 3: return Title(r);
    case 4: return OnOff(r.Dem_AutoBand);
    case 5: return Latin1(TablekHzStr(r.StepFreq));
    case 6: return Item(ModeItems, ModePositionOf(r));
    case 7: return Latin1(IFBWTableLabel(r.AMode, r.IFBW));
    case 8: return OnOff(r.Flags_ProtectFlag);
    case 9: return {};
    case 10: return Latin1(TablekHzStr(r.AdjFreq));
    case 11: return Item(ATT_AMPItems, r.RF_ATT);
    case 12: return Latin1(TableOffsetStr(r.OffsetFreq, store.OffsetFreqTable));
    case 13: return Item(SQ_TypeItems, r.RF_SQ_N_L_Type);
    case 14: return Item(NRItems, r.Dem_DENOIS);
    case 15: return Item(AGCItems, r.RF_AGC);
    case 16: return Item(SQLItems, r.Dem_SQL_Type);
    case 17: return Item(CTCSSItems, r.CTCSS_CODE);
    case 18: return QString::number(r.VoiceSCR * 10);
    case 19: return Item(DCSItems, r.DCS_CODE);
    case 20: return OnOff(r.Dem_DigiDecode);
    case 21: return Item(IFDIRItems, r.RF_IF_Inv);
    case 22: return Digits(r.DCR_CODE, 5);
    case 23: return Digits(r.DCR_WHITE, 3);
    case 24: return OnOff(r.NXDN_RANCodeMute);
    case 25: return Digits(r.NXDN_RANCode, 2);
    case 26: return Item(DMR_SlotItems, r.Dem_DMR_Slot);
    case 27: return OnOff(r.DMR_ColorCodeMute);
    case 28: return Digits(r.DMR_ColorCode, 2);
    case 29: return OnOff(r.P25_NACCodeMute);
    case 30: return QStringLiteral("%1").arg(r.P25_NACCode % 0x1000, 3, 16, QLatin1Char('0')).toUpper();
    case 31: return Item(T_TC_SlotItems, r.RF_TETRA_Slot);
    default: return {};
    }
}

bool SearchTableCellGreyed(std::uint8_t readState, int col)
{
    if (col <= 0)
        return false;
    return readState == 0 || (readState == 1 && col > 9);
}

QString CopyFreqLabelText(const TSearchBankElement& rec)
{
    return Latin1(cmdfreq::MHzToDotStr(rec.LowFreq)) + QStringLiteral(" - ") +
           Latin1(cmdfreq::MHzToDotStr(rec.HighFreq)) + QStringLiteral("MHz");
}

QString CopyTitleLabelText(const TSearchBankElement& rec)
{
    return QStringLiteral(" [") + Title(rec) + QStringLiteral("]");
}

}  // namespace sbank
