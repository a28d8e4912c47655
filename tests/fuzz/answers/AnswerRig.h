// The receive side of the data window without its windows: the line assembly, the command
// engine on a hand-driven clock, and every answer family wired the way the tabs wire them.
// Used by the fuzz entries, which feed it arbitrary bytes and then check that the engine
// and the store are still in a state the program can have.
#pragma once

#include "CommandEngine.h"
#include "GroupOperations.h"
#include "MemoryRead.h"
#include "ParamAnswers.h"
#include "RxLineBuffer.h"
#include "SearchBankLink.h"
#include "SearchBankRead.h"
#include "Store.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace fuzzrig {

// Ends the process with a message: the fuzzer records the input, a replay run fails.
[[noreturn]] void Fail(const std::string& what);

// Every field either still holds the blank template's value or lies in the range that its
// answer parser accepts. Returns the first violation, empty when there is none.
std::string CheckChannel(const TMemChElement& c, const TMemChElement& blank);
std::string CheckSearchBank(const TSearchBankElement& b, const TSearchBankElement& blank);
std::string CheckStore(const TStore& store);

// A command queued by a parser must name a bank and channel that exist.
std::string CheckQueued(std::string_view command);

// Fake clock: ticks come only when the test calls Tick().
class ManualTimer : public EngineTimer {
public:
    void Start(std::int32_t ms) override
    {
        active_ = true;
        interval_ = ms;
    }
    void Stop() override { active_ = false; }
    bool IsActive() const override { return active_; }
    std::int32_t Interval() const override { return interval_; }
    // One tick, as the timer would deliver it; nothing when stopped.
    void Tick()
    {
        if (active_ && OnTick)
            OnTick();
    }

private:
    bool active_ = false;
    std::int32_t interval_ = 0;
};

// Host that opens nothing and writes nowhere; it counts what the engine did.
class NullHost : public CommandEngineHost {
public:
    void WriteCommand(const std::string&) override { ++writes; }
    void WriteLineEnd() override {}
    void LogProgress(const QString&) override {}
    void LogSentCommand(const QString&) override {}
    bool ClickComOpen() override { return true; }
    void ClickComClose() override {}
    void RedrawTables() override {}
    void ShowBusyMessage() override {}
    void Sleep(std::int32_t) override {}
    void ButtonsChanged(OpTab) override {}
    void ProgressChanged(std::int32_t, std::int32_t) override {}
    int writes = 0;
};

class ReceiveRig {
public:
    ReceiveRig();
    ~ReceiveRig();

    // Starts one operation of every family (reads and writes of all four tabs), so that
    // every answer family is offered every line.
    void StartEveryFamily();

    // One received byte through the line assembly; a completed answer line goes to the
    // engine's dispatcher. Returns true when a line was completed.
    bool PushByte(std::uint8_t d);
    void Tick() { timer_->Tick(); }

    // Engine and family state that must hold after every line.
    void CheckEngine() const;

    TStore& Store() { return *store_; }
    CommandEngine& Engine() { return *engine_; }

private:
    std::unique_ptr<TStore> store_;
    NullHost host_;
    ManualTimer* timer_ = nullptr;  // owned by the engine
    std::unique_ptr<CommandEngine> engine_;
    memparam::TParamShared shared_;
    std::unique_ptr<TMemoryReadFamily> memRead_;
    bool keepBackup_ = false;
    std::unique_ptr<sbank::TSearchBankReadFamily> sbRead_;
    std::unique_ptr<groups::GroupOperations> scan_;
    std::unique_ptr<groups::GroupOperations> search_;
    RxLineBuffer rx_;
};

}  // namespace fuzzrig
