#include "Csv.h"

#include <gtest/gtest.h>

using exchange::CsvRecord;
using exchange::CsvSyntaxError;
using exchange::ParseCsv;

namespace {

struct SplitCase {
    const char* name;
    const char* text;
    std::vector<std::pair<int, QStringList>> records;  // line, fields
};

class CsvSplit : public testing::TestWithParam<SplitCase> {};

TEST_P(CsvSplit, GivesRecordsWithTheLineTheyStartOn)
{
    std::vector<CsvRecord> records;
    CsvSyntaxError error;
    ASSERT_TRUE(ParseCsv(QString::fromUtf8(GetParam().text), records, error)) << error.message.toStdString();
    ASSERT_EQ(records.size(), GetParam().records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(records[i].line, GetParam().records[i].first) << "record " << i;
        EXPECT_EQ(records[i].fields, GetParam().records[i].second) << "record " << i;
    }
}

const SplitCase kSplits[] = {
    {"CrLf", "a,b\r\nc,d\r\n", {{1, {"a", "b"}}, {2, {"c", "d"}}}},
    {"LfAndLoneCrAndNoFinalBreak", "a\nb\rc", {{1, {"a"}}, {2, {"b"}}, {3, {"c"}}}},
    {"QuotedCommaQuoteAndLineBreak", "\"x,\"\"y\"\"\r\nz\",2\r\nnext,3\r\n",
     {{1, {"x,\"y\"\r\nz", "2"}}, {3, {"next", "3"}}}},
    {"EmptyFieldsKeepTheirPlace", ",,\r\n\"\",x,\r\n", {{1, {"", "", ""}}, {2, {"", "x", ""}}}},
    {"BlankLinesHoldNoRecord", "a\r\n\r\n\nb\r\n", {{1, {"a"}}, {4, {"b"}}}},
    {"BlanksArePartOfAField", " a , b ", {{1, {" a ", " b "}}}},
};

INSTANTIATE_TEST_SUITE_P(Texts, CsvSplit, testing::ValuesIn(kSplits),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CsvSplit, RefusesBrokenQuotingAtTheLineWhereItIs)
{
    const std::tuple<const char*, int, const char*> cases[] = {
        {"a,b\r\nc\"d,e\r\n", 2, "a quote inside an unquoted field"},
        {"a\r\n\"b\"c,d\r\n", 2, "text after the closing quote of a field"},
        {"a\r\n\"open,\r\nstill open\r\n", 2, "a quoted field is not closed"},
    };
    for (const auto& [text, line, message] : cases) {
        std::vector<CsvRecord> records;
        CsvSyntaxError error;
        EXPECT_FALSE(ParseCsv(QString::fromUtf8(text), records, error)) << text;
        EXPECT_EQ(error.line, line) << text;
        EXPECT_EQ(error.message.toStdString(), message) << text;
    }
}

TEST(CsvWrite, QuotesOnlyWhatNeedsItAndReadsBackTheSameFields)
{
    const QStringList fields{"plain", "a,b", "say \"hi\"", "two\r\nlines", " padded ", "", "\u00c4\u4e2d"};
    const QString line = exchange::CsvLine(fields);
    EXPECT_EQ(line, QStringLiteral("plain,\"a,b\",\"say \"\"hi\"\"\",\"two\r\nlines\",\" padded \",,\u00c4\u4e2d\r\n"));
    std::vector<CsvRecord> records;
    CsvSyntaxError error;
    ASSERT_TRUE(ParseCsv(line, records, error));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].fields, fields);
}

}  // namespace
