#include "masterdata/DataGrid.h"

#include "dataset/DatasetModel.h"
#include "ui/Dialogs.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace masterdata {

DataGrid::DataGrid(QWidget* parent) : QTableView(parent) {
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
}

void DataGrid::setDataset(dataset::Dataset* dataset) {
    delete model_;
    model_ = new dataset::DatasetModel(dataset, this);
    setModel(model_);
    model_->followSelection(selectionModel());
    connect(model_, &dataset::DatasetModel::errorOccurred, this,
            [this](const QString& message) { ui::fail(this, message); });
}

bool DataGrid::moveToNextCell() {
    if (!model_)
        return false;
    const QModelIndex current = currentIndex();
    int row = current.isValid() ? current.row() : 0;
    int column = current.isValid() ? current.column() + 1 : 0;
    for (; row < model_->rowCount(); ++row, column = 0) {
        for (; column < model_->columnCount(); ++column) {
            if (!isColumnHidden(column)) {
                setCurrentIndex(model_->index(row, column));
                return true;
            }
        }
    }
    return false;
}

void DataGrid::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && state() != QAbstractItemView::EditingState) {
        moveToNextCell();
        return;
    }
    QTableView::keyPressEvent(event);
}

// Enter in a cell editor ends the edit and goes on to the next cell.
void DataGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    if (hint != QAbstractItemDelegate::SubmitModelCache) {
        QTableView::closeEditor(editor, hint);
        return;
    }
    QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    moveToNextCell();
}

} // namespace masterdata
