// A string grid whose leading columns stay in view when it scrolls sideways: a second view
// over the same model and selection shows only those columns and lies over the left edge.
#pragma once

#include <QTableWidget>

class QTableView;

namespace sbank {

class FrozenGrid : public QTableWidget {
public:
    FrozenGrid(int rows, int cols, int frozen, QWidget* parent);

    // The view that shows the frozen columns (objectName: the grid's + "FixedColumns").
    QTableView* Frozen() const { return frozen_; }
    // Copies delegate, column widths and row heights onto the frozen view.
    void SyncFrozen();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void scrollTo(const QModelIndex& index, ScrollHint hint) override;

private:
    void UpdateFrozenGeometry();

    QTableView* frozen_ = nullptr;
    int frozenCount_ = 0;
};

}  // namespace sbank
