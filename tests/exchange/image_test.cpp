#include "ExchangeFiles.h"
#include "ImageFile.h"
#include "JsonEdit.h"
#include "StoreSamples.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using exchange::ReadImage;
using exchange::WriteImage;

namespace {

struct RoundTripCase {
    const char* name;
    std::function<std::unique_ptr<TStore>()> make;
};

class ImageRoundTrip : public testing::TestWithParam<RoundTripCase> {};

TEST_P(ImageRoundTrip, SaveThenOpenGivesTheSameStoreAndOpenThenSaveTheSameFile)
{
    const auto original = GetParam().make();
    const QByteArray file = WriteImage(*original);

    // A fresh store that has the program's templates, which no image carries.
    auto loaded = samples::Zeroed();
    loaded->MemChEmptyData = original->MemChEmptyData;
    loaded->MemBankEmptyData = original->MemBankEmptyData;
    loaded->SearchBankEmptyData = original->SearchBankEmptyData;
    QString error;
    ASSERT_TRUE(ReadImage(file, *loaded, error)) << error.toStdString();
    EXPECT_TRUE(samples::SameBytes(*original, *loaded));
    EXPECT_EQ(WriteImage(*loaded), file);
}

INSTANTIATE_TEST_SUITE_P(Stores, ImageRoundTrip,
                         testing::Values(RoundTripCase{"Empty", samples::Empty},
                                         RoundTripCase{"Zeroed", [] {
                                                           // never filled: templates and offsets all zero
                                                           return samples::Zeroed();
                                                       }},
                                         RoundTripCase{"Realistic", samples::Realistic},
                                         RoundTripCase{"Edges", samples::Edges}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ImageFile, OpeningKeepsTheTargetsTemplates)
{
    // The templates are the program's own; an image never carries them.
    const QByteArray file = WriteImage(*samples::Zeroed());
    auto target = samples::Realistic();
    QString error;
    ASSERT_TRUE(ReadImage(file, *target, error)) << error.toStdString();
    EXPECT_EQ(TitleText(target->MemChEmptyData.Title), u"            ");
    EXPECT_EQ(target->MemChData[0][0].MemFlag_RegistedFlag, 0);
}

TEST(ImageFile, NamesFieldsAndCarriesTitlesAndLinksReadably)
{
    const QByteArray file = WriteImage(*samples::Realistic());
    for (const char* expected : {"\"format\": \"Kestrel DataUtility image\"", "\"version\": 1",
                                 "\"RxFreq\": 145500000", "\"Title\": \"CALLING     \"",
                                 "\"Title\": \"40m, \\\"CW\\\"   \"", "\"OffsetFreq\": -3"})
        EXPECT_TRUE(file.contains(expected)) << expected;
    const QJsonObject top = QJsonDocument::fromJson(file).object();
    EXPECT_EQ(top["scanGroups"].toArray()[0].toObject()["Link"].toArray(), (QJsonArray{0, 3, 39}));
    EXPECT_EQ(top["searchGroups"].toArray()[4].toObject()["Link"].toArray(), (QJsonArray{1}));
}

struct BrokenCase {
    const char* name;
    std::function<QByteArray(const QByteArray&)> breakIt;
    const char* message;  // the whole message, or its start when it ends with "*"
};

class ImageRefusal : public testing::TestWithParam<BrokenCase> {};

TEST_P(ImageRefusal, NamesThePlaceAndLeavesTheStoreAsItWas)
{
    const QByteArray good = WriteImage(*samples::Edges());
    auto store = samples::Realistic();
    const auto before = samples::Realistic();

    QString error;
    EXPECT_FALSE(ReadImage(GetParam().breakIt(good), *store, error));
    const std::string want = GetParam().message;
    if (!want.empty() && want.back() == '*')
        EXPECT_EQ(error.toStdString().substr(0, want.size() - 1), want.substr(0, want.size() - 1));
    else
        EXPECT_EQ(error.toStdString(), want);
    EXPECT_TRUE(samples::SameBytes(*store, *before));
}

QByteArray Set(const QByteArray& f, const QStringList& path, const QJsonValue& v)
{
    return EditJson(f, path, v);
}

const BrokenCase kBroken[] = {
    {"Truncated", [](const QByteArray& f) { return f.left(f.size() / 2); }, "line *"},
    {"Empty", [](const QByteArray&) { return QByteArray(); }, "line 1, column 1: syntax error*"},
    {"NotAnImage", [](const QByteArray&) { return QByteArray("[1, 2]"); }, "the file holds no image"},
    {"WrongVersion", [](const QByteArray& f) { return Set(f, {"version"}, 2); },
     "version: 2 is not supported (this program reads version 1)"},
    {"NoVersion", [](const QByteArray& f) { return Set(f, {"version"}, QJsonValue::Undefined); },
     "version: missing"},
    {"FrequencyOutOfRange",
     [](const QByteArray& f) { return Set(f, {"memory", "3", "channels", "12", "RxFreq"}, 5000000000.0); },
     "memory.bank 3.channel 12.RxFreq: 5000000000 out of range"},
    {"FrequencyBelowRange",
     [](const QByteArray& f) { return Set(f, {"memory", "0", "channels", "1", "RxFreq"}, 99999); },
     "memory.bank 0.channel 1.RxFreq: 99999 out of range"},
    {"TitleOfFifteen",
     [](const QByteArray& f) { return Set(f, {"memory", "7", "header", "Title"}, QStringLiteral("123456789012345")); },
     "memory.bank 7.header.Title: 15 characters, at most 14"},
    {"LineBreakInTitle",
     [](const QByteArray& f) { return Set(f, {"searchBanks", "2", "Title"}, QStringLiteral("AB\r\nCD")); },
     "searchBanks.searchBank 2.Title: line break in a title"},
    {"Fraction", [](const QByteArray& f) { return Set(f, {"memory", "0", "channels", "0", "VoiceSCR"}, 250.5); },
     "memory.bank 0.channel 0.VoiceSCR: 250.5 is not a whole number"},
    {"TextForNumber", [](const QByteArray& f) { return Set(f, {"Region"}, QStringLiteral("1")); },
     "Region: a text where a whole number belongs"},
    {"RegionThree", [](const QByteArray& f) { return Set(f, {"Region"}, 3); }, "Region: 3 out of range"},
    {"BandwidthBeyondMode",
     [](const QByteArray& f) {
         const QByteArray am = Set(f, {"memory", "1", "channels", "0", "AMode"}, 1);
         return Set(am, {"memory", "1", "channels", "0", "IFBW"}, 4);
     },
     "memory.bank 1.channel 0.IFBW: 4 out of range for AMode 1"},
    {"ReservedFieldSet", [](const QByteArray& f) { return Set(f, {"searchBanks", "5", "RevTone"}, 1); },
     "searchBanks.searchBank 5.RevTone: 1 out of range"},
    {"MissingField",
     [](const QByteArray& f) { return Set(f, {"memory", "39", "channels", "49", "DCS_CODE"}, QJsonValue::Undefined); },
     "memory.bank 39.channel 49.DCS_CODE: missing"},
    {"UnknownField", [](const QByteArray& f) { return Set(f, {"scanGroups", "9", "Colour"}, 1); },
     "scanGroups.group 9: unknown field \"Colour\""},
    {"ChannelOutOfPlace", [](const QByteArray& f) { return Set(f, {"memory", "2", "channels", "5", "channel"}, 6); },
     "memory.bank 2.channel 5.channel: 6 stands in the place of 5"},
    {"ShortBankList",
     [](const QByteArray& f) {
         QJsonArray banks = QJsonDocument::fromJson(f).object()["memory"].toArray();
         banks.removeLast();
         return Set(f, {"memory"}, banks);
     },
     "memory: 39 banks, expected 40"},
    {"LinkBeyondBank39", [](const QByteArray& f) { return Set(f, {"searchGroups", "1", "Link"}, QJsonArray{2, 40}); },
     "searchGroups.group 1.Link: 40 out of range"},
    {"ScanGroupWithStoreFlag", [](const QByteArray& f) { return Set(f, {"scanGroups", "0", "GrpFlag_AutoStore"}, 1); },
     "scanGroups.group 0.GrpFlag_AutoStore: 1 out of range"},
    {"OffsetEntryZeroSet",
     [](const QByteArray& f) {
         QJsonArray t = QJsonDocument::fromJson(f).object()["OffsetFreqTable"].toArray();
         t[0] = 5;
         return Set(f, {"OffsetFreqTable"}, t);
     },
     "OffsetFreqTable.entry 0: 5 out of range"},
};

INSTANTIATE_TEST_SUITE_P(Files, ImageRefusal, testing::ValuesIn(kBroken),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ImageFile, TheLastGoodValueOfEveryRangePasses)
{
    // Guards against refusing what the program itself accepts: one value per edge.
    const QByteArray good = WriteImage(*samples::Realistic());
    const std::pair<QStringList, qint64> edges[] = {
        {{"memory", "0", "channels", "0", "RxFreq"}, 3000000000},
        {{"memory", "0", "channels", "0", "RxFreq"}, 100000},
        {{"memory", "0", "channels", "0", "RxFreq"}, 0},
        {{"memory", "0", "channels", "0", "VoiceSCR"}, 0},
        {{"memory", "0", "channels", "0", "OffsetFreq"}, -39},
        {{"searchBanks", "0", "StepFreq"}, 999999},
        {{"searchGroups", "0", "Delay"}, 100},
    };
    for (const auto& [path, value] : edges) {
        auto store = samples::Empty();
        QString error;
        EXPECT_TRUE(ReadImage(EditJson(good, path, value), *store, error))
            << path.join('.').toStdString() << " = " << value << ": " << error.toStdString();
    }
}

TEST(ImageFiles, SavedFileOpensAndAFailedSaveNamesTheFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("backup.json"));
    const auto store = samples::Realistic();
    QString error;
    ASSERT_TRUE(exchange::SaveFileAtomically(path, WriteImage(*store), error)) << error.toStdString();
    // Nothing but the file itself is left behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("backup.json")});

    QByteArray bytes;
    ASSERT_TRUE(exchange::ReadWholeFile(path, bytes, error));
    auto loaded = samples::Empty();
    ASSERT_TRUE(ReadImage(bytes, *loaded, error));
    EXPECT_TRUE(samples::SameBytes(*store, *loaded));

    const QString nowhere = dir.filePath(QStringLiteral("missing/backup.json"));
    EXPECT_FALSE(exchange::SaveFileAtomically(nowhere, bytes, error));
    EXPECT_TRUE(error.contains(nowhere)) << error.toStdString();
    EXPECT_FALSE(exchange::ReadWholeFile(nowhere, bytes, error));
    EXPECT_TRUE(error.contains(nowhere)) << error.toStdString();
}

}  // namespace
