// The controls and handlers that the channel and the search bank dialogs share: title,
// mode, bandwidth, ATT/AMP, offset, squelch, the "TONE/CODE" and "DIGITAL" groups, OK and
// CANCEL. Each dialog binds them to its own working record through SharedFields.
//
// Handlers run only on the user's own actions: lists use activated(), check boxes
// clicked(), and edit boxes an "exit" when the focus moves to another control of the
// dialog after the user typed into it. Setting a control from the record therefore never
// runs a handler.
#pragma once

#include "SharedFields.h"
#include "Store.h"

#include <QDialog>
#include <QString>

#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <string_view>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TEditFormBase : public QDialog {
    Q_OBJECT
public:
    explicit TEditFormBase(TStore& store, QWidget* parent = nullptr);

    // Rebuilds the bandwidth list for mode position `mode`, selects `index` or the mode's
    // default, and enables the list for analog modes only. Above 16 the list stays as it is.
    void IFBWComboBox_ItemSet(int mode, int index);
    // The bandwidth labels the tables show for an analog mode.
    static QStringList SetIFBWComboBoxItems(std::uint8_t AMode);
    // Rebuilds the offset list from the store's offset table (after the offset list
    // dialog's OK and after the receiver's answer for entry 39).
    void SetOffsetIndexComboBoxItems();

    // Called after OK has written the working record into the store (the table redraw).
    void SetStoredHook(std::function<void()> hook) { storedHook_ = std::move(hook); }
    // Called by the "OffsetFreqList" button (shows the offset list dialog).
    void SetOffsetListHook(std::function<void()> hook) { offsetListHook_ = std::move(hook); }
    // Plain message box ("AMP cannot set under 18MHz."); replaceable so tests need no modal box.
    std::function<void(const QString& text)> ShowMessage;

    // Controls shared by both dialogs; objectName = member name.
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QCheckBox* F_AUCheckBox = nullptr;
    QLineEdit* TitleEdit = nullptr;
    QComboBox* ModeComboBox = nullptr;
    QComboBox* IFBWComboBox = nullptr;
    QCheckBox* ProtectCheckBox = nullptr;
    QComboBox* ATT_AMPComboBox = nullptr;
    QCheckBox* OffsetMinusCheckBox = nullptr;
    QComboBox* OffsetIndexComboBox = nullptr;
    QPushButton* OffsetFreqListButton = nullptr;
    QComboBox* SQ_TypeComboBox = nullptr;
    QComboBox* NRComboBox = nullptr;
    QComboBox* AGCComboBox = nullptr;
    QGroupBox* ToneCodeGroupBox = nullptr;
    QComboBox* SQLComboBox = nullptr;
    QComboBox* CTCSSComboBox = nullptr;
    QComboBox* DCSComboBox = nullptr;
    QLineEdit* V_SCREdit = nullptr;
    QGroupBox* DigitalGroupBox = nullptr;
    QCheckBox* DigiDecodeCheckBox = nullptr;
    QLabel* IFDIRLabel = nullptr;
    QComboBox* IFDIRComboBox = nullptr;
    QGroupBox* DcrNxdnGroupBox = nullptr;
    QLineEdit* DCR_EncCodeEdit = nullptr;
    QLineEdit* DCR_WCEdit = nullptr;
    QCheckBox* NXDN_RANCheckBox = nullptr;
    QLineEdit* NXDN_RANEdit = nullptr;
    QGroupBox* DmrGroupBox = nullptr;
    QComboBox* DMR_SlotComboBox = nullptr;
    QCheckBox* DMR_ColorCheckBox = nullptr;
    QLineEdit* DMR_ColorEdit = nullptr;
    QGroupBox* P25GroupBox = nullptr;
    QCheckBox* P25_NACCheckBox = nullptr;
    QLineEdit* P25_NACEdit = nullptr;
    QGroupBox* TTcGroupBox = nullptr;
    QComboBox* T_TC_SlotComboBox = nullptr;

    // Handlers, named after their control and event.
    void F_AUCheckBoxClick();
    void TitleEditExit();
    void ModeComboBoxChange(int index);
    void IFBWComboBoxChange(int index);
    void ProtectCheckBoxClick();
    void ATT_AMPComboBoxChange(int index);
    void OffsetMinusCheckBoxClick();
    void OffsetIndexComboBoxChange(int index);
    void OffsetFreqListButtonClick();
    void SQ_TypeComboBoxChange(int index);
    void NRComboBoxChange(int index);
    void AGCComboBoxChange(int index);
    void SQLComboBoxChange(int index);
    void CTCSSComboBoxChange(int index);
    void DCSComboBoxChange(int index);
    void V_SCREditExit();
    void DigiDecodeCheckBoxClick();
    void IFDIRComboBoxChange(int index);
    void DCR_EncCodeEditExit();
    void NXDN_RANCheckBoxClick();
    void NXDN_RANEditExit();
    void DMR_SlotComboBoxChange(int index);
    void DMR_ColorCheckBoxClick();
    void DMR_ColorEditExit();
    void P25_NACCheckBoxClick();
    void P25_NACEditExit();
    void T_TC_SlotComboBoxChange(int index);
    void BitBtn1Click();
    void BitBtn2Click();

protected:
    // How a handler moves ReadState: main fields raise 0 to 1, detail fields set 2.
    enum class Effect { MainField, DetailField };

    // Pointers into the dialog's working record.
    virtual SharedFields Fields() = 0;
    // Frequency that decides whether "AMP" is allowed.
    virtual std::int64_t AmpTestFrequency() = 0;
    // Runs the band-plan rule on the working record with the store's region.
    virtual bool ApplyBandPlan() = 0;
    // OK: copies the working record into the store.
    virtual void StoreWorkingRecord() = 0;

    // Lays the shared controls out around the dialog's own rows and buttons.
    // `passBox` goes beside "Protect" and `extraButton` left of OK; both may be null.
    void BuildLayout(QLabel* headLabel, QGridLayout* ownRows, QWidget* passBox, QWidget* extraButton);
    // Runs `exit` when the box, typed into, loses the focus to another control of this
    // dialog, and from OK when the box still holds the focus (Enter), so OK always stores
    // a completed box.
    void AddExitHandler(QLineEdit* box, std::function<void()> exit);
    // Sets every shared control from the working record; runs no handler.
    void LoadSharedControls();
    // Mode, bandwidth, "Minus" and offset position from the record (after the band plan).
    void RefreshFromBandPlan();
    // The frequency handlers' band plan step: applies when "F-AU" is checked.
    void ApplyBandPlanIfChecked();
    void TouchReadState(Effect effect);
    void SwitchOffAutoBand();
    // The WC number rule, shared by the exit (channel) and change (search bank) handlers.
    void ApplyWcBox();

    static QLabel* MakeLabel(const QString& text, QWidget* buddy, QWidget* parent);
    static void SelectPosition(QComboBox* box, int position);

    TStore& Store;

    QLabel* TitleLabel = nullptr;
    QLabel* ModeLabel = nullptr;
    QLabel* IFBWLabel = nullptr;

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void ConnectHandlers();
    void SetList(std::uint8_t* field, int index, Effect effect);
    void SetCheck(std::uint8_t* field, const QCheckBox* box, Effect effect);
    void StoreOffsetChoice();
    void CompleteFocusedEdit();
    void RunExitHandler(QLineEdit* box);
    QComboBox* MakeList(const char* name, std::span<const std::string_view> items);
    QCheckBox* MakeCheck(const char* name, const QString& text);
    QLineEdit* MakeEdit(const char* name);

    std::map<QLineEdit*, std::function<void()>> exitHandlers_;
    std::function<void()> storedHook_;
    std::function<void()> offsetListHook_;
};
