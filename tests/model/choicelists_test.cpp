#include "ChoiceLists.h"
#include "DModeCode.h"
#include "Records.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace {

// ---- list contents: invariants that catch a mistyped or missing item ----

TEST(FixedLists, CtcssTonesAreWellFormedAndRising)
{
    ASSERT_EQ(CTCSSItems.size(), 54u);
    EXPECT_EQ(CTCSSItems[0], "OFF");
    EXPECT_EQ(CTCSSItems[1], "SRCH");
    double previous = 0;
    for (std::size_t i = 2; i < CTCSSItems.size(); ++i) {
        const std::string tone(CTCSSItems[i]);
        ASSERT_EQ(tone.size(), 7u) << tone;
        EXPECT_TRUE(std::isdigit(tone[0]) && std::isdigit(tone[1]) && std::isdigit(tone[2]) &&
                    tone[3] == '.' && std::isdigit(tone[4]) && tone.substr(5) == "Hz")
            << tone;
        const double hz = std::stod(tone);
        EXPECT_GT(hz, previous) << tone;
        previous = hz;
    }
    EXPECT_EQ(CTCSSItems[2], "060.0Hz");
    EXPECT_EQ(CTCSSItems[53], "254.1Hz");
}

TEST(FixedLists, DcsCodesAreThreeWideOctalAndRising)
{
    ASSERT_EQ(DCSItems.size(), 108u);
    EXPECT_EQ(DCSItems[0], "OFF");
    EXPECT_EQ(DCSItems[1], "SRCH");
    int previous = 0;
    for (std::size_t i = 2; i < DCSItems.size(); ++i) {
        const std::string code(DCSItems[i]);
        ASSERT_EQ(code.size(), 3u) << code;
        const int value = std::stoi(code);
        EXPECT_EQ(code[0] == ' ', value < 100) << code;
        for (char c : code)
            EXPECT_TRUE(c == ' ' || (c >= '0' && c <= '7')) << code;
        EXPECT_GT(value, previous) << code;
        previous = value;
    }
}

struct FixedListCase {
    const char* name;
    FixedChoiceList list;
    std::size_t size;
    std::string_view initialItem;
    int probe;
    std::string_view probeItem;
};

void PrintTo(const FixedListCase& c, std::ostream* os)
{
    *os << c.name;
}

class FixedListTable : public ::testing::TestWithParam<FixedListCase> {};

TEST_P(FixedListTable, SizeInitialItemAndPosition)
{
    const FixedListCase& c = GetParam();
    EXPECT_EQ(c.list.Items.size(), c.size);
    EXPECT_EQ(ItemAt(c.list.Items, c.list.Initial), c.initialItem);
    EXPECT_EQ(ItemAt(c.list.Items, c.probe), c.probeItem);
    EXPECT_EQ(ItemAt(c.list.Items, -1), "");
    EXPECT_EQ(ItemAt(c.list.Items, static_cast<int>(c.size)), "");
}

INSTANTIATE_TEST_SUITE_P(
    Lists, FixedListTable,
    ::testing::Values(FixedListCase{"SQL", SQLList, 5, "OFF", 4, "RTN"},
                      FixedListCase{"SQType", SQ_TypeList, 3, "AUTO", 2, "LSQ"},
                      FixedListCase{"NR", NRList, 4, "HIGH", 0, "OFF"},
                      FixedListCase{"AGC", AGCList, 4, "AGCF", 3, "RF-G"},
                      FixedListCase{"ATTAMP", ATT_AMPList, 3, "OFF", 0, "AMP"},
                      FixedListCase{"DMRSlot", DMR_SlotList, 4, "1+2", 3, "2"},
                      FixedListCase{"TTCSlot", T_TC_SlotList, 5, "AUT", 4, "4"},
                      FixedListCase{"IFDir", IFDIRList, 2, "NOR", 1, "INV"},
                      FixedListCase{"CTCSS", CTCSSList, 54, "OFF", 14, "097.4Hz"},
                      FixedListCase{"DCS", DCSList, 108, "OFF", 2, " 17"},
                      FixedListCase{"Step", StepFreqList, 20, "10k", 9, "8.333k"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- receiver answer numbers <-> list positions ----

TEST(CodeLookups, CtcssAnswerNumbers)
{
    EXPECT_EQ(CTCSSAnswerToIndex(0), 0);
    EXPECT_EQ(CTCSSAnswerToIndex(1), 2);
    EXPECT_EQ(CTCSSAnswerToIndex(52), 53);
    EXPECT_EQ(CTCSSAnswerToIndex(99), 1);
    for (int bad : {-1, 53, 98, 100})
        EXPECT_EQ(CTCSSAnswerToIndex(bad), -1) << bad;
    for (int i = 0; i < static_cast<int>(CTCSSItems.size()); ++i)
        EXPECT_EQ(CTCSSAnswerToIndex(CTCSSIndexToAnswer(i)), i);
    EXPECT_EQ(CTCSSIndexToAnswer(54), -1);
    EXPECT_EQ(CTCSSIndexToAnswer(-1), -1);
}

TEST(CodeLookups, DcsCodes)
{
    EXPECT_EQ(DCSCodeToIndex(0), 0);
    EXPECT_EQ(DCSCodeToIndex(999), 1);
    EXPECT_EQ(DCSItems[DCSCodeToIndex(23)], " 23");
    EXPECT_EQ(DCSCodeToIndex(754), 107);
    for (int bad : {18, 777, 1, -17, 1000})
        EXPECT_EQ(DCSCodeToIndex(bad), -1) << bad;
    for (int i = 0; i < static_cast<int>(DCSItems.size()); ++i)
        EXPECT_EQ(DCSCodeToIndex(DCSIndexToCode(i)), i);
    EXPECT_EQ(DCSIndexToCode(108), -1);
}

TEST(CodeLookups, DigitalModeCodeDigits)
{
    // digit -> DMode as the receiver numbers its modes
    const int expected[10] = {9, 0, 1, 6, 3, 5, 4, 2, 7, 8};
    for (int digit = 0; digit < 10; ++digit) {
        EXPECT_EQ(DModeFromCodeDigit(digit), expected[digit]);
        EXPECT_EQ(CodeDigitFromDMode(expected[digit]), digit);
    }
    EXPECT_EQ(ItemAt(ModeItems, DModeFromCodeDigit(7)), "DMR");
    for (int bad : {-1, 10, 128})
        EXPECT_EQ(CodeDigitFromDMode(bad), -1) << bad;
    EXPECT_EQ(DModeFromCodeDigit(10), -1);
    EXPECT_EQ(DModeFromCodeDigit(-1), -1);
}

// ---- step and adjust ----

struct LookupCase {
    std::int32_t hz;
    int position;
};

void PrintTo(const LookupCase& c, std::ostream* os)
{
    *os << c.hz;
}

class StepLookup : public ::testing::TestWithParam<LookupCase> {};

TEST_P(StepLookup, Position)
{
    EXPECT_EQ(StepFreqToComboBoxIndex(GetParam().hz), GetParam().position);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StepLookup,
    ::testing::Values(LookupCase{10, 0}, LookupCase{8333, 9}, LookupCase{8330, 9},
                      LookupCase{9000, 10}, LookupCase{12500, 12}, LookupCase{500000, 19},
                      // values without a position show "9k"
                      LookupCase{0, 10}, LookupCase{8000, 10}, LookupCase{4000, 10},
                      LookupCase{240000, 10}, LookupCase{-10, 10}, LookupCase{8340, 10}));

class AdjLookup : public ::testing::TestWithParam<LookupCase> {};

TEST_P(AdjLookup, Position)
{
    EXPECT_EQ(AdjFreqToComboBoxIndex(GetParam().hz), GetParam().position);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AdjLookup,
    ::testing::Values(LookupCase{0, 0}, LookupCase{50, 2}, LookupCase{2500, 6},
                      LookupCase{3125, 7}, LookupCase{3120, 7}, LookupCase{4166, 9},
                      LookupCase{4160, 9}, LookupCase{4170, 9}, LookupCase{250000, 19},
                      // values the lookup does not name: no selection
                      LookupCase{1234, -1}, LookupCase{80000, -1}, LookupCase{4150, -1},
                      LookupCase{-50, -1}));

TEST(StepAndAdjust, EveryPositionRoundTripsAndAdjustIsHalfTheStep)
{
    for (int i = 0; i < kStepCount; ++i) {
        EXPECT_EQ(StepFreqToComboBoxIndex(StepItemIndexToStepFreq(i)), i) << i;
        EXPECT_EQ(ItemAt(AdjStepItems(i), i), AdjFreqLabels[i]);
        if (i >= 2) {
            EXPECT_EQ(AdjFreqToComboBoxIndex(AdjItemIndexToAdjFreq(i)), i) << i;
            EXPECT_EQ(AdjItemIndexToAdjFreq(i), StepItemIndexToStepFreq(i) / 2) << i;
        }
    }
    EXPECT_EQ(AdjItemIndexToAdjFreq(1), 0);
}

TEST(StepAndAdjust, IndexesOutsideTheListAreSafe)
{
    for (int bad : {-1, 20, 1000}) {
        EXPECT_EQ(StepItemIndexToStepFreq(bad), 0) << bad;
        EXPECT_EQ(AdjItemIndexToAdjFreq(bad), 0) << bad;
    }
}

TEST(StepAndAdjust, AdjustListGrowsWithTheStep)
{
    EXPECT_TRUE(AdjStepItems(-1).empty());
    ASSERT_EQ(AdjStepItems(0).size(), 1u);
    EXPECT_EQ(AdjStepItems(0)[0], "0 ");
    EXPECT_EQ(AdjStepItems(1).size(), 2u);
    EXPECT_EQ(AdjStepItems(10).size(), 11u);
    EXPECT_EQ(AdjStepItems(19).size(), 20u);
    EXPECT_EQ(AdjStepItems(500).size(), 20u);
    // a stored 50000 adjust has no place in the list of the "9k" step
    EXPECT_EQ(ItemAt(AdjStepItems(StepFreqToComboBoxIndex(0)), AdjFreqToComboBoxIndex(50000)), "");
}

// ---- modes and bandwidth ----

TEST(Modes, RecordToPositionAndBack)
{
    EXPECT_EQ(ModePosition(1, 3, 0), 3);
    EXPECT_EQ(ModePosition(0, 0, 4), 14);
    EXPECT_EQ(ModePosition(0, 7, 0), 10);  // DMode ignored for an analog record
    EXPECT_EQ(ModePosition(2, 3, 4), 14);  // only exactly 1 means digital
    EXPECT_EQ(ItemAt(ModeItems, ModePosition(1, 128, 0)), "");
    EXPECT_EQ(ItemAt(ModeItems, ModePosition(0, 0, 7)), "");
    for (int m = 0; m < kModeCount; ++m) {
        const auto f = ModeFieldsOf(m);
        ASSERT_TRUE(f.has_value());
        EXPECT_EQ(ModePosition(f->Dem_DModeEnable, f->DMode, f->AMode), m);
        EXPECT_EQ(f->Dem_DModeEnable == 1 ? f->AMode : f->DMode, 0);
    }
    EXPECT_FALSE(ModeFieldsOf(-1));
    EXPECT_FALSE(ModeFieldsOf(17));
}

struct BWCase {
    int mode;
    int wanted;
    std::size_t count;
    int selected;
    bool enabled;
    std::string_view selectedItem;
};

void PrintTo(const BWCase& c, std::ostream* os)
{
    *os << "mode " << c.mode << " wanted " << c.wanted;
}

class BandwidthList : public ::testing::TestWithParam<BWCase> {};

TEST_P(BandwidthList, RebuildSelectsWantedOrDefault)
{
    const BWCase& c = GetParam();
    const auto choice = IFBWItemSet(c.mode, c.wanted);
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->Items.size(), c.count);
    EXPECT_EQ(choice->Selected, c.selected);
    EXPECT_EQ(choice->Enabled, c.enabled);
    EXPECT_EQ(ItemAt(choice->Items, choice->Selected), c.selectedItem);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BandwidthList,
    ::testing::Values(
        // digital: disabled, default 3 for P-25, ALIN, D-AU, 4 otherwise
        BWCase{-1, -1, 5, 4, false, "  6k"}, BWCase{0, 9, 5, 4, false, "  6k"},
        BWCase{5, -1, 5, 3, false, " 15k"}, BWCase{6, 5, 5, 3, false, " 15k"},
        BWCase{9, 7, 5, 3, false, " 15k"}, BWCase{8, 2, 5, 2, false, " 30k"},
        BWCase{1, 0, 5, 0, false, "200k"},  // a stored digital 0 stays "200k"
        // analog
        BWCase{10, 2, 5, 2, true, " 30k"}, BWCase{10, 5, 5, 3, true, " 15k"},
        BWCase{11, 2, 4, 2, true, " 5.5k"}, BWCase{11, 4, 4, 1, true, " 8k"},
        BWCase{12, 1, 2, 1, true, "3.8k"}, BWCase{13, 2, 2, 0, true, "5.5k"},
        BWCase{14, 2, 2, 0, true, "2.6k"}, BWCase{15, -1, 2, 0, true, "2.6k"},
        BWCase{16, 1, 2, 1, true, "200Hz"}, BWCase{16, 3, 2, 0, true, "500Hz"}));

TEST(BandwidthList, ModeAboveTheListLeavesItUnchanged)
{
    EXPECT_FALSE(IFBWItemSet(17, 0).has_value());
    EXPECT_FALSE(IFBWItemSet(255, 0).has_value());
}

TEST(BandwidthList, TableLabelsByAMode)
{
    EXPECT_EQ(IFBWTableLabel(0, 4), "  6k");
    EXPECT_EQ(IFBWTableLabel(1, 2), "5.5k");  // the dialog item is " 5.5k"
    EXPECT_EQ(IFBWTableLabel(3, 1), "3.8k");
    EXPECT_EQ(IFBWTableLabel(5, 0), "2.6k");
    EXPECT_EQ(IFBWTableLabel(6, 0), "500");
    EXPECT_EQ(IFBWTableLabel(6, 1), "200");
    EXPECT_EQ(IFBWTableLabel(4, 2), "");
    EXPECT_EQ(IFBWTableLabel(7, 0), "");
    EXPECT_EQ(IFBWTableLabel(0, -1), "");
}

TEST(ModePick, BandwidthFollowsTheModeSequence)
{
    TMemChElement ch{};
    ch.Dem_AutoBand = 1;
    ch.IFBW = 4;

    ASSERT_TRUE(ApplyModePick(ch, 8));  // "T-TC"
    EXPECT_EQ(ch.Dem_DModeEnable, 1);
    EXPECT_EQ(ch.DMode, 8);
    EXPECT_EQ(ch.AMode, 0);
    EXPECT_EQ(ch.IFBW, 2);
    EXPECT_EQ(ch.Dem_AutoBand, 0);
    EXPECT_EQ(ch.ReadState, 1);

    ASSERT_TRUE(ApplyModePick(ch, 10));  // "FM" keeps " 30k"
    EXPECT_EQ(ch.Dem_DModeEnable, 0);
    EXPECT_EQ(ch.DMode, 0);
    EXPECT_EQ(ch.IFBW, 2);
    ASSERT_TRUE(ApplyModePick(ch, 11));  // "AM" keeps position 2, " 5.5k"
    EXPECT_EQ(ch.AMode, 1);
    EXPECT_EQ(ch.IFBW, 2);
    ASSERT_TRUE(ApplyModePick(ch, 14));  // "USB" has two items: back to "2.6k"
    EXPECT_EQ(ch.AMode, 4);
    EXPECT_EQ(ch.IFBW, 0);

    ch.ReadState = 2;
    ASSERT_TRUE(ApplyModePick(ch, 0));  // "DSTR" forces " 15k"; ReadState 2 stays
    EXPECT_EQ(ch.IFBW, 3);
    EXPECT_EQ(ch.ReadState, 2);
}

TEST(ModePick, ForcedDigitalBandwidthAndInvalidPosition)
{
    const int forced[10] = {3, 4, 4, 4, 4, 3, 3, 2, 2, 3};
    for (int m = 0; m < 10; ++m) {
        TSearchBankElement sb{};
        sb.IFBW = 0;
        ASSERT_TRUE(ApplyModePick(sb, m));
        EXPECT_EQ(sb.IFBW, forced[m]) << ModeItems[m];
        EXPECT_EQ(sb.DMode, m);
    }
    TSearchBankElement sb{};
    sb.Dem_AutoBand = 1;
    sb.IFBW = 3;
    EXPECT_FALSE(ApplyModePick(sb, 17));
    EXPECT_FALSE(ApplyModePick(sb, -1));
    EXPECT_EQ(sb.Dem_AutoBand, 1);
    EXPECT_EQ(sb.IFBW, 3);
    EXPECT_EQ(sb.ReadState, 0);
}

// ---- offsets and group lists ----

TEST(OffsetList, ItemsAndSelection)
{
    EXPECT_EQ(OffsetItemText(20, 100000), "20 (0000.10000MHz)");
    EXPECT_EQ(OffsetItemText(5, 999999999), "05 (0999.99999MHz)");
    const std::int32_t shortTable[3] = {0, 4600000, 130000000};
    const auto items = OffsetItems(shortTable);
    ASSERT_EQ(items.size(), 40u);
    EXPECT_EQ(items[0], "00 (0000.00000MHz)");
    EXPECT_EQ(items[2], "02 (0130.00000MHz)");
    EXPECT_EQ(items[39], "39 (0000.00000MHz)");

    EXPECT_EQ(OffsetPosition(-5), 5);
    EXPECT_TRUE(OffsetMinus(-5));
    EXPECT_FALSE(OffsetMinus(0));
    EXPECT_EQ(OffsetFreqFromChoice(5, true), -5);
    EXPECT_EQ(OffsetFreqFromChoice(39, false), 39);
    EXPECT_EQ(OffsetFreqFromChoice(0, true), 0);
    EXPECT_EQ(OffsetFreqFromChoice(40, true), 0);
    EXPECT_EQ(OffsetFreqFromChoice(-1, false), 0);
}

TEST(GroupLists, DelayAndFreeItems)
{
    const auto delay = DelayItems();
    ASSERT_EQ(delay.size(), 101u);
    EXPECT_EQ(delay[0], "OFF");
    EXPECT_EQ(delay[1], "0.1");
    EXPECT_EQ(delay[10], "1.0");
    EXPECT_EQ(delay[99], "9.9");
    EXPECT_EQ(delay[100], "HOLD");
    EXPECT_EQ(DelayItemText(101), "");
    EXPECT_EQ(DelayItemText(-1), "");

    const auto free = FreeItems();
    ASSERT_EQ(free.size(), 61u);
    EXPECT_EQ(free[0], "OFF");
    EXPECT_EQ(free[5], "05");
    EXPECT_EQ(free[60], "60");
    EXPECT_EQ(FreeItemText(61), "");
}

}  // namespace
