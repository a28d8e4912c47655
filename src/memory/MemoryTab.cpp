#include "MemoryTab.h"

#include "CommandEngine.h"
#include "FreqText.h"
#include "MemTableText.h"
#include "MemoryWrite.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace memtab {

namespace {

// Draws every cell as a string grid does: the text from 2 pixels in, on one line, cut at
// the cell's edge rather than shortened with an ellipsis (the column widths fit the texts,
// not the view's item margins). Cells of channels not (fully) read go on silver in the
// grey-text colour.
class GreyCellDelegate : public QStyledItemDelegate {
public:
    GreyCellDelegate(std::function<std::uint8_t(int ch)> readState, QObject* parent)
        : QStyledItemDelegate(parent), readState_(std::move(readState))
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QString text = index.data(Qt::DisplayRole).toString();
        const QRect textRect = option.rect.adjusted(2, 0, 0, 0);
        const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
        painter->save();
        painter->setClipRect(option.rect);
        if (MemTableCellGreyed(readState_(index.row()), index.column())) {
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
        painter->drawText(textRect, flags, text);
        painter->restore();
    }

private:
    std::function<std::uint8_t(int)> readState_;
};

// A table whose leading columns stay in view: a second view over the same model and
// selection shows only those columns and lies over the left edge.
class FrozenColumnsTable : public QTableWidget {
public:
    FrozenColumnsTable(int rows, int cols, int frozen, QWidget* parent)
        : QTableWidget(rows, cols, parent), frozenCount_(frozen)
    {
        frozen_ = new QTableView(this);
        frozen_->setObjectName(QStringLiteral("MemChStringGridFixedColumns"));
        frozen_->setModel(model());
        frozen_->setSelectionModel(selectionModel());
        frozen_->setFocusPolicy(Qt::NoFocus);
        frozen_->verticalHeader()->hide();
        frozen_->horizontalHeader()->setSectionsClickable(false);
        frozen_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        frozen_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        frozen_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        frozen_->setVerticalScrollMode(ScrollPerPixel);
        frozen_->setEditTriggers(NoEditTriggers);
        frozen_->setSelectionBehavior(SelectRows);
        frozen_->setSelectionMode(SingleSelection);
        frozen_->setStyleSheet(QStringLiteral("QTableView { border: none; }"));
        for (int c = frozenCount_; c < cols; ++c)
            frozen_->setColumnHidden(c, true);
        viewport()->stackUnder(frozen_);

        connect(horizontalHeader(), &QHeaderView::sectionResized, this,
                [this](int section, int, int size) {
                    if (section < frozenCount_) {
                        frozen_->setColumnWidth(section, size);
                        UpdateFrozenGeometry();
                    }
                });
        connect(verticalHeader(), &QHeaderView::sectionResized, this,
                [this](int section, int, int size) { frozen_->setRowHeight(section, size); });
        connect(frozen_->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(),
                &QAbstractSlider::setValue);
        connect(verticalScrollBar(), &QAbstractSlider::valueChanged, frozen_->verticalScrollBar(),
                &QAbstractSlider::setValue);
        frozen_->show();
    }

    QTableView* Frozen() const { return frozen_; }

    void SyncFrozen()
    {
        frozen_->setItemDelegate(itemDelegate());
        frozen_->horizontalHeader()->setFixedHeight(horizontalHeader()->height());
        for (int c = 0; c < frozenCount_; ++c)
            frozen_->setColumnWidth(c, columnWidth(c));
        for (int r = 0; r < rowCount(); ++r)
            frozen_->setRowHeight(r, rowHeight(r));
        UpdateFrozenGeometry();
    }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QTableWidget::resizeEvent(event);
        UpdateFrozenGeometry();
    }

    void scrollTo(const QModelIndex& index, ScrollHint hint) override
    {
        // The frozen columns are always in view; scrolling sideways for them would hide
        // the columns under them.
        if (index.column() >= frozenCount_)
            QTableWidget::scrollTo(index, hint);
    }

private:
    void UpdateFrozenGeometry()
    {
        int width = 0;
        for (int c = 0; c < frozenCount_; ++c)
            width += columnWidth(c);
        frozen_->setGeometry(verticalHeader()->width() + frameWidth(), frameWidth(), width,
                             viewport()->height() + horizontalHeader()->height());
    }

    QTableView* frozen_ = nullptr;
    int frozenCount_ = 0;
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

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int x, int y)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->move(x, y);
    return l;
}

}  // namespace

TMemoryTab::TMemoryTab(QWidget* page, CommandEngine& engine, TStore& store, const TMemoryTabFrame& frame,
                       QObject* parent)
    : QObject(parent), engine_(engine), store_(store), read_(store, shared_)
{
    setObjectName(QStringLiteral("MemoryTab"));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    BuildPanel1(page);
    BuildGrid(page);
    BuildPanel2(page);
    layout->addWidget(Panel1);
    layout->addWidget(MemChStringGrid, 1);
    layout->addWidget(Panel2);

    read_.OffsetListComplete = [this] {
        if (OffsetListComplete)
            OffsetListComplete();
    };
    read_.RegionChanged = [this](int region) { SelectRegion(region); };

    if (frame.registerButton) {
        frame.registerButton(OpButton::MemChDetailReadButton, MemChDetailReadButton);
        frame.registerButton(OpButton::MemBankDetailReadButton, MemBankDetailReadButton);
        frame.registerButton(OpButton::AllBankDetailReadButton, AllBankDetailReadButton);
        frame.registerButton(OpButton::MemChWriteButton, MemChWriteButton);
        frame.registerButton(OpButton::MemBankWriteButton, MemBankWriteButton);
        frame.registerButton(OpButton::AllBankWriteButton, AllBankWriteButton);
    }
    if (frame.registerAbort)
        frame.registerAbort(OpTab::MemCh, MemBankAbortButton);
    if (frame.setTableRedraw)
        frame.setTableRedraw([this] { MemoryBankTableDisplay(SelectedBank()); });
    engine_.SetAnswerParser(OpFamily::MemoryRead, [this](const QString& l) { return MemoryReadRes_1Line(l); });
    engine_.AddSentListener([this](const QString& cmd) { read_.CommandSent(cmd.toLatin1().toStdString()); });
    engine_.SetAnswerParser(OpFamily::MemoryWrite, [this](const QString& l) { return MemoryWriteRes_1Line(l); });

    MemoryBankTableDisplay(0);
}

// The frame owns both the engine and the tab and destroys the engine first (a QObject's
// children go after its members), so the tab must not touch the engine here.
TMemoryTab::~TMemoryTab() = default;

void TMemoryTab::BuildPanel1(QWidget* page)
{
    Panel1 = new QWidget(page);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(70);

    MemBankComboBox = new QComboBox(Panel1);
    MemBankComboBox->setObjectName(QStringLiteral("MemBankComboBox"));
    for (int b = 0; b < kMemBankCount; ++b)
        MemBankComboBox->addItem(QStringLiteral("MemBank %1").arg(b, 2, 10, QLatin1Char('0')));
    MemBankComboBox->setCurrentIndex(0);
    MemBankComboBox->setGeometry(13, 8, 130, 22);
    connect(MemBankComboBox, &QComboBox::currentIndexChanged, this, [this] { MemBankComboBoxChange(); });

    Label1 = MakeLabel(Panel1, "Label1", QStringLiteral("BankTitle:"), 13, 35);
    MemBankTitleEdit = new QLineEdit(Panel1);
    MemBankTitleEdit->setObjectName(QStringLiteral("MemBankTitleEdit"));
    MemBankTitleEdit->setGeometry(66, 33, 110, 16);
    Label1->setBuddy(MemBankTitleEdit);
    MemBankProtectCheckBox = new QCheckBox(QStringLiteral("MemBankProtect"), Panel1);
    MemBankProtectCheckBox->setObjectName(QStringLiteral("MemBankProtectCheckBox"));
    MemBankProtectCheckBox->move(16, 49);

    MemChDetailReadButton = MakeButton(Panel1, "MemChDetailReadButton", "1Ch Read", 230, 2, 95, 22);
    MemBankDetailReadButton = MakeButton(Panel1, "MemBankDetailReadButton", "1 Bank Read", 330, 2, 95, 22);
    AllBankDetailReadButton = MakeButton(Panel1, "AllBankDetailReadButton", "All Banks Read", 430, 2, 105, 22);
    MemChWriteButton = MakeButton(Panel1, "MemChWriteButton", "1Ch Write", 230, 36, 95, 22);
    MemBankWriteButton = MakeButton(Panel1, "MemBankWriteButton", "1 Bank Write", 330, 36, 95, 22);
    AllBankWriteButton = MakeButton(Panel1, "AllBankWriteButton", "All Banks Write", 430, 36, 105, 22);
    const QString note = QStringLiteral("(Takes several min.)");
    AllBankReadNoteLabel = MakeLabel(Panel1, "AllBankReadNoteLabel", note, 435, 24);
    AllBankWriteNoteLabel = MakeLabel(Panel1, "AllBankWriteNoteLabel", note, 435, 58);
    MemBankAbortButton = MakeButton(Panel1, "MemBankAbortButton", "Abort", 667, 1, 49, 17);

    connect(MemChDetailReadButton, &QPushButton::clicked, this, [this] { MemChDetailReadButtonClick(); });
    connect(MemBankDetailReadButton, &QPushButton::clicked, this, [this] { MemBankDetailReadButtonClick(); });
    connect(AllBankDetailReadButton, &QPushButton::clicked, this, [this] { AllBankDetailReadButtonClick(); });
    connect(MemChWriteButton, &QPushButton::clicked, this, [this] { MemChWriteButtonClick(); });
    connect(MemBankWriteButton, &QPushButton::clicked, this, [this] { MemBankWriteButtonClick(); });
    connect(AllBankWriteButton, &QPushButton::clicked, this, [this] { AllBankWriteButtonClick(); });
}

void TMemoryTab::BuildGrid(QWidget* page)
{
    auto* grid = new FrozenColumnsTable(kMemChPerBank, kMemTableColumns, kMemTableFixedColumns, page);
    MemChStringGrid = grid;
    grid->setObjectName(QStringLiteral("MemChStringGrid"));
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    grid->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    grid->setShowGrid(true);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(kMemTableRowHeight);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grid->horizontalHeader()->setSectionsClickable(false);
    grid->horizontalHeader()->setFixedHeight(kMemTableRowHeight);
    grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    const QFontMetrics metrics(grid->font());
    QStringList headings;
    for (int c = 0; c < kMemTableColumns; ++c) {
        headings << MemTableHeading(c);
        grid->setColumnWidth(c, metrics.horizontalAdvance(MemTableWidthSample(c)));
    }
    grid->setHorizontalHeaderLabels(headings);
    for (int r = 0; r < kMemChPerBank; ++r) {
        grid->setRowHeight(r, kMemTableRowHeight);
        for (int c = 0; c < kMemTableColumns; ++c)
            grid->setItem(r, c, new QTableWidgetItem);
    }
    grid->setItemDelegate(new GreyCellDelegate(
        [this](int ch) {
            const int bank = SelectedBank();
            if (bank < 0 || ch < 0 || ch >= kMemChPerBank)
                return std::uint8_t{0};
            return store_.MemChData[bank][ch].ReadState;
        },
        grid));
    grid->SyncFrozen();
    grid->setCurrentCell(0, 0);

    frozenView_ = grid->Frozen();
    connect(frozenView_, &QTableView::clicked, this,
            [this](const QModelIndex& index) { MemChStringGridFixedCellClick(index.column(), index.row() + 1); });
    connect(frozenView_, &QTableView::doubleClicked, this, [this] { MemChStringGridDblClick(); });
    connect(grid, &QTableWidget::cellDoubleClicked, this, [this] { MemChStringGridDblClick(); });
}

void TMemoryTab::BuildPanel2(QWidget* page)
{
    Panel2 = new QWidget(page);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFixedHeight(73);

    MemChCopyButton = MakeButton(Panel2, "MemChCopyButton", "1Ch Copy", 13, 8, 80, 22);
    MemChCopyLabel = MakeLabel(Panel2, "MemChCopyLabel", QStringLiteral("Copy Src : "), 100, 12);
    MemChCopyLabel->setMinimumWidth(120);
    MemChCopyFreqLabel = MakeLabel(Panel2, "MemChCopyFreqLabel", QString(), 100, 30);
    MemChCopyFreqLabel->setMinimumWidth(260);
    MemChPasteButton = MakeButton(Panel2, "MemChPasteButton", "1Ch Paste", 13, 40, 80, 22);
    MemChPasteButton->setEnabled(false);
    connect(MemChCopyButton, &QPushButton::clicked, this, [this] { MemChCopyButtonClick(); });
    connect(MemChPasteButton, &QPushButton::clicked, this, [this] { MemChPasteButtonClick(); });

    MemChRegionRadioGroup = new QGroupBox(QStringLiteral("Region"), Panel2);
    MemChRegionRadioGroup->setObjectName(QStringLiteral("MemChRegionRadioGroup"));
    MemChRegionRadioGroup->setGeometry(420, 4, 260, 60);
    auto* row = new QHBoxLayout(MemChRegionRadioGroup);
    regionButtons_ = new QButtonGroup(this);
    const char* const items[] = {"USA", "JAPAN", "EURO."};
    for (int i = 0; i < 3; ++i) {
        auto* radio = new QRadioButton(QString::fromLatin1(items[i]), MemChRegionRadioGroup);
        radio->setObjectName(QStringLiteral("MemChRegionRadio%1").arg(i));
        regionButtons_->addButton(radio, i);
        row->addWidget(radio);
    }
    regionButtons_->button(1)->setChecked(true);
    MemChRegionRadioGroup->setEnabled(false);
}

int TMemoryTab::SelectedBank() const
{
    const int bank = MemBankComboBox->currentIndex();
    return bank >= 0 && bank < kMemBankCount ? bank : 0;
}

int TMemoryTab::CurrentRow() const
{
    const int row = MemChStringGrid->currentRow();
    return row >= 0 && row < kMemChPerBank ? row + 1 : 1;
}

void TMemoryTab::SetCurrentRow(int row)
{
    if (row >= 1 && row <= kMemChPerBank)
        MemChStringGrid->setCurrentCell(row - 1, std::max(0, MemChStringGrid->currentColumn()));
}

int TMemoryTab::RegionItemIndex() const
{
    return regionButtons_->checkedId();
}

void TMemoryTab::SelectRegionItem(int region)
{
    if (QAbstractButton* b = regionButtons_->button(region))
        b->setChecked(true);
}

void TMemoryTab::SelectRegion(int region)
{
    SelectRegionItem(region);
    if (RegionChanged)
        RegionChanged(region);
}

void TMemoryTab::MemoryBankTableDisplay(int bank)
{
    if (bank < 0 || bank >= kMemBankCount)
        return;
    for (int ch = 0; ch < kMemChPerBank; ++ch)
        for (int col = 0; col < kMemTableColumns; ++col)
            MemChStringGrid->item(ch, col)->setText(MemTableCellText(store_, bank, ch, col));
    MemChStringGrid->viewport()->update();
    frozenView_->viewport()->update();
}

void TMemoryTab::MemBankComboBoxChange()
{
    MemoryBankTableDisplay(SelectedBank());
}

void TMemoryTab::MemChStringGridFixedCellClick(int /*ACol*/, int ARow)
{
    if (ARow != 0)
        SetCurrentRow(ARow);
}

void TMemoryTab::MemChStringGridDblClick()
{
    if (EditChannel)
        EditChannel(SelectedBank(), CurrentRow() - 1);
}

void TMemoryTab::MemChCopyButtonClick()
{
    MemChCopyBank = SelectedBank();
    MemChCopyCh = CurrentRow() - 1;
    MemChCopyData = store_.MemChData[MemChCopyBank][MemChCopyCh];
    MemChCopyLabel->setText(QStringLiteral("Copy Src: %1-%2")
                                .arg(MemChCopyBank, 2, 10, QLatin1Char('0'))
                                .arg(MemChCopyCh, 2, 10, QLatin1Char('0')));
    const std::u16string title = TitleText(MemChCopyData.Title);
    MemChCopyFreqLabel->setText(FromStd(cmdfreq::MHzToDotStr(MemChCopyData.RxFreq)) + QStringLiteral("MHz [") +
                                QString::fromUtf16(title.data(), static_cast<qsizetype>(title.size())) +
                                QStringLiteral("]"));
    MemChPasteButton->setEnabled(true);
}

void TMemoryTab::MemChPasteButtonClick()
{
    store_.MemChData[SelectedBank()][CurrentRow() - 1] = MemChCopyData;
    MemoryBankTableDisplay(SelectedBank());
}

// --- operations ---

void TMemoryTab::StartRead(OpButton button, int busy, bool clearOffsetFlag, const TCommandList& commands)
{
    engine_.StartOperation(
        button, busy,
        [&] {
            if (clearOffsetFlag)
                shared_.CmdOL_ReceivedFlag = 0;
        },
        [&](CommandEngine& e) {
            for (const TQueuedCommand& c : commands)
                e.AppendCommand(FromStd(c.Command), FromStd(c.Option));
        });
}

void TMemoryTab::StartWrite(OpButton button, int busy, const std::function<TCommandList()>& channels)
{
    engine_.StartOperation(button, busy, nullptr, [&](CommandEngine& e) {
        const TCommandList commands =
            WrapWriteCommands(channels(), shared_.OffsetFreqChanged, store_.OffsetFreqTable);
        for (const TQueuedCommand& c : commands)
            e.AppendCommand(FromStd(c.Command), FromStd(c.Option));
    });
}

void TMemoryTab::MemChDetailReadButtonClick()
{
    StartRead(OpButton::MemChDetailReadButton, 0, false, ReadCommands_1Ch(SelectedBank(), CurrentRow() - 1));
}

void TMemoryTab::MemBankDetailReadButtonClick()
{
    StartRead(OpButton::MemBankDetailReadButton, 1, true, ReadCommands_1Bank(SelectedBank()));
}

void TMemoryTab::AllBankDetailReadButtonClick()
{
    StartRead(OpButton::AllBankDetailReadButton, 0, true, ReadCommands_AllBanks());
}

void TMemoryTab::MemChWriteButtonClick()
{
    const int bank = SelectedBank(), ch = CurrentRow() - 1;
    StartWrite(OpButton::MemChWriteButton, 1, [&] { return ChannelWriteCommands_1Ch(store_, bank, ch); });
}

void TMemoryTab::MemBankWriteButtonClick()
{
    const int bank = SelectedBank();
    StartWrite(OpButton::MemBankWriteButton, 0, [&] { return ChannelWriteCommands_1Bank(store_, bank); });
}

void TMemoryTab::AllBankWriteButtonClick()
{
    StartWrite(OpButton::AllBankWriteButton, 0, [&] { return ChannelWriteCommands_AllBanks(store_); });
}

bool TMemoryTab::MemoryReadRes_1Line(const QString& RxString)
{
    TCommandList appended;
    const bool claimed = read_.MemoryReadRes_1Line(RxString.toLatin1().toStdString(),
                                                   engine_.SendedCommand().toLatin1().toStdString(), appended);
    for (const TQueuedCommand& c : appended)
        engine_.AppendCommand(FromStd(c.Command), FromStd(c.Option));
    return claimed;
}

bool TMemoryTab::MemoryWriteRes_1Line(const QString& RxString)
{
    return ::MemoryWriteRes_1Line(RxString.toLatin1().toStdString());
}

}  // namespace memtab
