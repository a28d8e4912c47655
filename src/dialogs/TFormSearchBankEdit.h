// The search bank edit dialog: like the channel dialog, with the range edges, the step and
// step adjust lists, no "Pass", no Delete, and a WC box checked on every keystroke.
//
// Use: show() the dialog, then EditStart_SearchBank(bank, 0). SetStoredHook receives the
// table redraw after OK; SetOffsetListHook the "OffsetFreqList" button.
#pragma once

#include "TEditFormBase.h"

class TFormSearchBankEdit : public TEditFormBase {
    Q_OBJECT
public:
    explicit TFormSearchBankEdit(TStore& store, QWidget* parent = nullptr);

    // Loads search bank bk (0..39). ow 0 copies the store's bank into the working record
    // first; any other value only refreshes the controls from it.
    void EditStart_SearchBank(int bk, int ow);

    // Rebuilds the adjust list with the adjusts offered for step position `index`.
    void SetAdjFreqComboBoxItems(int index);

    TSearchBankElement SearchBankEditData{};
    int EditBank = -1;  // -1 until the first load: OK then stores nothing

    QLabel* SearchBankLabel = nullptr;
    QLineEdit* L_FreqEdit = nullptr;
    QLineEdit* U_FreqEdit = nullptr;
    QComboBox* StepFreqComboBox = nullptr;
    QComboBox* AdjStepComboBox = nullptr;

    void L_FreqEditExit();
    void U_FreqEditExit();
    void StepFreqComboBoxChange(int index);
    void AdjStepComboBoxChange(int index);
    void DCR_WCEditChange();

protected:
    SharedFields Fields() override;
    std::int64_t AmpTestFrequency() override { return SearchBankEditData.LowFreq; }
    bool ApplyBandPlan() override;
    void StoreWorkingRecord() override;
};
