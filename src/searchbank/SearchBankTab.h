// The "SearchBank" tab of the data window: the four read and write buttons with Abort, the
// search bank table with its greyed cells, one-bank copy and paste, and the region display.
// The frame constructs it once on its page; the tab registers its buttons and its two
// answer families with the engine.
#pragma once

#include "ParamAnswers.h"
#include "SearchBankRead.h"

#include <QObject>

#include <functional>

class CommandEngine;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;
class QTableView;
class QTableWidget;
class QWidget;
enum class OpButton;
enum class OpTab;

namespace sbank {

// What the frame offers the tab.
struct TSearchBankTabFrame {
    std::function<void(OpButton, QPushButton*)> registerButton;
    std::function<void(OpTab, QPushButton*)> registerAbort;
    // The frame calls the given function to redraw the table (at show, at each end).
    std::function<void(std::function<void()>)> setTableRedraw;
};

class TSearchBankTab : public QObject {
    Q_OBJECT
public:
    // `shared` is the state the memory operations share with these (squelch answers, the
    // offset list's sent mark, the offset query mark).
    TSearchBankTab(QWidget* page, CommandEngine& engine, TStore& store, memparam::TParamShared& shared,
                   const TSearchBankTabFrame& frame, QObject* parent = nullptr);
    ~TSearchBankTab() override;

    // Hooks for what lives elsewhere.
    // Double-click: show the search bank dialog, then EditStart_SearchBank(bank, 0).
    std::function<void(int bank)> EditSearchBank;
    // Offset entry 39 read: the search bank dialog rebuilds its offset list.
    std::function<void()> OffsetListComplete;
    // Region answer: the other region radio group (memory tab) selects the item.
    std::function<void(int region)> RegionChanged;

    TSearchBankReadFamily& ReadFamily() { return read_; }

    // --- controls (objectName = name) ---
    QWidget* SearchBankTopPanel = nullptr;
    QPushButton* SearchBankReadButton = nullptr;
    QPushButton* SearchBankAllReadButton = nullptr;
    QPushButton* SearchBankWriteButton = nullptr;
    QPushButton* SearchBankAllWriteButton = nullptr;
    QPushButton* SearchBankAbortButton = nullptr;
    QTableWidget* SearchBankStringGrid = nullptr;
    QWidget* SearchBankBottomPanel = nullptr;
    QPushButton* SearchBankCopyButton = nullptr;
    QPushButton* SearchBankPasteButton = nullptr;
    QLabel* SearchBankCopyLabel = nullptr;
    QLabel* SearchBankCopyFreqLabel = nullptr;
    QLabel* SearchBankCopyTitleLabel = nullptr;
    QGroupBox* SearchBankRegionRadioGroup = nullptr;

    // The copy buffer.
    TSearchBankElement SearchBankCopyData{};
    int SearchBankCopyBank = 0;

    // The grid's selected row, counting the heading row as 0 (so bank = row - 1).
    int CurrentRow() const;
    void SetCurrentRow(int row);
    // Item index of the region radio group (0 "USA", 1 "JAPAN", 2 "EURO.").
    int RegionItemIndex() const;
    // Selects the region item without telling the other group (that one told us).
    void ShowRegion(int region);
    // Set while the receiver may still hold "99" from an unfinished restore.
    bool KeepLinkBackup() const { return keepBackup_; }

    void SearchBankTableDisplay();
    void SearchBankStringGridDblClick();
    void SearchBankStringGridFixedCellClick(int ACol, int ARow);
    void SearchBankCopyButtonClick();
    void SearchBankPasteButtonClick();

    void SearchBankReadButtonClick();
    void SearchBankAllReadButtonClick();
    void SearchBankWriteButtonClick();
    void SearchBankAllWriteButtonClick();
    // Runs after the engine's Abort: a list already replaced is sent back first.
    void RestoreAfterAbort();

    bool SearchBankReadRes_1Line(const QString& RxString);
    bool SearchBankWriteRes_1Line(const QString& RxString);
    QString Make_BK_Param() const;

private:
    void BuildTopPanel(QWidget* page);
    void BuildGrid(QWidget* page);
    void BuildBottomPanel(QWidget* page);
    void Start(OpButton button, const std::function<TCommandList()>& commands);

    CommandEngine& engine_;
    TStore& store_;
    memparam::TParamShared& shared_;
    bool keepBackup_ = false;
    TSearchBankReadFamily read_;
    OpButton lastButton_;
    QTableView* frozenView_ = nullptr;
    QButtonGroup* regionButtons_ = nullptr;
};

}  // namespace sbank
