#pragma once

#include "dataset/Dataset.h"

#include <QWidget>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace shell {
class TDM_CS;
}

namespace masterdata {

// The company window "公司信息": the one row of BM_GSXX (name, phone, address, the
// background picture file and the backup folder). Closing it applies the stored
// picture and name to the main window through the two signals. Ctrl+F12 shows the
// SQL analysis tool; Enter moves to the next control. An MDI child of fixed size.
class TBM_GSXX : public QWidget {
    Q_OBJECT
public:
    explicit TBM_GSXX(shell::TDM_CS& dm, QWidget* parent = nullptr);
    ~TBM_GSXX() override;

    dataset::Dataset ADOQuery1;

    QPushButton* BitBtn1;  // save
    QPushButton* BitBtn2;  // exit
    QGroupBox* GroupBox1;
    QLabel* Label1;
    QLineEdit* GSMC;
    QLabel* Label2;
    QLineEdit* DH;
    QLabel* Label3;
    QLineEdit* DZ;
    QGroupBox* GroupBox2;
    QLabel* Label6;
    QLineEdit* Edit1;
    QToolButton* Image1;
    QLabel* Label10;
    QLabel* Label9;
    QLineEdit* Edit2;
    QToolButton* Image2;

    void BitBtn1Click();
    void BitBtn2Click();
    void Image1Click();
    void Image2Click();

signals:
    // On close: the picture file the main window shows behind its child windows.
    void backgroundPictureChanged(const QString& file);
    // On close, when the company's own picture loaded: the name for the main window's label.
    void companyNameChanged(const QString& name);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void FormCreate();
    bool FormKeyDown(QKeyEvent* key);
    void applyToMainWindow();

    shell::TDM_CS& dm_;
};

} // namespace masterdata
