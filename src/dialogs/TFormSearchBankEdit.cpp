#include "TFormSearchBankEdit.h"

#include "BandPlan.h"
#include "ChoiceLists.h"
#include "EditRules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TFormSearchBankEdit::TFormSearchBankEdit(TStore& store, QWidget* parent)
    : TEditFormBase(store, parent)
{
    setObjectName(QStringLiteral("FormSearchBankEdit"));
    setWindowTitle(QStringLiteral("SearchBank Edit"));
    TitleLabel->setText(QStringLiteral("Title :"));
    ModeLabel->setText(QStringLiteral("Mode :"));
    IFBWLabel->setText(QStringLiteral("IFBW :"));

    SearchBankLabel = new QLabel(this);
    SearchBankLabel->setObjectName(QStringLiteral("SearchBankLabel"));
    L_FreqEdit = new QLineEdit(this);
    L_FreqEdit->setObjectName(QStringLiteral("L_FreqEdit"));
    U_FreqEdit = new QLineEdit(this);
    U_FreqEdit->setObjectName(QStringLiteral("U_FreqEdit"));
    StepFreqComboBox = new QComboBox(this);
    StepFreqComboBox->setObjectName(QStringLiteral("StepFreqComboBox"));
    for (std::string_view item : StepFreqList.Items)
        StepFreqComboBox->addItem(QString::fromUtf8(item.data(), static_cast<qsizetype>(item.size())));
    SelectPosition(StepFreqComboBox, StepFreqList.Initial);
    AdjStepComboBox = new QComboBox(this);
    AdjStepComboBox->setObjectName(QStringLiteral("AdjStepComboBox"));

    auto* rows = new QGridLayout;
    rows->addWidget(MakeLabel(QStringLiteral("L Freq :"), L_FreqEdit, this), 0, 0);
    rows->addWidget(L_FreqEdit, 0, 1);
    rows->addWidget(F_AUCheckBox, 0, 2);
    rows->addWidget(MakeLabel(QStringLiteral("U Freq :"), U_FreqEdit, this), 1, 0);
    rows->addWidget(U_FreqEdit, 1, 1);
    rows->addWidget(TitleLabel, 2, 0);
    rows->addWidget(TitleEdit, 2, 1, 1, 2);
    rows->addWidget(MakeLabel(QStringLiteral("StepFreq :"), StepFreqComboBox, this), 3, 0);
    rows->addWidget(StepFreqComboBox, 3, 1);
    rows->addWidget(MakeLabel(QStringLiteral("AdjStep :"), AdjStepComboBox, this), 4, 0);
    rows->addWidget(AdjStepComboBox, 4, 1);
    rows->setColumnStretch(1, 1);
    BuildLayout(SearchBankLabel, rows, nullptr, nullptr);

    connect(StepFreqComboBox, &QComboBox::activated, this, &TFormSearchBankEdit::StepFreqComboBoxChange);
    connect(AdjStepComboBox, &QComboBox::activated, this, &TFormSearchBankEdit::AdjStepComboBoxChange);
    // textEdited comes from the user's typing only, never from loading the box.
    connect(DCR_WCEdit, &QLineEdit::textEdited, this, &TFormSearchBankEdit::DCR_WCEditChange);
    AddExitHandler(L_FreqEdit, [this] { L_FreqEditExit(); });
    AddExitHandler(U_FreqEdit, [this] { U_FreqEditExit(); });
}

SharedFields TFormSearchBankEdit::Fields()
{
    return BindSharedFields(SearchBankEditData, SearchBankEditData.Flags_ProtectFlag);
}

bool TFormSearchBankEdit::ApplyBandPlan()
{
    return SearchBank_F_AU_Apply(SearchBankEditData, Store.Region);
}

void TFormSearchBankEdit::StoreWorkingRecord()
{
    if (EditBank < 0 || EditBank >= kSearchBankCount)
        return;
    Store.SearchBankData[EditBank] = SearchBankEditData;
}

void TFormSearchBankEdit::SetAdjFreqComboBoxItems(int index)
{
    AdjStepComboBox->clear();
    for (std::string_view item : AdjStepItems(index))
        AdjStepComboBox->addItem(QString::fromUtf8(item.data(), static_cast<qsizetype>(item.size())));
    AdjStepComboBox->setCurrentIndex(-1);
}

void TFormSearchBankEdit::EditStart_SearchBank(int bk, int ow)
{
    if (bk < 0 || bk >= kSearchBankCount) {
        BitBtn1->setEnabled(false);
        return;
    }
    EditBank = bk;
    BitBtn1->setEnabled(true);
    setWindowTitle(QStringLiteral("Bank:%1  SearchBank Edit").arg(bk));
    if (ow == 0)
        SearchBankEditData = Store.SearchBankData[bk];
    SearchBankLabel->setText(QStringLiteral("Bank:%1").arg(bk));

    const TSearchBankElement& sb = SearchBankEditData;
    const bool hasRange = sb.Flags_RegistedFlag != 0 && sb.LowFreq != 0 && sb.HighFreq != 0;
    L_FreqEdit->setText(hasRange ? editrules::FreqBoxText(sb.LowFreq) : QString());
    U_FreqEdit->setText(hasRange ? editrules::FreqBoxText(sb.HighFreq) : QString());

    const int step = StepFreqToComboBoxIndex(sb.StepFreq);
    SelectPosition(StepFreqComboBox, step);
    SetAdjFreqComboBoxItems(step);
    SelectPosition(AdjStepComboBox, AdjFreqToComboBoxIndex(sb.AdjFreq));
    LoadSharedControls();
}

void TFormSearchBankEdit::L_FreqEditExit()
{
    const QString text = L_FreqEdit->text();
    if (text.isEmpty()) {
        SearchBankEditData.Flags_RegistedFlag = 0;
        SearchBankEditData.LowFreq = 0;
        return;
    }
    const std::int64_t f = editrules::FreqFromInput(text);
    if (f < 0) {
        SearchBankEditData.Flags_RegistedFlag = 0;
        SearchBankEditData.LowFreq = 0;
        L_FreqEdit->clear();
        return;
    }
    SearchBankEditData.Flags_RegistedFlag = 1;
    SearchBankEditData.LowFreq = f;
    L_FreqEdit->setText(editrules::FreqBoxText(f));
    // The step and adjust lists keep showing the previous values until the next load.
    ApplyBandPlanIfChecked();
}

void TFormSearchBankEdit::U_FreqEditExit()
{
    const QString text = U_FreqEdit->text();
    if (text.isEmpty()) {
        SearchBankEditData.Flags_RegistedFlag = 0;
        SearchBankEditData.HighFreq = 0;
        return;
    }
    const std::int64_t f = editrules::FreqFromInput(text);
    if (f < 0) {
        SearchBankEditData.Flags_RegistedFlag = 0;
        SearchBankEditData.HighFreq = 0;
        U_FreqEdit->clear();
        return;
    }
    SearchBankEditData.Flags_RegistedFlag = 1;
    SearchBankEditData.HighFreq = f;
    U_FreqEdit->setText(editrules::FreqBoxText(f));
    TouchReadState(Effect::MainField);
}

void TFormSearchBankEdit::StepFreqComboBoxChange(int index)
{
    if (index < 0)
        return;
    SearchBankEditData.StepFreq = StepItemIndexToStepFreq(index);
    SetAdjFreqComboBoxItems(index);
    AdjStepComboBox->setCurrentIndex(0);
    SearchBankEditData.AdjFreq = 0;
    SwitchOffAutoBand();
    TouchReadState(Effect::MainField);
}

void TFormSearchBankEdit::AdjStepComboBoxChange(int index)
{
    if (index < 0)
        return;
    SearchBankEditData.AdjFreq = AdjItemIndexToAdjFreq(index);
    SwitchOffAutoBand();
    TouchReadState(Effect::MainField);
}

void TFormSearchBankEdit::DCR_WCEditChange()
{
    ApplyWcBox();
}
