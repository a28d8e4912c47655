#include "GroupLines.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

using groups::GroupKind;

namespace {

TSearchGrpElement Group(int delay, int free, int autoStore, std::initializer_list<int> banks)
{
    TSearchGrpElement g{};
    g.Delay = static_cast<std::uint8_t>(delay);
    g.Free = static_cast<std::uint8_t>(free);
    g.GrpFlag_AutoStore = static_cast<std::uint8_t>(autoStore);
    for (int b : banks)
        groups::SetLinkBit(g, b, true);
    return g;
}

std::vector<int> Banks(const TSearchGrpElement& g)
{
    std::vector<int> out;
    for (int b = 0; b < groups::kLinkBankCount; ++b)
        if (groups::LinkBit(g, b))
            out.push_back(b);
    return out;
}

} // namespace

TEST(GroupLinks, BankNIsBitNMod8OfByteNDiv8)
{
    TSearchGrpElement g{};
    groups::SetLinkBit(g, 0, true);
    groups::SetLinkBit(g, 13, true);
    groups::SetLinkBit(g, 39, true);
    EXPECT_EQ(g.Link[0], 0x01);
    EXPECT_EQ(g.Link[1], 0x20);
    EXPECT_EQ(g.Link[4], 0x80);
    groups::SetLinkBit(g, 13, false);
    EXPECT_EQ(g.Link[1], 0x00);
    groups::SetLinkBit(g, 40, true);  // out of range: no byte beyond the mask is touched
    groups::SetLinkBit(g, -1, true);
    EXPECT_EQ(Banks(g), (std::vector<int>{0, 39}));
}

struct LineCase {
    const char* name;
    GroupKind kind;
    int gn;
    TSearchGrpElement g;
    const char* line;
};

class GroupLineTest : public testing::TestWithParam<LineCase> {};

TEST_P(GroupLineTest, WritesTheGroupAsOneLine)
{
    const auto& c = GetParam();
    EXPECT_EQ(groups::GroupLine(c.kind, c.gn, c.g).toStdString(), c.line);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, GroupLineTest,
    testing::Values(
        LineCase{"ScanPadsDelayAndFree", GroupKind::Scan, 3, Group(7, 5, 0, {1, 5}), "MG3 DL007 FR05 BK0105"},
        LineCase{"ScanNoLinkIs99", GroupKind::Scan, 0, Group(0, 0, 0, {}), "MG0 DL000 FR00 BK99"},
        LineCase{"ScanHoldAndAllBanks", GroupKind::Scan, 9, Group(100, 60, 0, {0, 9, 10, 39}),
                 "MG9 DL100 FR60 BK00091039"},
        LineCase{"ScanIgnoresAutoStore", GroupKind::Scan, 1, Group(1, 1, 1, {}), "MG1 DL001 FR01 BK99"},
        LineCase{"SearchStoreNoLink", GroupKind::Search, 2, Group(0, 0, 1, {}), "SG2 DL000 FR00 AS1 BK99"},
        LineCase{"SearchLinksAscending", GroupKind::Search, 4, Group(20, 10, 0, {5, 0}),
                 "SG4 DL020 FR10 AS0 BK0005"}),
    [](const auto& info) { return std::string(info.param.name); });

struct ParseCase {
    const char* name;
    GroupKind kind;
    const char* line;
    bool accepted;
    int group;
    int delay;
    int free;
    int autoStore;
    std::vector<int> banks;
};

ParseCase Rejected(const char* name, GroupKind kind, const char* line)
{
    return ParseCase{name, kind, line, false, 0, 0, 0, 0, {}};
}

class GroupAnswerTest : public testing::TestWithParam<ParseCase> {};

TEST_P(GroupAnswerTest, ParsesOrRejectsTheWholeLine)
{
    const auto& c = GetParam();
    const auto a = groups::ParseGroupAnswer(c.kind, QString::fromLatin1(c.line));
    ASSERT_EQ(a.has_value(), c.accepted);
    if (!c.accepted)
        return;
    EXPECT_EQ(a->group, c.group);
    EXPECT_EQ(a->record.Delay, c.delay);
    EXPECT_EQ(a->record.Free, c.free);
    EXPECT_EQ(a->record.GrpFlag_AutoStore, c.autoStore);
    EXPECT_EQ(Banks(a->record), c.banks);
    EXPECT_EQ(a->record.GrpFlag_RegistedFlag, 1);
    EXPECT_EQ(a->record.GrpFlag_LinkEnable, c.banks.empty() ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, GroupAnswerTest,
    testing::Values(
        ParseCase{"ScanFull", GroupKind::Scan, "MG07 DL100 FR60 BK000539", true, 7, 100, 60, 0, {0, 5, 39}},
        ParseCase{"ScanNoLink", GroupKind::Scan, "MG02 DL000 FR00 BK99", true, 2, 0, 0, 0, {}},
        ParseCase{"Scan99InsideListSkipped", GroupKind::Scan, "MG02 DL001 FR01 BK019903", true, 2, 1, 1, 0, {1, 3}},
        ParseCase{"ScanBadPairEndsList", GroupKind::Scan, "MG02 DL001 FR01 BK0140x203", true, 2, 1, 1, 0, {1}},
        ParseCase{"ScanOddTailIgnored", GroupKind::Scan, "MG02 DL001 FR01 BK011", true, 2, 1, 1, 0, {1}},
        ParseCase{"ScanLeadingBlankGroup", GroupKind::Scan, "MG 4 DL010 FR02 BK99", true, 4, 10, 2, 0, {}},
        Rejected("ScanGroupOutOfRange", GroupKind::Scan, "MG10 DL010 FR02 BK99"),
        Rejected("ScanGroupOneDigit", GroupKind::Scan, "MG3 DL010 FR02 BK99"),
        Rejected("ScanGroupNegative", GroupKind::Scan, "MG-1 DL010 FR02 BK99"),
        Rejected("ScanDelay101", GroupKind::Scan, "MG01 DL101 FR02 BK99"),
        Rejected("ScanDelayNotANumber", GroupKind::Scan, "MG01 DL0x1 FR02 BK99"),
        Rejected("ScanFree61", GroupKind::Scan, "MG01 DL010 FR61 BK99"),
        Rejected("ScanMissingDL", GroupKind::Scan, "MG01 FR02 BK99"),
        Rejected("ScanMissingFR", GroupKind::Scan, "MG01 DL010 BK99"),
        Rejected("ScanMissingBK", GroupKind::Scan, "MG01 DL010 FR02"),
        Rejected("ShortLine", GroupKind::Scan, "MG0"),
        ParseCase{"SearchFull", GroupKind::Search, "SG04 DL020 FR10 AS1 BK0005", true, 4, 20, 10, 1, {0, 5}},
        ParseCase{"SearchStoreOff", GroupKind::Search, "SG00 DL000 FR00 AS0 BK99", true, 0, 0, 0, 0, {}},
        Rejected("SearchAS2", GroupKind::Search, "SG04 DL020 FR10 AS2 BK0005"),
        Rejected("SearchMissingAS", GroupKind::Search, "SG04 DL020 FR10 BK0005"),
        Rejected("SearchFree61", GroupKind::Search, "SG04 DL020 FR61 AS0 BK99")),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GroupLines, WrittenLineReadsBackAsTheSameGroup)
{
    // The receiver echoes the group number in two digits; everything else is the same text.
    for (GroupKind kind : {GroupKind::Scan, GroupKind::Search}) {
        const TSearchGrpElement g = Group(55, 33, kind == GroupKind::Search ? 1 : 0, {2, 17, 38});
        QString line = groups::GroupLine(kind, 6, g);
        line.insert(2, u'0');
        const auto a = groups::ParseGroupAnswer(kind, line);
        ASSERT_TRUE(a.has_value()) << line.toStdString();
        EXPECT_EQ(a->group, 6);
        EXPECT_EQ(groups::GroupLine(kind, 6, a->record), groups::GroupLine(kind, 6, g));
    }
}

TEST(GroupLines, KeyStartsAtCharacterOneOrThree)
{
    EXPECT_EQ(groups::KeyStart(u"MG01 DL", u"MG"), 0);
    EXPECT_EQ(groups::KeyStart(u"20MG01", u"MG"), 2);
    EXPECT_EQ(groups::KeyStart(u"2MG01", u"MG"), -1);
    EXPECT_EQ(groups::KeyStart(u"abcMG01", u"MG"), -1);
    EXPECT_EQ(groups::KeyStart(u"", u"MG"), -1);
}
