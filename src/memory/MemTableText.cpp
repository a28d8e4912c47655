#include "MemTableText.h"

#include "ChoiceLists.h"
#include "FreqText.h"

#include <string>

namespace {

struct Column {
    const char* heading;
    const char* sample;
};

constexpr Column kColumns[kMemTableColumns] = {
    {"", " 99-99 "},           {"Freq (MHz)", " 9999.99999 "}, {"Title", " WWWWWWWWWWW "},
    {"F-AU", " OFF "},         {"MODE", " DSTR "},             {"IFBW", " 200k "},
    {"Protect", " OFF "},      {"Pass", " OFF "},              {"", "   "},
    {"AMP/ATT", " AMP "},      {"Offset", " +99(999.9999999) "}, {"SQ Type", " AUTO "},
    {"NR", " HIGH "},          {"AGC", " AGCM "},              {"SQL", " RTN "},
    {"CTCSS", " 999.9Hz "},    {"V.SCR", " 9999 "},            {"DCS", " 999 "},
    {"Dig.", " OFF "},         {"IF Dir", " NOR "},            {"ENC", " 99999 "},
    {"WC", " 999 "},           {"RAN Mute", " OFF "},          {"RAN Code", " 99 "},
    {"DMR Slot", " 9+9 "},     {"ColorMute", " OFF "},         {"ColorCode", " 99 "},
    {"NAC Mute", " OFF "},     {"NAC Code", " FFF "},          {"T-TC Slot", " AUT "},
};

QString OnOff(std::uint8_t flag)
{
    return flag != 0 ? QStringLiteral("ON") : QStringLiteral("OFF");
}

QString Item(ItemList items, int index)
{
    const std::string_view text = ItemAt(items, index);
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// n decimal digits with leading zeros.
QString Digits(int v, int n)
{
    return QStringLiteral("%1").arg(v, n, 10, QLatin1Char('0'));
}

QString FromStd(const std::string& s)
{
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

QString MemTableHeading(int col)
{
    return col >= 0 && col < kMemTableColumns ? QString::fromLatin1(kColumns[col].heading) : QString();
}

QString MemTableWidthSample(int col)
{
    return col >= 0 && col < kMemTableColumns ? QString::fromLatin1(kColumns[col].sample) : QString();
}

QString MemTableCellText(const TStore& store, int bank, int ch, int col)
{
    if (bank < 0 || bank >= kMemBankCount || ch < 0 || ch >= kMemChPerBank)
        return {};
    if (col == 0)
        return Digits(bank, 2) + QLatin1Char('-') + Digits(ch, 2);
    const TMemChElement& r = store.MemChData[bank][ch];
    if (r.MemFlag_RegistedFlag == 0)
        return col == 1 ? QStringLiteral("---") : QString();

    switch (col) {
    case 1: return FromStd(TableMHzStr(r.RxFreq));
    case 2: {
        const std::u16string title = TitleText(r.Title);
        return QString::fromUtf16(title.data(), static_cast<qsizetype>(title.size()));
    }
    case 3: return OnOff(r.Dem_AutoBand);
    case 4: return Item(ModeItems, ModePositionOf(r));
    case 5: {
        const std::string_view label = IFBWTableLabel(r.AMode, r.IFBW);
        return QString::fromLatin1(label.data(), static_cast<qsizetype>(label.size()));
    }
    case 6: return OnOff(r.MemFlag_ProtectFlag);
    case 7: return OnOff(r.MemFlag_Pass);
    case 8: return {};
    case 9: return Item(ATT_AMPItems, r.RF_ATT);
    case 10: return FromStd(TableOffsetStr(r.OffsetFreq, store.OffsetFreqTable));
    case 11: return Item(SQ_TypeItems, r.RF_SQ_N_L_Type);
    case 12: return Item(NRItems, r.Dem_DENOIS);
    case 13: return Item(AGCItems, r.RF_AGC);
    case 14: return Item(SQLItems, r.Dem_SQL_Type);
    case 15: return Item(CTCSSItems, r.CTCSS_CODE);
    case 16: return QString::number(r.VoiceSCR * 10);
    case 17: return Item(DCSItems, r.DCS_CODE);
    case 18: return OnOff(r.Dem_DigiDecode);
    case 19: return Item(IFDIRItems, r.RF_IF_Inv);
    case 20: return Digits(r.DCR_CODE, 5);
    case 21: return Digits(r.DCR_WHITE, 3);
    case 22: return OnOff(r.NXDN_RANCodeMute);
    case 23: return Digits(r.NXDN_RANCode, 2);
    case 24: return Item(DMR_SlotItems, r.Dem_DMR_Slot);
    case 25: return OnOff(r.DMR_ColorCodeMute);
    case 26: return Digits(r.DMR_ColorCode, 2);
    case 27: return OnOff(r.P25_NACCodeMute);
    case 28: return QStringLiteral("%1").arg(r.P25_NACCode, 3, 16, QLatin1Char('0')).toUpper();
    case 29: return Item(T_TC_SlotItems, r.RF_TETRA_Slot);
    default: return {};
    }
}

bool MemTableCellGreyed(std::uint8_t readState, int col)
{
    if (col <= 0)
        return false;
    return readState == 0 || (readState == 1 && col > 8);
}
