#include "SearchBankTableText.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace sbank;

std::unique_ptr<TStore> StoreWithBank3()
{
    auto store = std::make_unique<TStore>();
    store->EmptyData_Init();
    store->OffsetFreqTable[20] = 100000;
    TSearchBankElement& b = store->SearchBankData[3];
    b.Flags_RegistedFlag = 1;
    b.ReadState = 2;
    b.LowFreq = 145500000;
    b.HighFreq = 1300000000;
    b.StepFreq = 8333;
    b.AdjFreq = 12500;
    SetTitleText(b.Title, u"REPEATERS");
    b.Dem_AutoBand = 1;
    b.AMode = 1;  // AM
    b.IFBW = 2;
    b.Flags_ProtectFlag = 1;
    b.RF_ATT = 2;
    b.OffsetFreq = -20;
    b.RF_SQ_N_L_Type = 1;
    b.Dem_DENOIS = 3;
    b.RF_AGC = 3;
    b.Dem_SQL_Type = 4;
    b.CTCSS_CODE = 2;
    b.VoiceSCR = 250;
    b.DCS_CODE = 2;
    b.Dem_DigiDecode = 1;
    b.RF_IF_Inv = 1;
    b.DCR_CODE = 42;
    b.DCR_WHITE = 7;
    b.NXDN_RANCodeMute = 1;
    b.NXDN_RANCode = 5;
    b.Dem_DMR_Slot = 3;
    b.DMR_ColorCodeMute = 0;
    b.DMR_ColorCode = 9;
    b.P25_NACCodeMute = 1;
    b.P25_NACCode = 0x1A3;
    b.RF_TETRA_Slot = 4;
    return store;
}

TEST(SearchTableText, EveryColumnOfABankWithRange)
{
    const auto store = StoreWithBank3();
    const char* const want[kSearchTableColumns] = {
        "03",       " 145.50000", "1300.00000", "REPEATERS", "ON",  "  8.33", "AM",    "5.5k",
        "ON",       "",           " 12.50",     "ATT",       "-20(000.10000)",     "NSQ", "HIGH",
        "RF-G",     "RTN",        "060.0Hz",    "2500",      " 17", "ON",  "INV",  "00042", "007",
        "ON",       "05",         "2",          "OFF",       "09",  "ON",  "1A3",  "4"};
    for (int col = 0; col < kSearchTableColumns; ++col)
        EXPECT_EQ(SearchTableCellText(*store, 3, col).toStdString(), want[col]) << "column " << col;
}

TEST(SearchTableText, UnregisteredBankShowsOnlyNumberAndDashes)
{
    const auto store = StoreWithBank3();
    EXPECT_EQ(SearchTableCellText(*store, 39, 0), QStringLiteral("39"));
    EXPECT_EQ(SearchTableCellText(*store, 39, 1), QStringLiteral("---"));
    for (int col = 2; col < kSearchTableColumns; ++col)
        EXPECT_TRUE(SearchTableCellText(*store, 39, col).isEmpty()) << col;
    EXPECT_TRUE(SearchTableCellText(*store, 40, 0).isEmpty());
    EXPECT_TRUE(SearchTableCellText(*store, 3, 32).isEmpty());
}

TEST(SearchTableText, IndexesOutsideTheirListsShowEmptyCells)
{
    auto store = StoreWithBank3();
    TSearchBankElement& b = store->SearchBankData[3];
    b.AMode = 9;  // no mode and no bandwidth list
    b.RF_ATT = 3;
    b.CTCSS_CODE = 54;
    b.DCS_CODE = 108;
    b.RF_TETRA_Slot = 5;
    for (int col : {6, 7, 11, 17, 19, 31})
        EXPECT_TRUE(SearchTableCellText(*store, 3, col).isEmpty()) << col;
    b.P25_NACCode = 0x1FFF;  // the last three digits only
    EXPECT_EQ(SearchTableCellText(*store, 3, 30), QStringLiteral("FFF"));
}

TEST(SearchTableText, DigitalModeShowsItsName)
{
    auto store = StoreWithBank3();
    TSearchBankElement& b = store->SearchBankData[3];
    b.Dem_DModeEnable = 1;
    b.DMode = 5;
    EXPECT_EQ(SearchTableCellText(*store, 3, 6), QStringLiteral("P-25"));
}

TEST(SearchTableText, HeadingsAndSamples)
{
    EXPECT_EQ(SearchTableHeading(1), QStringLiteral("L Freq (MHz)"));
    EXPECT_EQ(SearchTableHeading(31), QStringLiteral("T-TC Slot"));
    EXPECT_TRUE(SearchTableHeading(0).isEmpty());
    EXPECT_TRUE(SearchTableHeading(9).isEmpty());
    EXPECT_EQ(SearchTableWidthSample(9), QStringLiteral("   "));
    EXPECT_EQ(SearchTableWidthSample(12), QStringLiteral(" +99(999.9999999) "));
    for (int col = 0; col < kSearchTableColumns; ++col)
        EXPECT_FALSE(SearchTableWidthSample(col).isEmpty()) << col;
}

struct GreyCase {
    std::uint8_t readState;
    int col;
    bool greyed;
};

class GreyCellTest : public ::testing::TestWithParam<GreyCase> {};

TEST_P(GreyCellTest, UnreadBanksAndUnreadParameters)
{
    EXPECT_EQ(SearchTableCellGreyed(GetParam().readState, GetParam().col), GetParam().greyed);
}

INSTANTIATE_TEST_SUITE_P(Cells, GreyCellTest,
                         ::testing::Values(GreyCase{0, 0, false}, GreyCase{0, 1, true}, GreyCase{0, 31, true},
                                           GreyCase{1, 8, false}, GreyCase{1, 9, false}, GreyCase{1, 10, true},
                                           GreyCase{1, 31, true}, GreyCase{2, 1, false}, GreyCase{2, 31, false}));

TEST(CopyLabels, CompactEdgesAndTitle)
{
    const auto store = StoreWithBank3();
    EXPECT_EQ(CopyFreqLabelText(store->SearchBankData[3]), QStringLiteral("145.5 - 1300.0MHz"));
    EXPECT_EQ(CopyTitleLabelText(store->SearchBankData[3]), QStringLiteral(" [REPEATERS]"));
}

}  // namespace
