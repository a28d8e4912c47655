#include "ChannelCsv.h"
#include "Csv.h"
#include "StoreSamples.h"

#include <gtest/gtest.h>

#include <functional>

using exchange::ExportChannelsCsv;
using exchange::ImportChannelsCsv;

namespace {

using Rows = std::vector<QStringList>;  // the header first

Rows Parse(const QByteArray& csv)
{
    std::vector<exchange::CsvRecord> records;
    exchange::CsvSyntaxError error;
    EXPECT_TRUE(exchange::ParseCsv(QString::fromUtf8(csv), records, error));
    Rows rows;
    for (const auto& r : records)
        rows.push_back(r.fields);
    return rows;
}

QByteArray Join(const Rows& rows)
{
    QString text;
    for (const QStringList& r : rows)
        text += exchange::CsvLine(r);
    return text.toUtf8();
}

// Row of bank 0 channel ch in an export of bank 0 (the header is row 0, so line ch + 2).
QString& Cell(Rows& rows, int ch, const char* column)
{
    const qsizetype col = rows[0].indexOf(QLatin1String(column));
    EXPECT_GE(col, 0) << column;
    return rows[ch + 1][col];
}

TEST(ChannelCsvExport, WritesTheDocumentedHeaderAndTheTablesTexts)
{
    const QByteArray csv = ExportChannelsCsv(*samples::Realistic(), 0);
    const QList<QByteArray> lines = csv.split('\n');
    ASSERT_EQ(lines.size(), 52);  // header, 50 channels, nothing after the last CR LF
    EXPECT_EQ(lines[0],
              "Bank,Channel,Freq (MHz),Title,F-AU,MODE,IFBW,Protect,Pass,AMP/ATT,Offset,SQ Type,NR,AGC,SQL,"
              "CTCSS,V.SCR,DCS,Dig.,IF Dir,ENC,WC,RAN Mute,RAN Code,DMR Slot,ColorMute,ColorCode,NAC Mute,"
              "NAC Code,T-TC Slot,Step (Hz),Adj (Hz)\r");
    EXPECT_EQ(lines[1],
              "00,00,145.50000,\"CALLING     \",OFF,FM,15k,OFF,ON,OFF,-03(000.50000),AUTO,HIGH,AGCF,CTC,"
              "100.0Hz,3000,OFF,OFF,NOR,00000,000,OFF,00,1+2,OFF,00,OFF,000,AUT,12500,0\r");
    EXPECT_TRUE(lines[3].startsWith("00,02,7.05000,\"40m, \"\"CW\"\"   \",OFF,CW,200,OFF,OFF,ATT,")) << lines[3].data();
    EXPECT_EQ(lines[4], "00,03,---" + QByteArray(29, ',') + "\r");
    EXPECT_TRUE(lines[51].isEmpty());
}

TEST(ChannelCsvExport, KeepsSingleHertzAndCoversEveryBankWhenAskedForAll)
{
    auto store = samples::Realistic();
    store->MemChData[7][3] = store->MemChData[0][0];
    store->MemChData[7][3].RxFreq = 145500001;
    const Rows rows = Parse(ExportChannelsCsv(*store));
    ASSERT_EQ(rows.size(), 1u + 40 * 50);
    EXPECT_EQ(rows[1 + 7 * 50 + 3][2], QStringLiteral("145.500001"));
    EXPECT_EQ(rows[2000][0] + "-" + rows[2000][1], QStringLiteral("39-49"));
}

struct RoundTripCase {
    const char* name;
    std::function<std::unique_ptr<TStore>()> make;
};

class ChannelCsvRoundTrip : public testing::TestWithParam<RoundTripCase> {};

TEST_P(ChannelCsvRoundTrip, ExportThenImportChangesNothing)
{
    auto store = GetParam().make();
    const auto before = GetParam().make();
    const auto result = ImportChannelsCsv(ExportChannelsCsv(*store), *store);
    ASSERT_TRUE(result.Ok()) << result.errors.front().Text().toStdString();
    EXPECT_EQ(result.rows, 2000);
    EXPECT_EQ(result.changedChannels, 0);
    EXPECT_TRUE(samples::SameBytes(*store, *before));
}

INSTANTIATE_TEST_SUITE_P(Stores, ChannelCsvRoundTrip,
                         testing::Values(RoundTripCase{"Empty", samples::Empty},
                                         RoundTripCase{"Realistic", samples::Realistic},
                                         RoundTripCase{"Edges", samples::Edges}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ChannelCsvImport, CarriesEveryChannelSettingIntoAnotherStore)
{
    const auto source = samples::Realistic();
    auto target = samples::Empty();
    target->OffsetFreqTable[20] = source->OffsetFreqTable[20];  // the offset table is no channel data

    const auto result = ImportChannelsCsv(ExportChannelsCsv(*source), *target);
    ASSERT_TRUE(result.Ok()) << result.errors.front().Text().toStdString();
    EXPECT_EQ(result.changedChannels, 7);
    for (int bank = 0; bank < kMemBankCount; ++bank) {
        for (int ch = 0; ch < kMemChPerBank; ++ch) {
            const TMemChElement& from = source->MemChData[bank][ch];
            const TMemChElement& got = target->MemChData[bank][ch];
            if (from.MemFlag_RegistedFlag == 0) {
                EXPECT_EQ(got.MemFlag_RegistedFlag, 0);
                continue;
            }
            TMemChElement want = from;
            want.ReadState = 2;  // a row gives every setting
            // Titles take the dialogs' form: 12 characters, padded with spaces.
            const std::u16string title = TitleText(from.Title);
            SetTitleText(want.Title, title + std::u16string(12 - std::min<std::size_t>(12, title.size()), u' '));
            EXPECT_EQ(samples::ChannelValues(got), samples::ChannelValues(want)) << bank << "-" << ch;
        }
    }
}

TEST(ChannelCsvImport, AppliesEditedCellsWithTheDialogsRules)
{
    auto store = samples::Realistic();
    Rows rows = Parse(ExportChannelsCsv(*store, 0));
    Cell(rows, 0, "MODE") = "am";
    Cell(rows, 0, "IFBW") = " 8k";
    Cell(rows, 0, "Title") = "A,B";
    Cell(rows, 0, "Freq (MHz)") = "  145.125";
    Cell(rows, 0, "NAC Code") = "fff";
    Cell(rows, 0, "Offset") = "+7";
    for (qsizetype c = 2; c < rows[2].size(); ++c)
        rows[2][c] = c == 2 ? QStringLiteral("---") : QString();
    rows[4] = rows[1];  // 00-03 was empty; it takes a copy of 00-00's row
    rows[4][1] = "03";
    Cell(rows, 3, "Freq (MHz)") = "7";
    Cell(rows, 3, "AMP/ATT") = "ATT";

    const auto result = ImportChannelsCsv(Join(rows), *store);
    ASSERT_TRUE(result.Ok()) << result.errors.front().Text().toStdString();
    EXPECT_EQ(result.changedChannels, 3);

    const TMemChElement& a = store->MemChData[0][0];
    EXPECT_EQ(a.AMode, 1);
    EXPECT_EQ(a.IFBW, 1);
    EXPECT_EQ(a.RxFreq, 145125000);
    EXPECT_EQ(TitleText(a.Title), u"A,B         ");
    EXPECT_EQ(a.P25_NACCode, 0xFFF);
    EXPECT_EQ(a.OffsetFreq, 7);
    EXPECT_EQ(a.ReadState, 2);
    EXPECT_EQ(store->MemChData[0][1].MemFlag_RegistedFlag, 0);
    const TMemChElement& d = store->MemChData[0][3];
    EXPECT_EQ(d.MemFlag_RegistedFlag, 1);
    EXPECT_EQ(d.RxFreq, 7000000);
    EXPECT_EQ(d.RF_ATT, 2);
    EXPECT_EQ(d.AMode, 1);
    EXPECT_EQ(d.ReadState, 2);
}

TEST(ChannelCsvImport, ReadStateFollowsWhatTheRowChanged)
{
    struct Case {
        int bank, ch;
        const char* column;
        const char* value;
        int readState;
    };
    const Case cases[] = {
        {3, 14, "Title", "Renamed", 1},  // a main field keeps a partly read channel partly read
        {3, 14, "NR", "LOW", 2},         // a detail makes it fully known
        {0, 0, "Title", "Renamed", 2},
        {0, 3, "Freq (MHz)", "430.5", 1},  // a new channel from its frequency alone
    };
    for (const Case& c : cases) {
        auto store = samples::Realistic();
        Rows rows = Parse(ExportChannelsCsv(*store, c.bank));
        rows = {rows[0], rows[c.ch + 1]};
        Cell(rows, 0, c.column) = c.value;
        const auto result = ImportChannelsCsv(Join(rows), *store);
        ASSERT_TRUE(result.Ok()) << result.errors.front().Text().toStdString();
        EXPECT_EQ(result.changedChannels, 1) << c.column;
        EXPECT_EQ(store->MemChData[c.bank][c.ch].ReadState, c.readState) << c.bank << "-" << c.ch << " " << c.column;
        EXPECT_EQ(store->MemChData[c.bank][c.ch].MemFlag_RegistedFlag, 1);
    }
}

struct ErrorCase {
    const char* name;
    std::function<void(Rows&)> breakIt;
    std::vector<std::string> errors;
    std::function<void(QByteArray&)> breakBytes = [](QByteArray&) {};
};

class ChannelCsvErrors : public testing::TestWithParam<ErrorCase> {};

TEST_P(ChannelCsvErrors, AreListedByLineAndColumnAndChangeNothing)
{
    auto store = samples::Realistic();
    const auto before = samples::Realistic();
    Rows rows = Parse(ExportChannelsCsv(*store, 0));
    rows[11] = rows[1];  // a good new channel 00-10 in the same file must not land either
    rows[11][1] = "10";
    GetParam().breakIt(rows);
    QByteArray csv = Join(rows);
    GetParam().breakBytes(csv);

    const auto result = ImportChannelsCsv(csv, *store);
    std::vector<std::string> got;
    for (const auto& e : result.errors)
        got.push_back(e.Text().toStdString());
    EXPECT_EQ(got, GetParam().errors);
    EXPECT_EQ(result.changedChannels, 0);
    EXPECT_TRUE(samples::SameBytes(*store, *before));
}

const ErrorCase kErrors[] = {
    {"BadFrequency", [](Rows& r) { Cell(r, 0, "Freq (MHz)") = "145.5.5"; },
     {"line 2, column 3 (Freq (MHz)): frequency \"145.5.5\" is not 0.1 to 3000 MHz"}},
    {"FrequencyAboveRange", [](Rows& r) { Cell(r, 2, "Freq (MHz)") = "3000.00001"; },
     {"line 4, column 3 (Freq (MHz)): frequency \"3000.00001\" is not 0.1 to 3000 MHz"}},
    {"UnknownMode", [](Rows& r) { Cell(r, 1, "MODE") = "XYZ"; },
     {"line 3, column 6 (MODE): unknown mode \"XYZ\""}},
    {"TooFewColumns", [](Rows& r) { r[2].removeLast(); r[2].removeLast(); },
     {"line 3: 30 fields, the header has 32"}},
    {"QuotedCommaAndLineBreakInTitle",
     [](Rows& r) {
         Cell(r, 1, "Title") = "A,\r\nB";
         Cell(r, 2, "Freq (MHz)") = "abc";  // one line further down because of the break
     },
     {"line 3, column 4 (Title): line break or NUL in the title",
      "line 5, column 3 (Freq (MHz)): frequency \"abc\" is not 0.1 to 3000 MHz"}},
    {"TitleOfThirteen", [](Rows& r) { Cell(r, 0, "Title") = "1234567890123"; },
     {"line 2, column 4 (Title): title longer than 12 characters"}},
    {"AmpUnder18MHz", [](Rows& r) { Cell(r, 2, "AMP/ATT") = "AMP"; },
     {"line 4, column 10 (AMP/ATT): AMP cannot set under 18MHz."}},
    {"BandwidthOfAnotherMode", [](Rows& r) { Cell(r, 0, "IFBW") = "2.6k"; },
     {"line 2, column 7 (IFBW): IF bandwidth \"2.6k\" does not belong to mode FM"}},
    {"ModeChangeLeavesOldBandwidth", [](Rows& r) { Cell(r, 0, "MODE") = "USB"; },
     {"line 2, column 7 (IFBW): IF bandwidth \"15k\" does not belong to mode USB"}},
    {"UnknownListText", [](Rows& r) { Cell(r, 0, "CTCSS") = "100Hz"; },
     {"line 2, column 16 (CTCSS): unknown CTCSS tone \"100Hz\""}},
    {"NumberOutOfRange", [](Rows& r) { Cell(r, 0, "ColorCode") = "17"; },
     {"line 2, column 27 (ColorCode): 17 out of range"}},
    {"VoiceScrNotInTens", [](Rows& r) { Cell(r, 0, "V.SCR") = "2005"; },
     {"line 2, column 17 (V.SCR): V.SCR 2005 is not 2000 to 7000 Hz in steps of 10"}},
    {"OffsetBeyond39", [](Rows& r) { Cell(r, 0, "Offset") = "-40"; },
     {"line 2, column 11 (Offset): offset index 40 out of range 0..39"}},
    {"ChannelGivenTwice", [](Rows& r) { r[10][1] = "02"; },
     {"line 11, column 2 (Channel): channel 00-02 was already given on line 4"}},
    {"BankBeyond39", [](Rows& r) { r[3][0] = "40"; }, {"line 4, column 1 (Bank): 40 out of range"}},
    {"EmptyChannelWithValues", [](Rows& r) { Cell(r, 3, "Title") = "orphan"; },
     {"line 5, column 4 (Title): a channel without frequency takes no other values"}},
    {"UnknownAndMissingColumns", [](Rows& r) { r[0][4] = "Colour"; },
     {"line 1, column 5 (Colour): unknown column", "line 1: column \"F-AU\" is missing"}},
    {"NotUtf8", [](Rows&) {}, {"file: the file is not UTF-8 text"},
     [](QByteArray& csv) { csv.replace("CALLING", "CALL\xff\xfeNG"); }},
    {"QuoteLeftOpen", [](Rows&) {}, {"line 52: a quoted field is not closed"},
     [](QByteArray& csv) { csv.append("00,11,\"open,\r\n"); }},
};

INSTANTIATE_TEST_SUITE_P(Files, ChannelCsvErrors, testing::ValuesIn(kErrors),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
