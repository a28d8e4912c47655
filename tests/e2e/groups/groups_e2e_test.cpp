// Scan and search group operations of the real forms against the receiver simulator.
// Set KESTREL_SCREENSHOT_DIR to also save both pages after a full read.
#include "CommandEngine.h"
#include "FormMain.h"
#include "FormMemory.h"
#include "FormTerminal.h"
#include "GroupLines.h"
#include "UiPrompts.h"
#include "WindowWait.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <signal.h>

#include <memory>

using groups::GroupKind;

namespace {

// The simulator on its own pseudo-terminal, registered as a virtual COM port.
class Sim {
public:
    explicit Sim(const QString& runtimeDir) : runtimeDir_(runtimeDir) {}
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
        logPath_ = runtimeDir_ + "/sim.log";
        dumpPath_ = runtimeDir_ + "/sim.json";
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", runtimeDir_);
        proc_.setProcessEnvironment(env);
        proc_.setProcessChannelMode(QProcess::SeparateChannels);
        proc_.start(KESTREL_SIM_PATH, QStringList{"--log", logPath_, "--dump", dumpPath_} + extra);
        if (!proc_.waitForStarted(5000))
            return false;
        const QString line = ReadLine();
        const auto m = QRegularExpression("^port COM(\\d+) ").match(line);
        com_ = m.hasMatch() ? m.captured(1).toInt() : 0;
        return com_ > 0;
    }
    int Com() const { return com_; }

    // Commands the simulator has received, in order (the empty command as "").
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

    // The simulator's memory as it stands now.
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

QString Prefix(GroupKind k) { return k == GroupKind::Scan ? "ScanGrp" : "SearchGrp"; }
OpTab TabOf(GroupKind k) { return k == GroupKind::Scan ? OpTab::ScanGroup : OpTab::SearchGroup; }

QList<int> Linked(const TSearchGrpElement& g)
{
    QList<int> out;
    for (int b = 0; b < 40; ++b)
        if (groups::LinkBit(g, b))
            out << b;
    return out;
}

QList<int> Ints(const QJsonArray& a)
{
    QList<int> out;
    for (const auto& v : a)
        out << v.toInt();
    return out;
}

} // namespace

Q_DECLARE_METATYPE(groups::GroupKind)

class GroupsE2eTest : public QObject {
    Q_OBJECT

    QTemporaryDir runtime_;
    std::unique_ptr<Sim> sim_;
    std::unique_ptr<Forms> forms_;
    QStringList messages_;

    template <typename T>
    T* Find(const QString& name)
    {
        return forms_->memory.findChild<T*>(name);
    }
    TSearchGrpElement (&Data(GroupKind k))[kGroupCount]
    {
        return k == GroupKind::Scan ? forms_->main.ScanGrpData : forms_->main.SearchGrpData;
    }

    bool StartAll(const QStringList& simArgs)
    {
        sim_ = std::make_unique<Sim>(runtime_.path());
        if (!sim_->Start(simArgs))
            return false;
        forms_ = std::make_unique<Forms>();
        forms_->main.ComSearchButtonClick();
        auto* ports = forms_->main.ComPortComboBox;
        const int i = ports->findText(QStringLiteral("COM%1(").arg(sim_->Com()), Qt::MatchStartsWith);
        if (i < 0)
            return false;
        ports->setCurrentIndex(i);
        return forms_->main.CommX1.PortNo() == sim_->Com();
    }

    // Clicks an operation button and waits until the operation has ended.
    bool Run(GroupKind kind, const char* button)
    {
        auto* b = Find<QPushButton>(Prefix(kind) + button);
        if (!b || !b->isEnabled())
            return false;
        QTest::mouseClick(b, Qt::LeftButton);
        CommandEngine& e = forms_->memory.Engine();
        if (!e.TabRunning(TabOf(kind)))
            return false;
        const bool ended = QTest::qWaitFor([&] { return !e.TabRunning(TabOf(kind)) && e.BusyMark() == kBusyIdle; }, 30000);
        return ended && b->isEnabled() && !Find<QPushButton>(Prefix(kind) + "AbortButton")->isEnabled();
    }

    void Select(GroupKind kind, int gn) { Find<QComboBox>(Prefix(kind) + "NoComboBox")->setCurrentIndex(gn); }

    void CompareWithDump(GroupKind kind, const QJsonObject& dump, const TSearchGrpElement (&data)[kGroupCount])
    {
        const QJsonArray groups = dump.value(kind == GroupKind::Scan ? "ScanGrpData" : "SearchGrpData").toArray();
        QCOMPARE(groups.size(), kGroupCount);
        for (const auto& v : groups) {
            const QJsonObject o = v.toObject();
            const int g = o.value("group").toInt();
            QVERIFY(g >= 0 && g < kGroupCount);
            QCOMPARE(o.value("Delay").toInt(), int(data[g].Delay));
            QCOMPARE(o.value("Free").toInt(), int(data[g].Free));
            if (kind == GroupKind::Search)
                QCOMPARE(o.value("GrpFlag_AutoStore").toInt(), int(data[g].GrpFlag_AutoStore));
            QCOMPARE(Ints(o.value("Link").toArray()), Linked(data[g]));
        }
    }

private slots:
    void initTestCase()
    {
        QVERIFY(runtime_.isValid());
        qputenv("XDG_RUNTIME_DIR", runtime_.path().toLocal8Bit());
        CommandEngine::SetIntervalDivisor(2);  // answers still arrive well inside a time-out on a loaded machine
        WindowWait::scale = 0.05;
        UiPrompts::setMessageHook([this](QWidget*, const UiMessage& m) { messages_ << m.text; });
    }
    void cleanup()
    {
        forms_.reset();
        sim_.reset();
        QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join(", ")));
    }

    void allGrpReadSendsTheSelectedGroupLast_data()
    {
        QTest::addColumn<GroupKind>("kind");
        QTest::newRow("ScanGroup") << GroupKind::Scan;
        QTest::newRow("SearchGroup") << GroupKind::Search;
    }
    void allGrpReadSendsTheSelectedGroupLast()
    {
        QFETCH(GroupKind, kind);
        QVERIFY(StartAll({"--full"}));
        Select(kind, 3);
        const qsizetype before = sim_->Commands().size();
        QVERIFY(Run(kind, "AllReadButton"));

        const QString key = groups::CommandKey(kind);
        QStringList expected{QString()};
        for (int g : {0, 1, 2, 4, 5, 6, 7, 8, 9, 3})
            expected << key + QString::number(g);
        expected << "EX";
        QCOMPARE(sim_->Commands().mid(before), expected);

        auto& data = Data(kind);
        for (int g = 0; g < kGroupCount; ++g)
            QCOMPARE(int(data[g].GrpFlag_RegistedFlag), 1);
        CompareWithDump(kind, sim_->Dump(), data);
        if (QTest::currentTestFailed())
            return;

        // The page shows the selected group.
        for (int b = 0; b < 40; ++b) {
            auto* box = Find<QCheckBox>(Prefix(kind) + QStringLiteral("Link%1CheckBox").arg(b, 2, 10, QLatin1Char('0')));
            QCOMPARE(box->isChecked(), groups::LinkBit(data[3], b));
        }
        QCOMPARE(Find<QComboBox>(Prefix(kind) + "DelayComboBox")->currentIndex(), int(data[3].Delay));
        QCOMPARE(Find<QComboBox>(Prefix(kind) + "FreeComboBox")->currentIndex(), int(data[3].Free));
        // The group operations leave the port open.
        QVERIFY(forms_->terminal.CloseButton->isEnabled());

        const QByteArray shots = qgetenv("KESTREL_SCREENSHOT_DIR");
        if (!shots.isEmpty()) {
            forms_->memory.show();
            forms_->memory.PageControl1->setCurrentWidget(kind == GroupKind::Scan ? forms_->memory.ScanGroupPage()
                                                                                 : forms_->memory.SearchGroupPage());
            QVERIFY(QTest::qWaitForWindowExposed(&forms_->memory));
            const QString file = kind == GroupKind::Scan ? "scan-group.png" : "search-group.png";
            QVERIFY(forms_->memory.grab().save(QDir(QString::fromLocal8Bit(shots)).filePath(file)));
        }
    }

    void allGrpWriteThenReadGivesBackTheSameGroups_data()
    {
        QTest::addColumn<GroupKind>("kind");
        QTest::newRow("ScanGroup") << GroupKind::Scan;
        QTest::newRow("SearchGroup") << GroupKind::Search;
    }
    void allGrpWriteThenReadGivesBackTheSameGroups()
    {
        QFETCH(GroupKind, kind);
        QVERIFY(StartAll({"--empty"}));
        auto& data = Data(kind);
        for (int g = 0; g < kGroupCount; ++g) {
            data[g] = TSearchGrpElement{};
            data[g].Delay = static_cast<std::uint8_t>((g * 37 + 5) % 101);
            data[g].Free = static_cast<std::uint8_t>((g * 13 + 1) % 61);
            data[g].GrpFlag_AutoStore = kind == GroupKind::Search ? g % 2 : 0;
            if (g != 4)  // group 4 links nothing
                for (int b : {g, g + 10, 39 - g})
                    groups::SetLinkBit(data[g], b, true);
        }
        data[9].Delay = 100;
        // Group 6 is edited on the page: what the page shows is what is written.
        Select(kind, 6);
        Find<QCheckBox>(Prefix(kind) + "Link21CheckBox")->click();
        Find<QCheckBox>(Prefix(kind) + "Link06CheckBox")->click();
        Find<QComboBox>(Prefix(kind) + "DelayComboBox")->setCurrentIndex(100);
        QCOMPARE(Linked(data[6]), (QList<int>{16, 21, 33}));

        TSearchGrpElement written[kGroupCount];
        std::copy(std::begin(data), std::end(data), std::begin(written));
        const qsizetype before = sim_->Commands().size();
        QVERIFY(Run(kind, "AllWriteButton"));
        const QStringList sent = sim_->Commands().mid(before);
        QCOMPARE(sent.size(), 11);
        QCOMPARE(sent.first(), groups::GroupLine(kind, 0, written[0]));
        QCOMPARE(sent.at(9), groups::GroupLine(kind, 6, written[6]));
        QCOMPARE(sent.at(10), QStringLiteral("EX"));
        CompareWithDump(kind, sim_->Dump(), written);
        if (QTest::currentTestFailed())
            return;

        for (auto& g : data)
            g = TSearchGrpElement{};
        QVERIFY(Run(kind, "AllReadButton"));
        for (int g = 0; g < kGroupCount; ++g) {
            QCOMPARE(int(data[g].Delay), int(written[g].Delay));
            QCOMPARE(int(data[g].Free), int(written[g].Free));
            QCOMPARE(int(data[g].GrpFlag_AutoStore), int(written[g].GrpFlag_AutoStore));
            QCOMPARE(Linked(data[g]), Linked(written[g]));
            QCOMPARE(int(data[g].GrpFlag_RegistedFlag), 1);
            QCOMPARE(int(data[g].GrpFlag_LinkEnable), g == 4 ? 0 : 1);
        }
        QCOMPARE(Find<QComboBox>(Prefix(kind) + "DelayComboBox")->currentText(), QStringLiteral("HOLD"));
    }
};

QTEST_MAIN(GroupsE2eTest)
#include "groups_e2e_test.moc"
