#include "CommandEngine.h"

#include "IntText.h"

#include <QObject>
#include <QTimer>
#include <QVariant>

#include <algorithm>
#include <limits>

namespace {

std::int32_t g_intervalDivisor = 1;

constexpr const char* kButtonNames[kOpButtonCount] = {
    "MemChDetailReadButton", "MemBankDetailReadButton", "AllBankDetailReadButton",
    "MemChWriteButton",      "MemBankWriteButton",      "AllBankWriteButton",
    "ScanGrpReadButton",     "ScanGrpAllReadButton",    "ScanGrpWriteButton",
    "ScanGrpAllWriteButton", "SearchBankReadButton",    "SearchBankAllReadButton",
    "SearchBankWriteButton", "SearchBankAllWriteButton", "SearchGrpReadButton",
    "SearchGrpAllReadButton", "SearchGrpWriteButton",   "SearchGrpAllWriteButton",
};

constexpr OpFamily kButtonFamily[kOpButtonCount] = {
    OpFamily::MemoryRead,      OpFamily::MemoryRead,      OpFamily::MemoryRead,
    OpFamily::MemoryWrite,     OpFamily::MemoryWrite,     OpFamily::MemoryWrite,
    OpFamily::ScanGrpRead,     OpFamily::ScanGrpRead,     OpFamily::ScanGrpWrite,
    OpFamily::ScanGrpWrite,    OpFamily::SearchBankRead,  OpFamily::SearchBankRead,
    OpFamily::SearchBankWrite, OpFamily::SearchBankWrite, OpFamily::SearchGrpRead,
    OpFamily::SearchGrpRead,   OpFamily::SearchGrpWrite,  OpFamily::SearchGrpWrite,
};

int Index(OpButton b) { return static_cast<int>(b); }
int Index(OpTab t) { return static_cast<int>(t); }
int Index(OpFamily f) { return static_cast<int>(f); }

// Interval as the timer runs it: scaled by the test divisor, never below 1 ms so that a
// command with a zero or negative interval is still given up.
std::int32_t TimerMs(std::int32_t ms)
{
    return std::max<std::int32_t>(1, ms / g_intervalDivisor);
}

// The text between the first `open` and the first `close`, or nothing when either is
// missing or they stand the wrong way round.
bool Between(const QString& s, QChar open, QChar close, QString* out)
{
    const qsizetype o = s.indexOf(open);
    const qsizetype c = s.indexOf(close);
    if (o < 0 || c < 0 || c <= o)
        return false;
    *out = s.mid(o + 1, c - o - 1);
    return true;
}

class QtEngineTimer : public EngineTimer {
public:
    explicit QtEngineTimer(QObject* parent)
    {
        // A by-value child leaves its parent when destroyed, so either may go first.
        timer_.setParent(parent);
        timer_.setObjectName(QStringLiteral("Timer1"));
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (OnTick)
                OnTick();
        });
    }
    void Start(std::int32_t ms) override { timer_.start(ms); }
    void Stop() override { timer_.stop(); }
    bool IsActive() const override { return timer_.isActive(); }
    std::int32_t Interval() const override { return timer_.interval(); }
    void SetTag(std::int32_t mode) override { timer_.setProperty("Tag", mode); }

private:
    QTimer timer_;
};

}  // namespace

OpFamily FamilyOf(OpButton button) { return kButtonFamily[Index(button)]; }

OpTab TabOf(OpFamily family)
{
    switch (family) {
    case OpFamily::MemoryRead:
    case OpFamily::MemoryWrite: return OpTab::MemCh;
    case OpFamily::ScanGrpRead:
    case OpFamily::ScanGrpWrite: return OpTab::ScanGroup;
    case OpFamily::SearchBankRead:
    case OpFamily::SearchBankWrite: return OpTab::SearchBank;
    case OpFamily::SearchGrpRead:
    case OpFamily::SearchGrpWrite: return OpTab::SearchGroup;
    }
    return OpTab::MemCh;
}

OpTab TabOf(OpButton button) { return TabOf(FamilyOf(button)); }

const char* ButtonName(OpButton button) { return kButtonNames[Index(button)]; }

const char* AbortButtonName(OpTab tab)
{
    switch (tab) {
    case OpTab::MemCh: return "MemBankAbortButton";
    case OpTab::ScanGroup: return "ScanGrpAbortButton";
    case OpTab::SearchBank: return "SearchBankAbortButton";
    case OpTab::SearchGroup: return "SearchGrpAbortButton";
    }
    return "";
}

std::vector<OpButton> ButtonsOf(OpTab tab)
{
    std::vector<OpButton> out;
    for (int i = 0; i < kOpButtonCount; ++i) {
        const auto b = static_cast<OpButton>(i);
        if (TabOf(b) == tab)
            out.push_back(b);
    }
    return out;
}

bool ReadInt32(const QString& text, std::int32_t* value)
{
    // Any text that is not Latin-1 cannot be a number; toLatin1 turns it into '?'.
    constexpr std::int64_t kUnreadable = std::numeric_limits<std::int64_t>::min();
    const QByteArray bytes = text.toLatin1();
    const std::int64_t v = ReadInt(std::string_view(bytes.constData(), bytes.size()), kUnreadable);
    if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max())
        return false;
    *value = static_cast<std::int32_t>(v);
    return true;
}

CommandOption ParseCommandOption(const QString& opt)
{
    CommandOption o;
    QString text;
    std::int32_t v = 0;
    if (Between(opt, QLatin1Char('['), QLatin1Char(']'), &text) && ReadInt32(text, &v) && v != 999) {
        o.count = v;
        o.countGiven = true;
    }
    if (Between(opt, QLatin1Char('('), QLatin1Char(')'), &text) && ReadInt32(text, &v))
        o.intervalMs = v;
    return o;
}

bool IsErrorAnswer(const QString& line)
{
    const qsizetype q = line.indexOf(QLatin1Char('?'));
    return q == 0 || q == 2;
}

std::string CommandBytes(const QString& cmd)
{
    // One byte per character; characters outside Latin-1 become '?'.
    return cmd.toLatin1().toStdString();
}

QString LinkListText(const std::uint8_t (&link)[5])
{
    QString out;
    for (int bank = 0; bank < 40; ++bank) {
        if ((link[bank / 8] >> (bank % 8)) & 1)
            out += QStringLiteral("%1").arg(bank, 2, 10, QLatin1Char('0'));
    }
    return out.isEmpty() ? QStringLiteral("99") : out;
}

std::unique_ptr<EngineTimer> MakeQtEngineTimer(QObject* parent)
{
    return std::make_unique<QtEngineTimer>(parent);
}

// ---------------------------------------------------------------------------

CommandEngine::CommandEngine(CommandEngineHost& host, std::unique_ptr<EngineTimer> timer)
    : host_(host), timer_(timer ? std::move(timer) : MakeQtEngineTimer())
{
    buttonEnabled_.fill(true);
    abortEnabled_[Index(OpTab::MemCh)] = true;
    abortEnabled_[Index(OpTab::SearchBank)] = true;
    timer_->OnTick = [this] { Timer1Timer(); };
    // The timer starts enabled in mode 0: its first tick only stops it.
    StartTimer(kTimerIdle, 1000);
}

CommandEngine::~CommandEngine()
{
    timer_->OnTick = nullptr;
    timer_->Stop();
}

void CommandEngine::SetIntervalDivisor(std::int32_t divisor) { g_intervalDivisor = std::max(1, divisor); }
std::int32_t CommandEngine::IntervalDivisor() { return g_intervalDivisor; }

bool CommandEngine::TimerEnabled() const { return timer_->IsActive(); }

std::int32_t CommandEngine::ButtonTag(OpButton b) const { return buttonTag_[Index(b)]; }
bool CommandEngine::ButtonEnabled(OpButton b) const { return buttonEnabled_[Index(b)]; }
bool CommandEngine::AbortEnabled(OpTab tab) const { return abortEnabled_[Index(tab)]; }

bool CommandEngine::FamilyRunning(OpFamily family) const
{
    for (int i = 0; i < kOpButtonCount; ++i) {
        if (kButtonFamily[i] == family && buttonTag_[i] == 1)
            return true;
    }
    return false;
}

bool CommandEngine::TabRunning(OpTab tab) const
{
    for (OpButton b : ButtonsOf(tab)) {
        if (buttonTag_[Index(b)] == 1)
            return true;
    }
    return false;
}

void CommandEngine::SetMode(std::int32_t mode)
{
    timerMode_ = mode;
    timer_->SetTag(mode);
}

void CommandEngine::StartTimer(std::int32_t mode, std::int32_t intervalMs)
{
    SetMode(mode);
    timerInterval_ = intervalMs;
    timer_->Start(TimerMs(intervalMs));
}

void CommandEngine::StopTimer() { timer_->Stop(); }

void CommandEngine::SetProgress(std::int32_t position, std::int32_t maximum)
{
    progressMax_ = std::max(0, maximum);
    progressPos_ = std::clamp(position, 0, progressMax_);
    host_.ProgressChanged(progressPos_, progressMax_);
}

void CommandEngine::QueueRaw(const QString& cmd, const QString& opt)
{
    commandList_.append(cmd);
    commandOptList_.append(opt);
}

void CommandEngine::AppendCommand(const QString& cmd, const QString& opt)
{
    QueueRaw(cmd, opt);
    SetProgress(progressPos_, progressMax_ + 1);
}

void CommandEngine::SetAnswerParser(OpFamily family, AnswerParser parser)
{
    parsers_[Index(family)] = std::move(parser);
}

void CommandEngine::LogProgressText()
{
    host_.LogProgress(QStringLiteral("%1 / %2").arg(progressPos_).arg(progressMax_));
}

QString CommandEngine::Make_BK_Param() const { return LinkListText(SearchLinkBackup.Link); }

bool CommandEngine::StartOperation(OpButton button, std::int32_t busyValue,
                                   const std::function<void()>& prepare,
                                   const std::function<void(CommandEngine&)>& queue)
{
    const OpTab tab = TabOf(button);
    if ((tab == OpTab::ScanGroup || tab == OpTab::SearchGroup) && busyMark_ != kBusyIdle) {
        host_.ShowBusyMessage();
        return false;
    }
    busyMark_ = busyValue;
    buttonTag_[Index(button)] = 1;
    for (OpButton b : ButtonsOf(tab))
        buttonEnabled_[Index(b)] = false;
    abortEnabled_[Index(tab)] = true;
    host_.ButtonsChanged(tab);

    if (prepare)
        prepare();
    // A port that does not open ends the start here; the tab stays marked until Abort.
    if (!host_.ClickComOpen())
        return false;

    StopTimer();
    if (queue)
        queue(*this);
    SetProgress(0, static_cast<std::int32_t>(commandList_.size()));
    StartTimer(kTimerSendPending, kSendPauseMs);
    return true;
}

void CommandEngine::AddSentListener(std::function<void(const QString& cmd)> listener)
{
    sentListeners_.push_back(std::move(listener));
}

void CommandEngine::MemoryCommandExec_send()
{
    StopTimer();
    commandRxCount_ = 0;
    commandRxLimit_ = 1;
    if (commandList_.isEmpty()) {
        // Nothing queued (the queue was emptied under a pending send): stay idle.
        SetMode(kTimerIdle);
        return;
    }
    SetProgress(progressPos_ + 1, progressMax_);
    LogProgressText();

    const CommandOption opt = ParseCommandOption(commandOptList_.at(0));
    if (opt.countGiven)
        commandRxLimit_ = opt.count;

    const QString cmd = commandList_.at(0);
    if (cmd.contains(QLatin1String("wait"))) {
        if (opt.intervalMs > 0)
            host_.Sleep(std::max<std::int32_t>(1, opt.intervalMs / g_intervalDivisor));
        MemoryCommandExec_Next();
        return;
    }

    host_.WriteCommand(CommandBytes(cmd));
    sendedCommand_ = cmd;
    host_.WriteLineEnd();
    host_.LogSentCommand(cmd);
    for (const auto& listener : sentListeners_)
        listener(cmd);

    // A write that lets window messages through may have run an Abort meanwhile; then
    // nothing is left to wait for.
    if (commandList_.isEmpty())
        return;
    commandRetry_ = kCommandRetries;
    StartTimer(kTimerAwaitAnswer, opt.intervalMs);
}

void CommandEngine::MemoryCommandExec_Next()
{
    if (commandList_.isEmpty())
        return;
    StopTimer();
    commandList_.removeFirst();
    commandOptList_.removeFirst();

    if (!commandList_.isEmpty()) {
        StartTimer(kTimerSendPending, kSendPauseMs);
        return;
    }
    if (sendedCommand_ != QLatin1String("EX")) {
        // The closing "EX" goes out at once and does not raise the progress maximum.
        QueueRaw(QStringLiteral("EX"), QStringLiteral("[-1](200)"));
        MemoryCommandExec_send();
        return;
    }
    EndOperation();
}

void CommandEngine::EndOperation()
{
    SetMode(kTimerIdle);
    if (TabRunning(OpTab::MemCh)) {
        host_.ClickComClose();
        ResetTab(OpTab::MemCh);
    }
    if (TabRunning(OpTab::ScanGroup))
        ResetTab(OpTab::ScanGroup);
    if (TabRunning(OpTab::SearchBank)) {
        if (SearchBankState >= 4) {
            // Send the saved search link list back before the tab is given back.
            QueueRaw(QStringLiteral("BK") + Make_BK_Param(), QStringLiteral("[1](200)"));
            SearchBankState = 6;
            SetProgress(progressPos_, progressMax_ + 1);
            StartTimer(kTimerSendPending, kSendPauseMs);
            return;
        }
        ResetTab(OpTab::SearchBank);
    }
    if (TabRunning(OpTab::SearchGroup))
        ResetTab(OpTab::SearchGroup);

    busyMark_ = kBusyIdle;
    SetProgress(0, progressMax_);
    host_.RedrawTables();
}

void CommandEngine::ResetTab(OpTab tab)
{
    for (OpButton b : ButtonsOf(tab)) {
        buttonTag_[Index(b)] = 0;
        buttonEnabled_[Index(b)] = true;
    }
    abortEnabled_[Index(tab)] = false;
    host_.ButtonsChanged(tab);
}

void CommandEngine::Timer1Timer()
{
    StopTimer();
    switch (timerMode_) {
    case kTimerAwaitAnswer:
        if (commandRetry_ > 0) {
            --commandRetry_;
            if (commandRetry_ == 0)
                MemoryCommandExec_Next();
        }
        // Re-enabling a running timer leaves its countdown alone.
        if (!timer_->IsActive())
            timer_->Start(TimerMs(timerInterval_));
        break;
    case kTimerSendPending:
        MemoryCommandExec_send();
        break;
    default:
        break;
    }
}

void CommandEngine::MemoryRes_Rx1Line(const QString& RxString)
{
    std::array<bool, kOpFamilyCount> running{};
    for (int f = 0; f < kOpFamilyCount; ++f)
        running[f] = FamilyRunning(static_cast<OpFamily>(f));

    int claimed = 0;
    for (int f = 0; f < kOpFamilyCount; ++f) {
        if (running[f] && parsers_[f] && parsers_[f](RxString))
            ++claimed;
    }
    if (claimed == 0 || timerMode_ == kTimerIdle)
        return;
    // No command waits for answers during the pause before the next send: a surplus
    // answer there must not complete (and so drop) the next command.
    if (timerMode_ == kTimerSendPending)
        return;

    if (IsErrorAnswer(RxString)) {
        if (commandRxLimit_ == -1)
            MemoryCommandExec_Next();
        return;
    }
    ++commandRxCount_;
    if (commandRxCount_ >= commandRxLimit_)
        MemoryCommandExec_Next();
}

void CommandEngine::Abort(OpTab tab)
{
    StopTimer();
    commandList_.clear();
    commandOptList_.clear();
    SetProgress(0, progressMax_);
    busyMark_ = kBusyIdle;
    ResetTab(tab);
}
