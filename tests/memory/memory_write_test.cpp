#include "MemoryWrite.h"
#include "OffsetFreqSend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

TMemChElement Channel(std::int64_t freq)
{
    TMemChElement ch{};
    SetTitleText(ch.Title, u"TITLE       ");
    ch.MemFlag_RegistedFlag = 1;
    ch.RxFreq = freq;
    return ch;
}

std::vector<std::string> Commands(const TCommandList& list)
{
    std::vector<std::string> out;
    for (const auto& c : list)
        out.push_back(c.Command);
    return out;
}

bool Has(const TCommandList& list, const std::string& prefix)
{
    return std::any_of(list.begin(), list.end(), [&](const auto& c) { return c.Command.rfind(prefix, 0) == 0; });
}

TEST(MakeMdParam, DigitalAndAnalogCodes)
{
    struct {
        std::uint8_t digital, dmode, amode;
        const char* code;
    } cases[] = {
        {1, 2, 0, "070"},    // DMR
        {1, 0, 0, "010"},    // DSTR
        {1, 9, 0, "000"},    // D-AU
        {1, 128, 0, "000"},  // no code digit of its own: sent as D-AU
        {0, 0, 1, "0F1"},    // AM
        {0, 0, 6, "0F6"},    // CW
        {0, 5, 0, "0F0"},    // analog: DMode is not sent
    };
    for (const auto& c : cases) {
        TMemChElement ch = Channel(145000000);
        ch.Dem_DModeEnable = c.digital;
        ch.DMode = c.dmode;
        ch.AMode = c.amode;
        EXPECT_EQ(Make_MD_Param(ch), c.code) << int(c.digital) << "/" << int(c.dmode) << "/" << int(c.amode);
    }
}

TEST(MainWriteCommand, HoldsDataOrDeletes)
{
    TMemChElement ch = Channel(3000000001);
    ch.MemFlag_Pass = 1;
    ch.Dem_AutoBand = 1;
    ch.AMode = 4;
    SetTitleText(ch.Title, u"Caf\u00e9 \u4e2d");
    EXPECT_EQ(MainWriteCommand(7, 3, ch),
              (TQueuedCommand{"MX0703 MP1 RF3000.000001 MD0F4 AU1 PT0 TTCaf\xe9 ?", "[1](1000)"}));

    TMemChElement noFreq = Channel(0);  // registered without a frequency counts as empty
    EXPECT_EQ(MainWriteCommand(0, 49, noFreq), (TQueuedCommand{"MQ0049", "[-1](1000)"}));
    EXPECT_TRUE(DetailWriteCommands(0, 49, noFreq).empty());
    EXPECT_EQ(Commands(ChannelWriteCommands_1Ch(TStore{}, 2, 2)), (std::vector<std::string>{"MQ0202"}));
}

TEST(DetailWriteCommands, FullListOfAnAmChannel)
{
    TMemChElement ch = Channel(145500000);
    ch.AMode = 1;
    ch.IFBW = 2;
    ch.RF_ATT = 2;
    ch.OffsetFreq = 12;
    ch.RF_SQ_N_L_Type = 1;
    ch.Dem_DENOIS = 3;
    ch.RF_AGC = 3;
    ch.Dem_SQL_Type = 4;  // RTN
    ch.CTCSS_CODE = 2;
    ch.VoiceSCR = 350;
    ch.DCS_CODE = 107;
    ch.Dem_DigiDecode = 1;
    ch.DCR_CODE = 32767;
    ch.DCR_WHITE = 511;
    ch.NXDN_RANCodeMute = 1;
    ch.NXDN_RANCode = 64;
    ch.Dem_DMR_Slot = 3;
    ch.DMR_ColorCodeMute = 1;
    ch.DMR_ColorCode = 16;
    ch.P25_NACCodeMute = 1;
    ch.P25_NACCode = 659;
    ch.RF_TETRA_Slot = 2;
    const TCommandList got = DetailWriteCommands(1, 2, ch);
    const TCommandList expected{
        {"MR0102", "[1](1000)"}, {"RX", "[1](200)"},    {"IF2", "[1](200)"},     {"AT2", "[-1](200)"},
        {"OF+12", "[1](500)"},   {"SQ1", "[-1](200)"},  {"NR3", "[-1](200)"},    {"AC3", "[-1](200)"},
        {"CI2", "[-1](200)"},    {"SI0", "[-1](200)"},  {"DI0", "[-1](200)"},    {"CN2", "[-1](200)"},
        {"SC350", "[-1](200)"},  {"DS107", "[-1](200)"}, {"DJ1", "[-1](200)"},   {"DC32767", "[-1](200)"},
        {"DW511", "[-1](200)"},  {"NM1", "[-1](200)"},  {"NC64", "[-1](200)"},   {"OT3", "[-1](200)"},
        {"CM1", "[-1](200)"},    {"CC16", "[-1](200)"}, {"PM1", "[-1](200)"},    {"PC659", "[-1](200)"},
        {"TS2", "[-1](200)"}};
    EXPECT_EQ(got, expected);
}

TEST(DetailWriteCommands, ConditionsAndValueForms)
{
    struct Case {
        const char* name;
        void (*prepare)(TMemChElement&);
        std::vector<std::string> present;
        std::vector<std::string> absent;
    } cases[] = {
        {"OffsetZero", [](TMemChElement& c) { c.OffsetFreq = 0; }, {"OF0"}, {"OF+0"}},
        {"OffsetMinus", [](TMemChElement& c) { c.OffsetFreq = -5; }, {"OF-5"}, {}},
        {"AutoBandSendsNoIf", [](TMemChElement& c) { c.Dem_AutoBand = 1; }, {}, {"IF"}},
        {"FmSendsNoAgc", [](TMemChElement& c) { c.AMode = 0; }, {"IF0"}, {"AC"}},
        {"CtcssSearch", [](TMemChElement& c) { c.CTCSS_CODE = 1; }, {"CN1"}, {}},
        {"SqlCtc", [](TMemChElement& c) { c.Dem_SQL_Type = 1; }, {"CI1", "SI0", "DI0"}, {}},
        {"SqlDcs", [](TMemChElement& c) { c.Dem_SQL_Type = 2; }, {"CI0", "SI0", "DI1"}, {}},
        {"SqlScr", [](TMemChElement& c) { c.Dem_SQL_Type = 3; }, {"CI0", "SI1", "DI0"}, {}},
    };
    for (const Case& c : cases) {
        TMemChElement ch = Channel(145500000);
        c.prepare(ch);
        const std::vector<std::string> cmds = Commands(DetailWriteCommands(0, 0, ch));
        for (const auto& p : c.present)
            EXPECT_TRUE(std::count(cmds.begin(), cmds.end(), p) == 1) << c.name << " lacks " << p;
        for (const auto& a : c.absent)
            EXPECT_FALSE(Has(DetailWriteCommands(0, 0, ch), a)) << c.name << " has " << a;
    }
}

TEST(WriteQueues, OneBankWithOnlyChannel05HoldingData)
{
    auto store = std::make_unique<TStore>();
    store->MemChData[3][5] = Channel(145500000);
    store->MemChData[3][9].MemFlag_RegistedFlag = 1;  // no frequency: deleted like the others
    bool changed = false;
    const TCommandList q = WrapWriteCommands(ChannelWriteCommands_1Bank(*store, 3), changed, store->OffsetFreqTable);

    std::vector<std::string> expected{"AZ", "IX1", "MQ0300", "MQ0301", "MQ0302", "MQ0303",
                                      "MQ0304", "MX0305 MP0 RF145.5 MD0F0 AU0 PT0 TTTITLE       ",
                                      "MQ0306", "MQ0307"};
    for (const auto& d : DetailWriteCommands(3, 5, store->MemChData[3][5]))
        expected.push_back(d.Command);
    for (int ch = 8; ch < 50; ++ch)
        expected.push_back("MQ03" + std::string(ch < 10 ? "0" : "") + std::to_string(ch));
    expected.push_back("IX0");
    EXPECT_EQ(Commands(q), expected);
    EXPECT_EQ(q[0].Option, "[1](200)");
    EXPECT_EQ(q[1].Option, "[-1](200)");
    EXPECT_EQ(q.back().Option, "[-1](200)");
}

TEST(WriteQueues, GroupsOfFourPutDetailsAfterTheGroupsMainCommands)
{
    auto store = std::make_unique<TStore>();
    store->MemChData[0][48] = Channel(100000);
    store->MemChData[0][49] = Channel(200000);
    const std::vector<std::string> cmds = Commands(ChannelWriteCommands_1Bank(*store, 0));
    const auto pos = [&](const std::string& s) { return std::find(cmds.begin(), cmds.end(), s) - cmds.begin(); };
    EXPECT_LT(pos("MQ0047"), pos("MQ0044") + 4);
    EXPECT_LT(pos("MR0048"), pos("MR0049"));
    EXPECT_GT(pos("MR0048"), std::find_if(cmds.begin(), cmds.end(), [](auto& c) { return c.rfind("MX0049", 0) == 0; }) - cmds.begin());
    EXPECT_EQ(ChannelWriteCommands_AllBanks(*store).size(), 50u * 40 + 2 * 24);
}

TEST(OffsetFreqSetCommand, SendsEntries1To19OnceAfterAChange)
{
    std::int32_t table[kOffsetCount]{};
    table[1] = 100000;
    table[19] = 999999999;
    table[20] = 100000;
    bool changed = true;
    TCommandList first = WrapWriteCommands({}, changed, table);
    EXPECT_FALSE(changed);
    ASSERT_EQ(first.size(), 2u + 19 + 1);
    EXPECT_EQ(first[2], (TQueuedCommand{"OL01 RF0.1", "[1](200)"}));
    EXPECT_EQ(first[3].Command, "OL02 RF0.0");
    EXPECT_EQ(first[20].Command, "OL19 RF999.999999");

    TCommandList second = WrapWriteCommands({}, changed, table);
    EXPECT_EQ(Commands(second), (std::vector<std::string>{"AZ", "IX1", "IX0"}));
}

TEST(MemoryWriteRes, AcceptsAcknowledgementsErrorsAndReceiveState)
{
    struct {
        const char* line;
        bool accepted;
    } cases[] = {{" ", true},          {"20 ", true},       {"?", true},         {"30?", true},
                 {"50?", true},        {"60?", true},       {"RX MR0512", true}, {"xxRX MR0512", true},
                 {"xRX MR0512", false}, {"MX0512 MP0", false}, {"", false},      {"  ", false},
                 {"40?", false},       {"RXMR0512", false}};
    for (const auto& c : cases)
        EXPECT_EQ(MemoryWriteRes_1Line(c.line), c.accepted) << '"' << c.line << '"';
}

}  // namespace
