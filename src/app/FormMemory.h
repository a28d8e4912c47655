// The data window frame: the tab pages of the operations, the progress bar and the
// command engine that runs every operation. It implements the engine's host with the
// terminal window (log, "COM Open", "COM Close") and the serial component (writes).
// A "COM Open" that fails is reported by the terminal's own error box; the frame then
// sees the port not opened and the operation's start ends there. Message boxes go through
// UiPrompts, so tests answer them with a hook.
//
// The operation tabs plug in from outside (see CommandEngine.h for the whole recipe):
//   - put their controls on MemChPage(), ScanGroupPage(), SearchBankPage(), SearchGroupPage();
//   - RegisterOperationButton / RegisterAbortButton for every operation and Abort button;
//     the frame mirrors enabled state and the "Tag" property from the engine and connects
//     each Abort button to its Abort handler;
//   - Engine().SetAnswerParser(family, parser) for their answer parsers;
//   - SetMemoryTableRedraw / SetSearchBankTableRedraw for the redraw at show and at the end
//     of every operation;
//   - their click handlers call Engine().StartOperation(...).
#pragma once

#include "CommandEngine.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class QMenuBar;
class QProgressBar;
class QPushButton;
class QTabWidget;
class TCustomCommX;
class TFormMemChEdit;
class TFormSearchBankEdit;
class TFormTerminal;
namespace memtab { class TMemoryTab; }
namespace sbank { class TSearchBankTab; }
struct TStore;

class TFormMemory : public QWidget, private CommandEngineHost {
    Q_OBJECT
public:
    TFormMemory(TStore& store, TCustomCommX& comm, TFormTerminal& terminal,
                QWidget* parent = nullptr);
    ~TFormMemory() override;

    CommandEngine& Engine() { return *engine_; }
    TStore& Store() { return store_; }
    TFormTerminal& Terminal() { return terminal_; }
    TCustomCommX& CommX1() { return comm_; }

    QTabWidget* PageControl1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;

    // The tab pages, empty until an operation tab fills them.
    QWidget* MemChPage() const { return pages_[0]; }
    QWidget* ScanGroupPage() const { return pages_[1]; }
    QWidget* SearchBankPage() const { return pages_[2]; }
    QWidget* SearchGroupPage() const { return pages_[3]; }
    QWidget* PageOf(OpTab tab) const { return pages_[static_cast<int>(tab)]; }

    void RegisterOperationButton(OpButton id, QPushButton* button);
    void RegisterAbortButton(OpTab tab, QPushButton* button);
    QPushButton* OperationButton(OpButton id) const;
    QPushButton* AbortButton(OpTab tab) const;

    // MemoryBankTableDisplay for the bank of MemBankComboBox, and SearchBankTableDisplay.
    void SetMemoryTableRedraw(std::function<void()> redraw);
    void SetSearchBankTableRedraw(std::function<void()> redraw);

    // The terminal hands every received line here.
    void MemoryRes_Rx1Line(const QString& RxString);

    void MemBankAbortButtonClick();
    void ScanGrpAbortButtonClick();
    void SearchBankAbortButtonClick();
    void SearchGrpAbortButtonClick();
    void ProgressBar1MouseDown();

    // "File" menu: the image file of the whole store and the channel CSV (src/exchange).
    QMenuBar* FileMenuBar = nullptr;
    void OpenImageMenuClick();
    void SaveImageMenuClick();
    void ExportChannelsMenuClick();
    void ImportChannelsMenuClick();
    // Rebuilds the edit dialogs' offset lists after an opened image changed the offset
    // table; the application sets it once the dialogs exist.
    std::function<void()> OffsetListsRebuild;

    // Start-up wiring of the edit dialogs, created after this window: double-clicks in the
    // tables open them, their OK redraws the tables, "OL" 39 answers rebuild their offset lists.
    void ConnectDialogs(TFormMemChEdit& memChEdit, TFormSearchBankEdit& searchBankEdit);
    // The one "offset list not yet sent" mark that every write and the offset dialog share.
    bool& OffsetFreqChangedMark();
    void PageControl1DrawTab() {}  // the tabs are drawn as usual
    void FormShow();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // CommandEngineHost
    void WriteCommand(const std::string& bytes) override;
    void WriteLineEnd() override;
    void LogProgress(const QString& text) override;
    void LogSentCommand(const QString& cmd) override;
    bool ClickComOpen() override;
    void ClickComClose() override;
    void RedrawTables() override;
    void ShowBusyMessage() override;
    void Sleep(std::int32_t ms) override;
    void ButtonsChanged(OpTab tab) override;
    void ProgressChanged(std::int32_t position, std::int32_t maximum) override;

    void BuildPages();
    void BuildFileMenu();
    void StoreLoaded(bool offsetTableChanged);

    TStore& store_;
    TCustomCommX& comm_;
    TFormTerminal& terminal_;
    // The command's bytes wait for its line end, so the line leaves in one chunk.
    std::string pendingLine_;
    std::unique_ptr<CommandEngine> engine_;
    std::array<QWidget*, kOpTabCount> pages_{};
    std::array<QPushButton*, kOpButtonCount> opButtons_{};
    std::array<QPushButton*, kOpTabCount> abortButtons_{};
    std::function<void()> redrawMemoryTable_;
    std::function<void()> redrawSearchBankTable_;
    std::function<int()> selectedMemBank_;
    memtab::TMemoryTab* memoryTab_ = nullptr;
    sbank::TSearchBankTab* searchBankTab_ = nullptr;
    // Shows what an opened image brought beside the tables: region, groups, offset list.
    std::function<void(bool offsetTableChanged)> showLoadedStore_;
};
