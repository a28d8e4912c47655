// Flow-control flag words, their termios meaning, and the other pure setting rules.
#include "LineSettings.h"
#include "PortMap.h"

#include <gtest/gtest.h>

using namespace kestrel::comm;

namespace {

struct FlowCase {
    TCommFlowCtrls flow;
    std::uint32_t word;
    bool supported;
    FlowSettings termios;
};

class FlowWords : public ::testing::TestWithParam<FlowCase> {};

TEST_P(FlowWords, FlagWordAndItsTermiosMeaning)
{
    const auto& c = GetParam();
    const std::uint32_t word = FlowCtrlFlagWord(c.flow);
    EXPECT_EQ(word, c.word) << std::hex << word;
    const auto f = FlowFromFlagWord(word);
    ASSERT_EQ(f.has_value(), c.supported);
    if (!f) return;
    EXPECT_EQ(f->crtscts, c.termios.crtscts);
    EXPECT_EQ(f->ixon, c.termios.ixon);
    EXPECT_EQ(f->ixoff, c.termios.ixoff);
    EXPECT_EQ(f->dtrOn, c.termios.dtrOn);
    EXPECT_EQ(f->rtsOn, c.termios.rtsOn);

    termios t{};
    t.c_cflag = CRTSCTS;  // whatever was there is replaced
    t.c_iflag = IXON | IXOFF | IXANY;
    SetFlow(t, *f);
    EXPECT_EQ((t.c_cflag & CRTSCTS) != 0, c.termios.crtscts);
    EXPECT_EQ((t.c_iflag & IXON) != 0, c.termios.ixon);
    EXPECT_EQ((t.c_iflag & IXOFF) != 0, c.termios.ixoff);
    EXPECT_EQ(t.c_iflag & IXANY, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    All, FlowWords,
    ::testing::Values(
        //                    crtscts ixon  ixoff  dtr   rts
        FlowCase{cfcRtsCts, 0x2017, true, {true, false, false, true, true}},
        FlowCase{cfcDtrDsr, 0x102B, false, {}},
        FlowCase{cfcXonXoff, 0x1313, true, {false, true, true, true, true}},
        FlowCase{cfcHalfHigh, 0x0013, true, {false, false, false, true, false}},
        FlowCase{cfcHalfLow, 0x1013, true, {false, false, false, true, true}},
        FlowCase{cfcNone, 0x1013, true, {false, false, false, true, true}}));

TEST(LineRules, LimitsAndHalfDuplexWait)
{
    struct {
        std::int32_t in;
        std::int32_t limit;
    } limits[] = {{2048, 512}, {4096, 1024}, {3, 0}, {-8, 0}, {1 << 20, 0xFFFF}};
    for (const auto& l : limits) EXPECT_EQ(XonXoffLimit(l.in), l.limit) << l.in;

    struct {
        std::int32_t rate;
        std::int32_t wait;
    } waits[] = {{115200, 1}, {9600, 2}, {300, 34}, {20, 501}, {10, 1001}, {9, 1001}, {0, 1001}, {-5, 1001}};
    for (const auto& w : waits) EXPECT_EQ(HalfWaitTime(w.rate), w.wait) << w.rate;
}

TEST(LineRules, ValuesTheDeviceCannotTakeAreRefused)
{
    termios t{};
    struct {
        std::int32_t rate;
        bool ok;
        speed_t code;
    } rates[] = {{9600, true, B9600}, {115200, true, B115200}, {4000000, true, B4000000},
                 {12345, false, 0}, {0, false, 0}, {-9600, false, 0}};
    for (const auto& r : rates) {
        EXPECT_EQ(SetBitRate(t, r.rate), r.ok) << r.rate;
        if (r.ok) {
            EXPECT_EQ(cfgetospeed(&t), r.code) << r.rate;
        }
    }
    struct {
        std::int32_t bits;
        bool ok;
        tcflag_t size;
    } sizes[] = {{5, true, CS5}, {8, true, CS8}, {4, false, 0}, {9, false, 0}};
    for (const auto& s : sizes) {
        EXPECT_EQ(SetCharSize(t, s.bits), s.ok) << s.bits;
        if (s.ok) {
            EXPECT_EQ(t.c_cflag & CSIZE, s.size);
        }
    }
    EXPECT_TRUE(SetStopBits(t, csb2));
    EXPECT_TRUE(t.c_cflag & CSTOPB);
    EXPECT_FALSE(SetStopBits(t, csb1p5));
    EXPECT_TRUE(SetStopBits(t, csb1));
    EXPECT_FALSE(t.c_cflag & CSTOPB);

    // A parity value outside the enumeration is kept but changes nothing.
    EXPECT_TRUE(SetParity(t, cpbOdd));
    const termios before = t;
    EXPECT_TRUE(SetParity(t, static_cast<TCommParityBits>(7)));
    EXPECT_EQ(t.c_cflag, before.c_cflag);
    EXPECT_TRUE((t.c_cflag & PARENB) && (t.c_cflag & PARODD));
}

struct NameCase {
    const char* name;
    std::optional<int> number;
};

class KernelNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(KernelNames, FixedBlocksByFamily)
{
    EXPECT_EQ(KernelPortNumber(GetParam().name), GetParam().number) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    All, KernelNames,
    ::testing::Values(NameCase{"ttyS0", 1}, NameCase{"ttyS3", 4}, NameCase{"ttyS99", 100},
                      NameCase{"ttyUSB0", 101}, NameCase{"ttyUSB12", 113}, NameCase{"ttyACM0", 201},
                      NameCase{"ttyAMA1", 302}, NameCase{"rfcomm0", 401},
                      NameCase{"ttyXRUSB2", 503}, NameCase{"ttymxc0", 601}, NameCase{"ttyO2", 703},
                      NameCase{"ttySAC1", 802},
                      // outside the blocks: numbered from COM901 by the list
                      NameCase{"ttyS100", std::nullopt}, NameCase{"ttyUSB01", std::nullopt},
                      NameCase{"ttyS", std::nullopt}, NameCase{"ttyGS0", std::nullopt},
                      NameCase{"ttyS1x", std::nullopt}));

class VirtualNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(VirtualNames, OnlyComFollowedByAPlainNumber)
{
    EXPECT_EQ(VirtualPortNumber(GetParam().name), GetParam().number) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    All, VirtualNames,
    ::testing::Values(NameCase{"COM1", 1}, NameCase{"COM42", 42}, NameCase{"COM100000", 100000},
                      NameCase{"COM0", std::nullopt}, NameCase{"COM01", std::nullopt},
                      NameCase{"COM", std::nullopt}, NameCase{"com3", std::nullopt},
                      NameCase{"COM3.bak", std::nullopt}, NameCase{"COM-3", std::nullopt},
                      NameCase{"COM99999999999", std::nullopt}));

}  // namespace
