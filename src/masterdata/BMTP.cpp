#include "masterdata/BMTP.h"

#include "masterdata/FormHelpers.h"
#include "masterdata/PictureView.h"
#include "shell/DataModule.h"
#include "sql/Dialect.h"
#include "ui/Dialogs.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace masterdata {
namespace {

const QString kNotStoredText = QStringLiteral("当前商品还没有保存，图片路径无法保存，请先保存商品！");

QString productStatement(const QString& productCode) {
    return QStringLiteral("select * from bm_sp where bm=") + sql::quoted(productCode);
}

QPushButton* makeButton(QWidget* parent, const char* name, const char* text) {
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

} // namespace

TBM_TP::TBM_TP(shell::TDM_CS& dm, QWidget* parent) : QWidget(parent, Qt::Window), dm_(dm) {
    setObjectName(QStringLiteral("BM_TP"));
    setWindowTitle(QStringLiteral("商品图片预览窗口"));
    BitBtn1 = makeButton(this, "BitBtn1", "选择图片");
    BitBtn2 = makeButton(this, "BitBtn2", "清空图片");
    BitBtn3 = makeButton(this, "BitBtn3", "退 出");
    Label1 = new QLabel(QStringLiteral("注：为保证图片和软件的整体性，请把图片复制到软件安装目录的“图片”里"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Image1 = new PictureView(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAccessibleName(windowTitle());

    auto* buttons = new QHBoxLayout;
    for (QWidget* widget : {static_cast<QWidget*>(BitBtn1), static_cast<QWidget*>(BitBtn2),
                            static_cast<QWidget*>(BitBtn3), static_cast<QWidget*>(Label1)})
        buttons->addWidget(widget);
    buttons->setStretch(3, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(Image1, 1);
    resize(640, 520);

    connect(BitBtn1, &QPushButton::clicked, this, &TBM_TP::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TBM_TP::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TBM_TP::BitBtn3Click);
}

TBM_TP& TBM_TP::instance(shell::TDM_CS& dm) {
    return windowOf<TBM_TP>(dm);
}

void TBM_TP::showFor(const QString& productCode, const QString& caller) {
    PictureProductCode = productCode;
    PictureCaller = caller;
    FormShow();
    show();
    raise();
    activateWindow();
}

// Reads the product's stored path and shows its picture when the file is there. The
// view starts empty, so a product without a picture never shows another's.
void TBM_TP::FormShow() {
    Image1->clear();
    PicturePath.clear();
    try {
        dataset::Dataset& query = dm_.SQL_LS;
        query.close();
        query.setCommandText(productStatement(PictureProductCode));
        query.open();
        if (!query.isEmpty())
            PicturePath = query.field(QStringLiteral("TP")).asString();
    } catch (const sql::Error& error) {
        ui::fail(this, error.message());
    }
    if (!PicturePath.isEmpty() && QFileInfo(PicturePath).isFile())
        Image1->load(PicturePath);
}

void TBM_TP::BitBtn1Click() {
    ui::FileRequest request;
    request.kind = ui::FileRequest::Kind::Picture;
    request.parent = this;
    request.caption = QStringLiteral("图片文件");
    request.filter = kPictureFilter;
    request.directory = QStringLiteral(".");
    const QString chosen = ui::dialogs().chooseFile(request);
    if (!chosen.isEmpty())
        PicturePath = QFileInfo(chosen).absoluteFilePath();
    if (!Image1->load(PicturePath))
        ui::fail(this, QStringLiteral("无法载入图片文件“%1”").arg(PicturePath));
}

void TBM_TP::BitBtn2Click() {
    Image1->clear();
}

void TBM_TP::BitBtn3Click() {
    close();
}

void TBM_TP::closeEvent(QCloseEvent* event) {
    if (!isVisible()) {
        event->accept();
        return;
    }
    try {
        FormClose();
    } catch (const sql::Error& error) {
        ui::fail(this, error.message());
        event->ignore();
        return;
    }
    event->accept();
}

void TBM_TP::FormClose() {
    const bool stored = storePicturePath();
    Image1->clear();
    if (stored)
        emit pictureStored(PictureCaller, PictureProductCode);
    PictureCaller.clear();
    PictureProductCode.clear();
    PicturePath.clear();
}

// Writes the path on every close, changed or not; a product not stored yet (a new
// row not posted) has no row to write to.
bool TBM_TP::storePicturePath() {
    dataset::Dataset& query = dm_.SQL_LS;
    query.close();
    query.setCommandText(productStatement(PictureProductCode));
    query.open();
    if (query.isEmpty()) {
        ui::inform(this, kNotStoredText);
        return false;
    }
    query.edit();
    query.field(QStringLiteral("TP")).setValue(PicturePath);
    query.post();
    return true;
}

} // namespace masterdata
