#include "CommSession.h"

#include <QCoreApplication>

#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>

namespace kestrel::comm {

PortSession::PortSession(int fd_, std::uint64_t generation_, std::shared_ptr<ModemLineOps> modem_)
    : generation(generation_), modem(std::move(modem_)), fd(fd_)
{
    takeLineErrors();  // counters start from the state at open
}

PortSession::~PortSession() { closeDevice(); }

void PortSession::closeDevice()
{
    std::unique_lock lock(fdLock);
    if (fd < 0) return;
    ::ioctl(fd, TIOCNXCL);  // the flag would outlive us on a pty whose master stays open
    ::flock(fd, LOCK_UN);
    ::close(fd);
    fd = -1;
}

void PortSession::addPending(std::int32_t bytes)
{
    std::lock_guard lock(critical2_);
    transBufLen_ += bytes;
    transCnt_ += 1;
}

void PortSession::finishChunk(std::int32_t bytes)
{
    std::lock_guard lock(critical2_);
    transBufLen_ = transBufLen_ > bytes ? transBufLen_ - bytes : 0;
    transCnt_ = transCnt_ > 0 ? transCnt_ - 1 : 0;
}

std::int32_t PortSession::transBufLen()
{
    std::lock_guard lock(critical2_);
    return transBufLen_;
}

std::int32_t PortSession::transCnt()
{
    std::lock_guard lock(critical2_);
    return transCnt_;
}

std::int32_t PortSession::inputLength()
{
    std::shared_lock lock(fdLock);
    if (fd < 0) return 0;
    int n = 0;
    if (::ioctl(fd, FIONREAD, &n) < 0) return -1;
    return n;
}

LineErrorReport PortSession::takeLineErrors()
{
    if (!haveICount_.load()) return {};
    serial_icounter_struct now{};
    {
        std::shared_lock lock(fdLock);
        if (fd < 0) return {};
        if (const int err = modem->lineCounters(fd, now)) {
            // Pseudo-terminals and some drivers keep no counters: stop asking.
            if (err == ENOTTY || err == EINVAL) haveICount_ = false;
            return {};
        }
    }
    std::lock_guard lock(errMu_);
    LineErrorReport r;
    if (haveBase_) {
        if (now.overrun != base_.overrun || now.buf_overrun != base_.buf_overrun) r.flags |= kCommErrOverrun;
        if (now.parity != base_.parity) r.flags |= kCommErrParity;
        if (now.frame != base_.frame) r.flags |= kCommErrFrame;
        r.brk = now.brk != base_.brk;
    }
    base_ = now;
    haveBase_ = true;
    return r;
}

void Handover::finish()
{
    {
        std::lock_guard lock(mu_);
        done_ = true;
    }
    cv_.notify_all();
}

void Handover::wait()
{
    std::unique_lock lock(mu_);
    cv_.wait(lock, [this] { return done_; });
}

NoticeEvent::NoticeEvent(Notice kind_, std::uint64_t generation_, std::int32_t param_,
                         std::shared_ptr<Handover> handover)
    : QEvent(eventType()), kind(kind_), generation(generation_), param(param_),
      handover_(std::move(handover))
{
}

// Qt deletes a posted event after delivery, or unhandled when its receiver or the
// application goes away; either way the waiting worker is released.
NoticeEvent::~NoticeEvent()
{
    if (handover_) handover_->finish();
}

QEvent::Type NoticeEvent::eventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void NoticeBridge::attach(QObject* target)
{
    std::lock_guard lock(mu_);
    target_ = target;
}

void NoticeBridge::detach()
{
    std::lock_guard lock(mu_);
    target_ = nullptr;
}

void NoticeBridge::send(Notice kind, std::uint64_t generation, std::int32_t param)
{
    auto handover = std::make_shared<Handover>();
    {
        std::lock_guard lock(mu_);
        if (!target_ || !QCoreApplication::instance()) return;
        QCoreApplication::postEvent(target_, new NoticeEvent(kind, generation, param, handover));
    }
    handover->wait();
}

void NoticeBridge::post(Notice kind, std::uint64_t generation, std::int32_t param)
{
    std::lock_guard lock(mu_);
    if (!target_ || !QCoreApplication::instance()) return;
    QCoreApplication::postEvent(target_, new NoticeEvent(kind, generation, param, nullptr));
}

}  // namespace kestrel::comm
