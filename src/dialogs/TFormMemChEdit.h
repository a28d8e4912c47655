// The memory channel edit dialog: edits a working copy of one channel; OK writes it into
// the store, CANCEL (Esc, closing) discards it. Modeless, created once, shown and hidden.
//
// Use: show() the dialog, then EditStart_MemCh(bank, channel, 0). SetStoredHook receives the
// table redraw after OK; SetOffsetListHook the "OffsetFreqList" button.
#pragma once

#include "TEditFormBase.h"

class TFormMemChEdit : public TEditFormBase {
    Q_OBJECT
public:
    explicit TFormMemChEdit(TStore& store, QWidget* parent = nullptr);

    // Loads bank bk (0..39), channel ch (0..49). ow 0 copies the store's channel into the
    // working record first; any other value only refreshes the controls from it.
    void EditStart_MemCh(int bk, int ch, int ow);

    TMemChElement MemChEditData{};
    int EditBank = -1;  // -1 until the first load: OK then stores nothing
    int EditCh = -1;

    QLabel* BankChLabel = nullptr;
    QLineEdit* RxFreqEdit = nullptr;
    QCheckBox* PassCheckBox = nullptr;
    QPushButton* DeleteButton = nullptr;

    void FormShow();
    void RxFreqEditExit();
    void PassCheckBoxClick();
    void DCR_WCEditExit();
    void DeleteButtonClick();

protected:
    void showEvent(QShowEvent* event) override;

    SharedFields Fields() override;
    std::int64_t AmpTestFrequency() override { return MemChEditData.RxFreq; }
    bool ApplyBandPlan() override;
    void StoreWorkingRecord() override;
};
