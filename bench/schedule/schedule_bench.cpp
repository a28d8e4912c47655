// How much time and CPU the program adds to what the protocol itself takes.
//
// Against the receiver simulator, at the real intervals: 1 Bank Read of a bank with 10
// channels holding data (bank 3 of the simulator's demo image), then 1 Bank Write of it.
// Every send is time-stamped (the progress position rises right before the write), every
// completing answer too. The ideal time of an operation is what its own timing implies:
// the fixed waits of "COM Open" and "COM Close", the 100 ms pause before each send (none
// before the closing "EX"), the simulator's answer latency (measured in the same run on
// the bare device, before and after) for each answered command, and three ticks of the
// interval for each command that got no counted answer ("MR" with "[1](2)" by design).
// The CPU time of the whole process (all threads) over the same wall time is the idle cost.
//
// Then All Banks Read and All Banks Write of a full 40 x 50 receiver at scaled intervals:
// their measured time, and the time they take at the real intervals projected from the
// per-command costs measured above and the command counts of the scaled run; and the peak
// resident memory after the All Banks Read.
//
//   kestrel-bench-schedule [--divisor N] [--skip-full] [--skip-real]
//
// One JSON object per line on stdout; progress on stderr.
#include "CommX.h"
#include "CommandEngine.h"
#include "FormMain.h"
#include "FormMemory.h"
#include "FormTerminal.h"
#include "MemoryTab.h"
#include "UiPrompts.h"
#include "WindowWait.h"

#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <fcntl.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

void Emit(const std::string& bench, const std::string& metric, double value, const char* unit)
{
    std::printf("{\"bench\": \"%s\", \"metric\": \"%s\", \"value\": %.6g, \"unit\": \"%s\"}\n", bench.c_str(),
                metric.c_str(), value, unit);
    std::fflush(stdout);
}

void Compare(const std::string& bench, const std::string& metric, double value, const char* unit, const char* peer,
             double peerValue)
{
    std::printf("{\"bench\": \"%s\", \"metric\": \"%s\", \"value\": %.6g, \"unit\": \"%s\", \"peer\": \"%s\", "
                "\"peer_value\": %.6g, \"ratio\": %.4f}\n",
                bench.c_str(), metric.c_str(), value, unit, peer, peerValue, peerValue > 0 ? value / peerValue : 0.0);
    std::fflush(stdout);
}

double CpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double PeakRssMiB()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

double Median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The simulator as a child process on its own port folder.
class Sim {
public:
    explicit Sim(const QString& runtime) : runtime_(runtime) {}
    ~Sim()
    {
        proc_.terminate();
        if (!proc_.waitForFinished(5000))
            proc_.kill();
    }
    bool Start(const QString& path, const QStringList& args)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", runtime_);
        proc_.setProcessEnvironment(env);
        proc_.start(path, args);
        if (!proc_.waitForStarted(5000))
            return false;
        QDeadlineTimer deadline(10000);
        while (!proc_.canReadLine() && !deadline.hasExpired())
            proc_.waitForReadyRead(100);
        const auto m = QRegularExpression("^port COM(\\d+) (\\S+)").match(QString::fromLocal8Bit(proc_.readLine()));
        if (!m.hasMatch())
            return false;
        com_ = m.captured(1).toInt();
        device_ = m.captured(2);
        return true;
    }
    int Com() const { return com_; }
    const QString& Device() const { return device_; }

private:
    QString runtime_;
    QProcess proc_;
    int com_ = 0;
    QString device_;
};

// Median round trip of "AZ" on the bare device: the simulator's own answer latency.
double SimLatencyMs(const QString& device, int samples)
{
    const int fd = ::open(device.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    if (fd < 0)
        return -1;
    termios t{};
    tcgetattr(fd, &t);
    cfmakeraw(&t);
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    tcsetattr(fd, TCSANOW, &t);
    tcflush(fd, TCIOFLUSH);
    std::vector<double> ms;
    for (int i = 0; i < samples; ++i) {
        QElapsedTimer clock;
        clock.start();
        if (::write(fd, "AZ\r\n", 4) != 4)
            break;
        char c = 0;
        while (::read(fd, &c, 1) == 1 && c != '\r') {
        }
        ms.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    ::close(fd);
    return Median(ms);
}

struct Forms {
    TFormMain main;
    TFormTerminal terminal{main.CommX1};
    TFormMemory memory{main, main.CommX1, terminal};
    Forms() { main.setTerminal(&terminal); }
    ~Forms() { main.setTerminal(nullptr); }
    memtab::TMemoryTab* Tab() { return memory.findChild<memtab::TMemoryTab*>("MemoryTab"); }
    bool SelectPort(int com)
    {
        main.ComSearchButtonClick();
        const int i = main.ComPortComboBox->findText(QStringLiteral("COM%1(").arg(com), Qt::MatchStartsWith);
        if (i < 0)
            return false;
        main.ComPortComboBox->setCurrentIndex(i);
        return main.CommX1.PortNo() == com;
    }
};

// One command as the engine sent it, and how it ended.
struct Sent {
    QString command;
    std::int32_t intervalMs = 0;
    double sentMs = 0;       // since the click
    double completedMs = -1; // its completing answer, if any
    bool timedOut = false;
};

// Time-stamps every send and every completing answer of one operation.
class Recorder {
public:
    Recorder(Forms& f) : forms_(f), engine_(f.memory.Engine())
    {
        // Only a send raises the position; the start and the end set it to 0.
        progress_ = QObject::connect(f.memory.ProgressBar1, &QProgressBar::valueChanged, [this](int v) {
            if (v > lastPosition_)
                OnSend();
            lastPosition_ = v;
        });
        dispatch_ = f.terminal.OnRxLine;
        f.terminal.OnRxLine = [this](const QString& line) {
            const std::size_t n = sent_.size();
            const std::int32_t before = engine_.TimerTag();
            // Arrival time: the dispatch of the last answer runs the end of the operation
            // ("COM Close" and its wait) before it returns.
            const double arrived = Now();
            dispatch_(line);
            // The line completed the command when the engine left its wait for answers or
            // sent the next one at once (the closing "EX").
            if (n == 0 || before != kTimerAwaitAnswer)
                return;
            Sent& s = sent_[n - 1];
            if (s.completedMs < 0 && (sent_.size() > n || engine_.TimerTag() != kTimerAwaitAnswer))
                s.completedMs = arrived;
        };
    }
    ~Recorder()
    {
        QObject::disconnect(progress_);
        forms_.terminal.OnRxLine = dispatch_;
    }

    void Start() { clock_.start(); }
    double Now() const { return double(clock_.nsecsElapsed()) / 1e6; }
    // A command without a completing answer was given up after its time-out.
    void Finish()
    {
        for (Sent& s : sent_)
            s.timedOut = s.completedMs < 0;
    }
    const std::vector<Sent>& Commands() const { return sent_; }

private:
    void OnSend()
    {
        if (engine_.CommandList().isEmpty())
            return;
        Sent s;
        s.command = engine_.CommandList().at(0);
        s.intervalMs = ParseCommandOption(engine_.CommandOptList().at(0)).intervalMs;
        s.sentMs = Now();
        sent_.push_back(s);
    }

    Forms& forms_;
    CommandEngine& engine_;
    QMetaObject::Connection progress_;
    std::function<void(const QString&)> dispatch_;
    std::vector<Sent> sent_;
    QElapsedTimer clock_;
    int lastPosition_ = 0;
};

struct RunResult {
    double wallMs = 0;
    double cpuS = 0;
    std::vector<Sent> commands;
};

// Clicks the button and returns once the memory tab is idle again.
RunResult Run(Forms& f, QPushButton* button)
{
    CommandEngine& engine = f.memory.Engine();
    Recorder rec(f);
    QEventLoop loop;
    // The end of an operation resets the progress position; check then, and now and then
    // in case the end comes another way.
    auto check = [&] {
        if (!engine.TabRunning(OpTab::MemCh))
            loop.quit();
    };
    const auto c = QObject::connect(f.memory.ProgressBar1, &QProgressBar::valueChanged, &loop, check);
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, &loop, check);
    watchdog.start(1000);

    RunResult r;
    const double cpu0 = CpuSeconds();
    rec.Start();
    button->click();
    if (engine.TabRunning(OpTab::MemCh))
        loop.exec();
    r.wallMs = rec.Now();
    r.cpuS = CpuSeconds() - cpu0;
    QObject::disconnect(c);
    rec.Finish();
    r.commands = rec.Commands();
    return r;
}

// Per-command cost by how the command ended: answered, or timed out at a given interval.
struct CostTable {
    std::vector<double> answered;                 // ms from send to the next send
    std::map<std::int32_t, std::vector<double>> timedOut;
};

// Wait before the send; "EX" goes out at once.
double PauseOf(const Sent& s) { return s.command == QLatin1String("EX") ? 0.0 : double(kSendPauseMs); }

struct Analysis {
    double idealMs = 0;
    int answered = 0;
    int timedOut = 0;
    double pauseExcessMs = 0;    // mean (next send - completing answer - 100 ms)
    double latencyExcessMs = 0;  // mean (completing answer - send - simulator latency)
    double timeoutExcessMs = 0;  // mean (next send - send - 100 ms - 3 ticks), timed-out ones
    std::vector<double> latencyExcess;  // each answered command's
};

double Percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, std::size_t(p * double(v.size())))];
}

constexpr double kComOpenMs = 500;   // "COM Open" on a closed port
constexpr double kComCloseMs = 500;  // "COM Close"

// The timer's intervals as the engine runs them at a divisor (never below 1 ms).
double Scaled(double ms, double divisor) { return std::max(1.0, std::floor(ms / divisor)); }
double ScaledPause(const Sent& s, double divisor) { return PauseOf(s) > 0 ? Scaled(PauseOf(s), divisor) : 0.0; }

Analysis Analyse(const RunResult& r, double simLatencyMs, double divisor, CostTable* costs)
{
    Analysis a;
    a.idealMs = (kComOpenMs + kComCloseMs) * WindowWait::scale;
    std::vector<double> pause, latency, timeout;
    for (std::size_t i = 0; i < r.commands.size(); ++i) {
        const Sent& s = r.commands[i];
        const double tick = Scaled(s.intervalMs, divisor);
        const double ownPause = ScaledPause(s, divisor);
        a.idealMs += ownPause + (s.timedOut ? 3 * tick : simLatencyMs);
        // Until the next send, less its pause; the last command runs until the end of the
        // operation, less the "COM Close" wait.
        const bool last = i + 1 == r.commands.size();
        const double nextMs = last ? r.wallMs - kComCloseMs * WindowWait::scale : r.commands[i + 1].sentMs;
        const double nextPause = last ? 0.0 : ScaledPause(r.commands[i + 1], divisor);
        const double cost = ownPause + (nextMs - nextPause - s.sentMs);
        if (s.timedOut) {
            ++a.timedOut;
            timeout.push_back(nextMs - nextPause - s.sentMs - 3 * tick);
            if (costs)
                costs->timedOut[s.intervalMs].push_back(cost);
        } else {
            ++a.answered;
            latency.push_back(s.completedMs - s.sentMs - simLatencyMs);
            if (!last)
                pause.push_back(nextMs - s.completedMs - nextPause);
            if (costs)
                costs->answered.push_back(cost);
        }
    }
    auto mean = [](const std::vector<double>& v) {
        double sum = 0;
        for (double x : v)
            sum += x;
        return v.empty() ? 0.0 : sum / double(v.size());
    };
    a.pauseExcessMs = mean(pause);
    a.latencyExcessMs = mean(latency);
    a.latencyExcess = latency;
    a.timeoutExcessMs = mean(timeout);
    return a;
}

void Report(const std::string& op, const RunResult& r, const Analysis& a)
{
    const std::string bench = "schedule/" + op;
    Compare(bench, "time", r.wallMs / 1000, "s", "protocol_ideal", a.idealMs / 1000);
    Emit(bench, "ideal_time", a.idealMs / 1000, "s");
    Emit(bench, "commands_answered", a.answered, "count");
    Emit(bench, "commands_timed_out", a.timedOut, "count");
    Emit(bench, "pause_excess_mean", a.pauseExcessMs, "ms");
    Emit(bench, "answer_path_excess_mean", a.latencyExcessMs, "ms");
    Emit(bench, "timeout_excess_mean", a.timeoutExcessMs, "ms");
    // A few late answers make the mean; the spread shows whether they wait on something.
    Emit(bench, "answer_path_excess_p50", Percentile(a.latencyExcess, 0.5), "ms");
    Emit(bench, "answer_path_excess_p90", Percentile(a.latencyExcess, 0.9), "ms");
    Emit(bench, "answer_path_excess_max", Percentile(a.latencyExcess, 1.0), "ms");
    int over15 = 0;
    for (double x : a.latencyExcess)
        over15 += x > 15;
    Emit(bench, "answers_later_than_15ms", over15, "count");
    Emit(bench, "cpu_per_wall_second", r.wallMs > 0 ? r.cpuS / (r.wallMs / 1000) : 0, "s/s");
}

double Mean(const std::vector<double>& v)
{
    double s = 0;
    for (double x : v)
        s += x;
    return v.empty() ? 0 : s / double(v.size());
}

// Real-interval time of a run, from its command counts and the real per-command costs.
double ProjectMs(const RunResult& scaled, const CostTable& real)
{
    double ms = kComOpenMs + kComCloseMs;
    const double answered = Mean(real.answered);
    for (const Sent& s : scaled.commands) {
        if (!s.timedOut) {
            ms += answered;
            continue;
        }
        const auto it = real.timedOut.find(s.intervalMs);
        // A time-out never seen at the real intervals: its protocol time.
        ms += it != real.timedOut.end() ? Mean(it->second) : PauseOf(s) + 3.0 * s.intervalMs;
    }
    return ms;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int divisor = 50;
    bool skipFull = false, skipReal = false;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--divisor" && i + 1 < args.size())
            divisor = std::max(1, args[++i].toInt());
        else if (args[i] == "--skip-full")
            skipFull = true;
        else if (args[i] == "--skip-real")
            skipReal = true;
        else {
            std::fprintf(stderr, "usage: %s [--divisor N] [--skip-full] [--skip-real]\n", argv[0]);
            return 2;
        }
    }
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    QStringList shown;
    UiPrompts::setMessageHook([&shown](QWidget*, const UiMessage& m) { shown << m.text; });
    const QString simPath = QStringLiteral(KESTREL_SIM_PATH);

    CostTable realCosts;
    if (!skipReal) {
        Sim sim(runtime.path());
        if (!sim.Start(simPath, {})) {
            std::fprintf(stderr, "simulator did not start\n");
            return 1;
        }
        Forms f;
        if (!f.Tab() || !f.SelectPort(sim.Com()))
            return 1;
        const double latency0 = SimLatencyMs(sim.Device(), 25);
        f.Tab()->MemBankComboBox->setCurrentIndex(3);
        std::fprintf(stderr, "1 Bank Read at the real intervals...\n");
        const RunResult read = Run(f, f.Tab()->MemBankDetailReadButton);
        std::fprintf(stderr, "1 Bank Write at the real intervals...\n");
        const RunResult write = Run(f, f.Tab()->MemBankWriteButton);
        const double latency1 = SimLatencyMs(sim.Device(), 25);
        const double latency = (latency0 + latency1) / 2;
        Emit("schedule", "simulator_latency_median", latency, "ms");
        Report("bank_read", read, Analyse(read, latency, 1, &realCosts));
        Report("bank_write", write, Analyse(write, latency, 1, &realCosts));
        Emit("schedule", "cost_answered_command_mean", Mean(realCosts.answered), "ms");
        for (const auto& [interval, v] : realCosts.timedOut)
            Emit("schedule", "cost_timed_out_command_mean_" + std::to_string(interval) + "ms", Mean(v), "ms");
    }

    if (!skipFull) {
        CommandEngine::SetIntervalDivisor(divisor);
        WindowWait::scale = 1.0 / divisor;
        Sim sim(runtime.path());
        if (!sim.Start(simPath, {"--full"}))
            return 1;
        Forms f;
        if (!f.Tab() || !f.SelectPort(sim.Com()))
            return 1;
        const std::string tag = "schedule/full_receiver_d" + std::to_string(divisor);
        std::fprintf(stderr, "All Banks Read of a full receiver at 1/%d of the intervals...\n", divisor);
        const RunResult read = Run(f, f.Tab()->AllBankDetailReadButton);
        const double rss = PeakRssMiB();
        std::fprintf(stderr, "All Banks Write of it...\n");
        const RunResult write = Run(f, f.Tab()->AllBankWriteButton);
        for (const auto& [op, r] : {std::pair{"all_banks_read", &read}, std::pair{"all_banks_write", &write}}) {
            Emit(tag + "/" + op, "measured_time_scaled", r->wallMs / 1000, "s");
            Emit(tag + "/" + op, "commands", double(r->commands.size()), "count");
            if (!realCosts.answered.empty())
                Emit(tag + "/" + op, "projected_time_real_intervals", ProjectMs(*r, realCosts) / 1000, "s");
            Emit(tag + "/" + op, "cpu_per_wall_second", r->wallMs > 0 ? r->cpuS / (r->wallMs / 1000) : 0, "s/s");
            // Send to send in the first and the last tenth: a cost that grows with the run
            // (the traffic log, the queue) shows as a difference.
            const std::size_t n = r->commands.size(), tenth = n / 10;
            if (tenth > 1) {
                auto span = [&](std::size_t from) {
                    return (r->commands[from + tenth - 1].sentMs - r->commands[from].sentMs) / double(tenth - 1);
                };
                Emit(tag + "/" + op, "send_interval_first_tenth", span(0), "ms");
                Emit(tag + "/" + op, "send_interval_last_tenth", span(n - tenth), "ms");
            }
        }
        Emit("memory", "peak_rss_after_all_banks_read", rss, "MiB");
    }
    if (!shown.isEmpty())
        std::fprintf(stderr, "messages shown: %s\n", qPrintable(shown.join(" | ")));
    return shown.isEmpty() ? 0 : 1;
}
