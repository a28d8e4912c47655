// Starts kestrel-receiver-sim in a private port directory and talks to its pseudo-terminal
// with plain open/read/write. Every wait is bounded so that a silent simulator fails the
// test instead of hanging it.
#pragma once

#include <optional>
#include <string>
#include <vector>

class SimProcess {
public:
    // Starts the simulator with `args` and XDG_RUNTIME_DIR = `runtimeDir`.
    SimProcess(const std::string& runtimeDir, const std::vector<std::string>& args);
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // Reads the "port COM<n> <device>" line and opens the device. False when the
    // simulator did not come up.
    bool Ready();

    int comNumber() const { return com_; }
    const std::string& device() const { return device_; }
    std::string portDir() const { return runtimeDir_ + "/kestrel-ports"; }

    // One line of the simulator's standard output (without the newline).
    std::optional<std::string> StdoutLine();

    void Send(const std::string& bytes);                      // raw bytes
    void Command(const std::string& line) { Send(line + "\r\n"); }
    // One answer line: the bytes up to CR, CR dropped, a following LF left in the stream.
    std::optional<std::string> Answer();
    // Raw bytes as they come, up to `count` of them.
    std::string ReadBytes(std::size_t count);
    // True when the device reports a hang-up (or end of data) before any byte arrives.
    bool HungUp();

    void CloseDevice();
    bool ReopenDevice();

    void Signal(int sig);
    // Waits for the process to end; its exit code, or -1 when it did not end normally.
    int Wait();

private:
    bool WaitReadable(int fd);

    std::string runtimeDir_;
    int pid_ = -1;
    int stdout_ = -1;
    int fd_ = -1;
    int com_ = 0;
    std::string device_;
    std::string stdoutBuffer_;
};

// Runs the simulator with `args` to its end (for --help and option errors); returns the
// exit code and fills `output` with stdout and stderr.
int RunSimToEnd(const std::vector<std::string>& args, std::string& output);

// A fresh directory under /tmp, removed with its contents by the destructor.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::string& path() const { return path_; }

private:
    std::string path_;
};
