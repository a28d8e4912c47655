// The main window and the terminal window, driven as a user would, against pseudo-terminals
// registered as virtual COM ports.
#include "FormMain.h"
#include "FormTerminal.h"
#include "KestrelApplication.h"
#include "LogInspect.h"
#include "PortEntries.h"
#include "UiPrompts.h"
#include "VirtualPorts.h"
#include "WindowWait.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QPlainTextEdit>

#include <memory>
#include <stdexcept>

namespace {

constexpr int kGoodPort = 211;  // a pseudo-terminal is registered under this number
constexpr int kMissingPort = 239;

struct PortState {
    bool open, close, send;
    int tag;
};

}  // namespace

class FormsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void controls_data();
    void controls();
    void discoveryListsVirtualPorts();
    void discoveryOutcomes_data();
    void discoveryOutcomes();
    void typedPortText_data();
    void typedPortText();
    void labelOpensTerminalAndButtonOpensDataWindow();

    void portStates_data();
    void portStates();
    void receivedLines_data();
    void receivedLines();
    void bytesDroppedWhileCloseDisabled();
    void commandSend_data();
    void commandSend();
    void historyKeptBySend();
    void logEntryKinds();
    void clearKeepsPartLine();
    void logSave_data();
    void logSave();
    void logSaveFailureShowsError();
    void escapingCommErrorShowsErrorBox();
    void closingMainWindowEndsProgram();  // last: it runs and leaves the event loop

private:
    void makeForms();
    void openPort();  // "COM Open" on the registered pseudo-terminal
    PortState state() const;
    // Writes to the far end and waits until the window thread has read it.
    void deliver(const QByteArray& bytes);
    QWidget* find(const QString& window, const QString& name) const;

    std::unique_ptr<TestPortDir> ports_;
    std::unique_ptr<TestPty> pty_;
    std::unique_ptr<TFormMain> main_;
    std::unique_ptr<TFormTerminal> term_;
    QWidget data_;
    QList<UiMessage> messages_;
    QStringList lines_;
    qint64 received_ = 0;
    QString chosenFile_;
    QString dialogSuffix_;
};

void FormsTest::initTestCase()
{
    WindowWait::scale = 0.0;
    ports_ = std::make_unique<TestPortDir>();
    UiPrompts::setMessageHook([this](QWidget*, const UiMessage& m) { messages_.append(m); });
    UiPrompts::setFileDialogHook([this](QFileDialog& d) {
        dialogSuffix_ = d.defaultSuffix();
        return chosenFile_;
    });
}

void FormsTest::init()
{
    pty_ = std::make_unique<TestPty>();
    QVERIFY(pty_->ok());
    ports_->unlinkAll();
    QVERIFY(ports_->link(kGoodPort, pty_->slavePath()));
    messages_.clear();
    lines_.clear();
    received_ = 0;
    chosenFile_.clear();
    dialogSuffix_.clear();
    TFormMain::PortLister = nullptr;
    makeForms();
}

void FormsTest::cleanup()
{
    term_.reset();
    main_.reset();
    pty_.reset();
    TFormMain::PortLister = nullptr;
}

void FormsTest::makeForms()
{
    term_.reset();
    main_ = std::make_unique<TFormMain>();
    term_ = std::make_unique<TFormTerminal>(main_->CommX1);
    main_->setTerminal(term_.get());
    main_->setDataWindow(&data_);
    term_->OnRxLine = [this](const QString& line) { lines_.append(line); };
    // Count what the window thread reads, then let the main window handle it as usual.
    auto handler = main_->CommX1.OnReceive;
    main_->CommX1.OnReceive = [this, handler](TCustomCommX* s, std::int32_t n) {
        received_ += n;
        handler(s, n);
    };
}

QWidget* FormsTest::find(const QString& window, const QString& name) const
{
    QWidget* w = window == QLatin1String("main") ? static_cast<QWidget*>(main_.get())
                                                 : static_cast<QWidget*>(term_.get());
    return w->findChild<QWidget*>(name);
}

void FormsTest::openPort()
{
    main_->CommX1.setPortNo(kGoodPort);
    term_->OpenButton->click();
    QVERIFY2(main_->CommX1.isOpen(), messages_.isEmpty() ? "" : qPrintable(messages_[0].text));
}

PortState FormsTest::state() const
{
    const bool send = term_->SendButton->isEnabled();
    if (term_->FileSendStartButton->isEnabled() != send ||
        term_->TimerSendButton->isEnabled() != send)
        return {false, false, false, -1};  // the three must move together
    return {term_->OpenButton->isEnabled(), term_->CloseButton->isEnabled(), send,
            main_->CommX1.Tag};
}

void FormsTest::deliver(const QByteArray& bytes)
{
    const qint64 want = received_ + bytes.size();
    QVERIFY(pty_->write(bytes));
    QTRY_COMPARE(received_, want);
}

// ---- main window ----

void FormsTest::controls_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("hidden");
    auto row = [](const char* w, const char* n, const char* c, bool e, bool h) {
        QTest::addRow("%s.%s", w, n) << w << n << c << e << h;
    };
    row("main", "Label1", "COM:", true, false);
    row("main", "ComSearchButton", "COM Search", true, false);
    row("main", "MemoryButton", "Kestrel Data", true, false);
    row("main", "TerminalButton", "Terminal", true, true);
    row("main", "Memo1", "", true, true);
    row("main", "ComPortComboBox", "", true, false);
    row("term", "OpenButton", "COM Open", true, false);
    row("term", "CloseButton", "COM Close", false, false);
    row("term", "SendFileSelectButton", "...", true, false);
    row("term", "FileSendStartButton", "File Send", false, false);
    row("term", "AddMZCheckBox", "Add \"MZ\"", true, false);
    row("term", "TimerSendButton", "Timer Send Start", false, false);
    row("term", "Label1", "mSec", true, false);
    row("term", "SendButton", "Command Send", false, false);
    row("term", "ClearButton", "Clear", true, false);
    row("term", "BottomScrollCheckBox", "Auto Scroll", true, false);
    row("term", "TextLogSaveButton", "Text Log Save", true, false);
    row("term", "RtfLogSaveButton", "Rtf Log Save", true, false);
    row("term", "SendFileEdit", "", true, false);
    row("term", "TimerSendTimeEdit", "2000", true, false);
    row("term", "CommandComboBox", "", true, false);
    row("term", "RichEdit1", "", true, false);
    row("term", "StatusBar1", "", true, false);
    row("term", "Panel1", "", true, false);
}

void FormsTest::controls()
{
    QFETCH(QString, window);
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(bool, enabled);
    QFETCH(bool, hidden);
    QWidget* w = find(window, name);
    QVERIFY2(w, qPrintable(name));
    QCOMPARE(w->isEnabled(), enabled);
    QCOMPARE(w->isHidden(), hidden);
    QString text;
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        text = b->text();
    else if (auto* l = qobject_cast<QLabel*>(w))
        text = l->text();
    else if (auto* e = qobject_cast<QLineEdit*>(w))
        text = e->text();
    if (!caption.isEmpty() || qobject_cast<QLineEdit*>(w))
        QCOMPARE(text, caption);
    if (name == QLatin1String("AddMZCheckBox"))
        QVERIFY(!static_cast<QCheckBox*>(w)->isChecked());
}

void FormsTest::discoveryListsVirtualPorts()
{
    TestPty second;
    QVERIFY(second.ok());
    QVERIFY(ports_->link(kGoodPort + 6, second.slavePath()));
    main_->ComSearchButton->click();

    // Number and device of every port, in order; a USB product name may follow the device.
    QStringList want;
    for (const PortEntry& p : ListPorts())
        want << QStringLiteral("COM%1(%2").arg(p.number).arg(QString::fromStdString(p.device));
    QStringList have;
    for (int i = 0; i < main_->ComPortComboBox->count(); ++i)
        have << main_->ComPortComboBox->itemText(i);
    QCOMPARE(have.size(), want.size());
    for (qsizetype i = 0; i < have.size(); ++i)
        QVERIFY2(have[i].startsWith(want[i]) && have[i].endsWith(QLatin1Char(')')), qPrintable(have[i]));
    const qsizetype a = have.indexOf(PortEntryText(kGoodPort, pty_->slavePath()));
    const qsizetype b = have.indexOf(PortEntryText(kGoodPort + 6, second.slavePath()));
    QVERIFY(a >= 0 && b > a);
    QCOMPARE(main_->ComPortComboBox->currentIndex(), have.size() - 1);
    QCOMPARE(main_->CommX1.PortNo(), PortNumberFromEntry(have.last()));
    QVERIFY(messages_.isEmpty());

    // A second search rebuilds the list, without the port that went away.
    ports_->unlinkAll();
    QVERIFY(ports_->link(kGoodPort, pty_->slavePath()));
    main_->ComSearchButton->click();
    QCOMPARE(main_->ComPortComboBox->findText(PortEntryText(kGoodPort + 6, second.slavePath())), -1);
    QCOMPARE(main_->ComPortComboBox->currentIndex(), main_->ComPortComboBox->count() - 1);
}

void FormsTest::discoveryOutcomes_data()
{
    QTest::addColumn<int>("lister");  // 0 throws, 1 empty, 2 two ports, 3 COM10
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("portNo");
    QTest::newRow("device list unreadable") << 0 << "Failed in opening SERIALCOMM key!"
                                            << QStringList{} << 1;
    QTest::newRow("no ports") << 1 << "Can not find COM port!" << QStringList{} << 1;
    QTest::newRow("two ports, last chosen")
        << 2 << "" << QStringList{"COM1(\\Device\\Serial0)", "COM7(\\Device\\VCP0)"} << 7;
    QTest::newRow("two digits") << 3 << "" << QStringList{"COM10(/dev/ttyUSB0 USB serial)"} << 10;
}

void FormsTest::discoveryOutcomes()
{
    QFETCH(int, lister);
    QFETCH(QString, message);
    QFETCH(QStringList, entries);
    QFETCH(int, portNo);
    TFormMain::PortLister = [lister]() -> std::vector<PortEntry> {
        switch (lister) {
        case 0: throw std::runtime_error("no device database");
        case 1: return {};
        case 2: return {{1, "\\Device\\Serial0", {}}, {7, "\\Device\\VCP0", {}}};
        default: return {{10, "/dev/ttyUSB0", "USB serial"}};
        }
    };
    messages_.clear();
    makeForms();  // discovery runs as the window is created

    QStringList have;
    for (int i = 0; i < main_->ComPortComboBox->count(); ++i)
        have << main_->ComPortComboBox->itemText(i);
    QCOMPARE(have, entries);
    QCOMPARE(main_->CommX1.PortNo(), portNo);
    if (message.isEmpty()) {
        QVERIFY(messages_.isEmpty());
        QCOMPARE(main_->ComPortComboBox->currentText(), entries.last());
    } else {
        QCOMPARE(messages_.size(), 1);
        QCOMPARE(messages_[0].text, message);
    }
    // The blank templates are filled whatever discovery found.
    QCOMPARE(TitleText(main_->MemChEmptyData.Title), u"            ");
}

void FormsTest::typedPortText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("portNo");
    QTest::newRow("COM12") << "COM12" << 12;
    QTest::newRow("COMX leaves it") << "COMX" << 5;
    QTest::newRow("entry form") << "COM3(/dev/ttyS2)" << 3;
    QTest::newRow("no COM") << "port 9" << 5;
    QTest::newRow("prefix of a listed entry") << "COM1" << 1;
}

void FormsTest::typedPortText()
{
    QFETCH(QString, typed);
    QFETCH(int, portNo);
    TFormMain::PortLister = [] {
        return std::vector<PortEntry>{{15, "/dev/ttyS14", {}}, {5, "/dev/ttyS4", {}}};
    };
    makeForms();
    QCOMPARE(main_->CommX1.PortNo(), 5);
    main_->show();
    QVERIFY(QTest::qWaitForWindowExposed(main_.get()));
    main_->ComPortComboBox->setFocus();
    main_->ComPortComboBox->lineEdit()->clear();
    QTest::keyClicks(main_->ComPortComboBox->lineEdit(), typed);
    QCOMPARE(main_->ComPortComboBox->currentText(), typed);
    QCOMPARE(main_->CommX1.PortNo(), portNo);
}

void FormsTest::labelOpensTerminalAndButtonOpensDataWindow()
{
    QCOMPARE(main_->windowTitle(), QStringLiteral("Kestrel DataUtility"));
    QCOMPARE(main_->size(), QSize(369, 147));
    QCOMPARE(main_->CommX1.BitRate(), 115200);
    QCOMPARE(main_->CommX1.StopBit(), csb2);
    QVERIFY(!main_->CommX1.isOpen());
    main_->show();
    QVERIFY(QTest::qWaitForWindowExposed(main_.get()));

    QVERIFY(term_->isHidden());
    QTest::mouseClick(main_->Label1, Qt::LeftButton);
    QVERIFY(term_->isVisible());
    QCOMPARE(term_->windowTitle(), main_->ComPortComboBox->currentText());

    QVERIFY(data_.isHidden());
    QTest::mouseClick(main_->MemoryButton, Qt::LeftButton);
    QVERIFY(data_.isVisible());
    data_.hide();
    // Closing the terminal only hides it.
    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
    term_->close();
    QVERIFY(term_->isHidden());
    QVERIFY(!term_->testAttribute(Qt::WA_DeleteOnClose));
    QCOMPARE(lastClosed.count(), 0);
}

// ---- terminal: port states ----

void FormsTest::portStates_data()
{
    QTest::addColumn<QStringList>("steps");  // open (good port), fail (missing port), close
    QTest::addColumn<bool>("open");
    QTest::addColumn<bool>("close");
    QTest::addColumn<bool>("send");
    QTest::addColumn<int>("tag");
    QTest::addColumn<int>("errors");
    QTest::newRow("start") << QStringList{} << true << false << false << 0 << 0;
    QTest::newRow("open") << QStringList{"open"} << false << true << true << kGoodPort << 0;
    QTest::newRow("open, close") << QStringList{"open", "close"} << true << false << false << 0 << 0;
    QTest::newRow("open again") << QStringList{"open", "open"} << false << true << true << kGoodPort << 0;
    QTest::newRow("open failed") << QStringList{"fail"} << false << true << false << 0 << 1;
    QTest::newRow("failed, close") << QStringList{"fail", "close"} << true << false << false << 0 << 1;
    QTest::newRow("failed, open") << QStringList{"fail", "open"} << false << true << true << kGoodPort << 1;
    QTest::newRow("close alone") << QStringList{"close"} << true << false << false << 0 << 0;
}

void FormsTest::portStates()
{
    QFETCH(QStringList, steps);
    QFETCH(bool, open);
    QFETCH(bool, close);
    QFETCH(bool, send);
    QFETCH(int, tag);
    QFETCH(int, errors);
    for (const QString& step : steps) {
        if (step == QLatin1String("close")) {
            term_->CloseButtonClick();
            continue;
        }
        main_->CommX1.setPortNo(step == QLatin1String("open") ? kGoodPort : kMissingPort);
        // Operations press "COM Open" also while it is disabled.
        term_->OpenButtonClick();
    }
    const PortState s = state();
    QCOMPARE(s.open, open);
    QCOMPARE(s.close, close);
    QCOMPARE(s.send, send);
    QCOMPARE(s.tag, tag);
    QCOMPARE(main_->CommX1.isOpen(), tag != 0);
    QCOMPARE(term_->portOpenedHere(), tag != 0);
    QCOMPARE(messages_.size(), errors);
    for (const UiMessage& m : messages_) {
        QCOMPARE(m.kind, UiMessage::Kind::Error);
        QCOMPARE(m.text, QStringLiteral("Can not open the COM port"));
    }
    if (tag != 0) {
        QCOMPARE(main_->CommX1.BitRate(), 115200);
        QCOMPARE(main_->CommX1.StopBit(), csb1);
        QCOMPARE(main_->CommX1.FlowCtrl(), cfcNone);
    }
}

// ---- terminal: received lines ----

void FormsTest::receivedLines_data()
{
    QTest::addColumn<QList<QByteArray>>("chunks");  // each arrives in its own read
    QTest::addColumn<QStringList>("lines");         // handed to the data window
    QTest::addColumn<QString>("log");
    const QByteArray x310(310, 'x');
    QTest::newRow("CR LF") << QList<QByteArray>{"MX\r\n"} << QStringList{"MX"} << "MX~\n";
    QTest::newRow("CR alone") << QList<QByteArray>{"\r"} << QStringList{""} << "~\n";
    QTest::newRow("LF alone") << QList<QByteArray>{"\n", "Z\r"} << QStringList{"Z"} << "Z~\n";
    QTest::newRow("split over reads")
        << QList<QByteArray>{"M", "X0", "1", "\r", "\nRX", "\r\n"} << QStringList{"MX01", "RX"}
        << "MX01~\nRX~\n";
    QTest::newRow("two in one read") << QList<QByteArray>{"AZ1\r\nAZ2\r\n"}
                                     << QStringList{"AZ1", "AZ2"} << "AZ1~\nAZ2~\n";
    QTest::newRow("latin-1") << QList<QByteArray>{"T\xe9\xff\r"} << QStringList{"T\u00e9\u00ff"}
                             << "T\u00e9\u00ff~\n";
    QTest::newRow("overlong shown, not handed on")
        << QList<QByteArray>{x310, "\rOK\r"} << QStringList{"OK"}
        << QString(301, u'x') + "~\n" + QString(9, u'x') + "~\nOK~\n";
}

void FormsTest::receivedLines()
{
    QFETCH(QList<QByteArray>, chunks);
    QFETCH(QStringList, lines);
    QFETCH(QString, log);
    openPort();
    for (const QByteArray& c : chunks)
        deliver(c);
    QCOMPARE(lines_, lines);
    QCOMPARE(term_->RichEdit1->toPlainText(), log);
    for (const LogRun& r : logRuns(*term_->RichEdit1->document()))
        QCOMPARE(r.colour, QColor(Qt::red));
    term_->CloseButtonClick();
}

void FormsTest::bytesDroppedWhileCloseDisabled()
{
    main_->CommX1.setPortNo(kGoodPort);
    main_->CommX1.PortOpen();  // opened elsewhere: "COM Close" stays disabled
    deliver("JUNK");
    QCOMPARE(term_->rxBuffer().count(), 0u);
    QCOMPARE(term_->RichEdit1->toPlainText(), QString());

    // The same stream once the terminal passes bytes on: nothing of the junk is left.
    term_->CloseButton->setEnabled(true);
    deliver("OK\r");
    QCOMPARE(lines_, QStringList{"OK"});
    main_->CommX1.PortClose();
}

// ---- terminal: sending ----

void FormsTest::commandSend_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QByteArray>("wire");
    QTest::newRow("AZ") << "AZ" << QByteArray("AZ\r\n");
    QTest::newRow("empty") << "" << QByteArray("\r\n");
    QTest::newRow("latin-1") << QStringLiteral("N\u00e9") << QByteArray("N\xe9\r\n");
}

void FormsTest::commandSend()
{
    QFETCH(QString, command);
    QFETCH(QByteArray, wire);
    openPort();
    pty_->readAvailable();
    // A longer earlier command must not complete what is typed.
    term_->CommandComboBox->addItem(command + QStringLiteral("01"));
    term_->show();
    QVERIFY(QTest::qWaitForWindowExposed(term_.get()));
    term_->CommandComboBox->setFocus();
    term_->CommandComboBox->lineEdit()->clear();
    for (QChar c : command) {  // typed, or entered as one character where no key has it
        if (c.unicode() < 0x80)
            QTest::keyClick(term_->CommandComboBox->lineEdit(), char(c.unicode()));
        else
            term_->CommandComboBox->lineEdit()->insert(QString(c));
    }
    QTest::mouseClick(term_->SendButton, Qt::LeftButton);

    QByteArray got;
    QTRY_VERIFY((got += pty_->readAvailable()).size() >= wire.size());
    QCOMPARE(got, wire);
    const QList<LogRun> runs = logRuns(*term_->RichEdit1->document());
    QCOMPARE(term_->RichEdit1->toPlainText(), command + "~\n");
    for (const LogRun& r : runs)
        QCOMPARE(r.colour, QColor(Qt::blue));
    QCOMPARE(runs.last().family, QStringLiteral("Webdings"));
    QCOMPARE(runs.last().charset, 2);
    QCOMPARE(term_->CommandComboBox->itemText(0), command);
    QCOMPARE(term_->CommandComboBox->currentText(), command);
    term_->CloseButtonClick();
}

void FormsTest::historyKeptBySend()
{
    // Sending works on the history alone while the port is closed (nothing goes out).
    QStringList sent;
    for (int i = 0; i < 11; ++i)
        sent << QStringLiteral("MR%1").arg(i);
    sent << "mr4";
    for (const QString& s : sent) {
        term_->CommandComboBox->setEditText(s);
        term_->SendButtonClick();
    }
    QStringList have;
    for (int i = 0; i < term_->CommandComboBox->count(); ++i)
        have << term_->CommandComboBox->itemText(i);
    QCOMPARE(have, (QStringList{"mr4", "MR10", "MR9", "MR8", "MR7", "MR6", "MR5", "MR3", "MR2",
                                "MR1"}));
    QCOMPARE(term_->CommandComboBox->currentText(), QStringLiteral("mr4"));
}

// ---- terminal: log ----

void FormsTest::logEntryKinds()
{
    term_->TerminalLog_Add(QStringLiteral("Start"), Qt::black);
    term_->TerminalLog_AddSent(QStringLiteral("MA01"));
    for (char c : QByteArray("AZ1\r"))
        term_->TerminalRx_1byte(std::uint8_t(c));
    term_->CommandComboBox->setEditText(QStringLiteral("AZ"));
    term_->SendButtonClick();

    struct Want {
        int block;
        const char* text;
        QColor colour;
        int charset;
    };
    const Want wants[] = {{0, "Start", Qt::black, 0}, {1, "MA01", Qt::blue, 0},
                          {2, "AZ1", Qt::red, 0},     {2, "~", Qt::red, 2},
                          {3, "AZ", Qt::blue, 0},     {3, "~", Qt::blue, 2}};
    const QList<LogRun> runs = logRuns(*term_->RichEdit1->document());
    QCOMPARE(runs.size(), qsizetype(std::size(wants)));
    for (qsizetype i = 0; i < runs.size(); ++i) {
        QCOMPARE(runs[i].block, wants[i].block);
        QCOMPARE(runs[i].text, QString::fromLatin1(wants[i].text));
        QCOMPARE(runs[i].colour, wants[i].colour);
        QCOMPARE(runs[i].charset, wants[i].charset);
    }
    QCOMPARE(lines_, QStringList{"AZ1"});
}

void FormsTest::clearKeepsPartLine()
{
    term_->TerminalLog_Add(QStringLiteral("old"), Qt::black);
    for (char c : QByteArray("MR"))
        term_->TerminalRx_1byte(std::uint8_t(c));
    term_->ClearButton->click();
    QCOMPARE(term_->RichEdit1->toPlainText(), QString());
    QCOMPARE(term_->RichEdit1->textCursor().position(), 0);
    QVERIFY(!term_->RichEdit1->textCursor().hasSelection());
    for (char c : QByteArray("1\r"))
        term_->TerminalRx_1byte(std::uint8_t(c));
    QCOMPARE(lines_, QStringList{"MR1"});
    QCOMPARE(term_->RichEdit1->toPlainText(), QStringLiteral("MR1~\n"));

    term_->TerminalRx_1byte('Q');
    term_->TerminalRxBufClear();
    QCOMPARE(term_->rxBuffer().count(), 0u);
    term_->TerminalRx_1byte('\r');
    QCOMPARE(lines_.last(), QString());
}

void FormsTest::logSave_data()
{
    QTest::addColumn<bool>("rtf");
    QTest::addColumn<QString>("suffix");
    QTest::newRow("text") << false << "log";
    QTest::newRow("rich text") << true << "rtf";
}

void FormsTest::logSave()
{
    QFETCH(bool, rtf);
    QFETCH(QString, suffix);
    term_->TerminalLog_AddSent(QStringLiteral("AZ"));
    for (char c : QByteArray("AZ1\r"))
        term_->TerminalRx_1byte(std::uint8_t(c));
    QPushButton* button = rtf ? term_->RtfLogSaveButton : term_->TextLogSaveButton;

    QTemporaryDir dir;
    chosenFile_.clear();  // the user cancels: nothing is written
    button->click();
    QCOMPARE(dialogSuffix_, suffix);
    QVERIFY(QDir(dir.path()).isEmpty());

    chosenFile_ = dir.filePath(QStringLiteral("traffic.") + suffix);
    button->click();
    QFile f(chosenFile_);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray data = f.readAll();
    if (!rtf) {
        QCOMPARE(data, QByteArray("AZ\nAZ1~\n"));
    } else {
        QVERIFY(data.startsWith("{\\rtf1"));
        const QList<RtfFont> fonts = rtfFonts(data);
        const QList<QColor> colours = rtfColours(data);
        QVERIFY(colours.contains(QColor(Qt::blue)) && colours.contains(QColor(Qt::red)));
        QVERIFY(std::any_of(fonts.begin(), fonts.end(), [](const RtfFont& f) {
            return f.name == QLatin1String("Webdings") && f.charset == 2;
        }));
    }
    QVERIFY(messages_.isEmpty());
}

void FormsTest::logSaveFailureShowsError()
{
    QTemporaryDir dir;
    chosenFile_ = dir.filePath(QStringLiteral("no-such-folder/traffic.log"));
    term_->TextLogSaveButton->click();
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].kind, UiMessage::Kind::Error);
    QVERIFY(messages_[0].text.contains(chosenFile_));
    QVERIFY(!messages_[0].detail.isEmpty());
}

// ---- application ----

namespace {
class Thrower : public QObject {
public:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User)
            throw ECommError("Can not open the COM port", "Permission denied");
        return QObject::event(e);
    }
};
}  // namespace

void FormsTest::escapingCommErrorShowsErrorBox()
{
    Thrower t;
    QEvent ev(QEvent::User);
    QCoreApplication::sendEvent(&t, &ev);
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].kind, UiMessage::Kind::Error);
    QCOMPARE(messages_[0].text, QStringLiteral("Can not open the COM port"));
    QCOMPARE(messages_[0].detail, QStringLiteral("Permission denied"));
}

void FormsTest::closingMainWindowEndsProgram()
{
    main_->show();
    QTest::mouseClick(main_->Label1, Qt::LeftButton);
    QVERIFY(term_->isVisible());
    QTimer::singleShot(0, main_.get(), [this] { main_->close(); });
    // Only a guard against a hang: the loop must end through the main window's close.
    QTimer::singleShot(20000, qApp, [] { QCoreApplication::exit(1); });
    QCOMPARE(QCoreApplication::exec(), 0);
}

int main(int argc, char** argv)
{
    KestrelApplication app(argc, argv);
    FormsTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "forms_test.moc"
