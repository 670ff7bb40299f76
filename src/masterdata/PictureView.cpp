#include "masterdata/PictureView.h"

#include <QImageReader>
#include <QPainter>

namespace masterdata {

const QString kPictureFilter = QStringLiteral(
    "所有图片 (*.jpg;*.jpeg;*.bmp;*.png;*.gif)|*.jpg;*.jpeg;*.bmp;*.png;*.gif|"
    "JPEG 图片 (*.jpg;*.jpeg)|*.jpg;*.jpeg|位图 (*.bmp)|*.bmp|PNG 图片 (*.png)|*.png|所有文件 (*.*)|*.*");

PictureView::PictureView(QWidget* parent) : QWidget(parent) {}

bool PictureView::load(const QString& path) {
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull())
        return false;
    picture_ = QPixmap::fromImage(image);
    fileName_ = path;
    update();
    return true;
}

void PictureView::clear() {
    picture_ = QPixmap();
    fileName_.clear();
    update();
}

QRect PictureView::pictureRect() const {
    if (picture_.isNull())
        return {};
    QSize size = picture_.size();
    if (size.width() > width() || size.height() > height())
        size.scale(this->size(), Qt::KeepAspectRatio);
    return QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

void PictureView::paintEvent(QPaintEvent*) {
    if (picture_.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(pictureRect(), picture_);
}

} // namespace masterdata
