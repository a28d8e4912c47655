#include "SearchBankFixture.h"

#include "CommandEngine.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

using sbank::kLinkNoBankYet;
using sbank::kLinkSaveQueued;

// A summary line: stored as given (fields checked) or dropped whole.
struct SummaryCase {
    const char* name;
    std::string line;
    std::optional<std::function<void(const TSearchBankElement&)>> stored;  // nothing: dropped
    bool chainAsksAU = false;
};

void PrintTo(const SummaryCase& c, std::ostream* os) { *os << c.name; }

class SummaryLineTest : public ::testing::TestWithParam<SummaryCase> {};

TEST_P(SummaryLineTest, StoresTheBankOrDropsTheLine)
{
    const SummaryCase& c = GetParam();
    SearchBankRig rig;
    TSearchBankElement before = rig.store->SearchBankEmptyData;
    before.LowFreq = 5000000;  // an earlier read, to see that a dropped line keeps it
    before.Flags_RegistedFlag = 1;
    before.ReadState = 2;
    rig.Bank(5) = before;

    EXPECT_TRUE(rig.Feed(c.line, "SR05"));  // claimed either way
    if (!c.stored) {
        EXPECT_TRUE(SameRecord(rig.Bank(5), before));
        EXPECT_TRUE(rig.appended.empty());
        EXPECT_EQ(rig.state, kLinkNoBankYet);
        return;
    }
    const TSearchBankElement& b = rig.Bank(5);
    EXPECT_EQ(b.Flags_RegistedFlag, 1);
    EXPECT_EQ(b.ReadState, 1);
    (*c.stored)(b);
    const std::vector<std::string> chain = Commands(rig.appended);
    EXPECT_EQ(std::count(chain.begin(), chain.end(), "AU"), c.chainAsksAU ? 1 : 0);
    EXPECT_EQ(rig.family.AU_in_SE_Flag, c.chainAsksAU ? 0 : 1);
}

const std::string kHead = "SE05 SL0145.00000 SU0146.00000 ST012.50 SH006.25 ";

INSTANTIATE_TEST_SUITE_P(
    Lines, SummaryLineTest,
    ::testing::Values(
        SummaryCase{"WithAU", kHead + "MD0F0 AU1 PT1 TTTWO METRE   ",
                    [](const TSearchBankElement& b) {
                        EXPECT_EQ(b.LowFreq, 145000000);
                        EXPECT_EQ(b.HighFreq, 146000000);
                        EXPECT_EQ(b.StepFreq, 12500);
                        EXPECT_EQ(b.AdjFreq, 6250);
                        EXPECT_EQ(b.Dem_AutoBand, 1);
                        EXPECT_EQ(b.Flags_ProtectFlag, 1);
                        EXPECT_EQ(TitleText(b.Title), u"TWO METRE   ");
                    }},
        SummaryCase{"WithoutAUModeEndsBeforePT", kHead + "MD0F3 PT0 TTSSB",
                    [](const TSearchBankElement& b) {
                        EXPECT_EQ(b.Dem_DModeEnable, 0);
                        EXPECT_EQ(b.AMode, 3);
                        EXPECT_EQ(b.Dem_AutoBand, 0);
                        EXPECT_EQ(TitleText(b.Title), u"SSB");
                    },
                    true},
        SummaryCase{"DigitalDmr", kHead + "MD070 AU0 PT0 TTDMR",
                    [](const TSearchBankElement& b) {
                        EXPECT_EQ(b.Dem_DModeEnable, 1);
                        EXPECT_EQ(b.DMode, 2);
                        EXPECT_EQ(b.AMode, 0);
                    }},
        SummaryCase{"TitleHoldsAUWithoutAUField", kHead + "MD0F1 PT0 TTAUTO AIR",
                    [](const TSearchBankElement& b) {
                        EXPECT_EQ(b.AMode, 1);
                        EXPECT_EQ(TitleText(b.Title), u"AUTO AIR");
                    },
                    true},
        SummaryCase{"FifteenCharacterTitleKeepsTwelve", kHead + "MD0F0 AU0 PT0 TTABCDEFGHIJKLMNO",
                    [](const TSearchBankElement& b) { EXPECT_EQ(TitleText(b.Title), u"ABCDEFGHIJKL"); }},
        SummaryCase{"LowestEdge", "SE05 SL0000.10000 SU3000.00000 ST001.00 SH000.00 MD0F0 AU0 PT0 TTX",
                    [](const TSearchBankElement& b) {
                        EXPECT_EQ(b.LowFreq, 100000);
                        EXPECT_EQ(b.HighFreq, 3000000000LL);
                    }},
        SummaryCase{"LowEdgeTenHertzTooLow", "SE05 SL0000.09999 SU0001.00000 ST001.00 SH000.00 MD0F0 AU0 PT0 TTX",
                    std::nullopt},
        SummaryCase{"HighEdgeAbove3000MHz", "SE05 SL0001.00000 SU3000.00001 ST001.00 SH000.00 MD0F0 AU0 PT0 TTX",
                    std::nullopt},
        SummaryCase{"MissingPT", kHead + "MD0F0 AU0 TTX", std::nullopt},
        SummaryCase{"ModeDigitNotADigit", kHead + "MD0X0 AU0 PT0 TTX", std::nullopt},
        SummaryCase{"AUOutOfRange", kHead + "MD0F0 AU2 PT0 TTX", std::nullopt},
        SummaryCase{"StepTooLarge", "SE05 SL0145.00000 SU0146.00000 ST1000.00 SH000.00 MD0F0 AU0 PT0 TTX",
                    std::nullopt},
        SummaryCase{"ProtectNotANumber", kHead + "MD0F0 AU0 PTx TTX", std::nullopt}));

TEST(SummaryLine, BankOutsideRangeIsIgnored)
{
    SearchBankRig rig;
    EXPECT_TRUE(rig.Feed("SE40 SL0145.00000 SU0146.00000 ST012.50 SH000.00 MD0F0 AU0 PT0 TTX", "SR40"));
    EXPECT_TRUE(rig.appended.empty());
    for (int b = 0; b < kSearchBankCount; ++b)
        EXPECT_EQ(rig.Bank(b).ReadState, 0) << b;
}

// "?", "30?" and "SE bb ---" all store the blank record as read, and queue nothing.
class EmptyBankTest : public ::testing::TestWithParam<const char*> {};

TEST_P(EmptyBankTest, StoresBlankRecordAsRead)
{
    SearchBankRig rig;
    rig.Bank(7).Flags_RegistedFlag = 1;
    rig.Bank(7).LowFreq = 145000000;
    EXPECT_TRUE(rig.Feed(GetParam(), "SR07"));
    TSearchBankElement want = rig.store->SearchBankEmptyData;
    want.ReadState = 1;
    EXPECT_TRUE(SameRecord(rig.Bank(7), want));
    EXPECT_TRUE(rig.appended.empty());
}

INSTANTIATE_TEST_SUITE_P(Answers, EmptyBankTest, ::testing::Values("?", "30?", "SE07 ---", "20SE07 ---"));

TEST(SummaryLine, RefusalOfAnotherCommandIsNotAnEmptyBank)
{
    SearchBankRig rig;
    EXPECT_FALSE(rig.Feed("?", "IF"));
    EXPECT_EQ(rig.Bank(0).ReadState, 0);
}

TEST(DetailChain, FirstBankWithRangeSavesTheLinkListOnce)
{
    SearchBankRig rig;
    ASSERT_TRUE(rig.Feed("SE03 SL0145.00000 SU0146.00000 ST012.50 SH000.00 MD0F0 PT0 TTA", "SR03"));
    std::vector<std::string> want{"SS03", "BK", "BK99", "SS03", "RX", "AU", "IF", "AT"};
    for (int n = 1; n <= 39; ++n)
        want.push_back("OL" + std::string(n < 10 ? "0" : "") + std::to_string(n));
    for (const char* k : {"OF", "SQ", "NR", "AC", "CI", "SI", "DI", "CN", "SC", "DS", "DJ", "DC", "DW",
                          "NM", "NC", "OT", "CM", "CC", "PM", "PC", "TS"})
        want.push_back(k);
    EXPECT_EQ(Commands(rig.appended), want);
    EXPECT_EQ(rig.appended[0].Option, "[1](2)");
    EXPECT_EQ(rig.appended[3].Option, "[1](2)");
    EXPECT_EQ(rig.appended[1].Option, "[1](200)");
    EXPECT_EQ(rig.state, kLinkSaveQueued);

    // The next bank with a range: its own "SS" and chain, no save, no offset list.
    rig.appended.clear();
    ASSERT_TRUE(rig.Feed("SE09 SL0400.00000 SU0470.00000 ST012.50 SH000.00 MD070 AU0 PT0 TTB", "SR09"));
    const std::vector<std::string> second = Commands(rig.appended);
    EXPECT_EQ(second.front(), "SS09");
    EXPECT_EQ(second[1], "RX");
    EXPECT_EQ(std::count(second.begin(), second.end(), "BK"), 0);
    EXPECT_EQ(std::count(second.begin(), second.end(), "OL01"), 0);
    EXPECT_EQ(std::count(second.begin(), second.end(), "AU"), 0);
    EXPECT_EQ(second.back(), "TS");
}

// Valid answers to every parameter query of a chain whose summary carried "AU", "TS" last.
const char* const kChainAnswers[] = {"IF1", "AT1", "OF+05", "SQ1", "NR2", "AC1", "CI1", "SI0", "DI0",
                                     "CN01", "SC350", "DS023", "DJ1", "DC00042", "DW007", "NM1", "NC12",
                                     "OT1", "CM1", "CC05", "PM1", "PC1A3", "TS2"};

TEST(DetailAnswers, GoToTheBankTheReceiveStateNames)
{
    SearchBankRig rig;
    rig.Bank(7).AMode = 0;
    rig.family.CommandSent("SS07");
    EXPECT_TRUE(rig.Feed("RX SR07", "RX"));
    EXPECT_EQ(rig.family.CmdFocusSearchBank, 7);
    EXPECT_TRUE(rig.Feed("IF4", "IF"));
    EXPECT_TRUE(rig.Feed("OF-05", "OF"));
    EXPECT_TRUE(rig.Feed("20TS3", "TS"));  // two characters in front of the key
    EXPECT_EQ(rig.Bank(7).IFBW, 4);
    EXPECT_EQ(rig.Bank(7).OffsetFreq, -5);
    EXPECT_EQ(rig.Bank(7).RF_TETRA_Slot, 3);
    EXPECT_EQ(rig.Bank(7).ReadState, 0) << "most parameters never arrived";

    // A receive state that names no search bank leaves the focus.
    for (const char* line : {"RX SR40", "RX MR0102", "RX VFO"}) {
        EXPECT_TRUE(rig.Feed(line, "RX")) << line;
        EXPECT_EQ(rig.family.CmdFocusSearchBank, 7) << line;
    }
    EXPECT_FALSE(rig.Feed("1TS2", "TS"));  // one character in front: no key
    EXPECT_EQ(rig.Bank(7).RF_TETRA_Slot, 3);
}

// A chain is stored only behind the receive state of its own recall, and marks the bank
// fully read only when all its parameters arrived.
TEST(DetailAnswers, ChainOfABankUnderLostAnswers)
{
    const std::string summary = "SE09 SL0400.00000 SU0470.00000 ST012.50 SH000.00 MD0F0 AU0 PT0 TTB";
    struct {
        const char* rx;    // receive state after the recall; empty: lost
        const char* skip;  // a parameter answer lost; empty: none
        bool stored;
        int readState;
    } cases[] = {{"RX SR09", "", true, 2}, {"RX SR09", "DC", true, 1}, {"", "", false, 1}, {"RX SR03", "", false, 1}};
    for (const auto& c : cases) {
        SearchBankRig rig;
        rig.family.CommandSent("SS03");
        ASSERT_TRUE(rig.Feed("RX SR03", "RX"));  // the chain before this one
        const TSearchBankElement three = rig.Bank(3);
        ASSERT_TRUE(rig.Feed(summary, "SR09"));
        rig.family.CommandSent("SS09");
        if (*c.rx)
            rig.Feed(c.rx, "RX");
        for (const char* line : kChainAnswers)
            if (std::string(line).substr(0, 2) != c.skip)
                EXPECT_TRUE(rig.Feed(line, std::string(line).substr(0, 2))) << line;
        EXPECT_TRUE(SameRecord(rig.Bank(3), three)) << c.rx;
        EXPECT_EQ(rig.Bank(9).NXDN_RANCode == 12, c.stored) << c.rx << c.skip;
        EXPECT_EQ(rig.Bank(9).ReadState, c.readState) << c.rx << c.skip;
    }
}

TEST(DetailAnswers, RegionAndOffsetListReachTheirHooks)
{
    SearchBankRig rig;
    EXPECT_TRUE(rig.Feed("AZ2", "AZ"));
    EXPECT_EQ(rig.store->Region, 2);
    EXPECT_EQ(rig.regions, std::vector<int>{2});
    EXPECT_TRUE(rig.Feed("OL39 RF0130.00000", "OL39"));
    EXPECT_EQ(rig.store->OffsetFreqTable[39], 130000000);
    EXPECT_EQ(rig.offsetListRebuilds, 1);
}

TEST(DetailAnswers, AnyLineAfterClosingEXIsClaimed)
{
    SearchBankRig rig;
    EXPECT_TRUE(rig.Feed("garbage", "EX"));
    EXPECT_FALSE(rig.Feed("garbage", "RX"));
}

// Link list answers walked into the saved list, and its text form back.
struct LinkCase {
    const char* answer;
    std::vector<int> banks;
    const char* text;  // the restore command's list
};

class LinkListTest : public ::testing::TestWithParam<LinkCase> {};

TEST_P(LinkListTest, ParsesAndMakesTheRestoreText)
{
    const LinkCase& c = GetParam();
    std::uint8_t link[5] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    sbank::ParseLinkList(c.answer, link);
    EXPECT_EQ(LinkedBanks(link), c.banks);
    EXPECT_EQ(LinkListText(link).toStdString(), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, LinkListTest,
    ::testing::Values(LinkCase{"BK0105", {1, 5}, "0105"}, LinkCase{"BK99", {}, "99"},
                      LinkCase{"BK", {}, "99"}, LinkCase{"BK003916", {0, 16, 39}, "001639"},
                      LinkCase{"BK0199x5", {1}, "01"},           // "99" skipped, "x5" ends the walk
                      LinkCase{"BK024003", {2}, "02"},           // 40 ends the walk
                      LinkCase{"BK02xx03", {2}, "02"}, LinkCase{"BK0203 ", {2, 3}, "0203"}));  // odd tail

// The link save and restore steps: state, line and last command in; claim and state out.
struct StageCase {
    const char* name;
    std::int32_t state;
    const char* sended;
    const char* line;
    bool claimed;
    std::int32_t next;
    std::vector<int> saved;  // the saved list afterwards (starts as {30})
};

void PrintTo(const StageCase& c, std::ostream* os) { *os << c.name; }

class LinkStageTest : public ::testing::TestWithParam<StageCase> {};

TEST_P(LinkStageTest, ReadHandlerDrivesTheState)
{
    const StageCase& c = GetParam();
    SearchBankRig rig;
    rig.state = c.state;
    rig.backup.Link[3] = 1 << 6;  // bank 30
    EXPECT_EQ(rig.Feed(c.line, c.sended), c.claimed);
    EXPECT_EQ(rig.state, c.next);
    EXPECT_EQ(LinkedBanks(rig.backup.Link), c.saved);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, LinkStageTest,
    ::testing::Values(
        StageCase{"SelectAcknowledged", 2, "SS05", " ", true, 3, {30}},
        StageCase{"SelectAcknowledgedLater", 1, "SS05", "20 ", true, 1, {30}},
        StageCase{"ListSaved", 3, "BK", "BK0105", true, 4, {1, 5}},
        // The receiver never acknowledged the first "SS": the list is still saved, because
        // "BK99" follows whatever happened to the "SS".
        StageCase{"ListSavedWithoutSelectAcknowledgement", 2, "BK", "BK0105", true, 4, {1, 5}},
        StageCase{"LateListAnswerWhileReplacing", 3, "BK99", "20BK07", true, 4, {7}},
        StageCase{"EmptyListSaved", 3, "BK", "BK99", true, 4, {}},
        StageCase{"ReplaceAcknowledged", 4, "BK99", " ", true, 5, {30}},
        StageCase{"RestoreAcknowledged", 6, "BK0105", "20 ", true, 0, {30}},
        StageCase{"RefusedListQuery", 3, "BK", "?", false, 3, {30}},
        StageCase{"ListAfterSaveIgnored", 5, "BK", "BK0105", false, 5, {30}},
        StageCase{"AckOfOtherCommand", 4, "RX", " ", false, 4, {30}}));

TEST(LinkStage, KeptBackupIsNotOverwrittenByTheReceiversList)
{
    SearchBankRig rig;
    rig.state = 3;
    rig.keepBackup = true;
    rig.backup.Link[0] = 0b10;  // bank 1, saved before an unacknowledged restore
    EXPECT_TRUE(rig.Feed("BK99", "BK"));
    EXPECT_EQ(rig.state, 4);
    EXPECT_EQ(LinkedBanks(rig.backup.Link), std::vector<int>{1});
    rig.state = 6;
    EXPECT_TRUE(rig.Feed(" ", "BK01"));
    EXPECT_FALSE(rig.keepBackup);  // restored: the next save takes the receiver's list again
}

TEST(ReadCommands, OneAndAllBanks)
{
    const TCommandList one = sbank::ReadCommands_1Bank(39);
    ASSERT_EQ(one.size(), 2u);
    EXPECT_EQ(one[0], (TQueuedCommand{"AZ", "[1](200)"}));
    EXPECT_EQ(one[1], (TQueuedCommand{"SR39", "[1](200)"}));
    const TCommandList all = sbank::ReadCommands_AllBanks();
    ASSERT_EQ(all.size(), 41u);
    EXPECT_EQ(all[0], (TQueuedCommand{"AZ", "[1](200)"}));
    EXPECT_EQ(all[1], (TQueuedCommand{"SR00", "[-1](200)"}));
    EXPECT_EQ(all[40], (TQueuedCommand{"SR39", "[-1](200)"}));
}

}  // namespace
