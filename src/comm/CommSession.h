// State of one open port, shared by the component and its two workers, and the notices
// the workers hand to the window thread.
#pragma once

#include "CommX.h"
#include "ModemLines.h"

#include <QEvent>
#include <QObject>

#include <linux/serial.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <shared_mutex>

namespace kestrel::comm {

// Settings the workers read while the window thread may change them.
struct LiveSettings {
    std::atomic<TCommFlowCtrls> flowCtrl{cfcRtsCts};
    std::atomic<std::int32_t> timeOutTrans{3000};
};

struct LineErrorReport {
    std::int32_t flags = 0;  // overrun 0x2, parity 0x4, framing 0x8
    bool brk = false;
};

// The descriptor is used only under a shared lock of fdLock and closed under the exclusive
// lock, so no worker can ever use a closed (and possibly reused) descriptor number.
class PortSession {
public:
    PortSession(int fd, std::uint64_t generation, std::shared_ptr<ModemLineOps> modem);
    ~PortSession();
    PortSession(const PortSession&) = delete;
    PortSession& operator=(const PortSession&) = delete;

    const std::uint64_t generation;
    const std::shared_ptr<ModemLineOps> modem;

    std::shared_mutex fdLock;
    int fd;  // guarded by fdLock; -1 once closed

    // Releases exclusive use and closes the descriptor; waits only for a worker's current
    // system call, which its wake-up descriptor interrupts.
    void closeDevice();

    std::mutex critical1;  // a write against an output purge

    void addPending(std::int32_t bytes);
    void finishChunk(std::int32_t bytes);
    std::int32_t transBufLen();
    std::int32_t transCnt();

    // Bytes in the driver's input queue; 0 when closed, -1 when the device fails.
    std::int32_t inputLength();

    // Line-error and break counters since the last call (TIOCGICOUNT where the driver has it).
    LineErrorReport takeLineErrors();

    // Bytes taken from the device by ReceiveBlock; tells the receive worker whether a
    // handler read anything.
    std::atomic<std::uint64_t> bytesRead{0};

    std::atomic<bool> gone{false};
    // True for exactly one caller: the one that reports the vanished device.
    bool claimGoneReport() { return !goneReported_.exchange(true); }

private:
    std::mutex critical2_;
    std::int32_t transBufLen_ = 0;
    std::int32_t transCnt_ = 0;

    std::mutex errMu_;
    bool haveBase_ = false;
    serial_icounter_struct base_{};
    std::atomic<bool> haveICount_{true};
    std::atomic<bool> goneReported_{false};
};

enum class Notice : int { Received = 0x500, Break = 0x501, LineError = 0x502 };

// Completion of one synchronous hand-over; finished when the window thread has handled the
// notice or dropped it (target destroyed, application gone).
class Handover {
public:
    void finish();
    void wait();

private:
    std::mutex mu_;
    std::condition_variable cv_;
    bool done_ = false;
};

class NoticeEvent : public QEvent {
public:
    NoticeEvent(Notice kind, std::uint64_t generation, std::int32_t param,
                std::shared_ptr<Handover> handover);
    ~NoticeEvent() override;
    static QEvent::Type eventType();

    const Notice kind;
    const std::uint64_t generation;
    const std::int32_t param;

private:
    std::shared_ptr<Handover> handover_;
};

// Route from the workers to the component's message object on the window thread. Posting
// happens under a lock that the component takes to detach, so a worker never posts to a
// destroyed object; waiting happens outside it, so detaching never waits for a worker.
class NoticeBridge {
public:
    void attach(QObject* target);
    void detach();
    // Waits until the window thread has handled the notice (like a sent message).
    void send(Notice kind, std::uint64_t generation, std::int32_t param);
    // Returns at once.
    void post(Notice kind, std::uint64_t generation, std::int32_t param);

private:
    std::mutex mu_;
    QObject* target_ = nullptr;
};

}  // namespace kestrel::comm
