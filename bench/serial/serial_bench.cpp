// Measures the serial component against Qt Serial Port and a plain write/read loop on a
// pseudo-terminal pair: throughput of 8 MiB sent, latency from bytes written at the far end
// to their arrival in the window thread's receive handler, and CPU seconds per MiB.
// Prints one JSON object per line.
#include "CommX.h"

#include <QCoreApplication>
#include <QSerialPort>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::size_t kBulkBytes = 8u << 20;
constexpr int kRoundTrips = 2000;
constexpr std::size_t kMessage = 16;  // bytes per latency round trip, one command line's worth
constexpr int kPortNo = 9;
constexpr int kRounds = 5;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

double CpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec)
           + static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

class Pty {
public:
    Pty()
    {
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master_ < 0 || grantpt(master_) || unlockpt(master_)) throw std::runtime_error("pty");
        char name[128];
        ptsname_r(master_, name, sizeof name);
        slave_ = name;
        termios t{};
        tcgetattr(master_, &t);
        cfmakeraw(&t);
        tcsetattr(master_, TCSANOW, &t);
    }
    ~Pty() { close(master_); }
    int master() const { return master_; }
    const std::string& slave() const { return slave_; }

private:
    int master_;
    std::string slave_;
};

// Reads n bytes at the far end on its own thread; remembers when the last one came.
class FarEndReader {
public:
    FarEndReader(int fd, std::size_t n)
        : thread_([this, fd, n] {
              std::vector<char> buf(1 << 16);
              std::size_t got = 0;
              while (got < n) {
                  pollfd p{fd, POLLIN, 0};
                  if (poll(&p, 1, 1000) <= 0) continue;
                  const ssize_t r = read(fd, buf.data(), buf.size());
                  if (r > 0) got += static_cast<std::size_t>(r);
              }
              end_ = Clock::now();
          })
    {
    }
    Clock::time_point join()
    {
        thread_.join();
        return end_;
    }

private:
    Clock::time_point end_;
    std::thread thread_;
};

void WriteAll(int fd, const char* data, std::size_t n)
{
    while (n > 0) {
        const ssize_t w = write(fd, data, n);
        if (w > 0) {
            data += w;
            n -= static_cast<std::size_t>(w);
        } else {
            pollfd p{fd, POLLOUT, 0};
            poll(&p, 1, 100);
        }
    }
}

struct Result {
    double mibPerSecond = 0;
    double cpuPerMiB = 0;
    double medianUs = 0;
    double p99Us = 0;
};

// Latency figures from per-round-trip durations.
void Summarise(std::vector<double>& us, Result& r)
{
    std::sort(us.begin(), us.end());
    r.medianUs = us[us.size() / 2];
    r.p99Us = us[std::min(us.size() - 1, us.size() * 99 / 100)];
}

// ---- our component ----------------------------------------------------------------------

Result MeasureOurs(const std::string& runtimeDir)
{
    Result r;
    const std::string bulk(kBulkBytes, 'x');
    {
        Pty pty;
        std::filesystem::remove(runtimeDir + "/kestrel-ports/COM" + std::to_string(kPortNo));
        std::filesystem::create_symlink(pty.slave(), runtimeDir + "/kestrel-ports/COM" + std::to_string(kPortNo));
        TCommX comm;
        comm.setPortNo(kPortNo);
        comm.setBitRate(115200);
        comm.setFlowCtrl(cfcNone);
        comm.PortOpen();

        const double cpu0 = CpuSeconds();
        const auto t0 = Clock::now();
        FarEndReader reader(pty.master(), bulk.size());
        comm.TransBlock(bulk.data(), static_cast<std::int32_t>(bulk.size()));
        const auto t1 = reader.join();
        r.cpuPerMiB = (CpuSeconds() - cpu0) / 8.0;
        r.mibPerSecond = 8.0 / Seconds(t1 - t0);

        std::vector<double> us;
        std::string buf;
        std::size_t got = 0;
        Clock::time_point arrived;
        comm.OnReceive = [&](TCustomCommX* s, std::int32_t size) {
            buf.resize(static_cast<std::size_t>(size));
            const auto n = s->ReceiveBlock(buf.data(), size);
            if (n > 0) got += static_cast<std::size_t>(n);
            if (got >= kMessage) arrived = Clock::now();
        };
        const std::string msg(kMessage, 'r');
        for (int i = 0; i < kRoundTrips; ++i) {
            got = 0;
            const auto start = Clock::now();
            WriteAll(pty.master(), msg.data(), msg.size());
            while (got < kMessage) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            us.push_back(std::chrono::duration<double, std::micro>(arrived - start).count());
        }
        Summarise(us, r);
        comm.PortClose();
    }
    return r;
}

// ---- Qt Serial Port ---------------------------------------------------------------------

Result MeasureQt()
{
    Result r;
    const std::string bulk(kBulkBytes, 'x');
    Pty pty;
    QSerialPort port(QString::fromStdString(pty.slave()));
    port.setBaudRate(115200);
    if (!port.open(QIODevice::ReadWrite)) throw std::runtime_error("QSerialPort open: " + port.errorString().toStdString());

    const double cpu0 = CpuSeconds();
    const auto t0 = Clock::now();
    FarEndReader reader(pty.master(), bulk.size());
    port.write(bulk.data(), static_cast<qint64>(bulk.size()));
    while (port.bytesToWrite() > 0) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const auto t1 = reader.join();
    r.cpuPerMiB = (CpuSeconds() - cpu0) / 8.0;
    r.mibPerSecond = 8.0 / Seconds(t1 - t0);

    std::vector<double> us;
    std::size_t got = 0;
    Clock::time_point arrived;
    QObject::connect(&port, &QSerialPort::readyRead, [&] {
        got += static_cast<std::size_t>(port.readAll().size());
        if (got >= kMessage) arrived = Clock::now();
    });
    const std::string msg(kMessage, 'r');
    for (int i = 0; i < kRoundTrips; ++i) {
        got = 0;
        const auto start = Clock::now();
        WriteAll(pty.master(), msg.data(), msg.size());
        while (got < kMessage) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        us.push_back(std::chrono::duration<double, std::micro>(arrived - start).count());
    }
    Summarise(us, r);
    port.close();
    return r;
}

// ---- plain write/read loop: the limit ---------------------------------------------------

Result MeasurePlain()
{
    Result r;
    const std::string bulk(kBulkBytes, 'x');
    Pty pty;
    const int fd = open(pty.slave().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    termios t{};
    tcgetattr(fd, &t);
    cfmakeraw(&t);
    tcsetattr(fd, TCSANOW, &t);

    const double cpu0 = CpuSeconds();
    const auto t0 = Clock::now();
    FarEndReader reader(pty.master(), bulk.size());
    for (std::size_t at = 0; at < bulk.size(); at += 1 << 16)
        WriteAll(fd, bulk.data() + at, std::min<std::size_t>(1 << 16, bulk.size() - at));
    const auto t1 = reader.join();
    r.cpuPerMiB = (CpuSeconds() - cpu0) / 8.0;
    r.mibPerSecond = 8.0 / Seconds(t1 - t0);

    std::vector<double> us;
    const std::string msg(kMessage, 'r');
    char buf[256];
    for (int i = 0; i < kRoundTrips; ++i) {
        std::size_t got = 0;
        const auto start = Clock::now();
        WriteAll(pty.master(), msg.data(), msg.size());
        while (got < kMessage) {
            pollfd p{fd, POLLIN, 0};
            poll(&p, 1, -1);
            const ssize_t n = read(fd, buf, sizeof buf);
            if (n > 0) got += static_cast<std::size_t>(n);
        }
        us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    Summarise(us, r);
    close(fd);
    return r;
}

Result Median(std::vector<Result> runs)
{
    const auto pick = [&](double Result::*field) {
        std::vector<double> v;
        for (const auto& r : runs) v.push_back(r.*field);
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    Result m;
    m.mibPerSecond = pick(&Result::mibPerSecond);
    m.cpuPerMiB = pick(&Result::cpuPerMiB);
    m.medianUs = pick(&Result::medianUs);
    m.p99Us = pick(&Result::p99Us);
    return m;
}

void Emit(const char* impl, const char* metric, double value, const char* unit)
{
    std::printf("{\"bench\": \"serial/%s\", \"metric\": \"%s\", \"value\": %.6g, \"unit\": \"%s\"}\n", impl,
                metric, value, unit);
}

void Compare(const char* metric, double ours, double peerValue, const char* peer, const char* unit)
{
    std::printf("{\"bench\": \"serial/ours\", \"metric\": \"%s\", \"value\": %.6g, \"unit\": \"%s\", "
                "\"peer\": \"%s\", \"ratio\": %.4g}\n",
                metric, ours, unit, peer, peerValue != 0 ? ours / peerValue : 0.0);
}

void EmitAll(const char* impl, const Result& r)
{
    Emit(impl, "throughput_8MiB", r.mibPerSecond, "MiB/s");
    Emit(impl, "latency_median", r.medianUs, "us");
    Emit(impl, "latency_p99", r.p99Us, "us");
    Emit(impl, "cpu_per_MiB", r.cpuPerMiB, "s/MiB");
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    char tmpl[] = "/tmp/kestrel-bench-XXXXXX";
    if (!mkdtemp(tmpl)) return 1;
    const std::string runtimeDir = tmpl;
    std::filesystem::create_directory(runtimeDir + "/kestrel-ports");
    setenv("XDG_RUNTIME_DIR", runtimeDir.c_str(), 1);

    // Rounds interleave the three so that they share the machine's conditions; each figure
    // is the median over the rounds.
    std::vector<Result> oursRuns, qtRuns, plainRuns;
    for (int round = 0; round < kRounds; ++round) {
        oursRuns.push_back(MeasureOurs(runtimeDir));
        qtRuns.push_back(MeasureQt());
        plainRuns.push_back(MeasurePlain());
    }
    std::filesystem::remove_all(runtimeDir);
    const Result ours = Median(oursRuns);
    const Result qt = Median(qtRuns);
    const Result plain = Median(plainRuns);

    EmitAll("ours", ours);
    EmitAll("qtserialport", qt);
    EmitAll("plain_loop", plain);
    const std::pair<const char*, const Result*> peers[] = {{"qtserialport", &qt}, {"plain_loop", &plain}};
    for (const auto& [name, p] : peers) {
        Compare("throughput_8MiB", ours.mibPerSecond, p->mibPerSecond, name, "MiB/s");
        Compare("latency_median", ours.medianUs, p->medianUs, name, "us");
        Compare("latency_p99", ours.p99Us, p->p99Us, name, "us");
        Compare("cpu_per_MiB", ours.cpuPerMiB, p->cpuPerMiB, name, "s/MiB");
    }
    return 0;
}
