// Shared pieces of the memory tab's end-to-end tests: the simulator process, the real
// forms, and the comparison of stored channels with the simulator's memory dump.
#pragma once

#include "CommX.h"
#include "CommandEngine.h"
#include "FormMain.h"
#include "FormMemory.h"
#include "FormTerminal.h"
#include "FreqText.h"
#include "MemTableText.h"
#include "MemoryTab.h"
#include "UiPrompts.h"
#include "WindowWait.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <signal.h>

#include <map>
#include <memory>
#include <utility>

namespace memory_e2e {

// The simulator on its own pseudo-terminal, registered as a virtual COM port.
class Sim {
public:
    Sim(const QString& runtimeDir, const QString& name) : runtimeDir_(runtimeDir), name_(name) {}
    ~Sim()
    {
        if (proc_.state() != QProcess::NotRunning) {
            proc_.terminate();
            if (!proc_.waitForFinished(5000))
                proc_.kill();
        }
    }

    bool Start(const QStringList& extra)
    {
        logPath_ = runtimeDir_ + "/" + name_ + ".log";
        dumpPath_ = runtimeDir_ + "/" + name_ + ".json";
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", runtimeDir_);
        proc_.setProcessEnvironment(env);
        proc_.start(KESTREL_SIM_PATH, QStringList{"--log", logPath_, "--dump", dumpPath_} + extra);
        if (!proc_.waitForStarted(5000))
            return false;
        const auto m = QRegularExpression("^port COM(\\d+) ").match(ReadLine());
        com_ = m.hasMatch() ? m.captured(1).toInt() : 0;
        return com_ > 0;
    }
    int Com() const { return com_; }

    // Commands the simulator received, in order.
    QStringList Commands() const
    {
        QFile f(logPath_);
        QStringList out;
        if (!f.open(QIODevice::ReadOnly))
            return out;
        for (const QByteArray& l : f.readAll().split('\n'))
            if (l.startsWith("> ") || l == ">")
                out << QString::fromLatin1(l.mid(2));
        return out;
    }

    QJsonObject Dump()
    {
        QFile::remove(dumpPath_);
        ::kill(static_cast<pid_t>(proc_.processId()), SIGUSR1);
        const QString line = ReadLine();
        QFile f(dumpPath_);
        if (!line.startsWith("dumped") || !f.open(QIODevice::ReadOnly))
            return {};
        return QJsonDocument::fromJson(f.readAll()).object();
    }

private:
    QString ReadLine()
    {
        QDeadlineTimer deadline(10000);
        while (!proc_.canReadLine() && !deadline.hasExpired())
            proc_.waitForReadyRead(100);
        return QString::fromLocal8Bit(proc_.readLine()).trimmed();
    }

    QString runtimeDir_;
    QString name_;
    QProcess proc_;
    QString logPath_;
    QString dumpPath_;
    int com_ = 0;
};

struct Forms {
    TFormMain main;
    TFormTerminal terminal{main.CommX1};
    TFormMemory memory{main, main.CommX1, terminal};
    Forms() { main.setTerminal(&terminal); }
    ~Forms() { main.setTerminal(nullptr); }
};

using ChannelMap = std::map<std::pair<int, int>, QJsonObject>;

inline ChannelMap Channels(const QJsonObject& dump)
{
    ChannelMap out;
    for (const auto& v : dump.value("MemChData").toArray()) {
        const QJsonObject o = v.toObject();
        out[{o.value("bank").toInt(), o.value("channel").toInt()}] = o;
    }
    return out;
}

// Fields every channel write carries; the reads also bring the step and its adjust, the
// IF bandwidth under F-AU and the AGC in FM.
const char* const kCarried[] = {
    "Dem_DModeEnable", "DMode",          "AMode",          "MemFlag_Pass",     "MemFlag_ProtectFlag",
    "OffsetFreq",      "VoiceSCR",       "DCR_CODE",       "DCR_WHITE",        "RF_SQ_N_L_Type",
    "RF_TETRA_Slot",   "RF_ATT",         "Dem_DENOIS",     "Dem_SQL_Type",     "Dem_DigiDecode",
    "Dem_DMR_Slot",    "Dem_AutoBand",   "P25_NACCode",    "P25_NACCodeMute",  "CTCSS_CODE",
    "DCS_CODE",        "DMR_ColorCode",  "DMR_ColorCodeMute", "NXDN_RANCode",  "NXDN_RANCodeMute"};

inline qint64 Field(const TMemChElement& c, const QString& name)
{
    static const std::map<QString, qint64 (*)(const TMemChElement&)> get = {
        {"Dem_DModeEnable", [](const TMemChElement& c) -> qint64 { return c.Dem_DModeEnable; }},
        {"DMode", [](const TMemChElement& c) -> qint64 { return c.DMode; }},
        {"AMode", [](const TMemChElement& c) -> qint64 { return c.AMode; }},
        {"MemFlag_Pass", [](const TMemChElement& c) -> qint64 { return c.MemFlag_Pass; }},
        {"MemFlag_ProtectFlag", [](const TMemChElement& c) -> qint64 { return c.MemFlag_ProtectFlag; }},
        {"OffsetFreq", [](const TMemChElement& c) -> qint64 { return c.OffsetFreq; }},
        {"VoiceSCR", [](const TMemChElement& c) -> qint64 { return c.VoiceSCR; }},
        {"DCR_CODE", [](const TMemChElement& c) -> qint64 { return c.DCR_CODE; }},
        {"DCR_WHITE", [](const TMemChElement& c) -> qint64 { return c.DCR_WHITE; }},
        {"RF_SQ_N_L_Type", [](const TMemChElement& c) -> qint64 { return c.RF_SQ_N_L_Type; }},
        {"RF_TETRA_Slot", [](const TMemChElement& c) -> qint64 { return c.RF_TETRA_Slot; }},
        {"RF_ATT", [](const TMemChElement& c) -> qint64 { return c.RF_ATT; }},
        {"Dem_DENOIS", [](const TMemChElement& c) -> qint64 { return c.Dem_DENOIS; }},
        {"Dem_SQL_Type", [](const TMemChElement& c) -> qint64 { return c.Dem_SQL_Type; }},
        {"Dem_DigiDecode", [](const TMemChElement& c) -> qint64 { return c.Dem_DigiDecode; }},
        {"Dem_DMR_Slot", [](const TMemChElement& c) -> qint64 { return c.Dem_DMR_Slot; }},
        {"Dem_AutoBand", [](const TMemChElement& c) -> qint64 { return c.Dem_AutoBand; }},
        {"P25_NACCode", [](const TMemChElement& c) -> qint64 { return c.P25_NACCode; }},
        {"P25_NACCodeMute", [](const TMemChElement& c) -> qint64 { return c.P25_NACCodeMute; }},
        {"CTCSS_CODE", [](const TMemChElement& c) -> qint64 { return c.CTCSS_CODE; }},
        {"DCS_CODE", [](const TMemChElement& c) -> qint64 { return c.DCS_CODE; }},
        {"DMR_ColorCode", [](const TMemChElement& c) -> qint64 { return c.DMR_ColorCode; }},
        {"DMR_ColorCodeMute", [](const TMemChElement& c) -> qint64 { return c.DMR_ColorCodeMute; }},
        {"NXDN_RANCode", [](const TMemChElement& c) -> qint64 { return c.NXDN_RANCode; }},
        {"NXDN_RANCodeMute", [](const TMemChElement& c) -> qint64 { return c.NXDN_RANCodeMute; }},
        {"IFBW", [](const TMemChElement& c) -> qint64 { return c.IFBW; }},
        {"RF_AGC", [](const TMemChElement& c) -> qint64 { return c.RF_AGC; }},
        {"StepFreq", [](const TMemChElement& c) -> qint64 { return c.StepFreq; }},
        {"AdjFreq", [](const TMemChElement& c) -> qint64 { return c.AdjFreq; }},
        {"RxFreq", [](const TMemChElement& c) -> qint64 { return c.RxFreq; }},
    };
    return get.at(name)(c);
}

inline QString Title(const TMemChElement& c)
{
    const std::u16string t = TitleText(c.Title);
    return QString::fromUtf16(t.data(), static_cast<qsizetype>(t.size()));
}

// Differences between a stored channel and the simulator's; empty when they agree.
// `read` adds the fields only a read brings back.
inline QStringList Differences(const TMemChElement& c, const QJsonObject& o, bool read)
{
    QStringList diff;
    auto check = [&](const QString& name) {
        const qint64 want = static_cast<qint64>(o.value(name).toDouble());
        if (Field(c, name) != want)
            diff << QStringLiteral("%1 %2!=%3").arg(name).arg(Field(c, name)).arg(want);
    };
    check("RxFreq");
    for (const char* name : kCarried)
        check(name);
    if (read || c.Dem_AutoBand == 0)
        check("IFBW");
    if (read || c.AMode != 0)
        check("RF_AGC");
    if (read) {
        check("StepFreq");
        check("AdjFreq");
    }
    if (Title(c) != o.value("Title").toString())
        diff << QStringLiteral("Title '%1'!='%2'").arg(Title(c), o.value("Title").toString());
    return diff;
}


// One test's simulator and forms, and the steps every memory test takes.
struct MemoryRig {
    QTemporaryDir runtime;
    std::unique_ptr<Sim> sim;
    std::unique_ptr<Forms> forms;
    QStringList messages;

    // Private port directory, scaled intervals, message boxes collected instead of shown.
    bool Init(int divisor)
    {
        if (!runtime.isValid())
            return false;
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
        CommandEngine::SetIntervalDivisor(divisor);
        WindowWait::scale = 0.05;
        UiPrompts::setMessageHook([this](QWidget*, const UiMessage& m) { messages << m.text; });
        return true;
    }
    // Ends the forms and the simulator; returns the messages shown meanwhile.
    QStringList Reset()
    {
        forms.reset();
        sim.reset();
        return std::exchange(messages, {});
    }

    memtab::TMemoryTab* Tab() { return forms->memory.findChild<memtab::TMemoryTab*>("MemoryTab"); }
    CommandEngine& Engine() { return forms->memory.Engine(); }
    TMemChElement& Ch(int bank, int ch) { return forms->main.MemChData[bank][ch]; }

    bool StartSim(std::unique_ptr<Sim>& s, const QString& name, const QStringList& args)
    {
        s = std::make_unique<Sim>(runtime.path(), name);
        return s->Start(args);
    }

    bool SelectPort(int com)
    {
        forms->main.ComSearchButtonClick();
        auto* ports = forms->main.ComPortComboBox;
        const int i = ports->findText(QStringLiteral("COM%1(").arg(com), Qt::MatchStartsWith);
        if (i < 0)
            return false;
        ports->setCurrentIndex(i);
        return forms->main.CommX1.PortNo() == com;
    }

    bool StartAll(const QStringList& simArgs)
    {
        if (!StartSim(sim, "sim", simArgs))
            return false;
        forms = std::make_unique<Forms>();
        return Tab() && SelectPort(sim->Com());
    }

    QList<QPushButton*> SixButtons()
    {
        memtab::TMemoryTab* t = Tab();
        return {t->MemChDetailReadButton, t->MemBankDetailReadButton, t->AllBankDetailReadButton,
                t->MemChWriteButton,      t->MemBankWriteButton,      t->AllBankWriteButton};
    }

    bool TabIdle()
    {
        for (QPushButton* b : SixButtons())
            if (!b->isEnabled() || b->property("Tag").toInt() != 0)
                return false;
        return !Tab()->MemBankAbortButton->isEnabled() && Engine().BusyMark() == kBusyIdle;
    }

    // Clicks an operation button; true when it ran to its end and gave the tab back.
    bool Run(QPushButton* button, int timeoutMs)
    {
        QTest::mouseClick(button, Qt::LeftButton);
        if (!Engine().TabRunning(OpTab::MemCh))
            return false;
        for (QPushButton* b : SixButtons())
            if (b->isEnabled())
                return false;  // every button is disabled while a memory operation runs
        QDeadlineTimer deadline(timeoutMs);
        while (Engine().TabRunning(OpTab::MemCh) && !deadline.hasExpired())
            QTest::qWait(20);
        return TabIdle() && !forms->main.CommX1.isOpen();  // the port is closed at the end
    }
};

}  // namespace memory_e2e

