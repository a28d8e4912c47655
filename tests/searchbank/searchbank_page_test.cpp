// The "SearchBank" page on a command engine whose host records the traffic and whose timer
// the test ticks: controls, the table, copy and paste, double-click and fixed-cell click,
// and Abort with the link list's restore.
#include "CommandEngine.h"
#include "SearchBankLink.h"
#include "SearchBankTab.h"
#include "SearchBankTableText.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTableWidget>
#include <QtTest>

#include <cstring>
#include <memory>

namespace {

class ManualTimer : public EngineTimer {
public:
    void Start(std::int32_t ms) override { active_ = true, interval_ = ms; }
    void Stop() override { active_ = false; }
    bool IsActive() const override { return active_; }
    std::int32_t Interval() const override { return interval_; }

private:
    bool active_ = false;
    std::int32_t interval_ = 0;
};

class RecordingHost : public CommandEngineHost {
public:
    void WriteCommand(const std::string& bytes) override { written << QString::fromLatin1(bytes); }
    void WriteLineEnd() override {}
    void LogProgress(const QString&) override {}
    void LogSentCommand(const QString&) override {}
    bool ClickComOpen() override { return true; }
    void ClickComClose() override {}
    void RedrawTables() override {}
    void ShowBusyMessage() override {}
    void Sleep(std::int32_t) override {}
    void ButtonsChanged(OpTab) override {}
    void ProgressChanged(std::int32_t, std::int32_t) override {}

    QStringList written;
};

struct PageRig {
    PageRig()
    {
        store->EmptyData_Init();
        auto t = std::make_unique<ManualTimer>();
        timer = t.get();
        engine = std::make_unique<CommandEngine>(host, std::move(t));
        sbank::TSearchBankTabFrame frame{
            [](OpButton, QPushButton*) {},
            // As the data window does: the Abort button runs the engine's Abort.
            [this](OpTab tab, QPushButton* b) { QObject::connect(b, &QPushButton::clicked, [this, tab] { engine->Abort(tab); }); },
            [this](std::function<void()> redraw) { redrawTable = std::move(redraw); }};
        tab = std::make_unique<sbank::TSearchBankTab>(&page, *engine, *store, shared, frame);
        tab->EditSearchBank = [this](int bank) { edited.push_back(bank); };
    }

    TSearchBankElement RangeBank(qint64 low, const char16_t* title, std::uint8_t readState = 2)
    {
        TSearchBankElement b = store->SearchBankEmptyData;
        b.Flags_RegistedFlag = 1;
        b.ReadState = readState;
        b.LowFreq = low;
        b.HighFreq = low + 2000000;
        b.StepFreq = 12500;
        SetTitleText(b.Title, title);
        return b;
    }

    QWidget page;
    RecordingHost host;
    ManualTimer* timer = nullptr;
    std::unique_ptr<CommandEngine> engine;
    std::unique_ptr<TStore> store = std::make_unique<TStore>();
    memparam::TParamShared shared;
    std::function<void()> redrawTable;
    std::unique_ptr<sbank::TSearchBankTab> tab;
    std::vector<int> edited;
};

}  // namespace

class SearchBankPageTest : public QObject {
    Q_OBJECT

private slots:
    void controls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("read") << "SearchBankReadButton" << "1 Bank Read" << true;
        QTest::newRow("all read") << "SearchBankAllReadButton" << "All Banks Read" << true;
        QTest::newRow("write") << "SearchBankWriteButton" << "1 Bank Write" << true;
        QTest::newRow("all write") << "SearchBankAllWriteButton" << "All Banks Write" << true;
        QTest::newRow("abort") << "SearchBankAbortButton" << "Abort" << true;
        QTest::newRow("copy") << "SearchBankCopyButton" << "Bank Copy" << true;
        QTest::newRow("paste") << "SearchBankPasteButton" << "Bank Paste" << false;
    }

    void controls()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(bool, enabled);
        PageRig rig;
        auto* b = rig.page.findChild<QPushButton*>(name);
        QVERIFY(b);
        QCOMPARE(b->text(), caption);
        QCOMPARE(b->isEnabled(), enabled);
    }

    void labelsRegionAndGrid()
    {
        PageRig rig;
        QCOMPARE(rig.page.findChild<QLabel*>("SearchBankCopyLabel")->text(), QStringLiteral("Copy Src : "));
        QVERIFY(rig.page.findChild<QLabel*>("SearchBankCopyFreqLabel")->text().isEmpty());
        QVERIFY(rig.page.findChild<QLabel*>("SearchBankCopyTitleLabel")->text().isEmpty());
        auto* region = rig.page.findChild<QGroupBox*>("SearchBankRegionRadioGroup");
        QVERIFY(region && !region->isEnabled());
        QCOMPARE(region->title(), QStringLiteral("Region"));
        QCOMPARE(rig.tab->RegionItemIndex(), 1);
        QCOMPARE(region->findChildren<QRadioButton*>().size(), 3);

        auto* grid = rig.page.findChild<QTableWidget*>("SearchBankStringGrid");
        QVERIFY(grid);
        QCOMPARE(grid->columnCount(), 32);
        QCOMPARE(grid->rowCount(), 40);  // plus the heading row
        QCOMPARE(grid->horizontalHeaderItem(1)->text(), QStringLiteral("L Freq (MHz)"));
        QCOMPARE(grid->selectionBehavior(), QAbstractItemView::SelectRows);
        auto* fixed = rig.page.findChild<QTableView*>("SearchBankStringGridFixedColumns");
        QVERIFY(fixed);
        for (int c = 0; c < 32; ++c)
            QCOMPARE(fixed->isColumnHidden(c), c >= 4);
        // Before the first read every bank is the zero record.
        QCOMPARE(grid->item(39, 0)->text(), QStringLiteral("39"));
        QCOMPARE(grid->item(39, 1)->text(), QStringLiteral("---"));
        QVERIFY(grid->item(39, 2)->text().isEmpty());
    }

    void redrawShowsTheStore()
    {
        PageRig rig;
        rig.store->SearchBankData[6] = rig.RangeBank(430000000, u"UHF");
        QVERIFY(rig.redrawTable);
        rig.redrawTable();
        for (int col = 0; col < 32; ++col)
            QCOMPARE(rig.tab->SearchBankStringGrid->item(6, col)->text(), sbank::SearchTableCellText(*rig.store, 6, col));
        QCOMPARE(rig.tab->SearchBankStringGrid->item(6, 3)->text(), QStringLiteral("UHF"));
    }

    void copyAndPaste()
    {
        PageRig rig;
        rig.store->SearchBankData[3] = rig.RangeBank(145500000, u"TWO METRE");
        rig.tab->SetCurrentRow(4);
        QTest::mouseClick(rig.tab->SearchBankCopyButton, Qt::LeftButton);
        QCOMPARE(rig.tab->SearchBankCopyLabel->text(), QStringLiteral("Copy Src: 03"));
        QCOMPARE(rig.tab->SearchBankCopyFreqLabel->text(), QStringLiteral("145.5 - 147.5MHz"));
        QCOMPARE(rig.tab->SearchBankCopyTitleLabel->text(), QStringLiteral(" [TWO METRE]"));
        QVERIFY(rig.tab->SearchBankPasteButton->isEnabled());

        // A later change of the source neither changes the labels nor what is pasted.
        rig.store->SearchBankData[3].LowFreq = 150000000;
        for (int row : {11, 40}) {
            rig.tab->SetCurrentRow(row);
            QTest::mouseClick(rig.tab->SearchBankPasteButton, Qt::LeftButton);
            QVERIFY(SameRecordForTest(rig.store->SearchBankData[row - 1], rig.tab->SearchBankCopyData));
            QCOMPARE(rig.store->SearchBankData[row - 1].LowFreq, qint64(145500000));
            QCOMPARE(rig.tab->SearchBankStringGrid->item(row - 1, 3)->text(), QStringLiteral("TWO METRE"));
        }
        QCOMPARE(rig.tab->SearchBankCopyLabel->text(), QStringLiteral("Copy Src: 03"));
        QVERIFY(rig.tab->SearchBankPasteButton->isEnabled());

        // A bank copied before it was read pastes as an empty, unread bank.
        rig.tab->SetCurrentRow(20);
        QTest::mouseClick(rig.tab->SearchBankCopyButton, Qt::LeftButton);
        rig.tab->SetCurrentRow(11);
        QTest::mouseClick(rig.tab->SearchBankPasteButton, Qt::LeftButton);
        QCOMPARE(int(rig.store->SearchBankData[10].Flags_RegistedFlag), 0);
        QCOMPARE(int(rig.store->SearchBankData[10].ReadState), 0);
        QCOMPARE(rig.tab->SearchBankStringGrid->item(10, 1)->text(), QStringLiteral("---"));
    }

    void doubleClickEditsTheSelectedBank()
    {
        PageRig rig;
        rig.page.resize(770, 400);
        rig.page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&rig.page));
        QTableWidget* grid = rig.tab->SearchBankStringGrid;
        grid->scrollToBottom();
        rig.tab->SetCurrentRow(40);
        const QRect cell = grid->visualItemRect(grid->item(39, 5));
        // A double click follows a press on the same cell, as a user's does.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(rig.edited, std::vector<int>{39});
    }

    void fixedCellClickSelectsItsRow()
    {
        PageRig rig;
        rig.tab->SetCurrentRow(2);
        rig.tab->SearchBankStringGridFixedCellClick(0, 0);  // the heading row selects nothing
        QCOMPARE(rig.tab->CurrentRow(), 2);
        rig.tab->SearchBankStringGridFixedCellClick(1, 17);
        QCOMPARE(rig.tab->CurrentRow(), 17);
    }

    // Abort after the list was replaced sends the saved list back; an Abort of that restore
    // stops for good; the next operation keeps the list saved before.
    void abortRestoresTheSavedListOnce()
    {
        PageRig rig;
        QTest::mouseClick(rig.tab->SearchBankAllReadButton, Qt::LeftButton);
        QVERIFY(rig.engine->TabRunning(OpTab::SearchBank));
        QCOMPARE(rig.engine->SearchBankState, sbank::kLinkNoBankYet);
        rig.engine->SearchBankState = sbank::kLinkReplaced;  // as after "BK" and "BK99"
        rig.engine->SearchLinkBackup.Link[0] = 0b100010;    // banks 1 and 5

        QTest::mouseClick(rig.tab->SearchBankAbortButton, Qt::LeftButton);
        QVERIFY(rig.engine->TabRunning(OpTab::SearchBank));
        QCOMPARE(rig.engine->CommandList(), QStringList{"BK0105"});
        QCOMPARE(rig.engine->CommandOptList(), QStringList{"[1](200)"});
        QCOMPARE(rig.engine->SearchBankState, sbank::kLinkRestoreQueued);

        // The receiver does not acknowledge; the user aborts again: nothing more is queued.
        QTest::mouseClick(rig.tab->SearchBankAbortButton, Qt::LeftButton);
        QVERIFY(!rig.engine->TabRunning(OpTab::SearchBank));
        QVERIFY(rig.engine->CommandList().isEmpty());

        // The next read must not replace the list saved before by the receiver's "99".
        QVERIFY(!rig.tab->KeepLinkBackup());
        QTest::mouseClick(rig.tab->SearchBankReadButton, Qt::LeftButton);
        QVERIFY(rig.tab->KeepLinkBackup());
        QCOMPARE(rig.engine->SearchBankState, sbank::kLinkNoBankYet);
    }

    void abortBeforeTheListWasSavedSendsNothing()
    {
        PageRig rig;
        QTest::mouseClick(rig.tab->SearchBankAllWriteButton, Qt::LeftButton);
        for (std::int32_t state : {sbank::kLinkNoBankYet, sbank::kLinkSaveQueued, sbank::kLinkSelected}) {
            if (!rig.engine->TabRunning(OpTab::SearchBank))
                QTest::mouseClick(rig.tab->SearchBankAllWriteButton, Qt::LeftButton);
            rig.engine->SearchBankState = state;
            QTest::mouseClick(rig.tab->SearchBankAbortButton, Qt::LeftButton);
            QVERIFY(!rig.engine->TabRunning(OpTab::SearchBank));
            QVERIFY(rig.engine->CommandList().isEmpty());
        }
    }

private:
    static bool SameRecordForTest(const TSearchBankElement& a, const TSearchBankElement& b)
    {
        return std::memcmp(&a, &b, offsetof(TSearchBankElement, Title) + sizeof a.Title) == 0;
    }
};

QTEST_MAIN(SearchBankPageTest)
#include "searchbank_page_test.moc"
