#include "SimServer.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include "SimJson.h"

namespace sim {

namespace {

int g_signalPipe[2] = {-1, -1};

void OnSignal(int sig) {
    const int saved = errno;
    const unsigned char b = static_cast<unsigned char>(sig);
    [[maybe_unused]] auto n = write(g_signalPipe[1], &b, 1);
    errno = saved;
}

bool InstallSignals() {
    if (pipe(g_signalPipe) != 0) return false;
    for (int fd : g_signalPipe) {
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
        fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGUSR1}) sigaction(sig, &sa, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    return true;
}

// Answers pile up only while nobody reads the device; beyond this the oldest are dropped.
constexpr std::size_t kMaxOutBuffer = 1 << 20;

}  // namespace

Server::Server(SimOptions options, Memory memory)
    : opt_(std::move(options)),
      receiver_(std::move(memory), opt_.receiver),
      faulty_(receiver_, opt_.faults) {}

Server::~Server() {
    if (log_) std::fclose(log_);
}

bool Server::Start() {
    std::string error;
    if (!opt_.log.empty()) {
        log_ = std::fopen(opt_.log.c_str(), "a");
        if (!log_) {
            std::fprintf(stderr, "kestrel-receiver-sim: cannot open log %s: %s\n", opt_.log.c_str(),
                         std::strerror(errno));
            return false;
        }
    }
    if (!InstallSignals()) {
        std::fprintf(stderr, "kestrel-receiver-sim: cannot install signal handlers\n");
        return false;
    }
    if (!pty_.Open(error) || !comLink_.RegisterCom(opt_.com, pty_.devicePath(), error) ||
        (!opt_.link.empty() && !extraLink_.Create(opt_.link, pty_.devicePath(), error))) {
        std::fprintf(stderr, "kestrel-receiver-sim: %s\n", error.c_str());
        return false;
    }
    std::printf("port COM%d %s\n", comLink_.number(), pty_.devicePath().c_str());
    std::fflush(stdout);
    return true;
}

int Server::Run() {
    if (!Start()) return 1;
    for (;;) {
        pollfd fds[2] = {{g_signalPipe[0], POLLIN, 0}, {-1, 0, 0}};
        const bool quiet = Clock::now() < masterQuietUntil_;
        if (pty_.isOpen() && !quiet) {
            fds[1].fd = pty_.master();
            fds[1].events = POLLIN | (outBuffer_.empty() ? 0 : POLLOUT);
        }
        const int n = poll(fds, 2, PollTimeoutMs());
        if (n < 0 && errno != EINTR) {
            std::perror("kestrel-receiver-sim: poll");
            return 1;
        }
        if (fds[0].revents & POLLIN) {
            unsigned char sig = 0;
            while (read(g_signalPipe[0], &sig, 1) == 1) {
                if (sig == SIGUSR1) {
                    Dump();
                } else {
                    Dump();
                    return 0;
                }
            }
        }
        if (fds[1].fd >= 0 && (fds[1].revents & POLLIN)) OnReadable();
        else if (fds[1].fd >= 0 && (fds[1].revents & (POLLHUP | POLLERR)))
            masterQuietUntil_ = Clock::now() + std::chrono::milliseconds(100);  // no busy loop
        FlushDue();
        WriteOut();
        // Closing the master discards what the device side has not read yet, so the last
        // answers are given a moment to arrive (the kernel hands them over asynchronously)
        // and to be read before the device goes.
        if (disconnectPending_ && pending_.empty() && outBuffer_.empty()) {
            const auto now = Clock::now();
            if (lastWrite_ + std::chrono::milliseconds(100) <= now &&
                (pty_.UnreadBytes() == 0 || now >= disconnectDeadline_))
                Disconnect();
        }
    }
}

int Server::PollTimeoutMs() const {
    int timeout = -1;
    if (!pending_.empty()) {
        const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(
            pending_.front().due - Clock::now());
        timeout = static_cast<int>(std::max<long long>(0, wait.count() + 1));
    }
    if (Clock::now() < masterQuietUntil_) timeout = timeout < 0 ? 100 : std::min(timeout, 100);
    if (!outBuffer_.empty()) timeout = timeout < 0 ? 100 : std::min(timeout, 100);
    if (disconnectPending_) timeout = timeout < 0 ? 10 : std::min(timeout, 10);
    return timeout;
}

void Server::OnReadable() {
    char buf[4096];
    const ssize_t n = read(pty_.master(), buf, sizeof buf);
    if (n <= 0) {
        if (n == 0 || (errno != EAGAIN && errno != EINTR))
            masterQuietUntil_ = Clock::now() + std::chrono::milliseconds(100);
        return;
    }
    for (const std::string& line : assembler_.Feed(std::string_view(buf, static_cast<std::size_t>(n))))
        if (!disconnectPending_) OnCommand(line);
}

void Server::OnCommand(const std::string& command) {
    Log('>', command);
    ++commands_;
    auto due = Clock::now() + std::chrono::milliseconds(opt_.delayMs);
    if (!pending_.empty() && pending_.back().due > due) due = pending_.back().due;
    for (auto& line : faulty_.Answer(command)) pending_.push_back({due, std::move(line)});
    if (opt_.disconnectAfter > 0 && commands_ >= opt_.disconnectAfter && !disconnectPending_) {
        disconnectPending_ = true;
        disconnectDeadline_ = due + std::chrono::seconds(2);
    }
}

void Server::FlushDue() {
    const auto now = Clock::now();
    const std::string end = opt_.crlf ? "\r\n" : "\r";
    while (!pending_.empty() && pending_.front().due <= now) {
        Log('<', pending_.front().line);
        outBuffer_ += pending_.front().line + end;
        pending_.pop_front();
    }
    if (outBuffer_.size() > kMaxOutBuffer) outBuffer_.erase(0, outBuffer_.size() - kMaxOutBuffer);
}

void Server::WriteOut() {
    while (!outBuffer_.empty() && pty_.isOpen()) {
        const ssize_t n = write(pty_.master(), outBuffer_.data(), outBuffer_.size());
        if (n <= 0) return;  // EAGAIN: the device's queue is full; poll says when to go on
        outBuffer_.erase(0, static_cast<std::size_t>(n));
        lastWrite_ = Clock::now();
    }
}

void Server::Disconnect() {
    disconnectPending_ = false;
    pty_.Close();
    comLink_.Remove();
    extraLink_.Remove();
    if (log_) {
        std::fprintf(log_, "# disconnected after %ld commands\n", commands_);
        std::fflush(log_);
    }
    std::printf("disconnected\n");
    std::fflush(stdout);
}

void Server::Dump() {
    if (opt_.dump.empty()) return;
    std::string error;
    if (!SaveMemory(opt_.dump, receiver_.memory(), error)) {
        std::fprintf(stderr, "kestrel-receiver-sim: cannot write %s: %s\n", opt_.dump.c_str(), error.c_str());
        return;
    }
    std::printf("dumped %s\n", opt_.dump.c_str());
    std::fflush(stdout);
}

void Server::Log(char direction, const std::string& text) {
    if (!log_) return;
    std::fprintf(log_, "%c %s\n", direction, text.c_str());
    std::fflush(log_);
}

}  // namespace sim
