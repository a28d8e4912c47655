#include "TFormMemChEdit.h"

#include "BandPlan.h"
#include "EditRules.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

TFormMemChEdit::TFormMemChEdit(TStore& store, QWidget* parent)
    : TEditFormBase(store, parent)
{
    setObjectName(QStringLiteral("FormMemChEdit"));
    setWindowTitle(QStringLiteral("MemCh Edit"));

    BankChLabel = new QLabel(this);
    BankChLabel->setObjectName(QStringLiteral("BankChLabel"));
    RxFreqEdit = new QLineEdit(this);
    RxFreqEdit->setObjectName(QStringLiteral("RxFreqEdit"));
    PassCheckBox = new QCheckBox(QStringLiteral("Pass"), this);
    PassCheckBox->setObjectName(QStringLiteral("PassCheckBox"));
    DeleteButton = new QPushButton(QStringLiteral("Delete"), this);
    DeleteButton->setObjectName(QStringLiteral("DeleteButton"));

    auto* rows = new QGridLayout;
    rows->addWidget(MakeLabel(QStringLiteral("RxFreq:"), RxFreqEdit, this), 0, 0);
    rows->addWidget(RxFreqEdit, 0, 1);
    rows->addWidget(F_AUCheckBox, 0, 2);
    rows->addWidget(TitleLabel, 1, 0);
    rows->addWidget(TitleEdit, 1, 1, 1, 2);
    rows->setColumnStretch(1, 1);
    BuildLayout(BankChLabel, rows, PassCheckBox, DeleteButton);

    connect(PassCheckBox, &QCheckBox::clicked, this, &TFormMemChEdit::PassCheckBoxClick);
    connect(DeleteButton, &QPushButton::clicked, this, &TFormMemChEdit::DeleteButtonClick);
    AddExitHandler(RxFreqEdit, [this] { RxFreqEditExit(); });
    AddExitHandler(DCR_WCEdit, [this] { DCR_WCEditExit(); });
}

SharedFields TFormMemChEdit::Fields()
{
    return BindSharedFields(MemChEditData, MemChEditData.MemFlag_ProtectFlag);
}

bool TFormMemChEdit::ApplyBandPlan()
{
    return MemCh_F_AU_Apply(MemChEditData, Store.Region);
}

void TFormMemChEdit::StoreWorkingRecord()
{
    if (EditBank < 0 || EditBank >= kMemBankCount || EditCh < 0 || EditCh >= kMemChPerBank)
        return;
    Store.MemChData[EditBank][EditCh] = MemChEditData;
}

void TFormMemChEdit::EditStart_MemCh(int bk, int ch, int ow)
{
    if (bk < 0 || bk >= kMemBankCount || ch < 0 || ch >= kMemChPerBank) {
        BitBtn1->setEnabled(false);
        return;
    }
    EditBank = bk;
    EditCh = ch;
    BitBtn1->setEnabled(true);
    const QString place = QStringLiteral("Bank:%1 Ch:%2").arg(bk).arg(ch);
    setWindowTitle(place + QStringLiteral("  MemCh Edit"));
    if (ow == 0)
        MemChEditData = Store.MemChData[bk][ch];
    BankChLabel->setText(place);

    const bool hasFreq = MemChEditData.MemFlag_RegistedFlag != 0 && MemChEditData.RxFreq != 0;
    RxFreqEdit->setText(hasFreq ? editrules::FreqBoxText(MemChEditData.RxFreq) : QString());
    PassCheckBox->setChecked(MemChEditData.MemFlag_Pass == 1);
    LoadSharedControls();
}

void TFormMemChEdit::FormShow()
{
    BitBtn1->setFocus();
}

void TFormMemChEdit::showEvent(QShowEvent* event)
{
    TEditFormBase::showEvent(event);
    // Only when the dialog becomes visible, not when the window system restores it.
    if (!event->spontaneous())
        FormShow();
}

void TFormMemChEdit::RxFreqEditExit()
{
    const QString text = RxFreqEdit->text();
    if (text.isEmpty()) {
        MemChEditData.MemFlag_RegistedFlag = 0;
        MemChEditData.RxFreq = 0;
        return;
    }
    const std::int64_t f = editrules::FreqFromInput(text);
    if (f < 0) {
        MemChEditData.MemFlag_RegistedFlag = 0;
        MemChEditData.RxFreq = 0;
        RxFreqEdit->clear();
        return;
    }
    MemChEditData.MemFlag_RegistedFlag = 1;
    MemChEditData.RxFreq = f;
    RxFreqEdit->setText(editrules::FreqBoxText(f));
    ApplyBandPlanIfChecked();
}

void TFormMemChEdit::PassCheckBoxClick()
{
    MemChEditData.MemFlag_Pass = PassCheckBox->isChecked() ? 1 : 0;
    TouchReadState(Effect::MainField);
}

void TFormMemChEdit::DCR_WCEditExit()
{
    ApplyWcBox();
}

void TFormMemChEdit::DeleteButtonClick()
{
    // Only the fields that make a channel empty; the rest, the in-use flag included, stay.
    MemChEditData.RxFreq = 0;
    SetBlankTitle(MemChEditData.Title);
    MemChEditData.Dem_AutoBand = 0;
    MemChEditData.Dem_DModeEnable = 0;
    MemChEditData.DMode = 0;
    MemChEditData.AMode = 0;
    MemChEditData.ReadState = 0;
    EditStart_MemCh(EditBank, EditCh, 1);
}
