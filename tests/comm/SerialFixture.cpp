#include "SerialFixture.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <stdexcept>

namespace commtest {

namespace {
using Clock = std::chrono::steady_clock;
[[maybe_unused]] auto* const g_env = ::testing::AddGlobalTestEnvironment(new QtEnvironment);
}  // namespace

void QtEnvironment::SetUp()
{
    static int argc = 1;
    static char name[] = "comm_test";
    static char* argv[] = {name, nullptr};
    app_ = new QCoreApplication(argc, argv);
}

void QtEnvironment::TearDown()
{
    delete app_;
    app_ = nullptr;
}

bool PumpUntil(const std::function<bool()>& pred, int boundMs)
{
    const auto end = Clock::now() + std::chrono::milliseconds(boundMs);
    while (!pred()) {
        if (Clock::now() > end) return false;
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

void PumpFor(int ms)
{
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    while (Clock::now() < end) {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

Pty::Pty()
{
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
        throw std::runtime_error("no pseudo-terminal");
    char name[128];
    if (::ptsname_r(master_, name, sizeof name) != 0) throw std::runtime_error("ptsname");
    slave_ = name;
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    termios t{};
    ::tcgetattr(master_, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(master_, TCSANOW, &t);
}

Pty::~Pty() { closeMaster(); }

void Pty::closeMaster()
{
    if (master_ >= 0) ::close(master_);
    master_ = -1;
}

void Pty::write(const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            pollfd p{master_, POLLOUT, 0};
            ::poll(&p, 1, 100);
        } else {
            throw std::runtime_error("write to pty master failed");
        }
    }
}

std::string Pty::read(std::size_t n, int boundMs)
{
    std::string out;
    const auto end = Clock::now() + std::chrono::milliseconds(boundMs);
    char buf[65536];
    while (out.size() < n && Clock::now() < end) {
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0) continue;
        const ssize_t got = ::read(master_, buf, std::min(sizeof buf, n - out.size()));
        if (got > 0) out.append(buf, static_cast<std::size_t>(got));
        else if (got == 0 || (errno != EAGAIN && errno != EINTR)) break;
    }
    return out;
}

std::string Pty::readQuiet(int quietMs)
{
    std::string out;
    char buf[65536];
    for (;;) {
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, quietMs) <= 0) break;
        const ssize_t got = ::read(master_, buf, sizeof buf);
        if (got > 0) out.append(buf, static_cast<std::size_t>(got));
        else if (got == 0 || (errno != EAGAIN && errno != EINTR)) break;
    }
    return out;
}

PortDir::PortDir()
{
    char tmpl[] = "/tmp/kestrel-comm-test-XXXXXX";
    if (!::mkdtemp(tmpl)) throw std::runtime_error("mkdtemp");
    root_ = tmpl;
    if (const char* old = std::getenv("XDG_RUNTIME_DIR")) oldRuntime_ = old;
    ::setenv("XDG_RUNTIME_DIR", root_.c_str(), 1);
    std::filesystem::create_directory(dir());
}

PortDir::~PortDir()
{
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
    if (oldRuntime_) ::setenv("XDG_RUNTIME_DIR", oldRuntime_->c_str(), 1);
    else ::unsetenv("XDG_RUNTIME_DIR");
}

void PortDir::link(int number, const std::string& target)
{
    unlink(number);
    std::filesystem::create_symlink(target, dir() + "/COM" + std::to_string(number));
}

void PortDir::unlink(int number)
{
    std::error_code ec;
    std::filesystem::remove(dir() + "/COM" + std::to_string(number), ec);
}

std::string Pattern(std::size_t n, unsigned seed)
{
    std::mt19937 rng(seed);
    std::string s(n, '\0');
    for (auto& c : s) c = static_cast<char>(rng() & 0xFF);
    return s;
}

FarEndReader::FarEndReader(int master) : master_(master)
{
    thread_ = std::thread([this] {
        char buf[65536];
        while (!stop_) {
            pollfd p{master_, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0) continue;
            const ssize_t n = ::read(master_, buf, sizeof buf);
            if (n > 0) {
                data_.append(buf, static_cast<std::size_t>(n));
                count_ += static_cast<std::size_t>(n);
            } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        }
    });
}

FarEndReader::~FarEndReader()
{
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

std::string FarEndReader::take()
{
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    return data_;
}

FarEndWriter::FarEndWriter(int master) : master_(master)
{
    thread_ = std::thread([this] {
        const std::string chunk = Pattern(4096, 7);
        while (!stop_) {
            const ssize_t n = ::write(master_, chunk.data(), chunk.size());
            if (n > 0) {
                written_ += static_cast<std::size_t>(n);
            } else {
                pollfd p{master_, POLLOUT, 0};
                ::poll(&p, 1, 10);
            }
        }
    });
}

FarEndWriter::~FarEndWriter() { stop(); }

void FarEndWriter::stop()
{
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

}  // namespace commtest
