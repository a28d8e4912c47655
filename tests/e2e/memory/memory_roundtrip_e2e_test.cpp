// All Banks Read of a full receiver, then All Banks Write of the store into an empty one:
// the second receiver ends up holding exactly what the first held.
// KESTREL_E2E_DIVISOR scales the engine's intervals (default 20).
#include "MemoryE2eRig.h"

using namespace memory_e2e;

class MemoryRoundTripE2eTest : public QObject {
    Q_OBJECT
    MemoryRig rig_;

private slots:
    void initTestCase()
    {
        bool ok = false;
        const int divisor = qEnvironmentVariableIntValue("KESTREL_E2E_DIVISOR", &ok);
        QVERIFY(rig_.Init(ok && divisor > 0 ? divisor : 20));
    }

    void fullReadThenFullWriteLosesNothing()
    {
        QVERIFY(rig_.StartAll({"--full"}));
        QVERIFY(rig_.Run(rig_.Tab()->AllBankDetailReadButton, 30 * 60 * 1000));
        const QJsonObject source = rig_.sim->Dump();
        const ChannelMap channels = Channels(source);
        QCOMPARE(channels.size(), size_t(kMemBankCount * kMemChPerBank));
        for (const auto& [key, o] : channels) {
            const TMemChElement& c = rig_.Ch(key.first, key.second);
            QCOMPARE(int(c.ReadState), 2);
            const QStringList diff = Differences(c, o, true);
            QVERIFY2(diff.isEmpty(), qPrintable(QStringLiteral("%1-%2: ").arg(key.first).arg(key.second) + diff.join(", ")));
        }

        std::unique_ptr<Sim> empty;
        QVERIFY(rig_.StartSim(empty, "empty", {"--empty"}));
        QVERIFY(rig_.SelectPort(empty->Com()));
        QVERIFY(rig_.Run(rig_.Tab()->AllBankWriteButton, 30 * 60 * 1000));
        const QJsonObject written = empty->Dump();
        const ChannelMap copies = Channels(written);
        QCOMPARE(copies.size(), channels.size());
        for (const auto& [key, o] : channels)
            QVERIFY2(copies.count(key) && copies.at(key) == o,
                     qPrintable(QStringLiteral("%1-%2").arg(key.first).arg(key.second)));
        QCOMPARE(written.value("OffsetFreqTable"), source.value("OffsetFreqTable"));
    }

    void cleanupTestCase()
    {
        const QStringList messages = rig_.Reset();
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join(", ")));
    }
};

// Reading and writing 2000 channels takes longer than Qt Test's default limit of five
// minutes per test function.
int main(int argc, char* argv[])
{
    if (!qEnvironmentVariableIsSet("QTEST_FUNCTION_TIMEOUT"))
        qputenv("QTEST_FUNCTION_TIMEOUT", "3600000");
    QApplication app(argc, argv);
    MemoryRoundTripE2eTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "memory_roundtrip_e2e_test.moc"
