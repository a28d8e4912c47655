// Modem-line and break calls on a port descriptor, behind an interface so that tests can
// watch them (pseudo-terminals have no modem lines).
#pragma once

#include <memory>

namespace kestrel::comm {

class ModemLineOps {
public:
    virtual ~ModemLineOps() = default;
    // Each call returns 0 or the errno value of the failure.
    virtual int setLines(int fd, int tiocmBits, bool on);  // TIOCMBIS / TIOCMBIC
    virtual int lineStatus(int fd, int& tiocmBits);        // TIOCMGET
    virtual int setBreak(int fd, bool on);                 // TIOCSBRK / TIOCCBRK
};

std::shared_ptr<ModemLineOps> DefaultModemLineOps();

// ENOTTY and EINVAL mean the device has no modem lines (pseudo-terminals): not an error.
bool IsNoModemLines(int err);

}  // namespace kestrel::comm
