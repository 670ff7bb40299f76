#pragma once

#include <QTableView>

namespace dataset {
class Dataset;
class DatasetModel;
}

namespace masterdata {

// An editable grid over a dataset, as the master data windows use it: the grid's
// current row is the dataset's current row, Enter moves to the next cell (the next
// row's first cell after the last), and a row the data layer refuses to write is
// reported with the data layer's own text and stays in edit.
class DataGrid : public QTableView {
    Q_OBJECT
public:
    explicit DataGrid(QWidget* parent = nullptr);

    void setDataset(dataset::Dataset* dataset);
    dataset::DatasetModel* datasetModel() const { return model_; }

    // Moves to the next visible cell; false at the last cell.
    bool moveToNextCell();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    dataset::DatasetModel* model_ = nullptr;
};

} // namespace masterdata
