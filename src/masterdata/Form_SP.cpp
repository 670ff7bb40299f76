#include "masterdata/Form_SP.h"

#include "dataset/DatasetModel.h"
#include "masterdata/BMTP.h"
#include "masterdata/DBNavigator.h"
#include "masterdata/DataGrid.h"
#include "masterdata/FormHelpers.h"
#include "masterdata/Form_SP_ZX.h"
#include "masterdata/PictureView.h"
#include "masterdata/ProductList.h"
#include "reports/ExportPrint.h"
#include "shell/DataModule.h"
#include "ui/BusyCursor.h"
#include "ui/Dialogs.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace masterdata {
namespace {

constexpr int kCodeRole = Qt::UserRole;

} // namespace

TFormSP::TFormSP(shell::TDM_CS& dm, QWidget* parent) : QWidget(parent), dm_(dm), list_(Query_SP) {
    setObjectName(QStringLiteral("FormSP"));
    setWindowTitle(QStringLiteral("商品资料"));
    Query_SP.setObjectName(QStringLiteral("Query_SP"));
    Query_splb.setObjectName(QStringLiteral("Query_splb"));
    query_ls.setObjectName(QStringLiteral("query_ls"));
    for (dataset::Dataset* query : {&Query_SP, &Query_splb, &query_ls})
        query->setConnection(&dm_.ADOConnection1);
    setUpProductColumns(Query_SP);

    dataset::Dataset::Events& events = Query_SP.events();
    events.afterInsert = [this](dataset::Dataset& products) { Query_SPAfterInsert(products); };
    events.beforeDelete = [this](dataset::Dataset& products) { return Query_SPBeforeDelete(products); };
    events.afterDelete = [this](dataset::Dataset&) { list_.mark(); };
    events.fieldChanged = [this](dataset::Field) { list_.mark(); };

    buildControls();
    connect(&TBM_TP::instance(dm_), &TBM_TP::pictureStored, this, &TFormSP::pictureStored);
    buildCategoryTree();
}

TFormSP::~TFormSP() = default;

void TFormSP::buildControls() {
    SpeedButton1 = makeSpeedButton(this, "SpeedButton1", "保存[&S]");
    SpeedButton4 = makeSpeedButton(this, "SpeedButton4", "导出[&O]");
    SpeedButton2 = makeSpeedButton(this, "SpeedButton2", "简拼[&J]");
    SpeedButton3 = makeSpeedButton(this, "SpeedButton3", "打印[&P]");
    SpeedButton5 = makeSpeedButton(this, "SpeedButton5", "退出[&E]");

    Label1 = makeLabel(this, "Label1", "过滤：");
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Label1->setBuddy(Edit1);
    DBNavigator1 = new DBNavigator({DBNavigator::Button::First, DBNavigator::Button::Prior, DBNavigator::Button::Next,
                                    DBNavigator::Button::Last, DBNavigator::Button::Insert, DBNavigator::Button::Delete},
                                   this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setDataset(&Query_SP);
    Label2 = makeLabel(this, "Label2", "共有");
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setReadOnly(true);
    Edit2->setMaximumWidth(80);
    Label2->setBuddy(Edit2);
    Label3 = makeLabel(this, "Label3", "行商品");
    CheckBox1 = new QCheckBox(QStringLiteral("显示预览图"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));

    TV_LB = new QTreeWidget(this);
    TV_LB->setObjectName(QStringLiteral("TV_LB"));
    TV_LB->setAccessibleName(QStringLiteral("商品类别"));
    TV_LB->setHeaderHidden(true);
    TV_LB->setEditTriggers(QAbstractItemView::NoEditTriggers);

    DBGridEh1 = new DataGrid(this);
    DBGridEh1->setObjectName(QStringLiteral("DBGridEh1"));
    DBGridEh1->setAccessibleName(windowTitle());
    DBGridEh1->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed
                               | QAbstractItemView::AnyKeyPressed);
    DBGridEh1->setDataset(&Query_SP);
    DBGridEh1->datasetModel()->setColumnEditable(QStringLiteral("JCSL"), false);

    Panel4 = new QFrame(this);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    Panel4->setFrameShape(QFrame::StyledPanel);
    Image1 = new PictureView(Panel4);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAccessibleName(CheckBox1->text());
    auto* panelLayout = new QVBoxLayout(Panel4);
    panelLayout->setContentsMargins(2, 2, 2, 2);
    panelLayout->addWidget(Image1);
    Panel4->setVisible(false);

    auto* buttons = new QHBoxLayout;
    for (QToolButton* button : {SpeedButton1, SpeedButton4, SpeedButton2, SpeedButton3, SpeedButton5})
        buttons->addWidget(button);
    buttons->addSpacing(16);
    buttons->addWidget(Label1);
    buttons->addWidget(Edit1, 1);
    buttons->addWidget(DBNavigator1);
    buttons->addWidget(Label2);
    buttons->addWidget(Edit2);
    buttons->addWidget(Label3);
    buttons->addWidget(CheckBox1);

    auto* body = new QSplitter(Qt::Horizontal, this);
    body->addWidget(TV_LB);
    body->addWidget(DBGridEh1);
    body->addWidget(Panel4);
    body->setStretchFactor(1, 1);
    body->setSizes({180, 600, 240});

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(body, 1);
    resize(1000, 600);

    connect(SpeedButton1, &QToolButton::clicked, this, &TFormSP::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TFormSP::SpeedButton2Click);
    connect(SpeedButton3, &QToolButton::clicked, this, &TFormSP::SpeedButton3Click);
    connect(SpeedButton4, &QToolButton::clicked, this, &TFormSP::SpeedButton4Click);
    connect(SpeedButton5, &QToolButton::clicked, this, &TFormSP::SpeedButton5Click);
    connect(Edit1, &QLineEdit::textChanged, this, &TFormSP::Edit1Change);
    connect(CheckBox1, &QCheckBox::toggled, this, &TFormSP::CheckBox1Click);
    connect(TV_LB, &QTreeWidget::currentItemChanged, this, &TFormSP::TV_LBChange);
    connect(DBGridEh1, &QAbstractItemView::clicked, this, &TFormSP::DBGridEh1CellClick);
    connect(DBGridEh1, &QAbstractItemView::doubleClicked, this, &TFormSP::DBGridEh1DblClick);
}

void TFormSP::buildCategoryTree() {
    TV_LB->clear();
    auto* root = new QTreeWidgetItem(TV_LB, {QStringLiteral("商品类别")});
    root->setData(0, kCodeRole, kAllCategories);
    try {
        Query_splb.close();
        Query_splb.setCommandText(kCategoryStatement);
        Query_splb.open();
        for (int row = 0; row < Query_splb.recordCount(); ++row) {
            const dataset::Record category = Query_splb.record(row);
            auto* node = new QTreeWidgetItem(root, {category.text("BM") + QLatin1Char('.') + category.text("MC")});
            node->setData(0, kCodeRole, category.text("BM"));
        }
    } catch (const sql::Error& error) {
        ui::fail(this, error.message());
    }
    root->setExpanded(true);
    TV_LB->setCurrentItem(root);
}

void TFormSP::TV_LBChange(QTreeWidgetItem* node, QTreeWidgetItem* previous) {
    if (!node)
        return;
    try {
        if (Query_SP.isOpen())
            Query_SP.checkBrowseMode();
    } catch (const sql::Error& error) {
        ui::fail(this, error.message());
        const QSignalBlocker keep(TV_LB);
        TV_LB->setCurrentItem(previous);
        return;
    }
    category_ = node->data(0, kCodeRole).toString();
    loadCategory();
}

void TFormSP::loadCategory() {
    try {
        Query_SP.setCommandText(productListStatement(category_));
        Query_SP.open();
    } catch (const sql::Error& error) {
        ui::fail(this, error.message());
    }
    Edit2->setText(QString::number(Query_SP.recordCount()));
}

void TFormSP::Edit1Change(const QString& text) {
    if (Query_SP.isOpen())
        filterProducts(Query_SP, text);
}

void TFormSP::CheckBox1Click(bool checked) {
    Panel4->setVisible(checked);
}

void TFormSP::Query_SPAfterInsert(dataset::Dataset& products) {
    if (category_ == kAllCategories) {
        ui::notify(this, QStringLiteral("请选择类别！"));
        return;
    }
    products.field(QStringLiteral("LB")).setValue(category_);
    list_.mark();
}

bool TFormSP::Query_SPBeforeDelete(dataset::Dataset& products) {
    if (productUseCount(query_ls, products.field(QStringLiteral("BM")).asString()) > 0) {
        ui::warn(this, kProductInUseText, QStringLiteral("提示："));
        return false;
    }
    return true;
}

void TFormSP::SpeedButton1Click() {
    saveWithMessages(this, list_);
}

void TFormSP::SpeedButton2Click() {
    if (!Query_SP.isOpen() || Query_SP.isEmpty())
        return;
    if (ui::ask(this, QStringLiteral("提示"), QStringLiteral("您确定要重新生成简拼吗？"), ui::Icon::Question,
                ui::Button::Yes | ui::Button::No, ui::Button::No)
        != ui::Button::Yes)
        return;
    QString failure;
    {
        ui::BusyCursor busy;
        Tformspzx progress(this);
        progress.setLowest(1);
        progress.setHighest(Query_SP.recordCount());
        progress.show();
        dataset::ControlsDisabled quiet(Query_SP);
        try {
            regeneratePinyin(dm_, Query_SP, [&progress](int row) { progress.setPosition(row); });
        } catch (const sql::Error& error) {
            failure = error.message();
        }
    }
    if (!failure.isEmpty())
        ui::fail(this, failure);
}

void TFormSP::SpeedButton3Click() {
    reports::PrintDataSet(dm_, windowTitle(), QString(), QString(), Query_SP, 9, 0, 0, 0, this);
}

void TFormSP::SpeedButton4Click() {
    reports::ExportDataSet(Query_SP, windowTitle(), QStringLiteral("黑体"), 18, this);
}

void TFormSP::SpeedButton5Click() {
    closeForm(this);
}

void TFormSP::DBGridEh1CellClick(const QModelIndex& index) {
    if (!index.isValid() || index.row() >= Query_SP.recordCount())
        return;
    const QString picture = Query_SP.record(index.row()).text(QStringLiteral("TP"));
    if (picture.isEmpty() || !QFileInfo(picture).isFile() || !Image1->load(picture))
        Image1->clear();
}

void TFormSP::DBGridEh1DblClick(const QModelIndex& index) {
    if (!index.isValid() || !Query_SP.moveTo(index.row()))
        return;
    TBM_TP::instance(dm_).showFor(Query_SP.field(QStringLiteral("BM")).asString(), kPictureCallerProducts);
}

// After the picture window stored a path: read the list again and come back to the
// same row position.
void TFormSP::pictureStored(const QString& caller) {
    if (caller != kPictureCallerProducts || !Query_SP.isOpen())
        return;
    const int position = Query_SP.recordNo();
    try {
        Query_SP.refresh();
    } catch (const sql::Error& error) {
        ui::fail(this, error.message());
        return;
    }
    if (position > 0 && !Query_SP.isEmpty())
        Query_SP.moveTo(std::min(position, Query_SP.recordCount()) - 1);
}

void TFormSP::showEvent(QShowEvent* event) {
    if (!event->spontaneous())
        list_.clearMark();
    QWidget::showEvent(event);
}

void TFormSP::closeEvent(QCloseEvent* event) {
    if (confirmClose(this, list_))
        event->accept();
    else
        event->ignore();
}

} // namespace masterdata
