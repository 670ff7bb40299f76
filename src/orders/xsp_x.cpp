#include "orders/xsp_x.h"

#include "masterdata/DataGrid.h"
#include "masterdata/FormHelpers.h"
#include "orders/Form_xsd.h"
#include "ui/KeyPreview.h"
#include "orders/xsp.h"
#include "shell/DataModule.h"
#include "ui/Dialogs.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace orders {

Txspx::Txspx(shell::TDM_CS& dm, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), dm_(dm) {
    setObjectName(QStringLiteral("Txspx"));
    setWindowTitle(QStringLiteral("商品选择"));
    query_sp.setObjectName(QStringLiteral("query_sp"));
    query_sp.setConnection(&dm_.ADOConnection1);
    query_sp.setReadOnly(true);
    setUpColumns();

    SpeedButton5 = new QToolButton(this);
    SpeedButton5->setObjectName(QStringLiteral("SpeedButton5"));
    SpeedButton5->setText(QStringLiteral("退出[&E]"));
    SpeedButton5->setToolButtonStyle(Qt::ToolButtonTextOnly);
    Label1 = new QLabel(QStringLiteral("双击或输入+ 可以直接选择商品"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    DBGridEh1 = new masterdata::DataGrid(this);
    DBGridEh1->setObjectName(QStringLiteral("DBGridEh1"));
    DBGridEh1->setAccessibleName(windowTitle());
    DBGridEh1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGridEh1->setDataset(&query_sp);

    auto* toolbar = new QHBoxLayout;
    toolbar->addWidget(SpeedButton5);
    toolbar->addSpacing(16);
    toolbar->addWidget(Label1);
    toolbar->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(toolbar);
    layout->addWidget(DBGridEh1, 1);
    resize(720, 320);

    connect(SpeedButton5, &QToolButton::clicked, this, &Txspx::SpeedButton5Click);
    connect(DBGridEh1, &QAbstractItemView::doubleClicked, this, &Txspx::DBGridEh1DblClick);
    ui::previewKeys(this, [this](QWidget* target, QKeyEvent* event) { return FormKeyPress(target, event); });
}

Txspx::~Txspx() = default;

Txspx& Txspx::instance(shell::TDM_CS& dm) {
    return masterdata::windowOf<Txspx>(dm);
}

void Txspx::setUpColumns() {
    struct Caption {
        const char* name;
        const char* label;
    };
    const Caption captions[] = {
        {"BM", "编码"}, {"MC", "名称"}, {"TXM", "附加特性"}, {"DW", "单位"}, {"CBJ", "价格"},
        {"YJ", "押金"}, {"ZJ", "租金"}, {"JP", "简拼"},     {"LB", "类别"},
    };
    for (const Caption& caption : captions)
        query_sp.addColumn(QLatin1String(caption.name)).setDisplayLabel(QString::fromUtf8(caption.label));
    query_sp.column("TXM").setVisible(false);
    for (const char* money : {"CBJ", "YJ", "ZJ"})
        query_sp.column(QLatin1String(money)).setDisplayFormat(QStringLiteral("#0.00"));
}

void Txspx::showList(const QString& statement, Txsd* orderWindow) {
    QuickListCaller = kOrderWindowCaller;
    orderWindow_ = orderWindow;
    try {
        query_sp.close();
        query_sp.setCommandText(statement);
        query_sp.open();
    } catch (const sql::Error& error) {
        ui::fail(orderWindow, error.message());
        return;
    }
    show();
    raise();
    activateWindow();
    DBGridEh1->setFocus();
}

void Txspx::DBGridEh1DblClick() {
    if (!query_sp.isOpen() || query_sp.isEmpty())
        return;
    const QString code = query_sp.field(QStringLiteral("BM")).asString();
    if (QuickListCaller != kOrderWindowCaller)
        return;
    close();
    if (orderWindow_)
        orderWindow_->appendPickedLine(code);
}

void Txspx::SpeedButton5Click() {
    close();
}

bool Txspx::FormKeyPress(QWidget*, QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return true;
    }
    if (ui::isEnterKey(event) || event->text() == QLatin1String("+")) {
        DBGridEh1DblClick();
        return true;
    }
    return false;
}

} // namespace orders
