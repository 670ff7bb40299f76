#include "masterdata/DBNavigator.h"

#include "dataset/Dataset.h"
#include "ui/Dialogs.h"

#include <QHBoxLayout>
#include <QToolButton>

namespace masterdata {
namespace {

struct ButtonLook {
    DBNavigator::Button button;
    const char* name;
    const char* symbol;
    const char* caption;
};

const ButtonLook kLooks[] = {
    {DBNavigator::Button::First, "nbFirst", "|◀", "第一条"},
    {DBNavigator::Button::Prior, "nbPrior", "◀", "上一条"},
    {DBNavigator::Button::Next, "nbNext", "▶", "下一条"},
    {DBNavigator::Button::Last, "nbLast", "▶|", "最后一条"},
    {DBNavigator::Button::Insert, "nbInsert", "+", "插入"},
    {DBNavigator::Button::Delete, "nbDelete", "−", "删除"},
};

const ButtonLook& lookOf(DBNavigator::Button button) {
    for (const ButtonLook& look : kLooks)
        if (look.button == button)
            return look;
    return kLooks[0];
}

} // namespace

DBNavigator::DBNavigator(const QList<Button>& buttons, QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const Button which : buttons) {
        const ButtonLook& look = lookOf(which);
        auto* button = new QToolButton(this);
        button->setObjectName(QLatin1String(look.name));
        button->setText(QString::fromUtf8(look.symbol));
        button->setToolTip(QString::fromUtf8(look.caption));
        button->setAccessibleName(QString::fromUtf8(look.caption));
        button->setEnabled(false);
        layout->addWidget(button);
        connect(button, &QToolButton::clicked, this, [this, which] { click(which); });
        buttons_.append({which, button});
    }
}

void DBNavigator::setDataset(dataset::Dataset* dataset) {
    if (dataset_)
        disconnect(dataset_, nullptr, this, nullptr);
    dataset_ = dataset;
    if (dataset_) {
        connect(dataset_, &dataset::Dataset::currentRowChanged, this, &DBNavigator::updateButtons);
        connect(dataset_, &dataset::Dataset::stateChanged, this, &DBNavigator::updateButtons);
        connect(dataset_, &dataset::Dataset::reset, this, &DBNavigator::updateButtons);
        connect(dataset_, &dataset::Dataset::rowRemoved, this, &DBNavigator::updateButtons);
        connect(dataset_, &dataset::Dataset::rowInserted, this, &DBNavigator::updateButtons);
    }
    updateButtons();
}

QToolButton* DBNavigator::button(Button which) const {
    for (const auto& [kind, button] : buttons_)
        if (kind == which)
            return button;
    return nullptr;
}

void DBNavigator::click(Button which) {
    if (!dataset_ || !dataset_->isOpen())
        return;
    try {
        switch (which) {
        case Button::First: dataset_->first(); break;
        case Button::Prior: dataset_->prior(); break;
        case Button::Next: dataset_->next(); break;
        case Button::Last: dataset_->last(); break;
        case Button::Insert: dataset_->append(); break;
        case Button::Delete:
            deleteCurrentRow();
            break;
        }
    } catch (const sql::Error& error) {
        ui::fail(this, error.message());
    }
    updateButtons();
}

// Deleting a new row drops it. The grids are held back meanwhile: a grid told that
// the row goes away would move its current row first, and leaving the new row would
// write it.
void DBNavigator::deleteCurrentRow() {
    if (dataset_->state() == dataset::Dataset::State::Insert) {
        dataset::ControlsDisabled quiet(*dataset_);
        dataset_->deleteRecord();
    } else if (!dataset_->isEmpty()) {
        dataset_->deleteRecord();
    }
}

void DBNavigator::updateButtons() {
    const bool open = dataset_ && dataset_->isOpen();
    const int row = open ? dataset_->row() : -1;
    const int count = open ? dataset_->recordCount() : 0;
    const bool modifiable = open && dataset_->canModify();
    for (const auto& [kind, button] : buttons_) {
        switch (kind) {
        case Button::First:
        case Button::Prior: button->setEnabled(row > 0); break;
        case Button::Next:
        case Button::Last: button->setEnabled(row >= 0 && row < count - 1); break;
        case Button::Insert: button->setEnabled(modifiable); break;
        case Button::Delete: button->setEnabled(modifiable && count > 0); break;
        }
    }
}

} // namespace masterdata
