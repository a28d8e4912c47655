#include "ModemLines.h"

#include <sys/ioctl.h>

#include <cerrno>

namespace kestrel::comm {

int ModemLineOps::setLines(int fd, int tiocmBits, bool on)
{
    return ::ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &tiocmBits) < 0 ? errno : 0;
}

int ModemLineOps::lineStatus(int fd, int& tiocmBits)
{
    tiocmBits = 0;
    return ::ioctl(fd, TIOCMGET, &tiocmBits) < 0 ? errno : 0;
}

int ModemLineOps::setBreak(int fd, bool on)
{
    return ::ioctl(fd, on ? TIOCSBRK : TIOCCBRK) < 0 ? errno : 0;
}

int ModemLineOps::lineCounters(int fd, serial_icounter_struct& counters)
{
    counters = {};
    return ::ioctl(fd, TIOCGICOUNT, &counters) < 0 ? errno : 0;
}

std::shared_ptr<ModemLineOps> DefaultModemLineOps()
{
    static const auto ops = std::make_shared<ModemLineOps>();
    return ops;
}

bool IsNoModemLines(int err) { return err == ENOTTY || err == EINVAL; }

}  // namespace kestrel::comm
