#include "FakeEngineRig.h"
#include "FormOffsetFreq.h"
#include "MemTableText.h"
#include "MemoryTab.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QScrollBar>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QtTest>

#include <memory>

namespace {

const QColor kSilver(192, 192, 192);

// The tab on a bare page, on an engine with a fake host.
struct TabRig {
    TabRig()
    {
        store->EmptyData_Init();
        page.resize(770, 440);
        tab = std::make_unique<memtab::TMemoryTab>(&page, *rig.engine, *store, memtab::TMemoryTabFrame{});
        page.show();
    }
    QTableWidget* Grid() const { return tab->MemChStringGrid; }
    // The colour at the inner top-right corner of a cell, where no text is drawn.
    QColor CellBackground(int row, int col)
    {
        Grid()->scrollToItem(Grid()->item(row, std::max(col, 3)));
        const QRect r = Grid()->visualItemRect(Grid()->item(row, col));
        const QImage image = Grid()->viewport()->grab().toImage();
        return image.pixelColor(r.right() - 3, r.top() + 3);
    }

    std::unique_ptr<TStore> store = std::make_unique<TStore>();
    EngineRig rig;
    QWidget page;
    std::unique_ptr<memtab::TMemoryTab> tab;
};

}  // namespace

class MemoryTableTest : public QObject {
    Q_OBJECT
private slots:
    void layoutFollowsTheWidthSamples();
    void unreadAndHalfReadChannelsAreGreyed();
    void fullyReadChannelTexts_data();
    void fullyReadChannelTexts();
    void indexesWithoutListEntriesShowEmpty();
    void copyAndPaste();
    void fixedCellClickAndDoubleClick();
    void offsetDialogEntryRules();
    void offsetDialogSendsOnceAndKeepsReceiverEntries();
};

void MemoryTableTest::layoutFollowsTheWidthSamples()
{
    TabRig t;
    QTableWidget* g = t.Grid();
    QCOMPARE(g->columnCount(), 30);
    QCOMPARE(g->rowCount(), 50);
    QCOMPARE(g->rowHeight(49), 24);
    QCOMPARE(g->horizontalHeaderItem(1)->text(), QStringLiteral("Freq (MHz)"));
    QCOMPARE(g->horizontalHeaderItem(29)->text(), QStringLiteral("T-TC Slot"));
    QCOMPARE(g->columnWidth(10), QFontMetrics(g->font()).horizontalAdvance(QStringLiteral(" +99(999.9999999) ")));
    QCOMPARE(g->horizontalHeader()->sectionResizeMode(5), QHeaderView::Interactive);
    QCOMPARE(t.tab->MemBankComboBox->count(), 40);
    QCOMPARE(t.tab->MemBankComboBox->itemText(39), QStringLiteral("MemBank 39"));
    QVERIFY(!t.tab->MemChPasteButton->isEnabled());
    QVERIFY(!t.tab->MemChRegionRadioGroup->isEnabled());
    QCOMPARE(t.tab->RegionItemIndex(), 1);

    // The three leading columns stay in view when the table scrolls sideways.
    auto* frozen = g->findChild<QTableView*>(QStringLiteral("MemChStringGridFixedColumns"));
    QVERIFY(frozen);
    g->horizontalScrollBar()->setValue(g->horizontalScrollBar()->maximum());
    QVERIFY(g->horizontalScrollBar()->value() > 0);
    QVERIFY(frozen->isVisible());
    QVERIFY(!frozen->isColumnHidden(2));
    QVERIFY(frozen->isColumnHidden(3));
    QCOMPARE(frozen->width(), g->columnWidth(0) + g->columnWidth(1) + g->columnWidth(2));
}

void MemoryTableTest::unreadAndHalfReadChannelsAreGreyed()
{
    TabRig t;
    t.store->MemChData[0][1].ReadState = 1;  // main answer only
    t.store->MemChData[0][1].MemFlag_RegistedFlag = 1;
    t.store->MemChData[0][1].RxFreq = 145500000;
    t.store->MemChData[0][2] = t.store->MemChData[0][1];
    t.store->MemChData[0][2].ReadState = 2;
    t.tab->MemoryBankTableDisplay(0);

    QCOMPARE(t.Grid()->item(0, 1)->text(), QStringLiteral("---"));
    QCOMPARE(t.Grid()->item(0, 0)->text(), QStringLiteral("00-00"));
    for (int col : {4, 8, 9, 20})
        QCOMPARE(t.CellBackground(0, col), kSilver);
    for (int col : {4, 7, 8})
        QVERIFY2(t.CellBackground(1, col) != kSilver, qPrintable(QString::number(col)));
    for (int col : {9, 15, 29})
        QCOMPARE(t.CellBackground(1, col), kSilver);
    for (int col : {4, 9, 29})
        QVERIFY(t.CellBackground(2, col) != kSilver);
}

void MemoryTableTest::fullyReadChannelTexts_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("text");
    QTest::newRow("bank-channel") << 0 << "07-12";
    QTest::newRow("frequency") << 1 << " 145.50000";
    QTest::newRow("title") << 2 << "REPEATER    ";
    QTest::newRow("f-au") << 3 << "OFF";
    QTest::newRow("mode") << 4 << "DMR";
    QTest::newRow("ifbw") << 5 << "  6k";
    QTest::newRow("pass") << 7 << "ON";
    QTest::newRow("att") << 9 << "AMP";
    QTest::newRow("offset") << 10 << "-03(005.00000)";
    QTest::newRow("ctcss") << 15 << "067.0Hz";
    QTest::newRow("vscr") << 16 << "3500";
    QTest::newRow("dcs") << 17 << "754";
    QTest::newRow("enc") << 20 << "00042";
    QTest::newRow("wc") << 21 << "007";
    QTest::newRow("ran") << 23 << "05";
    QTest::newRow("dmr slot") << 24 << "2";
    QTest::newRow("nac") << 28 << "1A3";
    QTest::newRow("t-tc slot") << 29 << "AUT";
}

void MemoryTableTest::fullyReadChannelTexts()
{
    QFETCH(int, col);
    QFETCH(QString, text);
    TabRig t;
    TMemChElement& ch = t.store->MemChData[7][12];
    ch.MemFlag_RegistedFlag = 1;
    ch.ReadState = 2;
    ch.RxFreq = 145500000;
    SetTitleText(ch.Title, u"REPEATER    ");
    ch.Dem_DModeEnable = 1;
    ch.DMode = 2;
    ch.IFBW = 4;
    ch.MemFlag_Pass = 1;
    ch.RF_ATT = 0;
    ch.OffsetFreq = -3;
    t.store->OffsetFreqTable[3] = 5000000;
    ch.CTCSS_CODE = 3;
    ch.VoiceSCR = 350;
    ch.DCS_CODE = 107;
    ch.DCR_CODE = 42;
    ch.DCR_WHITE = 7;
    ch.NXDN_RANCode = 5;
    ch.Dem_DMR_Slot = 3;
    ch.P25_NACCode = 419;
    t.tab->MemBankComboBox->setCurrentIndex(7);  // the change handler redraws
    QCOMPARE(t.Grid()->item(12, col)->text(), text);
}

void MemoryTableTest::indexesWithoutListEntriesShowEmpty()
{
    TabRig t;
    TMemChElement& ch = t.store->MemChData[0][3];
    ch.MemFlag_RegistedFlag = 1;
    ch.ReadState = 2;
    ch.Dem_DModeEnable = 1;
    ch.DMode = 128;
    ch.AMode = 9;
    ch.IFBW = 200;
    ch.RF_ATT = 3;
    ch.CTCSS_CODE = 54;
    ch.DCS_CODE = 255;
    ch.Dem_SQL_Type = 5;
    ch.RF_TETRA_Slot = 5;
    t.tab->MemoryBankTableDisplay(0);
    for (int col : {4, 5, 9, 14, 15, 17, 29})
        QVERIFY2(t.Grid()->item(3, col)->text().isEmpty(), qPrintable(QString::number(col)));
    ch.Dem_DModeEnable = 0;  // analog AMode 9: still no mode text, no bandwidth list
    t.tab->MemoryBankTableDisplay(0);
    QVERIFY(t.Grid()->item(3, 4)->text().isEmpty());
    QVERIFY(t.Grid()->item(3, 5)->text().isEmpty());
}

void MemoryTableTest::copyAndPaste()
{
    TabRig t;
    TMemChElement& src = t.store->MemChData[2][4];
    src.MemFlag_RegistedFlag = 1;
    src.ReadState = 2;
    src.RxFreq = 145000000;
    src.DCR_CODE = 99;
    SetTitleText(src.Title, u"SOURCE");
    t.tab->MemBankComboBox->setCurrentIndex(2);
    t.tab->SetCurrentRow(5);
    QTest::mouseClick(t.tab->MemChCopyButton, Qt::LeftButton);
    QCOMPARE(t.tab->MemChCopyLabel->text(), QStringLiteral("Copy Src: 02-04"));
    QCOMPARE(t.tab->MemChCopyFreqLabel->text(), QStringLiteral("145.0MHz [SOURCE]"));
    QVERIFY(t.tab->MemChPasteButton->isEnabled());

    src.DCR_CODE = 1;  // the buffer holds the record as it was at the copy
    t.tab->MemBankComboBox->setCurrentIndex(9);
    for (int row : {50, 1}) {  // the same buffer pastes again and again
        t.tab->SetCurrentRow(row);
        QTest::mouseClick(t.tab->MemChPasteButton, Qt::LeftButton);
        const TMemChElement& dst = t.store->MemChData[9][row - 1];
        QCOMPARE(dst.RxFreq, 145000000);
        QCOMPARE(dst.DCR_CODE, 99);
        QCOMPARE(dst.ReadState, 2);
        QCOMPARE(t.Grid()->item(row - 1, 1)->text(), QStringLiteral(" 145.00000"));
    }
    QVERIFY(t.tab->MemChPasteButton->isEnabled());
}

void MemoryTableTest::fixedCellClickAndDoubleClick()
{
    TabRig t;
    std::vector<std::pair<int, int>> edits;
    t.tab->EditChannel = [&](int bank, int ch) { edits.emplace_back(bank, ch); };
    t.tab->MemBankComboBox->setCurrentIndex(4);

    t.tab->MemChStringGridFixedCellClick(1, 12);
    QCOMPARE(t.tab->CurrentRow(), 12);
    t.tab->MemChStringGridFixedCellClick(1, 0);  // the heading row changes nothing
    QCOMPARE(t.tab->CurrentRow(), 12);

    QTableWidget* g = t.Grid();
    g->scrollToBottom();
    const QRect cell = g->visualItemRect(g->item(49, 5));
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(t.tab->CurrentRow(), 50);
    QVERIFY(!edits.empty());
    QCOMPARE(edits.back(), std::make_pair(4, 49));
}

void MemoryTableTest::offsetDialogEntryRules()
{
    auto store = std::make_unique<TStore>();
    bool changed = false;
    int rebuilds = 0;
    TFormOffsetFreq dlg(*store, changed, [&] { ++rebuilds; });
    QVERIFY(changed);  // unsent after start-up
    QCOMPARE(store->OffsetFreqTable[39], 130000000);
    QCOMPARE(store->OffsetFreqTable[1], 0);
    QVERIFY(!dlg.OFEdits[0]->isEnabled() && !dlg.OFEdits[20]->isEnabled() && dlg.OFEdits[19]->isEnabled());
    QCOMPARE(dlg.OFLabels[7]->buddy(), dlg.OFEdits[7]);

    dlg.show();
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    QCOMPARE(dlg.OFEdits[38]->text(), QStringLiteral("0126.35000"));
    struct {
        int nn;
        const char* typed;
        const char* shown;
        std::int32_t stored;
    } cases[] = {{1, "0.1", "0000.10000", 100000},
                 {5, "999.999999", "0999.99999", 999999999},
                 {6, "1000", "1000", 0},
                 {7, "abc", "abc", 0},
                 {8, "5000", "5000", 0}};
    for (const auto& c : cases) {
        QLineEdit* edit = dlg.OFEdits[c.nn];
        edit->setFocus();
        QTRY_VERIFY(edit->hasFocus());
        edit->selectAll();
        QTest::keyClicks(edit, QString::fromLatin1(c.typed));
        dlg.OFEdits[c.nn + 1]->setFocus();  // leaving the box applies it
        QTRY_COMPARE(edit->text(), QString::fromLatin1(c.shown));
        QCOMPARE(dlg.OffsetTmp[c.nn], c.stored);
    }

    // CANCEL discards; the next show displays the stored values again.
    QTest::mouseClick(dlg.BitBtn2, Qt::LeftButton);
    QVERIFY(!dlg.isVisible());
    QCOMPARE(store->OffsetFreqTable[1], 0);
    dlg.show();
    QCOMPARE(dlg.OFEdits[7]->text(), QStringLiteral("0000.00000"));
    QCOMPARE(dlg.OFEdits[1]->text(), QStringLiteral("0000.00000"));

    // OK without an accepted change leaves the store, the mark and the lists alone.
    changed = false;
    QTest::mouseClick(dlg.BitBtn1, Qt::LeftButton);
    QVERIFY(!changed);
    QCOMPARE(rebuilds, 0);
}

void MemoryTableTest::offsetDialogSendsOnceAndKeepsReceiverEntries()
{
    TabRig t;
    bool& changed = t.tab->Shared().OffsetFreqChanged;
    int rebuilds = 0;
    TFormOffsetFreq dlg(*t.store, changed, [&] { ++rebuilds; });
    changed = false;  // as if the start-up list had been written already

    dlg.show();
    dlg.OFEdits[1]->setText(QStringLiteral("0.1"));
    dlg.OFEditExit(1);
    // A read refreshes a fixed entry while the dialog is open.
    t.store->OffsetFreqTable[20] = 600000;
    QTest::mouseClick(dlg.BitBtn1, Qt::LeftButton);
    QCOMPARE(t.store->OffsetFreqTable[1], 100000);
    QCOMPARE(t.store->OffsetFreqTable[20], 600000);
    QVERIFY(changed);
    QCOMPARE(rebuilds, 1);

    // The next write queues the list once; the write after it does not.
    QTest::mouseClick(t.tab->MemChWriteButton, Qt::LeftButton);
    QStringList queue = t.rig.engine->CommandList();
    QVERIFY2(queue.contains(QStringLiteral("OL01 RF0.1")), qPrintable(queue.join('|')));
    QCOMPARE(queue.filter(QStringLiteral("OL")).size(), 19);
    QCOMPARE(queue.indexOf(QStringLiteral("OL01 RF0.1")), 2);  // after "AZ" and "IX1"
    t.rig.engine->Abort(OpTab::MemCh);

    t.tab->MemChWriteButtonClick();
    queue = t.rig.engine->CommandList();
    QCOMPARE(queue.filter(QStringLiteral("OL")).size(), 0);
    QCOMPARE(queue, (QStringList{"AZ", "IX1", "MQ0000", "IX0"}));
}

QTEST_MAIN(MemoryTableTest)
#include "memory_table_test.moc"
