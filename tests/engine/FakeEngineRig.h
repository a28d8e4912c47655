// A command engine on a fake host and a virtual clock: the test is the clock, so time-outs
// and pauses are exact and nothing waits for real time.
#pragma once

#include "CommandEngine.h"

#include <QString>
#include <QStringList>

#include <algorithm>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct VirtualClock {
    std::int64_t now = 0;
};

class FakeTimer : public EngineTimer {
public:
    explicit FakeTimer(VirtualClock& clock) : clock_(clock) {}
    void Start(std::int32_t ms) override
    {
        active_ = true;
        interval_ = ms;
        due_ = clock_.now + ms;
    }
    void Stop() override { active_ = false; }
    bool IsActive() const override { return active_; }
    std::int32_t Interval() const override { return interval_; }
    std::int64_t Due() const { return due_; }

private:
    VirtualClock& clock_;
    bool active_ = false;
    std::int32_t interval_ = 0;
    std::int64_t due_ = 0;
};

struct HostEvent {
    std::string kind;  // write, crlf, progress, sent, open, close, redraw, busy, sleep
    QString text;
    std::int64_t at = 0;
};

class FakeHost : public CommandEngineHost {
public:
    explicit FakeHost(VirtualClock& clock) : clock_(clock) {}

    void WriteCommand(const std::string& bytes) override
    {
        Add("write", QString::fromLatin1(bytes));
        if (duringWrite)
            duringWrite();  // what a write that lets window messages through may run
    }
    void WriteLineEnd() override { Add("crlf", {}); }
    void LogProgress(const QString& text) override { Add("progress", text); }
    void LogSentCommand(const QString& cmd) override { Add("sent", cmd); }
    bool ClickComOpen() override
    {
        Add("open", {});
        return openSucceeds;
    }
    void ClickComClose() override { Add("close", {}); }
    void RedrawTables() override { Add("redraw", {}); }
    void ShowBusyMessage() override { Add("busy", {}); }
    void Sleep(std::int32_t ms) override
    {
        Add("sleep", QString::number(ms));
        clock_.now += ms;
    }
    void ButtonsChanged(OpTab) override {}
    void ProgressChanged(std::int32_t, std::int32_t) override {}

    QStringList Texts(const std::string& kind) const
    {
        QStringList out;
        for (const auto& e : events)
            if (e.kind == kind)
                out << e.text;
        return out;
    }
    int Count(const std::string& kind) const { return static_cast<int>(Texts(kind).size()); }
    // Virtual time at which command `cmd` was written the n-th time (0-based), or -1.
    std::int64_t WrittenAt(const QString& cmd, int n = 0) const
    {
        for (const auto& e : events)
            if (e.kind == "write" && e.text == cmd && n-- == 0)
                return e.at;
        return -1;
    }

    bool openSucceeds = true;
    std::function<void()> duringWrite;
    std::vector<HostEvent> events;

private:
    void Add(std::string kind, QString text) { events.push_back({std::move(kind), std::move(text), clock_.now}); }
    VirtualClock& clock_;
};

struct EngineRig {
    VirtualClock clock;
    FakeHost host{clock};
    FakeTimer* timer = nullptr;
    std::unique_ptr<CommandEngine> engine;

    EngineRig()
    {
        auto t = std::make_unique<FakeTimer>(clock);
        timer = t.get();
        engine = std::make_unique<CommandEngine>(host, std::move(t));
    }

    // Moves the clock forward by ms, firing every tick that falls due on the way.
    void Advance(std::int64_t ms)
    {
        const std::int64_t end = clock.now + ms;
        while (timer->IsActive() && timer->Due() <= end) {
            clock.now = timer->Due();
            engine->Timer1Timer();
        }
        clock.now = std::max(clock.now, end);  // a "wait" sleep may have moved past end
    }

    // Runs ticks until the timer stops or the tick budget is used up.
    void RunToIdle(int maxTicks = 10000)
    {
        while (timer->IsActive() && maxTicks-- > 0) {
            clock.now = timer->Due();
            engine->Timer1Timer();
        }
    }

    void Answer(const QString& line) { engine->MemoryRes_Rx1Line(line); }

    // Plays a receiver that answers every command the moment it is written, with
    // answerFor(command); stops when the timer stops or after maxTicks ticks.
    void RunAnswering(const std::function<QString(const QString&)>& answerFor, int maxTicks = 10000)
    {
        int answered = 0;
        for (;;) {
            const QStringList written = host.Texts("write");
            while (answered < written.size())
                Answer(answerFor(written.at(answered++)));
            if (!timer->IsActive() || maxTicks-- <= 0)
                break;
            clock.now = timer->Due();
            engine->Timer1Timer();
        }
    }
    void RunAnswering(const QString& line = QStringLiteral("OK"))
    {
        RunAnswering([line](const QString&) { return line; });
    }

    using Cmds = std::vector<std::pair<QString, QString>>;
    bool Start(OpButton button, const Cmds& cmds, std::int32_t busy = 0,
               const std::function<void()>& prepare = {})
    {
        return engine->StartOperation(button, busy, prepare, [&](CommandEngine& e) {
            for (const auto& [c, o] : cmds)
                e.AppendCommand(c, o);
        });
    }

    // A parser for `family` that claims every line (and records what it saw).
    QStringList* ClaimAll(OpFamily family)
    {
        seen.push_back(std::make_unique<QStringList>());
        QStringList* log = seen.back().get();
        engine->SetAnswerParser(family, [log](const QString& s) {
            log->append(s);
            return true;
        });
        return log;
    }
    std::vector<std::unique_ptr<QStringList>> seen;
};
