#include "SimProcess.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace {
// Generous bound on every wait: only reached when the simulator is stuck or silent.
constexpr int kGuardMs = 10000;
}

SimProcess::SimProcess(const std::string& runtimeDir, const std::vector<std::string>& args)
    : runtimeDir_(runtimeDir) {
    int out[2];
    if (pipe(out) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
        setenv("XDG_RUNTIME_DIR", runtimeDir.c_str(), 1);
        const int null = open("/dev/null", O_RDONLY);
        dup2(null, 0);
        dup2(out[1], 1);
        close(out[0]);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(KESTREL_SIM_PATH));
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(KESTREL_SIM_PATH, argv.data());
        _exit(127);
    }
    close(out[1]);
    stdout_ = out[0];
}

SimProcess::~SimProcess() {
    CloseDevice();
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        Wait();
    }
    if (stdout_ >= 0) close(stdout_);
}

bool SimProcess::WaitReadable(int fd) {
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, kGuardMs) == 1;
}

std::optional<std::string> SimProcess::StdoutLine() {
    for (;;) {
        const auto nl = stdoutBuffer_.find('\n');
        if (nl != std::string::npos) {
            std::string line = stdoutBuffer_.substr(0, nl);
            stdoutBuffer_.erase(0, nl + 1);
            return line;
        }
        char buf[256];
        if (stdout_ < 0 || !WaitReadable(stdout_)) return std::nullopt;
        const ssize_t n = read(stdout_, buf, sizeof buf);
        if (n <= 0) return std::nullopt;
        stdoutBuffer_.append(buf, static_cast<std::size_t>(n));
    }
}

bool SimProcess::Ready() {
    const auto line = StdoutLine();
    if (!line || line->rfind("port COM", 0) != 0) return false;
    const auto blank = line->find(' ', 8);
    if (blank == std::string::npos) return false;
    com_ = std::atoi(line->substr(8, blank - 8).c_str());
    device_ = line->substr(blank + 1);
    return ReopenDevice();
}

bool SimProcess::ReopenDevice() {
    CloseDevice();
    fd_ = open(device_.c_str(), O_RDWR | O_NOCTTY);
    if (fd_ < 0) return false;
    termios t{};
    tcgetattr(fd_, &t);
    cfmakeraw(&t);
    tcsetattr(fd_, TCSANOW, &t);
    return true;
}

void SimProcess::CloseDevice() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
}

void SimProcess::Send(const std::string& bytes) {
    std::size_t done = 0;
    while (fd_ >= 0 && done < bytes.size()) {
        const ssize_t n = write(fd_, bytes.data() + done, bytes.size() - done);
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

std::optional<std::string> SimProcess::Answer() {
    std::string line;
    for (;;) {
        char c;
        if (fd_ < 0 || !WaitReadable(fd_) || read(fd_, &c, 1) != 1) return std::nullopt;
        if (c == '\r') return line;
        line.push_back(c);
    }
}

std::string SimProcess::ReadBytes(std::size_t count) {
    std::string bytes;
    char buf[256];
    while (bytes.size() < count && fd_ >= 0 && WaitReadable(fd_)) {
        const ssize_t n = read(fd_, buf, std::min(sizeof buf, count - bytes.size()));
        if (n <= 0) break;
        bytes.append(buf, static_cast<std::size_t>(n));
    }
    return bytes;
}

bool SimProcess::HungUp() {
    pollfd p{fd_, POLLIN, 0};
    if (fd_ < 0 || poll(&p, 1, kGuardMs) != 1) return false;
    if (p.revents & POLLHUP) return true;
    char c;
    const ssize_t n = read(fd_, &c, 1);
    return n == 0 || (n < 0 && errno == EIO);
}

void SimProcess::Signal(int sig) {
    if (pid_ > 0) kill(pid_, sig);
}

int SimProcess::Wait() {
    if (pid_ <= 0) return -1;
    int status = 0;
    const pid_t r = waitpid(pid_, &status, 0);
    pid_ = -1;
    if (r < 0 || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

int RunSimToEnd(const std::vector<std::string>& args, std::string& output) {
    int out[2];
    if (pipe(out) != 0) return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], 1);
        dup2(out[1], 2);
        close(out[0]);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(KESTREL_SIM_PATH));
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(KESTREL_SIM_PATH, argv.data());
        _exit(127);
    }
    close(out[1]);
    char buf[1024];
    for (;;) {
        pollfd p{out[0], POLLIN, 0};
        if (poll(&p, 1, kGuardMs) != 1) {
            kill(pid, SIGKILL);  // hung: the exit code below then reports failure
            break;
        }
        const ssize_t n = read(out[0], buf, sizeof buf);
        if (n <= 0) break;
        output.append(buf, static_cast<std::size_t>(n));
    }
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TempDir::TempDir() {
    char tmpl[] = "/tmp/kestrel-sim-test-XXXXXX";
    if (mkdtemp(tmpl)) path_ = tmpl;
}

TempDir::~TempDir() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
}
