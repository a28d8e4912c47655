// The memory tab of the real forms against the receiver simulator: reads fill the store and
// the table as the simulator holds them, writes leave the simulator holding the store.
// Set KESTREL_SCREENSHOT_DIR to also save the tab after a bank read.
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

namespace {

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

ChannelMap Channels(const QJsonObject& dump)
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

qint64 Field(const TMemChElement& c, const QString& name)
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

QString Title(const TMemChElement& c)
{
    const std::u16string t = TitleText(c.Title);
    return QString::fromUtf16(t.data(), static_cast<qsizetype>(t.size()));
}

// Differences between a stored channel and the simulator's; empty when they agree.
// `read` adds the fields only a read brings back.
QStringList Differences(const TMemChElement& c, const QJsonObject& o, bool read)
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

}  // namespace

class MemoryE2eTest : public QObject {
    Q_OBJECT

    QTemporaryDir runtime_;
    std::unique_ptr<Sim> sim_;
    std::unique_ptr<Forms> forms_;
    QStringList messages_;

    memtab::TMemoryTab* Tab() { return forms_->memory.findChild<memtab::TMemoryTab*>("MemoryTab"); }
    CommandEngine& Engine() { return forms_->memory.Engine(); }
    TMemChElement& Ch(int bank, int ch) { return forms_->main.MemChData[bank][ch]; }

    bool StartSim(std::unique_ptr<Sim>& sim, const QString& name, const QStringList& args)
    {
        sim = std::make_unique<Sim>(runtime_.path(), name);
        return sim->Start(args);
    }

    bool SelectPort(int com)
    {
        forms_->main.ComSearchButtonClick();
        auto* ports = forms_->main.ComPortComboBox;
        const int i = ports->findText(QStringLiteral("COM%1(").arg(com), Qt::MatchStartsWith);
        if (i < 0)
            return false;
        ports->setCurrentIndex(i);
        return forms_->main.CommX1.PortNo() == com;
    }

    bool StartAll(const QStringList& simArgs)
    {
        if (!StartSim(sim_, "sim", simArgs))
            return false;
        forms_ = std::make_unique<Forms>();
        return Tab() && SelectPort(sim_->Com());
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
    bool Run(QPushButton* button, int timeoutMs = 60000)
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
        return TabIdle() && !forms_->main.CommX1.isOpen();  // the port is closed at the end
    }

private slots:
    void initTestCase()
    {
        QVERIFY(runtime_.isValid());
        qputenv("XDG_RUNTIME_DIR", runtime_.path().toLocal8Bit());
        CommandEngine::SetIntervalDivisor(10);
        WindowWait::scale = 0.05;
        UiPrompts::setMessageHook([this](QWidget*, const UiMessage& m) { messages_ << m.text; });
    }

    void cleanup()
    {
        forms_.reset();
        sim_.reset();
        QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join(", ")));
    }

    void oneChannelThenOneBankRead()
    {
        QVERIFY(StartAll({}));
        const QJsonObject dump = sim_->Dump();
        const ChannelMap channels = Channels(dump);
        QVERIFY(!channels.empty());
        // The bank of the demo image that holds most channels, and one of its channels.
        std::map<int, int> perBank;
        for (const auto& [key, o] : channels)
            ++perBank[key.first];
        int bank = perBank.begin()->first;
        for (const auto& [b, n] : perBank)
            if (n > perBank[bank])
                bank = b;
        int ch = -1;
        for (const auto& [key, o] : channels)
            if (key.first == bank && ch < 0)
                ch = key.second;

        Tab()->MemBankComboBox->setCurrentIndex(bank);
        Tab()->SetCurrentRow(ch + 1);
        QVERIFY(Run(Tab()->MemChDetailReadButton));
        QStringList expectedStart{"AZ", QStringLiteral("MA%1%2").arg(bank, 2, 10, QLatin1Char('0')).arg(ch, 2, 10, QLatin1Char('0')),
                                  QStringLiteral("MW%1").arg(bank, 2, 10, QLatin1Char('0'))};
        QCOMPARE(sim_->Commands().mid(0, 3), expectedStart);
        QCOMPARE(sim_->Commands().last(), QStringLiteral("EX"));
        QCOMPARE(Ch(bank, ch).ReadState, 2);
        QCOMPARE(Differences(Ch(bank, ch), channels.at({bank, ch}), true), QStringList());
        QCOMPARE(forms_->main.Region, dump.value("Region").toInt());
        QCOMPARE(Tab()->RegionItemIndex(), dump.value("Region").toInt());
        const QJsonArray offsets = dump.value("OffsetFreqTable").toArray();
        for (int n = 1; n < 40; ++n)
            QCOMPARE(qint64(forms_->main.OffsetFreqTable[n]), qint64(offsets.at(n).toDouble()));

        QVERIFY(Run(Tab()->MemBankDetailReadButton));
        QTableWidget* grid = Tab()->MemChStringGrid;
        for (int c = 0; c < kMemChPerBank; ++c) {
            const auto it = channels.find({bank, c});
            const TMemChElement& rec = Ch(bank, c);
            if (it == channels.end()) {
                QCOMPARE(int(rec.MemFlag_RegistedFlag), 0);
                QCOMPARE(int(rec.ReadState), 1);
                QCOMPARE(grid->item(c, 1)->text(), QStringLiteral("---"));
                continue;
            }
            QCOMPARE(int(rec.ReadState), 2);
            QCOMPARE(Differences(rec, it->second, true), QStringList());
            for (int col = 0; col < kMemTableColumns; ++col)
                QCOMPARE(grid->item(c, col)->text(), MemTableCellText(forms_->main, bank, c, col));
            QCOMPARE(grid->item(c, 1)->text(),
                     QString::fromStdString(TableMHzStr(static_cast<qint64>(it->second.value("RxFreq").toDouble()))));
            QCOMPARE(grid->item(c, 2)->text(), it->second.value("Title").toString());
        }
        const QJsonObject header = dump.value("MemBankData").toArray().at(bank).toObject();
        const std::u16string bankTitle = TitleText(forms_->main.MemBankData[bank].Title);
        QCOMPARE(QString::fromUtf16(bankTitle.data(), qsizetype(bankTitle.size())), header.value("Title").toString());

        const QByteArray shots = qgetenv("KESTREL_SCREENSHOT_DIR");
        if (!shots.isEmpty()) {
            forms_->memory.resize(770, 480 + forms_->memory.ProgressBar1->sizeHint().height());
            forms_->memory.PageControl1->setCurrentWidget(forms_->memory.MemChPage());
            forms_->memory.show();
            QVERIFY(QTest::qWaitForWindowExposed(&forms_->memory));
            QVERIFY(forms_->memory.grab().save(QDir(QString::fromLocal8Bit(shots)).filePath("memory-tab.png")));
        }
    }

    void oneBankWriteIntoAnEmptyReceiver()
    {
        QVERIFY(StartAll({"--empty"}));
        const int bank = 6;
        auto make = [&](int ch, qint64 freq, const char16_t* title) -> TMemChElement& {
            TMemChElement& c = Ch(bank, ch);
            c = forms_->main.MemChEmptyData;
            c.MemFlag_RegistedFlag = 1;
            c.ReadState = 2;
            c.RxFreq = freq;
            c.RF_ATT = 1;
            c.VoiceSCR = 200;
            SetTitleText(c.Title, title);
            return c;
        };
        TMemChElement& fm = make(0, 145500000, u"FM TONE     ");
        fm.OffsetFreq = -3;
        fm.Dem_SQL_Type = 1;
        fm.CTCSS_CODE = 2;
        fm.IFBW = 3;
        TMemChElement& am = make(5, 118100000, u"AIRBAND     ");
        am.AMode = 1;
        am.IFBW = 2;
        am.RF_AGC = 2;
        am.MemFlag_Pass = 1;
        TMemChElement& dmr = make(6, 446006250, u"DMR         ");
        dmr.Dem_DModeEnable = 1;
        dmr.DMode = 2;
        dmr.IFBW = 4;
        dmr.Dem_DMR_Slot = 3;
        dmr.DMR_ColorCode = 16;
        dmr.DMR_ColorCodeMute = 1;
        dmr.Dem_SQL_Type = 2;
        dmr.DCS_CODE = 107;
        TMemChElement& p25 = make(7, 851012500, u"P25 NAC     ");
        p25.Dem_DModeEnable = 1;
        p25.DMode = 5;
        p25.IFBW = 3;
        p25.P25_NACCode = 659;
        p25.P25_NACCodeMute = 1;
        p25.MemFlag_ProtectFlag = 1;
        p25.Dem_SQL_Type = 4;
        p25.CTCSS_CODE = 53;
        TMemChElement& usb = make(48, 14230000, u"HF USB      ");
        usb.AMode = 4;
        usb.IFBW = 1;
        usb.RF_AGC = 3;
        usb.Dem_SQL_Type = 3;
        usb.VoiceSCR = 700;
        usb.DCR_CODE = 32767;
        usb.DCR_WHITE = 511;
        usb.NXDN_RANCode = 64;
        usb.NXDN_RANCodeMute = 1;
        usb.RF_TETRA_Slot = 3;
        usb.Dem_DigiDecode = 1;
        TMemChElement& fau = make(49, 162550000, u"WX F-AU     ");
        fau.Dem_AutoBand = 1;
        fau.OffsetFreq = 20;
        make(9, 0, u"NO FREQ     ");  // registered without a frequency: deleted
        for (int n = 1; n < 20; ++n)
            forms_->main.OffsetFreqTable[n] = n * 1250000;

        Tab()->MemBankComboBox->setCurrentIndex(bank);
        QVERIFY(Run(Tab()->MemBankWriteButton, 120000));
        const QJsonObject dump = sim_->Dump();
        const ChannelMap channels = Channels(dump);
        for (int c = 0; c < kMemChPerBank; ++c) {
            const bool holds = Ch(bank, c).MemFlag_RegistedFlag != 0 && Ch(bank, c).RxFreq != 0;
            QCOMPARE(channels.count({bank, c}) == 1, holds);
            if (holds)
                QVERIFY2(Differences(Ch(bank, c), channels.at({bank, c}), false).isEmpty(),
                         qPrintable(QString::number(c) + ": " +
                                    Differences(Ch(bank, c), channels.at({bank, c}), false).join(", ")));
        }
        QCOMPARE(channels.size(), size_t(6));
        const QJsonArray offsets = dump.value("OffsetFreqTable").toArray();
        for (int n = 1; n < 20; ++n)
            QCOMPARE(qint64(offsets.at(n).toDouble()), qint64(n * 1250000));
    }

    void abortMidReadKeepsWhatWasRead()
    {
        QVERIFY(StartAll({"--full"}));
        QTest::mouseClick(Tab()->AllBankDetailReadButton, Qt::LeftButton);
        QVERIFY(Engine().TabRunning(OpTab::MemCh));
        // Wait until the main answers of the first bank are in, then abort.
        QTRY_VERIFY_WITH_TIMEOUT(Ch(0, 49).ReadState == 1, 60000);
        QTest::mouseClick(Tab()->MemBankAbortButton, Qt::LeftButton);
        QVERIFY(TabIdle());
        QVERIFY(Engine().CommandList().isEmpty());

        const ChannelMap channels = Channels(sim_->Dump());
        int kept = 0;
        for (int c = 0; c < kMemChPerBank; ++c) {
            QCOMPARE(int(Ch(0, c).MemFlag_RegistedFlag), 1);
            QCOMPARE(Ch(0, c).RxFreq, qint64(channels.at({0, c}).value("RxFreq").toDouble()));
            kept += Ch(0, c).ReadState >= 1;
        }
        QCOMPARE(kept, kMemChPerBank);
        QCOMPARE(int(Ch(39, 0).ReadState), 0);  // never reached
        QVERIFY(forms_->main.CommX1.isOpen());  // Abort leaves the port as it is
        forms_->terminal.CloseButtonClick();
        QVERIFY(!forms_->main.CommX1.isOpen());
    }
};

QTEST_MAIN(MemoryE2eTest)
#include "memory_e2e_test.moc"
