#include "StoreSamples.h"

#include "ChoiceLists.h"
#include "FieldRules.h"

namespace samples {

using exchange::IntRule;

std::unique_ptr<TStore> Zeroed()
{
    auto s = std::make_unique<TStore>();
    std::memset(static_cast<void*>(s.get()), 0, sizeof(TStore));
    return s;
}

std::unique_ptr<TStore> Empty()
{
    auto s = Zeroed();
    s->EmptyData_Init();
    const std::int32_t defaults[] = {0, 100000, 200000, 500000, 600000, 1000000, 5000000, 7600000};
    std::copy(std::begin(defaults), std::end(defaults), s->OffsetFreqTable);
    return s;
}

namespace {

TMemChElement Channel(const TStore& s, std::int64_t hz, const char16_t* title, int mode, int ifbw)
{
    TMemChElement r = s.MemChEmptyData;
    r.RxFreq = hz;
    r.StepFreq = 12500;
    r.AdjFreq = 0;
    SetTitleText(r.Title, title);
    ApplyModePick(r, mode);
    if (mode >= kFirstAnalogMode)
        r.IFBW = static_cast<std::uint8_t>(ifbw);
    r.VoiceSCR = 300;
    r.MemFlag_RegistedFlag = 1;
    r.ReadState = 2;
    r.RF_ATT = 1;
    r.Dem_DENOIS = 3;
    return r;
}

}  // namespace

std::unique_ptr<TStore> Realistic()
{
    auto s = Empty();
    s->Region = 2;
    s->OffsetFreqTable[20] = 9000000;
    s->OffsetFreqTable[39] = 999999990;

    TMemChElement& a = s->MemChData[0][0] = Channel(*s, 145500000, u"CALLING     ", 10, 3);
    a.OffsetFreq = -3;
    a.Dem_SQL_Type = 1;
    a.CTCSS_CODE = 15;
    a.MemFlag_Pass = 1;
    TMemChElement& b = s->MemChData[0][1] = Channel(*s, 154443750, u"MARINE 16   ", 2, 0);
    b.DMR_ColorCode = 7;
    b.DMR_ColorCodeMute = 1;
    b.Dem_DMR_Slot = 2;
    b.Dem_DigiDecode = 1;
    TMemChElement& c = s->MemChData[0][2] = Channel(*s, 7050000, u"40m, \"CW\"   ", 16, 1);
    c.RF_ATT = 2;
    c.RF_AGC = 2;
    TMemChElement& d = s->MemChData[3][12] = Channel(*s, 851012500, u"P25 Site 1  ", 5, 0);
    d.P25_NACCode = 0x1A3;
    d.P25_NACCodeMute = 1;
    d.MemFlag_ProtectFlag = 1;
    TMemChElement& e = s->MemChData[3][13] = Channel(*s, 462562500, u"NXDN    ", 3, 0);
    e.DCR_CODE = 42;
    e.DCR_WHITE = 300;
    e.NXDN_RANCode = 12;
    e.NXDN_RANCodeMute = 1;
    e.Dem_AutoBand = 1;
    e.OffsetFreq = 20;
    TMemChElement& f = s->MemChData[3][14] = Channel(*s, 380012500, u"TETRA", 8, 0);
    f.RF_TETRA_Slot = 3;
    f.ReadState = 1;  // main answer only
    TMemChElement& g = s->MemChData[39][49] = Channel(*s, 1296000000, u"23cm AM     ", 11, 2);
    g.Dem_SQL_Type = 2;
    g.DCS_CODE = 107;
    g.RF_IF_Inv = 1;
    // Read from the receiver as empty: the template with ReadState 1.
    s->MemChData[5][0] = s->MemChEmptyData;
    s->MemChData[5][0].ReadState = 1;

    for (int bank : {0, 3, 39}) {
        TMemBankElement& h = s->MemBankData[bank] = s->MemBankEmptyData;
        SetTitleText(h.Title, bank == 3 ? u"Trunking   " : u"Bank       ");
        h.MemBankFlag_RegistedFlag = 1;
        h.MemBankFlag_ProtectFlag = bank == 3;
        h.ReadState = 1;
    }

    TSearchBankElement& sb = s->SearchBankData[1] = s->SearchBankEmptyData;
    sb.LowFreq = 118000000;
    sb.HighFreq = 136991660;
    sb.StepFreq = 8333;
    sb.AdjFreq = 4166;
    ApplyModePick(sb, 11);
    SetTitleText(sb.Title, u"AIR BAND    ");
    sb.Flags_RegistedFlag = 1;
    sb.ReadState = 2;

    TSearchGrpElement& sg = s->ScanGrpData[0];
    sg.Link[0] = 0x09;  // banks 0 and 3
    sg.Link[4] = 0x80;  // bank 39
    sg.Delay = 20;
    sg.Free = 5;
    sg.GrpFlag_RegistedFlag = 1;
    sg.GrpFlag_LinkEnable = 1;
    TSearchGrpElement& hg = s->SearchGrpData[4];
    hg.Link[0] = 0x02;
    hg.Delay = 100;
    hg.GrpFlag_AutoStore = 1;
    hg.GrpFlag_RegistedFlag = 1;
    hg.GrpFlag_LinkEnable = 1;
    return s;
}

std::vector<std::int64_t> ChannelValues(const TMemChElement& r)
{
    std::vector<std::int64_t> values;
    exchange::VisitChannelFields(r, [&values](const char*, const auto& field, const IntRule&) { values.push_back(field); });
    values.insert(values.end(), std::begin(r.Title), std::end(r.Title));
    return values;
}

namespace {

// Sets every field the visitor offers to the rule's lower or upper edge.
template <class R, class Visit>
void AtEdge(R& r, bool upper, Visit visit)
{
    visit(r, [upper](const char*, auto& field, const IntRule& rule) {
        using T = std::remove_reference_t<decltype(field)>;
        field = static_cast<T>(upper ? rule.hi : rule.lo);
    });
}

}  // namespace

std::unique_ptr<TStore> Edges()
{
    auto s = Empty();
    s->Region = 2;
    for (int i = 1; i < kOffsetCount; ++i)
        s->OffsetFreqTable[i] = i % 2 ? 2147483647 : 0;
    for (int bank = 0; bank < kMemBankCount; ++bank) {
        for (int ch = 0; ch < kMemChPerBank; ++ch) {
            TMemChElement& r = s->MemChData[bank][ch];
            AtEdge(r, (bank + ch) % 2 == 1, [](auto& rec, auto&& v) { exchange::VisitChannelFields(rec, v); });
            if (ch % 3 == 0)
                r.RxFreq = 100001 + ch;  // single hertz
            SetTitleText(r.Title, ch % 2 ? std::u16string_view(u"\u00c4\u00df\u4e2d\u0001x\U0001F4FB 12345678")
                                         : std::u16string_view(u"A\0B", 3));
        }
        AtEdge(s->MemBankData[bank], bank % 2 == 1, [](auto& rec, auto&& v) { exchange::VisitBankHeaderFields(rec, v); });
        SetTitleText(s->MemBankData[bank].Title, u"12345678901234");
    }
    for (int n = 0; n < kSearchBankCount; ++n) {
        AtEdge(s->SearchBankData[n], n % 2 == 1, [](auto& rec, auto&& v) { exchange::VisitSearchBankFields(rec, v); });
        s->SearchBankData[n].HighFreq = n % 2 ? 3000000000 : 100001;
    }
    for (int g = 0; g < kGroupCount; ++g) {
        AtEdge(s->ScanGrpData[g], g % 2 == 1, [](auto& rec, auto&& v) { exchange::VisitGroupFields(rec, false, v); });
        AtEdge(s->SearchGrpData[g], g % 2 == 1, [](auto& rec, auto&& v) { exchange::VisitGroupFields(rec, true, v); });
        std::fill(std::begin(s->ScanGrpData[g].Link), std::end(s->ScanGrpData[g].Link), g % 2 ? 0xFF : 0);
        s->SearchGrpData[g].Link[g % 5] = 0x81;
    }
    return s;
}

}  // namespace samples
