#include "CommX.h"

#include "CommSession.h"
#include "CommWorkers.h"
#include "LineSettings.h"
#include "ModemLines.h"
#include "PortMap.h"

#include <QCoreApplication>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <new>
#include <system_error>
#include <thread>

using namespace kestrel::comm;

namespace {

constexpr const char* kOpenFailed = "Can not open the COM port";
constexpr std::int32_t kMaxChunksInFlight = 32;

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

std::string OsReason(int err) { return std::generic_category().message(err); }

std::string OpenFailureDetail(int err, const std::string& device)
{
    switch (err) {
    case EBUSY:
    case EWOULDBLOCK:
        return device + ": device busy (in use by another program)";
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return device + ": no such device";
    case EACCES:
    case EPERM:
        return device + ": permission denied (add your user to the dialout group: "
                        "sudo usermod -aG dialout $USER, then log in again)";
    default:
        return device + ": " + OsReason(err);
    }
}

// Opens the device of COM<portNo> for exclusive use; throws "Can not open the COM port".
int OpenPortDevice(std::int32_t portNo)
{
    std::optional<std::string> device;
    std::string mapFailure;
    try {
        device = ResolvePort(portNo);
    } catch (const std::exception& e) {
        mapFailure = e.what();
    }
    if (!device)
        throw ECommError(kOpenFailed, !mapFailure.empty()
                                          ? mapFailure
                                          : "COM" + std::to_string(portNo) + ": no such port");
    const int fd = ::open(device->c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) throw ECommError(kOpenFailed, OpenFailureDetail(errno, *device));
    if (!::isatty(fd)) {
        ::close(fd);
        throw ECommError(kOpenFailed, *device + ": not a serial device");
    }
    // flock first: TIOCEXCL on a device someone else holds would lock them out.
    if (::flock(fd, LOCK_EX | LOCK_NB) < 0) {
        const int err = errno;
        ::close(fd);
        throw ECommError(kOpenFailed, OpenFailureDetail(err == EWOULDBLOCK ? EBUSY : err, *device));
    }
    ::ioctl(fd, TIOCEXCL);  // keeps out later opens by other programs; root is not kept out
    return fd;
}

bool IsGoneErrno(int err)
{
    return err == EIO || err == ENXIO || err == ENODEV || err == EBADF;
}

}  // namespace

// The component's hidden message object: lives on the window thread and turns the
// workers' notices into the component's events.
class CommMessageWindow : public QObject {
public:
    explicit CommMessageWindow(TCustomCommX* owner) : owner_(owner) {}

    bool event(QEvent* e) override
    {
        if (e->type() != NoticeEvent::eventType()) return QObject::event(e);
        const auto* n = static_cast<NoticeEvent*>(e);
        owner_->HandleNotice(static_cast<int>(n->kind), n->generation, n->param);
        return true;
    }

private:
    TCustomCommX* owner_;
};

struct TCustomCommX::Impl {
    std::int32_t portNo = 1;
    std::int32_t bitRate = 9600;
    std::int32_t charSize = 8;
    TCommParityBits parity = cpbNone;
    TCommStopBits stopBit = csb1;
    TCommFlowCtrls flowCtrl = cfcRtsCts;
    std::int32_t timeOutTrans = 3000;
    std::int32_t timeOutReceive = 3000;
    char xonChar = 17;
    char xoffChar = 19;
    std::int32_t bufLenTrans = 2048;
    std::int32_t bufLenReceive = 2048;

    // The device's settings: read at open, changed field by field by the setters.
    termios dcb{};
    std::uint32_t flagWord = 0;
    std::uint16_t xonLim = 0;
    std::uint16_t xoffLim = 0;

    std::shared_ptr<LiveSettings> live = std::make_shared<LiveSettings>();
    std::shared_ptr<NoticeBridge> bridge = std::make_shared<NoticeBridge>();
    std::shared_ptr<ModemLineOps> modemOps = DefaultModemLineOps();
    std::unique_ptr<CommMessageWindow> window;

    std::shared_ptr<PortSession> session;  // set while open
    std::shared_ptr<TCommTransThread> transThread;
    std::shared_ptr<TCommReceiveThread> receiveThread;
    std::uint64_t nextGeneration = 1;

    // Writes the changed image to the device; on failure the image goes back to what the
    // device has and the setting's error is raised.
    void writeDcb(const termios& changed, const char* message)
    {
        int err = 0;
        {
            std::shared_lock lock(session->fdLock);
            if (session->fd < 0) return;
            if (::tcsetattr(session->fd, TCSANOW, &changed) < 0) err = errno;
        }
        if (err) throw ECommError(message, OsReason(err));
        dcb = changed;
    }

    void setLine(int bits, bool on)
    {
        if (!session) return;
        std::shared_lock lock(session->fdLock);
        if (session->fd < 0) return;
        // No result to give: a device without modem lines, or a failing one, just keeps
        // its lines.
        session->modem->setLines(session->fd, bits, on);
    }

    bool lineOn(int bit)
    {
        if (!session) return false;
        std::shared_lock lock(session->fdLock);
        if (session->fd < 0) return false;
        int bits = 0;
        return session->modem->lineStatus(session->fd, bits) == 0 && (bits & bit) != 0;
    }

    void purge(int queue)
    {
        std::shared_lock lock(session->fdLock);
        if (session->fd < 0) return;
        std::lock_guard c1(session->critical1);
        ::tcflush(session->fd, queue);
    }
};

TCustomCommX::TCustomCommX(QObject* AOwner) : QObject(AOwner), d(std::make_shared<Impl>())
{
    d->window = std::make_unique<CommMessageWindow>(this);
    d->bridge->attach(d->window.get());
    d->live->flowCtrl = d->flowCtrl;
    d->live->timeOutTrans = d->timeOutTrans;
}

TCustomCommX::~TCustomCommX()
{
    try {
        PortClose();
    } catch (...) {
        // Closing cannot raise; nothing else here may throw out of a destructor.
    }
    d->bridge->detach();
    // Deleting the message object drops its pending notices, which releases any worker
    // still waiting for the window thread.
    d->window.reset();
}

bool TCustomCommX::isOpen() const { return d->session != nullptr; }

int TCustomCommX::Handle() const { return d->session ? d->session->fd : -1; }

void TCustomCommX::setModemLineOps(std::shared_ptr<ModemLineOps> ops)
{
    d->modemOps = ops ? std::move(ops) : DefaultModemLineOps();
}

void TCustomCommX::ChunkQueued(std::int32_t) {}

// ---- open and close --------------------------------------------------------------------

void TCustomCommX::PortOpen()
{
    if (d->session) throw ECommError("Already opened the COM poer");
    const int fd = OpenPortDevice(d->portNo);
    d->session = std::make_shared<PortSession>(fd, d->nextGeneration++, d->modemOps);
    d->transThread.reset();
    d->receiveThread.reset();
    try {
        if (d->bufLenReceive < 1 || d->bufLenTrans < 1)
            throw ECommError("Can not create COM buffer", "buffer lengths must be at least 1 byte");
        d->purge(TCOFLUSH);
        d->purge(TCIFLUSH);
        if (::tcgetattr(fd, &d->dcb) < 0) throw ECommError(kOpenFailed, OsReason(errno));
        MakeRaw(d->dcb);  // goes to the device with the first setting
        // Each setting is written on its own, so that a refusal names the setting.
        setBitRate(d->bitRate);
        setCharSize(d->charSize);
        setParityBit(d->parity);
        setStopBit(d->stopBit);
        setFlowCtrl(d->flowCtrl);
        // Time-outs are kept by the component and used by its own reads and writes.
        setXonChar(d->xonChar);
        setXoffChar(d->xoffChar);
        StartWorkers();
    } catch (...) {
        PortClose();
        throw;
    }
    SleepMs(100);
}

void TCustomCommX::StartWorkers()
{
    try {
        auto trans = std::make_shared<TCommTransThread>(d->session, d->live, d->bridge);
        trans->HalfWaitTim = HalfWaitTime(d->bitRate);
        trans->Start();
        d->transThread = std::move(trans);
    } catch (const std::exception& e) {
        throw ECommError("Can not create TX thread", e.what());
    }
    try {
        auto receive = std::make_shared<TCommReceiveThread>(d->session, d->bridge);
        receive->Start();
        d->receiveThread = std::move(receive);
    } catch (const std::exception& e) {
        throw ECommError("Can not create RX thread", e.what());
    }
}

void TCustomCommX::PortClose()
{
    if (!d->session) return;
    SetDtrSignal(false);
    SetRtsSignal(false);
    ClearTransBuf();
    ClearReceiveBuf();
    SleepMs(100);
    // The workers are told to stop and end by themselves; waiting for them here could
    // wait on a receive worker that is itself waiting for this thread.
    if (d->transThread) d->transThread->Terminate();
    if (d->receiveThread) d->receiveThread->Terminate();
    const auto session = std::move(d->session);
    d->session.reset();
    d->transThread.reset();
    d->receiveThread.reset();
    session->closeDevice();
    SleepMs(200);
}

// ---- settings ---------------------------------------------------------------------------

void TCustomCommX::ApplySetting(bool ok, const char* message)
{
    if (!ok) throw ECommError(message, "value not available on this device");
}

std::int32_t TCustomCommX::PortNo() const { return d->portNo; }
void TCustomCommX::setPortNo(std::int32_t v)
{
    d->portNo = v;
    if (isOpen()) {
        PortClose();
        PortOpen();
    }
}

std::int32_t TCustomCommX::BitRate() const { return d->bitRate; }
void TCustomCommX::setBitRate(std::int32_t v)
{
    d->bitRate = v;
    if (d->transThread) d->transThread->HalfWaitTim = HalfWaitTime(v);
    if (!isOpen()) return;
    termios t = d->dcb;
    ApplySetting(SetBitRate(t, v), "Error at BitRate setting");
    d->writeDcb(t, "Error at BitRate setting");
}

std::int32_t TCustomCommX::CharSize() const { return d->charSize; }
void TCustomCommX::setCharSize(std::int32_t v)
{
    d->charSize = v;
    if (!isOpen()) return;
    termios t = d->dcb;
    ApplySetting(SetCharSize(t, v), "Error at CharSize setting");
    d->writeDcb(t, "Error at CharSize setting");
}

TCommParityBits TCustomCommX::ParityBit() const { return d->parity; }
void TCustomCommX::setParityBit(TCommParityBits v)
{
    d->parity = v;
    if (!isOpen()) return;
    termios t = d->dcb;
    ApplySetting(SetParity(t, v), "Error at ParityBit setting");
    d->writeDcb(t, "Error at ParityBit setting");
}

TCommStopBits TCustomCommX::StopBit() const { return d->stopBit; }
void TCustomCommX::setStopBit(TCommStopBits v)
{
    d->stopBit = v;
    if (!isOpen()) return;
    termios t = d->dcb;
    ApplySetting(SetStopBits(t, v), "Error at StopBit setting");
    d->writeDcb(t, "Error at StopBit setting");
}

TCommFlowCtrls TCustomCommX::FlowCtrl() const { return d->flowCtrl; }
void TCustomCommX::setFlowCtrl(TCommFlowCtrls v)
{
    d->flowCtrl = v;
    d->live->flowCtrl = v;
    if (!isOpen()) return;
    const std::uint32_t word = FlowCtrlFlagWord(v);
    const auto flow = FlowFromFlagWord(word);
    if (!flow) throw ECommError("Error at FlowCtrl setting", "DTR/DSR handshake is not available on Linux");
    termios t = d->dcb;
    SetFlow(t, *flow);
    d->writeDcb(t, "Error at FlowCtrl setting");
    d->flagWord = word;
    d->xonLim = d->xoffLim = XonXoffLimit(d->bufLenReceive);
    d->setLine(TIOCM_DTR, flow->dtrOn);
    if (!flow->crtscts) d->setLine(TIOCM_RTS, flow->rtsOn);
}

std::int32_t TCustomCommX::TimeOutTrans() const { return d->timeOutTrans; }
void TCustomCommX::setTimeOutTrans(std::int32_t v)
{
    d->timeOutTrans = v;
    d->live->timeOutTrans = v;
}

std::int32_t TCustomCommX::TimeOutReceive() const { return d->timeOutReceive; }
void TCustomCommX::setTimeOutReceive(std::int32_t v) { d->timeOutReceive = v; }

char TCustomCommX::XonChar() const { return d->xonChar; }
void TCustomCommX::setXonChar(char v)
{
    d->xonChar = v;
    if (!isOpen()) return;
    termios t = d->dcb;
    SetXonChar(t, v);
    d->writeDcb(t, "Error at XonChar setting");
}

char TCustomCommX::XoffChar() const { return d->xoffChar; }
void TCustomCommX::setXoffChar(char v)
{
    d->xoffChar = v;
    if (!isOpen()) return;
    termios t = d->dcb;
    SetXoffChar(t, v);
    d->writeDcb(t, "Error at XoffChar setting");
}

// Linux has no driver buffer sizes to set; the lengths bound the chunks and the XON/XOFF
// limits.
std::int32_t TCustomCommX::BufLenTrans() const { return d->bufLenTrans; }
void TCustomCommX::setBufLenTrans(std::int32_t v)
{
    d->bufLenTrans = v;
    if (isOpen() && v < 1) throw ECommError("Can not create COM buffer", "buffer length must be at least 1 byte");
}

std::int32_t TCustomCommX::BufLenReceive() const { return d->bufLenReceive; }
void TCustomCommX::setBufLenReceive(std::int32_t v)
{
    d->bufLenReceive = v;
    if (!isOpen()) return;
    if (v < 1) throw ECommError("Can not create COM buffer", "buffer length must be at least 1 byte");
    setFlowCtrl(d->flowCtrl);
}

// ---- transmit -------------------------------------------------------------------------

bool TCustomCommX::TransChar(char c) { return TransBlock(&c, 1); }

bool TCustomCommX::TransString(const std::string& s)
{
    if (s.empty()) return true;
    return TransBlock(s.data(), static_cast<std::int32_t>(s.size()));
}

bool TCustomCommX::TransBlock(const void* Data, std::int32_t BufSize)
{
    if (BufSize == 0) return true;
    if (BufSize < 0 || Data == nullptr) return false;
    const auto* src = static_cast<const std::uint8_t*>(Data);
    std::int32_t remaining = BufSize;
    while (remaining > 0) {
        // Re-read every round: a handler run below may have closed or reopened the port.
        const auto session = d->session;
        const auto trans = d->transThread;
        if (!session || !trans) return false;
        if (d->bufLenTrans < 1) return false;  // no chunk could ever be made
        if (session->transCnt() >= kMaxChunksInFlight) {
            QCoreApplication::processEvents();
            SleepMs(1);
            continue;
        }
        const std::int32_t size = std::min(remaining, d->bufLenTrans);
        std::unique_ptr<std::uint8_t[]> block(new (std::nothrow) std::uint8_t[size]);
        if (!block) return false;  // out of memory: say so rather than drop bytes
        std::memcpy(block.get(), src, static_cast<size_t>(size));
        session->addPending(size);
        trans->PostChunk(std::move(block), size);
        ChunkQueued(size);
        src += size;
        remaining -= size;
    }
    return true;
}

void TCustomCommX::ClearTransBuf()
{
    const auto session = d->session;
    if (!session) return;
    const auto trans = d->transThread;
    if (!trans) {
        d->purge(TCOFLUSH);
        return;
    }
    trans->MsgClearFlg = true;
    trans->DiscardQueued();
    trans->Wake();
    for (;;) {
        d->purge(TCOFLUSH);
        if (session->transBufLen() == 0) break;
        SleepMs(1);
    }
    trans->MsgClearFlg = false;
}

std::int32_t TCustomCommX::GetTransLength() { return d->session ? d->session->transBufLen() : 0; }

// ---- receive ----------------------------------------------------------------------------

std::int32_t TCustomCommX::ReceiveChar()
{
    std::uint8_t b = 0;
    return ReceiveBlock(&b, 1) == 1 ? b : -1;
}

std::int32_t TCustomCommX::ReceiveBlock(void* Buf, std::int32_t MaxSize)
{
    const auto session = d->session;
    if (!session || !d->receiveThread || Buf == nullptr) return -1;
    if (MaxSize <= 0) return 0;
    using Clock = std::chrono::steady_clock;
    const std::int32_t timeout = d->timeOutReceive;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeout > 0 ? timeout : 0);
    auto* out = static_cast<std::uint8_t*>(Buf);
    std::int32_t got = 0;
    for (;;) {
        ssize_t n = 0;
        int err = 0;
        {
            std::shared_lock lock(session->fdLock);
            if (session->fd < 0) return -1;
            n = ::read(session->fd, out + got, static_cast<size_t>(MaxSize - got));
            err = errno;
        }
        if (n > 0) {
            got += static_cast<std::int32_t>(n);
            session->bytesRead += static_cast<std::uint64_t>(n);
            if (got >= MaxSize) return got;
            continue;
        }
        if (n < 0 && err == EINTR) continue;
        if (n < 0 && (err == EAGAIN || err == EWOULDBLOCK)) {
            // The read time-out ends the read with what it has, as a device would.
            if (timeout > 0 && Clock::now() >= deadline) return got;
            QCoreApplication::processEvents();
            if (d->session != session) return -1;  // closed (or reopened) meanwhile
            {
                std::shared_lock lock(session->fdLock);
                if (session->fd < 0) return -1;
                pollfd p{session->fd, POLLIN, 0};
                ::poll(&p, 1, 1);
            }
            if (d->session != session) return -1;
            continue;
        }
        // End of file (hung-up tty) or a failure: give up now rather than poll a dead
        // device for ever.
        const auto errs = session->takeLineErrors();
        if (errs.flags) HandleNotice(static_cast<int>(Notice::LineError), session->generation, errs.flags);
        if (n == 0 || IsGoneErrno(err)) {
            session->gone = true;
            if (session->claimGoneReport())
                HandleNotice(static_cast<int>(Notice::LineError), session->generation, kCommErrIo);
        }
        return got > 0 ? got : -1;
    }
}

void TCustomCommX::ClearReceiveBuf()
{
    if (d->session) d->purge(TCIFLUSH);
}

std::int32_t TCustomCommX::GetReceiveLength()
{
    if (!d->session) return 0;
    return std::max(0, d->session->inputLength());
}

// ---- modem lines ------------------------------------------------------------------------

void TCustomCommX::SetRtsSignal(bool Signal) { d->setLine(TIOCM_RTS, Signal); }
void TCustomCommX::SetDtrSignal(bool Signal) { d->setLine(TIOCM_DTR, Signal); }
bool TCustomCommX::IsCtsSignal() { return d->lineOn(TIOCM_CTS); }
bool TCustomCommX::IsDsrSignal() { return d->lineOn(TIOCM_DSR); }
bool TCustomCommX::IsRingSignal() { return d->lineOn(TIOCM_RNG); }
bool TCustomCommX::IsRlsdSignal() { return d->lineOn(TIOCM_CAR); }

void TCustomCommX::SendBreak()
{
    const auto session = d->session;
    if (!session) return;
    const auto setBreak = [&](bool on) {
        std::shared_lock lock(session->fdLock);
        if (session->fd >= 0) session->modem->setBreak(session->fd, on);
    };
    setBreak(true);
    SleepMs(300);
    setBreak(false);
}

// ---- notices from the workers ----------------------------------------------------------

void TCustomCommX::HandleNotice(int Kind, std::uint64_t Generation, std::int32_t Param)
{
    // A notice of an earlier opening, delivered after a close, is dropped.
    if (!d->session || d->session->generation != Generation) return;
    switch (static_cast<Notice>(Kind)) {
    case Notice::Received:
        if (OnReceive) {
            const std::int32_t count = GetReceiveLength();
            if (count != 0) OnReceive(this, count);
        }
        break;
    case Notice::Break:
        if (OnBreak) OnBreak(this);
        break;
    case Notice::LineError:
        if (OnError) OnError(this, Param);
        break;
    }
}
