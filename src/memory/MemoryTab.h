// The "MemCh / MemBank" tab of the data window: bank selector, the six read and write
// buttons, the memory table with its greyed cells, one-channel copy and paste, and the
// region display. The frame constructs it once on its page; the tab registers its buttons
// and its two answer families with the engine.
#pragma once

#include "MemoryRead.h"
#include "ParamAnswers.h"

#include <QObject>

#include <functional>

class CommandEngine;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTableWidget;
class QWidget;
enum class OpButton;
enum class OpTab;

namespace memtab {

// What the frame offers the tab.
struct TMemoryTabFrame {
    std::function<void(OpButton, QPushButton*)> registerButton;
    std::function<void(OpTab, QPushButton*)> registerAbort;
    // The frame calls this to redraw the table (at show, at the end of every operation).
    std::function<void(std::function<void()>)> setTableRedraw;
};

class TMemoryTab : public QObject {
    Q_OBJECT
public:
    TMemoryTab(QWidget* page, CommandEngine& engine, TStore& store, const TMemoryTabFrame& frame,
               QObject* parent = nullptr);
    ~TMemoryTab() override;

    // State shared with the search bank operations and the offset list dialog.
    memparam::TParamShared& Shared() { return shared_; }
    TMemoryReadFamily& ReadFamily() { return read_; }

    // Hooks for what lives elsewhere; the application sets them once its dialogs exist.
    // Double-click: show the channel dialog, then EditStart_MemCh(bank, ch, 0).
    std::function<void(int bank, int ch)> EditChannel;
    // Offset entry 39 read: the channel dialog rebuilds its offset list.
    std::function<void()> OffsetListComplete;
    // Region answer: the other region radio group (search bank tab) selects the item.
    std::function<void(int region)> RegionChanged;

    // --- controls (objectName = name) ---
    QWidget* Panel1 = nullptr;
    QComboBox* MemBankComboBox = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* MemBankTitleEdit = nullptr;
    QCheckBox* MemBankProtectCheckBox = nullptr;
    QPushButton* MemChDetailReadButton = nullptr;
    QPushButton* MemBankDetailReadButton = nullptr;
    QPushButton* AllBankDetailReadButton = nullptr;
    QPushButton* MemChWriteButton = nullptr;
    QPushButton* MemBankWriteButton = nullptr;
    QPushButton* AllBankWriteButton = nullptr;
    QLabel* AllBankReadNoteLabel = nullptr;
    QLabel* AllBankWriteNoteLabel = nullptr;
    QPushButton* MemBankAbortButton = nullptr;
    QTableWidget* MemChStringGrid = nullptr;
    QWidget* Panel2 = nullptr;
    QPushButton* MemChCopyButton = nullptr;
    QLabel* MemChCopyLabel = nullptr;
    QLabel* MemChCopyFreqLabel = nullptr;
    QPushButton* MemChPasteButton = nullptr;
    QGroupBox* MemChRegionRadioGroup = nullptr;

    // The copy buffer.
    TMemChElement MemChCopyData{};
    int MemChCopyBank = 0;
    int MemChCopyCh = 0;

    int SelectedBank() const;
    // The grid's current row, counting the heading row as 0 (so channel = row - 1).
    int CurrentRow() const;
    void SetCurrentRow(int row);
    // Item index of the region radio group (0 "USA", 1 "JAPAN", 2 "EURO.").
    int RegionItemIndex() const;
    // Selects the region item without calling RegionChanged (for the search bank family's
    // region answer, which updates both radio groups too).
    void SelectRegionItem(int region);

    void MemoryBankTableDisplay(int bank);
    void MemBankComboBoxChange();
    void MemChStringGridFixedCellClick(int ACol, int ARow);
    void MemChStringGridDblClick();
    void MemChCopyButtonClick();
    void MemChPasteButtonClick();

    void MemChDetailReadButtonClick();
    void MemBankDetailReadButtonClick();
    void AllBankDetailReadButtonClick();
    void MemChWriteButtonClick();
    void MemBankWriteButtonClick();
    void AllBankWriteButtonClick();

    bool MemoryReadRes_1Line(const QString& RxString);
    bool MemoryWriteRes_1Line(const QString& RxString);

private:
    void BuildPanel1(QWidget* page);
    void BuildGrid(QWidget* page);
    void BuildPanel2(QWidget* page);
    void StartRead(OpButton button, int busy, bool clearOffsetFlag, const TCommandList& commands);
    void StartWrite(OpButton button, int busy, const std::function<TCommandList()>& channels);
    void SelectRegion(int region);

    CommandEngine& engine_;
    TStore& store_;
    memparam::TParamShared shared_;
    TMemoryReadFamily read_;
    QTableView* frozenView_ = nullptr;
    QButtonGroup* regionButtons_ = nullptr;
};

}  // namespace memtab
