#include "CommWorkers.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <system_error>
#include <thread>

namespace kestrel::comm {

namespace {

std::atomic<int> g_liveWorkers{0};

// How long a worker sleeps between checks when the port cannot wake it (unread input
// left behind by the handler, or a readable port with nothing to read).
constexpr int kIdlePollMs = 20;
constexpr std::int32_t kEventBreak = 0x40;

template <class Worker>
void StartDetached(const std::shared_ptr<Worker>& self, void (Worker::*body)())
{
    // Counted before the thread exists, so that nobody sees a running worker uncounted.
    ++g_liveWorkers;
    try {
        std::thread([self, body] {
            struct Ended {
                ~Ended() { --g_liveWorkers; }
            } ended;
            ((*self).*body)();
        }).detach();
    } catch (...) {
        --g_liveWorkers;
        throw;
    }
}

}  // namespace

int LiveWorkerCount() { return g_liveWorkers.load(); }

WakeFd::WakeFd() : fd_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC))
{
    if (fd_ < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
}

WakeFd::~WakeFd() { ::close(fd_); }

void WakeFd::signal()
{
    const std::uint64_t one = 1;
    // Fails only when the counter is saturated, and then the worker is awake anyway.
    [[maybe_unused]] auto n = ::write(fd_, &one, sizeof one);
}

void WakeFd::drain()
{
    std::uint64_t value = 0;
    [[maybe_unused]] auto n = ::read(fd_, &value, sizeof value);
}

// ---- transmit worker ------------------------------------------------------------------

TCommTransThread::TCommTransThread(std::shared_ptr<PortSession> session,
                                   std::shared_ptr<LiveSettings> live,
                                   std::shared_ptr<NoticeBridge> bridge)
    : session_(std::move(session)), live_(std::move(live)), bridge_(std::move(bridge))
{
}

void TCommTransThread::Start() { StartDetached(shared_from_this(), &TCommTransThread::Execute); }

void TCommTransThread::PostChunk(std::unique_ptr<std::uint8_t[]> block, std::int32_t size)
{
    {
        std::lock_guard lock(queueMu_);
        queue_.push_back(Chunk{std::move(block), size});
    }
    queueCv_.notify_one();
}

void TCommTransThread::Terminate()
{
    {
        std::lock_guard lock(queueMu_);
        Terminated = true;
    }
    queueCv_.notify_one();
    wake_.signal();
}

void TCommTransThread::DiscardQueued()
{
    std::deque<Chunk> dropped;
    {
        std::lock_guard lock(queueMu_);
        dropped.swap(queue_);
    }
    for (const auto& c : dropped) session_->finishChunk(c.size);
}

bool TCommTransThread::TakeChunk(Chunk& out)
{
    std::lock_guard lock(queueMu_);
    if (queue_.empty()) return false;
    out = std::move(queue_.front());
    queue_.pop_front();
    return true;
}

void TCommTransThread::Execute()
{
    for (;;) {
        {
            std::unique_lock lock(queueMu_);
            queueCv_.wait(lock, [this] { return !queue_.empty() || Terminated.load(); });
        }
        // A burst is every chunk taken between two waits for the queue.
        bool burst = false;
        Chunk chunk;
        while (TakeChunk(chunk)) {
            if (!Stopping() && !session_->gone.load()) {
                if (!burst) {
                    burst = true;
                    BeginBurst();
                }
                WriteChunk(chunk);
            }
            chunk.block.reset();
            session_->finishChunk(chunk.size);
        }
        if (burst) EndBurst();
        if (Terminated) break;
    }
    DiscardQueued();
}

void TCommTransThread::WriteChunk(const Chunk& chunk)
{
    using Clock = std::chrono::steady_clock;
    const std::int32_t timeout = live_->timeOutTrans.load();
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeout > 0 ? timeout : 0);
    std::int32_t done = 0;
    while (done < chunk.size && !Stopping()) {
        std::shared_lock lock(session_->fdLock);
        const int fd = session_->fd;
        if (fd < 0) return;
        ssize_t n = 0;
        int err = 0;
        {
            std::lock_guard c1(session_->critical1);
            n = ::write(fd, chunk.block.get() + done, static_cast<size_t>(chunk.size - done));
            err = errno;
        }
        if (n > 0) {
            done += static_cast<std::int32_t>(n);
            continue;
        }
        if (n < 0 && err == EINTR) continue;
        if (n < 0 && (err == EAGAIN || err == EWOULDBLOCK)) {
            int waitMs = -1;
            if (timeout > 0) {
                const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
                if (left.count() <= 0) {
                    lock.unlock();
                    // The driver took nothing for the whole write time-out: the rest of
                    // this chunk is dropped, and the caller learns it.
                    ReportError(kCommErrTransTimeout);
                    return;
                }
                waitMs = static_cast<int>(left.count()) + 1;
            }
            pollfd p[2] = {{fd, POLLOUT, 0}, {wake_.fd(), POLLIN, 0}};
            const int r = ::poll(p, 2, waitMs);
            if (r > 0 && (p[1].revents & POLLIN)) wake_.drain();
            if (r > 0 && (p[0].revents & (POLLERR | POLLHUP | POLLNVAL))) {
                lock.unlock();
                ReportGone();
                return;
            }
            continue;
        }
        lock.unlock();
        ReportLineErrors();
        // Any other failure means the device takes no more data (EIO once it is gone);
        // it is reported once, not for every chunk that follows.
        ReportGone();
        return;
    }
}

void TCommTransThread::SetRts(bool on)
{
    std::shared_lock lock(session_->fdLock);
    if (session_->fd < 0) return;
    // A device without modem lines simply has no RTS to switch.
    session_->modem->setLines(session_->fd, TIOCM_RTS, on);
}

void TCommTransThread::BeginBurst()
{
    const auto flow = live_->flowCtrl.load();
    if (flow != cfcHalfHigh && flow != cfcHalfLow) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    SetRts(flow == cfcHalfHigh);
    std::this_thread::sleep_for(std::chrono::milliseconds(HalfWaitTim.load()));
}

void TCommTransThread::EndBurst()
{
    const auto flow = live_->flowCtrl.load();
    if (flow != cfcHalfHigh && flow != cfcHalfLow) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(HalfWaitTim.load()));
    SetRts(flow != cfcHalfHigh);
}

// Reports go out without waiting: ClearTransBuf waits for this worker on the window
// thread, so a synchronous report could wait on it in turn.
void TCommTransThread::ReportError(std::int32_t flags)
{
    bridge_->post(Notice::LineError, session_->generation, flags);
}

void TCommTransThread::ReportLineErrors()
{
    const auto errs = session_->takeLineErrors();
    if (errs.flags) ReportError(errs.flags);
}

void TCommTransThread::ReportGone()
{
    session_->gone = true;
    if (session_->claimGoneReport()) ReportError(kCommErrIo);
}

// ---- receive worker -------------------------------------------------------------------

TCommReceiveThread::TCommReceiveThread(std::shared_ptr<PortSession> session,
                                       std::shared_ptr<NoticeBridge> bridge)
    : session_(std::move(session)), bridge_(std::move(bridge))
{
}

void TCommReceiveThread::Start() { StartDetached(shared_from_this(), &TCommReceiveThread::Execute); }

void TCommReceiveThread::Terminate()
{
    Terminated = true;
    exit_.signal();
}

void TCommReceiveThread::ReportGone()
{
    session_->gone = true;
    if (session_->claimGoneReport())
        bridge_->send(Notice::LineError, session_->generation, kCommErrIo);
}

void TCommReceiveThread::Execute()
{
    const auto gen = session_->generation;
    Mode mode = Mode::Watch;
    std::int32_t leftover = 0;
    std::uint64_t readMark = 0;
    while (!Terminated) {
        short revents = 0;
        {
            std::shared_lock lock(session_->fdLock);
            if (session_->fd < 0) break;
            const bool watch = mode == Mode::Watch;
            const int timeout = (mode == Mode::Leftover || mode == Mode::Quiet) ? kIdlePollMs : -1;
            pollfd p[2] = {{exit_.fd(), POLLIN, 0}, {session_->fd, POLLIN, 0}};
            const int r = ::poll(p, watch ? 2 : 1, timeout);
            if (r < 0 && errno != EINTR) break;  // cannot wait any more; PortClose still works
            revents = watch ? p[1].revents : 0;
        }
        exit_.drain();
        if (Terminated) break;

        const auto errs = session_->takeLineErrors();
        if (errs.flags) bridge_->send(Notice::LineError, gen, errs.flags);
        if (errs.brk) bridge_->send(Notice::Break, gen, kEventBreak);
        if (mode == Mode::Gone || Terminated) continue;

        const std::int32_t avail = session_->inputLength();
        bool notify = false;
        switch (mode) {
        case Mode::Watch: notify = (revents & (POLLIN | POLLHUP)) && avail > 0; break;
        case Mode::Leftover:
            // Like a received-character event: the bytes a handler left unread do not
            // count again, new ones do; a read outside a notice resumes watching.
            notify = avail > leftover;
            if (avail <= 0 || session_->bytesRead.load() != readMark) mode = Mode::Watch;
            break;
        case Mode::Quiet: mode = Mode::Watch; break;
        case Mode::Gone: break;
        }
        if (notify) {
            const std::uint64_t before = session_->bytesRead.load();
            bridge_->send(Notice::Received, gen, 0);
            if (Terminated) break;
            readMark = session_->bytesRead.load();
            const std::int32_t rest = session_->inputLength();
            // Only a handler that read nothing makes the worker wait for new bytes;
            // otherwise what is left (or arrived meanwhile) is announced at once.
            mode = (rest > 0 && readMark == before) ? Mode::Leftover : Mode::Watch;
            leftover = rest;
            if (rest >= 0 && !(revents & (POLLHUP | POLLERR | POLLNVAL))) continue;
        }
        const bool failedAfterNotice = notify && leftover < 0;
        if (avail < 0 || failedAfterNotice || (revents & (POLLHUP | POLLERR | POLLNVAL))) {
            mode = Mode::Gone;  // nothing more to read: sleep until the port is closed
            ReportGone();
        } else if (mode == Mode::Watch && (revents & POLLIN) && avail == 0) {
            mode = Mode::Quiet;  // readable yet empty: do not spin on it
        }
    }
}

}  // namespace kestrel::comm
