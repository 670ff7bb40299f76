#include "masterdata/GSXX.h"

#include "masterdata/CompanyInfo.h"
#include "masterdata/FormHelpers.h"
#include "masterdata/PictureView.h"
#include "masterdata/SQLForm.h"
#include "shell/DataModule.h"
#include "ui/Dialogs.h"
#include "ui/KeyPreview.h"
#include "ui/EnterAsTab.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace masterdata {
namespace {

QLineEdit* makeEdit(QWidget* parent, const char* name, const char* text, QLabel* label) {
    auto* edit = new QLineEdit(QString::fromUtf8(text), parent);
    edit->setObjectName(QLatin1String(name));
    edit->setMinimumWidth(320);
    label->setBuddy(edit);
    return edit;
}

QToolButton* makePictureButton(QWidget* parent, const char* name, const char* caption, QStyle::StandardPixmap icon) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setIcon(parent->style()->standardIcon(icon));
    button->setAutoRaise(true);
    button->setToolTip(QString::fromUtf8(caption));
    button->setAccessibleName(QString::fromUtf8(caption));
    return button;
}

} // namespace

TBM_GSXX::TBM_GSXX(shell::TDM_CS& dm, QWidget* parent) : QWidget(parent), dm_(dm) {
    setObjectName(QStringLiteral("BM_GSXX"));
    setWindowTitle(QStringLiteral("公司信息"));
    ADOQuery1.setObjectName(QStringLiteral("ADOQuery1"));
    ADOQuery1.setConnection(&dm_.ADOConnection1);
    buildControls();
    ui::EnterAsTab::install(this);
    ui::previewKeys(this, [this](QWidget*, QKeyEvent* key) { return FormKeyDown(key); });
    FormCreate();
}

TBM_GSXX::~TBM_GSXX() = default;

void TBM_GSXX::buildControls() {
    BitBtn1 = new QPushButton(QStringLiteral(" 保 存"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn2 = new QPushButton(QStringLiteral(" 退 出"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));

    GroupBox1 = new QGroupBox(QStringLiteral("本单位"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    Label1 = makeLabel(GroupBox1, "Label1", "公司名称：");
    GSMC = makeEdit(GroupBox1, "GSMC", "GSMC", Label1);
    Label2 = makeLabel(GroupBox1, "Label2", "电话：");
    DH = makeEdit(GroupBox1, "DH", "DH", Label2);
    Label3 = makeLabel(GroupBox1, "Label3", "公司地址：");
    DZ = makeEdit(GroupBox1, "DZ", "DZ", Label3);
    auto* company = new QGridLayout(GroupBox1);
    company->addWidget(Label1, 0, 0);
    company->addWidget(GSMC, 0, 1);
    company->addWidget(Label2, 1, 0);
    company->addWidget(DH, 1, 1);
    company->addWidget(Label3, 2, 0);
    company->addWidget(DZ, 2, 1);

    GroupBox2 = new QGroupBox(QStringLiteral("默认值"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    Label6 = makeLabel(GroupBox2, "Label6", "背景图文件：");
    Edit1 = makeEdit(GroupBox2, "Edit1", "", Label6);
    Image1 = makePictureButton(GroupBox2, "Image1", "选择背景图文件", QStyle::SP_DirOpenIcon);
    Label10 = makeLabel(GroupBox2, "Label10", "（请从软件安装目录内选择！）");
    Label9 = makeLabel(GroupBox2, "Label9", "备份位置：");
    Edit2 = makeEdit(GroupBox2, "Edit2", "", Label9);
    Image2 = makePictureButton(GroupBox2, "Image2", "选择备份位置", QStyle::SP_DirIcon);
    auto* defaults = new QGridLayout(GroupBox2);
    defaults->addWidget(Label6, 0, 0);
    defaults->addWidget(Edit1, 0, 1);
    defaults->addWidget(Image1, 0, 2);
    defaults->addWidget(Label10, 1, 1, 1, 2);
    defaults->addWidget(Label9, 2, 0);
    defaults->addWidget(Edit2, 2, 1);
    defaults->addWidget(Image2, 2, 2);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox1);
    layout->addWidget(GroupBox2);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(BitBtn1, &QPushButton::clicked, this, &TBM_GSXX::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TBM_GSXX::BitBtn2Click);
    connect(Image1, &QToolButton::clicked, this, &TBM_GSXX::Image1Click);
    connect(Image2, &QToolButton::clicked, this, &TBM_GSXX::Image2Click);
}

// Fills the edits from the company row in order, stopping at the first null column.
void TBM_GSXX::FormCreate() {
    try {
        ADOQuery1.close();
        ADOQuery1.setCommandText(kCompanyStatement);
        ADOQuery1.open();
    } catch (const sql::Error& error) {
        ui::fail(this, error.message());
        return;
    }
    const QList<QLineEdit*> edits = {GSMC, DH, DZ, Edit1, Edit2};
    const QStringList values = companyFillValues(ADOQuery1);
    for (int i = 0; i < values.size(); ++i)
        edits[i]->setText(values[i]);
}

bool TBM_GSXX::FormKeyDown(QKeyEvent* key) {
    if (key->key() != Qt::Key_F12 || key->modifiers() != Qt::ControlModifier)
        return false;
    TSQL_YJ& tool = TSQL_YJ::instance(dm_);
    tool.show();
    tool.raise();
    tool.activateWindow();
    return true;
}

void TBM_GSXX::Image1Click() {
    ui::FileRequest request;
    request.kind = ui::FileRequest::Kind::Picture;
    request.parent = this;
    request.caption = QStringLiteral("背景图文件");
    request.filter = kPictureFilter;
    request.directory = QStringLiteral(".");
    const QString chosen = ui::dialogs().chooseFile(request);
    if (!chosen.isEmpty())
        Edit1->setText(QFileInfo(chosen).fileName());
}

void TBM_GSXX::Image2Click() {
    ui::FileRequest request;
    request.kind = ui::FileRequest::Kind::Folder;
    request.parent = this;
    request.caption = QStringLiteral("请指定存放位置");
    const QString chosen = ui::dialogs().chooseFile(request);
    if (!chosen.isEmpty())
        Edit2->setText(backupFolderText(chosen));
}

void TBM_GSXX::BitBtn1Click() {
    try {
        ADOQuery1.open();
        if (ADOQuery1.isEmpty())
            ADOQuery1.append();
        else
            ADOQuery1.edit();
        ADOQuery1.field(QStringLiteral("GSMC")).setValue(GSMC->text());
        ADOQuery1.field(QStringLiteral("DZ")).setValue(DZ->text());
        ADOQuery1.field(QStringLiteral("DH")).setValue(DH->text());
        ADOQuery1.field(QStringLiteral("LOG")).setValue(Edit1->text());
        ADOQuery1.field(QStringLiteral("BF")).setValue(Edit2->text());
        ADOQuery1.post();
    } catch (const sql::Error& error) {
        ui::fail(this, error.message());
        return;
    }
    ui::notify(this, QStringLiteral("保存成功！    "));
}

void TBM_GSXX::BitBtn2Click() {
    closeForm(this);
}

void TBM_GSXX::closeEvent(QCloseEvent* event) {
    applyToMainWindow();
    event->accept();
}

// The stored row, not the edits, decides: the picture LOG names in the program
// directory and the company name, or image.jpg and a message when that picture
// cannot be shown.
void TBM_GSXX::applyToMainWindow() {
    QString picture;
    QString name;
    try {
        ADOQuery1.close();
        ADOQuery1.open();
        picture = ADOQuery1.field(QStringLiteral("LOG")).asString();
        name = ADOQuery1.field(QStringLiteral("GSMC")).asString();
        ADOQuery1.close();
    } catch (const sql::Error&) {
        picture.clear();  // an unreadable row counts as a wrong picture path, reported below
    }
    const Background background = chooseBackground(dm_.programDir(), picture);
    if (background.loads)
        emit backgroundPictureChanged(background.file);
    if (background.companyPicture) {
        emit companyNameChanged(name);
        return;
    }
    ui::inform(this, QStringLiteral("背景图片路径不正确  "));
    if (!background.loads)
        ui::warn(this, QStringLiteral("无法载入默认背景图片“%1”").arg(background.file));
}

} // namespace masterdata
