// A command engine on a recording host with a hand-driven timer, and the operations of one
// group page on a store. The test plays the receiver and the clock.
#pragma once

#include "CommandEngine.h"
#include "GroupOperations.h"
#include "Store.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <ostream>
#include <vector>

// Readable failure messages for Qt strings.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList& l, std::ostream* os)
{
    *os << '[' << l.join(QStringLiteral("\", \"")).prepend('"').append('"').toStdString() << ']';
}

class ManualTimer : public EngineTimer {
public:
    void Start(std::int32_t ms) override { active_ = true, interval_ = ms; }
    void Stop() override { active_ = false; }
    bool IsActive() const override { return active_; }
    std::int32_t Interval() const override { return interval_; }

private:
    bool active_ = false;
    std::int32_t interval_ = 0;
};

class RecordingHost : public CommandEngineHost {
public:
    void WriteCommand(const std::string& bytes) override { written << QString::fromLatin1(bytes); }
    void WriteLineEnd() override {}
    void LogProgress(const QString& text) override { log << QStringLiteral("progress:") + text; }
    void LogSentCommand(const QString& cmd) override { log << QStringLiteral("sent:") + cmd; }
    bool ClickComOpen() override { return true; }
    void ClickComClose() override { ++closes; }
    void RedrawTables() override {}
    void ShowBusyMessage() override { messages << QStringLiteral("Now Busy!"); }
    void Sleep(std::int32_t) override {}
    void ButtonsChanged(OpTab) override {}
    void ProgressChanged(std::int32_t, std::int32_t) override {}

    QStringList written;   // command texts in the order sent
    QStringList log;       // progress and sent entries of the traffic log
    QStringList messages;  // message boxes shown
    int closes = 0;
};

struct GroupRig {
    explicit GroupRig(groups::GroupKind kind)
    {
        auto t = std::make_unique<ManualTimer>();
        timer = t.get();
        engine = std::make_unique<CommandEngine>(host, std::move(t));
        ops = std::make_unique<groups::GroupOperations>(
            kind, *engine, kind == groups::GroupKind::Scan ? store->ScanGrpData : store->SearchGrpData);
        ops->SelectedGroup = [this] { return selected; };
        ops->Display = [this](int gn) { displayed.push_back(gn); };
        engine->SetAnswerParser(ops->ReadFamily(), [this](const QString& s) { return ops->ReadRes_1Line(s); });
        engine->SetAnswerParser(ops->WriteFamily(), [this](const QString& s) { return ops->WriteRes_1Line(s); });
    }

    // One tick of the engine's timer (what the 100 ms pause or a time-out tick would do).
    void Tick() { engine->Timer1Timer(); }
    void Answer(const QString& line) { engine->MemoryRes_Rx1Line(line); }

    // Ticks until the next command is written; false when none follows.
    bool SendNext()
    {
        const auto before = host.written.size();
        for (int i = 0; i < 10 && host.written.size() == before && timer->IsActive(); ++i)
            Tick();
        return host.written.size() > before;
    }

    RecordingHost host;
    ManualTimer* timer = nullptr;
    std::unique_ptr<CommandEngine> engine;
    std::unique_ptr<TStore> store = std::make_unique<TStore>();
    std::unique_ptr<groups::GroupOperations> ops;
    int selected = 0;
    std::vector<int> displayed;
};
