#include "FormMemory.h"

#include "ChannelCsv.h"
#include "CommX.h"
#include "ExchangeFiles.h"
#include "FormTerminal.h"
#include "MemoryTab.h"
#include "SearchBankTab.h"
#include "TFormMemChEdit.h"
#include "TFormSearchBankEdit.h"
#include "GroupTabs.h"
#include "ImageFile.h"
#include "Store.h"
#include "UiPrompts.h"

#include <QColor>
#include <QEvent>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

#include <chrono>
#include <cstring>
#include <thread>

namespace {

struct PageSpec {
    const char* objectName;
    const char* caption;
    bool visible;
};

// The four operation tabs first (in OpTab order), then the pages this program leaves empty.
constexpr PageSpec kPages[] = {
    {"MemChTabSheet", "MemCh / MemBank", true},
    {"ScanGrpTabSheet", "ScanGroup", true},
    {"SearchBankTabSheet", "SearchBank", true},
    {"SearchGrpTabSheet", "SearchGroup", true},
    {"PassFreqTabSheet", "PassFreq", false},
    {"ConfigMiscTabSheet", "CONFIG/MISC", false},
    {"UserAutoTabSheet", "UserAuto", false},
    {"EQTabSheet", "EQ", false},
    {"ClockTabSheet", "Clock / Alarm / Timer", false},
};
constexpr int kClockPage = 8;

int Index(OpTab tab) { return static_cast<int>(tab); }
int Index(OpButton b) { return static_cast<int>(b); }

}  // namespace

TFormMemory::TFormMemory(TStore& store, TCustomCommX& comm, TFormTerminal& terminal, QWidget* parent)
    : QWidget(parent), store_(store), comm_(comm), terminal_(terminal)
{
    setObjectName(QStringLiteral("FormMemory"));
    setWindowTitle(QStringLiteral("Kestrel DataUtility"));
    resize(770, 480);
    BuildPages();
    engine_ = std::make_unique<CommandEngine>(static_cast<CommandEngineHost&>(*this), MakeQtEngineTimer(this));
    auto* groupTabs = new groups::GroupTabs(ScanGroupPage(), SearchGroupPage(), *engine_, store_,
                          {[this](OpButton b, QPushButton* p) { RegisterOperationButton(b, p); },
                           [this](OpTab t, QPushButton* p) { RegisterAbortButton(t, p); }},
                          this);
    auto* memoryTab = new memtab::TMemoryTab(MemChPage(), *engine_, store_,
                           {[this](OpButton b, QPushButton* p) { RegisterOperationButton(b, p); },
                            [this](OpTab t, QPushButton* p) { RegisterAbortButton(t, p); },
                            [this](std::function<void()> redraw) { SetMemoryTableRedraw(std::move(redraw)); }},
                           this);
    auto* searchBankTab = new sbank::TSearchBankTab(
        SearchBankPage(), *engine_, store_, memoryTab->Shared(),
        {[this](OpButton b, QPushButton* p) { RegisterOperationButton(b, p); },
         [this](OpTab t, QPushButton* p) { RegisterAbortButton(t, p); },
         [this](std::function<void()> redraw) { SetSearchBankTableRedraw(std::move(redraw)); }},
        this);
    memoryTab->RegionChanged = [searchBankTab](int region) { searchBankTab->ShowRegion(region); };
    searchBankTab->RegionChanged = [memoryTab](int region) { memoryTab->SelectRegionItem(region); };
    selectedMemBank_ = [memoryTab] { return memoryTab->SelectedBank(); };
    memoryTab_ = memoryTab;
    searchBankTab_ = searchBankTab;
    showLoadedStore_ = [this, memoryTab, searchBankTab, groupTabs](bool offsetTableChanged) {
        memoryTab->SelectRegionItem(store_.Region);
        searchBankTab->ShowRegion(store_.Region);
        groupTabs->ScanGrp().TableDisplay(groupTabs->ScanGrp().SelectedGroup());
        groupTabs->SearchGrp().TableDisplay(groupTabs->SearchGrp().SelectedGroup());
        if (offsetTableChanged)
            memoryTab->Shared().OffsetFreqChanged = true;  // the next write sends the new list
    };
    BuildFileMenu();
    PageControl1->setProperty("Tag", engine_->BusyMark());
    terminal_.OnRxLine = [this](const QString& line) { MemoryRes_Rx1Line(line); };
}

void TFormMemory::ConnectDialogs(TFormMemChEdit& memChEdit, TFormSearchBankEdit& searchBankEdit)
{
    memoryTab_->EditChannel = [&memChEdit](int bank, int ch) {
        memChEdit.show();
        memChEdit.EditStart_MemCh(bank, ch, 0);
    };
    memChEdit.SetStoredHook([this] { memoryTab_->MemoryBankTableDisplay(memoryTab_->SelectedBank()); });
    memoryTab_->OffsetListComplete = [&memChEdit] { memChEdit.SetOffsetIndexComboBoxItems(); };

    searchBankTab_->EditSearchBank = [&searchBankEdit](int bank) {
        searchBankEdit.show();
        searchBankEdit.EditStart_SearchBank(bank, 0);
    };
    searchBankEdit.SetStoredHook([this] { searchBankTab_->SearchBankTableDisplay(); });
    searchBankTab_->OffsetListComplete = [&searchBankEdit] { searchBankEdit.SetOffsetIndexComboBoxItems(); };

    OffsetListsRebuild = [&memChEdit, &searchBankEdit] {
        memChEdit.SetOffsetIndexComboBoxItems();
        searchBankEdit.SetOffsetIndexComboBoxItems();
    };
}

bool& TFormMemory::OffsetFreqChangedMark()
{
    return memoryTab_->Shared().OffsetFreqChanged;
}

TFormMemory::~TFormMemory()
{
    // The terminal outlives nothing it may call into.
    terminal_.OnRxLine = nullptr;
}

void TFormMemory::BuildPages()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    QWidget* all[std::size(kPages)] = {};
    for (std::size_t i = 0; i < std::size(kPages); ++i) {
        auto* page = new QWidget(PageControl1);
        page->setObjectName(QString::fromLatin1(kPages[i].objectName));
        PageControl1->addTab(page, QString::fromLatin1(kPages[i].caption));
        PageControl1->setTabVisible(int(i), kPages[i].visible);
        all[i] = page;
    }
    PageControl1->setTabEnabled(kClockPage, false);
    for (int t = 0; t < kOpTabCount; ++t)
        pages_[t] = all[t];
    PageControl1->setCurrentWidget(SearchBankPage());
    layout->addWidget(PageControl1, 1);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->installEventFilter(this);
    layout->addWidget(ProgressBar1);
}

// --- "File" menu ---

namespace {

const QString kImageFilter = QStringLiteral("Receiver images (*.json)");
const QString kCsvFilter = QStringLiteral("CSV files (*.csv)");
const QString kAllFilesFilter = QStringLiteral("All files (*)");
constexpr int kErrorsShown = 10;

QString ChooseFile(QWidget* parent, bool save, const QString& caption, const QStringList& filters,
                   const QString& suffix, QString* chosenFilter = nullptr)
{
    QFileDialog dialog(parent, caption);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(suffix);
    const QString file = UiPrompts::runFileDialog(dialog);
    if (chosenFilter)
        *chosenFilter = dialog.selectedNameFilter();
    return file;
}

}  // namespace

void TFormMemory::BuildFileMenu()
{
    FileMenuBar = new QMenuBar(this);
    FileMenuBar->setObjectName(QStringLiteral("FileMenuBar"));
    QMenu* file = FileMenuBar->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("FileMenu"));
    const struct {
        const char* name;
        const char* caption;
        void (TFormMemory::*click)();
    } items[] = {
        {"OpenImageMenu", "Open Image...", &TFormMemory::OpenImageMenuClick},
        {"SaveImageMenu", "Save Image...", &TFormMemory::SaveImageMenuClick},
        {"ExportChannelsMenu", "Export Channels (CSV)...", &TFormMemory::ExportChannelsMenuClick},
        {"ImportChannelsMenu", "Import Channels (CSV)...", &TFormMemory::ImportChannelsMenuClick},
    };
    for (const auto& item : items) {
        QAction* action = file->addAction(QString::fromLatin1(item.caption));
        action->setObjectName(QString::fromLatin1(item.name));
        connect(action, &QAction::triggered, this, item.click);
    }
    layout()->setMenuBar(FileMenuBar);
}

void TFormMemory::SaveImageMenuClick()
{
    const QString path = ChooseFile(this, true, QStringLiteral("Save Image"), {kImageFilter, kAllFilesFilter},
                                    QStringLiteral("json"));
    if (path.isEmpty())
        return;
    QString error;
    if (!exchange::SaveFileAtomically(path, exchange::WriteImage(store_), error))
        UiPrompts::showError(this, QStringLiteral("The image was not saved.\n") + error);
}

void TFormMemory::OpenImageMenuClick()
{
    // Replacing the store under a running operation would mix two images.
    if (engine_->BusyMark() != -1) {
        ShowBusyMessage();
        return;
    }
    const QString path = ChooseFile(this, false, QStringLiteral("Open Image"), {kImageFilter, kAllFilesFilter},
                                    QStringLiteral("json"));
    if (path.isEmpty())
        return;
    QByteArray bytes;
    QString error;
    std::int32_t offsets[kOffsetCount];
    std::memcpy(offsets, store_.OffsetFreqTable, sizeof offsets);
    if (!exchange::ReadWholeFile(path, bytes, error) || !exchange::ReadImage(bytes, store_, error)) {
        UiPrompts::showError(this, QStringLiteral("The image was not opened; nothing changed.\n") + error);
        return;
    }
    StoreLoaded(std::memcmp(offsets, store_.OffsetFreqTable, sizeof offsets) != 0);
}

void TFormMemory::ExportChannelsMenuClick()
{
    const int bank = selectedMemBank_ ? selectedMemBank_() : -1;
    const QString bankOnly = QStringLiteral("MemBank %1 only (*.csv)").arg(bank, 2, 10, QLatin1Char('0'));
    QStringList filters{QStringLiteral("All banks (*.csv)")};
    if (bank >= 0)
        filters << bankOnly;
    QString filter;
    const QString path =
        ChooseFile(this, true, QStringLiteral("Export Channels (CSV)"), filters, QStringLiteral("csv"), &filter);
    if (path.isEmpty())
        return;
    QString error;
    const QByteArray csv = exchange::ExportChannelsCsv(store_, filter == bankOnly ? bank : -1);
    if (!exchange::SaveFileAtomically(path, csv, error))
        UiPrompts::showError(this, QStringLiteral("The channels were not exported.\n") + error);
}

void TFormMemory::ImportChannelsMenuClick()
{
    if (engine_->BusyMark() != -1) {
        ShowBusyMessage();
        return;
    }
    const QString path = ChooseFile(this, false, QStringLiteral("Import Channels (CSV)"), {kCsvFilter, kAllFilesFilter},
                                    QStringLiteral("csv"));
    if (path.isEmpty())
        return;
    QByteArray bytes;
    QString error;
    if (!exchange::ReadWholeFile(path, bytes, error)) {
        UiPrompts::showError(this, QStringLiteral("The channels were not imported; nothing changed.\n") + error);
        return;
    }
    const exchange::CsvImportResult result = exchange::ImportChannelsCsv(bytes, store_);
    if (!result.Ok()) {
        QStringList lines;
        for (const exchange::CsvImportError& e : result.errors)
            lines << e.Text();
        QString text = QStringLiteral("The channels were not imported; nothing changed. %1 error(s):\n")
                           .arg(result.errors.size());
        text += lines.mid(0, kErrorsShown).join(QLatin1Char('\n'));
        if (lines.size() > kErrorsShown)
            text += QStringLiteral("\n...");
        UiPrompts::showError(this, text, lines.size() > kErrorsShown ? lines.join(QLatin1Char('\n')) : QString());
        return;
    }
    StoreLoaded(false);
    UiPrompts::showMessage(this, QStringLiteral("%1 rows read, %2 channel(s) changed.")
                                     .arg(result.rows)
                                     .arg(result.changedChannels));
}

void TFormMemory::StoreLoaded(bool offsetTableChanged)
{
    RedrawTables();
    if (showLoadedStore_)
        showLoadedStore_(offsetTableChanged);
    if (offsetTableChanged && OffsetListsRebuild)
        OffsetListsRebuild();
}

void TFormMemory::RegisterOperationButton(OpButton id, QPushButton* button)
{
    opButtons_[Index(id)] = button;
    if (button && button->objectName().isEmpty())
        button->setObjectName(QString::fromLatin1(ButtonName(id)));
    ButtonsChanged(TabOf(id));
}

void TFormMemory::RegisterAbortButton(OpTab tab, QPushButton* button)
{
    abortButtons_[Index(tab)] = button;
    if (!button)
        return;
    if (button->objectName().isEmpty())
        button->setObjectName(QString::fromLatin1(AbortButtonName(tab)));
    connect(button, &QPushButton::clicked, this, [this, tab] {
        switch (tab) {
        case OpTab::MemCh: MemBankAbortButtonClick(); break;
        case OpTab::ScanGroup: ScanGrpAbortButtonClick(); break;
        case OpTab::SearchBank: SearchBankAbortButtonClick(); break;
        case OpTab::SearchGroup: SearchGrpAbortButtonClick(); break;
        }
    });
    ButtonsChanged(tab);
}

QPushButton* TFormMemory::OperationButton(OpButton id) const { return opButtons_[Index(id)]; }
QPushButton* TFormMemory::AbortButton(OpTab tab) const { return abortButtons_[Index(tab)]; }

void TFormMemory::SetMemoryTableRedraw(std::function<void()> redraw) { redrawMemoryTable_ = std::move(redraw); }
void TFormMemory::SetSearchBankTableRedraw(std::function<void()> redraw)
{
    redrawSearchBankTable_ = std::move(redraw);
}

void TFormMemory::MemoryRes_Rx1Line(const QString& RxString) { engine_->MemoryRes_Rx1Line(RxString); }

void TFormMemory::MemBankAbortButtonClick() { engine_->Abort(OpTab::MemCh); }
void TFormMemory::ScanGrpAbortButtonClick() { engine_->Abort(OpTab::ScanGroup); }
void TFormMemory::SearchBankAbortButtonClick() { engine_->Abort(OpTab::SearchBank); }
void TFormMemory::SearchGrpAbortButtonClick() { engine_->Abort(OpTab::SearchGroup); }

void TFormMemory::ProgressBar1MouseDown()
{
    PageControl1->setTabVisible(PageControl1->indexOf(ScanGroupPage()), false);
    PageControl1->setTabVisible(PageControl1->indexOf(SearchGroupPage()), false);
}

void TFormMemory::FormShow() { RedrawTables(); }

void TFormMemory::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

bool TFormMemory::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ProgressBar1 && event->type() == QEvent::MouseButtonPress)
        ProgressBar1MouseDown();
    return QWidget::eventFilter(watched, event);
}

// --- the engine's host ---

// The engine writes a command and then its line end. Both go to the port as one block:
// the same bytes in the same order, but one driver write and one worker wake-up per
// command instead of two.
void TFormMemory::WriteCommand(const std::string& bytes)
{
    pendingLine_ = bytes;
}

void TFormMemory::WriteLineEnd()
{
    pendingLine_ += "\r\n";
    comm_.TransString(pendingLine_);  // result ignored: an unsent command simply times out
    pendingLine_.clear();
}

void TFormMemory::LogProgress(const QString& text) { terminal_.TerminalLog_Add(text, QColor(Qt::black)); }

void TFormMemory::LogSentCommand(const QString& cmd) { terminal_.TerminalLog_AddSent(cmd); }

bool TFormMemory::ClickComOpen()
{
    // Clicked as a user would, also while the button is disabled (the port is open).
    terminal_.OpenButtonClick();
    return terminal_.portOpenedHere();
}

void TFormMemory::ClickComClose() { terminal_.CloseButtonClick(); }

void TFormMemory::RedrawTables()
{
    if (redrawMemoryTable_)
        redrawMemoryTable_();
    if (redrawSearchBankTable_)
        redrawSearchBankTable_();
}

void TFormMemory::ShowBusyMessage() { UiPrompts::showMessage(this, QStringLiteral("Now Busy!")); }

void TFormMemory::Sleep(std::int32_t ms)
{
    // Blocks the window thread on purpose: a "wait" entry holds everything back.
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void TFormMemory::ButtonsChanged(OpTab tab)
{
    for (OpButton b : ButtonsOf(tab)) {
        if (QPushButton* button = opButtons_[Index(b)]) {
            button->setEnabled(engine_->ButtonEnabled(b));
            button->setProperty("Tag", engine_->ButtonTag(b));
        }
    }
    if (QPushButton* abort = abortButtons_[Index(tab)])
        abort->setEnabled(engine_->AbortEnabled(tab));
    PageControl1->setProperty("Tag", engine_->BusyMark());
}

void TFormMemory::ProgressChanged(std::int32_t position, std::int32_t maximum)
{
    // A range of 0..0 would turn the bar into a busy indicator.
    ProgressBar1->setRange(0, std::max(1, maximum));
    ProgressBar1->setValue(position);
    PageControl1->setProperty("Tag", engine_->BusyMark());
}
