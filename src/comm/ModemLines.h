// Modem-line, break and line-error counter calls on a port descriptor, behind an interface
// so that tests can play them (pseudo-terminals have none of them).
#pragma once

#include <linux/serial.h>

#include <memory>

namespace kestrel::comm {

class ModemLineOps {
public:
    virtual ~ModemLineOps() = default;
    // Each call returns 0 or the errno value of the failure.
    virtual int setLines(int fd, int tiocmBits, bool on);  // TIOCMBIS / TIOCMBIC
    virtual int lineStatus(int fd, int& tiocmBits);        // TIOCMGET
    virtual int setBreak(int fd, bool on);                 // TIOCSBRK / TIOCCBRK
    virtual int lineCounters(int fd, serial_icounter_struct& counters);  // TIOCGICOUNT
};

std::shared_ptr<ModemLineOps> DefaultModemLineOps();

// ENOTTY and EINVAL mean the device has no modem lines (pseudo-terminals): not an error.
bool IsNoModemLines(int err);

}  // namespace kestrel::comm
