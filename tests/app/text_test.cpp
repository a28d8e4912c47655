#include "PortEntries.h"
#include "RxLineBuffer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// ---- received-line assembly ----

struct RxCase {
    const char* name;
    std::string bytes;
    std::vector<RxLineBuffer::Line> lines;
    std::size_t pending;  // bytes left in the buffer afterwards
};

std::vector<RxLineBuffer::Line> feed(RxLineBuffer& rx, const std::string& bytes)
{
    std::vector<RxLineBuffer::Line> out;
    for (char c : bytes)
        if (auto line = rx.push(static_cast<std::uint8_t>(c)))
            out.push_back(*line);
    return out;
}

class RxLineAssembly : public ::testing::TestWithParam<RxCase> {};

TEST_P(RxLineAssembly, GivesLinesInOrder)
{
    const RxCase& c = GetParam();
    RxLineBuffer rx;
    const auto lines = feed(rx, c.bytes);
    ASSERT_EQ(lines.size(), c.lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].bytes, c.lines[i].bytes) << "line " << i;
        EXPECT_EQ(lines[i].answer, c.lines[i].answer) << "line " << i;
    }
    EXPECT_EQ(rx.count(), c.pending);
}

const std::string k301(301, 'x');
const std::string k302 = std::string(301, 'y') + "z";

INSTANTIATE_TEST_SUITE_P(
    Cases, RxLineAssembly,
    ::testing::Values(
        RxCase{"CrLf", "MX\r\n", {{"MX", true}}, 0},
        RxCase{"CrAlone", "\r", {{"", true}}, 0},
        RxCase{"LfAlone", "\n", {}, 0},
        RxCase{"TwoEmptyLines", "\r\n\r\n", {{"", true}, {"", true}}, 0},
        RxCase{"LfInsideLineIgnored", "A\nB\r", {{"AB", true}}, 0},
        RxCase{"LfCr", "AZ1\n\rRX", {{"AZ1", true}}, 2},
        RxCase{"BinaryBytesKept", std::string("a\0\xff" "b\r", 5), {{std::string("a\0\xff" "b", 4), true}}, 0},
        RxCase{"ExactlyFullLine", k301 + "\r", {{k301, true}}, 0},
        RxCase{"OverlongShownInPiecesNotOffered", k302 + "\r", {{std::string(301, 'y'), false}, {"z", false}}, 0},
        RxCase{"TwiceOverlong", k301 + k301 + "ab\r", {{k301, false}, {k301, false}, {"ab", false}}, 0},
        RxCase{"LineAfterOverlongIsAnswerAgain", k302 + "\rOK\r", {{std::string(301, 'y'), false}, {"z", false}, {"OK", true}}, 0},
        RxCase{"OverlongStillReceiving", k302, {{std::string(301, 'y'), false}}, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RxLineBuffer, ClearEmptiesCountAndBytesAndEndsAnOverlongLine)
{
    RxLineBuffer rx;
    feed(rx, k302);  // overlong, one byte pending
    rx.clear();
    EXPECT_EQ(rx.count(), 0u);
    for (std::uint8_t b : rx.bytes())
        ASSERT_EQ(b, 0);
    const auto lines = feed(rx, "MR\r");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].bytes, "MR");
    EXPECT_TRUE(lines[0].answer);
}

TEST(RxLineBuffer, NeverHoldsMoreThanItsSize)
{
    RxLineBuffer rx;
    for (int i = 0; i < 5000; ++i) {
        rx.push('q');
        ASSERT_LE(rx.count(), RxLineBuffer::kSize);
    }
}

// ---- port number from a port list entry or typed text ----

struct PortCase {
    const char* text;
    std::int32_t number;
};

class PortNumber : public ::testing::TestWithParam<PortCase> {};

TEST_P(PortNumber, ReadsDigitsAfterFirstComUpToParenthesis)
{
    EXPECT_EQ(PortNumberFromEntry(QString::fromUtf8(GetParam().text)), GetParam().number)
        << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PortNumber,
    ::testing::Values(PortCase{"COM1(/dev/ttyS0)", 1}, PortCase{"COM7(\\Device\\VCP0)", 7},
                      PortCase{"COM10(/dev/pts/3)", 10}, PortCase{"COM12", 12},
                      PortCase{"COMX", 0}, PortCase{"com5", 0}, PortCase{"", 0},
                      PortCase{"ComPortComboBox", 0}, PortCase{"my COM4(x)", 4},
                      PortCase{"COM 3(x)", 3}, PortCase{"COM3 (x)", 0},
                      PortCase{"COM(COM5)", 0}, PortCase{"COM3(COM4)", 3},
                      PortCase{"COM2x", 0}, PortCase{"COM-2", -2},
                      PortCase{"COM2147483647", 2147483647}, PortCase{"COM2147483648", 0},
                      PortCase{"COM99999999999999999999", 0}, PortCase{"COM٣", 0}));

TEST(PortEntry, NamesNumberAndDevice)
{
    EXPECT_EQ(PortEntryText(7, QStringLiteral("/dev/pts/4")), QStringLiteral("COM7(/dev/pts/4)"));
    EXPECT_EQ(PortNumberFromEntry(PortEntryText(42, QStringLiteral("/dev/ttyUSB0"))), 42);
}

// ---- command history ----

struct HistoryCase {
    const char* name;
    QStringList sends;
    QStringList history;
};

QStringList numbered(int from, int to)  // "c<to>" down to "c<from>"
{
    QStringList out;
    for (int i = to; i >= from; --i)
        out << QStringLiteral("c%1").arg(i);
    return out;
}

QStringList sendsOf(int count)
{
    QStringList out;
    for (int i = 0; i < count; ++i)
        out << QStringLiteral("c%1").arg(i);
    return out;
}

class CommandHistory : public ::testing::TestWithParam<HistoryCase> {};

TEST_P(CommandHistory, MostRecentFirstWithoutRepeats)
{
    QStringList h;
    for (const QString& s : GetParam().sends)
        h = PushCommandHistory(h, s);
    EXPECT_EQ(h, GetParam().history) << h.join(u',').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandHistory,
    ::testing::Values(
        HistoryCase{"RepeatIgnoringCaseMovesToTop", {"MA", "RX", "ma"}, {"ma", "RX"}},
        HistoryCase{"SameTwiceKeepsOne", {"AZ", "AZ"}, {"AZ"}},
        HistoryCase{"EmptyTextHeadsTheList", {"AZ", ""}, {"", "AZ"}},
        HistoryCase{"TenKeptAll", sendsOf(10), numbered(0, 9)},
        HistoryCase{"ElevenKeepLastTen", sendsOf(11), numbered(1, 10)},
        HistoryCase{"RepeatOfOldestWhenFullDropsNothingElse", sendsOf(10) << "C0",
                    QStringList{"C0"} + numbered(1, 9)}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
