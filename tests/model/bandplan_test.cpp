#include "BandPlan.h"
#include "ChoiceLists.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>

namespace {

// ---- invariants over all three plans ----

struct PlanCase {
    int region;
    int bandRows;
    int digitalRows;
    int adjustRows;
};

void PrintTo(const PlanCase& c, std::ostream* os)
{
    *os << "region " << c.region;
}

class PlanShape : public ::testing::TestWithParam<PlanCase> {};

TEST_P(PlanShape, BandsRiseFromTheFirstEdgeAndClosingRowsFollow)
{
    const PlanCase& c = GetParam();
    const TAutoBandPlan& plan = AutoBandTable[c.region];
    EXPECT_EQ(plan[0].LowerEdge, 100000);
    for (int i = 1; i < c.bandRows; ++i)
        EXPECT_LT(plan[i - 1].LowerEdge, plan[i].LowerEdge) << "row " << i;
    EXPECT_LE(plan[c.bandRows - 1].LowerEdge, 3000000000);
    for (int i = c.bandRows; i < kAutoBandRows; ++i) {
        const TAutoBandRow& r = plan[i];
        EXPECT_EQ(std::tie(r.LowerEdge, r.StepFreq, r.AdjFreq, r.Dem_DModeEnable, r.AMode, r.DMode,
                           r.IFBW, r.OffsetFreq),
                  std::make_tuple(std::int64_t{3000000001}, std::int32_t{1000}, std::int32_t{0},
                                  std::uint8_t{0}, std::uint8_t{0}, std::uint8_t{0}, std::uint8_t{3},
                                  std::int8_t{0}))
            << "row " << i;
    }
}

TEST_P(PlanShape, RowsHoldValuesTheRecordsAndListsAccept)
{
    const PlanCase& c = GetParam();
    const TAutoBandPlan& plan = AutoBandTable[c.region];
    int digital = 0;
    int adjusted = 0;
    for (int i = 0; i < c.bandRows; ++i) {
        const TAutoBandRow& r = plan[i];
        SCOPED_TRACE("row " + std::to_string(i));
        EXPECT_GT(r.StepFreq, 0);
        EXPECT_LT(r.StepFreq, 1000000);
        EXPECT_GE(r.AdjFreq, 0);
        EXPECT_LT(r.AdjFreq, r.StepFreq);
        const int offset = std::abs(r.OffsetFreq);
        EXPECT_TRUE(offset == 0 || (offset >= 20 && offset <= 39)) << int(r.OffsetFreq);
        ASSERT_LE(r.Dem_DModeEnable, 1);
        if (r.Dem_DModeEnable == 1) {
            ++digital;
            EXPECT_EQ(r.AMode, 0);
            EXPECT_TRUE(r.DMode == kAutoDigitalMode || r.DMode <= 9) << int(r.DMode);
            EXPECT_LE(r.IFBW, 4);
        } else {
            EXPECT_EQ(r.DMode, 0);
            ASSERT_LE(r.AMode, 6);
            EXPECT_LT(r.IFBW, IFBWTableLabels(r.AMode).size()) << "AMode " << int(r.AMode);
        }
        if (r.AdjFreq != 0)
            ++adjusted;
    }
    EXPECT_EQ(digital, c.digitalRows);
    EXPECT_EQ(adjusted, c.adjustRows);
}

INSTANTIATE_TEST_SUITE_P(Regions, PlanShape,
                         ::testing::Values(PlanCase{0, 109, 1, 0}, PlanCase{1, 185, 8, 10},
                                           PlanCase{2, 119, 6, 1}));

TEST(PlanShape, AllButOneDigitalRowLeaveTheModeToTheReceiver)
{
    int anyDigital = 0;
    for (const TAutoBandPlan& plan : AutoBandTable)
        for (const TAutoBandRow& r : plan)
            anyDigital += r.Dem_DModeEnable == 1 && r.DMode == kAutoDigitalMode;
    EXPECT_EQ(anyDigital, 14);
}

// ---- the rows other parts of the program rely on ----

struct TellingRow {
    int region;
    int row;
    std::int64_t edge;
    std::int32_t step;
    std::int32_t adj;
    int mode;  // mode-list position; the "any digital" rows use 128
    int ifbw;
    int offset;
};

void PrintTo(const TellingRow& c, std::ostream* os)
{
    *os << "region " << c.region << " row " << c.row;
}

class TellingRows : public ::testing::TestWithParam<TellingRow> {};

TEST_P(TellingRows, MatchTheFixedValues)
{
    const TellingRow& c = GetParam();
    const TAutoBandRow& r = AutoBandTable[c.region][c.row];
    EXPECT_EQ(r.LowerEdge, c.edge);
    EXPECT_EQ(r.StepFreq, c.step);
    EXPECT_EQ(r.AdjFreq, c.adj);
    EXPECT_EQ(ModePosition(r.Dem_DModeEnable, r.DMode, r.AMode), c.mode);
    EXPECT_EQ(r.IFBW, c.ifbw);
    EXPECT_EQ(r.OffsetFreq, c.offset);
}

constexpr int kCW = 16, kAM = 11, kLSB = 15, kFM = 10, kUSB = 14, kDCR = 3, kAny = 128;

INSTANTIATE_TEST_SUITE_P(
    Rows, TellingRows,
    ::testing::Values(TellingRow{0, 0, 100000, 50, 0, kCW, 0, 0},
                      TellingRow{0, 1, 530000, 10000, 0, kAM, 0, 0},
                      TellingRow{0, 3, 1840000, 50, 0, kLSB, 0, 0},
                      TellingRow{0, 61, 82000000, 100000, 0, kFM, 1, 0},
                      TellingRow{0, 62, 108000000, 50000, 0, kAM, 2, 0},
                      TellingRow{0, 68, 144600000, 5000, 0, kAny, 3, 20},
                      TellingRow{0, 69, 145800000, 50, 0, kUSB, 0, 0},
                      TellingRow{0, 70, 146000000, 12500, 0, kFM, 3, -20},
                      TellingRow{0, 108, 1427000000, 12500, 0, kFM, 3, 0},
                      TellingRow{1, 3, 522000, 9000, 0, kAM, 0, 0},
                      TellingRow{1, 50, 27000000, 4000, 2500, kAM, 2, 0},
                      TellingRow{1, 68, 76000000, 100000, 0, kFM, 1, 0},
                      TellingRow{1, 79, 154443750, 6250, 0, kAny, 3, 0},
                      TellingRow{1, 111, 351175000, 6250, 0, kDCR, 4, 0},
                      TellingRow{1, 141, 434000000, 20000, 0, kAny, 3, 23},
                      TellingRow{1, 152, 462480000, 240000, 80000, kFM, 1, -26},
                      TellingRow{1, 184, 1920000000, 500000, 0, kFM, 1, 0},
                      TellingRow{2, 1, 153000, 9000, 0, kAM, 2, 0},
                      TellingRow{2, 69, 88000000, 100000, 0, kFM, 1, 0},
                      TellingRow{2, 78, 145000000, 12500, 0, kAny, 3, -20},
                      TellingRow{2, 105, 872000000, 25000, 12500, kFM, 3, 0},
                      TellingRow{2, 118, 1429000000, 12500, 0, kFM, 3, 0}));

// ---- the rule ----

struct ApplyCase {
    const char* name;
    int region;
    std::int64_t f;
    int row;
    std::int32_t step;
    std::int32_t adj;
    int mode;  // mode-list position after the rule
    int ifbw;
    int offset;
};

void PrintTo(const ApplyCase& c, std::ostream* os)
{
    *os << c.name;
}

class Apply : public ::testing::TestWithParam<ApplyCase> {};

template <class Record>
void ExpectSettings(const Record& r, const ApplyCase& c)
{
    EXPECT_EQ(r.StepFreq, c.step);
    EXPECT_EQ(r.AdjFreq, c.adj);
    EXPECT_EQ(ModePositionOf(r), c.mode);
    EXPECT_EQ(r.IFBW, c.ifbw);
    EXPECT_EQ(r.OffsetFreq, c.offset);
    EXPECT_EQ(r.Dem_AutoBand, 1);
}

TEST_P(Apply, ChannelAndSearchBankTakeTheRow)
{
    const ApplyCase& c = GetParam();
    EXPECT_EQ(AutoBandRowIndex(c.f, c.region), c.row);

    TMemChElement ch{};
    ch.Dem_AutoBand = 1;
    ch.RxFreq = c.f;
    ch.DMode = 5;
    ch.AMode = 6;
    ASSERT_TRUE(MemCh_F_AU_Apply(ch, c.region));
    ExpectSettings(ch, c);

    TSearchBankElement sb{};
    sb.Dem_AutoBand = 1;
    sb.LowFreq = c.f;
    sb.HighFreq = 12345;  // only the lower edge counts
    ASSERT_TRUE(SearchBank_F_AU_Apply(sb, c.region));
    ExpectSettings(sb, c);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Apply,
    ::testing::Values(
        // an edge itself belongs to the row before it
        ApplyCase{"UsaEdgeOfRow1", 0, 530000, 0, 50, 0, kCW, 0, 0},
        ApplyCase{"UsaAboveRow1Edge", 0, 530001, 1, 10000, 0, kAM, 0, 0},
        ApplyCase{"UsaBelowFirstEdge", 0, 1, 0, 50, 0, kCW, 0, 0},
        ApplyCase{"UsaEdgeOfRow70", 0, 146000000, 69, 50, 0, kUSB, 0, 0},
        ApplyCase{"UsaAboveRow70Edge", 0, 146000001, 70, 12500, 0, kFM, 3, -20},
        ApplyCase{"UsaTop", 0, 3000000000, 108, 12500, 0, kFM, 3, 0},
        ApplyCase{"UsaClosingEdge", 0, 3000000001, 108, 12500, 0, kFM, 3, 0},
        ApplyCase{"UsaCb", 0, 27000001, 46, 1000, 0, kAM, 1, 0},
        // "any digital" rows select D-AU
        ApplyCase{"UsaAnyDigital", 0, 144600001, 68, 5000, 0, 9, 3, 20},
        ApplyCase{"JapanDcr", 1, 351175001, 111, 6250, 0, kDCR, 4, 0},
        ApplyCase{"Japan27MHz", 1, 27000001, 50, 4000, 2500, kAM, 2, 0},
        ApplyCase{"JapanWide", 1, 462480001, 152, 240000, 80000, kFM, 1, -26},
        ApplyCase{"JapanAnyDigital", 1, 434000001, 141, 20000, 0, 9, 3, 23},
        ApplyCase{"JapanTop", 1, 3000000000, 184, 500000, 0, kFM, 1, 0},
        ApplyCase{"EuroLongWave", 2, 153001, 1, 9000, 0, kAM, 2, 0},
        ApplyCase{"EuroAdjust", 2, 872000001, 105, 25000, 12500, kFM, 3, 0},
        ApplyCase{"EuroAnyDigital", 2, 145000001, 78, 12500, 0, 9, 3, -20}),
    [](const auto& info) { return std::string(info.param.name); });

struct NoChangeCase {
    const char* name;
    std::uint8_t autoBand;
    std::int64_t f;
    int region;
};

void PrintTo(const NoChangeCase& c, std::ostream* os)
{
    *os << c.name;
}

class ApplyLeavesRecord : public ::testing::TestWithParam<NoChangeCase> {};

template <class Record>
auto Snapshot(const Record& r)
{
    return std::make_tuple(r.StepFreq, r.AdjFreq, r.Dem_DModeEnable, r.AMode, r.DMode, r.IFBW,
                           r.OffsetFreq, r.Dem_AutoBand, r.ReadState);
}

TEST_P(ApplyLeavesRecord, Unchanged)
{
    const NoChangeCase& c = GetParam();
    TMemChElement ch{};
    ch.Dem_AutoBand = c.autoBand;
    ch.RxFreq = c.f;
    ch.StepFreq = 777;
    ch.AdjFreq = 7;
    ch.AMode = 4;
    ch.IFBW = 1;
    ch.OffsetFreq = -3;
    const auto before = Snapshot(ch);
    EXPECT_FALSE(MemCh_F_AU_Apply(ch, c.region));
    EXPECT_EQ(Snapshot(ch), before);

    TSearchBankElement sb{};
    sb.Dem_AutoBand = c.autoBand;
    sb.LowFreq = c.f;
    sb.StepFreq = 777;
    sb.Dem_DModeEnable = 1;
    sb.DMode = 2;
    const auto sbBefore = Snapshot(sb);
    EXPECT_FALSE(SearchBank_F_AU_Apply(sb, c.region));
    EXPECT_EQ(Snapshot(sb), sbBefore);
}

INSTANTIATE_TEST_SUITE_P(Cases, ApplyLeavesRecord,
                         ::testing::Values(NoChangeCase{"AutoBandOff", 0, 146000001, 0},
                                           NoChangeCase{"NoFrequency", 1, 0, 1},
                                           NoChangeCase{"AboveClosingEdge", 1, 3000000002, 0},
                                           NoChangeCase{"FarAbove", 1, 9000000000000, 2},
                                           NoChangeCase{"RegionTooHigh", 1, 146000001, 3},
                                           NoChangeCase{"RegionNegative", 1, 146000001, -1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Apply, TouchesOnlyTheRowFields)
{
    TMemChElement ch{};
    ch.Dem_AutoBand = 1;
    ch.RxFreq = 146000001;
    ch.ReadState = 2;
    ch.CTCSS_CODE = 14;
    ch.MemFlag_RegistedFlag = 1;
    SetTitleText(ch.Title, u"REPEATER");
    ASSERT_TRUE(MemCh_F_AU_Apply(ch, 0));
    EXPECT_EQ(ch.RxFreq, 146000001);
    EXPECT_EQ(ch.ReadState, 2);
    EXPECT_EQ(ch.CTCSS_CODE, 14);
    EXPECT_EQ(ch.MemFlag_RegistedFlag, 1);
    EXPECT_EQ(TitleText(ch.Title), u"REPEATER");
}

// Every band of every plan can be reached, and what it leaves in a record is something the
// dialogs and tables can show: a mode-list position and a bandwidth of that mode's list.
TEST(Apply, EveryBandLeavesAShowableRecord)
{
    for (int region = 0; region < kRegionCount; ++region) {
        const TAutoBandPlan& plan = AutoBandTable[region];
        for (int i = 0; i < kAutoBandRows - 2 && plan[i].LowerEdge < kAutoBandClosingEdge; ++i) {
            SCOPED_TRACE("region " + std::to_string(region) + " row " + std::to_string(i));
            TMemChElement ch{};
            ch.Dem_AutoBand = 1;
            ch.RxFreq = plan[i].LowerEdge + 1;
            ASSERT_EQ(AutoBandRowIndex(ch.RxFreq, region), i);
            ASSERT_TRUE(MemCh_F_AU_Apply(ch, region));
            EXPECT_LE(ch.DMode, 9);
            const int mode = ModePositionOf(ch);
            EXPECT_NE(ItemAt(ModeItems, mode), "");
            EXPECT_NE(ItemAt(IFBWDialogItems(mode), ch.IFBW), "");
        }
    }
}

}  // namespace
