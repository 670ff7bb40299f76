#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QPushButton;

namespace shell {
class TDM_CS;
}

namespace masterdata {

class PictureView;

inline const QString kPictureCallerProducts = QStringLiteral("SP");

// The picture window "商品图片预览窗口": one product's picture, large, with buttons to
// choose or clear it. The chosen path is stored in the product's TP when the window
// closes. One window per data module (instance()), hidden between uses.
//
// Callers ask for a product with showFor(): the products window passes the caller
// "SP" and gets pictureStored() to refresh its list; the rental order window passes
// only the line's product code.
class TBM_TP : public QWidget {
    Q_OBJECT
public:
    explicit TBM_TP(shell::TDM_CS& dm, QWidget* parent = nullptr);

    static TBM_TP& instance(shell::TDM_CS& dm);

    // Sets PictureProductCode and PictureCaller, runs the on-show steps and shows the
    // window. The steps run on every request, also while the window is open, so the
    // path stored on close always belongs to the product shown.
    void showFor(const QString& productCode, const QString& caller = QString());

    // The state of a request: the product, the picture path it works with, and who asked.
    QString PictureProductCode;
    QString PicturePath;
    QString PictureCaller;

    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QPushButton* BitBtn3;
    QLabel* Label1;
    PictureView* Image1;

    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();

signals:
    // The close wrote the path into the product's row: a caller's list can show it.
    void pictureStored(const QString& caller, const QString& productCode);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormShow();
    void FormClose();
    bool storePicturePath();

    shell::TDM_CS& dm_;
};

} // namespace masterdata
