// The serial component on pseudo-terminal pairs: transmit order and chunking, receive
// delivery, open/close errors and the fixed messages.
#include "CommWorkers.h"
#include "SerialFixture.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <memory>
#include <thread>

using namespace commtest;

namespace {

constexpr int kPort = 42;

class CommTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        comm.PortClose();
        EXPECT_FALSE(comm.isOpen());
        // Every worker of this test ends by itself after the close.
        EXPECT_TRUE(PumpUntil([] { return kestrel::comm::LiveWorkerCount() == 0; }))
            << kestrel::comm::LiveWorkerCount() << " workers still running";
    }

    void open()
    {
        dir.link(kPort, pty.slave());
        comm.setPortNo(kPort);
        comm.PortOpen();
    }

    PortDir dir;
    Pty pty;
    RecordingCommX comm;
};

// ---- transmit ---------------------------------------------------------------------------

struct ChunkCase {
    const char* name;
    std::int32_t bufLenTrans;
    std::size_t size;
    std::vector<std::int32_t> chunks;  // empty: only the sum and the bound are checked
};

class TransmitChunks : public CommTest, public ::testing::WithParamInterface<ChunkCase> {};

TEST_P(TransmitChunks, BytesLeaveInQueuedOrderInChunksOfAtMostBufLenTrans)
{
    const auto& c = GetParam();
    comm.setBufLenTrans(c.bufLenTrans);
    open();
    FarEndReader reader(pty.master());
    const std::string data = Pattern(c.size);
    ASSERT_TRUE(comm.TransBlock(data.data(), static_cast<std::int32_t>(data.size())));
    ASSERT_TRUE(PumpUntil([&] { return reader.size() >= data.size(); }));
    EXPECT_TRUE(PumpUntil([&] { return comm.GetTransLength() == 0; }));
    const std::string got = reader.take();
    EXPECT_EQ(got.size(), data.size());
    EXPECT_TRUE(got == data) << "bytes arrived out of order or changed";
    if (!c.chunks.empty()) {
        EXPECT_EQ(comm.chunks, c.chunks);
    }
    std::size_t sum = 0;
    for (auto s : comm.chunks) {
        EXPECT_LE(s, c.bufLenTrans);
        sum += static_cast<std::size_t>(s);
    }
    EXPECT_EQ(sum, data.size());
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, TransmitChunks,
    ::testing::Values(ChunkCase{"one_byte", 2048, 1, {1}},
                      ChunkCase{"exactly_one_chunk", 2048, 2048, {2048}},
                      ChunkCase{"default_5000", 2048, 5000, {2048, 2048, 904}},
                      ChunkCase{"one_over", 2048, 2049, {2048, 1}},
                      // 900 chunks: TransBlock must wait while 32 are in flight.
                      ChunkCase{"many_small_chunks", 100, 90000, {}}),
    [](const auto& info) { return std::string(info.param.name); });

struct TransResultCase {
    const char* name;
    bool open;
    std::string text;
    bool useString;
    bool expected;
};

class TransResults : public CommTest, public ::testing::WithParamInterface<TransResultCase> {};

TEST_P(TransResults, ReturnValueAndNothingSentForEmpty)
{
    const auto& c = GetParam();
    if (c.open) open();
    const bool ok = c.useString ? comm.TransString(c.text)
                                : comm.TransBlock(c.text.data(), static_cast<std::int32_t>(c.text.size()));
    EXPECT_EQ(ok, c.expected);
    if (c.text.empty()) {
        EXPECT_TRUE(comm.chunks.empty());
    }
    if (c.open) {
        comm.TransString("#");  // a marker: everything before it was sent by the case
        EXPECT_EQ(pty.read(c.text.size() + 1), c.text + "#");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TransResults,
    ::testing::Values(TransResultCase{"empty_string_open", true, "", true, true},
                      TransResultCase{"empty_block_open", true, "", false, true},
                      TransResultCase{"empty_string_closed", false, "", true, true},
                      TransResultCase{"empty_block_closed", false, "", false, true},
                      TransResultCase{"block_closed", false, "AZ\r\n", false, false},
                      TransResultCase{"string_closed", false, "AZ\r\n", true, false},
                      TransResultCase{"string_open", true, "AZ\r\n", true, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommTest, ClearTransBufDuringLongSendDropsTheRestAndKeepsThePortUsable)
{
    comm.setBufLenTrans(16384);
    open();
    // The far end reads nothing, so most of this stays queued.
    const std::string data = Pattern(300 * 1024);
    ASSERT_TRUE(comm.TransBlock(data.data(), static_cast<std::int32_t>(data.size())));
    EXPECT_GT(comm.GetTransLength(), 0);
    comm.ClearTransBuf();
    EXPECT_EQ(comm.GetTransLength(), 0);

    ASSERT_TRUE(comm.TransString("END"));
    std::string got;
    ASSERT_TRUE(PumpUntil([&] {
        got += pty.readQuiet(5);
        return got.size() >= 3 && got.compare(got.size() - 3, 3, "END") == 0;
    }));
    const std::string before = got.substr(0, got.size() - 3);
    EXPECT_LT(before.size(), data.size());
    EXPECT_TRUE(data.compare(0, before.size(), before) == 0) << "sent bytes out of order";
    EXPECT_TRUE(PumpUntil([&] { return comm.GetTransLength() == 0; }));
}

// ---- receive ----------------------------------------------------------------------------

TEST_F(CommTest, ReceivedBytesReachOnReceiveOnTheWindowThreadInOrderAndComplete)
{
    std::string got;
    bool offThread = false;
    bool shortRead = false;
    const auto windowThread = std::this_thread::get_id();
    comm.OnReceive = [&](TCustomCommX* sender, std::int32_t size) {
        offThread |= std::this_thread::get_id() != windowThread;
        EXPECT_EQ(sender, &comm);
        std::string buf(static_cast<std::size_t>(size), '\0');
        const std::int32_t n = sender->ReceiveBlock(buf.data(), size);
        shortRead |= n != size;
        if (n > 0) got.append(buf.data(), static_cast<std::size_t>(n));
    };
    open();
    const std::string data = Pattern(200000, 3);
    std::thread writer([&] {
        for (std::size_t at = 0; at < data.size(); at += 777)
            pty.write(data.substr(at, 777));
    });
    const bool all = PumpUntil([&] { return got.size() >= data.size(); });
    writer.join();
    ASSERT_TRUE(all) << got.size() << " of " << data.size();
    EXPECT_TRUE(got == data);
    EXPECT_FALSE(offThread);
    EXPECT_FALSE(shortRead);
}

TEST_F(CommTest, BytesAHandlerLeavesUnreadAreNotAnnouncedAgainButNewBytesAre)
{
    int notices = 0;
    std::int32_t lastSize = 0;
    bool readNow = false;
    std::string got;
    comm.OnReceive = [&](TCustomCommX* s, std::int32_t size) {
        ++notices;
        lastSize = size;
        if (!readNow) return;  // leaves the bytes in the driver
        std::string buf(static_cast<std::size_t>(size), '\0');
        const auto n = s->ReceiveBlock(buf.data(), size);
        if (n > 0) got.append(buf.data(), static_cast<std::size_t>(n));
    };
    open();
    pty.write("a");
    ASSERT_TRUE(PumpUntil([&] { return notices == 1; }));
    PumpFor(200);  // a worker that kept announcing the unread byte would notify again here
    EXPECT_EQ(notices, 1);
    readNow = true;
    pty.write("b");
    ASSERT_TRUE(PumpUntil([&] { return got == "ab"; })) << got;
    EXPECT_EQ(notices, 2);
    EXPECT_EQ(lastSize, 2);
}

TEST_F(CommTest, AHandlerReadingPartOfTheBytesIsCalledAgainForTheRest)
{
    std::string got;
    comm.OnReceive = [&](TCustomCommX* s, std::int32_t) {
        const auto c = s->ReceiveChar();
        if (c >= 0) got.push_back(static_cast<char>(c));
    };
    open();
    pty.write("abc");
    EXPECT_TRUE(PumpUntil([&] { return got == "abc"; })) << got;
}

TEST_F(CommTest, ReceiveOnClosedPortAndReceiveCharReadOneByte)
{
    char buf[4];
    EXPECT_EQ(comm.ReceiveBlock(buf, 4), -1);
    EXPECT_EQ(comm.ReceiveChar(), -1);
    open();
    EXPECT_EQ(comm.ReceiveBlock(nullptr, 4), -1);
    pty.write(std::string("\xF0", 1));
    ASSERT_TRUE(PumpUntil([&] { return comm.GetReceiveLength() == 1; }));
    EXPECT_EQ(comm.ReceiveChar(), 0xF0);
    EXPECT_EQ(comm.GetReceiveLength(), 0);
}

// ---- open and close ---------------------------------------------------------------------

TEST_F(CommTest, OpenTwiceRaisesAndLeavesThePortOpen)
{
    open();
    const int handle = comm.Handle();
    try {
        comm.PortOpen();
        FAIL() << "second PortOpen did not raise";
    } catch (const ECommError& e) {
        EXPECT_STREQ(e.what(), "Already opened the COM poer");
    }
    EXPECT_TRUE(comm.isOpen());
    EXPECT_EQ(comm.Handle(), handle);
    ASSERT_TRUE(comm.TransString("ok"));
    EXPECT_EQ(pty.read(2), "ok");
}

struct OpenFailureCase {
    const char* name;
    std::function<void(PortDir&, Pty&)> prepare;  // makes COM<kPort> unusable
    const char* detailPart;
};

class OpenFailures : public CommTest, public ::testing::WithParamInterface<OpenFailureCase> {};

TEST_P(OpenFailures, RaiseCanNotOpenWithReasonAndStayClosed)
{
    const auto& c = GetParam();
    c.prepare(dir, pty);
    comm.setPortNo(kPort);
    try {
        comm.PortOpen();
        FAIL() << "PortOpen did not raise";
    } catch (const ECommError& e) {
        EXPECT_STREQ(e.what(), "Can not open the COM port");
        EXPECT_NE(e.detail().find(c.detailPart), std::string::npos) << e.detail();
    }
    EXPECT_FALSE(comm.isOpen());
    EXPECT_EQ(comm.Handle(), -1);
    EXPECT_FALSE(comm.TransString("x"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OpenFailures,
    ::testing::Values(
        OpenFailureCase{"no_such_port", [](PortDir&, Pty&) {}, "no such port"},
        OpenFailureCase{"not_a_serial_device",
                        [](PortDir& d, Pty&) { d.link(kPort, "/dev/null"); }, "not a serial device"},
        OpenFailureCase{"busy",
                        [](PortDir& d, Pty& p) {
                            d.link(kPort, p.slave());
                            // Another program holds the device.
                            static int holder = -1;
                            if (holder >= 0) ::close(holder);
                            holder = ::open(p.slave().c_str(), O_RDWR | O_NOCTTY);
                            ::flock(holder, LOCK_EX | LOCK_NB);
                        },
                        "busy"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommTest, SecondComponentOnTheSameDeviceIsRefused)
{
    open();
    TCommX other;
    other.setPortNo(kPort);
    try {
        other.PortOpen();
        FAIL() << "second component opened a busy device";
    } catch (const ECommError& e) {
        EXPECT_STREQ(e.what(), "Can not open the COM port");
        EXPECT_NE(e.detail().find("busy"), std::string::npos) << e.detail();
    }
    EXPECT_FALSE(other.isOpen());
    // After the first closes, the device is free again.
    comm.PortClose();
    EXPECT_NO_THROW(other.PortOpen());
    EXPECT_TRUE(other.isOpen());
    other.PortClose();
}

TEST_F(CommTest, PortCloseOnClosedComponentDoesNothingAndCloseThenReopenWorks)
{
    comm.PortClose();
    EXPECT_FALSE(comm.isOpen());
    open();
    comm.PortClose();
    EXPECT_FALSE(comm.isOpen());
    EXPECT_EQ(comm.GetTransLength(), 0);
    EXPECT_EQ(comm.GetReceiveLength(), 0);
    comm.PortOpen();
    ASSERT_TRUE(comm.TransString("again"));
    EXPECT_EQ(pty.read(5), "again");
}

}  // namespace
