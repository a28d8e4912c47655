// The command engine of the data window: a queue of command lines with per-command
// options, sent one at a time, answers counted per command, time-outs, the closing "EX",
// the end and abort of operations, and the dispatch of answer lines to the running
// operation families.
//
// How an operation family plugs in
// --------------------------------
// 1. Buttons: the tab's widget code creates its operation buttons and registers each
//    with TFormMemory::RegisterOperationButton(OpButton::..., button) and its Abort button
//    with TFormMemory::RegisterAbortButton(OpTab::..., button). From then on the frame
//    mirrors the engine's state onto them (enabled, the "Tag" property: 1 while running)
//    and wires the Abort button to the engine.
// 2. Answers: the family registers its parser once:
//        engine.SetAnswerParser(OpFamily::SearchBankRead,
//                               [this](const QString& RxString) { return ...; });
//    The parser gets every received line while one of the family's buttons runs; it
//    returns true when the line belongs to it (only claimed lines are counted). It may read
//    engine.SendedCommand() and append follow-up commands with engine.AppendCommand(), which
//    also raises the progress maximum.
// 3. Starting: the button's click handler calls
//        engine.StartOperation(OpButton::SearchBankAllReadButton, 3,
//                              [&] { engine.SearchBankState = 1; },          // step 4
//                              [&](CommandEngine& e) { e.AppendCommand("AZ", "[1](200)"); });
//    It returns false when the start was refused ("Now Busy!") or the port did not open;
//    the tab then stays as the refusal or failure left it.
// 4. End: the engine resets the tab's buttons, closes the port after memory-tab
//    operations and asks the host to redraw the tables.
//
// Everything runs on the window thread. The engine writes through a small host interface
// (the data window implements it with the terminal and the serial component) and ticks
// through an EngineTimer, so tests drive it with a fake host and a fake clock.
#pragma once

#include "Records.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QObject;

// The four tabs that run operations, in the order the end of an operation examines them.
enum class OpTab { MemCh, ScanGroup, SearchBank, SearchGroup };
constexpr int kOpTabCount = 4;

// The eight answer families, in dispatch order.
enum class OpFamily {
    MemoryRead,
    MemoryWrite,
    ScanGrpRead,
    ScanGrpWrite,
    SearchBankRead,
    SearchBankWrite,
    SearchGrpRead,
    SearchGrpWrite,
};
constexpr int kOpFamilyCount = 8;

// Every operation button of the data window.
enum class OpButton {
    MemChDetailReadButton,
    MemBankDetailReadButton,
    AllBankDetailReadButton,
    MemChWriteButton,
    MemBankWriteButton,
    AllBankWriteButton,
    ScanGrpReadButton,
    ScanGrpAllReadButton,
    ScanGrpWriteButton,
    ScanGrpAllWriteButton,
    SearchBankReadButton,
    SearchBankAllReadButton,
    SearchBankWriteButton,
    SearchBankAllWriteButton,
    SearchGrpReadButton,
    SearchGrpAllReadButton,
    SearchGrpWriteButton,
    SearchGrpAllWriteButton,
};
constexpr int kOpButtonCount = 18;

OpFamily FamilyOf(OpButton button);
OpTab TabOf(OpFamily family);
OpTab TabOf(OpButton button);
const char* ButtonName(OpButton button);       // the control's objectName
const char* AbortButtonName(OpTab tab);        // e.g. "MemBankAbortButton"
std::vector<OpButton> ButtonsOf(OpTab tab);

// Timer modes (the Tag of Timer1).
enum TimerMode : std::int32_t {
    kTimerIdle = 0,         // no command in flight
    kTimerAwaitAnswer = 1,  // waiting for answers to the command just sent
    kTimerSendPending = 2,  // next send due after the 100 ms pause
};

constexpr std::int32_t kBusyIdle = -1;
constexpr std::int32_t kSendPauseMs = 100;
constexpr std::int32_t kCommandRetries = 3;

// The parts of a queued command's option string "[count](interval)".
struct CommandOption {
    std::int32_t count = 1;          // answers that complete the command (999 never read)
    std::int32_t intervalMs = 1000;  // tick interval; a command is given up after 3 ticks
    bool countGiven = false;         // the brackets held an integer
};
CommandOption ParseCommandOption(const QString& opt);

// The shared integer reading rule (IntText.h) for 32-bit fields. Returns false (and leaves
// *value alone) when the text cannot be read or does not fit in 32 bits.
bool ReadInt32(const QString& text, std::int32_t* value);

// An answer line whose first "?" is its first or third character.
bool IsErrorAnswer(const QString& line);

// The bytes written for a command line (8-bit, one byte per character).
std::string CommandBytes(const QString& cmd);

// Link list text: the two-digit numbers of the linked banks in ascending order, or "99".
QString LinkListText(const std::uint8_t (&link)[5]);

// What the engine needs of the outside world.
class CommandEngineHost {
public:
    virtual ~CommandEngineHost() = default;
    virtual void WriteCommand(const std::string& bytes) = 0;  // the command's bytes
    virtual void WriteLineEnd() = 0;                          // CR LF
    virtual void LogProgress(const QString& text) = 0;        // black progress entry
    virtual void LogSentCommand(const QString& cmd) = 0;      // blue sent-command entry
    // Clicks "COM Open"; false when the port did not open (the host has shown the error).
    virtual bool ClickComOpen() = 0;
    virtual void ClickComClose() = 0;
    virtual void RedrawTables() = 0;
    virtual void ShowBusyMessage() = 0;  // "Now Busy!"
    virtual void Sleep(std::int32_t ms) = 0;  // blocks the window thread
    // State mirrors: buttons/Abort of a tab, the progress bar, the busy mark.
    virtual void ButtonsChanged(OpTab tab) = 0;
    virtual void ProgressChanged(std::int32_t position, std::int32_t maximum) = 0;
};

// The engine's tick source (Timer1). Start() restarts with the given interval.
class EngineTimer {
public:
    virtual ~EngineTimer() = default;
    virtual void Start(std::int32_t ms) = 0;
    virtual void Stop() = 0;
    virtual bool IsActive() const = 0;
    virtual std::int32_t Interval() const = 0;
    virtual void SetTag(std::int32_t /*mode*/) {}  // mirrors the timer mode where it can
    std::function<void()> OnTick;
};

// A QTimer-based EngineTimer (objectName "Timer1", its "Tag" property the timer mode),
// optionally a child of `parent` so that it is found among the window's objects.
// Needs a running event loop.
std::unique_ptr<EngineTimer> MakeQtEngineTimer(QObject* parent = nullptr);

class CommandEngine {
public:
    using AnswerParser = std::function<bool(const QString& RxString)>;

    // The engine takes the timer; without one it makes a QTimer-based one.
    explicit CommandEngine(CommandEngineHost& host, std::unique_ptr<EngineTimer> timer = {});
    ~CommandEngine();
    CommandEngine(const CommandEngine&) = delete;
    CommandEngine& operator=(const CommandEngine&) = delete;

    // Test seam: every timer interval and "wait" sleep is divided by this (default 1).
    // Only tests change it; the program always runs at the real intervals.
    static void SetIntervalDivisor(std::int32_t divisor);
    static std::int32_t IntervalDivisor();

    // --- operations ---
    // Start steps 1 to 9. prepare runs at step 4, queue at step 7 (append with AppendCommand).
    // Returns false when refused as busy or when "COM Open" failed.
    bool StartOperation(OpButton button, std::int32_t busyValue,
                        const std::function<void()>& prepare,
                        const std::function<void(CommandEngine&)>& queue);
    // Appends one command with its option and raises the progress maximum by one.
    void AppendCommand(const QString& cmd, const QString& opt);
    void SetAnswerParser(OpFamily family, AnswerParser parser);
    // Called with every command once its bytes are on the wire, so that answer families
    // can tell which record the receiver was last asked about.
    void AddSentListener(std::function<void(const QString& cmd)> listener);
    // Logs the progress text "position / maximum".
    void LogProgressText();

    // --- the engine's own steps ---
    void MemoryCommandExec_send();
    void MemoryCommandExec_Next();
    void Timer1Timer();
    void MemoryRes_Rx1Line(const QString& RxString);
    void Abort(OpTab tab);
    QString Make_BK_Param() const;

    // --- state (read by the frame, the parsers and tests) ---
    const QStringList& CommandList() const { return commandList_; }
    const QStringList& CommandOptList() const { return commandOptList_; }
    const QString& SendedCommand() const { return sendedCommand_; }
    std::int32_t CommandRxCount() const { return commandRxCount_; }
    std::int32_t CommandRxLimit() const { return commandRxLimit_; }
    std::int32_t CommandRetry() const { return commandRetry_; }
    std::int32_t TimerTag() const { return timerMode_; }  // the Tag of Timer1
    std::int32_t TimerInterval() const { return timerInterval_; }  // unscaled ms
    bool TimerEnabled() const;
    std::int32_t BusyMark() const { return busyMark_; }  // the Tag of PageControl1
    void SetBusyMark(std::int32_t v) { busyMark_ = v; }
    std::int32_t ProgressMax() const { return progressMax_; }
    std::int32_t ProgressPosition() const { return progressPos_; }
    std::int32_t ButtonTag(OpButton b) const;
    bool ButtonEnabled(OpButton b) const;
    bool AbortEnabled(OpTab tab) const;
    bool FamilyRunning(OpFamily family) const;
    bool TabRunning(OpTab tab) const;
    EngineTimer& Timer() { return *timer_; }

    // Read and written by the search-bank operations; the end of an operation reads them.
    std::int32_t SearchBankState = 0;
    TSearchGrpElement SearchLinkBackup{};

private:
    void SetMode(std::int32_t mode);
    void StartTimer(std::int32_t mode, std::int32_t intervalMs);
    void StopTimer();
    void SetProgress(std::int32_t position, std::int32_t maximum);
    void QueueRaw(const QString& cmd, const QString& opt);
    void ResetTab(OpTab tab);
    void EndOperation();

    CommandEngineHost& host_;
    std::unique_ptr<EngineTimer> timer_;
    QStringList commandList_;
    QStringList commandOptList_;
    QString sendedCommand_;
    std::int32_t commandRxCount_ = 0;
    std::int32_t commandRxLimit_ = 1;
    std::int32_t commandRetry_ = 0;
    std::int32_t timerMode_ = kTimerIdle;
    std::int32_t timerInterval_ = 1000;
    std::int32_t busyMark_ = kBusyIdle;
    std::int32_t progressMax_ = 100;
    std::int32_t progressPos_ = 0;
    std::array<std::int32_t, kOpButtonCount> buttonTag_{};
    std::array<bool, kOpButtonCount> buttonEnabled_{};
    std::array<bool, kOpTabCount> abortEnabled_{};
    std::array<AnswerParser, kOpFamilyCount> parsers_{};
    std::vector<std::function<void(const QString&)>> sentListeners_;
};
