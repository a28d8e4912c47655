#include "MemoryRead.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

bool SameRecord(const TMemChElement& a, const TMemChElement& b)
{
    // Compare every field (the record has no interior padding) but not the tail padding.
    return std::memcmp(&a, &b, offsetof(TMemChElement, Title) + sizeof a.Title) == 0;
}

class MemoryReadFamilyTest : public ::testing::Test {
protected:
    MemoryReadFamilyTest()
    {
        store->EmptyData_Init();
        family.OffsetListComplete = [this] { ++offsetListRebuilds; };
        family.RegionChanged = [this](int r) { regions.push_back(r); };
        Recall(3, 7);
    }
    bool Feed(const std::string& line, const std::string& sended = "IF")
    {
        return family.MemoryReadRes_1Line(line, sended, appended);
    }
    // The receiver recalls a channel and names it in its receive state, as a detail chain
    // begins; the parameter answers then go to that channel.
    void Recall(int bank, int ch)
    {
        char cmd[16], rx[16];
        std::snprintf(cmd, sizeof cmd, "MR%02d%02d", bank, ch);
        std::snprintf(rx, sizeof rx, "RX MR%02d%02d", bank, ch);
        family.CommandSent(cmd);
        ASSERT_TRUE(Feed(rx, "RX"));
    }
    TMemChElement& Focused() { return store->MemChData[3][7]; }

    std::unique_ptr<TStore> store = std::make_unique<TStore>();
    memparam::TParamShared shared;
    TMemoryReadFamily family{*store, shared};
    TCommandList appended;
    int offsetListRebuilds = 0;
    std::vector<int> regions;
};

// One parameter answer into the focused channel: accepted or not, and the field change.
struct ParamCase {
    const char* name;
    std::string line;
    std::function<void(TMemChElement&)> prepare;  // the channel before the line
    bool accepted;
    std::function<void(TMemChElement&)> change;  // expected change; none when empty
};

void PrintTo(const ParamCase& c, std::ostream* os)
{
    *os << c.name;
}

class ParamAnswerTest : public MemoryReadFamilyTest, public ::testing::WithParamInterface<ParamCase> {};

TEST_P(ParamAnswerTest, StoresIntoFocusedChannelOrChangesNothing)
{
    const ParamCase& c = GetParam();
    Focused().AMode = 0;
    Focused().OffsetFreq = 9;
    Focused().CTCSS_CODE = 7;
    Focused().DCS_CODE = 5;
    Focused().P25_NACCode = 77;
    Focused().IFBW = 1;
    if (c.prepare)
        c.prepare(Focused());
    TMemChElement expected = Focused();
    if (c.change)
        c.change(expected);

    EXPECT_EQ(Feed(c.line), c.accepted);
    EXPECT_TRUE(SameRecord(Focused(), expected));
    EXPECT_TRUE(appended.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ParamAnswerTest,
    ::testing::Values(
        ParamCase{"AuAtStart", "AU1", nullptr, true, [](auto& r) { r.Dem_AutoBand = 1; }},
        ParamCase{"AuAfterOneChar", "xAU1", nullptr, false, nullptr},
        ParamCase{"AuAfterTwoChars", "xxAU1", nullptr, true, [](auto& r) { r.Dem_AutoBand = 1; }},
        ParamCase{"AuOutOfRange", "AU2", nullptr, true, nullptr},
        ParamCase{"OffsetPlus", "OF+05", nullptr, true, [](auto& r) { r.OffsetFreq = 5; }},
        ParamCase{"OffsetMinus", "OF-05", nullptr, true, [](auto& r) { r.OffsetFreq = -5; }},
        ParamCase{"OffsetBlankSign", "OF 05", nullptr, true, nullptr},
        ParamCase{"OffsetBeyondTable", "OF+40", nullptr, true, nullptr},
        ParamCase{"CtcssFirstTone", "CN01", nullptr, true, [](auto& r) { r.CTCSS_CODE = 2; }},
        ParamCase{"CtcssSearch", "CN99", nullptr, true, [](auto& r) { r.CTCSS_CODE = 1; }},
        ParamCase{"CtcssOff", "CN00", nullptr, true, [](auto& r) { r.CTCSS_CODE = 0; }},
        ParamCase{"CtcssNoSuchTone", "CN53", nullptr, true, nullptr},
        ParamCase{"DcsListedCode", "DS023", nullptr, true, [](auto& r) { r.DCS_CODE = 3; }},
        ParamCase{"DcsUnlistedCode", "DS018", nullptr, true, nullptr},
        ParamCase{"DcsLastCode", "DS754", nullptr, true, [](auto& r) { r.DCS_CODE = 107; }},
        ParamCase{"DcsSearch", "DS999", nullptr, true, [](auto& r) { r.DCS_CODE = 1; }},
        ParamCase{"NacHex", "PC1A3", nullptr, true, [](auto& r) { r.P25_NACCode = 419; }},
        ParamCase{"NacNotHex", "PC1G3", nullptr, true, nullptr},
        // Hexadecimal values that spell another key are still the NAC.
        ParamCase{"NacSpellsAgcKey", "PCACE", nullptr, true, [](auto& r) { r.P25_NACCode = 2766; }},
        ParamCase{"NacSpellsDcrKey", "PCDC1", nullptr, true, [](auto& r) { r.P25_NACCode = 0xDC1; }},
        ParamCase{"NacSpellsColorKey", "xxPCCC0", nullptr, true, [](auto& r) { r.P25_NACCode = 0xCC0; }},
        ParamCase{"IfbwTooWideForAm", "IF4", [](auto& r) { r.AMode = 1; }, true, nullptr},
        ParamCase{"IfbwFitsFm", "IF4", nullptr, true, [](auto& r) { r.IFBW = 4; }},
        ParamCase{"IfbwSsbLimit", "IF2", [](auto& r) { r.AMode = 4; }, true, nullptr},
        ParamCase{"VoiceScrambler", "SC350", nullptr, true, [](auto& r) { r.VoiceSCR = 350; }},
        ParamCase{"VoiceScramblerLow", "SC199", nullptr, true, nullptr},
        ParamCase{"DcrCodeFiveDigits", "DC32767", nullptr, true, [](auto& r) { r.DCR_CODE = 32767; }},
        ParamCase{"DcrCodeTooLarge", "DC32768", nullptr, true, nullptr},
        ParamCase{"RanCode", "NC64", nullptr, true, [](auto& r) { r.NXDN_RANCode = 64; }},
        ParamCase{"ColorCodeTooLarge", "CC17", nullptr, true, nullptr},
        // Alone, without the rest of the chain, the slot does not make the channel fully read.
        ParamCase{"TetraSlotAlone", "TS3", [](auto& r) { r.ReadState = 1; }, true,
                  [](auto& r) { r.RF_TETRA_Slot = 3; }},
        ParamCase{"UnknownKey", "ZZ1", nullptr, false, nullptr},
        ParamCase{"ErrorAfterKey", "AU?", nullptr, true, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MemoryReadFamilyTest, SquelchTypeComesFromTheThreeAnswersInOrder)
{
    struct {
        const char* ci;
        const char* si;
        const char* di;
        int expected;
    } cases[] = {{"CI1", "SI1", "DI1", 1}, {"CI2", "SI0", "DI1", 4}, {"CI0", "SI1", "DI1", 2},
                 {"CI0", "SI1", "DI0", 3}, {"CI0", "SI0", "DI0", 0}};
    for (const auto& c : cases) {
        Focused().Dem_SQL_Type = 9;
        EXPECT_TRUE(Feed(c.ci) && Feed(c.si));
        EXPECT_EQ(Focused().Dem_SQL_Type, 9) << "only DI sets the type";
        EXPECT_TRUE(Feed(c.di));
        EXPECT_EQ(Focused().Dem_SQL_Type, c.expected) << c.ci << c.si << c.di;
    }
    // CI clears the other two results, so a stale SI of an earlier channel does not leak.
    Feed("CI0");
    Feed("DI0");
    EXPECT_EQ(Focused().Dem_SQL_Type, 0);
}

TEST_F(MemoryReadFamilyTest, SquelchTypeWaitsForThisChainsOwnResults)
{
    Feed("CI1");  // an earlier channel with a tone squelch
    Feed("SI0");
    Feed("DI0");
    ASSERT_EQ(Focused().Dem_SQL_Type, 1);
    for (const char* lost : {"CI", "SI"}) {
        Recall(3, 8);
        TMemChElement& next = store->MemChData[3][8];
        next.Dem_SQL_Type = 9;
        for (const char* line : {"CI0", "SI1", "DI0"})
            if (std::string(line).substr(0, 2) != lost)
                EXPECT_TRUE(Feed(line));
        EXPECT_EQ(next.Dem_SQL_Type, 9) << "without its " << lost << " answer";
    }
}

TEST_F(MemoryReadFamilyTest, ReceiveStateMovesTheFocusOnlyToAValidChannel)
{
    family.CommandSent("MR0512");
    EXPECT_TRUE(Feed("RX MR0512"));
    EXPECT_EQ(family.CmdFocusMemBank, 5);
    EXPECT_EQ(family.CmdFocusMemCh, 12);
    Feed("NR2");
    EXPECT_EQ(store->MemChData[5][12].Dem_DENOIS, 2);

    for (const char* bad : {"RX MR4012", "RX MR0550", "RX SR05", "RXMR0512"}) {
        EXPECT_TRUE(Feed(bad)) << bad;
        EXPECT_EQ(family.CmdFocusMemBank, 5) << bad;
        EXPECT_EQ(family.CmdFocusMemCh, 12) << bad;
    }
}

TEST_F(MemoryReadFamilyTest, AnyLineIsClaimedAfterTheClosingEx)
{
    EXPECT_FALSE(Feed("hello", "MA0000"));
    EXPECT_TRUE(Feed("hello", "EX"));
    EXPECT_TRUE(Feed("", "EX"));
}

// --- detail chains under lost or stray answers ---

// Valid answers to every parameter query of a chain, "TS" last; `skip` leaves one out.
std::vector<std::string> ChainAnswers(const std::string& skip = {})
{
    std::vector<std::string> out;
    for (const char* line : {"AU0", "IF1", "AT1", "OF+05", "SQ1", "NR2", "AC1", "CI1", "SI0", "DI0", "CN01",
                             "SC350", "DS023", "DJ1", "DC00042", "DW007", "NM1", "NC12", "OT1", "CM1",
                             "CC05", "PM1", "PC1A3", "TS2"})
        if (line != skip && std::string(line).substr(0, 2) != skip)
            out.push_back(line);
    return out;
}

// After the main answer of 5-12 (without "AU") and its recall, the receive state comes
// back as given; then the receiver answers every parameter query.
class ChainFocusTest : public MemoryReadFamilyTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(ChainFocusTest, ParametersStayOutOfChannelsTheReceiveStateDidNotName)
{
    const std::string rx = GetParam();
    ASSERT_TRUE(Feed("MX0512 MP0 RF0145.50000 ST012.50 SH000.00 MD0F0 PT0 TTTWELVE      "));
    const TMemChElement twelveBefore = store->MemChData[5][12];
    const TMemChElement sevenBefore = Focused();  // 3-7: the chain before this one
    family.CommandSent("MR0512");
    if (!rx.empty())
        EXPECT_TRUE(Feed(rx, "RX"));
    for (const std::string& line : ChainAnswers())
        EXPECT_TRUE(Feed(line, line.substr(0, 2))) << line;

    const bool named = rx == "RX MR0512";
    EXPECT_TRUE(SameRecord(Focused(), sevenBefore)) << "the earlier channel took this chain's answers";
    if (named) {
        EXPECT_EQ(store->MemChData[5][12].NXDN_RANCode, 12);
        EXPECT_EQ(store->MemChData[5][12].ReadState, 2);
    } else {
        EXPECT_TRUE(SameRecord(store->MemChData[5][12], twelveBefore));
    }
}

INSTANTIATE_TEST_SUITE_P(ReceiveStates, ChainFocusTest,
                         ::testing::Values("RX MR0512",   // the recalled channel
                                           "",            // lost
                                           "RX MR0307",   // a late answer of the earlier chain
                                           "RX VFO",      // the receiver left memory mode
                                           "RX MR4012"),  // no such channel
                         [](const auto& info) { return std::to_string(info.index); });

TEST_F(MemoryReadFamilyTest, FullyReadOnlyWhenEveryQueriedParameterWasTaken)
{
    const std::string withAu = "MX0512 MP0 RF0145.50000 ST012.50 SH000.00 MD0F0 AU1 PT0 TTWITH AU      ";
    const std::string withoutAu = "MX0512 MP0 RF0145.50000 ST012.50 SH000.00 MD0F0 PT0 TTWITHOUT AU   ";
    struct {
        std::string main;
        std::string skip;       // left out of the answers
        std::string replace;    // and answered like this instead, when given
        int readState;
    } cases[] = {
        {withoutAu, "", "", 2},
        {withAu, "AU", "", 2},  // the main answer carried it, no query
        {withoutAu, "AU", "", 1},
        {withoutAu, "IF", "", 1},
        {withoutAu, "CI", "", 1},  // the squelch type would rest on an earlier channel's result
        {withoutAu, "PC", "", 1},
        {withoutAu, "DS", "DS018", 1},  // a code the list does not hold
        {withoutAu, "SC", "SC?", 1},    // refused
        {withoutAu, "TS", "", 1},
        {withoutAu, "TS", "TS9", 1},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Feed(c.main));
        family.CommandSent("MR0512");
        ASSERT_TRUE(Feed("RX MR0512", "RX"));
        std::vector<std::string> answers = ChainAnswers(c.skip);
        if (!c.replace.empty())
            answers.insert(answers.end() - (c.skip == "TS" ? 0 : 1), c.replace);
        for (const std::string& line : answers)
            Feed(line, line.substr(0, 2));
        EXPECT_EQ(store->MemChData[5][12].ReadState, c.readState) << c.main << " without " << c.skip;
    }
}

TEST_F(MemoryReadFamilyTest, AnswersAfterTheClosingExReachNoChannel)
{
    const TMemChElement before = Focused();
    family.CommandSent("EX");
    EXPECT_TRUE(Feed("NR2", "EX"));
    EXPECT_TRUE(SameRecord(Focused(), before));
    // The region is not a channel's and is still taken.
    EXPECT_TRUE(Feed("AZ1", "EX"));
    EXPECT_EQ(store->Region, 1);
}

TEST_F(MemoryReadFamilyTest, OffsetAnswersFillTheTableAndEntry39RebuildsTheList)
{
    store->OffsetFreqTable[1] = 7;
    EXPECT_TRUE(Feed("OL01 RF0000.10000"));
    EXPECT_EQ(store->OffsetFreqTable[1], 100000);
    EXPECT_EQ(offsetListRebuilds, 0);
    EXPECT_TRUE(Feed("OL39 RF0130.00000"));
    EXPECT_EQ(store->OffsetFreqTable[39], 130000000);
    EXPECT_EQ(offsetListRebuilds, 1);

    // Rejected index, missing frequency or a frequency the conversion refuses: no change.
    for (const char* bad : {"OL00 RF0000.10000", "OL40 RF0000.10000", "OL05", "OL05 RF0000,10000",
                            "OL05 RF3999.99999"}) {
        store->OffsetFreqTable[5] = 123;
        store->OffsetFreqTable[0] = 0;
        EXPECT_TRUE(Feed(bad)) << bad;
        EXPECT_EQ(store->OffsetFreqTable[5], 123) << bad;
        EXPECT_EQ(store->OffsetFreqTable[0], 0) << bad;
    }
    EXPECT_TRUE(Feed("OL39 RFabc"));
    EXPECT_EQ(store->OffsetFreqTable[39], 130000000);
    EXPECT_EQ(offsetListRebuilds, 1);
}

TEST_F(MemoryReadFamilyTest, RegionAnswerSetsRegionAndSelectsTheRadioItem)
{
    EXPECT_TRUE(Feed("AZ2"));
    EXPECT_EQ(store->Region, 2);
    EXPECT_TRUE(Feed("AZ3"));
    EXPECT_EQ(store->Region, 2);
    EXPECT_EQ(regions, std::vector<int>{2});
}

// --- main answer ---

const char* const kMain = "MX0512 MP1 RF0145.50000 ST012.50 SH006.25 MD070 AU1 PT0 TTREPEATER 12 ";

TEST_F(MemoryReadFamilyTest, MainAnswerReplacesTheChannelAndQueuesItsDetailChain)
{
    store->MemChData[5][12].CTCSS_CODE = 9;  // replaced whole, not merged
    EXPECT_TRUE(Feed(kMain));
    const TMemChElement& ch = store->MemChData[5][12];
    EXPECT_EQ(ch.RxFreq, 145500000);
    EXPECT_EQ(ch.StepFreq, 12500);
    EXPECT_EQ(ch.AdjFreq, 6250);
    EXPECT_EQ(ch.MemFlag_Pass, 1);
    EXPECT_EQ(ch.Dem_DModeEnable, 1);
    EXPECT_EQ(ch.DMode, 2);  // code digit 7 is DMR
    EXPECT_EQ(ch.AMode, 0);
    EXPECT_EQ(ch.Dem_AutoBand, 1);
    EXPECT_EQ(ch.MemFlag_ProtectFlag, 0);
    EXPECT_EQ(TitleText(ch.Title), u"REPEATER 12 ");
    EXPECT_EQ(ch.MemFlag_RegistedFlag, 1);
    EXPECT_EQ(ch.ReadState, 1);
    EXPECT_EQ(ch.CTCSS_CODE, 0);
    EXPECT_EQ(family.AU_in_MX_Flag, 1);

    // First chain of the operation: no "AU" query (the answer carried it), the offset list.
    ASSERT_EQ(appended.size(), 2u + 2 + 39 + 21);
    EXPECT_EQ(appended[0], (TQueuedCommand{"MR0512", "[1](2)"}));
    EXPECT_EQ(appended[1], (TQueuedCommand{"RX", "[1](200)"}));
    EXPECT_EQ(appended[2].Command, "IF");
    EXPECT_EQ(appended[4], (TQueuedCommand{"OL01", "[1](200)"}));
    EXPECT_EQ(appended[42].Command, "OL39");
    EXPECT_EQ(appended[43].Command, "OF");
    EXPECT_EQ(appended.back(), (TQueuedCommand{"TS", "[1](200)"}));

    // The next channel of the same operation gets no offset queries.
    appended.clear();
    EXPECT_TRUE(Feed("MX0513 MP0 RF0440.00000 ST012.50 SH000.00 MD0F1 PT1 TTNO AU FIELD"));
    ASSERT_EQ(appended.size(), 2u + 1 + 2 + 21);
    EXPECT_EQ(appended[2], (TQueuedCommand{"AU", "[1](200)"}));
    EXPECT_EQ(family.AU_in_MX_Flag, 0);
}

TEST_F(MemoryReadFamilyTest, TitleContainingAuIsTextNotAField)
{
    store->MemChEmptyData.Dem_AutoBand = 0;
    EXPECT_TRUE(Feed("MX0000 MP0 RF0088.10000 ST100.00 SH000.00 MD0F0 PT0 TTAUTO RADIO  "));
    const TMemChElement& ch = store->MemChData[0][0];
    EXPECT_EQ(ch.MemFlag_RegistedFlag, 1);
    EXPECT_EQ(TitleText(ch.Title), u"AUTO RADIO  ");
    EXPECT_EQ(ch.Dem_AutoBand, 0);
    EXPECT_EQ(family.AU_in_MX_Flag, 0);
}

TEST_F(MemoryReadFamilyTest, EmptyChannelAnswerStoresTheBlankRecordAndQueuesNothing)
{
    store->MemChData[5][12].RxFreq = 145500000;
    store->MemChData[5][12].MemFlag_RegistedFlag = 1;
    EXPECT_TRUE(Feed("MX0512 ---"));
    const TMemChElement& ch = store->MemChData[5][12];
    TMemChElement expected = store->MemChEmptyData;
    expected.ReadState = 1;
    EXPECT_TRUE(SameRecord(ch, expected));
    EXPECT_TRUE(appended.empty());
}

// Main answers that fail a check leave the stored channel alone and queue nothing.
class BadMainAnswerTest : public MemoryReadFamilyTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(BadMainAnswerTest, IsClaimedButChangesNothing)
{
    TMemChElement& ch = store->MemChData[5][12];
    ch.RxFreq = 7;
    const TMemChElement before = ch;
    EXPECT_TRUE(Feed(GetParam()));
    EXPECT_TRUE(SameRecord(ch, before));
    EXPECT_TRUE(appended.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Lines, BadMainAnswerTest,
    ::testing::Values("MX0512 MP0 RF3000.00001 ST012.50 SH000.00 MD0F0 AU0 PT0 TTTOO HIGH    ",
                      "MX0512 MP0 RF0000.09999 ST012.50 SH000.00 MD0F0 AU0 PT0 TTTOO LOW     ",
                      "MX0512 MP2 RF0145.50000 ST012.50 SH000.00 MD0F0 AU0 PT0 TTBAD PASS    ",
                      "MX0512 MP0 RF0145.50000 ST012.50 SH000.00 MDXAX AU0 PT0 TTBAD MODE    ",
                      "MX0512 MP0 RF0145.50000 ST012.50 SH000.00 MD0FA AU0 PT0 TTBAD AMODE   ",
                      "MX0512 MP0 RF0145.50000 ST012.50 SH000.00 MD0F0 AU5 PT0 TTBAD AU      ",
                      "MX0512 MP0 RF0145.50000 ST012.50 SH000.00 MD0F0 AU0 PT0               ",
                      "MX0512 MP0 RF0145.50000 ST012.50 MD0F0 AU0 PT0 TTNO SH KEY     ",
                      "MX0512 MP0 RF0145.50000 ST12500 SH000.00 MD0F0 AU0 PT0 TTSTEP NO DOT ",
                      "MX4012 MP0 RF0145.50000 ST012.50 SH000.00 MD0F0 AU0 PT0 TTBANK 40     ",
                      "MX0550 MP0 RF0145.50000 ST012.50 SH000.00 MD0F0 AU0 PT0 TTCHANNEL 50  "));

TEST_F(MemoryReadFamilyTest, MainAnswerWithTwoLeadingCharactersIsCutFirst)
{
    EXPECT_TRUE(Feed(std::string("\n>") + kMain));
    EXPECT_EQ(store->MemChData[5][12].RxFreq, 145500000);
}

TEST_F(MemoryReadFamilyTest, BankHeaderAnswer)
{
    EXPECT_TRUE(Feed("MW07 PT1 TTBANK SEVEN"));
    const TMemBankElement& b = store->MemBankData[7];
    EXPECT_EQ(b.MemBankFlag_ProtectFlag, 1);
    EXPECT_EQ(b.MemBankFlag_RegistedFlag, 1);
    EXPECT_EQ(b.ReadState, 1);
    EXPECT_EQ(TitleText(b.Title), u"BANK SEVEN");

    for (const char* bad : {"MW07 PT2 TTX", "MW07 PTX", "MW40 PT0 TTX"}) {
        EXPECT_TRUE(Feed(bad)) << bad;
        EXPECT_EQ(TitleText(store->MemBankData[7].Title), u"BANK SEVEN") << bad;
    }
}

TEST(ReadCommands, QueuesRegionChannelsAndHeader)
{
    const TCommandList one = ReadCommands_1Ch(5, 7);
    EXPECT_EQ(one, (TCommandList{{"AZ", "[1](200)"}, {"MA0507", "[1](200)"}, {"MW05", "[1](200)"}}));

    const TCommandList bank = ReadCommands_1Bank(39);
    ASSERT_EQ(bank.size(), 52u);
    EXPECT_EQ(bank[1].Command, "MA3900");
    EXPECT_EQ(bank[50].Command, "MA3949");
    EXPECT_EQ(bank[51].Command, "MW39");

    const TCommandList all = ReadCommands_AllBanks();
    ASSERT_EQ(all.size(), 1u + 40 * 51);
    EXPECT_EQ(all[51].Command, "MW00");
    EXPECT_EQ(all[52].Command, "MA0100");
    EXPECT_EQ(all.back().Command, "MW39");
}

}  // namespace

namespace {

// Lines cut at every length and built from the letters of the keys: no parser may read
// past the end of a line or leave the focus outside the store.
TEST_F(MemoryReadFamilyTest, ArbitraryLinesNeverReadPastTheirEnd)
{
    const std::string alphabet = "MXWRAUIFOLTSZPCDNHBQ0123456789 +-.?";
    std::uint32_t seed = 12345;
    auto next = [&] { return seed = seed * 1664525u + 1013904223u; };
    const std::string samples[] = {kMain, "MX0512 ---", "MW07 PT1 TTBANK SEVEN", "RX MR0512",
                                   "OL01 RF0000.10000", "OF+05", "PC1A3", "DC32767"};
    for (const std::string& s : samples)
        for (std::size_t len = 0; len <= s.size(); ++len)
            EXPECT_NO_THROW(Feed(s.substr(0, len))) << s.substr(0, len);
    for (int i = 0; i < 20000; ++i) {
        std::string line;
        const std::size_t len = next() % 48;
        for (std::size_t k = 0; k < len; ++k)
            line += alphabet[next() % alphabet.size()];
        ASSERT_NO_THROW(Feed(line)) << line;
        ASSERT_TRUE(memparam::InRange(family.CmdFocusMemBank, 0, 39) && memparam::InRange(family.CmdFocusMemCh, 0, 49)) << line;
    }
}

}  // namespace
