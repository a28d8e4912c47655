#include "FormMemory.h"

#include "CommX.h"
#include "FormTerminal.h"
#include "MemoryTab.h"
#include "SearchBankTab.h"
#include "GroupTabs.h"
#include "Store.h"
#include "UiPrompts.h"

#include <QColor>
#include <QEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

#include <chrono>
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
    new groups::GroupTabs(ScanGroupPage(), SearchGroupPage(), *engine_, store_,
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
    PageControl1->setProperty("Tag", engine_->BusyMark());
    terminal_.OnRxLine = [this](const QString& line) { MemoryRes_Rx1Line(line); };
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

void TFormMemory::WriteCommand(const std::string& bytes)
{
    comm_.TransString(bytes);  // result ignored: an unsent command simply times out
}

void TFormMemory::WriteLineEnd()
{
    static const char crlf[2] = {13, 10};
    comm_.TransBlock(crlf, 2);  // result ignored, as above
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
