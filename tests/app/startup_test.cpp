// The assembled program: every window exists once, only the main window shows, and the
// data window's tables reach the edit dialogs and the offset list as a user would.
#include "AppWindows.h"
#include "UiPrompts.h"
#include "WindowWait.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include <memory>

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void onlyMainWindowShownAndOffsetTableFilled();
    void tableDoubleClickEditsThatRecordAndOkRedraws_data();
    void tableDoubleClickEditsThatRecordAndOkRedraws();
    void offsetListOkRebuildsBothDialogsAndMarksListUnsent();

private:
    static void DoubleClickRow(QTableWidget* grid, int row);
    static bool Activate(QWidget* window);
    static void TypeInto(QLineEdit* box, const char* text);
    std::unique_ptr<AppWindows> w_;
};

void StartupTest::init()
{
    WindowWait::scale = 0.0;
    UiPrompts::setMessageHook([](QWidget*, const UiMessage&) {});
    TFormMain::PortLister = [] { return std::vector<PortEntry>{{7, "/dev/null", {}}}; };
    w_ = std::make_unique<AppWindows>();
}

void StartupTest::cleanup()
{
    w_.reset();
    TFormMain::PortLister = nullptr;
}

void StartupTest::DoubleClickRow(QTableWidget* grid, int row)
{
    grid->scrollToItem(grid->item(row, 1));
    const QPoint at = grid->visualItemRect(grid->item(row, 1)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
}

bool StartupTest::Activate(QWidget* window)
{
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

// Clicks into the box, replaces its text by typing, as a user does.
void StartupTest::TypeInto(QLineEdit* box, const char* text)
{
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, QString::fromLatin1(text));
}

void StartupTest::onlyMainWindowShownAndOffsetTableFilled()
{
    w_->formMain.show();
    QVERIFY(w_->formMain.isVisible());
    for (QWidget* hidden : std::initializer_list<QWidget*>{&w_->formTerminal, &w_->formMemory, &w_->formMemChEdit,
                                                           &w_->formSearchBankEdit, &w_->formOffsetFreq})
        QVERIFY2(!hidden->isVisible(), qPrintable(hidden->objectName()));
    QCOMPARE(w_->formMain.OffsetFreqTable[20], 100000);
    QCOMPARE(w_->formMain.OffsetFreqTable[39], 130000000);
    QVERIFY(w_->formMemory.OffsetFreqChangedMark());  // the first write sends the list
}

void StartupTest::tableDoubleClickEditsThatRecordAndOkRedraws_data()
{
    QTest::addColumn<bool>("memoryTable");
    QTest::newRow("memory channel 49 of bank 0") << true;
    QTest::newRow("search bank 39") << false;
}

void StartupTest::tableDoubleClickEditsThatRecordAndOkRedraws()
{
    QFETCH(bool, memoryTable);
    w_->formMemory.show();
    auto* grid = w_->formMemory.findChild<QTableWidget*>(memoryTable ? "MemChStringGrid" : "SearchBankStringGrid");
    QVERIFY(grid);
    QDialog* dialog = memoryTable ? static_cast<QDialog*>(&w_->formMemChEdit)
                                  : static_cast<QDialog*>(&w_->formSearchBankEdit);
    DoubleClickRow(grid, grid->rowCount() - 1);
    QTRY_VERIFY(dialog->isVisible());
    QVERIFY(Activate(dialog));

    // A frequency typed in the dialog reaches the table once OK stores it.
    auto* freq = dialog->findChild<QLineEdit*>(memoryTable ? "RxFreqEdit" : "L_FreqEdit");
    QVERIFY(freq);
    TypeInto(freq, "145.5");
    if (!memoryTable) {
        auto* high = dialog->findChild<QLineEdit*>("U_FreqEdit");
        QVERIFY(high);
        TypeInto(high, "146");
    }
    QTest::mouseClick(dialog->findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
    QTRY_VERIFY(!dialog->isVisible());
    if (memoryTable)
        QCOMPARE(w_->formMain.MemChData[0][49].RxFreq, 145500000);
    else
        QCOMPARE(w_->formMain.SearchBankData[39].LowFreq, 145500000);
    QCOMPARE(grid->item(grid->rowCount() - 1, 1)->text().contains("145.50000"), true);
}

void StartupTest::offsetListOkRebuildsBothDialogsAndMarksListUnsent()
{
    w_->formMemory.OffsetFreqChangedMark() = false;  // as after a write
    w_->formMemChEdit.show();
    QTest::mouseClick(w_->formMemChEdit.findChild<QPushButton*>("OffsetFreqListButton"), Qt::LeftButton);
    QTRY_VERIFY(w_->formOffsetFreq.isVisible());
    QVERIFY(Activate(&w_->formOffsetFreq));

    auto* entry = w_->formOffsetFreq.findChild<QLineEdit*>("OF05Edit");
    QVERIFY(entry);
    TypeInto(entry, "0.6");
    QTest::mouseClick(w_->formOffsetFreq.findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
    QTRY_VERIFY(!w_->formOffsetFreq.isVisible());

    QCOMPARE(w_->formMain.OffsetFreqTable[5], 600000);
    QVERIFY(w_->formMemory.OffsetFreqChangedMark());
    for (TEditFormBase* d : std::initializer_list<TEditFormBase*>{&w_->formMemChEdit, &w_->formSearchBankEdit}) {
        const QComboBox* list = d->OffsetIndexComboBox;
        QVERIFY(list->count() > 5);
        QVERIFY2(list->itemText(5).contains("0000.60000"), qPrintable(list->itemText(5)));
    }
}

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
