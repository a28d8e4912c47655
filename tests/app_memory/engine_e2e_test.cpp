// The engine's queue through the real serial component to the receiver simulator; the
// simulator's log shows what reached the wire, in order.
#include "CommX.h"
#include "FormMemory.h"
#include "FormTerminal.h"
#include "Store.h"
#include "UiPrompts.h"
#include "WindowWait.h"

#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class EngineE2eTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    QProcess sim;
    int com = 0;
    QStringList errors;

    QString LogPath() const { return dir.filePath(QStringLiteral("sim.log")); }

    // Lines the simulator logged, in order.
    QStringList SimLog() const
    {
        QFile f(LogPath());
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QStringList lines = QString::fromLatin1(f.readAll()).split(QLatin1Char('\n'));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        // The component finds the simulator's virtual port through the same directory.
        qputenv("XDG_RUNTIME_DIR", dir.path().toLocal8Bit());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
        sim.setProcessEnvironment(env);
        sim.start(QStringLiteral(KESTREL_SIM_PATH), {QStringLiteral("--log"), LogPath()});
        QVERIFY(sim.waitForStarted(10000));
        QByteArray out;
        while (!out.contains('\n') && sim.waitForReadyRead(10000))
            out += sim.readAllStandardOutput();
        const auto m = QRegularExpression(QStringLiteral("port COM(\\d+) ")).match(QString::fromLatin1(out));
        QVERIFY2(m.hasMatch(), out.constData());
        com = m.captured(1).toInt();

        WindowWait::scale = 0.1;
        CommandEngine::SetIntervalDivisor(2);
        UiPrompts::setMessageHook([this](QWidget*, const UiMessage& msg) { errors << msg.text + " " + msg.detail; });
    }

    void cleanupTestCase()
    {
        CommandEngine::SetIntervalDivisor(1);
        UiPrompts::setMessageHook({});
        sim.terminate();
        sim.waitForFinished(10000);
    }

    void queueReachesTheWireOneCommandAtATime()
    {
        TStore store;
        TCommX comm;
        comm.setPortNo(com);
        TFormTerminal terminal(comm);
        TFormMemory form(store, comm, terminal);
        // The main window's receive path: received bytes to the terminal's line assembly.
        comm.OnReceive = [&](TCustomCommX*, std::int32_t size) {
            QByteArray buf(size, 0);
            const std::int32_t got = comm.ReceiveBlock(buf.data(), size);
            for (std::int32_t i = 0; i < got && i < size; ++i)
                if (terminal.CloseButton->isEnabled())
                    terminal.TerminalRx_1byte(static_cast<std::uint8_t>(buf[i]));
        };
        QStringList answers;
        form.Engine().SetAnswerParser(OpFamily::MemoryRead, [&](const QString& line) {
            answers << line;
            return true;
        });

        const bool started = form.Engine().StartOperation(
            OpButton::MemChDetailReadButton, 0, {}, [](CommandEngine& e) {
                e.AppendCommand(QStringLiteral("AZ"), QStringLiteral("[1](200)"));
                e.AppendCommand(QString(), QStringLiteral("[-1](200)"));  // CR LF alone, refused
                e.AppendCommand(QStringLiteral("wait"), QStringLiteral("[1](100)"));
                e.AppendCommand(QStringLiteral("BK"), QStringLiteral("[1](200)"));
            });
        QVERIFY2(started, qPrintable(errors.join(QLatin1Char('\n'))));
        QVERIFY(comm.isOpen());
        QTRY_VERIFY_WITH_TIMEOUT(!form.Engine().TabRunning(OpTab::MemCh), 20000);
        QVERIFY(!comm.isOpen());  // memory-tab operations close the port at the end

        const QStringList log = SimLog();
        QStringList commands;
        for (const QString& l : log)
            if (l.startsWith(QLatin1String("> ")))
                commands << l;
        QCOMPARE(commands, QStringList({"> AZ", "> ", "> BK", "> EX"}));
        // Each command was answered before the next one went out.
        QCOMPARE(log.size(), 2 * commands.size());
        for (int i = 0; i < log.size(); ++i)
            QVERIFY2(log.at(i).startsWith(i % 2 == 0 ? QLatin1String("> ") : QLatin1String("< ")),
                     qPrintable(log.join(QLatin1Char('\n'))));
        QCOMPARE(answers.size(), 4);
        QCOMPARE(answers.at(1), QStringLiteral("?"));
        QCOMPARE(form.Engine().SendedCommand(), QStringLiteral("EX"));
        comm.OnReceive = nullptr;
    }
};

QTEST_MAIN(EngineE2eTest)
#include "engine_e2e_test.moc"
