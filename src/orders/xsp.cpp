#include "orders/xsp.h"

#include "masterdata/DBNavigator.h"
#include "masterdata/DataGrid.h"
#include "masterdata/FormHelpers.h"
#include "masterdata/ProductList.h"
#include "orders/Form_xsd.h"
#include "ui/KeyPreview.h"
#include "orders/OrderTexts.h"
#include "reports/ExportPrint.h"
#include "shell/AppInfo.h"
#include "shell/DataModule.h"
#include "sql/Dialect.h"
#include "ui/Dialogs.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace orders {
namespace {

constexpr int kCodeRole = Qt::UserRole;

QToolButton* makeSpeedButton(QWidget* parent, const char* name, const char* caption) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(QString::fromUtf8(caption));
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setMinimumWidth(72);
    return button;
}

// The products of a category and of every category whose code begins with its code.
QString categoryStatement(const QString& category) {
    return QStringLiteral("select * from bm_sp where  (LB like ") + sql::quoted(category + QLatin1Char('%'))
           + QStringLiteral(") order by BM");
}

void setUpColumns(dataset::Dataset& products) {
    struct Caption {
        const char* name;
        const char* label;
    };
    const Caption captions[] = {
        {"BM", "商品编码"}, {"MC", "商品名称"}, {"TXM", "条形码"},     {"DW", "单位"},  {"CBJ", "价格"}, {"YJ", "押金"},
        {"ZJ", "租金"},     {"KCSL", "库存数量"}, {"JCSL", "借出数量"}, {"JP", "简拼"}, {"LB", "类别"},
    };
    for (const Caption& caption : captions)
        products.addColumn(QLatin1String(caption.name)).setDisplayLabel(QString::fromUtf8(caption.label));
    products.column("TXM").setVisible(false);
    for (const char* money : {"CBJ", "YJ", "ZJ"})
        products.column(QLatin1String(money)).setDisplayFormat(QStringLiteral("#0.00"));
}

bool isInside(const QWidget* widget, const QWidget* area) {
    return widget == area || area->isAncestorOf(widget);
}

} // namespace

TXZSP::TXZSP(shell::TDM_CS& dm, QWidget* parent) : QWidget(parent, Qt::Window), dm_(dm), list_(Query_SP) {
    setObjectName(QStringLiteral("TXZSP"));
    setWindowTitle(QStringLiteral("商品选择"));
    setWindowModality(Qt::ApplicationModal);
    Query_SP.setObjectName(QStringLiteral("Query_SP"));
    Query_LB.setObjectName(QStringLiteral("Query_LB"));
    for (dataset::Dataset* query : {&Query_SP, &Query_LB})
        query->setConnection(&dm_.ADOConnection1);
    setUpColumns(Query_SP);

    dataset::Dataset::Events& events = Query_SP.events();
    events.afterInsert = [this](dataset::Dataset& products) { Query_SPAfterInsert(products); };
    events.beforeEdit = [this](dataset::Dataset&) {
        list_.mark();
        return true;
    };
    events.afterDelete = [this](dataset::Dataset&) { list_.mark(); };

    buildControls();
    ui::previewKeys(this, [this](QWidget* target, QKeyEvent* event) { return FormKeyPress(target, event); });
    resize(1000, 600);
}

TXZSP::~TXZSP() = default;

TXZSP& TXZSP::instance(shell::TDM_CS& dm) {
    return masterdata::windowOf<TXZSP>(dm);
}

void TXZSP::buildControls() {
    SpeedButton5 = makeSpeedButton(this, "SpeedButton5", "退出[&E]");
    SpeedButton4 = makeSpeedButton(this, "SpeedButton4", "导出[&O]");
    SpeedButton1 = makeSpeedButton(this, "SpeedButton1", "保存[&S]");
    Label1 = new QLabel(QStringLiteral("过滤："), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setAccessibleName(QStringLiteral("过滤"));
    Label1->setBuddy(Edit1);
    DBNavigator1 = new masterdata::DBNavigator(
        {masterdata::DBNavigator::Button::First, masterdata::DBNavigator::Button::Prior,
         masterdata::DBNavigator::Button::Next, masterdata::DBNavigator::Button::Last,
         masterdata::DBNavigator::Button::Insert, masterdata::DBNavigator::Button::Delete},
        this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setDataset(&Query_SP);

    TV_LB = new QTreeWidget(this);
    TV_LB->setObjectName(QStringLiteral("TV_LB"));
    TV_LB->setAccessibleName(QStringLiteral("商品类别"));
    TV_LB->setHeaderHidden(true);
    TV_LB->setEditTriggers(QAbstractItemView::NoEditTriggers);

    DBGridEh1 = new masterdata::DataGrid(this);
    DBGridEh1->setObjectName(QStringLiteral("DBGridEh1"));
    DBGridEh1->setAccessibleName(QStringLiteral("商品列表"));
    // A double click picks; typing edits.
    DBGridEh1->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed
                               | QAbstractItemView::AnyKeyPressed);
    DBGridEh1->setDataset(&Query_SP);

    auto* toolbar = new QHBoxLayout;
    for (QToolButton* button : {SpeedButton5, SpeedButton4, SpeedButton1})
        toolbar->addWidget(button);
    toolbar->addSpacing(16);
    toolbar->addWidget(Label1);
    toolbar->addWidget(Edit1, 1);
    toolbar->addWidget(DBNavigator1);

    auto* body = new QSplitter(Qt::Horizontal, this);
    body->addWidget(TV_LB);
    body->addWidget(DBGridEh1);
    body->setStretchFactor(1, 1);
    body->setSizes({200, 800});

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(toolbar);
    layout->addWidget(body, 1);

    connect(SpeedButton1, &QToolButton::clicked, this, &TXZSP::SpeedButton1Click);
    connect(SpeedButton4, &QToolButton::clicked, this, &TXZSP::SpeedButton4Click);
    connect(SpeedButton5, &QToolButton::clicked, this, &TXZSP::SpeedButton5Click);
    connect(Edit1, &QLineEdit::textChanged, this, &TXZSP::Edit1Change);
    connect(TV_LB, &QTreeWidget::currentItemChanged, this, &TXZSP::TV_LBChange);
    connect(DBGridEh1, &QAbstractItemView::doubleClicked, this, &TXZSP::DBGridEh1DblClick);
}

void TXZSP::showFor(Txsd* orderWindow) {
    PickerCaller = kOrderWindowCaller;
    orderWindow_ = orderWindow;
    if (orderWindow) {
        move(orderWindow->mapToGlobal(QPoint(0, 0)));
        resize(orderWindow->size());
    }
    show();
    raise();
    activateWindow();
}

void TXZSP::showEvent(QShowEvent* event) {
    if (!event->spontaneous())
        FormShow();
    QWidget::showEvent(event);
}

void TXZSP::FormShow() {
    Edit1->clear();
    buildTree();
    list_.clearMark();
}

void TXZSP::buildTree() {
    const QSignalBlocker quiet(TV_LB);
    TV_LB->clear();
    auto* root = new QTreeWidgetItem(TV_LB, {QStringLiteral("商品类别")});
    root->setData(0, kCodeRole, masterdata::kAllCategories);
    try {
        Query_LB.close();
        Query_LB.setCommandText(masterdata::kCategoryStatement);
        Query_LB.open();
        for (int row = 0; row < Query_LB.recordCount(); ++row) {
            const dataset::Record category = Query_LB.record(row);
            auto* node = new QTreeWidgetItem(root, {category.text("BM") + QLatin1Char('.') + category.text("MC")});
            node->setData(0, kCodeRole, category.text("BM"));
        }
    } catch (const sql::Error& error) {
        ui::fail(this, error.message());
    }
    root->setExpanded(true);
    TV_LB->setCurrentItem(root);
    category_ = masterdata::kAllCategories;
    loadCategory();
}

void TXZSP::TV_LBChange(QTreeWidgetItem* node, QTreeWidgetItem* previous) {
    if (!node)
        return;
    try {
        if (Query_SP.isOpen())
            Query_SP.checkBrowseMode();
    } catch (const sql::Error& error) {
        ui::fail(this, error.message());
        const QSignalBlocker quiet(TV_LB);
        TV_LB->setCurrentItem(previous);
        return;
    }
    category_ = node->data(0, kCodeRole).toString();
    loadCategory();
}

void TXZSP::loadCategory() {
    try {
        Query_SP.setCommandText(categoryStatement(category_));
        Query_SP.open();
    } catch (const sql::Error& error) {
        ui::fail(this, error.message());
    }
}

void TXZSP::Edit1Change(const QString& text) {
    masterdata::filterProducts(Query_SP, text);
}

void TXZSP::Query_SPAfterInsert(dataset::Dataset& products) {
    if (category_ == masterdata::kAllCategories) {
        ui::notify(this, QStringLiteral("请选择类别！"), shell::kApplicationTitle);
        return;
    }
    products.field(QStringLiteral("LB")).setValue(category_);
    list_.mark();
}

void TXZSP::SpeedButton1Click() {
    try {
        list_.save();
    } catch (const sql::Error&) {
        ui::warn(this, masterdata::kSaveFailedText);
        return;
    }
    ui::notify(this, texts::kSaved, shell::kApplicationTitle);
}

void TXZSP::SpeedButton4Click() {
    reports::ExportDataSet(Query_SP, windowTitle(), QStringLiteral("黑体"), 18, this);
}

void TXZSP::SpeedButton5Click() {
    close();
}

void TXZSP::DBGridEh1DblClick() {
    if (!Query_SP.isOpen() || Query_SP.isEmpty())
        return;
    const QString code = Query_SP.field(QStringLiteral("BM")).asString();
    if (PickerCaller != kOrderWindowCaller)
        return;
    if (orderWindow_)
        orderWindow_->pickIntoCurrentLine(code);
    close();
}

bool TXZSP::FormKeyPress(QWidget* target, QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return true;
    }
    const bool inGrid = isInside(target, DBGridEh1);
    if (ui::isEnterKey(event)) {
        if (inGrid)
            return false;  // Enter moves between the cells
        target->setFocus();
        focusNextChild();
        return true;
    }
    // "+" picks, except while it is being typed into the filter or a cell.
    const bool typing = target == Edit1 || (inGrid && target != DBGridEh1);
    if (event->text() == QLatin1String("+") && !typing) {
        DBGridEh1DblClick();
        return true;
    }
    return false;
}

bool TXZSP::FormCloseQuery() {
    if (!list_.isMarked())
        return true;
    const ui::Button answer = ui::ask(this, QStringLiteral("提示"), masterdata::kSaveQuestion, ui::Icon::Information,
                                      ui::Button::Yes | ui::Button::No | ui::Button::Cancel, ui::Button::Yes);
    switch (answer) {
    case ui::Button::Yes:
        try {
            list_.save();
            return true;
        } catch (const sql::Error&) {
            ui::inform(this, texts::kSaveFailed);
            return false;
        }
    case ui::Button::No:
        if (Query_SP.isOpen() && Query_SP.state() != dataset::Dataset::State::Browse)
            Query_SP.cancel();
        list_.dropUnsaved();
        return true;
    default:
        return false;
    }
}

void TXZSP::closeEvent(QCloseEvent* event) {
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    Query_SP.close();
    Query_LB.close();
    event->accept();
}

} // namespace orders
