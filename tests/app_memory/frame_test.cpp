// The data window frame on the real terminal and serial component (no port opened).
#include "CommX.h"
#include "FormMemory.h"
#include "FormTerminal.h"
#include "Store.h"
#include "UiPrompts.h"
#include "WindowWait.h"

#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

#include <memory>

class FrameTest : public QObject {
    Q_OBJECT

private:
    struct Rig {
        TStore store;
        TCommX comm;
        TFormTerminal terminal{comm};
        TFormMemory form{store, comm, terminal};
    };
    std::unique_ptr<Rig> rig;
    QList<UiMessage> messages;

    // Registers four buttons and an Abort button for one tab, as an operation tab would.
    QList<QPushButton*> AddTabButtons(OpTab tab)
    {
        QList<QPushButton*> out;
        for (OpButton b : ButtonsOf(tab)) {
            auto* button = new QPushButton(QString::fromLatin1(ButtonName(b)), rig->form.PageOf(tab));
            rig->form.RegisterOperationButton(b, button);
            out << button;
        }
        auto* abort = new QPushButton(QStringLiteral("Abort"), rig->form.PageOf(tab));
        rig->form.RegisterAbortButton(tab, abort);
        return out;
    }

private slots:
    void init()
    {
        WindowWait::scale = 0.0;
        messages.clear();
        UiPrompts::setMessageHook([this](QWidget*, const UiMessage& m) { messages << m; });
        rig = std::make_unique<Rig>();
        rig->comm.setPortNo(255);  // no such port: "COM Open" fails
    }
    void cleanup()
    {
        rig.reset();
        UiPrompts::setMessageHook({});
    }

    void tabs_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("memory") << "MemCh / MemBank" << true << true;
        QTest::newRow("scan group") << "ScanGroup" << true << true;
        QTest::newRow("search bank") << "SearchBank" << true << true;
        QTest::newRow("search group") << "SearchGroup" << true << true;
        QTest::newRow("pass") << "PassFreq" << false << true;
        QTest::newRow("config") << "CONFIG/MISC" << false << true;
        QTest::newRow("user") << "UserAuto" << false << true;
        QTest::newRow("eq") << "EQ" << false << true;
        QTest::newRow("clock") << "Clock / Alarm / Timer" << false << false;
    }
    void tabs()
    {
        QFETCH(QString, caption);
        QFETCH(bool, visible);
        QFETCH(bool, enabled);
        QTabWidget* pages = rig->form.PageControl1;
        int index = -1;
        for (int i = 0; i < pages->count(); ++i)
            if (pages->tabText(i) == caption)
                index = i;
        QVERIFY2(index >= 0, qPrintable(caption));
        QCOMPARE(pages->isTabVisible(index), visible);
        QCOMPARE(pages->isTabEnabled(index), enabled);
    }

    void frameStartsOnSearchBankPage()
    {
        TFormMemory& f = rig->form;
        QCOMPARE(f.windowTitle(), QStringLiteral("Kestrel DataUtility"));
        QCOMPARE(f.size(), QSize(770, 480));
        QCOMPARE(f.PageControl1->currentWidget(), f.SearchBankPage());
        QCOMPARE(f.PageControl1->tabText(f.PageControl1->currentIndex()), QStringLiteral("SearchBank"));
        QCOMPARE(f.findChild<QProgressBar*>(QStringLiteral("ProgressBar1")), f.ProgressBar1);
        QCOMPARE(f.PageControl1->property("Tag").toInt(), -1);
        auto* timer = f.findChild<QTimer*>(QStringLiteral("Timer1"));
        QVERIFY(timer);
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 1000);
        QCOMPARE(timer->property("Tag").toInt(), 0);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QVERIFY(f.ProgressBar1->geometry().top() >= f.PageControl1->geometry().bottom());
    }

    void progressBarPressHidesGroupTabs()
    {
        TFormMemory& f = rig->form;
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QTest::mousePress(f.ProgressBar1, Qt::LeftButton);
        QVERIFY(!f.PageControl1->isTabVisible(f.PageControl1->indexOf(f.ScanGroupPage())));
        QVERIFY(!f.PageControl1->isTabVisible(f.PageControl1->indexOf(f.SearchGroupPage())));
        QVERIFY(f.PageControl1->isTabVisible(f.PageControl1->indexOf(f.MemChPage())));
        QVERIFY(f.PageControl1->isTabVisible(f.PageControl1->indexOf(f.SearchBankPage())));
    }

    void showRedrawsBothTables()
    {
        int memory = 0, searchBank = 0;
        rig->form.SetMemoryTableRedraw([&] { ++memory; });
        rig->form.SetSearchBankTableRedraw([&] { ++searchBank; });
        rig->form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&rig->form));
        QCOMPARE(memory, 1);
        QCOMPARE(searchBank, 1);
    }

    void registeredButtonsFollowStartAndAbort()
    {
        TFormMemory& f = rig->form;
        const QList<QPushButton*> buttons = AddTabButtons(OpTab::SearchBank);
        QPushButton* abort = f.AbortButton(OpTab::SearchBank);
        QCOMPARE(abort->objectName(), QStringLiteral("SearchBankAbortButton"));
        QVERIFY(abort->isEnabled());
        for (QPushButton* b : buttons)
            QVERIFY(b->isEnabled());

        // The port cannot open: the start ends after marking the tab, with the error box.
        const bool started = f.Engine().StartOperation(OpButton::SearchBankAllReadButton, 3, {},
                                                       [](CommandEngine& e) { e.AppendCommand("AZ", "[1](200)"); });
        QVERIFY(!started);
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.first().text, QStringLiteral("Can not open the COM port"));
        for (QPushButton* b : buttons)
            QVERIFY(!b->isEnabled());
        QCOMPARE(f.OperationButton(OpButton::SearchBankAllReadButton)->property("Tag").toInt(), 1);
        QCOMPARE(f.OperationButton(OpButton::SearchBankReadButton)->property("Tag").toInt(), 0);
        QCOMPARE(f.PageControl1->property("Tag").toInt(), 3);
        QVERIFY(f.Engine().CommandList().isEmpty());
        QCOMPARE(f.findChild<QTimer*>(QStringLiteral("Timer1"))->property("Tag").toInt(), 0);

        QTest::mouseClick(abort, Qt::LeftButton);
        for (QPushButton* b : buttons) {
            QVERIFY(b->isEnabled());
            QCOMPARE(b->property("Tag").toInt(), 0);
        }
        QVERIFY(!abort->isEnabled());
        QCOMPARE(f.PageControl1->property("Tag").toInt(), -1);
    }

    void groupStartWhileBusyShowsNowBusy()
    {
        TFormMemory& f = rig->form;
        AddTabButtons(OpTab::ScanGroup);
        f.Engine().SetBusyMark(0);
        QVERIFY(!f.Engine().StartOperation(OpButton::ScanGrpReadButton, 1, {}, {}));
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.first().text, QStringLiteral("Now Busy!"));
        QVERIFY(f.OperationButton(OpButton::ScanGrpReadButton)->isEnabled());
    }

    void receivedLinesReachTheRunningFamily()
    {
        TFormMemory& f = rig->form;
        QStringList seen;
        f.Engine().SetAnswerParser(OpFamily::MemoryWrite, [&](const QString& s) {
            seen << s;
            return true;
        });
        f.Engine().StartOperation(OpButton::MemBankWriteButton, 1, {}, {});  // open fails, tab stays marked
        for (char c : QByteArray("MX 01\r\nIX\r"))
            rig->terminal.TerminalRx_1byte(static_cast<std::uint8_t>(c));
        QCOMPARE(seen, QStringList({"MX 01", "IX"}));
        f.MemBankAbortButtonClick();
        rig->terminal.TerminalRx_1byte('A');
        rig->terminal.TerminalRx_1byte('\r');
        QCOMPARE(seen.size(), 2);
    }
};

QTEST_MAIN(FrameTest)
#include "frame_test.moc"
