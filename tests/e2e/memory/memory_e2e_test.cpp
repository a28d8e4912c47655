// The memory tab of the real forms against the receiver simulator: reads fill the store and
// the table as the simulator holds them, writes leave the simulator holding the store.
// Set KESTREL_SCREENSHOT_DIR to also save the tab after a bank read.
#include "MemoryE2eRig.h"

using namespace memory_e2e;

class MemoryE2eTest : public QObject {
    Q_OBJECT

    MemoryRig rig_;
    std::unique_ptr<Sim>& sim_ = rig_.sim;
    std::unique_ptr<Forms>& forms_ = rig_.forms;

    memtab::TMemoryTab* Tab() { return rig_.Tab(); }
    CommandEngine& Engine() { return rig_.Engine(); }
    TMemChElement& Ch(int bank, int ch) { return rig_.Ch(bank, ch); }
    bool StartAll(const QStringList& args) { return rig_.StartAll(args); }
    bool Run(QPushButton* b, int timeoutMs = 60000) { return rig_.Run(b, timeoutMs); }
    bool TabIdle() { return rig_.TabIdle(); }

private slots:
    void initTestCase() { QVERIFY(rig_.Init(10)); }

    void cleanup()
    {
        const QStringList messages = rig_.Reset();
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join(", ")));
    }

    void oneChannelThenOneBankRead()
    {
        QVERIFY(StartAll({}));
        const QJsonObject dump = sim_->Dump();
        const ChannelMap channels = Channels(dump);
        QVERIFY(!channels.empty());
        // The bank of the demo image that holds most channels, and one of its channels.
        std::map<int, int> perBank;
        for (const auto& [key, o] : channels)
            ++perBank[key.first];
        int bank = perBank.begin()->first;
        for (const auto& [b, n] : perBank)
            if (n > perBank[bank])
                bank = b;
        int ch = -1;
        for (const auto& [key, o] : channels)
            if (key.first == bank && ch < 0)
                ch = key.second;

        Tab()->MemBankComboBox->setCurrentIndex(bank);
        Tab()->SetCurrentRow(ch + 1);
        QVERIFY(Run(Tab()->MemChDetailReadButton));
        QStringList expectedStart{"AZ", QStringLiteral("MA%1%2").arg(bank, 2, 10, QLatin1Char('0')).arg(ch, 2, 10, QLatin1Char('0')),
                                  QStringLiteral("MW%1").arg(bank, 2, 10, QLatin1Char('0'))};
        QCOMPARE(sim_->Commands().mid(0, 3), expectedStart);
        QCOMPARE(sim_->Commands().last(), QStringLiteral("EX"));
        QCOMPARE(Ch(bank, ch).ReadState, 2);
        QCOMPARE(Differences(Ch(bank, ch), channels.at({bank, ch}), true), QStringList());
        QCOMPARE(forms_->main.Region, dump.value("Region").toInt());
        QCOMPARE(Tab()->RegionItemIndex(), dump.value("Region").toInt());
        const QJsonArray offsets = dump.value("OffsetFreqTable").toArray();
        for (int n = 1; n < 40; ++n)
            QCOMPARE(qint64(forms_->main.OffsetFreqTable[n]), qint64(offsets.at(n).toDouble()));

        QVERIFY(Run(Tab()->MemBankDetailReadButton));
        QTableWidget* grid = Tab()->MemChStringGrid;
        for (int c = 0; c < kMemChPerBank; ++c) {
            const auto it = channels.find({bank, c});
            const TMemChElement& rec = Ch(bank, c);
            if (it == channels.end()) {
                QCOMPARE(int(rec.MemFlag_RegistedFlag), 0);
                QCOMPARE(int(rec.ReadState), 1);
                QCOMPARE(grid->item(c, 1)->text(), QStringLiteral("---"));
                continue;
            }
            QCOMPARE(int(rec.ReadState), 2);
            QCOMPARE(Differences(rec, it->second, true), QStringList());
            for (int col = 0; col < kMemTableColumns; ++col)
                QCOMPARE(grid->item(c, col)->text(), MemTableCellText(forms_->main, bank, c, col));
            QCOMPARE(grid->item(c, 1)->text(),
                     QString::fromStdString(TableMHzStr(static_cast<qint64>(it->second.value("RxFreq").toDouble()))));
            QCOMPARE(grid->item(c, 2)->text(), it->second.value("Title").toString());
        }
        const QJsonObject header = dump.value("MemBankData").toArray().at(bank).toObject();
        const std::u16string bankTitle = TitleText(forms_->main.MemBankData[bank].Title);
        QCOMPARE(QString::fromUtf16(bankTitle.data(), qsizetype(bankTitle.size())), header.value("Title").toString());

        const QByteArray shots = qgetenv("KESTREL_SCREENSHOT_DIR");
        if (!shots.isEmpty()) {
            forms_->memory.resize(770, 480 + forms_->memory.ProgressBar1->sizeHint().height());
            forms_->memory.PageControl1->setCurrentWidget(forms_->memory.MemChPage());
            forms_->memory.show();
            QVERIFY(QTest::qWaitForWindowExposed(&forms_->memory));
            QVERIFY(forms_->memory.grab().save(QDir(QString::fromLocal8Bit(shots)).filePath("memory-tab.png")));
        }
    }

    void answersWithTwoLeadingCharactersReadTheSame()
    {
        QVERIFY(StartAll({"--prefix", "#>"}));
        const ChannelMap channels = Channels(sim_->Dump());
        QVERIFY(!channels.empty());
        const auto [bank, ch] = channels.begin()->first;
        Tab()->MemBankComboBox->setCurrentIndex(bank);
        Tab()->SetCurrentRow(ch + 1);
        QVERIFY(Run(Tab()->MemChDetailReadButton));
        QCOMPARE(int(Ch(bank, ch).ReadState), 2);
        QCOMPARE(Differences(Ch(bank, ch), channels.begin()->second, true), QStringList());
    }

    void oneBankWriteIntoAnEmptyReceiver()
    {
        QVERIFY(StartAll({"--empty"}));
        const int bank = 6;
        auto make = [&](int ch, qint64 freq, const char16_t* title) -> TMemChElement& {
            TMemChElement& c = Ch(bank, ch);
            c = forms_->main.MemChEmptyData;
            c.MemFlag_RegistedFlag = 1;
            c.ReadState = 2;
            c.RxFreq = freq;
            c.RF_ATT = 1;
            c.VoiceSCR = 200;
            SetTitleText(c.Title, title);
            return c;
        };
        TMemChElement& fm = make(0, 145500000, u"FM TONE     ");
        fm.OffsetFreq = -3;
        fm.Dem_SQL_Type = 1;
        fm.CTCSS_CODE = 2;
        fm.IFBW = 3;
        TMemChElement& am = make(5, 118100000, u"AIRBAND     ");
        am.AMode = 1;
        am.IFBW = 2;
        am.RF_AGC = 2;
        am.MemFlag_Pass = 1;
        TMemChElement& dmr = make(6, 446006250, u"DMR         ");
        dmr.Dem_DModeEnable = 1;
        dmr.DMode = 2;
        dmr.IFBW = 4;
        dmr.Dem_DMR_Slot = 3;
        dmr.DMR_ColorCode = 16;
        dmr.DMR_ColorCodeMute = 1;
        dmr.Dem_SQL_Type = 2;
        dmr.DCS_CODE = 107;
        TMemChElement& p25 = make(7, 851012500, u"P25 NAC     ");
        p25.Dem_DModeEnable = 1;
        p25.DMode = 5;
        p25.IFBW = 3;
        p25.P25_NACCode = 659;
        p25.P25_NACCodeMute = 1;
        p25.MemFlag_ProtectFlag = 1;
        p25.Dem_SQL_Type = 4;
        p25.CTCSS_CODE = 53;
        TMemChElement& usb = make(48, 14230000, u"HF USB      ");
        usb.AMode = 4;
        usb.IFBW = 1;
        usb.RF_AGC = 3;
        usb.Dem_SQL_Type = 3;
        usb.VoiceSCR = 700;
        usb.DCR_CODE = 32767;
        usb.DCR_WHITE = 511;
        usb.NXDN_RANCode = 64;
        usb.NXDN_RANCodeMute = 1;
        usb.RF_TETRA_Slot = 3;
        usb.Dem_DigiDecode = 1;
        TMemChElement& fau = make(49, 162550000, u"WX F-AU     ");
        fau.Dem_AutoBand = 1;
        fau.OffsetFreq = 20;
        make(9, 0, u"NO FREQ     ");  // registered without a frequency: deleted
        for (int n = 1; n < 20; ++n)
            forms_->main.OffsetFreqTable[n] = n * 1250000;

        Tab()->MemBankComboBox->setCurrentIndex(bank);
        QVERIFY(Run(Tab()->MemBankWriteButton, 120000));
        const QJsonObject dump = sim_->Dump();
        const ChannelMap channels = Channels(dump);
        for (int c = 0; c < kMemChPerBank; ++c) {
            const bool holds = Ch(bank, c).MemFlag_RegistedFlag != 0 && Ch(bank, c).RxFreq != 0;
            QCOMPARE(channels.count({bank, c}) == 1, holds);
            if (holds)
                QVERIFY2(Differences(Ch(bank, c), channels.at({bank, c}), false).isEmpty(),
                         qPrintable(QString::number(c) + ": " +
                                    Differences(Ch(bank, c), channels.at({bank, c}), false).join(", ")));
        }
        QCOMPARE(channels.size(), size_t(6));
        const QJsonArray offsets = dump.value("OffsetFreqTable").toArray();
        for (int n = 1; n < 20; ++n)
            QCOMPARE(qint64(offsets.at(n).toDouble()), qint64(n * 1250000));
    }

    void abortMidReadKeepsWhatWasRead()
    {
        QVERIFY(StartAll({"--full"}));
        QTest::mouseClick(Tab()->AllBankDetailReadButton, Qt::LeftButton);
        QVERIFY(Engine().TabRunning(OpTab::MemCh));
        // Wait until the main answers of the first bank are in, then abort.
        QTRY_VERIFY_WITH_TIMEOUT(Ch(0, 49).ReadState == 1, 60000);
        QTest::mouseClick(Tab()->MemBankAbortButton, Qt::LeftButton);
        QVERIFY(TabIdle());
        QVERIFY(Engine().CommandList().isEmpty());

        const ChannelMap channels = Channels(sim_->Dump());
        int kept = 0;
        for (int c = 0; c < kMemChPerBank; ++c) {
            QCOMPARE(int(Ch(0, c).MemFlag_RegistedFlag), 1);
            QCOMPARE(Ch(0, c).RxFreq, qint64(channels.at({0, c}).value("RxFreq").toDouble()));
            kept += Ch(0, c).ReadState >= 1;
        }
        QCOMPARE(kept, kMemChPerBank);
        QCOMPARE(int(Ch(39, 0).ReadState), 0);  // never reached
        QVERIFY(forms_->main.CommX1.isOpen());  // Abort leaves the port as it is
        forms_->terminal.CloseButtonClick();
        QVERIFY(!forms_->main.CommX1.isOpen());
    }
};

QTEST_MAIN(MemoryE2eTest)
#include "memory_e2e_test.moc"
