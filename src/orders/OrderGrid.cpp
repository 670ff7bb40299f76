#include "orders/OrderGrid.h"

#include "dataset/DatasetModel.h"

#include <QAction>
#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QStyledItemDelegate>

namespace orders {

// The footer row under the grid's columns, scrolled and sized with them.
class GridFooter : public QWidget {
public:
    explicit GridFooter(OrderGrid* grid) : grid_(grid) {
        setObjectName(QStringLiteral("Footer"));
        QFont bold = font();
        bold.setBold(true);
        setFont(bold);
        setFixedHeight(fontMetrics().height() + 8);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), palette().window());
        painter.setPen(palette().mid().color());
        painter.drawLine(0, 0, width(), 0);
        painter.setPen(palette().windowText().color());
        const QHeaderView* header = grid_->horizontalHeader();
        const dataset::DatasetModel* model = grid_->datasetModel();
        if (!model)
            return;
        // The footer lies under the grid; its cells line up with the grid's viewport.
        const int offset = grid_->viewport()->mapTo(grid_, QPoint(0, 0)).x();
        painter.setClipRect(offset, 0, grid_->viewport()->width(), height());
        for (int column = 0; column < model->columnCount(); ++column) {
            if (header->isSectionHidden(column))
                continue;
            const QRect cell(offset + header->sectionViewportPosition(column) + 4, 0, header->sectionSize(column) - 8,
                             height());
            const Qt::Alignment alignment = model->dataset()->column(model->datasetColumn(column)).alignment();
            painter.drawText(cell, int(alignment | Qt::AlignVCenter), grid_->footerText(column));
        }
    }

private:
    OrderGrid* grid_;
};

// Cells write back only what changed; the edit-button column's editor carries the ellipsis.
class CellDelegate : public QStyledItemDelegate {
public:
    explicit CellDelegate(OrderGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        auto* line = qobject_cast<QLineEdit*>(editor);
        if (line && isEditButtonColumn(index)) {
            QAction* ellipsis = line->addAction(ellipsisIcon(), QLineEdit::TrailingPosition);
            ellipsis->setObjectName(QStringLiteral("EditButton"));
            ellipsis->setText(QStringLiteral("…"));
            ellipsis->setToolTip(QStringLiteral("选择商品"));
            QObject::connect(ellipsis, &QAction::triggered, grid_, [grid = grid_, line] { grid->editButtonPressed(line); });
        }
        grid_->editorOpened(editor);
        return editor;
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
        const auto* line = qobject_cast<QLineEdit*>(editor);
        if (line && line->text() == index.data(Qt::EditRole).toString())
            return;
        QStyledItemDelegate::setModelData(editor, model, index);
    }

private:
    bool isEditButtonColumn(const QModelIndex& index) const {
        const dataset::DatasetModel* model = grid_->datasetModel();
        const int column = model ? model->datasetColumn(index.column()) : -1;
        return column >= 0 && !grid_->editButtonColumn().isEmpty()
               && model->dataset()->column(column).name().compare(grid_->editButtonColumn(), Qt::CaseInsensitive) == 0;
    }

    static QIcon ellipsisIcon() {
        QPixmap picture(16, 16);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        painter.drawText(picture.rect(), Qt::AlignCenter, QStringLiteral("…"));
        return QIcon(picture);
    }

    OrderGrid* grid_;
};

OrderGrid::OrderGrid(QWidget* parent) : masterdata::DataGrid(parent), footer_(new GridFooter(this)) {
    footer_->setParent(parent);
    setItemDelegate(new CellDelegate(this));
    setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed);
    connect(horizontalHeader(), &QHeaderView::sectionResized, footer_, qOverload<>(&QWidget::update));
    connect(horizontalHeader(), &QHeaderView::geometriesChanged, footer_, qOverload<>(&QWidget::update));
    connect(horizontalHeader(), &QHeaderView::sectionMoved, footer_, qOverload<>(&QWidget::update));
}

void OrderGrid::bind(dataset::Dataset* dataset) {
    setDataset(dataset);
    connect(datasetModel(), &dataset::DatasetModel::footersChanged, footer_, qOverload<>(&QWidget::update));
}

OrderGrid::~OrderGrid() {
    delete footer_.data();
}

QWidget* OrderGrid::footer() const {
    return footer_;
}

QString OrderGrid::footerText(int modelColumn) const {
    return datasetModel() ? datasetModel()->footerText(modelColumn) : QString();
}

void OrderGrid::commitOpenEditor() {
    if (state() != QAbstractItemView::EditingState || !openEditor_ || !openEditor_->isVisible())
        return;
    QWidget* editor = openEditor_;
    commitData(editor);
    QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void OrderGrid::editButtonPressed(QWidget* editor) {
    QTableView::closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
    emit editButtonClicked();
}

// Writing a cell may remove its line (an unknown product code): the view has then
// released the editor already.
void OrderGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    if (editor->isVisible())
        masterdata::DataGrid::closeEditor(editor, hint);
}

void OrderGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    if (previous.isValid() && current != previous)
        emit columnExited();
    masterdata::DataGrid::currentChanged(current, previous);
}

void OrderGrid::scrollContentsBy(int dx, int dy) {
    masterdata::DataGrid::scrollContentsBy(dx, dy);
    if (dx != 0)
        footer_->update();
}

} // namespace orders
