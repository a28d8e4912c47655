#include "TEditFormBase.h"

#include "ChoiceLists.h"
#include "EditRules.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

const QString kAmpRefusedText = QStringLiteral("AMP cannot set under 18MHz.");
constexpr int kAmpPosition = 0;
constexpr int kAttOffPosition = 1;

// The mode fields of the working record, in the shape the mode pick rule expects.
struct ModeRefs {
    std::uint8_t& Dem_DModeEnable;
    std::uint8_t& DMode;
    std::uint8_t& AMode;
    std::uint8_t& IFBW;
    std::uint8_t& Dem_AutoBand;
    std::uint8_t& ReadState;
};

QString ToQString(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

TEditFormBase::TEditFormBase(TStore& store, QWidget* parent)
    : QDialog(parent), Store(store)
{
    setModal(false);
    ShowMessage = [this](const QString& text) {
        QMessageBox::information(this, QStringLiteral("Kestrel DataUtility"), text, QMessageBox::Ok);
    };
    CreateControls();
    ConnectHandlers();
}

// ---- Building ----

QComboBox* TEditFormBase::MakeList(const char* name, std::span<const std::string_view> items)
{
    auto* box = new QComboBox(this);
    box->setObjectName(QLatin1String(name));
    box->setEditable(false);
    for (std::string_view item : items)
        box->addItem(ToQString(item));
    return box;
}

QCheckBox* TEditFormBase::MakeCheck(const char* name, const QString& text)
{
    auto* box = new QCheckBox(text, this);
    box->setObjectName(QLatin1String(name));
    return box;
}

QLineEdit* TEditFormBase::MakeEdit(const char* name)
{
    auto* box = new QLineEdit(this);
    box->setObjectName(QLatin1String(name));
    return box;
}

QLabel* TEditFormBase::MakeLabel(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

void TEditFormBase::SelectPosition(QComboBox* box, int position)
{
    box->setCurrentIndex(position >= 0 && position < box->count() ? position : -1);
}

void TEditFormBase::CreateControls()
{
    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("CANCEL"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));

    F_AUCheckBox = MakeCheck("F_AUCheckBox", QStringLiteral("F-AU"));
    TitleEdit = MakeEdit("TitleEdit");
    ModeComboBox = MakeList("ModeComboBox", ModeItems);
    ModeComboBox->setCurrentIndex(-1);
    IFBWComboBox = MakeList("IFBWComboBox", {});
    ProtectCheckBox = MakeCheck("ProtectCheckBox", QStringLiteral("Protect"));
    ATT_AMPComboBox = MakeList("ATT_AMPComboBox", ATT_AMPList.Items);
    OffsetMinusCheckBox = MakeCheck("OffsetMinusCheckBox", QStringLiteral("Minus"));
    OffsetIndexComboBox = MakeList("OffsetIndexComboBox", {});
    OffsetFreqListButton = new QPushButton(QStringLiteral("OffsetFreqList"), this);
    OffsetFreqListButton->setObjectName(QStringLiteral("OffsetFreqListButton"));
    SQ_TypeComboBox = MakeList("SQ_TypeComboBox", SQ_TypeList.Items);
    NRComboBox = MakeList("NRComboBox", NRList.Items);
    AGCComboBox = MakeList("AGCComboBox", AGCList.Items);

    SQLComboBox = MakeList("SQLComboBox", SQLList.Items);
    CTCSSComboBox = MakeList("CTCSSComboBox", CTCSSList.Items);
    DCSComboBox = MakeList("DCSComboBox", DCSList.Items);
    V_SCREdit = MakeEdit("V_SCREdit");

    DigiDecodeCheckBox = MakeCheck("DigiDecodeCheckBox", QStringLiteral("Dig.Decode"));
    IFDIRComboBox = MakeList("IFDIRComboBox", IFDIRList.Items);
    DCR_EncCodeEdit = MakeEdit("DCR_EncCodeEdit");
    DCR_WCEdit = MakeEdit("DCR_WCEdit");
    NXDN_RANCheckBox = MakeCheck("NXDN_RANCheckBox", QStringLiteral("NXDN_RAN:"));
    NXDN_RANEdit = MakeEdit("NXDN_RANEdit");
    NXDN_RANEdit->setAccessibleName(QStringLiteral("NXDN_RAN"));
    DMR_SlotComboBox = MakeList("DMR_SlotComboBox", DMR_SlotList.Items);
    DMR_ColorCheckBox = MakeCheck("DMR_ColorCheckBox", QStringLiteral("ColorCode:"));
    DMR_ColorEdit = MakeEdit("DMR_ColorEdit");
    DMR_ColorEdit->setAccessibleName(QStringLiteral("ColorCode"));
    P25_NACCheckBox = MakeCheck("P25_NACCheckBox", QStringLiteral("NAC:"));
    P25_NACEdit = MakeEdit("P25_NACEdit");
    P25_NACEdit->setAccessibleName(QStringLiteral("NAC"));
    T_TC_SlotComboBox = MakeList("T_TC_SlotComboBox", T_TC_SlotList.Items);

    const std::pair<QComboBox*, const FixedChoiceList*> initial[] = {
        {ATT_AMPComboBox, &ATT_AMPList}, {SQ_TypeComboBox, &SQ_TypeList}, {NRComboBox, &NRList},
        {AGCComboBox, &AGCList},         {SQLComboBox, &SQLList},         {CTCSSComboBox, &CTCSSList},
        {DCSComboBox, &DCSList},         {IFDIRComboBox, &IFDIRList},     {DMR_SlotComboBox, &DMR_SlotList},
        {T_TC_SlotComboBox, &T_TC_SlotList},
    };
    for (const auto& [box, list] : initial)
        SelectPosition(box, list->Initial);

    TitleLabel = MakeLabel(QStringLiteral("Title:"), TitleEdit, this);
    ModeLabel = MakeLabel(QStringLiteral("Mode:"), ModeComboBox, this);
    IFBWLabel = MakeLabel(QStringLiteral("IFBW:"), IFBWComboBox, this);
}

void TEditFormBase::BuildLayout(QLabel* headLabel, QGridLayout* ownRows, QWidget* passBox,
                                QWidget* extraButton)
{
    auto* left = new QGridLayout;
    int row = 0;
    left->addWidget(headLabel, row++, 0, 1, 4);
    left->addLayout(ownRows, row++, 0, 1, 4);
    left->addWidget(ModeLabel, row, 0);
    left->addWidget(ModeComboBox, row, 1);
    left->addWidget(IFBWLabel, row, 2);
    left->addWidget(IFBWComboBox, row++, 3);
    left->addWidget(MakeLabel(QStringLiteral("ATT/AMP:"), ATT_AMPComboBox, this), row, 0);
    left->addWidget(ATT_AMPComboBox, row, 1);
    left->addWidget(ProtectCheckBox, row, 2);
    if (passBox)
        left->addWidget(passBox, row, 3);
    ++row;
    auto* offsetRow = new QHBoxLayout;
    offsetRow->addWidget(OffsetMinusCheckBox);
    offsetRow->addWidget(OffsetIndexComboBox, 1);
    offsetRow->addWidget(OffsetFreqListButton);
    left->addWidget(MakeLabel(QStringLiteral("Offset:"), OffsetIndexComboBox, this), row, 0);
    left->addLayout(offsetRow, row++, 1, 1, 3);
    left->addWidget(MakeLabel(QStringLiteral("SQ Type:"), SQ_TypeComboBox, this), row, 0);
    left->addWidget(SQ_TypeComboBox, row, 1);
    left->addWidget(MakeLabel(QStringLiteral("NR:"), NRComboBox, this), row, 2);
    left->addWidget(NRComboBox, row++, 3);
    left->addWidget(MakeLabel(QStringLiteral("AGC:"), AGCComboBox, this), row, 0);
    left->addWidget(AGCComboBox, row++, 1);

    ToneCodeGroupBox = new QGroupBox(QStringLiteral("TONE/CODE"), this);
    ToneCodeGroupBox->setObjectName(QStringLiteral("ToneCodeGroupBox"));
    auto* tone = new QGridLayout(ToneCodeGroupBox);
    tone->addWidget(MakeLabel(QStringLiteral("SQL:"), SQLComboBox, this), 0, 0);
    tone->addWidget(SQLComboBox, 0, 1);
    tone->addWidget(MakeLabel(QStringLiteral("CTCSS/RTN:"), CTCSSComboBox, this), 0, 2);
    tone->addWidget(CTCSSComboBox, 0, 3);
    tone->addWidget(MakeLabel(QStringLiteral("DCS:"), DCSComboBox, this), 1, 0);
    tone->addWidget(DCSComboBox, 1, 1);
    tone->addWidget(MakeLabel(QStringLiteral("V.SCR:"), V_SCREdit, this), 1, 2);
    tone->addWidget(V_SCREdit, 1, 3);
    left->addWidget(ToneCodeGroupBox, row++, 0, 1, 4);
    left->setRowStretch(row, 1);

    DigitalGroupBox = new QGroupBox(QStringLiteral("DIGITAL"), this);
    DigitalGroupBox->setObjectName(QStringLiteral("DigitalGroupBox"));
    auto* digital = new QVBoxLayout(DigitalGroupBox);
    auto* digitalTop = new QHBoxLayout;
    digitalTop->addWidget(DigiDecodeCheckBox);
    IFDIRLabel = MakeLabel(QStringLiteral("IF Dir:"), IFDIRComboBox, this);
    digitalTop->addWidget(IFDIRLabel);
    digitalTop->addWidget(IFDIRComboBox);
    digitalTop->addStretch(1);
    IFDIRLabel->setVisible(false);
    IFDIRComboBox->setVisible(false);
    digital->addLayout(digitalTop);

    DcrNxdnGroupBox = new QGroupBox(QStringLiteral("DCR / NXDN"), DigitalGroupBox);
    DcrNxdnGroupBox->setObjectName(QStringLiteral("DcrNxdnGroupBox"));
    auto* dcr = new QGridLayout(DcrNxdnGroupBox);
    dcr->addWidget(MakeLabel(QStringLiteral("ENC.Code:"), DCR_EncCodeEdit, this), 0, 0);
    dcr->addWidget(DCR_EncCodeEdit, 0, 1);
    dcr->addWidget(MakeLabel(QStringLiteral("WC (000=Auto):"), DCR_WCEdit, this), 1, 0);
    dcr->addWidget(DCR_WCEdit, 1, 1);
    dcr->addWidget(NXDN_RANCheckBox, 2, 0);
    dcr->addWidget(NXDN_RANEdit, 2, 1);
    digital->addWidget(DcrNxdnGroupBox);

    DmrGroupBox = new QGroupBox(QStringLiteral("DMR"), DigitalGroupBox);
    DmrGroupBox->setObjectName(QStringLiteral("DmrGroupBox"));
    auto* dmr = new QGridLayout(DmrGroupBox);
    dmr->addWidget(MakeLabel(QStringLiteral("SLOT:"), DMR_SlotComboBox, this), 0, 0);
    dmr->addWidget(DMR_SlotComboBox, 0, 1);
    dmr->addWidget(DMR_ColorCheckBox, 1, 0);
    dmr->addWidget(DMR_ColorEdit, 1, 1);
    digital->addWidget(DmrGroupBox);

    P25GroupBox = new QGroupBox(QStringLiteral("P25"), DigitalGroupBox);
    P25GroupBox->setObjectName(QStringLiteral("P25GroupBox"));
    auto* p25 = new QGridLayout(P25GroupBox);
    p25->addWidget(P25_NACCheckBox, 0, 0);
    p25->addWidget(P25_NACEdit, 0, 1);
    digital->addWidget(P25GroupBox);

    TTcGroupBox = new QGroupBox(QStringLiteral("T-TC"), DigitalGroupBox);
    TTcGroupBox->setObjectName(QStringLiteral("TTcGroupBox"));
    auto* ttc = new QGridLayout(TTcGroupBox);
    ttc->addWidget(MakeLabel(QStringLiteral("SLOT:"), T_TC_SlotComboBox, this), 0, 0);
    ttc->addWidget(T_TC_SlotComboBox, 0, 1);
    digital->addWidget(TTcGroupBox);
    digital->addStretch(1);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 3);
    columns->addWidget(DigitalGroupBox, 2);

    auto* buttons = new QHBoxLayout;
    if (extraButton)
        buttons->addWidget(extraButton);
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);

    auto* outer = new QVBoxLayout(this);
    outer->addLayout(columns);
    outer->addLayout(buttons);
}

void TEditFormBase::ConnectHandlers()
{
    const std::pair<QComboBox*, void (TEditFormBase::*)(int)> lists[] = {
        {ModeComboBox, &TEditFormBase::ModeComboBoxChange},
        {IFBWComboBox, &TEditFormBase::IFBWComboBoxChange},
        {ATT_AMPComboBox, &TEditFormBase::ATT_AMPComboBoxChange},
        {OffsetIndexComboBox, &TEditFormBase::OffsetIndexComboBoxChange},
        {SQ_TypeComboBox, &TEditFormBase::SQ_TypeComboBoxChange},
        {NRComboBox, &TEditFormBase::NRComboBoxChange},
        {AGCComboBox, &TEditFormBase::AGCComboBoxChange},
        {SQLComboBox, &TEditFormBase::SQLComboBoxChange},
        {CTCSSComboBox, &TEditFormBase::CTCSSComboBoxChange},
        {DCSComboBox, &TEditFormBase::DCSComboBoxChange},
        {IFDIRComboBox, &TEditFormBase::IFDIRComboBoxChange},
        {DMR_SlotComboBox, &TEditFormBase::DMR_SlotComboBoxChange},
        {T_TC_SlotComboBox, &TEditFormBase::T_TC_SlotComboBoxChange},
    };
    for (const auto& [box, handler] : lists)
        connect(box, &QComboBox::activated, this, handler);

    const std::pair<QAbstractButton*, void (TEditFormBase::*)()> clicks[] = {
        {F_AUCheckBox, &TEditFormBase::F_AUCheckBoxClick},
        {ProtectCheckBox, &TEditFormBase::ProtectCheckBoxClick},
        {OffsetMinusCheckBox, &TEditFormBase::OffsetMinusCheckBoxClick},
        {OffsetFreqListButton, &TEditFormBase::OffsetFreqListButtonClick},
        {DigiDecodeCheckBox, &TEditFormBase::DigiDecodeCheckBoxClick},
        {NXDN_RANCheckBox, &TEditFormBase::NXDN_RANCheckBoxClick},
        {DMR_ColorCheckBox, &TEditFormBase::DMR_ColorCheckBoxClick},
        {P25_NACCheckBox, &TEditFormBase::P25_NACCheckBoxClick},
        {BitBtn1, &TEditFormBase::BitBtn1Click},
        {BitBtn2, &TEditFormBase::BitBtn2Click},
    };
    for (const auto& [button, handler] : clicks)
        connect(button, &QAbstractButton::clicked, this, handler);

    AddExitHandler(TitleEdit, [this] { TitleEditExit(); });
    AddExitHandler(V_SCREdit, [this] { V_SCREditExit(); });
    AddExitHandler(DCR_EncCodeEdit, [this] { DCR_EncCodeEditExit(); });
    AddExitHandler(NXDN_RANEdit, [this] { NXDN_RANEditExit(); });
    AddExitHandler(DMR_ColorEdit, [this] { DMR_ColorEditExit(); });
    AddExitHandler(P25_NACEdit, [this] { P25_NACEditExit(); });
}

// ---- Exit handling ----

void TEditFormBase::AddExitHandler(QLineEdit* box, std::function<void()> exit)
{
    exitHandlers_[box] = std::move(exit);
    box->installEventFilter(this);
}

bool TEditFormBase::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        auto* box = qobject_cast<QLineEdit*>(watched);
        QWidget* next = QApplication::focusWidget();
        // Only a move to another control of this dialog completes the box; switching to
        // another window leaves it being typed in, as does hiding the dialog.
        if (box && next && next != box && isAncestorOf(next))
            RunExitHandler(box);
    }
    return QDialog::eventFilter(watched, event);
}

void TEditFormBase::RunExitHandler(QLineEdit* box)
{
    auto it = exitHandlers_.find(box);
    // A box the user has not typed into since it was loaded or last completed is left
    // alone: passing through it must not rewrite the record (a loaded frequency with
    // hertz below 10, a title without its padding, the band plan over the receiver's
    // settings).
    if (it == exitHandlers_.end() || !box->isModified())
        return;
    box->setModified(false);
    it->second();
}

void TEditFormBase::CompleteFocusedEdit()
{
    if (auto* box = qobject_cast<QLineEdit*>(focusWidget()))
        RunExitHandler(box);
}

// ---- Loading ----

void TEditFormBase::LoadSharedControls()
{
    const SharedFields f = Fields();
    TitleEdit->setText(QString::fromStdU16String(TitleText(*f.Title)));
    F_AUCheckBox->setChecked(*f.Dem_AutoBand == 1);
    RefreshFromBandPlan();
    ProtectCheckBox->setChecked(*f.ProtectFlag == 1);
    SelectPosition(ATT_AMPComboBox, *f.RF_ATT);

    const std::pair<QComboBox*, std::uint8_t> lists[] = {
        {SQ_TypeComboBox, *f.RF_SQ_N_L_Type}, {NRComboBox, *f.Dem_DENOIS},
        {AGCComboBox, *f.RF_AGC},             {SQLComboBox, *f.Dem_SQL_Type},
        {CTCSSComboBox, *f.CTCSS_CODE},       {DCSComboBox, *f.DCS_CODE},
        {IFDIRComboBox, *f.RF_IF_Inv},        {DMR_SlotComboBox, *f.Dem_DMR_Slot},
        {T_TC_SlotComboBox, *f.RF_TETRA_Slot},
    };
    for (const auto& [box, value] : lists)
        SelectPosition(box, value);

    const std::pair<QCheckBox*, std::uint8_t> checks[] = {
        {DigiDecodeCheckBox, *f.Dem_DigiDecode},
        {NXDN_RANCheckBox, *f.NXDN_RANCodeMute},
        {DMR_ColorCheckBox, *f.DMR_ColorCodeMute},
        {P25_NACCheckBox, *f.P25_NACCodeMute},
    };
    for (const auto& [box, value] : checks)
        box->setChecked(value == 1);

    V_SCREdit->setText(QString::number(*f.VoiceSCR * 10));
    DCR_EncCodeEdit->setText(QString::number(*f.DCR_CODE));
    DCR_WCEdit->setText(QString::number(*f.DCR_WHITE));
    NXDN_RANEdit->setText(QString::number(*f.NXDN_RANCode));
    DMR_ColorEdit->setText(QString::number(*f.DMR_ColorCode));
    P25_NACEdit->setText(editrules::NacText(*f.P25_NACCode));
}

void TEditFormBase::RefreshFromBandPlan()
{
    const SharedFields f = Fields();
    const int mode = ModePosition(*f.Dem_DModeEnable, *f.DMode, *f.AMode);
    SelectPosition(ModeComboBox, mode);
    // A mode the list does not hold shows no mode, and the bandwidth list then follows the
    // "no mode selected" row instead of keeping the previous record's items.
    IFBWComboBox_ItemSet(ModeComboBox->currentIndex(), *f.IFBW);
    OffsetMinusCheckBox->setChecked(OffsetMinus(*f.OffsetFreq));
    SelectPosition(OffsetIndexComboBox, OffsetPosition(*f.OffsetFreq));
}

// ---- List operations ----

void TEditFormBase::IFBWComboBox_ItemSet(int mode, int index)
{
    const std::optional<IFBWChoice> choice = IFBWItemSet(mode, index);
    if (!choice)
        return;
    IFBWComboBox->clear();
    for (std::string_view item : choice->Items)
        IFBWComboBox->addItem(ToQString(item));
    SelectPosition(IFBWComboBox, choice->Selected);
    IFBWComboBox->setEnabled(choice->Enabled);
}

QStringList TEditFormBase::SetIFBWComboBoxItems(std::uint8_t AMode)
{
    QStringList labels;
    for (std::string_view label : IFBWTableLabels(AMode))
        labels << ToQString(label);
    return labels;
}

void TEditFormBase::SetOffsetIndexComboBoxItems()
{
    OffsetIndexComboBox->clear();
    for (const std::string& item : OffsetItems(Store.OffsetFreqTable))
        OffsetIndexComboBox->addItem(QString::fromStdString(item));
    // Keep showing the working record's offset rather than whatever the rebuild selected.
    SelectPosition(OffsetIndexComboBox, OffsetPosition(*Fields().OffsetFreq));
}

// ---- Handlers ----

void TEditFormBase::TouchReadState(Effect effect)
{
    std::uint8_t& state = *Fields().ReadState;
    if (effect == Effect::DetailField)
        state = 2;
    else if (state == 0)
        state = 1;
}

void TEditFormBase::SwitchOffAutoBand()
{
    *Fields().Dem_AutoBand = 0;
    F_AUCheckBox->setChecked(false);
}

void TEditFormBase::ApplyBandPlanIfChecked()
{
    const bool applied = F_AUCheckBox->isChecked() && ApplyBandPlan();
    TouchReadState(Effect::MainField);
    if (applied)
        RefreshFromBandPlan();
}

void TEditFormBase::F_AUCheckBoxClick()
{
    *Fields().Dem_AutoBand = F_AUCheckBox->isChecked() ? 1 : 0;
    // Unchecking keeps the settings the band plan gave.
    ApplyBandPlanIfChecked();
}

void TEditFormBase::TitleEditExit()
{
    const QString text = editrules::TitleBoxText(TitleEdit->text());
    TitleEdit->setText(text);
    editrules::StoreTitle(*Fields().Title, text);
    TouchReadState(Effect::MainField);
}

void TEditFormBase::ModeComboBoxChange(int index)
{
    const SharedFields f = Fields();
    ModeRefs mode{*f.Dem_DModeEnable, *f.DMode, *f.AMode, *f.IFBW, *f.Dem_AutoBand, *f.ReadState};
    if (!ApplyModePick(mode, index))
        return;
    IFBWComboBox_ItemSet(index, *f.IFBW);
    F_AUCheckBox->setChecked(false);
}

void TEditFormBase::IFBWComboBoxChange(int index)
{
    if (index < 0)
        return;
    *Fields().IFBW = static_cast<std::uint8_t>(index);
    SwitchOffAutoBand();
    TouchReadState(Effect::MainField);
}

void TEditFormBase::ATT_AMPComboBoxChange(int index)
{
    if (index < 0)
        return;
    if (index == kAmpPosition && editrules::AmpRefused(AmpTestFrequency())) {
        ShowMessage(kAmpRefusedText);
        ATT_AMPComboBox->setCurrentIndex(kAttOffPosition);
        index = kAttOffPosition;
    }
    *Fields().RF_ATT = static_cast<std::uint8_t>(index);
    TouchReadState(Effect::MainField);
}

void TEditFormBase::StoreOffsetChoice()
{
    std::int16_t& offset = *Fields().OffsetFreq;
    int position = OffsetIndexComboBox->currentIndex();
    // Without a selection (the list is empty before the first offset answer) "Minus"
    // turns only the direction of the offset the record already holds.
    if (position < 0)
        position = OffsetPosition(offset);
    offset = OffsetFreqFromChoice(position, OffsetMinusCheckBox->isChecked());
    TouchReadState(Effect::DetailField);
}

void TEditFormBase::OffsetMinusCheckBoxClick() { StoreOffsetChoice(); }
void TEditFormBase::OffsetIndexComboBoxChange(int) { StoreOffsetChoice(); }

void TEditFormBase::OffsetFreqListButtonClick()
{
    if (offsetListHook_)
        offsetListHook_();
}

void TEditFormBase::SetList(std::uint8_t* field, int index, Effect effect)
{
    if (index < 0)
        return;
    *field = static_cast<std::uint8_t>(index);
    TouchReadState(effect);
}

void TEditFormBase::SetCheck(std::uint8_t* field, const QCheckBox* box, Effect effect)
{
    *field = box->isChecked() ? 1 : 0;
    TouchReadState(effect);
}

void TEditFormBase::ProtectCheckBoxClick() { SetCheck(Fields().ProtectFlag, ProtectCheckBox, Effect::MainField); }
void TEditFormBase::SQ_TypeComboBoxChange(int i) { SetList(Fields().RF_SQ_N_L_Type, i, Effect::DetailField); }
void TEditFormBase::NRComboBoxChange(int i) { SetList(Fields().Dem_DENOIS, i, Effect::DetailField); }
void TEditFormBase::AGCComboBoxChange(int i) { SetList(Fields().RF_AGC, i, Effect::DetailField); }
void TEditFormBase::SQLComboBoxChange(int i) { SetList(Fields().Dem_SQL_Type, i, Effect::DetailField); }
void TEditFormBase::CTCSSComboBoxChange(int i) { SetList(Fields().CTCSS_CODE, i, Effect::DetailField); }
void TEditFormBase::DCSComboBoxChange(int i) { SetList(Fields().DCS_CODE, i, Effect::DetailField); }
void TEditFormBase::IFDIRComboBoxChange(int i) { SetList(Fields().RF_IF_Inv, i, Effect::DetailField); }
void TEditFormBase::DMR_SlotComboBoxChange(int i) { SetList(Fields().Dem_DMR_Slot, i, Effect::DetailField); }
void TEditFormBase::T_TC_SlotComboBoxChange(int i) { SetList(Fields().RF_TETRA_Slot, i, Effect::DetailField); }
void TEditFormBase::DigiDecodeCheckBoxClick() { SetCheck(Fields().Dem_DigiDecode, DigiDecodeCheckBox, Effect::DetailField); }
void TEditFormBase::NXDN_RANCheckBoxClick() { SetCheck(Fields().NXDN_RANCodeMute, NXDN_RANCheckBox, Effect::DetailField); }
void TEditFormBase::DMR_ColorCheckBoxClick() { SetCheck(Fields().DMR_ColorCodeMute, DMR_ColorCheckBox, Effect::DetailField); }
void TEditFormBase::P25_NACCheckBoxClick() { SetCheck(Fields().P25_NACCodeMute, P25_NACCheckBox, Effect::DetailField); }

void TEditFormBase::V_SCREditExit()
{
    const editrules::VoiceScrInput v = editrules::VoiceScrFromInput(V_SCREdit->text());
    // A valid text stays as typed, even when its last digit was cut off.
    if (v.replaced)
        V_SCREdit->setText(QString::number(v.stored * 10));
    *Fields().VoiceSCR = v.stored;
    TouchReadState(Effect::DetailField);
}

void TEditFormBase::DCR_EncCodeEditExit()
{
    const std::uint16_t v = editrules::NumberFromInput(DCR_EncCodeEdit->text(), 32767);
    *Fields().DCR_CODE = v;
    DCR_EncCodeEdit->setText(QString::number(v));
    TouchReadState(Effect::DetailField);
}

void TEditFormBase::ApplyWcBox()
{
    const std::uint16_t v = editrules::NumberFromInput(DCR_WCEdit->text(), 511);
    *Fields().DCR_WHITE = v;
    const QString shown = QString::number(v);
    if (DCR_WCEdit->text() != shown)
        DCR_WCEdit->setText(shown);
    TouchReadState(Effect::DetailField);
}

void TEditFormBase::NXDN_RANEditExit()
{
    const std::uint16_t v = editrules::NumberFromInput(NXDN_RANEdit->text(), 64);
    *Fields().NXDN_RANCode = static_cast<std::uint8_t>(v);
    NXDN_RANEdit->setText(QString::number(v));
    TouchReadState(Effect::DetailField);
}

void TEditFormBase::DMR_ColorEditExit()
{
    const std::uint16_t v = editrules::NumberFromInput(DMR_ColorEdit->text(), 16);
    *Fields().DMR_ColorCode = static_cast<std::uint8_t>(v);
    DMR_ColorEdit->setText(QString::number(v));
    TouchReadState(Effect::DetailField);
}

void TEditFormBase::P25_NACEditExit()
{
    const std::uint16_t v = editrules::NacFromInput(P25_NACEdit->text());
    *Fields().P25_NACCode = v;
    P25_NACEdit->setText(editrules::NacText(v));
    TouchReadState(Effect::DetailField);
}

void TEditFormBase::BitBtn1Click()
{
    if (!BitBtn1->isEnabled())
        return;
    // Enter clicks OK without moving the focus: complete the box being typed in first.
    CompleteFocusedEdit();
    StoreWorkingRecord();
    hide();
    if (storedHook_)
        storedHook_();
}

void TEditFormBase::BitBtn2Click()
{
    hide();
}
