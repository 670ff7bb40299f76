#include "orders/Form_xsd.h"

#include "dataset/DatasetModel.h"
#include "masterdata/BMTP.h"
#include "masterdata/DBNavigator.h"
#include "masterdata/FormHelpers.h"
#include "masterdata/PictureView.h"
#include "ui/KeyPreview.h"
#include "orders/OrderArithmetic.h"
#include "orders/OrderEntry.h"
#include "orders/OrderGrid.h"
#include "orders/OrderTexts.h"
#include "orders/PrintRoute.h"
#include "orders/Ticket.h"
#include "orders/UnsavedChanges.h"
#include "orders/xsp.h"
#include "orders/xsp_x.h"
#include "shell/AppInfo.h"
#include "shell/DataModule.h"
#include "ui/Dialogs.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QDateEdit>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScopedValueRollback>
#include <QToolButton>
#include <QVBoxLayout>

namespace orders {

namespace {

const QString kMoneyFormat = QStringLiteral("#0.00");
// The remark's width when no order is open to tell it.
constexpr int kRemarkWidth = 50;
// A date box shows its lowest date as an empty box: the column is null.
const QDate kNoDate(1900, 1, 1);

QToolButton* makeSpeedButton(QWidget* parent, const char* name, const char* caption) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(QString::fromUtf8(caption));
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setMinimumWidth(72);
    return button;
}

QPushButton* makeButton(QWidget* parent, const char* name, const char* caption) {
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

// A label whose control is found by the label's text.
QLabel* makeLabel(QWidget* parent, const char* text, QWidget* buddy) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(QStringLiteral("Label_") + buddy->objectName());
    label->setBuddy(buddy);
    buddy->setAccessibleName(label->text().remove(QLatin1Char(' ')).remove(QStringLiteral("：")));
    return label;
}

template <typename Control>
Control* makeControl(QWidget* parent, const char* name) {
    auto* control = new Control(parent);
    control->setObjectName(QLatin1String(name));
    return control;
}

QDateEdit* makeDateBox(QWidget* parent, const char* name) {
    auto* box = makeControl<QDateEdit>(parent, name);
    box->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    box->setCalendarPopup(true);
    box->setMinimumDate(kNoDate);
    box->setSpecialValueText(QStringLiteral(" "));
    box->setDate(kNoDate);
    return box;
}

// A disabled box that shows a money column of the header.
QLineEdit* makeMoneyBox(QWidget* parent, const char* name) {
    auto* box = makeControl<QLineEdit>(parent, name);
    box->setEnabled(false);
    box->setAlignment(Qt::AlignRight);
    box->setMaximumWidth(110);
    return box;
}

void makeLarge(QWidget* widget) {
    QFont font = widget->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.4);
    widget->setFont(font);
}

bool isEditing(const dataset::Dataset& dataset) {
    return dataset.state() == dataset::Dataset::State::Edit || dataset.state() == dataset::Dataset::State::Insert;
}

} // namespace

// One box bound to a column of the order header.
struct Txsd::Binding {
    enum class Kind { Text, Money, Date, Handler, Remark };
    QWidget* control;
    QString column;
    Kind kind;
};

Txsd* Txsd::create(shell::TDM_CS& dm, QWidget* parent) {
    auto* window = new Txsd(dm, parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    return window;
}

Txsd::Txsd(shell::TDM_CS& dm, QWidget* parent) : QWidget(parent), dm_(dm), order_(dm) {
    setObjectName(QStringLiteral("Txsd"));
    setWindowTitle(QStringLiteral("出租、归还单"));
    order_.setDialogParent(this);
    order_.Query_ZB.setObjectName(QStringLiteral("Query_ZB"));
    order_.Query_MX.setObjectName(QStringLiteral("Query_MX"));
    setUpLineColumns();
    buildControls();
    bindHeader();
    connectEvents();
    ui::previewKeys(this, [this](QWidget* target, QKeyEvent* event) { return FormKeyPress(target, event); });
    showHeader();
    showStage();
    resize(1280, 700);
    FormCreate();
}

Txsd::~Txsd() {
    // The order's datasets go before the widgets that show them.
    disconnect(&order_.Query_ZB, nullptr, this, nullptr);
    disconnect(&order_.Query_MX, nullptr, this, nullptr);
}

void Txsd::openOrder(const QString& number) {
    Edit_id->setText(number);
}

// --- building

void Txsd::setUpLineColumns() {
    struct LineColumn {
        const char* name;
        const char* label;
        bool visible;
        bool money;
    };
    const LineColumn columns[] = {
        {"ID", "单号", false, false},        {"SPBM", "商品编码", true, false},   {"SPMC", "商品名称", true, false},
        {"TXM", "条形码", false, false},      {"DW", "单位", true, false},         {"CBJ", "物品价格", true, true},
        {"YJ", "押金", true, true},           {"ZJ", "租金", true, true},          {"KCSL", "库存数量", true, false},
        {"SL", "租赁数量", true, false},      {"TS", "时间（天）", true, false},   {"ZZJ", "租金合计", true, false},
        {"BZ", "备注", true, false},
    };
    dataset::Dataset& lines = order_.Query_MX;
    for (const LineColumn& column : columns) {
        dataset::Column& added = lines.addColumn(QLatin1String(column.name));
        added.setDisplayLabel(QString::fromUtf8(column.label)).setVisible(column.visible);
        if (column.money)
            added.setDisplayFormat(kMoneyFormat);
    }
}

void Txsd::buildControls() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(4);
    layout->addWidget(buildToolbar());
    layout->addWidget(buildHead());
    layout->addWidget(buildCustomer());
    layout->addWidget(buildLineBar());
    layout->addWidget(buildLines(), 1);
    layout->addWidget(buildMoney());
}

QWidget* Txsd::buildToolbar() {
    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    SpeedButton2 = makeSpeedButton(bar, "SpeedButton2", "新增[&A]");
    SpeedButton1 = makeSpeedButton(bar, "SpeedButton1", "保存[&S]");
    SpeedButton3 = makeSpeedButton(bar, "SpeedButton3", "删除[&D]");
    SpeedButton4 = makeSpeedButton(bar, "SpeedButton4", "设计[&J]");
    SpeedButton6 = makeSpeedButton(bar, "SpeedButton6", "打印[&P]");
    SpeedButton5 = makeSpeedButton(bar, "SpeedButton5", "退出[&E]");
    // The print format window is not part of the program yet.
    SpeedButton4->setEnabled(false);
    SpeedButton4->setToolTip(QStringLiteral("打印格式设置暂未提供"));
    for (QToolButton* button : {SpeedButton2, SpeedButton1, SpeedButton3, SpeedButton4, SpeedButton6, SpeedButton5})
        row->addWidget(button);
    row->addStretch(1);
    return bar;
}

QWidget* Txsd::buildHead() {
    auto* head = new QWidget(this);
    auto* grid = new QGridLayout(head);
    grid->setContentsMargins(0, 0, 0, 0);
    Edit_id = makeControl<QLineEdit>(head, "Edit_id");
    Edit_id->setMaxLength(16);
    DBDateTimeEditEh2 = makeDateBox(head, "DBDateTimeEditEh2");
    JBR = makeControl<QComboBox>(head, "JBR");
    JBR->setEditable(true);
    JBR->setInsertPolicy(QComboBox::NoInsert);
    zdr = makeControl<QLineEdit>(head, "zdr");
    zdr->setReadOnly(true);
    zdr->setEnabled(false);
    DBMemo1 = makeControl<QPlainTextEdit>(head, "DBMemo1");
    DBMemo1->setTabChangesFocus(true);
    DBMemo1->setFixedHeight(DBMemo1->fontMetrics().lineSpacing() * 2 + 12);
    ComboBox1 = makeControl<QComboBox>(head, "ComboBox1");
    ComboBox1->addItems({QString::fromUtf8(kNoDiscount), QStringLiteral("95折"), QStringLiteral("9折"),
                         QStringLiteral("8折"), QStringLiteral("7折"), QStringLiteral("6折")});

    grid->addWidget(makeLabel(head, "单    号：", Edit_id), 0, 0);
    grid->addWidget(Edit_id, 0, 1);
    grid->addWidget(makeLabel(head, "日期：", DBDateTimeEditEh2), 0, 2);
    grid->addWidget(DBDateTimeEditEh2, 0, 3);
    grid->addWidget(makeLabel(head, "经办人：", JBR), 0, 4);
    grid->addWidget(JBR, 0, 5);
    grid->addWidget(makeLabel(head, "制单人：", zdr), 0, 6);
    grid->addWidget(zdr, 0, 7);
    grid->addWidget(makeLabel(head, "选择折扣：", ComboBox1), 0, 8);
    grid->addWidget(ComboBox1, 0, 9);
    grid->addWidget(makeLabel(head, "备注：", DBMemo1), 1, 0, Qt::AlignTop);
    grid->addWidget(DBMemo1, 1, 1, 1, 9);
    for (int column : {1, 5, 7})
        grid->setColumnStretch(column, 1);
    Edit_id->setMinimumWidth(Edit_id->fontMetrics().horizontalAdvance(QString(18, QLatin1Char('0'))));
    return head;
}

QWidget* Txsd::buildCustomer() {
    GroupBox1 = makeControl<QGroupBox>(this, "GroupBox1");
    GroupBox1->setTitle(QStringLiteral("客户资料"));
    auto* grid = new QGridLayout(GroupBox1);
    grid->setContentsMargins(6, 4, 6, 4);
    KHMC = makeControl<QLineEdit>(GroupBox1, "KHMC");
    DBEditEh2 = makeControl<QLineEdit>(GroupBox1, "DBEditEh2");
    DBEditEh3 = makeControl<QLineEdit>(GroupBox1, "DBEditEh3");
    DBEditEh4 = makeControl<QLineEdit>(GroupBox1, "DBEditEh4");
    DBEditEh5 = makeControl<QLineEdit>(GroupBox1, "DBEditEh5");
    DBDateTimeEditEh3 = makeDateBox(GroupBox1, "DBDateTimeEditEh3");
    DBDateTimeEditEh1 = makeDateBox(GroupBox1, "DBDateTimeEditEh1");
    DBEditEh6 = makeControl<QLineEdit>(GroupBox1, "DBEditEh6");
    const std::pair<const char*, QWidget*> boxes[] = {
        {"姓名：", KHMC},      {"电话：", DBEditEh2},         {"身份证：", DBEditEh3},       {"地址：", DBEditEh4},
        {"保证人：", DBEditEh5}, {"租借日期：", DBDateTimeEditEh3}, {"归还日期：", DBDateTimeEditEh1}, {"其    他：", DBEditEh6},
    };
    for (int i = 0; i < 8; ++i) {
        const int row = i / 4;
        const int column = (i % 4) * 2;
        grid->addWidget(makeLabel(GroupBox1, boxes[i].first, boxes[i].second), row, column);
        grid->addWidget(boxes[i].second, row, column + 1);
        grid->setColumnStretch(column + 1, 1);
    }
    return GroupBox1;
}

QWidget* Txsd::buildLineBar() {
    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    DBNavigator1 = new masterdata::DBNavigator(
        {masterdata::DBNavigator::Button::First, masterdata::DBNavigator::Button::Prior,
         masterdata::DBNavigator::Button::Next, masterdata::DBNavigator::Button::Last,
         masterdata::DBNavigator::Button::Insert, masterdata::DBNavigator::Button::Delete},
        bar);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setDataset(&order_.Query_MX);
    TXMXZ = makeControl<QLineEdit>(bar, "TXMXZ");
    TXMXZ->setMinimumWidth(180);
    BitBtn1 = makeButton(bar, "BitBtn1", "选择商品");
    Label_hint = new QLabel(QStringLiteral("可直接输入编码、条码、简拼进行方便选择！"), bar);
    Label_hint->setObjectName(QStringLiteral("Label_hint"));
    CheckBox3 = new QCheckBox(QStringLiteral("显示预览图"), bar);
    CheckBox3->setObjectName(QStringLiteral("CheckBox3"));
    row->addWidget(DBNavigator1);
    row->addSpacing(12);
    row->addWidget(makeLabel(bar, "快捷选择：", TXMXZ));
    row->addWidget(TXMXZ);
    row->addWidget(BitBtn1);
    row->addWidget(Label_hint);
    row->addStretch(1);
    row->addWidget(CheckBox3);
    return bar;
}

QWidget* Txsd::buildLines() {
    auto* area = new QWidget(this);
    auto* row = new QHBoxLayout(area);
    row->setContentsMargins(0, 0, 0, 0);
    DBGridEh1 = new OrderGrid(area);
    DBGridEh1->setObjectName(QStringLiteral("DBGridEh1"));
    DBGridEh1->setAccessibleName(QStringLiteral("商品明细"));
    DBGridEh1->bind(&order_.Query_MX);
    DBGridEh1->setEditButtonColumn(QStringLiteral("SPBM"));
    DBGridEh1->setMinimumHeight(140);
    dataset::DatasetModel* model = DBGridEh1->datasetModel();
    for (const char* fixed : {"SPMC", "TXM", "DW", "CBJ", "KCSL"})
        model->setColumnEditable(QLatin1String(fixed), false);
    model->setFooter(QStringLiteral("SPBM"), dataset::Footer::fixedText(QStringLiteral("合 计：")));
    model->setFooter(QStringLiteral("YJ"), dataset::Footer::sumOf(QStringLiteral("YJ")));
    // Under the stock column: the quantity rented, not a stock total.
    model->setFooter(QStringLiteral("KCSL"), dataset::Footer::sumOf(QStringLiteral("SL")));
    model->setFooter(QStringLiteral("ZZJ"), dataset::Footer::sumOf(QStringLiteral("ZZJ")));
    const std::pair<const char*, int> widths[] = {
        {"SPBM", 110}, {"SPMC", 200}, {"DW", 50}, {"CBJ", 80}, {"YJ", 80}, {"ZJ", 70},
        {"KCSL", 70},  {"SL", 70},    {"TS", 70}, {"ZZJ", 80},
    };
    for (const auto& [column, width] : widths)
        DBGridEh1->setColumnWidth(model->modelColumn(QLatin1String(column)), width);
    DBGridEh1->horizontalHeader()->setStretchLastSection(true);  // the remark takes the rest

    Panel5 = makeControl<QFrame>(area, "Panel5");
    Panel5->setFrameShape(QFrame::StyledPanel);
    Panel5->setFixedWidth(260);
    Image1 = new masterdata::PictureView(Panel5);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAccessibleName(QStringLiteral("预览图"));
    auto* panelLayout = new QVBoxLayout(Panel5);
    panelLayout->setContentsMargins(2, 2, 2, 2);
    panelLayout->addWidget(Image1);
    Panel5->setVisible(false);

    auto* gridWithFooter = new QVBoxLayout;
    gridWithFooter->setSpacing(0);
    gridWithFooter->addWidget(DBGridEh1, 1);
    gridWithFooter->addWidget(DBGridEh1->footer());
    row->addLayout(gridWithFooter, 1);
    row->addWidget(Panel5);
    return area;
}

QWidget* Txsd::buildMoney() {
    auto* area = new QWidget(this);
    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);
    YS = makeMoneyBox(area, "YS");
    YSYJ = makeMoneyBox(area, "YSYJ");
    YSZJ = makeMoneyBox(area, "YSZJ");
    YYSK = makeMoneyBox(area, "YYSK");
    SS = makeMoneyBox(area, "SS");
    QXSK = makeMoneyBox(area, "QXSK");
    DB_SSJE = makeMoneyBox(area, "DB_SSJE");
    DB_WFJE = makeMoneyBox(area, "DB_WFJE");
    Edit1 = makeControl<QLineEdit>(area, "Edit1");
    Edit1->setAlignment(Qt::AlignRight);
    Edit1->setMaximumWidth(160);
    // Pasted text follows the key rule too.
    Edit1->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[-0-9.]*")), Edit1));

    QLabel* totalLabel = makeLabel(area, "应收合计：", YS);
    makeLarge(totalLabel);
    makeLarge(YS);
    auto* totals = new QHBoxLayout;
    totals->addWidget(totalLabel);
    totals->addWidget(YS);
    totals->addSpacing(16);
    totals->addWidget(makeLabel(area, "其中包括：押金", YSYJ));
    totals->addWidget(YSYJ);
    totals->addWidget(makeLabel(area, "元、租金", YSZJ));
    totals->addWidget(YSZJ);
    YSYJ->setAccessibleName(QStringLiteral("押金"));
    YSZJ->setAccessibleName(QStringLiteral("租金"));
    totals->addWidget(new QLabel(QStringLiteral("元"), area));
    totals->addStretch(1);
    grid->addLayout(totals, 0, 0, 1, 2);

    auto* received = new QHBoxLayout;
    const std::pair<const char*, QLineEdit*> amounts[] = {
        {"预约收款：", YYSK}, {"出租收款：", SS}, {"归还结款：", QXSK}, {"已收：", DB_SSJE}, {"未付：", DB_WFJE},
    };
    for (const auto& [label, box] : amounts) {
        received->addWidget(makeLabel(area, label, box));
        received->addWidget(box);
        received->addSpacing(8);
    }
    received->addStretch(1);
    grid->addLayout(received, 1, 0, 1, 2);

    auto* payment = new QHBoxLayout;
    QLabel* paymentLabel = makeLabel(area, "收款：", Edit1);
    makeLarge(paymentLabel);
    makeLarge(Edit1);
    Label_refund = new QLabel(QStringLiteral("注：商品归还时如需退还押金请在 [收款] 内填写负数！"), area);
    Label_refund->setObjectName(QStringLiteral("Label_refund"));
    Label_refund->setStyleSheet(QStringLiteral("color: red;"));
    payment->addWidget(paymentLabel);
    payment->addWidget(Edit1);
    payment->addSpacing(12);
    payment->addWidget(Label_refund);
    payment->addStretch(1);
    grid->addLayout(payment, 2, 0, 1, 2);

    auto* stages = new QHBoxLayout;
    BitBtn_YY = makeButton(area, "BitBtn_YY", "预约审核");
    BitBtn_FYY = makeButton(area, "BitBtn_FYY", "取消预约");
    BitBtn_sh = makeButton(area, "BitBtn_sh", "出租审核");
    BitBtn_fsh = makeButton(area, "BitBtn_fsh", "取消出租");
    BitBtn_qx = makeButton(area, "BitBtn_qx", "归还审核");
    BitBtn_fqx = makeButton(area, "BitBtn_fqx", "取消归还");
    for (QPushButton* button : {BitBtn_YY, BitBtn_FYY, BitBtn_sh, BitBtn_fsh, BitBtn_qx, BitBtn_fqx})
        stages->addWidget(button);
    stages->addStretch(1);
    CheckBox1 = new QCheckBox(QStringLiteral("不预览直接打印"), area);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox2 = new QCheckBox(QStringLiteral("收款确认后打印"), area);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    CheckBox_XP = new QCheckBox(QStringLiteral("使用小票打印格式"), area);
    CheckBox_XP->setObjectName(QStringLiteral("CheckBox_XP"));
    for (QCheckBox* option : {CheckBox1, CheckBox2, CheckBox_XP})
        stages->addWidget(option);
    grid->addLayout(stages, 3, 0, 1, 2);
    return area;
}

void Txsd::connectEvents() {
    connect(SpeedButton1, &QToolButton::clicked, this, &Txsd::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &Txsd::SpeedButton2Click);
    connect(SpeedButton3, &QToolButton::clicked, this, &Txsd::SpeedButton3Click);
    connect(SpeedButton5, &QToolButton::clicked, this, &Txsd::SpeedButton5Click);
    connect(SpeedButton6, &QToolButton::clicked, this, &Txsd::SpeedButton6Click);
    connect(Edit_id, &QLineEdit::textChanged, this, &Txsd::Edit_idChange);
    connect(DBGridEh1, &OrderGrid::columnExited, this, &Txsd::DBGridEh1ColExit);
    connect(DBGridEh1, &QAbstractItemView::clicked, this, &Txsd::DBGridEh1CellClick);
    connect(DBGridEh1, &QAbstractItemView::doubleClicked, this, &Txsd::DBGridEh1DblClick);
    connect(DBGridEh1, &OrderGrid::editButtonClicked, this, &Txsd::DBGridEh1Columns1EditButtonClick);
    connect(BitBtn1, &QPushButton::clicked, this, &Txsd::BitBtn1Click);
    connect(Edit1, &QLineEdit::editingFinished, this, &Txsd::Edit1Exit);
    Edit1->installEventFilter(this);
    connect(BitBtn_YY, &QPushButton::clicked, this, &Txsd::BitBtn_YYClick);
    connect(BitBtn_FYY, &QPushButton::clicked, this, &Txsd::BitBtn_FYYClick);
    connect(BitBtn_sh, &QPushButton::clicked, this, &Txsd::BitBtn_shClick);
    connect(BitBtn_fsh, &QPushButton::clicked, this, &Txsd::BitBtn_fshClick);
    connect(BitBtn_qx, &QPushButton::clicked, this, &Txsd::BitBtn_qxClick);
    connect(BitBtn_fqx, &QPushButton::clicked, this, &Txsd::BitBtn_fqxClick);
    connect(ComboBox1, &QComboBox::textActivated, this, &Txsd::ComboBox1Select);
    connect(DBDateTimeEditEh1, &QDateEdit::editingFinished, this, &Txsd::DBDateTimeEditEh1Exit);
    connect(DBDateTimeEditEh3, &QDateEdit::editingFinished, this, &Txsd::DBDateTimeEditEh3Exit);
    connect(CheckBox3, &QCheckBox::toggled, this, &Txsd::CheckBox3Click);
    connect(CheckBox_XP, &QCheckBox::toggled, this, &Txsd::CheckBox_XPClick);
}

// The header's boxes show its columns and write what the operator types into them.
void Txsd::bindHeader() {
    using Kind = Binding::Kind;
    bindings_ = {
        {DBDateTimeEditEh2, QStringLiteral("RQ"), Kind::Date},   {JBR, QStringLiteral("JBR"), Kind::Handler},
        {zdr, QStringLiteral("ZDR"), Kind::Text},                {DBMemo1, QStringLiteral("BZ"), Kind::Remark},
        {KHMC, QStringLiteral("KHMC"), Kind::Text},              {DBEditEh2, QStringLiteral("KHDH"), Kind::Text},
        {DBEditEh3, QStringLiteral("KHZJ"), Kind::Text},         {DBEditEh4, QStringLiteral("KHDZ"), Kind::Text},
        {DBEditEh5, QStringLiteral("KHBZR"), Kind::Text},        {DBDateTimeEditEh3, QStringLiteral("ZJRQ"), Kind::Date},
        {DBDateTimeEditEh1, QStringLiteral("GHRQ"), Kind::Date}, {DBEditEh6, QStringLiteral("KHQT"), Kind::Text},
        {YS, QStringLiteral("YS"), Kind::Money},                 {YSYJ, QStringLiteral("YSYJ"), Kind::Money},
        {YSZJ, QStringLiteral("YSZJ"), Kind::Money},             {YYSK, QStringLiteral("YYSK"), Kind::Money},
        {SS, QStringLiteral("SS"), Kind::Money},                 {QXSK, QStringLiteral("QXSK"), Kind::Money},
        {DB_SSJE, QStringLiteral("SSJE"), Kind::Money},          {DB_WFJE, QStringLiteral("WFJE"), Kind::Money},
    };
    for (const Binding& binding : bindings_) {
        const QString column = binding.column;
        switch (binding.kind) {
        case Kind::Text:
            connect(static_cast<QLineEdit*>(binding.control), &QLineEdit::textEdited, this,
                    [this, column](const QString& text) { writeHeader(column, text); });
            break;
        case Kind::Date:
            connect(static_cast<QDateEdit*>(binding.control), &QDateEdit::dateChanged, this,
                    [this, column](const QDate& date) { writeHeader(column, date == kNoDate ? QVariant() : QVariant(date)); });
            break;
        case Kind::Handler:
            connect(JBR, &QComboBox::editTextChanged, this, [this, column](const QString& text) { writeHeader(column, text); });
            break;
        case Kind::Remark:
            connect(DBMemo1, &QPlainTextEdit::textChanged, this, [this, column] {
                if (showingHeader_)
                    return;
                // The remark keeps what fits its column.
                const int width = order_.isOpen() ? order_.Query_ZB.column(column).width() : kRemarkWidth;
                QString text = DBMemo1->toPlainText();
                if (width > 0 && text.size() > width) {
                    text.truncate(width);
                    const QScopedValueRollback<bool> quiet(showingHeader_, true);
                    DBMemo1->setPlainText(text);
                    DBMemo1->moveCursor(QTextCursor::End);
                }
                writeHeader(column, text);
            });
            break;
        case Kind::Money:
            break;
        }
    }
    dataset::Dataset& header = order_.Query_ZB;
    connect(&header, &dataset::Dataset::reset, this, &Txsd::showHeader);
    connect(&header, &dataset::Dataset::rowChanged, this, &Txsd::showHeader);
    connect(&header, &dataset::Dataset::currentRowChanged, this, &Txsd::showHeader);
    connect(&header, &dataset::Dataset::stateChanged, this, &Txsd::showHeader);
}

void Txsd::FormCreate() {
    shell::Settings& settings = dm_.settings();
    CheckBox1->setChecked(settings.printWithoutPreview());
    CheckBox2->setChecked(settings.printAfterPayment());
    CheckBox_XP->setChecked(settings.useTicketFormat());  // checks the ticket template
}

void Txsd::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!placed_) {
        placed_ = true;
        placeInFrame();
    }
}

// In the main window: at the top left of its work area, a little smaller than it.
void Txsd::placeInFrame() {
    auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
    QMdiArea* area = frame ? frame->mdiArea() : nullptr;
    if (!area)
        return;
    const QSize work = area->viewport()->size();
    frame->setGeometry(0, 0, work.width() - 6, work.height() - 4);
}

// --- the order on screen

void Txsd::showHeader() {
    const QScopedValueRollback<bool> quiet(showingHeader_, true);
    dataset::Dataset& header = order_.Query_ZB;
    const bool open = order_.isOpen() && !header.isEmpty();
    auto textOf = [&](const QString& column) { return open ? header.field(column).asString() : QString(); };
    using Kind = Binding::Kind;
    for (const Binding& binding : bindings_) {
        switch (binding.kind) {
        case Kind::Text: {
            auto* box = static_cast<QLineEdit*>(binding.control);
            if (const QString text = textOf(binding.column); box->text() != text)
                box->setText(text);
            break;
        }
        case Kind::Money: {
            const bool shown = open && !header.field(binding.column).isNull();
            static_cast<QLineEdit*>(binding.control)
                ->setText(shown ? header.field(binding.column).asDecimal().format(kMoneyFormat) : QString());
            break;
        }
        case Kind::Date: {
            auto* box = static_cast<QDateEdit*>(binding.control);
            const QDate stored = open ? header.field(binding.column).asDate() : QDate();
            const QDate date = stored.isValid() ? stored : kNoDate;
            if (box->date() != date)
                box->setDate(date);
            break;
        }
        case Kind::Handler:
            if (const QString text = textOf(binding.column); JBR->currentText() != text)
                JBR->setEditText(text);
            break;
        case Kind::Remark:
            if (const QString text = textOf(binding.column); DBMemo1->toPlainText() != text)
                DBMemo1->setPlainText(text);
            break;
        }
    }
}

void Txsd::writeHeader(const QString& column, const QVariant& value) {
    if (showingHeader_ || !order_.isOpen())
        return;
    try {
        order_.Query_ZB.edit();
        order_.Query_ZB.field(column).setValue(value);
    } catch (const sql::Error& error) {
        ui::fail(this, error.message());
        showHeader();
    }
}

// The enabled state of the commands and of the controls that change the order.
void Txsd::showStage() {
    const StageControls& controls = order_.stageControls();
    const bool open = order_.isOpen();
    const std::pair<QPushButton*, StageCommand> commands[] = {
        {BitBtn_YY, StageCommand::ConfirmReservation}, {BitBtn_FYY, StageCommand::CancelReservation},
        {BitBtn_sh, StageCommand::ConfirmRental},      {BitBtn_fsh, StageCommand::CancelRental},
        {BitBtn_qx, StageCommand::ConfirmReturn},      {BitBtn_fqx, StageCommand::CancelReturn},
    };
    for (const auto& [button, command] : commands)
        button->setEnabled(open && order_.isCommandEnabled(command));
    if (controls.customerName != Switch::Unchanged)
        customerNameOn_ = controls.customerName == Switch::On;
    const bool linesOpen = open && !linesLocked(controls);
    DBGridEh1->datasetModel()->setReadOnly(!linesOpen);
    for (QWidget* lineChanging : std::initializer_list<QWidget*>{TXMXZ, BitBtn1, ComboBox1, DBDateTimeEditEh3, DBDateTimeEditEh1})
        lineChanging->setEnabled(linesOpen);
    for (QWidget* headerBox : std::initializer_list<QWidget*>{DBDateTimeEditEh2, JBR, DBMemo1, DBEditEh2, DBEditEh3, DBEditEh4, DBEditEh5, DBEditEh6})
        headerBox->setEnabled(open);
    KHMC->setEnabled(open && customerNameOn_);
    for (QToolButton* command : {SpeedButton1, SpeedButton3, SpeedButton6})
        command->setEnabled(open);
}

void Txsd::limitTextsToColumns() {
    if (!order_.isOpen())
        return;
    for (const Binding& binding : bindings_) {
        const int width = order_.Query_ZB.column(binding.column).width();
        if (binding.kind == Binding::Kind::Text && width > 0)
            static_cast<QLineEdit*>(binding.control)->setMaxLength(width);
    }
    if (const int width = order_.Query_ZB.column(QStringLiteral("JBR")).width(); width > 0)
        JBR->lineEdit()->setMaxLength(width);
}

OrderForm Txsd::form() const {
    const dataset::Dataset& lines = order_.Query_MX;
    return {Edit_id->text(), JBR->currentText(), KHMC->text(), lines.isOpen() ? lines.recordCount() : 0};
}

// A command takes what the operator typed into a cell as typed.
void Txsd::finishGridEdit() {
    DBGridEh1->commitOpenEditor();
}

// --- toolbar

void Txsd::SpeedButton1Click() {
    finishGridEdit();
    order_.SaveCommand(form());
}

void Txsd::SpeedButton2Click() {
    finishGridEdit();
    customerNameOn_ = true;
    const std::optional<QString> number = order_.NewOrderNumber();
    if (!number) {
        showStage();
        return;
    }
    if (Edit_id->text() == *number)
        Edit_idChange(*number);  // the same unsaved number: begin it afresh
    else
        Edit_id->setText(*number);
    KHMC->setFocus();
    fillHandlers();
}

// The handler list, and the operator as handler and maker of the new order.
void Txsd::fillHandlers() {
    QStringList names;
    QString operatorName;
    try {
        names = employeeNames(dm_.ADOConnection1);
        operatorName = employeeNameForLogin(dm_.ADOConnection1, dm_.settings().loginUser());
    } catch (const sql::Error&) {
        names.clear();  // told below, like an empty employee list
    }
    {
        const QScopedValueRollback<bool> quiet(showingHeader_, true);
        JBR->clear();
        JBR->addItems(names);
    }
    if (names.isEmpty() || operatorName.isEmpty()) {
        showHeader();
        ui::notify(this, QStringLiteral("请在“基础资料-员工资料”中输入至少一个有姓名的员工"), shell::kApplicationTitle);
        return;
    }
    writeHeader(QStringLiteral("JBR"), operatorName);
    writeHeader(QStringLiteral("ZDR"), operatorName);
    showHeader();
}

void Txsd::SpeedButton3Click() {
    finishGridEdit();
    if (order_.DeleteOrder(Edit_id->text())) {
        const QSignalBlocker quiet(Edit_id);
        Edit_id->clear();
    }
    showHeader();
    showStage();
}

void Txsd::SpeedButton5Click() {
    masterdata::closeForm(this);
}

void Txsd::SpeedButton6Click() {
    finishGridEdit();
    order_.PrintCommand(form(), [this] { return printDocument(); });
}

bool Txsd::printDocument() {
    if (CheckBox_XP->isChecked())
        return PrintXP();
    ui::inform(this, kPagePrintingUnavailable);
    return false;
}

bool Txsd::PrintXP() {
    try {
        printTicket(dm_, order_, QDateTime::currentDateTime());
        return true;
    } catch (const TicketError& error) {
        ui::fail(this, error.message());
        return false;
    }
}

// --- loading

void Txsd::Edit_idChange(const QString& number) {
    if (number.isEmpty())
        return;
    order_.OpenOrder(number);
    limitTextsToColumns();
    showHeader();
    showStage();
}

// --- lines

void Txsd::DBGridEh1ColExit() {
    dataset::Dataset& lines = order_.Query_MX;
    if (!lines.isOpen() || !isEditing(lines) || !lines.isModified())
        return;
    try {
        lines.post();  // the order's sums follow the line
    } catch (const sql::Error& error) {
        ui::fail(this, error.message());
    }
}

void Txsd::DBGridEh1CellClick(const QModelIndex& index) {
    const dataset::Dataset& lines = order_.Query_MX;
    if (!index.isValid() || !lines.isOpen() || index.row() >= lines.recordCount())
        return;
    QString picture;
    try {
        picture = productPicture(dm_.SQL_LS, lines.record(index.row()).text(QStringLiteral("SPBM")));
    } catch (const sql::Error&) {
        picture.clear();  // a product that cannot be read shows no picture
    }
    if (picture.isEmpty() || !Image1->load(picture))
        Image1->clear();
}

void Txsd::DBGridEh1DblClick(const QModelIndex& index) {
    const dataset::Dataset& lines = order_.Query_MX;
    if (!index.isValid() || !lines.isOpen() || index.row() >= lines.recordCount())
        return;
    masterdata::TBM_TP::instance(dm_).showFor(lines.record(index.row()).text(QStringLiteral("SPBM")));
}

void Txsd::DBGridEh1Columns1EditButtonClick() {
    if (!order_.isOpen())
        return;
    TXZSP::instance(dm_).showFor(this);
}

void Txsd::pickIntoCurrentLine(const QString& code) {
    orders::pickIntoCurrentLine(order_, code, this);
}

void Txsd::appendPickedLine(const QString& code) {
    order_.AddProductLine(code);
    TXMXZ->clear();
    activateWindow();
    TXMXZ->setFocus();
}

void Txsd::BitBtn1Click() {
    if (!order_.isOpen())
        return;
    if (linesLocked(order_.stageControls())) {
        ui::inform(this, texts::kLinesLocked);
        return;
    }
    finishGridEdit();
    QuickMatches matches;
    try {
        matches = findQuickMatches(dm_.ADOConnection1, TXMXZ->text());
    } catch (const sql::Error&) {
        ui::inform(this, texts::kQuickSelectionFailed);
        return;
    }
    if (matches.count == 0) {
        ui::inform(this, texts::kProductUnknown);
        return;
    }
    if (matches.count > 1) {
        quickList_ = &Txspx::instance(dm_);
        quickList_->showList(matches.listStatement, this);
        return;
    }
    if (order_.AddProductLine(matches.firstCode)) {
        TXMXZ->clear();
        TXMXZ->setFocus();
    }
}

void Txsd::ComboBox1Select(const QString& choice) {
    finishGridEdit();
    order_.ApplyDiscount(choice);
}

void Txsd::DBDateTimeEditEh1Exit() {
    if (order_.isOpen())
        order_.RecomputeDays();
}

void Txsd::DBDateTimeEditEh3Exit() {
    if (order_.isOpen())
        order_.RecomputeDays();
}

void Txsd::CheckBox3Click(bool checked) {
    Panel5->setVisible(checked);
}

void Txsd::CheckBox_XPClick(bool checked) {
    if (!checked)
        return;
    const QString path = ticketTemplatePath(dm_);
    if (QFileInfo(path).isFile())
        return;
    {
        const QSignalBlocker quiet(CheckBox_XP);
        CheckBox_XP->setChecked(false);
    }
    ui::warn(this, missingTicketTemplateText(path), QStringLiteral("提示："));
}

// --- payment and stages

bool Txsd::Edit1KeyPress(QChar key) {
    return isPaymentKey(key);
}

void Txsd::Edit1Exit() {
    Edit1->setText(paymentTextOnLeaving(Edit1->text()));
}

void Txsd::runStage(const std::function<StageOutcome()>& command) {
    finishGridEdit();
    const StageOutcome outcome = command();
    if (outcome.paymentText)
        Edit1->setText(*outcome.paymentText);
    showStage();
}

void Txsd::BitBtn_YYClick() {
    runStage([this] { return order_.ConfirmReservation(form(), Edit1->text()); });
}

void Txsd::BitBtn_FYYClick() {
    runStage([this] { return order_.CancelReservation(form()); });
}

void Txsd::BitBtn_shClick() {
    std::function<bool()> printFirst;
    if (CheckBox2->isChecked()) {
        printFirst = [this] {
            if (CheckBox_XP->isChecked())
                return order_.PrintCommand(form(), [this] { return PrintXP(); });
            // Without the page report the rental goes on unprinted, and the operator knows it.
            ui::inform(this, kPagePrintingUnavailable);
            return true;
        };
    }
    runStage([this, &printFirst] { return order_.ConfirmRental(form(), Edit1->text(), printFirst); });
}

void Txsd::BitBtn_fshClick() {
    runStage([this] { return order_.CancelRental(form()); });
}

void Txsd::BitBtn_qxClick() {
    runStage([this] { return order_.ConfirmReturn(form(), Edit1->text()); });
}

void Txsd::BitBtn_fqxClick() {
    runStage([this] { return order_.CancelReturn(form()); });
}

// --- keys

bool Txsd::FormKeyPress(QWidget* target, QKeyEvent* event) {
    if (!ui::isEnterKey(event))
        return false;
    if (target == TXMXZ) {
        BitBtn1Click();  // a scanner's Enter after the code adds the line
        return true;
    }
    if (target == DBGridEh1 || DBGridEh1->isAncestorOf(target))
        return false;  // Enter moves between the cells
    target->setFocus();
    focusNextChild();
    return true;
}

bool Txsd::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Edit1 && event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (!text.isEmpty() && text.at(0).isPrint() && !Edit1KeyPress(text.at(0)))
            return true;  // dropped
    }
    return QWidget::eventFilter(watched, event);
}

// --- closing

bool Txsd::FormCloseQuery() {
    dm_.settings().setPrintOptions(CheckBox1->isChecked(), CheckBox2->isChecked(), CheckBox_XP->isChecked());
    finishGridEdit();
    if (!order_.hasUnsavedWork())
        return true;
    const ui::Button answer = ui::ask(this, QStringLiteral("提示"), QStringLiteral("当前还没有保存，是否现在保存？"),
                                      ui::Icon::Information, ui::Button::Yes | ui::Button::No | ui::Button::Cancel,
                                      ui::Button::Yes);
    switch (answer) {
    case ui::Button::Yes:
        if (order_.isOpen() && !order_.StoreOnClose(Edit_id->text())) {
            ui::inform(this, texts::kSaveFailed);
            return false;
        }
        return true;
    case ui::Button::No:
        UnsavedChanges = false;  // the changes go with the window
        return true;
    default:
        return false;
    }
}

void Txsd::closeEvent(QCloseEvent* event) {
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    if (quickList_)
        quickList_->close();
    event->accept();
}

} // namespace orders
