// The search bank tab of the real forms against the receiver simulator: reads fill the store
// and the table as the simulator holds them, writes leave the simulator holding the store,
// and in every path - a select never acknowledged, an Abort halfway - the receiver ends
// with the search link list it had before. Set KESTREL_SCREENSHOT_DIR to also save the tab
// after "All Banks Read".
#include "MemoryE2eRig.h"
#include "SearchBankLink.h"
#include "SearchBankTab.h"
#include "SearchBankTableText.h"

#include <QRadioButton>

using namespace memory_e2e;

namespace {

using BankMap = std::map<int, QJsonObject>;

BankMap Banks(const QJsonObject& dump)
{
    BankMap out;
    for (const auto& v : dump.value("SearchBankData").toArray())
        out[v.toObject().value("bank").toInt()] = v.toObject();
    return out;
}

QList<int> Links(const QJsonObject& dump)
{
    QList<int> out;
    for (const auto& v : dump.value("SearchLink").toArray())
        out << v.toInt();
    return out;
}

qint64 Field(const TSearchBankElement& b, const QString& name)
{
    static const std::map<QString, qint64 (*)(const TSearchBankElement&)> get = {
#define F(n) {#n, [](const TSearchBankElement& b) -> qint64 { return b.n; }}
        F(LowFreq), F(HighFreq), F(StepFreq), F(AdjFreq), F(Dem_DModeEnable), F(DMode), F(AMode),
        F(Dem_AutoBand), F(Flags_ProtectFlag), F(IFBW), F(RF_ATT), F(OffsetFreq), F(RF_SQ_N_L_Type),
        F(Dem_DENOIS), F(RF_AGC), F(Dem_SQL_Type), F(CTCSS_CODE), F(VoiceSCR), F(DCS_CODE),
        F(Dem_DigiDecode), F(DCR_CODE), F(DCR_WHITE), F(NXDN_RANCodeMute), F(NXDN_RANCode),
        F(Dem_DMR_Slot), F(DMR_ColorCodeMute), F(DMR_ColorCode), F(P25_NACCodeMute), F(P25_NACCode),
        F(RF_TETRA_Slot),
#undef F
    };
    return get.at(name)(b);
}

// Differences between a stored bank and the simulator's; empty when they agree. A write
// carries no IF bandwidth under F-AU and no AGC in FM.
QStringList Differences(const TSearchBankElement& b, const QJsonObject& o)
{
    QStringList diff;
    for (const char* name :
         {"LowFreq", "HighFreq", "StepFreq", "AdjFreq", "Dem_DModeEnable", "DMode", "AMode", "Dem_AutoBand",
          "Flags_ProtectFlag", "IFBW", "RF_ATT", "OffsetFreq", "RF_SQ_N_L_Type", "Dem_DENOIS", "RF_AGC",
          "Dem_SQL_Type", "CTCSS_CODE", "VoiceSCR", "DCS_CODE", "Dem_DigiDecode", "DCR_CODE", "DCR_WHITE",
          "NXDN_RANCodeMute", "NXDN_RANCode", "Dem_DMR_Slot", "DMR_ColorCodeMute", "DMR_ColorCode",
          "P25_NACCodeMute", "P25_NACCode", "RF_TETRA_Slot"}) {
        if ((QLatin1String(name) == "IFBW" && b.Dem_AutoBand != 0) || (QLatin1String(name) == "RF_AGC" && b.AMode == 0))
            continue;
        const qint64 want = static_cast<qint64>(o.value(QLatin1String(name)).toDouble());
        if (Field(b, QLatin1String(name)) != want)
            diff << QStringLiteral("%1 %2!=%3").arg(QLatin1String(name)).arg(Field(b, QLatin1String(name))).arg(want);
    }
    const std::u16string t = TitleText(b.Title);
    const QString title = QString::fromUtf16(t.data(), qsizetype(t.size()));
    if (title != o.value("Title").toString())
        diff << QStringLiteral("Title '%1'!='%2'").arg(title, o.value("Title").toString());
    return diff;
}

}  // namespace

class SearchBankE2eTest : public QObject {
    Q_OBJECT

    MemoryRig rig_;
    std::unique_ptr<Sim>& sim_ = rig_.sim;
    std::unique_ptr<Forms>& forms_ = rig_.forms;
    QTemporaryDir files_;

    sbank::TSearchBankTab* Tab() { return forms_->memory.findChild<sbank::TSearchBankTab*>("SearchBankTab"); }
    CommandEngine& Engine() { return rig_.Engine(); }
    TSearchBankElement& Bank(int b) { return forms_->main.SearchBankData[b]; }

    // Each test gets its own simulator log, so the commands it reads are its own.
    bool StartAll(const QStringList& args)
    {
        if (!rig_.StartSim(sim_, QStringLiteral("sim%1").arg(++runs_), args))
            return false;
        forms_ = std::make_unique<Forms>();
        return Tab() && rig_.SelectPort(sim_->Com());
    }
    int runs_ = 0;

    QList<QPushButton*> FourButtons()
    {
        auto* t = Tab();
        return {t->SearchBankReadButton, t->SearchBankAllReadButton, t->SearchBankWriteButton,
                t->SearchBankAllWriteButton};
    }

    bool TabIdle()
    {
        for (QPushButton* b : FourButtons())
            if (!b->isEnabled() || b->property("Tag").toInt() != 0)
                return false;
        return !Tab()->SearchBankAbortButton->isEnabled() && Engine().BusyMark() == kBusyIdle;
    }

    bool WaitIdle(int timeoutMs)
    {
        QDeadlineTimer deadline(timeoutMs);
        while (Engine().TabRunning(OpTab::SearchBank) && !deadline.hasExpired())
            QTest::qWait(20);
        return TabIdle();
    }

    // Clicks an operation button; true when it ran to its end, gave the tab back and left
    // the port open.
    bool Run(QPushButton* button, int timeoutMs = 120000)
    {
        QTest::mouseClick(button, Qt::LeftButton);
        if (!Engine().TabRunning(OpTab::SearchBank))
            return false;
        for (QPushButton* b : FourButtons())
            if (b->isEnabled())
                return false;
        return WaitIdle(timeoutMs) && forms_->main.CommX1.isOpen();
    }

    // A receiver image with links and a few banks, written to a file for --load.
    QString LoadFile(const QJsonObject& image)
    {
        const QString path = files_.filePath(QStringLiteral("image%1.json").arg(++files));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return {};
        f.write(QJsonDocument(image).toJson());
        return path;
    }
    int files = 0;

    void ExpectLinksKept(const QList<int>& before)
    {
        const QJsonObject after = sim_->Dump();
        QCOMPARE(Links(after), before);
        const QStringList sent = sim_->Commands();
        QVERIFY(sent.contains("BK99"));
        // The last "BK" sent is the restore of the saved list.
        QString restore;
        for (const QString& c : sent)
            if (c.startsWith("BK"))
                restore = c;
        QString want = "BK";
        for (int b : before)
            want += QStringLiteral("%1").arg(b, 2, 10, QLatin1Char('0'));
        QCOMPARE(restore, before.isEmpty() ? QStringLiteral("BK99") : want);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(rig_.Init(10));
        QVERIFY(files_.isValid());
    }

    void cleanup()
    {
        const QStringList messages = rig_.Reset();
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join(", ")));
    }

    void allBanksReadOfAnEmptyReceiver()
    {
        QVERIFY(StartAll({"--empty"}));
        QTest::mouseClick(Tab()->SearchBankAllReadButton, Qt::LeftButton);
        QCOMPARE(Engine().ProgressMax(), 41);
        QVERIFY(WaitIdle(60000));
        const QStringList sent = sim_->Commands();
        QCOMPARE(sent.size(), 42);  // "AZ", forty "SR", "EX"
        QCOMPARE(sent.first(), QStringLiteral("AZ"));
        QCOMPARE(sent.last(), QStringLiteral("EX"));
        for (const QString& c : sent)
            QVERIFY2(!c.startsWith("SS") && !c.startsWith("BK"), qPrintable(c));
        QCOMPARE(Engine().SearchBankState, sbank::kLinkNoBankYet);
        for (int b = 0; b < kSearchBankCount; ++b) {
            QCOMPARE(int(Bank(b).ReadState), 1);
            QCOMPARE(int(Bank(b).Flags_RegistedFlag), 0);
            QCOMPARE(Tab()->SearchBankStringGrid->item(b, 1)->text(), QStringLiteral("---"));
        }
    }

    void allBanksReadFillsStoreAndRestoresLinks()
    {
        QVERIFY(StartAll({"--region", "euro"}));
        const QJsonObject before = sim_->Dump();
        const BankMap banks = Banks(before);
        QVERIFY(banks.size() >= 2);
        QVERIFY(!Links(before).isEmpty());

        QVERIFY(Run(Tab()->SearchBankAllReadButton));
        ExpectLinksKept(Links(before));
        QCOMPARE(Engine().SearchBankState, sbank::kLinkDone);

        for (int b = 0; b < kSearchBankCount; ++b) {
            const auto it = banks.find(b);
            if (it == banks.end()) {
                QCOMPARE(int(Bank(b).Flags_RegistedFlag), 0);
                QCOMPARE(int(Bank(b).ReadState), 1);
                continue;
            }
            QCOMPARE(int(Bank(b).ReadState), 2);
            QVERIFY2(Differences(Bank(b), it->second).isEmpty(), qPrintable(Differences(Bank(b), it->second).join(", ")));
            for (int col = 0; col < sbank::kSearchTableColumns; ++col)
                QCOMPARE(Tab()->SearchBankStringGrid->item(b, col)->text(),
                         sbank::SearchTableCellText(forms_->main, b, col));
        }
        // The region reached both radio groups.
        QCOMPARE(forms_->main.Region, 2);
        QCOMPARE(Tab()->RegionItemIndex(), 2);
        auto* memTab = forms_->memory.findChild<memtab::TMemoryTab*>("MemoryTab");
        QCOMPARE(memTab->RegionItemIndex(), 2);

        // Every registered bank was selected for its parameters; the link list was saved
        // once, and the offset list asked once, in the first bank's chain.
        const QStringList sent = sim_->Commands();
        const int firstSs = sent.indexOf(QStringLiteral("SS%1").arg(banks.begin()->first, 2, 10, QLatin1Char('0')));
        QVERIFY(firstSs > 0);
        QCOMPARE(sent.count("BK"), 1);
        QCOMPARE(sent.count("BK99"), 1);
        QCOMPARE(sent.count("OL01"), 1);
        QCOMPARE(sent.count("OL39"), 1);
        QVERIFY(sent.indexOf("OL01") > firstSs);
        QVERIFY(sent.indexOf("OL01") < sent.indexOf(QStringLiteral("SS%1").arg(std::next(banks.begin())->first, 2, 10, QLatin1Char('0'))));
        const QJsonArray offsets = before.value("OffsetFreqTable").toArray();
        for (int n = 1; n < 40; ++n)
            QCOMPARE(qint64(forms_->main.OffsetFreqTable[n]), qint64(offsets.at(n).toDouble()));

        const QByteArray shots = qgetenv("KESTREL_SCREENSHOT_DIR");
        if (!shots.isEmpty()) {
            forms_->memory.resize(770, 480 + forms_->memory.ProgressBar1->sizeHint().height());
            forms_->memory.PageControl1->setCurrentWidget(forms_->memory.SearchBankPage());
            Tab()->SetCurrentRow(2);
            forms_->memory.show();
            QVERIFY(QTest::qWaitForWindowExposed(&forms_->memory));
            QVERIFY(forms_->memory.grab().save(QDir(QString::fromLocal8Bit(shots)).filePath("searchbank-tab.png")));
        }
    }

    void unansweredSelectStillRestoresLinks()
    {
        QVERIFY(StartAll({"--no-answer", "SS"}));
        const QJsonObject before = sim_->Dump();
        QVERIFY(Run(Tab()->SearchBankAllReadButton));
        ExpectLinksKept(Links(before));
        QCOMPARE(int(Bank(Banks(before).begin()->first).ReadState), 2);
    }

    void abortAfterTheListWasReplacedSendsItBack()
    {
        QVERIFY(StartAll({}));
        const QJsonObject before = sim_->Dump();
        QTest::mouseClick(Tab()->SearchBankAllReadButton, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(Engine().SearchBankState == sbank::kLinkReplaced, 60000);
        QTRY_VERIFY_WITH_TIMEOUT(Engine().SendedCommand().startsWith("OL"), 60000);
        QCOMPARE(Links(sim_->Dump()), QList<int>());  // the receiver holds "99" now
        QTest::mouseClick(Tab()->SearchBankAbortButton, Qt::LeftButton);
        QVERIFY(WaitIdle(60000));
        ExpectLinksKept(Links(before));
        QCOMPARE(Engine().SearchBankState, sbank::kLinkDone);
        const QStringList sent = sim_->Commands();
        QVERIFY(!sent.contains("TS"));  // the read really stopped
    }

    void abortBeforeAnythingWasReplacedSendsNothing()
    {
        QVERIFY(StartAll({}));
        QTest::mouseClick(Tab()->SearchBankAllReadButton, Qt::LeftButton);
        // Halfway through the forty "SR": chains are queued, nothing of them sent yet.
        QTRY_VERIFY_WITH_TIMEOUT(Engine().ProgressPosition() >= 10, 60000);
        QVERIFY(Engine().SendedCommand().startsWith("SR"));
        QTest::mouseClick(Tab()->SearchBankAbortButton, Qt::LeftButton);
        QVERIFY(TabIdle());
        QTest::qWait(300);
        for (const QString& c : sim_->Commands())
            QVERIFY2(!c.startsWith("BK") && !c.startsWith("SS"), qPrintable(c));
        QVERIFY(TabIdle());
    }

    void writesLeaveTheSimulatorHoldingTheStore()
    {
        QJsonObject image{{"SearchLink", QJsonArray{2, 3, 39}}};
        const QString path = LoadFile(image);
        QVERIFY(!path.isEmpty());
        QVERIFY(StartAll({"--load", path}));

        auto make = [&](int bank, qint64 low, qint64 high, const char16_t* title) -> TSearchBankElement& {
            TSearchBankElement& b = Bank(bank);
            b = forms_->main.SearchBankEmptyData;
            b.Flags_RegistedFlag = 1;
            b.ReadState = 2;
            b.LowFreq = low;
            b.HighFreq = high;
            b.StepFreq = 12500;
            b.RF_ATT = 1;
            b.VoiceSCR = 200;
            SetTitleText(b.Title, title);
            return b;
        };
        TSearchBankElement& fm = make(4, 144000000, 146000000, u"2M FM       ");
        fm.OffsetFreq = -3;
        fm.Dem_SQL_Type = 4;
        fm.IFBW = 3;
        fm.AdjFreq = 6250;
        TSearchBankElement& am = make(9, 118000000, 137000000, u"AIR         ");
        am.AMode = 1;
        am.IFBW = 2;
        am.RF_AGC = 2;
        am.StepFreq = 8330;
        am.Flags_ProtectFlag = 1;
        TSearchBankElement& dmr = make(10, 440000000, 450000000, u"DMR         ");
        dmr.Dem_DModeEnable = 1;
        dmr.DMode = 2;
        dmr.IFBW = 4;
        dmr.Dem_DMR_Slot = 2;
        dmr.DMR_ColorCode = 7;
        dmr.Dem_SQL_Type = 2;
        dmr.DCS_CODE = 30;
        TSearchBankElement& p25 = make(11, 851000000, 869000000, u"P25         ");
        p25.Dem_DModeEnable = 1;
        p25.DMode = 5;
        p25.IFBW = 3;
        p25.P25_NACCode = 0x293;
        p25.P25_NACCodeMute = 1;
        p25.Dem_SQL_Type = 1;
        p25.CTCSS_CODE = 20;
        TSearchBankElement& wx = make(39, 162400000, 162550000, u"WX F-AU     ");
        wx.Dem_AutoBand = 1;
        wx.OffsetFreq = 21;
        wx.RF_TETRA_Slot = 3;
        wx.NXDN_RANCode = 63;
        wx.DCR_CODE = 32767;
        wx.DCR_WHITE = 511;
        make(12, 0, 150000000, u"NO LOW EDGE ");  // written as deleted
        for (int n = 1; n < 20; ++n)
            forms_->main.OffsetFreqTable[n] = n * 1000000;

        Tab()->SetCurrentRow(10);  // bank 09
        QVERIFY(Run(Tab()->SearchBankWriteButton));
        BankMap banks = Banks(sim_->Dump());
        QCOMPARE(banks.size(), size_t(1));
        QVERIFY2(Differences(am, banks.at(9)).isEmpty(), qPrintable(Differences(am, banks.at(9)).join(", ")));
        ExpectLinksKept({2, 3, 39});

        QVERIFY(Run(Tab()->SearchBankAllWriteButton));
        const QJsonObject dump = sim_->Dump();
        banks = Banks(dump);
        QCOMPARE(banks.size(), size_t(5));
        for (int b : {4, 9, 10, 11, 39})
            QVERIFY2(Differences(Bank(b), banks.at(b)).isEmpty(),
                     qPrintable(QString::number(b) + ": " + Differences(Bank(b), banks.at(b)).join(", ")));
        QCOMPARE(Links(dump), (QList<int>{2, 3, 39}));
        const QJsonArray offsets = dump.value("OffsetFreqTable").toArray();
        for (int n = 1; n < 20; ++n)
            QCOMPARE(qint64(offsets.at(n).toDouble()), qint64(n * 1000000));
        // The offset list went with the first write only.
        QCOMPARE(sim_->Commands().count("OL01 RF1.0"), 1);
    }
};

QTEST_MAIN(SearchBankE2eTest)
#include "searchbank_e2e_test.moc"
