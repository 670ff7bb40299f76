#pragma once

#include <QPixmap>
#include <QString>
#include <QWidget>

namespace masterdata {

// The file types the picture dialogs offer, in the desktop filter form.
extern const QString kPictureFilter;

// A picture shown centred: a picture larger than the view is shrunk in proportion to
// fit, a smaller one is shown at its own size.
class PictureView : public QWidget {
    Q_OBJECT
public:
    explicit PictureView(QWidget* parent = nullptr);

    // Loads a picture file; false (and the view unchanged) when it is no picture.
    bool load(const QString& path);
    void clear();

    bool isEmpty() const { return picture_.isNull(); }
    const QPixmap& picture() const { return picture_; }
    // The file the picture was loaded from; empty when the view is empty.
    const QString& fileName() const { return fileName_; }
    // The rectangle the picture takes inside the view.
    QRect pictureRect() const;

    QSize sizeHint() const override { return {200, 200}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap picture_;
    QString fileName_;
};

} // namespace masterdata
