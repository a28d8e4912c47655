// The search bank edit dialog driven as a user drives it: the range edges, the step and
// adjust lists, F-AU on the lower edge, the WC box checked on every keystroke.
#include "DialogTestKit.h"
#include "TFormSearchBankEdit.h"

#include <QLabel>
#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(TSearchBankElement)

namespace {

constexpr int kBank = 12;

TSearchBankElement Bank(std::int64_t low, std::int64_t high)
{
    auto r = kit::Zeroed<TSearchBankElement>();
    SetBlankTitle(r.Title);
    r.LowFreq = low;
    r.HighFreq = high;
    r.Flags_RegistedFlag = low != 0 && high != 0 ? 1 : 0;
    r.StepFreq = 10000;
    r.AMode = 0;
    r.IFBW = 3;
    r.Dem_DENOIS = 3;
    r.RF_ATT = 1;
    return r;
}

}  // namespace

class SearchBankEditTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TStore> store;
    std::unique_ptr<TFormSearchBankEdit> dlg;
    QStringList messages;
    int storedCalls = 0;

    void Open(const TSearchBankElement& rec)
    {
        store->SearchBankData[kBank] = rec;
        QVERIFY(kit::ShowActive(*dlg));
        dlg->EditStart_SearchBank(kBank, 0);
    }
    QLineEdit* Edit(const char* name) { return kit::Find<QLineEdit>(*dlg, name); }
    QComboBox* List(const char* name) { return kit::Find<QComboBox>(*dlg, name); }
    QCheckBox* Check(const char* name) { return kit::Find<QCheckBox>(*dlg, name); }
    QPushButton* Button(const char* name) { return kit::Find<QPushButton>(*dlg, name); }
    const TSearchBankElement& Stored() const { return store->SearchBankData[kBank]; }

private slots:
    void init()
    {
        store = std::make_unique<TStore>();
        store->EmptyData_Init();
        kit::FillDefaultOffsets(*store);
        dlg = std::make_unique<TFormSearchBankEdit>(*store);
        dlg->SetOffsetIndexComboBoxItems();
        messages.clear();
        storedCalls = 0;
        dlg->ShowMessage = [this](const QString& text) { messages << text; };
        dlg->SetStoredHook([this] { ++storedCalls; });
    }
    void cleanup() { dlg.reset(); }

    void loadCaptionAndControls()
    {
        QVERIFY(kit::ShowActive(*dlg));
        dlg->EditStart_SearchBank(kBank, 0);
        QCOMPARE(dlg->windowTitle(), QString("Bank:12  SearchBank Edit"));
        QCOMPARE(kit::Find<QLabel>(*dlg, "SearchBankLabel")->text(), QString("Bank:12"));
        QVERIFY(Button("BitBtn1")->isEnabled());
        QVERIFY(!kit::Find<QPushButton>(*dlg, "DeleteButton"));
        QVERIFY(!kit::Find<QCheckBox>(*dlg, "PassCheckBox"));
        dlg->EditStart_SearchBank(40, 0);
        QVERIFY(!Button("BitBtn1")->isEnabled());
        dlg->EditStart_SearchBank(-1, 0);
        QVERIFY(!Button("BitBtn1")->isEnabled());
    }

    void okBeforeAnyLoadStoresNothing()
    {
        const TSearchBankElement first = Bank(430000000, 440000000);
        store->SearchBankData[0] = first;
        QVERIFY(kit::ShowActive(*dlg));
        kit::Click(Button("BitBtn1"));
        QVERIFY(!dlg->isVisible());
        QVERIFY(kit::SameBytes(store->SearchBankData[0], first));
    }

    void rangeEdges_data()
    {
        QTest::addColumn<bool>("startDefined");  // 430..440 already stored
        QTest::addColumn<QString>("lowTyped");   // null: the box is not touched
        QTest::addColumn<QString>("highTyped");
        QTest::addColumn<QString>("lowShown");
        QTest::addColumn<QString>("highShown");
        QTest::addColumn<int>("defined");
        QTest::addColumn<qint64>("low");
        QTest::addColumn<qint64>("high");
        QTest::newRow("L 430, U 440") << false << "430" << "440" << "0430.00000" << "0440.00000" << 1
                                      << qint64(430000000) << qint64(440000000);
        QTest::newRow("emptying U") << true << QString() << "" << "0430.00000" << "" << 0
                                    << qint64(430000000) << qint64(0);
        QTest::newRow("invalid U 3000.5") << true << QString() << "3000.5" << "0430.00000" << "" << 0
                                          << qint64(430000000) << qint64(0);
        QTest::newRow("L above U stored as typed") << true << "450" << QString() << "0450.00000"
                                                   << "0440.00000" << 1 << qint64(450000000)
                                                   << qint64(440000000);
        QTest::newRow("invalid L 0.05") << true << "0.05" << QString() << "" << "0440.00000" << 0
                                        << qint64(0) << qint64(440000000);
    }
    void rangeEdges()
    {
        QFETCH(bool, startDefined);
        QFETCH(QString, lowTyped);
        QFETCH(QString, highTyped);
        QFETCH(QString, lowShown);
        QFETCH(QString, highShown);
        QFETCH(int, defined);
        QFETCH(qint64, low);
        QFETCH(qint64, high);
        const TSearchBankElement start = startDefined ? Bank(430000000, 440000000) : Bank(0, 0);
        Open(start);
        if (!lowTyped.isNull())
            kit::TypeAndLeave(Edit("L_FreqEdit"), lowTyped);
        if (!highTyped.isNull())
            kit::TypeAndLeave(Edit("U_FreqEdit"), highTyped);
        QCOMPARE(Edit("L_FreqEdit")->text(), lowShown);
        QCOMPARE(Edit("U_FreqEdit")->text(), highShown);
        const TSearchBankElement& r = dlg->SearchBankEditData;
        QCOMPARE(int(r.Flags_RegistedFlag), defined);
        QCOMPARE(r.LowFreq, low);
        QCOMPARE(r.HighFreq, high);

        kit::Click(Button("BitBtn1"));
        QCOMPARE(storedCalls, 1);
        QVERIFY(kit::SameBytes(Stored(), dlg->SearchBankEditData));
    }

    void bandPlanOnLowerEdgeLeavesStepListAlone()
    {
        store->Region = 1;  // JAPAN
        const TSearchBankElement start = Bank(0, 0);
        Open(start);
        QCOMPARE(List("StepFreqComboBox")->currentText(), QString("10k"));
        kit::Click(Check("F_AUCheckBox"));
        kit::TypeAndLeave(Edit("L_FreqEdit"), QStringLiteral("351.2"));

        TSearchBankElement expected = start;
        expected.LowFreq = 351200000;
        expected.Flags_RegistedFlag = 1;
        expected.ReadState = 1;
        expected.Dem_AutoBand = 1;
        expected.Dem_DModeEnable = 1;
        expected.DMode = 3;
        expected.AMode = 0;
        expected.IFBW = 4;
        expected.StepFreq = 6250;
        expected.AdjFreq = 0;
        expected.OffsetFreq = 0;
        QVERIFY(kit::SameBytes(dlg->SearchBankEditData, expected));
        QCOMPARE(List("ModeComboBox")->currentText(), QString("D-CR"));
        QCOMPARE(List("IFBWComboBox")->currentText(), QString("  6k"));
        QVERIFY(!List("IFBWComboBox")->isEnabled());
        QCOMPARE(List("StepFreqComboBox")->currentText(), QString("10k"));
    }

    void ampTestsLowerEdge_data()
    {
        QTest::addColumn<qint64>("low");
        QTest::addColumn<bool>("refused");
        QTest::newRow("L 7.050 MHz") << qint64(7050000) << true;
        QTest::newRow("L 18 MHz") << qint64(18000000) << false;
        QTest::newRow("no range") << qint64(0) << false;
    }
    void ampTestsLowerEdge()
    {
        QFETCH(qint64, low);
        QFETCH(bool, refused);
        Open(Bank(low, 30000000));
        QVERIFY(kit::Pick(List("ATT_AMPComboBox"), 0));
        QCOMPARE(messages, refused ? QStringList{"AMP cannot set under 18MHz."} : QStringList{});
        QCOMPARE(int(dlg->SearchBankEditData.RF_ATT), refused ? 1 : 0);
    }

    void stepPickRebuildsAdjustList_data()
    {
        QTest::addColumn<QString>("step");
        QTest::addColumn<int>("hz");
        QTest::addColumn<QStringList>("adjustItems");
        QTest::newRow("6.25k") << "6.25k" << 6250
                               << QStringList{"0 ", "0 ", "0.05k", "0.25k", "0.5k", "1k", "2.5k", "3.125k"};
        QTest::newRow("0.01k") << "0.01k" << 10 << QStringList{"0 "};
        QTest::newRow("500k") << "500k" << 500000
                              << QStringList{"0 ",   "0 ",  "0.05k", "0.25k", "0.5k", "1k",    "2.5k",
                                             "3.125k", "3.75k", "4.166k", "4.5k", "5k",  "6.25k", "7.5k",
                                             "10k",  "12.5k", "15k",  "25k",   "50k",  "250k"};
    }
    void stepPickRebuildsAdjustList()
    {
        QFETCH(QString, step);
        QFETCH(int, hz);
        QFETCH(QStringList, adjustItems);
        TSearchBankElement start = Bank(430000000, 440000000);
        start.AdjFreq = 5000;
        start.Dem_AutoBand = 1;
        Open(start);
        QCOMPARE(List("AdjStepComboBox")->currentText(), QString("5k"));
        QVERIFY(kit::Pick(List("StepFreqComboBox"), step));
        QCOMPARE(kit::Items(List("AdjStepComboBox")), adjustItems);
        QCOMPARE(List("AdjStepComboBox")->currentIndex(), 0);
        QVERIFY(!Check("F_AUCheckBox")->isChecked());
        TSearchBankElement expected = start;
        expected.StepFreq = hz;
        expected.AdjFreq = 0;
        expected.Dem_AutoBand = 0;
        expected.ReadState = 1;
        QVERIFY(kit::SameBytes(dlg->SearchBankEditData, expected));
    }

    void adjustPick()
    {
        TSearchBankElement start = Bank(430000000, 440000000);
        start.Dem_AutoBand = 1;
        Open(start);
        QVERIFY(kit::Pick(List("AdjStepComboBox"), QStringLiteral("2.5k")));
        TSearchBankElement expected = start;
        expected.AdjFreq = 2500;
        expected.Dem_AutoBand = 0;
        expected.ReadState = 1;
        QVERIFY(kit::SameBytes(dlg->SearchBankEditData, expected));
        QVERIFY(!Check("F_AUCheckBox")->isChecked());
    }

    void loadStepAndAdjust_data()
    {
        QTest::addColumn<int>("stepHz");
        QTest::addColumn<int>("adjHz");
        QTest::addColumn<QString>("stepShown");
        QTest::addColumn<int>("adjustItems");
        QTest::addColumn<int>("adjustPosition");
        QTest::newRow("10k, 5k") << 10000 << 5000 << "10k" << 12 << 11;
        QTest::newRow("10k, 12.5k beyond the list") << 10000 << 12500 << "10k" << 12 << -1;
        QTest::newRow("band plan 8000 shows 9k") << 8000 << 0 << "9k" << 11 << 0;
        QTest::newRow("blank bank, step 0") << 0 << 0 << "9k" << 11 << 0;
        QTest::newRow("receiver's 10 Hz readings") << 8330 << 4160 << "8.333k" << 10 << 9;
        QTest::newRow("adjust without a position") << 10000 << 1234 << "10k" << 12 << -1;
    }
    void loadStepAndAdjust()
    {
        QFETCH(int, stepHz);
        QFETCH(int, adjHz);
        QFETCH(QString, stepShown);
        QFETCH(int, adjustItems);
        QFETCH(int, adjustPosition);
        TSearchBankElement start = Bank(430000000, 440000000);
        start.StepFreq = stepHz;
        start.AdjFreq = adjHz;
        Open(start);
        QCOMPARE(List("StepFreqComboBox")->currentText(), stepShown);
        QCOMPARE(List("AdjStepComboBox")->count(), adjustItems);
        QCOMPARE(List("AdjStepComboBox")->currentIndex(), adjustPosition);
        // Showing a step or adjust the lists cannot name leaves the record as it was.
        QVERIFY(kit::SameBytes(dlg->SearchBankEditData, start));
    }

    void wcCheckedOnEveryKeystroke()
    {
        TSearchBankElement start = Bank(430000000, 440000000);
        start.DCR_WHITE = 5;
        Open(start);
        QLineEdit* wc = Edit("DCR_WCEdit");
        kit::TypeInto(wc, QString());
        QCOMPARE(wc->text(), QString("0"));  // emptied: "0" at once
        QCOMPARE(int(dlg->SearchBankEditData.DCR_WHITE), 0);
        QCOMPARE(int(dlg->SearchBankEditData.ReadState), 2);
        QTest::keyClick(wc, Qt::Key_A, Qt::ControlModifier);
        struct Key {
            char digit;
            int stored;
            const char* shown;
        };
        const Key keys[] = {{'6', 6, "6"}, {'0', 60, "60"}, {'0', 0, "0"}, {'5', 5, "5"}};
        for (const Key& k : keys) {
            QTest::keyClick(wc, k.digit);
            QCOMPARE(int(dlg->SearchBankEditData.DCR_WHITE), k.stored);
            QCOMPARE(wc->text(), QString(k.shown));
        }
    }

    void stepChangeThenCancelLeavesStore()
    {
        const TSearchBankElement start = Bank(430000000, 440000000);
        Open(start);
        QVERIFY(kit::Pick(List("StepFreqComboBox"), QStringLiteral("25k")));
        QVERIFY(kit::Pick(List("ModeComboBox"), QStringLiteral("AM")));
        kit::Click(Button("BitBtn2"));
        QVERIFY(!dlg->isVisible());
        QCOMPARE(storedCalls, 0);
        QVERIFY(kit::SameBytes(Stored(), start));
    }

    void passingThroughBoxesChangesNothing()
    {
        store->Region = 1;
        TSearchBankElement odd = Bank(351200005, 352000007);
        odd.Dem_AutoBand = 1;
        SetTitleText(odd.Title, u"ABC");
        odd.VoiceSCR = 50;
        odd.P25_NACCode = 0x1000;
        Open(odd);
        for (const char* box : {"L_FreqEdit", "U_FreqEdit", "TitleEdit", "V_SCREdit", "DCR_EncCodeEdit",
                                "DCR_WCEdit", "NXDN_RANEdit", "DMR_ColorEdit", "P25_NACEdit"})
            kit::Click(Edit(box));
        kit::Click(Button("BitBtn1"));
        QVERIFY(!dlg->isVisible());
        QVERIFY(kit::SameBytes(Stored(), odd));
    }

    void plainOkLeavesStoreUnchanged_data()
    {
        QTest::addColumn<TSearchBankElement>("record");
        QTest::newRow("all zero") << kit::Zeroed<TSearchBankElement>();
        TSearchBankElement blank = kit::Zeroed<TSearchBankElement>();
        SetBlankTitle(blank.Title);
        QTest::newRow("blank template") << blank;
        QTest::newRow("defined FM range") << Bank(430000000, 440000000);
        TSearchBankElement plan = Bank(27000001, 28000000);
        plan.Dem_AutoBand = 1;
        plan.StepFreq = 4000;
        plan.AdjFreq = 2500;
        plan.AMode = 1;
        plan.IFBW = 2;
        QTest::newRow("band plan step without a list position") << plan;
        TSearchBankElement adjust = Bank(430000000, 440000000);
        adjust.StepFreq = 10000;
        adjust.AdjFreq = 12500;
        QTest::newRow("adjust beyond the adjust list") << adjust;
        TSearchBankElement odd = Bank(430000000, 440000000);
        odd.AdjFreq = 1234;
        odd.Dem_DModeEnable = 1;
        odd.DMode = 128;
        odd.OffsetFreq = -33;
        odd.VoiceSCR = 7;
        odd.DCR_WHITE = 600;
        QTest::newRow("adjust without a position, DMode 128") << odd;
        TSearchBankElement half = Bank(430000000, 0);
        half.Flags_RegistedFlag = 1;
        QTest::newRow("upper edge missing") << half;
        TSearchBankElement reversed = Bank(440000000, 430000000);
        reversed.RF_ATT = 0;
        reversed.LowFreq = 7000000;
        QTest::newRow("reversed edges, AMP below 18 MHz") << reversed;
    }
    void plainOkLeavesStoreUnchanged()
    {
        QFETCH(TSearchBankElement, record);
        store->Region = 1;
        Open(record);
        kit::Click(Button("BitBtn1"));
        QVERIFY(!dlg->isVisible());
        QCOMPARE(storedCalls, 1);
        QVERIFY(kit::SameBytes(Stored(), record));
        QVERIFY(messages.isEmpty());
    }
};

QTEST_MAIN(SearchBankEditTest)
#include "searchbank_edit_test.moc"
