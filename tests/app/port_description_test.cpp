// Port entries that name the product behind a device: the text of the list, the port
// number read back from it, and the "kestrel.ports" log of what discovery added.
#include "FormMain.h"
#include "PortEntries.h"
#include "UiPrompts.h"

#include <QComboBox>
#include <QLoggingCategory>
#include <QPlainTextEdit>
#include <QTest>

#include <memory>
#include <vector>

namespace {

QStringList g_logged;

void CollectPortsLog(QtMsgType, const QMessageLogContext& context, const QString& text)
{
    if (context.category && QByteArray(context.category) == "kestrel.ports")
        g_logged << text;
}

QStringList Items(const QComboBox& box)
{
    QStringList out;
    for (int i = 0; i < box.count(); ++i)
        out << box.itemText(i);
    return out;
}

}  // namespace

class PortDescriptionTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void entryText_data();
    void entryText();
    void logNamesEveryEntryOnlyWhenEnabled_data();
    void logNamesEveryEntryOnlyWhenEnabled();

private:
    QStringList messages_;
};

void PortDescriptionTest::initTestCase()
{
    UiPrompts::setMessageHook([this](QWidget*, const UiMessage& m) { messages_ << m.text; });
}

void PortDescriptionTest::cleanup()
{
    TFormMain::PortLister = nullptr;
    QLoggingCategory::setFilterRules(QString());
    qInstallMessageHandler(nullptr);
    g_logged.clear();
    messages_.clear();
}

void PortDescriptionTest::entryText_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("entry");

    QTest::newRow("no description")
        << 7 << "/dev/pts/4" << "" << "COM7(/dev/pts/4)";
    QTest::newRow("USB converter")
        << 17 << "/dev/ttyUSB0" << "FTDI FT232R USB UART" << "COM17(/dev/ttyUSB0 FTDI FT232R USB UART)";
    // Neither a "COM" nor a "(" inside the product name may change the number read back.
    QTest::newRow("product with COM and parentheses")
        << 101 << "/dev/ttyUSB0" << "Acme COM2 (rev 3)" << "COM101(/dev/ttyUSB0 Acme COM2 (rev 3))";
    QTest::newRow("line breaks and runs of blanks")
        << 201 << "/dev/ttyACM0" << "  Prolific\n\tPL2303   GT " << "COM201(/dev/ttyACM0 Prolific PL2303 GT)";
    QTest::newRow("blank description")
        << 1 << "/dev/ttyS0" << " \t " << "COM1(/dev/ttyS0)";
}

void PortDescriptionTest::entryText()
{
    QFETCH(int, number);
    QFETCH(QString, device);
    QFETCH(QString, description);
    QFETCH(QString, entry);
    // A second port first, so the entry under test is the last one and gets chosen.
    TFormMain::PortLister = [=] {
        return std::vector<PortEntry>{{999, "/dev/ttyX9", "Other Maker Other Product"},
                                      {number, device.toStdString(), description.toStdString()}};
    };
    TFormMain form;

    QCOMPARE(Items(*form.ComPortComboBox),
             (QStringList{"COM999(/dev/ttyX9 Other Maker Other Product)", entry}));
    QCOMPARE(form.ComPortComboBox->currentText(), entry);
    QCOMPARE(PortNumberFromEntry(entry), number);
    QCOMPARE(form.CommX1.PortNo(), number);
    // The scratch list holds device names only.
    QCOMPARE(form.Memo1->toPlainText(), QStringLiteral("/dev/ttyX9\n") + device);
    QVERIFY(messages_.isEmpty());
}

void PortDescriptionTest::logNamesEveryEntryOnlyWhenEnabled_data()
{
    QTest::addColumn<QString>("rules");
    QTest::addColumn<QStringList>("logged");
    const QStringList both{"port entry COM3(/dev/ttyS2)", "port entry COM102(/dev/ttyUSB1 FTDI FT232R)"};
    QTest::newRow("default") << "" << QStringList{};
    QTest::newRow("enabled") << "kestrel.ports.debug=true" << both;
    QTest::newRow("other category enabled") << "kestrel.other.debug=true" << QStringList{};
}

void PortDescriptionTest::logNamesEveryEntryOnlyWhenEnabled()
{
    QFETCH(QString, rules);
    QFETCH(QStringList, logged);
    QLoggingCategory::setFilterRules(rules);
    qInstallMessageHandler(CollectPortsLog);
    TFormMain::PortLister = [] {
        return std::vector<PortEntry>{{3, "/dev/ttyS2", {}}, {102, "/dev/ttyUSB1", "FTDI FT232R"}};
    };
    TFormMain form;
    qInstallMessageHandler(nullptr);

    QCOMPARE(g_logged, logged);
    QCOMPARE(form.ComPortComboBox->count(), 2);
}

QTEST_MAIN(PortDescriptionTest)
#include "port_description_test.moc"
