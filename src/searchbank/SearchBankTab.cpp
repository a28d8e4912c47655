#include "SearchBankTab.h"

#include "CommandEngine.h"
#include "FrozenGrid.h"
#include "SearchBankTableText.h"
#include "SearchBankWrite.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace sbank {

namespace {

// Draws every cell as a string grid does: the text from 2 pixels in, on one line, cut at
// the cell's edge rather than elided (the column widths fit the texts, not the view's item
// margins). Cells of banks not (fully) read go on silver in the grey-text colour.
class GreyCellDelegate : public QStyledItemDelegate {
public:
    GreyCellDelegate(const TStore& store, QObject* parent) : QStyledItemDelegate(parent), store_(store) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const int bank = index.row();
        const std::uint8_t readState =
            bank >= 0 && bank < kSearchBankCount ? store_.SearchBankData[bank].ReadState : 0;
        const QString text = index.data(Qt::DisplayRole).toString();
        painter->save();
        painter->setClipRect(option.rect);
        if (SearchTableCellGreyed(readState, index.column())) {
            painter->fillRect(option.rect, QColor(192, 192, 192));
            painter->setPen(option.palette.color(QPalette::Disabled, QPalette::Text));
        } else {
            QStyleOptionViewItem opt = option;
            initStyleOption(&opt, index);
            opt.text.clear();
            const QWidget* widget = option.widget;
            QStyle* style = widget ? widget->style() : QApplication::style();
            style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
            const bool selected = option.state & QStyle::State_Selected;
            painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        }
        painter->drawText(option.rect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                          text);
        painter->restore();
    }

private:
    const TStore& store_;
};

QString FromStd(const std::string& s)
{
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, int x, int y, int w, int h)
{
    auto* b = new QPushButton(QString::fromLatin1(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(x, y, w, h);
    return b;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int x, int y, int minWidth)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->move(x, y);
    l->setMinimumWidth(minWidth);
    return l;
}

}  // namespace

TSearchBankTab::TSearchBankTab(QWidget* page, CommandEngine& engine, TStore& store, memparam::TParamShared& shared,
                               const TSearchBankTabFrame& frame, QObject* parent)
    : QObject(parent),
      engine_(engine),
      store_(store),
      shared_(shared),
      read_(store, shared, TLinkSave{engine.SearchBankState, engine.SearchLinkBackup, keepBackup_}),
      lastButton_(OpButton::SearchBankAllReadButton)
{
    setObjectName(QStringLiteral("SearchBankTab"));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    BuildTopPanel(page);
    BuildGrid(page);
    BuildBottomPanel(page);
    layout->addWidget(SearchBankTopPanel);
    layout->addWidget(SearchBankStringGrid, 1);
    layout->addWidget(SearchBankBottomPanel);

    read_.OffsetListComplete = [this] {
        if (OffsetListComplete)
            OffsetListComplete();
    };
    read_.RegionChanged = [this](int region) {
        ShowRegion(region);
        if (RegionChanged)
            RegionChanged(region);
    };

    if (frame.registerButton) {
        frame.registerButton(OpButton::SearchBankReadButton, SearchBankReadButton);
        frame.registerButton(OpButton::SearchBankAllReadButton, SearchBankAllReadButton);
        frame.registerButton(OpButton::SearchBankWriteButton, SearchBankWriteButton);
        frame.registerButton(OpButton::SearchBankAllWriteButton, SearchBankAllWriteButton);
    }
    if (frame.registerAbort)
        frame.registerAbort(OpTab::SearchBank, SearchBankAbortButton);
    // Connected after the frame's own Abort handler, so it runs once the engine has stopped.
    connect(SearchBankAbortButton, &QPushButton::clicked, this, [this] { RestoreAfterAbort(); });
    if (frame.setTableRedraw)
        frame.setTableRedraw([this] { SearchBankTableDisplay(); });
    engine_.SetAnswerParser(OpFamily::SearchBankRead, [this](const QString& l) { return SearchBankReadRes_1Line(l); });
    engine_.AddSentListener([this](const QString& cmd) { read_.CommandSent(cmd.toLatin1().toStdString()); });
    engine_.SetAnswerParser(OpFamily::SearchBankWrite,
                            [this](const QString& l) { return SearchBankWriteRes_1Line(l); });

    SearchBankTableDisplay();
}

// The frame destroys the engine before its children, so the tab must not touch it here.
TSearchBankTab::~TSearchBankTab() = default;

void TSearchBankTab::BuildTopPanel(QWidget* page)
{
    SearchBankTopPanel = new QWidget(page);
    SearchBankTopPanel->setObjectName(QStringLiteral("SearchBankTopPanel"));
    SearchBankTopPanel->setFixedHeight(40);
    SearchBankReadButton = MakeButton(SearchBankTopPanel, "SearchBankReadButton", "1 Bank Read", 13, 8, 95, 24);
    SearchBankAllReadButton =
        MakeButton(SearchBankTopPanel, "SearchBankAllReadButton", "All Banks Read", 113, 8, 105, 24);
    SearchBankWriteButton = MakeButton(SearchBankTopPanel, "SearchBankWriteButton", "1 Bank Write", 250, 8, 95, 24);
    SearchBankAllWriteButton =
        MakeButton(SearchBankTopPanel, "SearchBankAllWriteButton", "All Banks Write", 350, 8, 105, 24);
    SearchBankAbortButton = MakeButton(SearchBankTopPanel, "SearchBankAbortButton", "Abort", 667, 8, 60, 24);

    connect(SearchBankReadButton, &QPushButton::clicked, this, [this] { SearchBankReadButtonClick(); });
    connect(SearchBankAllReadButton, &QPushButton::clicked, this, [this] { SearchBankAllReadButtonClick(); });
    connect(SearchBankWriteButton, &QPushButton::clicked, this, [this] { SearchBankWriteButtonClick(); });
    connect(SearchBankAllWriteButton, &QPushButton::clicked, this, [this] { SearchBankAllWriteButtonClick(); });
}

void TSearchBankTab::BuildGrid(QWidget* page)
{
    auto* grid = new FrozenGrid(kSearchBankCount, kSearchTableColumns, kSearchTableFixedColumns, page);
    SearchBankStringGrid = grid;
    grid->setObjectName(QStringLiteral("SearchBankStringGrid"));
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    grid->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    grid->setShowGrid(true);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(kSearchTableRowHeight);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grid->horizontalHeader()->setSectionsClickable(false);
    grid->horizontalHeader()->setFixedHeight(kSearchTableRowHeight);
    grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int r = 0; r < kSearchBankCount; ++r) {
        grid->setRowHeight(r, kSearchTableRowHeight);
        for (int c = 0; c < kSearchTableColumns; ++c)
            grid->setItem(r, c, new QTableWidgetItem);
    }
    grid->setItemDelegate(new GreyCellDelegate(store_, grid));
    grid->SyncFrozen();
    grid->setCurrentCell(0, 0);

    frozenView_ = grid->Frozen();
    connect(frozenView_, &QTableView::clicked, this, [this](const QModelIndex& index) {
        SearchBankStringGridFixedCellClick(index.column(), index.row() + 1);
    });
    connect(frozenView_, &QTableView::doubleClicked, this, [this] { SearchBankStringGridDblClick(); });
    connect(grid, &QTableWidget::cellDoubleClicked, this, [this] { SearchBankStringGridDblClick(); });
}

void TSearchBankTab::BuildBottomPanel(QWidget* page)
{
    SearchBankBottomPanel = new QWidget(page);
    SearchBankBottomPanel->setObjectName(QStringLiteral("SearchBankBottomPanel"));
    SearchBankBottomPanel->setFixedHeight(73);

    SearchBankCopyButton = MakeButton(SearchBankBottomPanel, "SearchBankCopyButton", "Bank Copy", 13, 8, 80, 22);
    SearchBankPasteButton = MakeButton(SearchBankBottomPanel, "SearchBankPasteButton", "Bank Paste", 13, 40, 80, 22);
    SearchBankPasteButton->setEnabled(false);
    SearchBankCopyLabel =
        MakeLabel(SearchBankBottomPanel, "SearchBankCopyLabel", QStringLiteral("Copy Src : "), 100, 12, 120);
    SearchBankCopyFreqLabel = MakeLabel(SearchBankBottomPanel, "SearchBankCopyFreqLabel", QString(), 100, 30, 260);
    SearchBankCopyTitleLabel = MakeLabel(SearchBankBottomPanel, "SearchBankCopyTitleLabel", QString(), 100, 48, 260);
    connect(SearchBankCopyButton, &QPushButton::clicked, this, [this] { SearchBankCopyButtonClick(); });
    connect(SearchBankPasteButton, &QPushButton::clicked, this, [this] { SearchBankPasteButtonClick(); });

    SearchBankRegionRadioGroup = new QGroupBox(QStringLiteral("Region"), SearchBankBottomPanel);
    SearchBankRegionRadioGroup->setObjectName(QStringLiteral("SearchBankRegionRadioGroup"));
    SearchBankRegionRadioGroup->setGeometry(420, 4, 260, 60);
    auto* row = new QHBoxLayout(SearchBankRegionRadioGroup);
    regionButtons_ = new QButtonGroup(this);
    const char* const items[] = {"USA", "JAPAN", "EURO."};
    for (int i = 0; i < 3; ++i) {
        auto* radio = new QRadioButton(QString::fromLatin1(items[i]), SearchBankRegionRadioGroup);
        radio->setObjectName(QStringLiteral("SearchBankRegionRadio%1").arg(i));
        regionButtons_->addButton(radio, i);
        row->addWidget(radio);
    }
    regionButtons_->button(1)->setChecked(true);
    SearchBankRegionRadioGroup->setEnabled(false);  // shows the receiver's region only
}

int TSearchBankTab::CurrentRow() const
{
    const int row = SearchBankStringGrid->currentRow();
    return row >= 0 && row < kSearchBankCount ? row + 1 : 1;
}

void TSearchBankTab::SetCurrentRow(int row)
{
    if (row >= 1 && row <= kSearchBankCount)
        SearchBankStringGrid->setCurrentCell(row - 1, std::max(0, SearchBankStringGrid->currentColumn()));
}

int TSearchBankTab::RegionItemIndex() const { return regionButtons_->checkedId(); }

void TSearchBankTab::ShowRegion(int region)
{
    if (QAbstractButton* b = regionButtons_->button(region))
        b->setChecked(true);
}

void TSearchBankTab::SearchBankTableDisplay()
{
    QTableWidget* grid = SearchBankStringGrid;
    grid->setColumnCount(kSearchTableColumns);
    const QFontMetrics metrics(grid->font());
    QStringList headings;
    for (int c = 0; c < kSearchTableColumns; ++c) {
        headings << SearchTableHeading(c);
        grid->setColumnWidth(c, metrics.horizontalAdvance(SearchTableWidthSample(c)));
    }
    grid->setHorizontalHeaderLabels(headings);
    for (int bank = 0; bank < kSearchBankCount; ++bank)
        for (int col = 0; col < kSearchTableColumns; ++col)
            grid->item(bank, col)->setText(SearchTableCellText(store_, bank, col));
    static_cast<FrozenGrid*>(grid)->SyncFrozen();
    grid->viewport()->update();
    frozenView_->viewport()->update();
}

void TSearchBankTab::SearchBankStringGridDblClick()
{
    if (EditSearchBank)
        EditSearchBank(CurrentRow() - 1);
}

void TSearchBankTab::SearchBankStringGridFixedCellClick(int /*ACol*/, int ARow)
{
    if (ARow != 0)
        SetCurrentRow(ARow);
}

void TSearchBankTab::SearchBankCopyButtonClick()
{
    SearchBankCopyBank = CurrentRow() - 1;
    SearchBankCopyData = store_.SearchBankData[SearchBankCopyBank];
    SearchBankCopyLabel->setText(QStringLiteral("Copy Src: %1").arg(SearchBankCopyBank, 2, 10, QLatin1Char('0')));
    SearchBankCopyFreqLabel->setText(CopyFreqLabelText(SearchBankCopyData));
    SearchBankCopyTitleLabel->setText(CopyTitleLabelText(SearchBankCopyData));
    SearchBankPasteButton->setEnabled(true);
}

void TSearchBankTab::SearchBankPasteButtonClick()
{
    store_.SearchBankData[CurrentRow() - 1] = SearchBankCopyData;
    SearchBankTableDisplay();
}

// --- operations ---

void TSearchBankTab::Start(OpButton button, const std::function<TCommandList()>& commands)
{
    lastButton_ = button;
    engine_.StartOperation(
        button, 3,
        [&] {
            // A list that may still be replaced on the receiver (restore unacknowledged or
            // never sent) is the one to keep; the receiver's current list may be "99".
            if (engine_.SearchBankState >= kLinkSaved)
                keepBackup_ = true;
            shared_.CmdOL_ReceivedFlag = 0;
            engine_.SearchBankState = kLinkNoBankYet;
        },
        [&](CommandEngine& e) {
            for (const TQueuedCommand& c : commands())
                e.AppendCommand(FromStd(c.Command), FromStd(c.Option));
        });
}

void TSearchBankTab::SearchBankReadButtonClick()
{
    const int bank = CurrentRow() - 1;
    Start(OpButton::SearchBankReadButton, [bank] { return ReadCommands_1Bank(bank); });
}

void TSearchBankTab::SearchBankAllReadButtonClick()
{
    Start(OpButton::SearchBankAllReadButton, [] { return ReadCommands_AllBanks(); });
}

void TSearchBankTab::SearchBankWriteButtonClick()
{
    const int bank = CurrentRow() - 1;
    Start(OpButton::SearchBankWriteButton, [this, bank] {
        return WriteCommands_1Bank(store_, bank, engine_.SearchBankState, shared_.OffsetFreqChanged);
    });
}

void TSearchBankTab::SearchBankAllWriteButtonClick()
{
    Start(OpButton::SearchBankAllWriteButton, [this] {
        return WriteCommands_AllBanks(store_, engine_.SearchBankState, shared_.OffsetFreqChanged);
    });
}

void TSearchBankTab::RestoreAfterAbort()
{
    // Only a list that was saved and may have been replaced goes back; an Abort while the
    // restore itself is pending (state 6) really stops, so a silent receiver cannot hold
    // the tab forever.
    if (!RestoreDue(engine_.SearchBankState) || engine_.TabRunning(OpTab::SearchBank))
        return;
    engine_.StartOperation(
        lastButton_, 3, [this] { engine_.SearchBankState = kLinkRestoreQueued; },
        [this](CommandEngine& e) { e.AppendCommand(QStringLiteral("BK") + Make_BK_Param(), QStringLiteral("[1](200)")); });
}

bool TSearchBankTab::SearchBankReadRes_1Line(const QString& RxString)
{
    TCommandList appended;
    const bool claimed = read_.SearchBankReadRes_1Line(RxString.toLatin1().toStdString(),
                                                       engine_.SendedCommand().toLatin1().toStdString(), appended);
    for (const TQueuedCommand& c : appended)
        engine_.AppendCommand(FromStd(c.Command), FromStd(c.Option));
    return claimed;
}

bool TSearchBankTab::SearchBankWriteRes_1Line(const QString& RxString)
{
    TLinkSave link{engine_.SearchBankState, engine_.SearchLinkBackup, keepBackup_};
    return sbank::SearchBankWriteRes_1Line(RxString.toLatin1().toStdString(),
                                           engine_.SendedCommand().toLatin1().toStdString(), link);
}

QString TSearchBankTab::Make_BK_Param() const { return engine_.Make_BK_Param(); }

}  // namespace sbank
