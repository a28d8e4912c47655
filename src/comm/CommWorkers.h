// The transmit and receive workers of an open port. Each runs on its own thread, holds
// shared ownership of everything it touches and ends by itself once told to stop; nobody
// waits for it.
#pragma once

#include "CommSession.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>

namespace kestrel::comm {

// Wake-up descriptor (eventfd) that a worker polls beside the port.
class WakeFd {
public:
    WakeFd();  // throws std::system_error
    ~WakeFd();
    WakeFd(const WakeFd&) = delete;
    WakeFd& operator=(const WakeFd&) = delete;
    int fd() const { return fd_; }
    void signal();
    void drain();

private:
    int fd_;
};

class TCommTransThread : public std::enable_shared_from_this<TCommTransThread> {
public:
    TCommTransThread(std::shared_ptr<PortSession> session, std::shared_ptr<LiveSettings> live,
                     std::shared_ptr<NoticeBridge> bridge);

    void Start();  // throws std::system_error when no thread can be made

    // The chunk message: write these bytes, then free them.
    void PostChunk(std::unique_ptr<std::uint8_t[]> block, std::int32_t size);
    // The stop message: mark terminated and wake the worker.
    void Terminate();
    // Frees every chunk still queued without writing it (used while clearing).
    void DiscardQueued();
    // Interrupts a write that waits for room in the driver.
    void Wake() { wake_.signal(); }

    std::atomic<bool> MsgClearFlg{false};
    std::atomic<std::int32_t> HalfWaitTim{0};
    std::atomic<bool> Terminated{false};

private:
    struct Chunk {
        std::unique_ptr<std::uint8_t[]> block;
        std::int32_t size = 0;
    };
    void Execute();
    bool TakeChunk(Chunk& out);
    void WriteChunk(const Chunk& chunk);
    void BeginBurst();
    void EndBurst();
    void SetRts(bool on);
    void ReportError(std::int32_t flags);
    void ReportLineErrors();
    void ReportGone();
    bool Stopping() const { return MsgClearFlg.load() || Terminated.load(); }

    const std::shared_ptr<PortSession> session_;
    const std::shared_ptr<LiveSettings> live_;
    const std::shared_ptr<NoticeBridge> bridge_;
    WakeFd wake_;
    std::mutex queueMu_;
    std::condition_variable queueCv_;
    std::deque<Chunk> queue_;
};

class TCommReceiveThread : public std::enable_shared_from_this<TCommReceiveThread> {
public:
    TCommReceiveThread(std::shared_ptr<PortSession> session, std::shared_ptr<NoticeBridge> bridge);

    void Start();  // throws std::system_error
    // Marks terminated and signals the exit descriptor.
    void Terminate();

    std::atomic<bool> Terminated{false};

private:
    enum class Mode { Watch, Leftover, Quiet, Gone };
    void Execute();
    void ReportGone();

    const std::shared_ptr<PortSession> session_;
    const std::shared_ptr<NoticeBridge> bridge_;
    WakeFd exit_;
};

}  // namespace kestrel::comm

namespace kestrel::comm {
// Workers whose thread has not ended yet (all components together).
int LiveWorkerCount();
}  // namespace kestrel::comm
