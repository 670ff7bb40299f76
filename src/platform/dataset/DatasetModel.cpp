#include "dataset/DatasetModel.h"

#include <QItemSelectionModel>

namespace dataset {

DatasetModel::DatasetModel(Dataset* dataset, QObject* parent) : QAbstractTableModel(parent), dataset_(dataset) {
    rebuildColumns();
    rows_ = dataset->recordCount();
    connect(dataset, &Dataset::aboutToReset, this, [this] { beginResetModel(); });
    connect(dataset, &Dataset::reset, this, &DatasetModel::datasetReset);
    connect(dataset, &Dataset::columnsChanged, this, [this] {
        beginResetModel();
        rebuildColumns();
        endResetModel();
        valuesChanged();
    });
    connect(dataset, &Dataset::rowAboutToBeInserted, this, [this](int row) { beginInsertRows({}, row, row); });
    connect(dataset, &Dataset::rowInserted, this, [this] {
        ++rows_;
        endInsertRows();
        valuesChanged();
    });
    // While a row goes, the view moves its current index off it; that move is the view's
    // own and must not move the dataset (which would post a new row being abandoned).
    connect(dataset, &Dataset::rowAboutToBeRemoved, this, [this](int row) {
        removingRow_ = true;
        beginRemoveRows({}, row, row);
    });
    connect(dataset, &Dataset::rowRemoved, this, [this] {
        --rows_;
        endRemoveRows();
        removingRow_ = false;
        valuesChanged();
    });
    connect(dataset, &Dataset::rowChanged, this, [this](int row) {
        if (row >= 0 && row < rows_ && !columns_.empty())
            emit dataChanged(index(row, 0), index(row, int(columns_.size()) - 1));
        valuesChanged();
    });
    connect(dataset, &Dataset::currentRowChanged, this, &DatasetModel::currentRowMoved);
    connect(dataset, &QObject::destroyed, this, [this] {
        beginResetModel();
        columns_.clear();
        rows_ = 0;
        endResetModel();
    });
}

void DatasetModel::rebuildColumns() {
    columns_.clear();
    if (!dataset_)
        return;
    for (int c = 0; c < dataset_->columnCount(); ++c)
        if (dataset_->column(c).isVisible())
            columns_.push_back(c);
}

void DatasetModel::datasetReset() {
    rebuildColumns();
    rows_ = dataset_->recordCount();
    endResetModel();
    valuesChanged();
}

void DatasetModel::valuesChanged() {
    footerTexts_.clear();
    emit footersChanged();
}

int DatasetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int DatasetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(columns_.size());
}

int DatasetModel::datasetColumn(int modelColumn) const {
    return modelColumn >= 0 && modelColumn < int(columns_.size()) ? columns_[modelColumn] : -1;
}

int DatasetModel::modelColumn(const QString& name) const {
    const int column = dataset_ ? dataset_->indexOf(name) : -1;
    const auto found = std::find(columns_.begin(), columns_.end(), column);
    return column < 0 || found == columns_.end() ? -1 : int(found - columns_.begin());
}

QVariant DatasetModel::data(const QModelIndex& index, int role) const {
    const int column = datasetColumn(index.column());
    // While the dataset's controls are disabled the views keep the old row count.
    if (!dataset_ || column < 0 || index.row() < 0 || index.row() >= dataset_->recordCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return dataset_->record(index.row()).displayText(column);
    case Qt::EditRole:
        return dataset_->record(index.row()).text(column);
    case Qt::TextAlignmentRole:
        return int(dataset_->column(column).alignment() | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    const int column = datasetColumn(section);
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && column >= 0)
        return dataset_->column(column).displayLabel();
    return QAbstractTableModel::headerData(section, orientation, role);
}

bool DatasetModel::isEditable(int modelColumn) const {
    const int column = datasetColumn(modelColumn);
    if (readOnly_ || column < 0 || !dataset_->canModify())
        return false;
    const Column& c = dataset_->column(column);
    return !c.isReadOnly() && !notEditable_.contains(c.name().toUpper());
}

Qt::ItemFlags DatasetModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && isEditable(index.column()))
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool DatasetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || !isEditable(index.column()))
        return false;
    try {
        if (!dataset_->moveTo(index.row()) || !dataset_->edit())
            return false;
        dataset_->field(datasetColumn(index.column())).setValue(value);
        return true;
    } catch (const sql::Error& error) {
        emit errorOccurred(error.message());
        return false;
    }
}

void DatasetModel::setReadOnly(bool readOnly) {
    readOnly_ = readOnly;
}

void DatasetModel::setColumnEditable(const QString& column, bool editable) {
    if (editable)
        notEditable_.remove(column.toUpper());
    else
        notEditable_.insert(column.toUpper());
}

void DatasetModel::setFooter(const QString& column, const Footer& footer) {
    footers_.insert(column.toUpper(), footer);
    valuesChanged();
}

QString DatasetModel::footerText(int modelColumn) const {
    const int column = datasetColumn(modelColumn);
    if (column < 0)
        return QString();
    const auto cached = footerTexts_.constFind(modelColumn);
    if (cached != footerTexts_.constEnd())
        return *cached;
    const Footer footer = footers_.value(dataset_->column(column).name().toUpper());
    QString text;
    switch (footer.kind) {
    case Footer::Kind::None:
        break;
    case Footer::Kind::Text:
        text = footer.text;
        break;
    case Footer::Kind::Count:
        text = QString::number(dataset_->recordCount());
        break;
    case Footer::Kind::Sum:
        text = sumText(footer);
        break;
    }
    footerTexts_.insert(modelColumn, text);
    return text;
}

// Adds what reads as a number; a cell that holds words adds nothing.
QString DatasetModel::sumText(const Footer& footer) const {
    const int column = dataset_->indexOf(footer.column);
    if (column < 0)
        return QString();
    text::Decimal sum;
    for (int row = 0; row < dataset_->recordCount(); ++row)
        if (const auto value = text::Decimal::parse(dataset_->record(row).text(column)))
            sum += *value;
    const QString& format = dataset_->column(column).displayFormat();
    return format.isEmpty() ? sum.toString() : sum.format(format);
}

QModelIndex DatasetModel::currentIndex(int modelColumn) const {
    if (!dataset_ || dataset_->row() < 0 || dataset_->row() >= rows_)
        return {};
    return index(dataset_->row(), modelColumn);
}

bool DatasetModel::setCurrentIndex(const QModelIndex& index) {
    if (!index.isValid() || !dataset_)
        return false;
    try {
        return dataset_->moveTo(index.row());
    } catch (const sql::Error& error) {
        emit errorOccurred(error.message());
        return false;
    }
}

void DatasetModel::followSelection(QItemSelectionModel* selection) {
    if (selection_)
        disconnect(selection_, nullptr, this, nullptr);
    selection_ = selection;
    connect(selection, &QItemSelectionModel::currentChanged, this, &DatasetModel::viewCurrentChanged);
    currentRowMoved(dataset_ ? dataset_->row() : -1);
}

void DatasetModel::viewCurrentChanged(const QModelIndex& current) {
    if (syncing_ || removingRow_ || !current.isValid() || !dataset_ || current.row() == dataset_->row())
        return;
    if (!setCurrentIndex(current))
        currentRowMoved(dataset_->row());  // the view goes back to the row that could not be left
}

void DatasetModel::currentRowMoved(int row) {
    if (syncing_ || !selection_)
        return;
    syncing_ = true;
    const QModelIndex viewCurrent = selection_->currentIndex();
    const int column = viewCurrent.isValid() ? viewCurrent.column() : 0;
    if (row < 0 || row >= rows_ || columns_.empty())
        selection_->clearCurrentIndex();
    else if (viewCurrent.row() != row)
        selection_->setCurrentIndex(index(row, column),
                                    QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    syncing_ = false;
}

} // namespace dataset
