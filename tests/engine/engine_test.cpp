#include "FakeEngineRig.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

const QString k200 = QStringLiteral("[1](200)");

QStringList Strings(std::initializer_list<const char*> items)
{
    QStringList out;
    for (const char* s : items)
        out << QString::fromLatin1(s);
    return out;
}

// ---------------------------------------------------------------------------
// Option strings

struct OptionCase {
    const char* opt;
    std::int32_t count;
    std::int32_t interval;
    bool countGiven;
};

class OptionParse : public ::testing::TestWithParam<OptionCase> {};

TEST_P(OptionParse, ReadsCountAndInterval)
{
    const OptionCase c = GetParam();
    const CommandOption o = ParseCommandOption(QString::fromLatin1(c.opt));
    EXPECT_EQ(o.count, c.count) << c.opt;
    EXPECT_EQ(o.intervalMs, c.interval) << c.opt;
    EXPECT_EQ(o.countGiven, c.countGiven) << c.opt;
}

INSTANTIATE_TEST_SUITE_P(Engine, OptionParse, ::testing::Values(
    OptionCase{"[1](200)", 1, 200, true},
    OptionCase{"[-1](1000)", -1, 1000, true},
    OptionCase{"[3](2)", 3, 2, true},
    OptionCase{"[999](500)", 1, 500, false},     // 999 leaves the count alone
    OptionCase{"1](200)", 1, 200, false},        // no "["
    OptionCase{"[1(200)", 1, 200, false},        // no "]"
    OptionCase{"[2]200)", 2, 1000, true},        // no "("
    OptionCase{"[2](200", 2, 1000, true},        // no ")"
    OptionCase{"", 1, 1000, false},
    OptionCase{"[x](abc)", 1, 1000, false},      // not numbers
    OptionCase{"[2 ](200 )", 1, 1000, false},    // nothing may follow the digits
    OptionCase{"[ +2](  50)", 2, 50, true},      // leading blanks and a sign are fine
    OptionCase{"[--2](5)", 1, 5, false},
    OptionCase{"](5)[2", 1, 5, false},           // brackets the wrong way round
    OptionCase{"[2147483648](1)", 1, 1, false},  // does not fit 32 bits
    OptionCase{"[1](-1)", 1, -1, true}));

// ---------------------------------------------------------------------------
// Small text rules

struct ErrorCase {
    const char* line;
    bool isError;
};
class ErrorAnswer : public ::testing::TestWithParam<ErrorCase> {};
TEST_P(ErrorAnswer, FirstQuestionMarkAtOneOrThree)
{
    EXPECT_EQ(IsErrorAnswer(QString::fromLatin1(GetParam().line)), GetParam().isError) << GetParam().line;
}
INSTANTIATE_TEST_SUITE_P(Engine, ErrorAnswer, ::testing::Values(
    ErrorCase{"?", true}, ErrorCase{"30?", true}, ErrorCase{"MX?", true}, ErrorCase{"??", true},
    ErrorCase{"A?", false}, ErrorCase{"ABC?", false}, ErrorCase{"MX 1?", false},
    ErrorCase{"", false}, ErrorCase{"MX", false}));

TEST(EngineText, LinkListTextListsLinkedBanksOr99)
{
    std::uint8_t none[5] = {0, 0, 0, 0, 0};
    EXPECT_EQ(LinkListText(none), QStringLiteral("99"));
    std::uint8_t some[5] = {0x01, 0x02, 0, 0, 0x80};  // banks 0, 9, 39
    EXPECT_EQ(LinkListText(some), QStringLiteral("000939"));
    std::uint8_t all[5] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(LinkListText(all).size(), 80);
}

TEST(EngineText, CommandBytesAreOneBytePerCharacter)
{
    EXPECT_EQ(CommandBytes(QStringLiteral("TT\u00e9A")), std::string("TT\xe9" "A"));
    EXPECT_EQ(CommandBytes(QString()), std::string());
}

// ---------------------------------------------------------------------------
// The frame's starting state

TEST(EngineState, StartsIdleWithTimerRunningInModeZero)
{
    EngineRig rig;
    CommandEngine& e = *rig.engine;
    EXPECT_TRUE(e.TimerEnabled());
    EXPECT_EQ(e.TimerTag(), kTimerIdle);
    EXPECT_EQ(rig.timer->Interval(), 1000);
    EXPECT_EQ(e.BusyMark(), kBusyIdle);
    for (int i = 0; i < kOpButtonCount; ++i) {
        EXPECT_EQ(e.ButtonTag(static_cast<OpButton>(i)), 0);
        EXPECT_TRUE(e.ButtonEnabled(static_cast<OpButton>(i)));
    }
    EXPECT_TRUE(e.AbortEnabled(OpTab::MemCh));
    EXPECT_TRUE(e.AbortEnabled(OpTab::SearchBank));
    EXPECT_FALSE(e.AbortEnabled(OpTab::ScanGroup));
    EXPECT_FALSE(e.AbortEnabled(OpTab::SearchGroup));

    rig.Advance(1000);  // the first tick only stops the timer
    EXPECT_FALSE(e.TimerEnabled());
    EXPECT_TRUE(rig.host.events.empty());
}

// ---------------------------------------------------------------------------
// Completing a command: which answers count

struct CountCase {
    const char* opt;
    std::vector<const char*> lines;
    bool completes;
};
void PrintTo(const CountCase& c, std::ostream* os)
{
    *os << c.opt;
    for (const char* s : c.lines)
        *os << " '" << s << "'";
}
class AnswerCounting : public ::testing::TestWithParam<CountCase> {};

TEST_P(AnswerCounting, CompletesOnlyOnCountedAnswers)
{
    const CountCase c = GetParam();
    EngineRig rig;
    rig.ClaimAll(OpFamily::MemoryRead);
    ASSERT_TRUE(rig.Start(OpButton::MemChDetailReadButton,
                          {{"X", QString::fromLatin1(c.opt)}, {"Y", k200}}));
    rig.Advance(100);
    ASSERT_EQ(rig.host.Texts("write"), Strings({"X"}));
    for (const char* line : c.lines)
        rig.Answer(QString::fromLatin1(line));

    const bool advanced = rig.engine->CommandList().first() == QStringLiteral("Y");
    EXPECT_EQ(advanced, c.completes);
    EXPECT_EQ(rig.engine->TimerTag(), c.completes ? kTimerSendPending : kTimerAwaitAnswer);
}

INSTANTIATE_TEST_SUITE_P(Engine, AnswerCounting, ::testing::Values(
    CountCase{"[1](200)", {"MX1"}, true},
    CountCase{"[1](200)", {"?"}, false},
    CountCase{"[1](200)", {"30?"}, false},
    CountCase{"[1](200)", {"?", "MX1"}, true},     // an error answer does not block a later one
    CountCase{"[1](200)", {"A?"}, true},           // "?" at position 2
    CountCase{"[1](200)", {"ABC?"}, true},         // "?" at position 4
    CountCase{"[-1](200)", {"?"}, true},
    CountCase{"[-1](200)", {"30?"}, true},
    CountCase{"[-1](200)", {"SE00 ---"}, true},
    CountCase{"[2](200)", {"MX1"}, false},
    CountCase{"[2](200)", {"MX1", "?", "MX2"}, true},
    CountCase{"[999](200)", {"MX1"}, true}));

TEST(EngineCounting, UnclaimedLinesChangeNothing)
{
    EngineRig rig;
    rig.engine->SetAnswerParser(OpFamily::MemoryRead, [](const QString& s) { return s.startsWith("MX"); });
    ASSERT_TRUE(rig.Start(OpButton::MemChDetailReadButton, {{"X", k200}, {"Y", k200}}));
    rig.Advance(100);
    rig.Answer(QStringLiteral("ZZ1"));
    rig.Answer(QStringLiteral("?"));
    EXPECT_EQ(rig.engine->CommandRxCount(), 0);
    EXPECT_EQ(rig.engine->CommandList().first(), QStringLiteral("X"));
    rig.Answer(QStringLiteral("MX1"));
    EXPECT_EQ(rig.engine->CommandList().first(), QStringLiteral("Y"));
}

TEST(EngineCounting, ErrorAnswerOnlyTimesOutAfterThreeTicks)
{
    EngineRig rig;
    rig.ClaimAll(OpFamily::MemoryRead);
    ASSERT_TRUE(rig.Start(OpButton::MemChDetailReadButton, {{"A", k200}, {"B", k200}}));
    rig.Advance(100);
    ASSERT_EQ(rig.host.WrittenAt("A"), 100);
    rig.Answer(QStringLiteral("?"));
    rig.Advance(599);  // two ticks of 200 ms have passed, the third has not
    EXPECT_EQ(rig.engine->CommandList().first(), QStringLiteral("A"));
    EXPECT_EQ(rig.engine->CommandRetry(), 1);
    rig.Advance(1);  // third tick: given up 600 ms after the send
    EXPECT_EQ(rig.engine->CommandList().first(), QStringLiteral("B"));
    rig.Advance(100);
    EXPECT_EQ(rig.host.WrittenAt("B"), 800);
}

TEST(EngineCounting, MissingIntervalGivesUpAfterThreeSeconds)
{
    EngineRig rig;
    ASSERT_TRUE(rig.Start(OpButton::MemChDetailReadButton, {{"A", "[1]"}, {"B", k200}}));
    rig.Advance(100);
    rig.Advance(2999);
    EXPECT_EQ(rig.host.Count("write"), 1);
    rig.Advance(101);
    EXPECT_EQ(rig.host.WrittenAt("B"), 3200);
}

TEST(EngineCounting, SurplusAnswerInPauseIsOfferedButDropsNothing)
{
    EngineRig rig;
    QStringList* seen = rig.ClaimAll(OpFamily::MemoryRead);
    ASSERT_TRUE(rig.Start(OpButton::MemChDetailReadButton, {{"A", k200}, {"B", k200}, {"C", k200}}));
    rig.Advance(100);
    rig.Answer(QStringLiteral("MX1"));
    rig.Answer(QStringLiteral("MX1 again"));  // arrives in the 100 ms pause
    EXPECT_TRUE(seen->contains(QStringLiteral("MX1 again")));
    EXPECT_EQ(rig.engine->CommandList().first(), QStringLiteral("B"));
    rig.RunAnswering();
    EXPECT_EQ(rig.host.Texts("write"), Strings({"A", "B", "C", "EX"}));
}

// ---------------------------------------------------------------------------
// Sending

TEST(EngineSend, EmptyCommandWritesLineEndAlone)
{
    EngineRig rig;
    ASSERT_TRUE(rig.Start(OpButton::SearchBankReadButton, {{"", k200}}, 3));
    rig.Advance(100);
    std::vector<std::pair<std::string, QString>> got;
    for (const auto& ev : rig.host.events)
        if (ev.kind != "open")
            got.emplace_back(ev.kind, ev.text);
    const std::vector<std::pair<std::string, QString>> want = {
        {"progress", "1 / 1"}, {"write", ""}, {"crlf", ""}, {"sent", ""}};
    EXPECT_EQ(got, want);
    EXPECT_EQ(rig.engine->SendedCommand(), QString(""));
    EXPECT_EQ(rig.engine->TimerTag(), kTimerAwaitAnswer);
}

TEST(EngineSend, WaitEntryPausesWithoutWriting)
{
    EngineRig rig;
    rig.ClaimAll(OpFamily::MemoryWrite);
    ASSERT_TRUE(rig.Start(OpButton::MemBankWriteButton,
                          {{"A", k200}, {"IX1 wait here", "[1](500)"}, {"B", k200}}));
    rig.Advance(100);
    rig.Answer(QStringLiteral("OK"));
    rig.Advance(100);  // the tick that meets the wait entry
    EXPECT_EQ(rig.host.Texts("sleep"), Strings({"500"}));
    EXPECT_EQ(rig.host.Texts("write"), Strings({"A"}));
    EXPECT_EQ(rig.host.Texts("sent"), Strings({"A"}));
    EXPECT_EQ(rig.engine->SendedCommand(), QStringLiteral("A"));
    EXPECT_EQ(rig.host.Texts("progress"), Strings({"1 / 3", "2 / 3"}));
    EXPECT_EQ(rig.engine->CommandList().first(), QStringLiteral("B"));
    rig.Advance(100);
    EXPECT_EQ(rig.host.WrittenAt("B"), 800);  // 200 + 500 asleep + 100 pause
}

TEST(EngineSend, SentListenersSeeEveryWrittenCommandInOrder)
{
    EngineRig rig;
    QStringList first, second;
    rig.engine->AddSentListener([&](const QString& cmd) { first << cmd; });
    rig.engine->AddSentListener([&](const QString& cmd) { second << cmd; });
    ASSERT_TRUE(rig.Start(OpButton::ScanGrpReadButton, {{"A", k200}, {"wait", "[1](50)"}, {"B", k200}}, 1));
    rig.RunAnswering();
    EXPECT_EQ(first, rig.host.Texts("write"));  // "wait" is not written, so not reported
    EXPECT_EQ(first, Strings({"A", "B", "EX"}));
    EXPECT_EQ(second, first);
}

TEST(EngineSend, WaitAsLastEntryStillClosesWithEx)
{
    EngineRig rig;
    ASSERT_TRUE(rig.Start(OpButton::ScanGrpReadButton, {{"A", k200}, {"wait", "[1](50)"}}, 1));
    rig.RunAnswering();
    EXPECT_EQ(rig.host.Texts("write"), Strings({"A", "EX"}));
}

struct TailCase {
    std::vector<const char*> cmds;
    std::vector<const char*> wire;
    std::vector<const char*> progress;
};
void PrintTo(const TailCase& c, std::ostream* os)
{
    for (const char* s : c.cmds)
        *os << s << ' ';
}
class ExTail : public ::testing::TestWithParam<TailCase> {};

TEST_P(ExTail, ExactlyOneClosingExSentAtOnce)
{
    const TailCase c = GetParam();
    EngineRig rig;
    rig.ClaimAll(OpFamily::ScanGrpRead);
    EngineRig::Cmds cmds;
    for (const char* s : c.cmds)
        cmds.emplace_back(QString::fromLatin1(s), k200);
    ASSERT_TRUE(rig.Start(OpButton::ScanGrpAllReadButton, cmds, 1));
    rig.RunAnswering();

    QStringList wire, progress;
    for (const char* s : c.wire)
        wire << s;
    for (const char* s : c.progress)
        progress << s;
    EXPECT_EQ(rig.host.Texts("write"), wire);
    EXPECT_EQ(rig.host.Texts("progress"), progress);
    // "EX" follows the last completion without the pause; the others keep 100 ms apart.
    const QString last = wire.at(wire.size() - 2);
    if (c.cmds.back() != std::string("EX")) {
        EXPECT_EQ(rig.host.WrittenAt("EX", static_cast<int>(wire.count("EX")) - 1), rig.host.WrittenAt(last));
    }
    EXPECT_EQ(rig.host.WrittenAt(wire.at(1)), rig.host.WrittenAt(wire.at(0)) + 100);
    EXPECT_FALSE(rig.engine->TimerEnabled());
    EXPECT_EQ(rig.engine->TimerTag(), kTimerIdle);
    EXPECT_EQ(rig.engine->ProgressPosition(), 0);
}

INSTANTIATE_TEST_SUITE_P(Engine, ExTail, ::testing::Values(
    TailCase{{"A", "B", "C"}, {"A", "B", "C", "EX"}, {"1 / 3", "2 / 3", "3 / 3", "3 / 3"}},
    TailCase{{"A", "EX"}, {"A", "EX"}, {"1 / 2", "2 / 2"}},
    TailCase{{"EX", "A"}, {"EX", "A", "EX"}, {"1 / 2", "2 / 2", "2 / 2"}}));

TEST(EngineSend, ParserAppendedCommandsRaiseTheMaximum)
{
    EngineRig rig;
    CommandEngine& e = *rig.engine;
    e.SetAnswerParser(OpFamily::SearchBankRead, [&e](const QString& s) {
        if (s == QStringLiteral("SE00"))
            for (const char* c : {"SS00", "RX"})
                e.AppendCommand(QString::fromLatin1(c), QStringLiteral("[1](2)"));
        return true;
    });
    ASSERT_TRUE(rig.Start(OpButton::SearchBankReadButton, {{"SR00", k200}}, 3));
    rig.RunAnswering([](const QString& cmd) { return cmd == "SR00" ? QStringLiteral("SE00") : QStringLiteral(" "); });
    EXPECT_EQ(rig.host.Texts("write"), Strings({"SR00", "SS00", "RX", "EX"}));
    EXPECT_EQ(rig.host.Texts("progress"), Strings({"1 / 1", "2 / 3", "3 / 3", "3 / 3"}));
}

// ---------------------------------------------------------------------------
// Starting, ending and aborting operations

struct FamilyCase {
    OpButton button;
    std::int32_t busy;
    bool closesPort;
};
void PrintTo(const FamilyCase& c, std::ostream* os) { *os << ButtonName(c.button); }
class OperationEnd : public ::testing::TestWithParam<FamilyCase> {};

TEST_P(OperationEnd, ResetsTabAndClosesPortOnlyAfterMemoryTab)
{
    const FamilyCase c = GetParam();
    EngineRig rig;
    CommandEngine& e = *rig.engine;
    const OpTab tab = TabOf(c.button);
    rig.ClaimAll(FamilyOf(c.button));
    ASSERT_TRUE(rig.Start(c.button, {{"A", k200}}, c.busy));

    EXPECT_EQ(e.BusyMark(), c.busy);
    EXPECT_EQ(e.ButtonTag(c.button), 1);
    for (OpButton b : ButtonsOf(tab))
        EXPECT_FALSE(e.ButtonEnabled(b)) << ButtonName(b);
    EXPECT_TRUE(e.AbortEnabled(tab));
    EXPECT_EQ(e.TimerTag(), kTimerSendPending);
    EXPECT_EQ(rig.timer->Interval(), 100);
    EXPECT_EQ(rig.host.Count("open"), 1);

    rig.RunAnswering();
    EXPECT_EQ(rig.host.Texts("write"), Strings({"A", "EX"}));
    EXPECT_EQ(rig.host.Count("close"), c.closesPort ? 1 : 0);
    EXPECT_EQ(rig.host.Count("redraw"), 1);
    EXPECT_EQ(e.BusyMark(), kBusyIdle);
    EXPECT_FALSE(e.TabRunning(tab));
    for (OpButton b : ButtonsOf(tab))
        EXPECT_TRUE(e.ButtonEnabled(b)) << ButtonName(b);
    EXPECT_FALSE(e.AbortEnabled(tab));
}

INSTANTIATE_TEST_SUITE_P(Engine, OperationEnd, ::testing::Values(
    FamilyCase{OpButton::MemChDetailReadButton, 0, true},
    FamilyCase{OpButton::AllBankWriteButton, 1, true},
    FamilyCase{OpButton::ScanGrpReadButton, 1, false},
    FamilyCase{OpButton::ScanGrpAllWriteButton, 1, false},
    FamilyCase{OpButton::SearchBankAllReadButton, 3, false},
    FamilyCase{OpButton::SearchBankWriteButton, 3, false},
    FamilyCase{OpButton::SearchGrpAllReadButton, 3, false},
    FamilyCase{OpButton::SearchGrpWriteButton, 3, false}));

struct BusyCase {
    OpButton button;
    bool refused;
};
void PrintTo(const BusyCase& c, std::ostream* os) { *os << ButtonName(c.button); }
class StartWhileBusy : public ::testing::TestWithParam<BusyCase> {};

TEST_P(StartWhileBusy, OnlyGroupTabsRefuse)
{
    const BusyCase c = GetParam();
    EngineRig rig;
    ASSERT_TRUE(rig.Start(OpButton::MemBankDetailReadButton, {{"A", k200}}, 1));
    rig.Advance(100);
    const bool started = rig.Start(c.button, {{"B", k200}}, 3);
    EXPECT_EQ(started, !c.refused);
    EXPECT_EQ(rig.host.Count("busy"), c.refused ? 1 : 0);
    EXPECT_EQ(rig.engine->ButtonTag(c.button), c.refused ? 0 : 1);
    EXPECT_EQ(rig.engine->CommandList().size(), c.refused ? 1 : 2);
    EXPECT_EQ(rig.host.Count("open"), c.refused ? 1 : 2);
}

INSTANTIATE_TEST_SUITE_P(Engine, StartWhileBusy, ::testing::Values(
    BusyCase{OpButton::ScanGrpAllReadButton, true},
    BusyCase{OpButton::SearchGrpWriteButton, true},
    BusyCase{OpButton::SearchBankAllReadButton, false},
    BusyCase{OpButton::MemChWriteButton, false}));

TEST(EngineStart, FailedPortOpenLeavesTabMarkedAndQueuesNothing)
{
    EngineRig rig;
    CommandEngine& e = *rig.engine;
    rig.host.openSucceeds = false;
    bool prepared = false;
    EXPECT_FALSE(rig.Start(OpButton::SearchBankAllReadButton, {{"AZ", k200}}, 3, [&] { prepared = true; }));
    EXPECT_TRUE(prepared);
    EXPECT_EQ(e.BusyMark(), 3);
    EXPECT_EQ(e.ButtonTag(OpButton::SearchBankAllReadButton), 1);
    EXPECT_FALSE(e.ButtonEnabled(OpButton::SearchBankReadButton));
    EXPECT_TRUE(e.AbortEnabled(OpTab::SearchBank));
    EXPECT_TRUE(e.CommandList().isEmpty());
    EXPECT_EQ(e.TimerTag(), kTimerIdle);
    rig.Advance(5000);
    EXPECT_EQ(rig.host.Count("write"), 0);

    e.Abort(OpTab::SearchBank);
    EXPECT_EQ(e.BusyMark(), kBusyIdle);
    EXPECT_TRUE(e.ButtonEnabled(OpButton::SearchBankReadButton));
    EXPECT_EQ(e.ButtonTag(OpButton::SearchBankAllReadButton), 0);
}

TEST(EngineAbort, AbortEmptiesQueueAndResetsAllButtonsOfTheTab)
{
    EngineRig rig;
    CommandEngine& e = *rig.engine;
    QStringList* seen = rig.ClaimAll(OpFamily::MemoryRead);
    ASSERT_TRUE(rig.Start(OpButton::AllBankDetailReadButton,
                          {{"MA00", k200}, {"MA01", k200}, {"MA02", k200}}, 1));
    rig.Advance(100);
    rig.Answer(QStringLiteral("MX"));
    rig.Advance(100);
    ASSERT_EQ(e.ProgressPosition(), 2);

    e.Abort(OpTab::MemCh);
    EXPECT_TRUE(e.CommandList().isEmpty());
    EXPECT_TRUE(e.CommandOptList().isEmpty());
    EXPECT_FALSE(e.TimerEnabled());
    EXPECT_EQ(e.TimerTag(), kTimerAwaitAnswer);  // the mode is left as it was
    EXPECT_EQ(e.ProgressPosition(), 0);
    EXPECT_EQ(e.BusyMark(), kBusyIdle);
    for (OpButton b : ButtonsOf(OpTab::MemCh)) {
        EXPECT_EQ(e.ButtonTag(b), 0) << ButtonName(b);
        EXPECT_TRUE(e.ButtonEnabled(b)) << ButtonName(b);
    }
    EXPECT_FALSE(e.AbortEnabled(OpTab::MemCh));
    EXPECT_EQ(rig.host.Count("close"), 0);
    EXPECT_EQ(rig.host.Count("redraw"), 0);

    const auto offered = seen->size();
    rig.Answer(QStringLiteral("MX late"));
    EXPECT_EQ(seen->size(), offered);  // no parser of the aborted tab gets it
    rig.Advance(5000);
    EXPECT_EQ(rig.host.Texts("write"), Strings({"MA00", "MA01"}));
}

TEST(EngineAbort, AbortInsideAWriteLeavesNothingTicking)
{
    EngineRig rig;
    CommandEngine& e = *rig.engine;
    ASSERT_TRUE(rig.Start(OpButton::SearchBankAllReadButton, {{"SR00", k200}, {"SR01", k200}}, 3));
    rig.host.duringWrite = [&e] { e.Abort(OpTab::SearchBank); };
    rig.Advance(100);
    EXPECT_TRUE(e.CommandList().isEmpty());
    EXPECT_FALSE(e.TimerEnabled());
    rig.host.duringWrite = nullptr;
    rig.Advance(5000);
    EXPECT_EQ(rig.host.Texts("write"), Strings({"SR00"}));
}

TEST(EngineShared, TwoOperationsShareTheQueueAndEndTogether)
{
    EngineRig rig;
    CommandEngine& e = *rig.engine;
    QStringList* mem = rig.ClaimAll(OpFamily::MemoryRead);
    QStringList* sb = rig.ClaimAll(OpFamily::SearchBankRead);
    ASSERT_TRUE(rig.Start(OpButton::MemChDetailReadButton, {{"A", k200}, {"B", k200}}, 0));
    rig.Advance(100);
    ASSERT_TRUE(rig.Start(OpButton::SearchBankReadButton, {{"C", k200}}, 3));
    EXPECT_EQ(e.ProgressMax(), 3);
    EXPECT_EQ(e.ProgressPosition(), 0);

    rig.RunAnswering();
    // The head command, already sent, goes out again when the second operation starts.
    EXPECT_EQ(rig.host.Texts("write"), Strings({"A", "A", "B", "C", "EX"}));
    EXPECT_EQ(*mem, *sb);  // both running families got every line
    EXPECT_FALSE(e.TabRunning(OpTab::MemCh));
    EXPECT_FALSE(e.TabRunning(OpTab::SearchBank));
    EXPECT_EQ(rig.host.Count("close"), 1);
    EXPECT_EQ(e.BusyMark(), kBusyIdle);
}

TEST(EngineShared, DispatchFollowsFamilyOrderAndSkipsIdleFamilies)
{
    EngineRig rig;
    CommandEngine& e = *rig.engine;
    QStringList order;
    for (int f = 0; f < kOpFamilyCount; ++f)
        e.SetAnswerParser(static_cast<OpFamily>(f), [&order, f](const QString&) {
            order << QString::number(f);
            return f == static_cast<int>(OpFamily::SearchGrpRead);  // only the last one claims
        });
    ASSERT_TRUE(rig.Start(OpButton::SearchGrpReadButton, {{"A", k200}, {"B", k200}}, 3));
    ASSERT_TRUE(rig.Start(OpButton::MemChWriteButton, {}, 0));
    rig.Advance(100);
    rig.Answer(QStringLiteral("SG1"));
    EXPECT_EQ(order, Strings({"1", "6"}));  // memory write, then search group read
    EXPECT_EQ(e.CommandList().first(), QStringLiteral("B"));
}

// ---------------------------------------------------------------------------
// The search link restore at the end of a search-bank operation

TEST(EngineLinkRestore, RestoresSavedListThenEndsOnAcknowledgement)
{
    EngineRig rig;
    CommandEngine& e = *rig.engine;
    e.SetAnswerParser(OpFamily::SearchBankRead, [&e](const QString& s) {
        if (e.SendedCommand().startsWith("BK") && e.SearchBankState == 6 && s == " ")
            e.SearchBankState = 0;
        return true;
    });
    ASSERT_TRUE(rig.Start(OpButton::SearchBankAllReadButton, {{"SR00", k200}}, 3, [&e] {
        e.SearchBankState = 4;
        e.SearchLinkBackup = {};
        e.SearchLinkBackup.Link[0] = 0x02;  // bank 1
        e.SearchLinkBackup.Link[4] = 0x80;  // bank 39
    }));
    rig.RunAnswering(QStringLiteral(" "));
    EXPECT_EQ(rig.host.Texts("write"), Strings({"SR00", "EX", "BK0139", "EX"}));
    EXPECT_EQ(rig.host.Texts("progress"), Strings({"1 / 1", "1 / 1", "2 / 2", "2 / 2"}));
    EXPECT_EQ(e.SearchBankState, 0);
    EXPECT_FALSE(e.TabRunning(OpTab::SearchBank));
    EXPECT_EQ(e.BusyMark(), kBusyIdle);
    EXPECT_EQ(rig.host.Count("redraw"), 1);
}

TEST(EngineLinkRestore, UnacknowledgedRestoreRepeatsUntilAbort)
{
    EngineRig rig;
    CommandEngine& e = *rig.engine;
    rig.ClaimAll(OpFamily::SearchBankWrite);
    ASSERT_TRUE(rig.Start(OpButton::SearchBankAllWriteButton, {{"SX00", k200}}, 3,
                          [&e] { e.SearchBankState = 5; }));
    rig.RunAnswering([](const QString&) { return QStringLiteral("?x"); }, 60);
    const QStringList wire = rig.host.Texts("write");
    EXPECT_GE(wire.count(QStringLiteral("BK99")), 3);
    EXPECT_EQ(wire.mid(0, 6), Strings({"SX00", "EX", "BK99", "EX", "BK99", "EX"}));
    EXPECT_EQ(e.SearchBankState, 6);
    EXPECT_TRUE(e.TabRunning(OpTab::SearchBank));
    EXPECT_EQ(e.BusyMark(), 3);

    e.Abort(OpTab::SearchBank);
    const auto sent = rig.host.Count("write");
    rig.Advance(10000);
    EXPECT_EQ(rig.host.Count("write"), sent);
    EXPECT_FALSE(e.TabRunning(OpTab::SearchBank));
}

TEST(EngineLinkRestore, NoRestoreBelowStateFour)
{
    EngineRig rig;
    CommandEngine& e = *rig.engine;
    rig.ClaimAll(OpFamily::SearchBankRead);
    ASSERT_TRUE(rig.Start(OpButton::SearchBankReadButton, {{"SR00", k200}}, 3, [&e] { e.SearchBankState = 3; }));
    rig.RunAnswering();
    EXPECT_EQ(rig.host.Texts("write"), Strings({"SR00", "EX"}));
    EXPECT_EQ(e.SearchBankState, 3);
}

// ---------------------------------------------------------------------------
// The test seam that scales intervals

TEST(EngineScale, DivisorScalesTicksAndWaitSleeps)
{
    struct Restore {
        ~Restore() { CommandEngine::SetIntervalDivisor(1); }
    } restore;
    CommandEngine::SetIntervalDivisor(10);
    EngineRig rig;
    ASSERT_TRUE(rig.Start(OpButton::ScanGrpWriteButton, {{"A", k200}, {"wait", "[1](500)"}}, 1));
    EXPECT_EQ(rig.timer->Interval(), 10);
    EXPECT_EQ(rig.engine->TimerInterval(), 100);
    rig.Advance(10);
    EXPECT_EQ(rig.timer->Interval(), 20);
    rig.Advance(60);  // three scaled ticks give the command up
    rig.Advance(10);
    EXPECT_EQ(rig.host.Texts("sleep"), Strings({"50"}));
}

}  // namespace
