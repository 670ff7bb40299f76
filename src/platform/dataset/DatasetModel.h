#pragma once

#include "dataset/Dataset.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QPointer>
#include <QSet>

class QItemSelectionModel;

namespace dataset {

// What a grid shows under a column.
struct Footer {
    enum class Kind { None, Sum, Count, Text };
    Kind kind = Kind::None;
    QString column;  // Sum: the column added up (may differ from the column it stands under)
    QString text;    // Text: the fixed text

    // The sum over the rows shown, in that column's display format.
    static Footer sumOf(const QString& column) { return {Kind::Sum, column, {}}; }
    // The number of rows shown.
    static Footer count() { return {Kind::Count, {}, {}}; }
    static Footer fixedText(const QString& text) { return {Kind::Text, {}, text}; }
};

// A table model for QTableView grids over a dataset: one model column per visible
// dataset column, headed by its display label; DisplayRole gives the display text,
// EditRole the plain text, TextAlignmentRole the column's alignment. Cells are
// editable where the dataset can be modified and the column is not read-only; an
// edit moves the dataset to the row, puts it into editing and sets the value, and the
// row is posted when the cursor leaves it, as in a data-aware grid. Errors of such an
// edit or move are reported through errorOccurred(), never thrown into the view.
class DatasetModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit DatasetModel(Dataset* dataset, QObject* parent = nullptr);

    Dataset* dataset() const { return dataset_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // Dataset column of a model column, and model column of a dataset column (-1 when hidden).
    int datasetColumn(int modelColumn) const;
    int modelColumn(const QString& name) const;

    // A read-only grid, or a grid column that cannot be edited although its dataset
    // column can (values that only the window's logic writes).
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return readOnly_; }
    void setColumnEditable(const QString& column, bool editable);

    // Footers by dataset column name; computed when asked, over the rows shown.
    void setFooter(const QString& column, const Footer& footer);
    bool hasFooters() const { return !footers_.isEmpty(); }
    QString footerText(int modelColumn) const;

    // The cell of the dataset's current row in a model column; invalid when the dataset is empty.
    QModelIndex currentIndex(int modelColumn = 0) const;
    // Moves the dataset to the row of the index; false (and errorOccurred) when the row
    // being edited cannot be left.
    bool setCurrentIndex(const QModelIndex& index);
    // Keeps a view's current row and the dataset's current row together, both ways.
    void followSelection(QItemSelectionModel* selection);

signals:
    void footersChanged();
    void errorOccurred(const QString& message);

private:
    void rebuildColumns();
    void datasetReset();
    void valuesChanged();
    bool isEditable(int modelColumn) const;
    QString sumText(const Footer& footer) const;
    void currentRowMoved(int row);
    void viewCurrentChanged(const QModelIndex& current);

    QPointer<Dataset> dataset_;
    std::vector<int> columns_;  // dataset column per model column
    int rows_ = 0;              // the row count the views were last told
    bool readOnly_ = false;
    QSet<QString> notEditable_;            // upper-case names
    QHash<QString, Footer> footers_;       // upper-case names
    mutable QHash<int, QString> footerTexts_;  // by model column, until the values change
    QPointer<QItemSelectionModel> selection_;
    bool syncing_ = false;
    bool removingRow_ = false;
};

} // namespace dataset
