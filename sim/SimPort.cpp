#include "SimPort.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace sim {

namespace {
std::string SysError(const std::string& what) { return what + ": " + std::strerror(errno); }
}  // namespace

std::string PortDirectory() {
    const char* xdg = std::getenv("XDG_RUNTIME_DIR");
    if (xdg && *xdg) return std::string(xdg) + "/kestrel-ports";
    return "/tmp/kestrel-ports-" + std::to_string(getuid());
}

PseudoTerminal::~PseudoTerminal() { Close(); }

bool PseudoTerminal::Open(std::string& error) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0) {
        error = SysError("posix_openpt");
        return false;
    }
    const char* name = nullptr;
    if (grantpt(master_) != 0 || unlockpt(master_) != 0 || (name = ptsname(master_)) == nullptr) {
        error = SysError("pseudo-terminal set-up");
        Close();
        return false;
    }
    path_ = name;
    slave_ = open(path_.c_str(), O_RDWR | O_NOCTTY);
    if (slave_ < 0) {
        error = SysError("open " + path_);
        Close();
        return false;
    }
    // Raw on the device end: no echo of our answers back to us, no line editing.
    termios t{};
    if (tcgetattr(slave_, &t) == 0) {
        cfmakeraw(&t);
        cfsetispeed(&t, B115200);
        cfsetospeed(&t, B115200);
        tcsetattr(slave_, TCSANOW, &t);
    }
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    fcntl(master_, F_SETFD, FD_CLOEXEC);
    fcntl(slave_, F_SETFD, FD_CLOEXEC);
    return true;
}

int PseudoTerminal::UnreadBytes() const {
    int n = 0;
    if (slave_ < 0 || ioctl(slave_, FIONREAD, &n) != 0) return 0;
    return n;
}

void PseudoTerminal::Close() {
    if (slave_ >= 0) close(slave_);
    if (master_ >= 0) close(master_);
    slave_ = master_ = -1;
}

bool PortLink::RegisterCom(int number, const std::string& device, std::string& error) {
    const std::string dir = PortDirectory();
    if (mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) {
        error = SysError("mkdir " + dir);
        return false;
    }
    const int first = number > 0 ? number : 100;
    const int last = number > 0 ? number : 9999;
    for (int n = first; n <= last; ++n) {
        const std::string path = dir + "/COM" + std::to_string(n);
        struct stat st {};
        if (lstat(path.c_str(), &st) == 0) {
            // Taken, unless it is a link left behind by a simulator that is gone.
            if (!S_ISLNK(st.st_mode) || stat(path.c_str(), &st) == 0) continue;
            unlink(path.c_str());
        }
        if (symlink(device.c_str(), path.c_str()) == 0) {
            path_ = path;
            number_ = n;
            return true;
        }
        if (errno != EEXIST) {
            error = SysError("symlink " + path);
            return false;
        }
    }
    error = number > 0 ? "COM" + std::to_string(number) + " is already registered" : "no free port number";
    return false;
}

bool PortLink::Create(const std::string& path, const std::string& device, std::string& error) {
    if (symlink(device.c_str(), path.c_str()) != 0) {
        error = SysError("symlink " + path);
        return false;
    }
    path_ = path;
    return true;
}

void PortLink::Remove() {
    if (path_.empty()) return;
    unlink(path_.c_str());
    path_.clear();
}

}  // namespace sim
