#include "GroupRig.h"
#include "GroupTabs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QWidget>

#include <cstring>

using groups::GroupKind;

namespace {

// The two group pages on plain widgets, an engine on a recording host and a store.
struct PageRig {
    PageRig()
    {
        auto t = std::make_unique<ManualTimer>();
        engine = std::make_unique<CommandEngine>(host, std::move(t));
        groups::TabHooks hooks;
        hooks.registerButton = [this](OpButton b, QPushButton* p) { registered << p->objectName() + ":" + ButtonName(b); };
        hooks.registerAbort = [this](OpTab t, QPushButton* p) { registered << p->objectName() + ":" + AbortButtonName(t); };
        tabs = std::make_unique<groups::GroupTabs>(&scanPage, &searchPage, *engine, *store, hooks);
        scanPage.resize(770, 440);
        searchPage.resize(770, 440);
    }

    groups::GroupPage& Page(GroupKind k) { return k == GroupKind::Scan ? tabs->ScanGrp() : tabs->SearchGrp(); }
    TSearchGrpElement (&Data(GroupKind k))[kGroupCount]
    {
        return k == GroupKind::Scan ? store->ScanGrpData : store->SearchGrpData;
    }
    QByteArray Snapshot() const
    {
        return QByteArray(reinterpret_cast<const char*>(store->ScanGrpData), sizeof store->ScanGrpData)
            + QByteArray(reinterpret_cast<const char*>(store->SearchGrpData), sizeof store->SearchGrpData);
    }

    RecordingHost host;
    std::unique_ptr<CommandEngine> engine;
    std::unique_ptr<TStore> store = std::make_unique<TStore>();
    QWidget scanPage;
    QWidget searchPage;
    QStringList registered;
    std::unique_ptr<groups::GroupTabs> tabs;
};

TSearchGrpElement Group(int delay, int free, int autoStore, std::initializer_list<int> banks)
{
    TSearchGrpElement g{};
    g.Delay = static_cast<std::uint8_t>(delay);
    g.Free = static_cast<std::uint8_t>(free);
    g.GrpFlag_AutoStore = static_cast<std::uint8_t>(autoStore);
    g.GrpFlag_RegistedFlag = 1;
    g.GrpFlag_LinkEnable = banks.size() ? 1 : 0;
    for (int b : banks)
        groups::SetLinkBit(g, b, true);
    return g;
}

QList<int> Ticked(const groups::GroupPage& page)
{
    QList<int> out;
    for (int b = 0; b < groups::kLinkBankCount; ++b)
        if (page.LinkCheckBoxes[b]->isChecked())
            out << b;
    return out;
}

QList<int> Linked(const TSearchGrpElement& g)
{
    QList<int> out;
    for (int b = 0; b < groups::kLinkBankCount; ++b)
        if (groups::LinkBit(g, b))
            out << b;
    return out;
}

void AddKinds()
{
    QTest::addColumn<GroupKind>("kind");
    QTest::newRow("ScanGroup") << GroupKind::Scan;
    QTest::newRow("SearchGroup") << GroupKind::Search;
}

} // namespace

Q_DECLARE_METATYPE(groups::GroupKind)

class GroupPageTest : public QObject {
    Q_OBJECT
private slots:
    void controlsAreThereWithTheirTexts_data() { AddKinds(); }
    void controlsAreThereWithTheirTexts()
    {
        QFETCH(GroupKind, kind);
        PageRig rig;
        QWidget& page = kind == GroupKind::Scan ? rig.scanPage : rig.searchPage;
        const QString p = kind == GroupKind::Scan ? "ScanGrp" : "SearchGrp";

        auto* no = page.findChild<QComboBox*>(p + "NoComboBox");
        auto* delay = page.findChild<QComboBox*>(p + "DelayComboBox");
        auto* free = page.findChild<QComboBox*>(p + "FreeComboBox");
        QVERIFY(no && delay && free);
        QCOMPARE(no->count(), 10);
        QCOMPARE(no->currentText(), QStringLiteral("0"));
        QCOMPARE(delay->count(), 101);
        QCOMPARE(delay->currentText(), QStringLiteral("OFF"));
        QCOMPARE(delay->itemText(1), QStringLiteral("0.1"));
        QCOMPARE(delay->itemText(20), QStringLiteral("2.0"));
        QCOMPARE(delay->itemText(99), QStringLiteral("9.9"));
        QCOMPARE(delay->itemText(100), QStringLiteral("HOLD"));
        QCOMPARE(free->count(), 61);
        QCOMPARE(free->currentText(), QStringLiteral("OFF"));
        QCOMPARE(free->itemText(5), QStringLiteral("05"));
        QCOMPARE(free->itemText(60), QStringLiteral("60"));

        // Forty boxes "00".."39" in four rows of ten.
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        for (int b = 0; b < 40; ++b) {
            const QString num = QStringLiteral("%1").arg(b, 2, 10, QLatin1Char('0'));
            auto* box = page.findChild<QCheckBox*>(p + "Link" + num + "CheckBox");
            QVERIFY2(box, qPrintable(num));
            QCOMPARE(box->text(), num);
            QVERIFY(!box->isChecked());
            auto* rowStart = rig.Page(kind).LinkCheckBoxes[b / 10 * 10];
            auto* colTop = rig.Page(kind).LinkCheckBoxes[b % 10];
            QCOMPARE(box->y(), rowStart->y());
            QCOMPARE(box->x(), colTop->x());
            if (b % 10)
                QVERIFY(box->x() > rig.Page(kind).LinkCheckBoxes[b - 1]->x());
            if (b >= 10)
                QVERIFY(box->y() > rig.Page(kind).LinkCheckBoxes[b - 10]->y());
        }

        const QList<QPair<QString, QString>> buttons = {
            {"ReadButton", "1 Grp Read"}, {"AllReadButton", "All Grp Read"},
            {"WriteButton", "1 Grp Write"}, {"AllWriteButton", "All Grp Write"},
            {"AbortButton", "Abort"}, {"LinkClearButton", "Link All OFF"}};
        for (const auto& [name, text] : buttons) {
            auto* b = page.findChild<QPushButton*>(p + name);
            QVERIFY2(b, qPrintable(name));
            QCOMPARE(b->text(), text);
            QCOMPARE(b->isEnabled(), name != "AbortButton");
        }
        auto* store = page.findChild<QCheckBox*>(p + "StoreCheckBox");
        QCOMPARE(store != nullptr, kind == GroupKind::Search);
        if (store)
            QCOMPARE(store->text(), QStringLiteral("Store"));

        // Every label names its box.
        QMap<QString, QWidget*> buddies;
        for (auto* label : page.findChildren<QLabel*>())
            buddies[label->text()] = label->buddy();
        QCOMPARE(buddies.value(kind == GroupKind::Scan ? "Scan Group :" : "Search Group :"), no);
        QCOMPARE(buddies.value("Delay :"), delay);
        QCOMPARE(buddies.value("Free :"), free);
        QCOMPARE(buddies.value("Bank Link :"), rig.Page(kind).LinkCheckBoxes[0]);

        // The frame gets the four operation buttons and the Abort button under their names.
        for (const QString& n : {"ReadButton", "AllReadButton", "WriteButton", "AllWriteButton", "AbortButton"})
            QVERIFY2(rig.registered.contains(p + n + ":" + p + n), qPrintable(n));
    }

    void fillingThePageForAnotherGroupKeepsTheStore_data() { AddKinds(); }
    void fillingThePageForAnotherGroupKeepsTheStore()
    {
        QFETCH(GroupKind, kind);
        PageRig rig;
        auto& page = rig.Page(kind);
        rig.Data(kind)[0] = Group(12, 3, 1, {0, 1, 2});
        rig.Data(kind)[5] = Group(100, 60, 0, {7, 25, 39});
        rig.Data(kind)[6] = Group(0, 0, 1, {});
        const QByteArray before = rig.Snapshot();

        for (int gn : {5, 0, 6, 5}) {
            page.NoComboBox->setCurrentIndex(gn);
            QCOMPARE(Ticked(page), Linked(rig.Data(kind)[gn]));
            QCOMPARE(page.DelayComboBox->currentIndex(), int(rig.Data(kind)[gn].Delay));
            QCOMPARE(page.FreeComboBox->currentIndex(), int(rig.Data(kind)[gn].Free));
            if (page.StoreCheckBox)
                QCOMPARE(page.StoreCheckBox->isChecked(), rig.Data(kind)[gn].GrpFlag_AutoStore == 1);
            QCOMPARE(rig.Snapshot(), before);
        }
        QCOMPARE(page.DelayComboBox->currentText(), QStringLiteral("HOLD"));

        // Showing a group other than the selected one must not copy it into the selected one.
        page.NoComboBox->setCurrentIndex(6);
        for (int gn : {5, 0})
            page.TableDisplay(gn);
        QCOMPARE(Ticked(page), Linked(rig.Data(kind)[0]));
        QCOMPARE(rig.Snapshot(), before);
        QCOMPARE(rig.tabs->LinkChangeIgnore, 0);
    }

    void tickingOneBoxStoresTheWholeLinkSet_data()
    {
        QTest::addColumn<GroupKind>("kind");
        QTest::addColumn<int>("box");
        QTest::newRow("scan 00") << GroupKind::Scan << 0;
        QTest::newRow("scan 25") << GroupKind::Scan << 25;
        QTest::newRow("search 39") << GroupKind::Search << 39;
    }
    void tickingOneBoxStoresTheWholeLinkSet()
    {
        QFETCH(GroupKind, kind);
        QFETCH(int, box);
        PageRig rig;
        QWidget& widget = kind == GroupKind::Scan ? rig.scanPage : rig.searchPage;
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        auto& page = rig.Page(kind);
        rig.Data(kind)[2] = Group(30, 7, 1, {1, 3});
        page.NoComboBox->setCurrentIndex(2);
        // The store moves on behind the page's back; the click stores what the page shows.
        groups::SetLinkBit(rig.Data(kind)[2], 8, true);
        const TSearchGrpElement other = rig.Data(kind)[3];

        QTest::mouseClick(page.LinkCheckBoxes[box], Qt::LeftButton);
        QVERIFY(page.LinkCheckBoxes[box]->isChecked());
        QList<int> expected{1, 3};
        if (!expected.contains(box))
            expected << box;
        std::sort(expected.begin(), expected.end());
        QCOMPARE(Linked(rig.Data(kind)[2]), expected);
        QCOMPARE(int(rig.Data(kind)[2].Delay), 30);
        QCOMPARE(int(rig.Data(kind)[2].Free), 7);
        QCOMPARE(int(rig.Data(kind)[2].GrpFlag_AutoStore), 1);
        QCOMPARE(std::memcmp(&rig.Data(kind)[3], &other, sizeof other), 0);

        // The written line carries exactly the page's links.
        QCOMPARE(groups::GroupCommands(kind, groups::GroupOp::WriteOne, 2, rig.Data(kind)).back().first,
                 groups::CommandKey(kind) + "2 DL030 FR07" + (kind == GroupKind::Search ? " AS1" : "")
                     + " BK" + [&] {
                           QString s;
                           for (int b : expected)
                               s += QStringLiteral("%1").arg(b, 2, 10, QLatin1Char('0'));
                           return s;
                       }());
    }

    void listsAndStoreBoxEditTheSelectedGroup_data() { AddKinds(); }
    void listsAndStoreBoxEditTheSelectedGroup()
    {
        QFETCH(GroupKind, kind);
        PageRig rig;
        auto& page = rig.Page(kind);
        page.NoComboBox->setCurrentIndex(4);
        page.DelayComboBox->setCurrentIndex(100);
        page.FreeComboBox->setCurrentIndex(5);
        if (page.StoreCheckBox)
            page.StoreCheckBox->setChecked(true);
        const auto& g = rig.Data(kind)[4];
        QCOMPARE(int(g.Delay), 100);
        QCOMPARE(int(g.Free), 5);
        QCOMPARE(int(g.GrpFlag_AutoStore), kind == GroupKind::Search ? 1 : 0);
        QCOMPARE(int(rig.Data(kind)[0].Delay), 0);
        QCOMPARE(groups::GroupLine(kind, 4, g),
                 kind == GroupKind::Scan ? QStringLiteral("MG4 DL100 FR05 BK99") : QStringLiteral("SG4 DL100 FR05 AS1 BK99"));
    }

    void linkAllOffKeepsDelayAndFree_data() { AddKinds(); }
    void linkAllOffKeepsDelayAndFree()
    {
        QFETCH(GroupKind, kind);
        PageRig rig;
        QWidget& widget = kind == GroupKind::Scan ? rig.scanPage : rig.searchPage;
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        auto& page = rig.Page(kind);
        rig.Data(kind)[7] = Group(45, 12, 1, {0, 17, 39});
        rig.Data(kind)[8] = Group(1, 1, 0, {4});
        page.NoComboBox->setCurrentIndex(7);
        QCOMPARE(Ticked(page), (QList<int>{0, 17, 39}));

        QTest::mouseClick(page.LinkClearButton, Qt::LeftButton);
        const auto& g = rig.Data(kind)[7];
        QCOMPARE(Linked(g), QList<int>{});
        QCOMPARE(Ticked(page), QList<int>{});
        QCOMPARE(int(g.Delay), 45);
        QCOMPARE(int(g.Free), 12);
        QCOMPARE(int(g.GrpFlag_AutoStore), 1);
        QCOMPARE(int(g.GrpFlag_LinkEnable), 1);  // keeps its last read value
        QCOMPARE(page.DelayComboBox->currentText(), QStringLiteral("4.5"));
        QCOMPARE(page.FreeComboBox->currentText(), QStringLiteral("12"));
        QCOMPARE(Linked(rig.Data(kind)[8]), QList<int>{4});
    }

    void answerRedrawsTheSelectedGroupOnly()
    {
        PageRig rig;
        auto& page = rig.tabs->SearchGrp();
        rig.store->SearchGrpData[2] = Group(3, 4, 1, {9});
        page.NoComboBox->setCurrentIndex(2);
        rig.tabs->SearchGrpRes_SG(QStringLiteral("SG07 DL020 FR10 AS0 BK0005"));
        QCOMPARE(page.NoComboBox->currentIndex(), 2);
        QCOMPARE(Ticked(page), QList<int>{9});
        QVERIFY(page.StoreCheckBox->isChecked());
        rig.tabs->SearchGrpRes_SG(QStringLiteral("SG02 DL020 FR10 AS0 BK0005"));
        QCOMPARE(Ticked(page), (QList<int>{0, 5}));
        QVERIFY(!page.StoreCheckBox->isChecked());
        QCOMPARE(page.DelayComboBox->currentText(), QStringLiteral("2.0"));
        QCOMPARE(rig.tabs->Make_SGBK_Param(7), QStringLiteral("0005"));
    }

    void nowBusyWhileASearchBankReadRuns()
    {
        PageRig rig;
        // The search bank read marks the data window busy as it starts.
        QVERIFY(rig.engine->StartOperation(OpButton::SearchBankReadButton, 3, {}, [](CommandEngine& e) {
            e.AppendCommand(QStringLiteral("AZ"), QStringLiteral("[1](200)"));
        }));
        const QStringList queued = rig.engine->CommandList();
        for (auto* page : {&rig.tabs->ScanGrp(), &rig.tabs->SearchGrp()}) {
            for (QPushButton* b : {page->ReadButton, page->AllReadButton, page->WriteButton, page->AllWriteButton}) {
                QVERIFY(b->isEnabled());
                QTest::mouseClick(b, Qt::LeftButton);
            }
        }
        QCOMPARE(rig.host.messages, QStringList(8, QStringLiteral("Now Busy!")));
        QCOMPARE(rig.engine->CommandList(), queued);
        QCOMPARE(rig.engine->BusyMark(), 3);
        QVERIFY(!rig.engine->TabRunning(OpTab::ScanGroup));
        QVERIFY(!rig.engine->TabRunning(OpTab::SearchGroup));
        QVERIFY(!rig.engine->AbortEnabled(OpTab::SearchGroup));
    }
};

QTEST_MAIN(GroupPageTest)
#include "group_page_test.moc"
