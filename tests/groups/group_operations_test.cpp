#include "GroupRig.h"

#include <gtest/gtest.h>

using groups::GroupKind;
using groups::GroupOp;

namespace {

const QString E = QStringLiteral("[-1](200)");
const QString R = QStringLiteral("[1](200)");
const QString W = QStringLiteral("[1](1000)");

QStringList Flatten(const std::vector<groups::QueuedCommand>& cmds)
{
    QStringList out;
    for (const auto& [c, o] : cmds)
        out << c + QLatin1Char('|') + o;
    return out;
}

QStringList Reads(const QString& key, std::initializer_list<int> groups)
{
    QStringList out{QStringLiteral("|") + E};
    for (int g : groups)
        out << key + QString::number(g) + QLatin1Char('|') + R;
    return out;
}

void Fill(TSearchGrpElement (&data)[kGroupCount])
{
    for (int g = 0; g < kGroupCount; ++g) {
        data[g].Delay = static_cast<std::uint8_t>(g * 10);
        data[g].Free = static_cast<std::uint8_t>(g);
        data[g].GrpFlag_AutoStore = static_cast<std::uint8_t>(g % 2);
        groups::SetLinkBit(data[g], g * 4, true);
    }
}

} // namespace

struct CommandsCase {
    const char* name;
    GroupKind kind;
    GroupOp op;
    int selected;
    QStringList expected;
};

class GroupCommandsTest : public testing::TestWithParam<CommandsCase> {};

TEST_P(GroupCommandsTest, QueuesTheSelectedGroupLast)
{
    const auto& c = GetParam();
    TSearchGrpElement data[kGroupCount]{};
    Fill(data);
    EXPECT_EQ(Flatten(groups::GroupCommands(c.kind, c.op, c.selected, data)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Operations, GroupCommandsTest,
    testing::Values(
        CommandsCase{"ScanReadOne", GroupKind::Scan, GroupOp::ReadOne, 3, Reads("MG", {3})},
        CommandsCase{"ScanReadAll", GroupKind::Scan, GroupOp::ReadAll, 3,
                     Reads("MG", {0, 1, 2, 4, 5, 6, 7, 8, 9, 3})},
        CommandsCase{"SearchReadAllFirstSelected", GroupKind::Search, GroupOp::ReadAll, 0,
                     Reads("SG", {1, 2, 3, 4, 5, 6, 7, 8, 9, 0})},
        CommandsCase{"ScanWriteOne", GroupKind::Scan, GroupOp::WriteOne, 2,
                     {"|" + E, "MG2 DL020 FR02 BK08|" + W}},
        CommandsCase{"SearchWriteOne", GroupKind::Search, GroupOp::WriteOne, 9,
                     {"|" + E, "SG9 DL090 FR09 AS1 BK36|" + W}},
        CommandsCase{"ScanWriteAllNoEmptyCommand", GroupKind::Scan, GroupOp::WriteAll, 8,
                     {"MG0 DL000 FR00 BK00|" + W, "MG1 DL010 FR01 BK04|" + W, "MG2 DL020 FR02 BK08|" + W,
                      "MG3 DL030 FR03 BK12|" + W, "MG4 DL040 FR04 BK16|" + W, "MG5 DL050 FR05 BK20|" + W,
                      "MG6 DL060 FR06 BK24|" + W, "MG7 DL070 FR07 BK28|" + W, "MG9 DL090 FR09 BK36|" + W,
                      "MG8 DL080 FR08 BK32|" + W}}),
    [](const auto& info) { return std::string(info.param.name); });

// A one-group read runs through the engine: the empty command, the group, "EX"; the answer
// is stored, the tab is given back and the port stays open.
class GroupReadRunTest : public testing::TestWithParam<GroupKind> {};

TEST_P(GroupReadRunTest, ReadOneStoresTheAnswerAndEnds)
{
    const GroupKind kind = GetParam();
    const bool scan = kind == GroupKind::Scan;
    GroupRig rig(kind);
    rig.selected = 3;
    ASSERT_TRUE(rig.ops->Start(GroupOp::ReadOne));
    EXPECT_EQ(rig.engine->BusyMark(), scan ? 1 : 3);
    EXPECT_EQ(rig.engine->ButtonTag(rig.ops->ButtonOf(GroupOp::ReadOne)), 1);
    // Only the scan group page logs the progress line before the first send.
    EXPECT_EQ(rig.host.log, scan ? QStringList{QStringLiteral("progress:0 / 2")} : QStringList{});

    ASSERT_TRUE(rig.SendNext());
    EXPECT_EQ(rig.host.written.last(), QString());
    rig.Answer(QStringLiteral("?"));  // the receiver refuses the empty command
    ASSERT_TRUE(rig.SendNext());
    EXPECT_EQ(rig.host.written.last(), scan ? QStringLiteral("MG3") : QStringLiteral("SG3"));
    rig.Answer(scan ? QStringLiteral("MG03 DL007 FR05 BK0139") : QStringLiteral("SG03 DL007 FR05 AS1 BK0139"));
    EXPECT_EQ(rig.host.written.last(), QStringLiteral("EX"));
    rig.Answer(QStringLiteral("20 "));

    const auto& g = rig.ops->Group(3);
    EXPECT_EQ(g.Delay, 7);
    EXPECT_EQ(g.Free, 5);
    EXPECT_EQ(g.GrpFlag_AutoStore, scan ? 0 : 1);
    EXPECT_EQ(rig.ops->Make_BK_Param(3), QStringLiteral("0139"));
    EXPECT_EQ(rig.displayed, std::vector<int>{3});
    EXPECT_EQ(rig.engine->BusyMark(), kBusyIdle);
    EXPECT_FALSE(rig.engine->TabRunning(rig.ops->Tab()));
    EXPECT_FALSE(rig.engine->AbortEnabled(rig.ops->Tab()));
    EXPECT_EQ(rig.host.closes, 0);
    EXPECT_EQ(rig.host.written, (QStringList{QString(), scan ? "MG3" : "SG3", "EX"}));
}

TEST_P(GroupReadRunTest, AnswerForAnotherGroupKeepsThePageOnTheSelectedGroup)
{
    const GroupKind kind = GetParam();
    const QString key = groups::CommandKey(kind);
    const QString as = kind == GroupKind::Search ? QStringLiteral(" AS0") : QString();
    GroupRig rig(kind);
    rig.selected = 2;
    ASSERT_TRUE(rig.ops->Start(GroupOp::ReadAll));
    ASSERT_TRUE(rig.SendNext());

    const TSearchGrpElement before2 = rig.ops->Group(2);
    EXPECT_TRUE(rig.ops->ReadRes_1Line(key + "07 DL100 FR60" + as + " BK0539"));
    EXPECT_EQ(rig.ops->Group(7).Delay, 100);
    EXPECT_EQ(rig.ops->Make_BK_Param(7), QStringLiteral("0539"));
    EXPECT_EQ(rig.ops->Group(7).GrpFlag_LinkEnable, 1);
    EXPECT_EQ(rig.displayed, std::vector<int>{2});
    EXPECT_EQ(std::memcmp(&rig.ops->Group(2), &before2, sizeof before2), 0);

    // A rejected answer is claimed but keeps the group's previous record and redraws nothing.
    const TSearchGrpElement before7 = rig.ops->Group(7);
    EXPECT_TRUE(rig.ops->ReadRes_1Line(key + "07 DL101 FR00" + as + " BK99"));
    EXPECT_EQ(std::memcmp(&rig.ops->Group(7), &before7, sizeof before7), 0);
    EXPECT_EQ(rig.displayed.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Kinds, GroupReadRunTest, testing::Values(GroupKind::Scan, GroupKind::Search),
                         [](const auto& info) { return info.param == GroupKind::Scan ? "Scan" : "Search"; });

// Which lines the read handler claims depends on the command last sent.
enum class Stage { EmptySent, GroupSent, ExSent };

struct ClaimCase {
    const char* name;
    Stage stage;
    const char* line;
    bool claimed;
};

class ReadClaimTest : public testing::TestWithParam<ClaimCase> {};

TEST_P(ReadClaimTest, ClaimsByTheLastCommandSent)
{
    const auto& c = GetParam();
    GroupRig rig(GroupKind::Scan);
    rig.selected = 1;
    ASSERT_TRUE(rig.ops->Start(GroupOp::ReadOne));
    ASSERT_TRUE(rig.SendNext());
    if (c.stage != Stage::EmptySent) {
        rig.Answer(QStringLiteral("?"));
        ASSERT_TRUE(rig.SendNext());
    }
    if (c.stage == Stage::ExSent)
        rig.Answer(QStringLiteral("MG01 DL000 FR00 BK99"));
    ASSERT_EQ(rig.engine->SendedCommand(),
              c.stage == Stage::EmptySent ? "" : c.stage == Stage::GroupSent ? "MG1" : "EX");
    EXPECT_EQ(rig.ops->ReadRes_1Line(QString::fromLatin1(c.line)), c.claimed);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ReadClaimTest,
    testing::Values(ClaimCase{"RefusalOfEmpty", Stage::EmptySent, "?", true},
                    ClaimCase{"Refusal60OfEmpty", Stage::EmptySent, "60?", true},
                    ClaimCase{"Refusal30OfEmpty", Stage::EmptySent, "30?", false},
                    ClaimCase{"AckOfEmpty", Stage::EmptySent, " ", false},
                    ClaimCase{"RefusalOfGroup", Stage::GroupSent, "?", false},
                    ClaimCase{"GroupAfterTwoCharacters", Stage::GroupSent, "xxMG01 DL000 FR00 BK99", true},
                    ClaimCase{"GroupAfterOneCharacter", Stage::GroupSent, "xMG01 DL000 FR00 BK99", false},
                    ClaimCase{"OtherKey", Stage::GroupSent, "SG01 DL000 FR00 AS0 BK99", false},
                    ClaimCase{"AckOfEx", Stage::ExSent, " ", true},
                    ClaimCase{"Ack20OfEx", Stage::ExSent, "20 ", true},
                    ClaimCase{"NotAnAckOfEx", Stage::ExSent, "21 ", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GroupWriteClaims, ClaimsAcknowledgementsAndRefusalsOnly)
{
    GroupRig rig(GroupKind::Search);
    for (const char* line : {" ", "20 ", "?", "30?", "50?", "60?"})
        EXPECT_TRUE(rig.ops->WriteRes_1Line(QString::fromLatin1(line))) << line;
    for (const char* line : {"", "  ", "40?", "20", "SG01 DL000 FR00 AS0 BK99"})
        EXPECT_FALSE(rig.ops->WriteRes_1Line(QString::fromLatin1(line))) << line;
}

TEST(GroupBusy, EveryGroupOperationRefusesWhileAnotherRuns)
{
    for (GroupKind kind : {GroupKind::Scan, GroupKind::Search}) {
        GroupRig rig(kind);
        ASSERT_TRUE(rig.engine->StartOperation(OpButton::SearchBankReadButton, 3, {}, [](CommandEngine& e) {
            e.AppendCommand(QStringLiteral("AZ"), QStringLiteral("[1](200)"));
        }));
        for (GroupOp op : {GroupOp::ReadOne, GroupOp::ReadAll, GroupOp::WriteOne, GroupOp::WriteAll}) {
            EXPECT_FALSE(rig.ops->Start(op));
            EXPECT_EQ(rig.engine->ButtonTag(rig.ops->ButtonOf(op)), 0);
        }
        EXPECT_EQ(rig.host.messages.size(), 4);
        EXPECT_EQ(rig.engine->CommandList(), QStringList{QStringLiteral("AZ")});
        EXPECT_EQ(rig.engine->BusyMark(), 3);
    }
}

TEST(GroupEdits, ChangeOnlyTheirFieldOfTheNamedGroup)
{
    GroupRig rig(GroupKind::Search);
    Fill(rig.store->SearchGrpData);
    rig.store->SearchGrpData[4].GrpFlag_LinkEnable = 1;
    std::array<bool, groups::kLinkBankCount> linked{};
    linked[25] = linked[39] = true;

    rig.ops->StoreLinks(4, linked);
    EXPECT_EQ(rig.ops->Make_BK_Param(4), QStringLiteral("2539"));
    rig.ops->ClearAllLinks(4);
    EXPECT_EQ(rig.ops->Make_BK_Param(4), QStringLiteral("99"));
    rig.ops->StoreDelay(4, 100);
    rig.ops->StoreFree(4, 60);
    rig.ops->StoreAutoStore(4, true);
    rig.ops->StoreDelay(4, 101);  // outside the list: ignored
    rig.ops->StoreFree(4, -1);

    const auto& g = rig.ops->Group(4);
    EXPECT_EQ(g.Delay, 100);
    EXPECT_EQ(g.Free, 60);
    EXPECT_EQ(g.GrpFlag_AutoStore, 1);
    EXPECT_EQ(g.GrpFlag_LinkEnable, 1);  // left at its last read value
    EXPECT_EQ(rig.ops->Group(5).Delay, 50);

    rig.ops->StoreLinks(10, linked);  // no such group: nothing outside the store is touched
    rig.ops->StoreDelay(-1, 3);
    EXPECT_EQ(rig.ops->Make_BK_Param(10), QStringLiteral("99"));
}
