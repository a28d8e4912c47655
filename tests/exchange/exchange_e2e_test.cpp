// A receiver read into the program, saved as an image, the program's forms started anew,
// the image opened and written into an empty receiver: both receivers then hold the same.
// KESTREL_E2E_DIVISOR scales the engine's intervals (default 20).
#include "ImageFile.h"
#include "MemoryE2eRig.h"

#include <QAction>

using namespace memory_e2e;

class ExchangeE2eTest : public QObject {
    Q_OBJECT
    MemoryRig rig_;

    bool RunOp(OpButton id, int timeoutMs)
    {
        QPushButton* button = rig_.forms->memory.OperationButton(id);
        if (!button || !button->isEnabled())
            return false;
        QTest::mouseClick(button, Qt::LeftButton);
        const OpTab tab = TabOf(id);
        if (!rig_.Engine().TabRunning(tab))
            return false;
        QDeadlineTimer deadline(timeoutMs);
        while (rig_.Engine().TabRunning(tab) && !deadline.hasExpired())
            QTest::qWait(20);
        return !rig_.Engine().TabRunning(tab) && rig_.Engine().BusyMark() == kBusyIdle;
    }

    void Menu(const char* action, const QString& file)
    {
        UiPrompts::setFileDialogHook([file](QFileDialog&) { return file; });
        auto* a = rig_.forms->memory.findChild<QAction*>(QLatin1String(action));
        QVERIFY2(a, action);
        a->trigger();
        UiPrompts::setFileDialogHook({});
    }

    // A source receiver from the simulator's spread of values, cut to two banks of channels
    // so that reading and writing take seconds; search banks and groups stay complete.
    QString SourceImage()
    {
        std::unique_ptr<Sim> full;
        if (!rig_.StartSim(full, "full", {"--full"}))
            return {};
        QJsonObject dump = full->Dump();
        QJsonArray kept;
        for (const QJsonValue& ch : dump.value("MemChData").toArray())
            if (ch.toObject().value("bank").toInt() < 2)
                kept.append(ch);
        dump["MemChData"] = kept;
        const QString path = rig_.runtime.filePath("source-memory.json");
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(QJsonDocument(dump).toJson()) <= 0)
            return {};
        return path;
    }

private slots:
    void initTestCase()
    {
        bool ok = false;
        const int divisor = qEnvironmentVariableIntValue("KESTREL_E2E_DIVISOR", &ok);
        QVERIFY(rig_.Init(ok && divisor > 0 ? divisor : 20));
    }

    void imageCarriesOneReceiverIntoAnother()
    {
        const QString memory = SourceImage();
        QVERIFY(!memory.isEmpty());
        QVERIFY(rig_.StartAll({"--load", memory}));
        constexpr int kLong = 20 * 60 * 1000;
        for (OpButton read : {OpButton::AllBankDetailReadButton, OpButton::SearchBankAllReadButton,
                              OpButton::ScanGrpAllReadButton, OpButton::SearchGrpAllReadButton})
            QVERIFY2(RunOp(read, kLong), ButtonName(read));
        const QJsonObject source = rig_.sim->Dump();
        QVERIFY(!source.isEmpty());

        const QString image = rig_.runtime.filePath("backup.json");
        Menu("SaveImageMenu", image);
        const QByteArray saved = exchange::WriteImage(rig_.forms->main);

        // The program starts anew: an empty store, then the image.
        rig_.forms = std::make_unique<Forms>();
        QVERIFY(exchange::WriteImage(rig_.forms->main) != saved);
        std::unique_ptr<Sim> empty;
        QVERIFY(rig_.StartSim(empty, "empty", {"--empty"}));
        QVERIFY(rig_.SelectPort(empty->Com()));
        Menu("OpenImageMenu", image);
        QCOMPARE(exchange::WriteImage(rig_.forms->main), saved);

        for (OpButton write : {OpButton::AllBankWriteButton, OpButton::SearchBankAllWriteButton,
                               OpButton::ScanGrpAllWriteButton, OpButton::SearchGrpAllWriteButton})
            QVERIFY2(RunOp(write, kLong), ButtonName(write));
        QJsonObject written = empty->Dump();
        QJsonObject expected = source;
        // A receiver takes no bank titles over the line; they stay the empty one's.
        expected["MemBankData"] = written.value("MemBankData");
        // The live search link list is the receiver's own state, not part of the store: the
        // search bank operations save and restore it around their work.
        expected["SearchLink"] = written.value("SearchLink");
        for (const QString& key : expected.keys())
            QVERIFY2(written.value(key) == expected.value(key), qPrintable(key));
        QCOMPARE(written.keys(), expected.keys());
    }

    void cleanupTestCase()
    {
        const QStringList messages = rig_.Reset();
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join(", ")));
    }
};

int main(int argc, char* argv[])
{
    if (!qEnvironmentVariableIsSet("QTEST_FUNCTION_TIMEOUT"))
        qputenv("QTEST_FUNCTION_TIMEOUT", "3600000");
    QApplication app(argc, argv);
    ExchangeE2eTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "exchange_e2e_test.moc"
