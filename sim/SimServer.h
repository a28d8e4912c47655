// The simulator's I/O loop: the pseudo-terminal, answer timing, signals, log and dumps.
#pragma once

#include <chrono>
#include <cstdio>
#include <deque>
#include <memory>
#include <string>

#include "SimLink.h"
#include "SimOptions.h"
#include "SimPort.h"

namespace sim {

class Server {
public:
    Server(SimOptions options, Memory memory);
    ~Server();

    // Opens and registers the device, then serves until SIGINT or SIGTERM.
    // Returns the process exit code.
    int Run();

private:
    using Clock = std::chrono::steady_clock;
    struct Pending {
        Clock::time_point due;
        std::string line;
    };

    bool Start();
    void OnReadable();
    void OnCommand(const std::string& command);
    void FlushDue();
    void WriteOut();
    void Disconnect();
    void Dump();
    void Log(char direction, const std::string& text);
    int PollTimeoutMs() const;

    SimOptions opt_;
    Receiver receiver_;
    FaultyReceiver faulty_;
    LineAssembler assembler_;
    PseudoTerminal pty_;
    PortLink comLink_;
    PortLink extraLink_;
    std::FILE* log_ = nullptr;
    std::deque<Pending> pending_;
    std::string outBuffer_;
    long commands_ = 0;
    bool disconnectPending_ = false;
    Clock::time_point disconnectDeadline_{};
    Clock::time_point lastWrite_{};
    Clock::time_point masterQuietUntil_{};
};

}  // namespace sim
