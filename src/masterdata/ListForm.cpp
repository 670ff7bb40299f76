#include "masterdata/ListForm.h"

#include "masterdata/DBNavigator.h"
#include "masterdata/DataGrid.h"
#include "masterdata/FormHelpers.h"
#include "shell/DataModule.h"
#include "ui/Dialogs.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>

namespace masterdata {

ListForm::ListForm(shell::TDM_CS& dm, const Setup& setup, QWidget* parent) : QWidget(parent), list_(query_) {
    setObjectName(QLatin1String(setup.formName));
    setWindowTitle(QString::fromUtf8(setup.caption));
    query_.setObjectName(QLatin1String(setup.queryName));
    query_.setConnection(&dm.ADOConnection1);
    query_.setCommandText(QString::fromUtf8(setup.statement));
    for (const ListColumn& column : setup.columns)
        query_.addColumn(QLatin1String(column.name))
            .setDisplayLabel(QString::fromUtf8(column.label))
            .setVisible(column.visible);

    dataset::Dataset::Events& events = query_.events();
    events.afterInsert = [this](dataset::Dataset&) { list_.mark(); };
    events.afterDelete = [this](dataset::Dataset&) { list_.mark(); };
    events.fieldChanged = [this](dataset::Field) { list_.mark(); };

    buildControls();
    try {
        query_.open();
    } catch (const sql::Error& error) {
        ui::fail(this, error.message());
    }
}

ListForm::~ListForm() = default;

void ListForm::buildControls() {
    SpeedButton1 = makeSpeedButton(this, "SpeedButton1", "保存[&S]");
    SpeedButton5 = makeSpeedButton(this, "SpeedButton5", "退出[&E]");
    DBNavigator1 = new DBNavigator({DBNavigator::Button::Insert, DBNavigator::Button::Delete}, this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setDataset(&query_);
    DBGridEh1 = new DataGrid(this);
    DBGridEh1->setObjectName(QStringLiteral("DBGridEh1"));
    DBGridEh1->setAccessibleName(windowTitle());
    DBGridEh1->setDataset(&query_);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SpeedButton1);
    buttons->addWidget(SpeedButton5);
    buttons->addSpacing(16);
    buttons->addWidget(DBNavigator1);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(DBGridEh1, 1);
    resize(720, 480);

    connect(SpeedButton1, &QToolButton::clicked, this, &ListForm::SpeedButton1Click);
    connect(SpeedButton5, &QToolButton::clicked, this, &ListForm::SpeedButton5Click);
}

void ListForm::SpeedButton1Click() {
    saveWithMessages(this, list_);
}

void ListForm::SpeedButton5Click() {
    closeForm(this);
}

void ListForm::showEvent(QShowEvent* event) {
    if (!event->spontaneous())
        list_.clearMark();
    QWidget::showEvent(event);
}

void ListForm::closeEvent(QCloseEvent* event) {
    if (confirmClose(this, list_))
        event->accept();
    else
        event->ignore();
}

} // namespace masterdata
