// The serial component under stress: closing while data stream in, the far end going
// away, half-duplex RTS bursts and settings applied open or closed.
#include "CommWorkers.h"
#include "ModemLines.h"
#include "SerialFixture.h"

#include <sys/ioctl.h>
#include <termios.h>
#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

using namespace commtest;

namespace {

constexpr int kPort = 43;

bool WorkersEnded()
{
    return PumpUntil([] { return kestrel::comm::LiveWorkerCount() == 0; });
}

// ---- closing while the far end streams --------------------------------------------------

enum class CloseWay { FromReceiveHandler, FromWindowThread, ByDestroying };

struct StreamCloseCase {
    const char* name;
    CloseWay way;
};

class CloseWhileStreaming : public ::testing::TestWithParam<StreamCloseCase> {};

TEST_P(CloseWhileStreaming, NeitherHangsNorLeavesWorkersBehind)
{
    PortDir dir;
    Pty pty;
    dir.link(kPort, pty.slave());
    auto comm = std::make_unique<TCommX>();
    comm->setPortNo(kPort);
    std::size_t got = 0;
    bool closedInHandler = false;
    comm->OnReceive = [&](TCustomCommX* sender, std::int32_t size) {
        std::string buf(static_cast<std::size_t>(size), '\0');
        const auto n = sender->ReceiveBlock(buf.data(), size);
        if (n > 0) got += static_cast<std::size_t>(n);
        if (GetParam().way == CloseWay::FromReceiveHandler && got > 64 * 1024 && !closedInHandler) {
            closedInHandler = true;
            sender->PortClose();  // the receive worker is waiting for this very handler
        }
    };
    comm->PortOpen();
    FarEndWriter writer(pty.master());
    ASSERT_TRUE(PumpUntil([&] { return got > 64 * 1024; }));
    switch (GetParam().way) {
    case CloseWay::FromReceiveHandler: ASSERT_TRUE(PumpUntil([&] { return !comm->isOpen(); })); break;
    case CloseWay::FromWindowThread: comm->PortClose(); break;
    case CloseWay::ByDestroying: comm.reset(); break;
    }
    if (comm) {
        EXPECT_FALSE(comm->isOpen());
    }
    // Data keep coming at the far end while the workers wind down.
    EXPECT_TRUE(WorkersEnded()) << kestrel::comm::LiveWorkerCount() << " workers left";
    writer.stop();
    if (comm) {
        // The device was released: it opens again.
        EXPECT_NO_THROW(comm->PortOpen());
        comm->PortClose();
    }
    EXPECT_TRUE(WorkersEnded());
}

INSTANTIATE_TEST_SUITE_P(
    Ways, CloseWhileStreaming,
    ::testing::Values(StreamCloseCase{"from_receive_handler", CloseWay::FromReceiveHandler},
                      StreamCloseCase{"from_window_thread", CloseWay::FromWindowThread},
                      StreamCloseCase{"by_destroying", CloseWay::ByDestroying}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- the far end goes away --------------------------------------------------------------

TEST(FarEnd, ClosingMidTransferIsReportedOnceAndThePortOpensAgain)
{
    PortDir dir;
    auto pty = std::make_unique<Pty>();
    dir.link(kPort, pty->slave());
    TCommX comm;
    comm.setPortNo(kPort);
    std::vector<std::int32_t> errors;
    comm.OnError = [&](TCustomCommX*, std::int32_t flags) { errors.push_back(flags); };
    std::string received;
    comm.OnReceive = [&](TCustomCommX* s, std::int32_t size) {
        std::string buf(static_cast<std::size_t>(size), '\0');
        const auto n = s->ReceiveBlock(buf.data(), size);
        if (n > 0) received.append(buf.data(), static_cast<std::size_t>(n));
    };
    comm.PortOpen();
    // A transfer in both directions is under way when the far end vanishes.
    const std::string big = Pattern(48 * 1024);  // under 32 chunks: TransBlock returns at once
    ASSERT_TRUE(comm.TransBlock(big.data(), static_cast<std::int32_t>(big.size())));
    pty->write("partial answer");
    ASSERT_TRUE(PumpUntil([&] { return !received.empty(); }));
    pty->closeMaster();

    ASSERT_TRUE(PumpUntil([&] { return !errors.empty(); }));
    // Further traffic on the dead port neither spins nor reports again.
    comm.TransString("more");
    char buf[8];
    EXPECT_EQ(comm.ReceiveBlock(buf, sizeof buf), -1);
    EXPECT_TRUE(PumpUntil([&] { return comm.GetTransLength() == 0; }));
    PumpFor(200);
    EXPECT_EQ(errors, std::vector<std::int32_t>{kCommErrIo});
    EXPECT_TRUE(comm.isOpen());

    comm.PortClose();
    EXPECT_TRUE(WorkersEnded());
    pty = std::make_unique<Pty>();
    dir.link(kPort, pty->slave());
    received.clear();
    ASSERT_NO_THROW(comm.PortOpen());
    ASSERT_TRUE(comm.TransString("ping"));
    EXPECT_EQ(pty->read(4), "ping");
    pty->write("pong");
    EXPECT_TRUE(PumpUntil([&] { return received == "pong"; })) << received;
    comm.PortClose();
    EXPECT_TRUE(WorkersEnded());
}

// ---- half-duplex RTS bursts -------------------------------------------------------------

// Records the modem-line calls; calls from a worker wait at a gate the test opens, so that
// the test decides what is queued when the worker goes on.
class FakeModemLines : public kestrel::comm::ModemLineOps {
public:
    struct Call {
        int bits;
        bool on;
    };

    int setLines(int, int bits, bool on) override
    {
        if (std::this_thread::get_id() == windowThread_) return ENOTTY;
        {
            std::lock_guard lock(mu_);
            workerCalls_.push_back({bits, on});
        }
        std::unique_lock lock(mu_);
        cv_.wait(lock, [this] { return open_; });
        return ENOTTY;  // a pseudo-terminal has no lines
    }
    int lineStatus(int, int& bits) override
    {
        bits = 0;
        return ENOTTY;
    }
    int setBreak(int, bool) override { return ENOTTY; }

    void openGate()
    {
        {
            std::lock_guard lock(mu_);
            open_ = true;
        }
        cv_.notify_all();
    }
    std::vector<Call> workerCalls()
    {
        std::lock_guard lock(mu_);
        return workerCalls_;
    }

private:
    const std::thread::id windowThread_ = std::this_thread::get_id();
    std::mutex mu_;
    std::condition_variable cv_;
    bool open_ = false;
    std::vector<Call> workerCalls_;
};

struct BurstCase {
    const char* name;
    TCommFlowCtrls flow;
    std::vector<bool> rtsLevels;  // RTS levels the transmit worker sets, in order
};

class HalfDuplex : public ::testing::TestWithParam<BurstCase> {};

TEST_P(HalfDuplex, RtsSwitchesOncePerBurstOfQueuedChunks)
{
    const auto& c = GetParam();
    PortDir dir;
    Pty pty;
    dir.link(kPort, pty.slave());
    auto lines = std::make_shared<FakeModemLines>();
    TCommX comm;
    comm.setModemLineOps(lines);
    comm.setPortNo(kPort);
    comm.setFlowCtrl(c.flow);
    comm.setBufLenTrans(16);
    comm.PortOpen();
    // Whatever fails below, the worker must not stay at the gate (closing waits for it).
    struct GateGuard {
        FakeModemLines& lines;
        ~GateGuard() { lines.openGate(); }
    } guard{*lines};
    const std::string data = Pattern(48);  // three chunks, queued before the worker goes on
    ASSERT_TRUE(comm.TransBlock(data.data(), 48));
    lines->openGate();
    EXPECT_EQ(pty.read(48), data);
    ASSERT_TRUE(PumpUntil([&] {
        return comm.GetTransLength() == 0 && lines->workerCalls().size() >= c.rtsLevels.size();
    }));
    std::vector<bool> levels;
    for (const auto& call : lines->workerCalls()) {
        EXPECT_EQ(call.bits, TIOCM_RTS);
        levels.push_back(call.on);
    }
    EXPECT_EQ(levels, c.rtsLevels);
    comm.PortClose();
    EXPECT_TRUE(WorkersEnded());
}

INSTANTIATE_TEST_SUITE_P(
    Flows, HalfDuplex,
    ::testing::Values(BurstCase{"half_high_raises_then_drops", cfcHalfHigh, {true, false}},
                      BurstCase{"half_low_drops_then_raises", cfcHalfLow, {false, true}},
                      BurstCase{"none_leaves_rts_alone", cfcNone, {}},
                      BurstCase{"rts_cts_leaves_rts_alone", cfcRtsCts, {}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- modem lines on the window thread ---------------------------------------------------

// Records every line call and answers the status with chosen bits.
class RecordingLines : public kestrel::comm::ModemLineOps {
public:
    explicit RecordingLines(int status) : status_(status) {}
    int setLines(int, int bits, bool on) override
    {
        std::lock_guard lock(mu_);
        log_.push_back((on ? "+" : "-") + Name(bits));
        return 0;
    }
    int lineStatus(int, int& bits) override
    {
        bits = status_;
        return 0;
    }
    int setBreak(int, bool on) override
    {
        std::lock_guard lock(mu_);
        log_.push_back(on ? "+BRK" : "-BRK");
        return 0;
    }
    std::vector<std::string> take()
    {
        std::lock_guard lock(mu_);
        return std::exchange(log_, {});
    }

private:
    static std::string Name(int bits)
    {
        return bits == TIOCM_RTS ? "RTS" : bits == TIOCM_DTR ? "DTR" : std::to_string(bits);
    }
    const int status_;
    std::mutex mu_;
    std::vector<std::string> log_;
};

struct LinesCase {
    const char* name;
    TCommFlowCtrls flow;
    std::vector<std::string> atOpen;  // lines set by PortOpen
    int status;
    std::array<bool, 4> cts_dsr_ring_rlsd;
};

class ModemLines : public ::testing::TestWithParam<LinesCase> {};

TEST_P(ModemLines, OpenSetsTheFlowLinesStatusReadsTheRightBitsCloseDropsDtrThenRts)
{
    const auto& c = GetParam();
    PortDir dir;
    Pty pty;
    dir.link(kPort, pty.slave());
    auto lines = std::make_shared<RecordingLines>(c.status);
    TCommX comm;
    comm.setModemLineOps(lines);
    comm.setPortNo(kPort);
    comm.setFlowCtrl(c.flow);
    EXPECT_FALSE(comm.IsCtsSignal() || comm.IsDsrSignal() || comm.IsRingSignal() || comm.IsRlsdSignal());
    comm.SetRtsSignal(true);  // closed: no line call
    comm.SendBreak();
    EXPECT_TRUE(lines->take().empty());

    comm.PortOpen();
    EXPECT_EQ(lines->take(), c.atOpen);
    EXPECT_EQ(comm.IsCtsSignal(), c.cts_dsr_ring_rlsd[0]);
    EXPECT_EQ(comm.IsDsrSignal(), c.cts_dsr_ring_rlsd[1]);
    EXPECT_EQ(comm.IsRingSignal(), c.cts_dsr_ring_rlsd[2]);
    EXPECT_EQ(comm.IsRlsdSignal(), c.cts_dsr_ring_rlsd[3]);
    comm.SendBreak();
    comm.SetDtrSignal(true);
    EXPECT_EQ(lines->take(), (std::vector<std::string>{"+BRK", "-BRK", "+DTR"}));
    comm.PortClose();
    EXPECT_EQ(lines->take(), (std::vector<std::string>{"-DTR", "-RTS"}));
    EXPECT_TRUE(WorkersEnded());
}

INSTANTIATE_TEST_SUITE_P(
    Flows, ModemLines,
    ::testing::Values(LinesCase{"none", cfcNone, {"+DTR", "+RTS"}, TIOCM_CTS, {true, false, false, false}},
                      LinesCase{"half_high", cfcHalfHigh, {"+DTR", "-RTS"}, TIOCM_DSR, {false, true, false, false}},
                      // RTS is the kernel's under hardware handshake
                      LinesCase{"rts_cts", cfcRtsCts, {"+DTR"}, TIOCM_RNG, {false, false, true, false}},
                      LinesCase{"xon_xoff", cfcXonXoff, {"+DTR", "+RTS"}, TIOCM_CAR | TIOCM_CTS,
                                {true, false, false, true}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- line errors and breaks ------------------------------------------------------------

// Serves line-error counters as a UART driver would; no modem lines.
class FakeCounters : public kestrel::comm::ModemLineOps {
public:
    int setLines(int, int, bool) override { return ENOTTY; }
    int lineStatus(int, int& bits) override
    {
        bits = 0;
        return ENOTTY;
    }
    int setBreak(int, bool) override { return ENOTTY; }
    int lineCounters(int, serial_icounter_struct& c) override
    {
        std::lock_guard lock(mu_);
        c = counters_;
        return 0;
    }
    void change(const std::function<void(serial_icounter_struct&)>& f)
    {
        std::lock_guard lock(mu_);
        f(counters_);
    }

private:
    std::mutex mu_;
    serial_icounter_struct counters_{};
};

struct LineEventCase {
    const char* name;
    std::function<void(serial_icounter_struct&)> happen;
    std::vector<std::int32_t> errors;
    int breaks;
};

class LineEvents : public ::testing::TestWithParam<LineEventCase> {};

TEST_P(LineEvents, ReachOnErrorAndOnBreakBeforeTheDataTheyCameWith)
{
    const auto& c = GetParam();
    PortDir dir;
    Pty pty;
    dir.link(kPort, pty.slave());
    auto counters = std::make_shared<FakeCounters>();
    counters->change([](serial_icounter_struct& s) { s.overrun = 3, s.frame = 5, s.brk = 1; });
    TCommX comm;
    comm.setModemLineOps(counters);
    comm.setPortNo(kPort);
    std::vector<std::int32_t> errors;
    int breaks = 0;
    std::string got;
    comm.OnError = [&](TCustomCommX*, std::int32_t flags) { errors.push_back(flags); };
    comm.OnBreak = [&](TCustomCommX*) { ++breaks; };
    comm.OnReceive = [&](TCustomCommX* s, std::int32_t size) {
        std::string buf(static_cast<std::size_t>(size), '\0');
        const auto n = s->ReceiveBlock(buf.data(), size);
        if (n > 0) got.append(buf.data(), static_cast<std::size_t>(n));
    };
    comm.PortOpen();  // counts from before the open are not news

    counters->change(c.happen);
    pty.write("x");
    ASSERT_TRUE(PumpUntil([&] { return got == "x"; }));
    EXPECT_EQ(errors, c.errors);
    EXPECT_EQ(breaks, c.breaks);

    pty.write("y");  // nothing new on the line: no new events
    ASSERT_TRUE(PumpUntil([&] { return got == "xy"; }));
    EXPECT_EQ(errors, c.errors);
    EXPECT_EQ(breaks, c.breaks);
    comm.PortClose();
    EXPECT_TRUE(WorkersEnded());
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, LineEvents,
    ::testing::Values(
        LineEventCase{"overrun", [](serial_icounter_struct& s) { ++s.overrun; }, {kCommErrOverrun}, 0},
        LineEventCase{"buffer_overrun", [](serial_icounter_struct& s) { ++s.buf_overrun; }, {kCommErrOverrun}, 0},
        LineEventCase{"parity", [](serial_icounter_struct& s) { ++s.parity; }, {kCommErrParity}, 0},
        LineEventCase{"framing_and_overrun",
                      [](serial_icounter_struct& s) { ++s.frame, ++s.overrun; },
                      {kCommErrFrame | kCommErrOverrun}, 0},
        LineEventCase{"break", [](serial_icounter_struct& s) { ++s.brk; }, {}, 1},
        LineEventCase{"nothing", [](serial_icounter_struct& s) { ++s.rx; }, {}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- settings while closed and while open -----------------------------------------------

struct SettingCase {
    const char* name;
    std::function<void(TCustomCommX&)> change;
    std::function<bool(const termios&)> changed;  // the device shows the change
};

class Settings : public ::testing::TestWithParam<SettingCase> {};

TEST_P(Settings, ReachTheDeviceAtOnceWhenOpenAndAtTheNextOpenWhenClosed)
{
    const auto& c = GetParam();
    PortDir dir;
    Pty pty;
    dir.link(kPort, pty.slave());
    // A second descriptor on the same terminal shows the device's settings.
    const int probe = ::open(pty.slave().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(probe, 0);
    const auto device = [&] {
        termios t{};
        ::tcgetattr(probe, &t);
        return t;
    };
    TCommX comm;
    comm.setPortNo(kPort);

    c.change(comm);  // closed: nothing reaches the device
    EXPECT_FALSE(c.changed(device()));
    comm.PortOpen();  // the stored value is applied
    EXPECT_TRUE(c.changed(device()));
    comm.PortClose();

    TCommX fresh;
    fresh.setPortNo(kPort);
    fresh.PortOpen();
    EXPECT_FALSE(c.changed(device()));  // the defaults went back on
    c.change(fresh);                    // open: at once
    EXPECT_TRUE(c.changed(device()));
    fresh.PortClose();
    ::close(probe);
    EXPECT_TRUE(WorkersEnded());
}

// Character size and parity are not listed: a pseudo-terminal always keeps 8 bits, no parity.
INSTANTIATE_TEST_SUITE_P(
    Fields, Settings,
    ::testing::Values(
        SettingCase{"bit_rate", [](TCustomCommX& c) { c.setBitRate(115200); },
                    [](const termios& t) { return cfgetospeed(&t) == B115200; }},
        SettingCase{"stop_bits_two", [](TCustomCommX& c) { c.setStopBit(csb2); },
                    [](const termios& t) { return (t.c_cflag & CSTOPB) != 0; }},
        SettingCase{"flow_xon_xoff", [](TCustomCommX& c) { c.setFlowCtrl(cfcXonXoff); },
                    [](const termios& t) {
                        return (t.c_iflag & IXON) && (t.c_iflag & IXOFF) && !(t.c_cflag & CRTSCTS);
                    }},
        SettingCase{"xon_char", [](TCustomCommX& c) { c.setXonChar('A'); },
                    [](const termios& t) { return t.c_cc[VSTART] == 'A'; }}),
    [](const auto& info) { return std::string(info.param.name); });

struct RefusedCase {
    const char* name;
    std::function<void(TCustomCommX&)> change;
    const char* message;
};

class RefusedSettings : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedSettings, RaiseTheirMessageWhenOpenAndFailTheNextOpenWhenClosed)
{
    const auto& c = GetParam();
    PortDir dir;
    Pty pty;
    dir.link(kPort, pty.slave());
    TCommX comm;
    comm.setPortNo(kPort);
    comm.PortOpen();
    try {
        c.change(comm);
        ADD_FAILURE() << "no error while open";
    } catch (const ECommError& e) {
        EXPECT_STREQ(e.what(), c.message);
    }
    EXPECT_TRUE(comm.isOpen());  // a refused setting leaves the port as it was
    EXPECT_TRUE(comm.TransString("ok"));
    EXPECT_EQ(pty.read(2), "ok");
    comm.PortClose();
    try {
        comm.PortOpen();  // the stored value is refused again, and the port closed
        ADD_FAILURE() << "no error at open";
    } catch (const ECommError& e) {
        EXPECT_STREQ(e.what(), c.message);
    }
    EXPECT_FALSE(comm.isOpen());
    EXPECT_TRUE(WorkersEnded());
}

INSTANTIATE_TEST_SUITE_P(
    Fields, RefusedSettings,
    ::testing::Values(
        RefusedCase{"odd_bit_rate", [](TCustomCommX& c) { c.setBitRate(12345); }, "Error at BitRate setting"},
        RefusedCase{"char_size_9", [](TCustomCommX& c) { c.setCharSize(9); }, "Error at CharSize setting"},
        RefusedCase{"stop_one_and_half", [](TCustomCommX& c) { c.setStopBit(csb1p5); },
                    "Error at StopBit setting"},
        RefusedCase{"dtr_dsr_flow", [](TCustomCommX& c) { c.setFlowCtrl(cfcDtrDsr); },
                    "Error at FlowCtrl setting"},
        RefusedCase{"zero_receive_buffer", [](TCustomCommX& c) { c.setBufLenReceive(0); },
                    "Can not create COM buffer"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Defaults, AreThoseOfTheComponent)
{
    TCommX c;
    EXPECT_EQ(c.PortNo(), 1);
    EXPECT_EQ(c.BitRate(), 9600);
    EXPECT_EQ(c.CharSize(), 8);
    EXPECT_EQ(c.ParityBit(), cpbNone);
    EXPECT_EQ(c.StopBit(), csb1);
    EXPECT_EQ(c.FlowCtrl(), cfcRtsCts);
    EXPECT_EQ(c.TimeOutTrans(), 3000);
    EXPECT_EQ(c.TimeOutReceive(), 3000);
    EXPECT_EQ(c.XonChar(), 17);
    EXPECT_EQ(c.XoffChar(), 19);
    EXPECT_EQ(c.BufLenTrans(), 2048);
    EXPECT_EQ(c.BufLenReceive(), 2048);
    EXPECT_EQ(c.Handle(), -1);
    EXPECT_FALSE(c.isOpen());
    EXPECT_FALSE(c.IsCtsSignal());
    EXPECT_EQ(c.GetTransLength(), 0);
}

}  // namespace
