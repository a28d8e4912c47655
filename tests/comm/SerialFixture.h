// Pseudo-terminal pairs registered as virtual COM ports, and event-loop helpers, for the
// serial component's tests.
#pragma once

#include "CommX.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace commtest {

// Creates the application object the component's notices need.
class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override;
    void TearDown() override;

private:
    QCoreApplication* app_ = nullptr;
};

// Runs the window thread's events until pred holds; false if it never does within a
// generous bound (a hang guard, not a speed check).
bool PumpUntil(const std::function<bool()>& pred, int boundMs = 20000);
// Runs the window thread's events for a while (to give a wrong extra event its chance).
void PumpFor(int ms);

// A pseudo-terminal pair; the test plays the far end on the master side.
class Pty {
public:
    Pty();
    ~Pty();
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;
    int master() const { return master_; }
    const std::string& slave() const { return slave_; }
    void closeMaster();
    // Writes all bytes (waits for room).
    void write(const std::string& bytes);
    // Reads until n bytes came or the bound passed.
    std::string read(std::size_t n, int boundMs = 20000);
    // Reads what arrives until nothing more comes for quietMs.
    std::string readQuiet(int quietMs);

private:
    int master_ = -1;
    std::string slave_;
};

// A temporary XDG_RUNTIME_DIR with a kestrel-ports directory.
class PortDir {
public:
    PortDir();
    ~PortDir();
    PortDir(const PortDir&) = delete;
    PortDir& operator=(const PortDir&) = delete;
    const std::string& root() const { return root_; }
    std::string dir() const { return root_ + "/kestrel-ports"; }
    void link(int number, const std::string& target);
    void unlink(int number);

private:
    std::string root_;
    std::optional<std::string> oldRuntime_;
};

// The component with the chunk hook recorded.
class RecordingCommX : public TCommX {
public:
    using TCommX::TCommX;
    std::vector<std::int32_t> chunks;

protected:
    void ChunkQueued(std::int32_t Size) override { chunks.push_back(Size); }
};

std::string Pattern(std::size_t n, unsigned seed = 1);

// Reads the master side on its own thread until told to stop.
class FarEndReader {
public:
    explicit FarEndReader(int master);
    ~FarEndReader();
    std::string take();  // stops and returns all bytes read
    std::size_t size() const { return count_.load(); }

private:
    int master_;
    std::atomic<bool> stop_{false};
    std::atomic<std::size_t> count_{0};
    std::string data_;
    std::thread thread_;
};

// Writes a byte stream to the master side on its own thread until told to stop.
class FarEndWriter {
public:
    explicit FarEndWriter(int master);
    ~FarEndWriter();
    void stop();
    std::size_t written() const { return written_.load(); }

private:
    int master_;
    std::atomic<bool> stop_{false};
    std::atomic<std::size_t> written_{0};
    std::thread thread_;
};

}  // namespace commtest
