#include "FrozenGrid.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>

namespace sbank {

FrozenGrid::FrozenGrid(int rows, int cols, int frozen, QWidget* parent)
    : QTableWidget(rows, cols, parent), frozenCount_(frozen)
{
    frozen_ = new QTableView(this);
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

    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int section, int, int size) {
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

void FrozenGrid::SyncFrozen()
{
    if (frozen_->objectName().isEmpty() && !objectName().isEmpty())
        frozen_->setObjectName(objectName() + QStringLiteral("FixedColumns"));
    frozen_->setItemDelegate(itemDelegate());
    frozen_->horizontalHeader()->setFixedHeight(horizontalHeader()->height());
    for (int c = 0; c < frozenCount_; ++c)
        frozen_->setColumnWidth(c, columnWidth(c));
    for (int r = 0; r < rowCount(); ++r)
        frozen_->setRowHeight(r, rowHeight(r));
    UpdateFrozenGeometry();
}

void FrozenGrid::resizeEvent(QResizeEvent* event)
{
    QTableWidget::resizeEvent(event);
    UpdateFrozenGeometry();
}

void FrozenGrid::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    // The frozen columns are always in view; scrolling sideways for them would hide the
    // columns under them.
    if (index.column() >= frozenCount_)
        QTableWidget::scrollTo(index, hint);
}

void FrozenGrid::UpdateFrozenGeometry()
{
    int width = 0;
    for (int c = 0; c < frozenCount_; ++c)
        width += columnWidth(c);
    frozen_->setGeometry(verticalHeader()->width() + frameWidth(), frameWidth(), width,
                         viewport()->height() + horizontalHeader()->height());
}

}  // namespace sbank
