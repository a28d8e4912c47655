// The traffic log's entries and the rich-text file written from them.
#include "LogInspect.h"
#include "RtfWriter.h"
#include "TrafficLog.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QPlainTextEdit>

class LogTest : public QObject {
    Q_OBJECT
private slots:
    void entryRuns_data();
    void entryRuns();
    void entriesFollowOnePerLine();
    void rtfNamesColourAndFontOfEachRun();
    void rtfEscapesText_data();
    void rtfEscapesText();
    void rtfReadBackByUnrtf();

private:
    static void fillConversation(QPlainTextEdit& log);
};

void LogTest::entryRuns_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<bool>("endMark");
    QTest::newRow("progress black") << "Memory read start" << QColor(Qt::black) << false;
    QTest::newRow("sent by operation") << "MA001" << QColor(Qt::blue) << false;
    QTest::newRow("sent here, marked") << "AZ" << QColor(Qt::blue) << true;
    QTest::newRow("received, marked") << "AZ1" << QColor(Qt::red) << true;
    QTest::newRow("empty, marked") << "" << QColor(Qt::blue) << true;
}

void LogTest::entryRuns()
{
    QFETCH(QString, text);
    QFETCH(QColor, colour);
    QFETCH(bool, endMark);
    QPlainTextEdit log;
    log.setFont(QFont(QStringLiteral("Tahoma")));
    TrafficLog::addEntry(log, text, colour, endMark);

    const QList<LogRun> runs = logRuns(*log.document());
    QList<LogRun> want;
    if (!text.isEmpty())
        want.append({0, text, colour, QStringLiteral("Tahoma"), 0});
    if (endMark)
        want.append({0, QStringLiteral("~"), colour, QStringLiteral("Webdings"), 2});
    QCOMPARE(runs.size(), want.size());
    for (int i = 0; i < runs.size(); ++i) {
        QCOMPARE(runs[i].block, want[i].block);
        QCOMPARE(runs[i].text, want[i].text);
        QCOMPARE(runs[i].colour, want[i].colour);
        QCOMPARE(runs[i].family, want[i].family);
        QCOMPARE(runs[i].charset, want[i].charset);
    }
    // A new, empty last line waits for the next entry.
    QCOMPARE(log.document()->blockCount(), 2);
    QVERIFY(log.document()->lastBlock().text().isEmpty());
}

void LogTest::entriesFollowOnePerLine()
{
    QPlainTextEdit log;
    fillConversation(log);
    QCOMPARE(log.toPlainText(), QStringLiteral("Start\nAZ\nAZ1~\nMR~\n"));
    // After a mark, the next entry is back in the log's font and character set.
    const QList<LogRun> runs = logRuns(*log.document());
    QCOMPARE(runs.last().text, QStringLiteral("~"));
    const LogRun mr = runs[runs.size() - 2];
    QCOMPARE(mr.text, QStringLiteral("MR"));
    QCOMPARE(mr.family, log.font().family());
    QCOMPARE(mr.charset, 0);
}

void LogTest::fillConversation(QPlainTextEdit& log)
{
    TrafficLog::addEntry(log, QStringLiteral("Start"), TrafficLog::kProgressColour, false);
    TrafficLog::addEntry(log, QStringLiteral("AZ"), TrafficLog::kSentColour, false);
    TrafficLog::addEntry(log, QStringLiteral("AZ1"), TrafficLog::kReceivedColour, true);
    TrafficLog::addEntry(log, QStringLiteral("MR"), TrafficLog::kSentColour, true);
}

void LogTest::rtfNamesColourAndFontOfEachRun()
{
    QPlainTextEdit log;
    log.setFont(QFont(QStringLiteral("Tahoma"), 9));
    fillConversation(log);
    const QByteArray rtf = RtfWriter::write(*log.document(), log.font());

    QVERIFY(rtf.startsWith("{\\rtf1\\ansi"));
    QVERIFY(rtf.trimmed().endsWith('}'));
    const QList<RtfFont> fonts = rtfFonts(rtf);
    const QList<QColor> colours = rtfColours(rtf);
    QCOMPARE(fonts.size(), 2);
    QCOMPARE(fonts[0].name, QStringLiteral("Tahoma"));
    QCOMPARE(fonts[0].charset, 0);

    // Each text, its colour, and the end mark in the symbol font with character set 2.
    struct Want {
        const char* text;
        QColor colour;
        bool mark;
    };
    const Want wants[] = {{"Start", Qt::black, false},
                          {"AZ", Qt::blue, false},
                          {"AZ1", Qt::red, true},
                          {"MR", Qt::blue, true}};
    const QString s = QString::fromLatin1(rtf);
    for (const Want& w : wants) {
        const QRegularExpression re(
            QStringLiteral(R"((?:\\f(\d+))?\\cf(\d+) %1(\\f(\d+) ~)?\\par)").arg(w.text));
        const auto m = re.match(s);
        QVERIFY2(m.hasMatch(), w.text);
        QCOMPARE(colours.value(m.captured(2).toInt()), w.colour);
        QCOMPARE(m.hasCaptured(3), w.mark);
        if (w.mark) {
            const RtfFont f = fonts.value(m.captured(4).toInt(), {-1, {}});
            QCOMPARE(f.name, QStringLiteral("Webdings"));
            QCOMPARE(f.charset, 2);
        }
        if (!m.captured(1).isEmpty())
            QCOMPARE(m.captured(1).toInt(), 0);  // back to the log's font after a mark
    }
    QVERIFY(rtf.contains("\\fs18"));
}

void LogTest::rtfEscapesText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("braces") << "{x}" << QByteArray("\\{x\\}");
    QTest::newRow("backslash") << "a\\b" << QByteArray("a\\\\b");
    QTest::newRow("latin-1") << QStringLiteral("\u00e9\u00ff") << QByteArray("\\'e9\\'ff");
    QTest::newRow("C1 control byte") << QStringLiteral("\u0085") << QByteArray("\\u133?");
    QTest::newRow("control byte") << QStringLiteral("\u0001") << QByteArray("\\u1?");
    QTest::newRow("tab") << "a\tb" << QByteArray("a\\tab b");
    QTest::newRow("beyond latin-1") << QStringLiteral("\u03a9") << QByteArray("\\u937?");
    QTest::newRow("high code") << QStringLiteral("\ufffd") << QByteArray("\\u-3?");
}

void LogTest::rtfEscapesText()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, written);
    QPlainTextEdit log;
    TrafficLog::addEntry(log, text, TrafficLog::kReceivedColour, false);
    const QByteArray rtf = RtfWriter::write(*log.document(), log.font());
    QVERIFY2(rtf.contains("\\cf1 " + written + "\\par"), rtf.constData());
}

void LogTest::rtfReadBackByUnrtf()
{
    const QString unrtf = QStandardPaths::findExecutable(QStringLiteral("unrtf"));
    if (unrtf.isEmpty())
        QSKIP("unrtf is not installed");
    QPlainTextEdit log;
    log.setFont(QFont(QStringLiteral("Tahoma"), 9));
    fillConversation(log);
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("log.rtf")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(RtfWriter::write(*log.document(), log.font()));
    f.close();

    QProcess p;
    p.start(unrtf, {QStringLiteral("--html"), f.fileName()});
    QVERIFY(p.waitForFinished());
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    QVERIFY2(html.contains(QStringLiteral("<font color=\"#ff0000\">AZ1")), qPrintable(html));
    QVERIFY2(html.contains(QStringLiteral("<font color=\"#0000ff\">AZ<")), qPrintable(html));
    // unrtf maps "~" of a character set 2 font to its symbol reading.
    QVERIFY2(html.contains(QStringLiteral("<font face=\"Webdings\">&sim;")), qPrintable(html));
    QVERIFY2(html.contains(QStringLiteral("Start")), qPrintable(html));
}

QTEST_MAIN(LogTest)
#include "log_test.moc"
