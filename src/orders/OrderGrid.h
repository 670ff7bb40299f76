#pragma once

#include "masterdata/DataGrid.h"

#include <QPointer>
#include <QString>

namespace dataset {
class Dataset;
}

namespace orders {

class GridFooter;

// The line grid of the order window: an editable data grid with a footer row under its
// columns (a widget of its own, which the window lays out below the grid), an ellipsis
// button in the cells of one column, and the column-exit event of a desktop grid.
// Enter moves on to the next cell. A cell left unchanged is not written back, so merely
// passing through a product-code cell looks nothing up.
class OrderGrid : public masterdata::DataGrid {
    Q_OBJECT
public:
    explicit OrderGrid(QWidget* parent = nullptr);
    ~OrderGrid() override;

    // Shows the dataset; the footers are set on datasetModel().
    void bind(dataset::Dataset* dataset);
    // The cells of this dataset column get the ellipsis button while they are edited.
    void setEditButtonColumn(const QString& column) { editButtonColumn_ = column; }
    const QString& editButtonColumn() const { return editButtonColumn_; }

    // The footer row, to be laid out right under the grid (it goes with the grid).
    QWidget* footer() const;
    // The footer text under a grid column, as shown.
    QString footerText(int modelColumn) const;
    // Writes what the open cell editor holds and closes it; nothing when none is open.
    void commitOpenEditor();

signals:
    // The ellipsis button of a cell was pressed; the cell's edit was dropped.
    void editButtonClicked();
    // The current cell is about to leave its column or row; the dataset is still on its row.
    void columnExited();

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    friend class CellDelegate;
    void editorOpened(QWidget* editor) { openEditor_ = editor; }
    void editButtonPressed(QWidget* editor);

    QPointer<GridFooter> footer_;  // laid out beside the grid, deleted with it
    QString editButtonColumn_;
    QPointer<QWidget> openEditor_;
};

} // namespace orders
