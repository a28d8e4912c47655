#include "SearchBankFixture.h"

#include "SearchBankWrite.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using sbank::BankWriteBlock;
using sbank::kLinkNoBankYet;
using sbank::kLinkSaveQueued;

TSearchBankElement RangeBank(const TStore& store)
{
    TSearchBankElement b = store.SearchBankEmptyData;
    b.Flags_RegistedFlag = 1;
    b.ReadState = 2;
    b.LowFreq = 144000000;
    b.HighFreq = 146000000;
    b.StepFreq = 12500;
    b.AdjFreq = 0;
    SetTitleText(b.Title, u"2M BAND");
    return b;
}

bool Has(const TCommandList& list, const std::string& cmd)
{
    return std::any_of(list.begin(), list.end(), [&](const TQueuedCommand& c) { return c.Command == cmd; });
}

struct ModeCase {
    std::uint8_t digital, dmode, amode;
    const char* text;
};

class ModeTextTest : public ::testing::TestWithParam<ModeCase> {};

TEST_P(ModeTextTest, DigitalCodeOrAnalogMode)
{
    const ModeCase& c = GetParam();
    TSearchBankElement b{};
    b.Dem_DModeEnable = c.digital;
    b.DMode = c.dmode;
    b.AMode = c.amode;
    EXPECT_EQ(sbank::Make_SEMD_Param(b), c.text);
}

INSTANTIATE_TEST_SUITE_P(Modes, ModeTextTest,
                         ::testing::Values(ModeCase{1, 2, 0, "070"},   // DMR
                                           ModeCase{1, 9, 0, "000"},   // D-AU
                                           ModeCase{1, 0, 3, "010"},   // D-STAR; AMode not sent
                                           ModeCase{0, 5, 1, "0F1"},   // AM; DMode ignored
                                           ModeCase{2, 2, 4, "0F4"}));  // only exactly 1 is digital

TEST(SummaryWriteLine, FieldsInOrderAndTitleUpToItsEnd)
{
    auto store = std::make_unique<TStore>();
    store->EmptyData_Init();
    TSearchBankElement b = RangeBank(*store);
    b.AdjFreq = 6250;
    b.Dem_AutoBand = 1;
    b.Flags_ProtectFlag = 1;
    EXPECT_EQ(sbank::SummaryWriteLine(5, b), "SE05 SL144.0 SU146.0 ST12.5 SH6.25 MD0F0 AU1 PT1 TT2M BAND");
    SetTitleText(b.Title, u"FOURTEEN CHARS");
    EXPECT_EQ(sbank::SummaryWriteLine(39, b).substr(0, 4), "SE39");
    EXPECT_TRUE(sbank::SummaryWriteLine(39, b).ends_with(" TTFOURTEEN CHARS"));
}

TEST(BankWriteBlock, BankWithoutRangeIsDeleted)
{
    auto store = std::make_unique<TStore>();
    store->EmptyData_Init();
    TSearchBankElement noLow = RangeBank(*store);
    noLow.LowFreq = 0;
    TSearchBankElement noHigh = RangeBank(*store);
    noHigh.HighFreq = 0;
    TSearchBankElement unregistered = RangeBank(*store);
    unregistered.Flags_RegistedFlag = 0;
    for (const TSearchBankElement& b : {noLow, noHigh, unregistered, store->SearchBankEmptyData}) {
        std::int32_t state = kLinkNoBankYet;
        EXPECT_EQ(BankWriteBlock(7, b, state), (TCommandList{{"SX07", "[-1](200)"}}));
        EXPECT_EQ(state, kLinkNoBankYet);
    }
}

TEST(BankWriteBlock, FirstRangeSavesTheLinkListAndSetsEveryParameter)
{
    auto store = std::make_unique<TStore>();
    store->EmptyData_Init();
    TSearchBankElement b = RangeBank(*store);
    b.AMode = 1;
    b.IFBW = 2;
    b.RF_AGC = 3;
    b.OffsetFreq = 7;
    b.Dem_SQL_Type = 1;
    b.CTCSS_CODE = 2;
    b.VoiceSCR = 300;
    b.DCS_CODE = 5;
    b.P25_NACCode = 0x1A3;
    b.RF_TETRA_Slot = 4;
    std::int32_t state = kLinkNoBankYet;
    const TCommandList block = BankWriteBlock(12, b, state);
    const TCommandList want{
        {sbank::SummaryWriteLine(12, b), "[1](1000)"},
        {"SS12", "[1](1000)"},
        {"BK", "[1](200)"},
        {"BK99", "[1](200)"},
        {"SS12", "[1](2)"},
        {"RX", "[1](200)"},
        {"IF2", "[1](200)"},
        {"AT0", "[-1](200)"},
        {"OF+7", "[1](500)"},
        {"SQ0", "[-1](200)"},
        {"NR0", "[-1](200)"},
        {"AC3", "[-1](200)"},
        {"CI1", "[-1](200)"},
        {"SI0", "[-1](200)"},
        {"DI0", "[-1](200)"},
        {"CN2", "[-1](200)"},
        {"SC300", "[-1](200)"},
        {"DS5", "[-1](200)"},
        {"DJ0", "[-1](200)"},
        {"DC0", "[-1](200)"},
        {"DW0", "[-1](200)"},
        {"NM0", "[-1](200)"},
        {"NC0", "[-1](200)"},
        {"OT0", "[-1](200)"},
        {"CM0", "[-1](200)"},
        {"CC0", "[-1](200)"},
        {"PM0", "[-1](200)"},
        {"PC419", "[-1](200)"},  // decimal, not the answer's hexadecimal
        {"TS4", "[-1](200)"},
    };
    EXPECT_EQ(block, want);
    EXPECT_EQ(state, kLinkSaveQueued);

    // A later bank with a range selects itself but saves nothing again.
    const std::vector<std::string> second = Commands(BankWriteBlock(13, b, state));
    EXPECT_EQ(second[1], "SS13");
    EXPECT_EQ(second[2], "RX");
    EXPECT_EQ(std::count(second.begin(), second.end(), "BK"), 0);
}

// Values that change the form or the presence of a set command.
struct SetCase {
    const char* name;
    std::function<void(TSearchBankElement&)> change;
    std::vector<std::string> present;
    std::vector<std::string> absent;
};

void PrintTo(const SetCase& c, std::ostream* os) { *os << c.name; }

class SetCommandTest : public ::testing::TestWithParam<SetCase> {};

TEST_P(SetCommandTest, FormsAndConditions)
{
    const SetCase& c = GetParam();
    auto store = std::make_unique<TStore>();
    store->EmptyData_Init();
    TSearchBankElement b = RangeBank(*store);
    c.change(b);
    std::int32_t state = sbank::kLinkDone;
    const TCommandList block = BankWriteBlock(0, b, state);
    for (const std::string& cmd : c.present)
        EXPECT_TRUE(Has(block, cmd)) << "missing " << cmd;
    for (const std::string& cmd : c.absent)
        EXPECT_FALSE(Has(block, cmd)) << "has " << cmd;
}

INSTANTIATE_TEST_SUITE_P(
    Values, SetCommandTest,
    ::testing::Values(
        SetCase{"PositiveOffset", [](auto& b) { b.OffsetFreq = 5; }, {"OF+5"}, {"OF5"}},
        SetCase{"ZeroOffset", [](auto& b) { b.OffsetFreq = 0; }, {"OF0"}, {"OF+0"}},
        SetCase{"NegativeOffset", [](auto& b) { b.OffsetFreq = -39; }, {"OF-39"}, {}},
        SetCase{"ReverseTone", [](auto& b) { b.Dem_SQL_Type = 4; }, {"CI2", "SI0", "DI0"}, {}},
        SetCase{"Dcs", [](auto& b) { b.Dem_SQL_Type = 2; }, {"CI0", "SI0", "DI1"}, {}},
        SetCase{"Scrambler", [](auto& b) { b.Dem_SQL_Type = 3; }, {"CI0", "SI1", "DI0"}, {}},
        SetCase{"FAutoLeavesOutIF", [](auto& b) { b.Dem_AutoBand = 1; b.IFBW = 3; }, {"AT0"}, {"IF3"}},
        SetCase{"FmLeavesOutAGC", [](auto& b) { b.AMode = 0; b.RF_AGC = 2; }, {"IF0"}, {"AC2"}},
        SetCase{"DigitalLeavesOutAGC",
                [](auto& b) { b.Dem_DModeEnable = 1; b.DMode = 2; b.AMode = 0; b.RF_AGC = 1; },
                {},
                {"AC1"}},
        SetCase{"NoSaveOnceStarted", [](auto&) {}, {"SS00"}, {"BK", "BK99"}}));

TEST(WriteCommands, AllBanksFirstRangeInBankFive)
{
    auto store = std::make_unique<TStore>();
    store->EmptyData_Init();
    store->SearchBankData[5] = RangeBank(*store);
    store->SearchBankData[6] = RangeBank(*store);
    store->OffsetFreqTable[1] = 100000;
    std::int32_t state = kLinkNoBankYet;
    bool offsetChanged = true;
    const TCommandList all = sbank::WriteCommands_AllBanks(*store, state, offsetChanged);
    const std::vector<std::string> cmds = Commands(all);

    ASSERT_GE(cmds.size(), 30u);
    EXPECT_EQ(cmds[0], "AZ");
    EXPECT_EQ(all[1], (TQueuedCommand{"IX1", "[-1](200)"}));
    EXPECT_EQ(cmds[2], "OL01 RF0.1");
    EXPECT_EQ(cmds[20], "OL19 RF0.0");
    EXPECT_FALSE(offsetChanged);
    EXPECT_EQ(std::vector<std::string>(cmds.begin() + 21, cmds.begin() + 26),
              (std::vector<std::string>{"SX00", "SX01", "SX02", "SX03", "SX04"}));
    EXPECT_TRUE(cmds[26].starts_with("SE05 "));
    EXPECT_EQ(std::vector<std::string>(cmds.begin() + 27, cmds.begin() + 31),
              (std::vector<std::string>{"SS05", "BK", "BK99", "SS05"}));
    EXPECT_EQ(std::count(cmds.begin(), cmds.end(), "BK"), 1);
    EXPECT_EQ(std::count(cmds.begin(), cmds.end(), "SS06"), 1);
    EXPECT_EQ(std::count_if(cmds.begin(), cmds.end(), [](const std::string& c) { return c.starts_with("SX"); }),
              38);
    EXPECT_EQ(all.back(), (TQueuedCommand{"IX0", "[-1](200)"}));
    EXPECT_EQ(state, kLinkSaveQueued);

    // The list went with the first write; the next one sends no offsets.
    std::int32_t again = kLinkNoBankYet;
    EXPECT_FALSE(Has(sbank::WriteCommands_AllBanks(*store, again, offsetChanged), "OL01 RF0.1"));
}

TEST(WriteCommands, OneEmptyBankSendsNoSelectAndNoLinkList)
{
    auto store = std::make_unique<TStore>();
    store->EmptyData_Init();
    std::int32_t state = kLinkNoBankYet;
    bool offsetChanged = false;
    EXPECT_EQ(Commands(sbank::WriteCommands_1Bank(*store, 8, state, offsetChanged)),
              (std::vector<std::string>{"AZ", "IX1", "SX08", "IX0"}));
    EXPECT_EQ(state, kLinkNoBankYet);
    EXPECT_TRUE(sbank::WriteCommands_1Bank(*store, 40, state, offsetChanged).empty());
}

// The write handler: which lines it claims, and the link stages it moves.
struct WriteAnswerCase {
    const char* line;
    const char* sended;
    std::int32_t state;
    bool claimed;
    std::int32_t next;
};

class WriteAnswerTest : public ::testing::TestWithParam<WriteAnswerCase> {};

TEST_P(WriteAnswerTest, ClaimsAnswersOfTheWrite)
{
    const WriteAnswerCase& c = GetParam();
    std::int32_t state = c.state;
    TSearchGrpElement backup{};
    bool keep = false;
    sbank::TLinkSave link{state, backup, keep};
    EXPECT_EQ(sbank::SearchBankWriteRes_1Line(c.line, c.sended, link), c.claimed) << c.line;
    EXPECT_EQ(state, c.next) << c.line;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, WriteAnswerTest,
    ::testing::Values(WriteAnswerCase{" ", "SE05 SL1.0", 1, true, 1}, WriteAnswerCase{"20 ", "SS05", 2, true, 3},
                      WriteAnswerCase{"?", "AT1", 2, true, 2}, WriteAnswerCase{"30?", "AT1", 2, true, 2},
                      WriteAnswerCase{"50?", "AT1", 2, true, 2}, WriteAnswerCase{"60?", "AT1", 2, true, 2},
                      WriteAnswerCase{"RX SR05", "RX", 5, true, 5}, WriteAnswerCase{"12RX SR05", "RX", 5, true, 5},
                      WriteAnswerCase{"RX VFO", "RX", 5, false, 5}, WriteAnswerCase{"RX MR0102", "RX", 5, false, 5},
                      WriteAnswerCase{"AZ1", "AZ", 1, false, 1}, WriteAnswerCase{"BK0105", "BK", 3, true, 4},
                      WriteAnswerCase{"BK0105", "BK", 2, true, 4},  // "SS" never acknowledged
                      WriteAnswerCase{" ", "BK99", 4, true, 5}, WriteAnswerCase{"20 ", "BK0105", 6, true, 0},
                      WriteAnswerCase{"BK0105", "BK", 5, false, 5}));

}  // namespace
