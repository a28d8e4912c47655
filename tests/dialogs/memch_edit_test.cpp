// The channel edit dialog driven as a user drives it: typing into boxes and leaving them,
// clicking boxes and buttons, picking list items. Every case checks the working record or
// the store byte for byte where the rule says what must (and must not) change.
#include "DialogTestKit.h"
#include "TFormMemChEdit.h"

#include <QLabel>
#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(TMemChElement)

namespace {

constexpr int kBank = 3;
constexpr int kCh = 7;

// An analog "AM" channel with settings unlike any band plan row.
TMemChElement AmChannel(std::int64_t freq)
{
    auto r = kit::Zeroed<TMemChElement>();
    SetBlankTitle(r.Title);
    r.RxFreq = freq;
    r.MemFlag_RegistedFlag = freq != 0 ? 1 : 0;
    r.AMode = 1;
    r.IFBW = 1;
    r.StepFreq = 9000;
    r.OffsetFreq = 5;
    r.RF_ATT = 2;
    r.Dem_DENOIS = 3;
    return r;
}

}  // namespace

class MemChEditTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TStore> store;
    std::unique_ptr<TFormMemChEdit> dlg;
    QStringList messages;
    int storedCalls = 0;
    int offsetListCalls = 0;

    void Open(const TMemChElement& rec)
    {
        store->MemChData[kBank][kCh] = rec;
        QVERIFY(kit::ShowActive(*dlg));
        dlg->EditStart_MemCh(kBank, kCh, 0);
    }
    QLineEdit* Edit(const char* name) { return kit::Find<QLineEdit>(*dlg, name); }
    QComboBox* List(const char* name) { return kit::Find<QComboBox>(*dlg, name); }
    QCheckBox* Check(const char* name) { return kit::Find<QCheckBox>(*dlg, name); }
    QPushButton* Button(const char* name) { return kit::Find<QPushButton>(*dlg, name); }
    const TMemChElement& Stored() const { return store->MemChData[kBank][kCh]; }

private slots:
    void init()
    {
        store = std::make_unique<TStore>();
        store->EmptyData_Init();
        kit::FillDefaultOffsets(*store);
        dlg = std::make_unique<TFormMemChEdit>(*store);
        dlg->SetOffsetIndexComboBoxItems();
        messages.clear();
        storedCalls = 0;
        offsetListCalls = 0;
        dlg->ShowMessage = [this](const QString& text) { messages << text; };
        dlg->SetStoredHook([this] { ++storedCalls; });
        dlg->SetOffsetListHook([this] { ++offsetListCalls; });
    }
    void cleanup() { dlg.reset(); }

    void loadRangeAndCaption_data()
    {
        QTest::addColumn<int>("bank");
        QTest::addColumn<int>("channel");
        QTest::addColumn<bool>("okEnabled");
        QTest::newRow("first") << 0 << 0 << true;
        QTest::newRow("last") << 39 << 49 << true;
        QTest::newRow("bank -1") << -1 << 0 << false;
        QTest::newRow("bank 40") << 40 << 0 << false;
        QTest::newRow("channel -1") << 0 << -1 << false;
        QTest::newRow("channel 50") << 0 << 50 << false;
    }
    void loadRangeAndCaption()
    {
        QFETCH(int, bank);
        QFETCH(int, channel);
        QFETCH(bool, okEnabled);
        QVERIFY(kit::ShowActive(*dlg));
        QCOMPARE(QApplication::focusWidget(), Button("BitBtn1"));
        dlg->EditStart_MemCh(kBank, kCh, 0);
        dlg->EditStart_MemCh(bank, channel, 0);
        QCOMPARE(Button("BitBtn1")->isEnabled(), okEnabled);
        const QString place = okEnabled ? QStringLiteral("Bank:%1 Ch:%2").arg(bank).arg(channel)
                                        : QStringLiteral("Bank:%1 Ch:%2").arg(kBank).arg(kCh);
        QCOMPARE(dlg->windowTitle(), place + QStringLiteral("  MemCh Edit"));
        QCOMPARE(kit::Find<QLabel>(*dlg, "BankChLabel")->text(), place);
        if (!okEnabled) {
            // Enter in a box does nothing while OK is disabled.
            kit::Click(Edit("TitleEdit"));
            QTest::keyClick(Edit("TitleEdit"), Qt::Key_Return);
            QVERIFY(dlg->isVisible());
            QCOMPARE(storedCalls, 0);
        }
    }

    void okBeforeAnyLoadStoresNothing()
    {
        const TMemChElement first = AmChannel(145000000);
        store->MemChData[0][0] = first;
        QVERIFY(kit::ShowActive(*dlg));
        kit::Click(Button("BitBtn1"));
        QVERIFY(!dlg->isVisible());
        QVERIFY(kit::SameBytes(store->MemChData[0][0], first));
    }

    void loadShowsEveryField()
    {
        TMemChElement r = AmChannel(154443750);
        r.Dem_DModeEnable = 1;
        r.DMode = 2;
        r.AMode = 0;
        r.IFBW = 0;  // a stored position wins over the digital default
        r.Dem_AutoBand = 1;
        r.MemFlag_ProtectFlag = 1;
        r.MemFlag_Pass = 1;
        r.RF_ATT = 0;
        r.OffsetFreq = -25;
        r.RF_SQ_N_L_Type = 2;
        r.Dem_DENOIS = 1;
        r.RF_AGC = 3;
        r.Dem_SQL_Type = 4;
        r.CTCSS_CODE = 15;
        r.DCS_CODE = 2;
        r.VoiceSCR = 234;
        r.Dem_DigiDecode = 1;
        r.RF_IF_Inv = 1;
        r.DCR_CODE = 32767;
        r.DCR_WHITE = 511;
        r.NXDN_RANCodeMute = 1;
        r.NXDN_RANCode = 64;
        r.Dem_DMR_Slot = 3;
        r.DMR_ColorCodeMute = 1;
        r.DMR_ColorCode = 16;
        r.P25_NACCodeMute = 1;
        r.P25_NACCode = 0xABC;
        r.RF_TETRA_Slot = 4;
        SetTitleText(r.Title, u"LOADED TITLE");
        Open(r);

        QCOMPARE(Edit("RxFreqEdit")->text(), QString("0154.44375"));
        QCOMPARE(Edit("TitleEdit")->text(), QString("LOADED TITLE"));
        QCOMPARE(Edit("V_SCREdit")->text(), QString("2340"));
        QCOMPARE(Edit("DCR_EncCodeEdit")->text(), QString("32767"));
        QCOMPARE(Edit("DCR_WCEdit")->text(), QString("511"));
        QCOMPARE(Edit("NXDN_RANEdit")->text(), QString("64"));
        QCOMPARE(Edit("DMR_ColorEdit")->text(), QString("16"));
        QCOMPARE(Edit("P25_NACEdit")->text(), QString("ABC"));
        const std::pair<const char*, const char*> lists[] = {
            {"ModeComboBox", "DMR"},      {"IFBWComboBox", "200k"},  {"ATT_AMPComboBox", "AMP"},
            {"SQ_TypeComboBox", "LSQ"},   {"NRComboBox", "LOW"},     {"AGCComboBox", "RF-G"},
            {"SQLComboBox", "RTN"},       {"CTCSSComboBox", "100.0Hz"}, {"DCSComboBox", " 17"},
            {"IFDIRComboBox", "INV"},     {"DMR_SlotComboBox", "2"}, {"T_TC_SlotComboBox", "4"},
            {"OffsetIndexComboBox", "25 (0009.00000MHz)"},
        };
        for (const auto& [name, text] : lists)
            QVERIFY2(List(name)->currentText() == QString(text), name);
        QVERIFY(!List("IFBWComboBox")->isEnabled());
        QVERIFY(!List("IFDIRComboBox")->isVisible());
        for (const char* name : {"F_AUCheckBox", "ProtectCheckBox", "PassCheckBox", "OffsetMinusCheckBox",
                                 "DigiDecodeCheckBox", "NXDN_RANCheckBox", "DMR_ColorCheckBox", "P25_NACCheckBox"})
            QVERIFY2(Check(name)->isChecked(), name);
        QVERIFY(kit::SameBytes(dlg->MemChEditData, r));
    }

    void rxFreqInput_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<qint64>("freq");
        QTest::addColumn<int>("registered");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("readState");
        QTest::newRow("154.44375") << "154.44375" << qint64(154443750) << 1 << "0154.44375" << 1;
        QTest::newRow("0.05 below range") << "0.05" << qint64(0) << 0 << "" << 0;
        QTest::newRow("3000.5 above range") << "3000.5" << qint64(0) << 0 << "" << 0;
        QTest::newRow("3000.0 top of range") << "3000.0" << qint64(3000000000) << 1 << "3000.00000" << 1;
        QTest::newRow("blanks around fixed form") << "  0154.44375  " << qint64(154443750) << 1 << "0154.44375" << 1;
        QTest::newRow("blank inside digits") << "15 4.44375" << qint64(0) << 0 << "" << 0;
        QTest::newRow("no point") << "145" << qint64(145000000) << 1 << "0145.00000" << 1;
        QTest::newRow("no point above range") << "5000" << qint64(0) << 0 << "" << 0;
        QTest::newRow("emptied") << "" << qint64(0) << 0 << "" << 0;
    }
    void rxFreqInput()
    {
        QFETCH(QString, typed);
        QFETCH(qint64, freq);
        QFETCH(int, registered);
        QFETCH(QString, shown);
        QFETCH(int, readState);
        const TMemChElement start = AmChannel(145000000);
        Open(start);
        kit::TypeAndLeave(Edit("RxFreqEdit"), typed);
        QCOMPARE(Edit("RxFreqEdit")->text(), shown);

        TMemChElement expected = start;
        expected.RxFreq = freq;
        expected.MemFlag_RegistedFlag = static_cast<std::uint8_t>(registered);
        expected.ReadState = static_cast<std::uint8_t>(readState);
        QVERIFY(kit::SameBytes(dlg->MemChEditData, expected));
        QVERIFY(kit::SameBytes(Stored(), start));  // nothing reaches the store before OK

        kit::Click(Button("BitBtn1"));
        QVERIFY(!dlg->isVisible());
        QCOMPARE(storedCalls, 1);
        QVERIFY(kit::SameBytes(Stored(), expected));
    }

    void typedBoxCompletesBeforeOk_data()
    {
        QTest::addColumn<bool>("enter");
        QTest::newRow("click OK") << false;
        QTest::newRow("Enter") << true;
    }
    void typedBoxCompletesBeforeOk()
    {
        QFETCH(bool, enter);
        Open(AmChannel(0));
        kit::TypeInto(Edit("RxFreqEdit"), QStringLiteral("430.5"));
        if (enter)
            QTest::keyClick(Edit("RxFreqEdit"), Qt::Key_Return);
        else
            kit::Click(Button("BitBtn1"));
        QVERIFY(!dlg->isVisible());
        QCOMPARE(Stored().RxFreq, std::int64_t(430500000));
        QCOMPARE(Stored().MemFlag_RegistedFlag, std::uint8_t(1));
    }

    void bandPlanOnFrequencyExit_data()
    {
        QTest::addColumn<bool>("fau");
        QTest::newRow("F-AU on") << true;
        QTest::newRow("F-AU off") << false;
    }
    void bandPlanOnFrequencyExit()
    {
        QFETCH(bool, fau);
        store->Region = 0;  // USA
        const TMemChElement start = AmChannel(0);
        Open(start);
        if (fau)
            kit::Click(Check("F_AUCheckBox"));
        kit::TypeAndLeave(Edit("RxFreqEdit"), QStringLiteral("146.5"));

        TMemChElement expected = start;
        expected.RxFreq = 146500000;
        expected.MemFlag_RegistedFlag = 1;
        expected.ReadState = 1;
        if (fau) {
            expected.Dem_AutoBand = 1;
            expected.StepFreq = 12500;
            expected.AdjFreq = 0;
            expected.Dem_DModeEnable = 0;
            expected.AMode = 0;
            expected.DMode = 0;
            expected.IFBW = 3;
            expected.OffsetFreq = -20;
        }
        QVERIFY(kit::SameBytes(dlg->MemChEditData, expected));
        QCOMPARE(Check("F_AUCheckBox")->isChecked(), fau);
        QCOMPARE(List("ModeComboBox")->currentText(), fau ? QString("FM") : QString("AM"));
        QCOMPARE(List("IFBWComboBox")->currentText(), fau ? QString(" 15k") : QString(" 8k"));
        QCOMPARE(Check("OffsetMinusCheckBox")->isChecked(), fau);
        QCOMPARE(List("OffsetIndexComboBox")->currentIndex(), fau ? 20 : 5);
    }

    void checkingFauAppliesPlanAndUncheckingKeepsIt()
    {
        store->Region = 0;
        const TMemChElement start = AmChannel(146500000);
        Open(start);
        kit::Click(Check("F_AUCheckBox"));
        QCOMPARE(dlg->MemChEditData.Dem_AutoBand, std::uint8_t(1));
        QCOMPARE(dlg->MemChEditData.StepFreq, 12500);
        QCOMPARE(dlg->MemChEditData.OffsetFreq, std::int16_t(-20));
        QCOMPARE(List("ModeComboBox")->currentText(), QString("FM"));
        TMemChElement expected = dlg->MemChEditData;
        expected.Dem_AutoBand = 0;
        kit::Click(Check("F_AUCheckBox"));
        QVERIFY(kit::SameBytes(dlg->MemChEditData, expected));
    }

    void ampUnder18MHz_data()
    {
        QTest::addColumn<qint64>("freq");
        QTest::addColumn<bool>("refused");
        QTest::newRow("7.050 MHz") << qint64(7050000) << true;
        QTest::newRow("1 Hz below 18 MHz") << qint64(17999999) << true;
        QTest::newRow("exactly 18 MHz") << qint64(18000000) << false;
        QTest::newRow("no frequency") << qint64(0) << false;
    }
    void ampUnder18MHz()
    {
        QFETCH(qint64, freq);
        QFETCH(bool, refused);
        const TMemChElement start = AmChannel(freq);
        Open(start);
        QVERIFY(kit::Pick(List("ATT_AMPComboBox"), QStringLiteral("AMP")));
        QCOMPARE(messages, refused ? QStringList{"AMP cannot set under 18MHz."} : QStringList{});
        QCOMPARE(List("ATT_AMPComboBox")->currentText(), refused ? QString("OFF") : QString("AMP"));
        TMemChElement expected = start;
        expected.RF_ATT = refused ? 1 : 0;
        expected.ReadState = 1;
        QVERIFY(kit::SameBytes(dlg->MemChEditData, expected));
    }

    void title_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("twelve");
        QTest::newRow("ABC padded") << "ABC" << "ABC         ";
        QTest::newRow("15 characters cut") << "ABCDEFGHIJKLMNO" << "ABCDEFGHIJKL";
        QTest::newRow("emptied") << "" << "            ";
    }
    void title()
    {
        QFETCH(QString, typed);
        QFETCH(QString, twelve);
        TMemChElement start = AmChannel(145000000);
        SetTitleText(start.Title, u"OLDTITLE12345");  // 13 characters, one NUL
        Open(start);
        kit::TypeAndLeave(Edit("TitleEdit"), typed);
        QCOMPARE(Edit("TitleEdit")->text(), twelve);
        TMemChElement expected = start;
        SetTitleText(expected.Title, twelve.toStdU16String());
        expected.ReadState = 1;
        QVERIFY(kit::SameBytes(dlg->MemChEditData, expected));
    }

    void voiceScrambler_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("1999 below") << "1999" << 200 << "2000";
        QTest::newRow("7005 cut, typed text stays") << "7005" << 700 << "7005";
        QTest::newRow("7010 above") << "7010" << 200 << "2000";
        QTest::newRow("2345 cut") << "2345" << 234 << "2345";
        QTest::newRow("not a number") << "x" << 200 << "2000";
    }
    void voiceScrambler()
    {
        QFETCH(QString, typed);
        QFETCH(int, stored);
        QFETCH(QString, shown);
        TMemChElement start = AmChannel(145000000);
        start.VoiceSCR = 500;
        Open(start);
        QCOMPARE(Edit("V_SCREdit")->text(), QString("5000"));
        kit::TypeAndLeave(Edit("V_SCREdit"), typed);
        QCOMPARE(Edit("V_SCREdit")->text(), shown);
        TMemChElement expected = start;
        expected.VoiceSCR = static_cast<std::uint16_t>(stored);
        expected.ReadState = 2;
        QVERIFY(kit::SameBytes(dlg->MemChEditData, expected));
    }

    void numberBoxes_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("shown");
        QTest::newRow("NAC abc is hexadecimal") << "P25_NACEdit" << "abc" << 2748 << "ABC";
        QTest::newRow("NAC 1000 above 0xFFF") << "P25_NACEdit" << "1000" << 0 << "000";
        QTest::newRow("NAC fff") << "P25_NACEdit" << "fff" << 4095 << "FFF";
        QTest::newRow("WC 512 above") << "DCR_WCEdit" << "512" << 0 << "0";
        QTest::newRow("WC 511") << "DCR_WCEdit" << "511" << 511 << "511";
        QTest::newRow("ENC -1") << "DCR_EncCodeEdit" << "-1" << 0 << "0";
        QTest::newRow("ENC 32767") << "DCR_EncCodeEdit" << "32767" << 32767 << "32767";
        QTest::newRow("ENC trailing blank") << "DCR_EncCodeEdit" << "12 " << 0 << "0";
        QTest::newRow("RAN 65 above") << "NXDN_RANEdit" << "65" << 0 << "0";
        QTest::newRow("RAN leading blank") << "NXDN_RANEdit" << " 64" << 64 << "64";
        QTest::newRow("ColorCode 16") << "DMR_ColorEdit" << "16" << 16 << "16";
        QTest::newRow("ColorCode 17 above") << "DMR_ColorEdit" << "17" << 0 << "0";
    }
    void numberBoxes()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(int, value);
        QFETCH(QString, shown);
        TMemChElement start = AmChannel(145000000);
        start.P25_NACCode = 0x123;
        start.DCR_WHITE = 7;
        start.DCR_CODE = 9;
        start.NXDN_RANCode = 11;
        start.DMR_ColorCode = 13;
        Open(start);
        QLineEdit* edit = Edit(box.toLatin1().constData());
        kit::TypeAndLeave(edit, typed);
        QCOMPARE(edit->text(), shown);

        TMemChElement expected = start;
        expected.ReadState = 2;
        const auto v = static_cast<std::uint16_t>(value);
        if (box == "P25_NACEdit")
            expected.P25_NACCode = v;
        else if (box == "DCR_WCEdit")
            expected.DCR_WHITE = v;
        else if (box == "DCR_EncCodeEdit")
            expected.DCR_CODE = v;
        else if (box == "NXDN_RANEdit")
            expected.NXDN_RANCode = static_cast<std::uint8_t>(v);
        else
            expected.DMR_ColorCode = static_cast<std::uint8_t>(v);
        QVERIFY(kit::SameBytes(dlg->MemChEditData, expected));
    }

    void plainListsAndChecks_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("position");  // -1 for a check box click
        QTest::addColumn<int>("readState");
        QTest::newRow("SQ Type") << "SQ_TypeComboBox" << 2 << 2;
        QTest::newRow("NR") << "NRComboBox" << 0 << 2;
        QTest::newRow("AGC") << "AGCComboBox" << 3 << 2;
        QTest::newRow("SQL") << "SQLComboBox" << 4 << 2;
        QTest::newRow("CTCSS") << "CTCSSComboBox" << 53 << 2;
        QTest::newRow("DCS") << "DCSComboBox" << 107 << 2;
        QTest::newRow("DMR slot") << "DMR_SlotComboBox" << 3 << 2;
        QTest::newRow("T-TC slot") << "T_TC_SlotComboBox" << 4 << 2;
        QTest::newRow("Protect") << "ProtectCheckBox" << -1 << 1;
        QTest::newRow("Pass") << "PassCheckBox" << -1 << 1;
        QTest::newRow("Dig.Decode") << "DigiDecodeCheckBox" << -1 << 2;
        QTest::newRow("NXDN_RAN") << "NXDN_RANCheckBox" << -1 << 2;
        QTest::newRow("ColorCode") << "DMR_ColorCheckBox" << -1 << 2;
        QTest::newRow("NAC") << "P25_NACCheckBox" << -1 << 2;
    }
    void plainListsAndChecks()
    {
        QFETCH(QString, control);
        QFETCH(int, position);
        QFETCH(int, readState);
        const TMemChElement start = AmChannel(145000000);
        Open(start);
        const QByteArray name = control.toLatin1();
        if (position >= 0)
            QVERIFY(kit::Pick(List(name.constData()), position));
        else
            kit::Click(Check(name.constData()));

        TMemChElement expected = start;
        expected.ReadState = static_cast<std::uint8_t>(readState);
        const std::uint8_t v = position >= 0 ? static_cast<std::uint8_t>(position) : 1;
        const std::pair<const char*, std::uint8_t TMemChElement::*> fields[] = {
            {"SQ_TypeComboBox", &TMemChElement::RF_SQ_N_L_Type},
            {"NRComboBox", &TMemChElement::Dem_DENOIS},
            {"AGCComboBox", &TMemChElement::RF_AGC},
            {"SQLComboBox", &TMemChElement::Dem_SQL_Type},
            {"CTCSSComboBox", &TMemChElement::CTCSS_CODE},
            {"DCSComboBox", &TMemChElement::DCS_CODE},
            {"DMR_SlotComboBox", &TMemChElement::Dem_DMR_Slot},
            {"T_TC_SlotComboBox", &TMemChElement::RF_TETRA_Slot},
            {"ProtectCheckBox", &TMemChElement::MemFlag_ProtectFlag},
            {"PassCheckBox", &TMemChElement::MemFlag_Pass},
            {"DigiDecodeCheckBox", &TMemChElement::Dem_DigiDecode},
            {"NXDN_RANCheckBox", &TMemChElement::NXDN_RANCodeMute},
            {"DMR_ColorCheckBox", &TMemChElement::DMR_ColorCodeMute},
            {"P25_NACCheckBox", &TMemChElement::P25_NACCodeMute},
        };
        for (const auto& [fieldControl, field] : fields)
            if (control == fieldControl)
                expected.*field = v;
        QVERIFY(kit::SameBytes(dlg->MemChEditData, expected));
    }

    void modeListBandwidthSequence()
    {
        TMemChElement start = AmChannel(145000000);
        start.Dem_AutoBand = 1;
        Open(start);
        QVERIFY(Check("F_AUCheckBox")->isChecked());
        struct Step {
            const char* mode;
            std::uint8_t digital, dMode, aMode;
            int ifbw;
            const char* shown;
            bool enabled;
        };
        const Step steps[] = {
            {"T-TC", 1, 8, 0, 2, " 30k", false},
            {"FM", 0, 0, 0, 2, " 30k", true},
            {"AM", 0, 0, 1, 2, " 5.5k", true},
            {"USB", 0, 0, 4, 0, "2.6k", true},
        };
        for (const Step& s : steps) {
            QVERIFY2(kit::Pick(List("ModeComboBox"), QString(s.mode)), s.mode);
            const TMemChElement& r = dlg->MemChEditData;
            QVERIFY2(r.Dem_DModeEnable == s.digital && r.DMode == s.dMode && r.AMode == s.aMode, s.mode);
            QVERIFY2(r.IFBW == s.ifbw, s.mode);
            QCOMPARE(List("IFBWComboBox")->currentText(), QString(s.shown));
            QCOMPARE(List("IFBWComboBox")->isEnabled(), s.enabled);
            QCOMPARE(r.Dem_AutoBand, std::uint8_t(0));
            QVERIFY(!Check("F_AUCheckBox")->isChecked());
            QCOMPARE(r.ReadState, std::uint8_t(1));
        }
    }

    void bandwidthPickSwitchesFauOff()
    {
        TMemChElement start = AmChannel(145000000);
        start.Dem_AutoBand = 1;
        Open(start);
        QVERIFY(kit::Pick(List("IFBWComboBox"), 3));
        TMemChElement expected = start;
        expected.IFBW = 3;
        expected.Dem_AutoBand = 0;
        expected.ReadState = 1;
        QVERIFY(kit::SameBytes(dlg->MemChEditData, expected));
        QVERIFY(!Check("F_AUCheckBox")->isChecked());
    }

    void offsetChoice_data()
    {
        QTest::addColumn<bool>("listBuilt");
        QTest::addColumn<int>("startOffset");
        QTest::addColumn<int>("pick");  // -1: only click "Minus"
        QTest::addColumn<int>("stored");
        QTest::newRow("pick 25, Minus stays on") << true << -3 << 25 << -25;
        QTest::newRow("Minus on") << true << 3 << -1 << -3;
        QTest::newRow("Minus off") << true << -3 << -1 << 3;
        QTest::newRow("no list: Minus turns the held offset") << false << 25 << -1 << -25;
        QTest::newRow("no list: Minus off") << false << -25 << -1 << 25;
    }
    void offsetChoice()
    {
        QFETCH(bool, listBuilt);
        QFETCH(int, startOffset);
        QFETCH(int, pick);
        QFETCH(int, stored);
        if (!listBuilt)
            dlg = std::make_unique<TFormMemChEdit>(*store);
        TMemChElement start = AmChannel(145000000);
        start.OffsetFreq = static_cast<std::int16_t>(startOffset);
        Open(start);
        QCOMPARE(List("OffsetIndexComboBox")->count(), listBuilt ? 40 : 0);
        if (pick >= 0)
            QVERIFY(kit::Pick(List("OffsetIndexComboBox"), pick));
        else
            kit::Click(Check("OffsetMinusCheckBox"));
        TMemChElement expected = start;
        expected.OffsetFreq = static_cast<std::int16_t>(stored);
        expected.ReadState = 2;
        QVERIFY(kit::SameBytes(dlg->MemChEditData, expected));
    }

    void offsetListItemsAndButton()
    {
        store->OffsetFreqTable[1] = 100000;
        dlg->SetOffsetIndexComboBoxItems();
        const QStringList items = kit::Items(List("OffsetIndexComboBox"));
        QCOMPARE(items.size(), 40);
        QCOMPARE(items[0], QString("00 (0000.00000MHz)"));
        QCOMPARE(items[1], QString("01 (0000.10000MHz)"));
        QCOMPARE(items[39], QString("39 (0130.00000MHz)"));
        Open(AmChannel(145000000));
        kit::Click(Button("OffsetFreqListButton"));
        QCOMPARE(offsetListCalls, 1);
        QVERIFY(dlg->isVisible());
    }

    void cancelLeavesStore_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("CANCEL") << "CANCEL";
        QTest::newRow("Esc") << "Esc";
        QTest::newRow("close") << "close";
    }
    void cancelLeavesStore()
    {
        QFETCH(QString, how);
        const TMemChElement start = AmChannel(145000000);
        Open(start);
        QVERIFY(kit::Pick(List("ModeComboBox"), QStringLiteral("USB")));
        kit::TypeAndLeave(Edit("TitleEdit"), QStringLiteral("CHANGED"));
        if (how == "CANCEL")
            kit::Click(Button("BitBtn2"));
        else if (how == "Esc")
            QTest::keyClick(dlg.get(), Qt::Key_Escape);
        else
            dlg->close();
        QVERIFY(!dlg->isVisible());
        QCOMPARE(storedCalls, 0);
        QVERIFY(kit::SameBytes(Stored(), start));
        // The next load starts again from the store.
        Open(start);
        QCOMPARE(List("ModeComboBox")->currentText(), QString("AM"));
        QVERIFY(kit::SameBytes(dlg->MemChEditData, start));
    }

    void deleteThenFinish_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("Delete, OK") << true;
        QTest::newRow("Delete, CANCEL") << false;
    }
    void deleteThenFinish()
    {
        QFETCH(bool, ok);
        TMemChElement start = AmChannel(434000000);
        start.Dem_DModeEnable = 1;
        start.DMode = 2;
        start.AMode = 0;
        start.Dem_AutoBand = 1;
        start.ReadState = 2;
        start.OffsetFreq = -23;
        start.DCR_CODE = 77;
        SetTitleText(start.Title, u"REPEATER    ");
        Open(start);
        kit::Click(Button("DeleteButton"));
        QCOMPARE(Edit("RxFreqEdit")->text(), QString());
        QCOMPARE(Edit("TitleEdit")->text(), QString(12, u' '));
        QCOMPARE(List("ModeComboBox")->currentText(), QString("FM"));
        QVERIFY(!Check("F_AUCheckBox")->isChecked());
        QVERIFY(dlg->isVisible());

        kit::Click(Button(ok ? "BitBtn1" : "BitBtn2"));
        TMemChElement expected = start;
        if (ok) {
            expected.RxFreq = 0;
            SetBlankTitle(expected.Title);
            expected.Dem_AutoBand = 0;
            expected.Dem_DModeEnable = 0;
            expected.DMode = 0;
            expected.AMode = 0;
            expected.ReadState = 0;
        }
        QVERIFY(kit::SameBytes(Stored(), expected));
        QCOMPARE(storedCalls, ok ? 1 : 0);
    }

    void passingThroughBoxesChangesNothing_data()
    {
        QTest::addColumn<bool>("enter");
        QTest::newRow("then click OK") << false;
        QTest::newRow("then Enter") << true;
    }
    void passingThroughBoxesChangesNothing()
    {
        QFETCH(bool, enter);
        store->Region = 0;
        // Every box holds a value its exit rule would rewrite.
        TMemChElement odd = AmChannel(146500005);
        odd.Dem_AutoBand = 1;
        SetTitleText(odd.Title, u"ABC");
        odd.VoiceSCR = 50;
        odd.DCR_CODE = 40000;
        odd.DCR_WHITE = 600;
        odd.NXDN_RANCode = 99;
        odd.DMR_ColorCode = 99;
        odd.P25_NACCode = 0x1000;
        Open(odd);
        for (const char* box : {"RxFreqEdit", "TitleEdit", "V_SCREdit", "DCR_EncCodeEdit", "DCR_WCEdit",
                                "NXDN_RANEdit", "DMR_ColorEdit", "P25_NACEdit"})
            kit::Click(Edit(box));
        if (enter)
            QTest::keyClick(Edit("P25_NACEdit"), Qt::Key_Return);
        else
            kit::Click(Button("BitBtn1"));
        QVERIFY(!dlg->isVisible());
        QVERIFY(kit::SameBytes(Stored(), odd));
    }

    void plainOkLeavesStoreUnchanged_data()
    {
        QTest::addColumn<TMemChElement>("record");
        QTest::newRow("all zero") << kit::Zeroed<TMemChElement>();
        TMemChElement blank = kit::Zeroed<TMemChElement>();
        SetBlankTitle(blank.Title);
        QTest::newRow("blank template") << blank;
        QTest::newRow("analog AM") << AmChannel(145000000);
        TMemChElement digital = AmChannel(434000000);
        digital.Dem_DModeEnable = 1;
        digital.DMode = 5;
        digital.AMode = 0;
        digital.IFBW = 0;  // stays "200k", not the digital default
        digital.P25_NACCode = 0xABC;
        digital.P25_NACCodeMute = 1;
        digital.Dem_DigiDecode = 1;
        digital.ReadState = 2;
        QTest::newRow("digital P-25 with IFBW 0") << digital;
        TMemChElement plan = AmChannel(27000001);
        plan.Dem_AutoBand = 1;
        plan.StepFreq = 4000;
        plan.AdjFreq = 2500;
        plan.OffsetFreq = -26;
        QTest::newRow("band plan step and adjust") << plan;
        TMemChElement unknownMode = AmChannel(434000000);
        unknownMode.Dem_DModeEnable = 1;
        unknownMode.DMode = 128;
        unknownMode.IFBW = 3;
        QTest::newRow("DMode outside the list") << unknownMode;
        TMemChElement badAnalog = AmChannel(145000000);
        badAnalog.AMode = 9;
        badAnalog.IFBW = 7;
        QTest::newRow("AMode and IFBW outside the lists") << badAnalog;
        TMemChElement ampLow = AmChannel(7050000);
        ampLow.RF_ATT = 0;  // read from the receiver; the load must not refuse it
        QTest::newRow("AMP below 18 MHz") << ampLow;
        TMemChElement odd = AmChannel(0);
        odd.MemFlag_RegistedFlag = 1;
        odd.VoiceSCR = 0;
        odd.OffsetFreq = 45;
        odd.CTCSS_CODE = 60;
        odd.DCS_CODE = 200;
        odd.Dem_DModeEnable = 2;
        SetTitleText(odd.Title, u"FOURTEENCHARSX");
        QTest::newRow("values outside the lists, full title") << odd;
        TMemChElement unregistered = AmChannel(145000000);
        unregistered.MemFlag_RegistedFlag = 0;
        unregistered.ReadState = 1;
        QTest::newRow("frequency without in-use flag") << unregistered;
    }
    void plainOkLeavesStoreUnchanged()
    {
        QFETCH(TMemChElement, record);
        store->Region = 1;
        Open(record);
        kit::Click(Button("BitBtn1"));
        QVERIFY(!dlg->isVisible());
        QCOMPARE(storedCalls, 1);
        QVERIFY(kit::SameBytes(Stored(), record));
        QVERIFY(messages.isEmpty());
    }
};

QTEST_MAIN(MemChEditTest)
#include "memch_edit_test.moc"
