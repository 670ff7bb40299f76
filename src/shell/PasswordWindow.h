#pragma once

#include <QDialog>

class QFormLayout;
class QLineEdit;
class QPushButton;

namespace shell {

class TDM_CS;

// The password change of the logged-in operator. Not modal, above the other windows;
// it stays open after every message and its fields keep their contents.
class Tggmm : public QDialog {
    Q_OBJECT
public:
    explicit Tggmm(TDM_CS& dataModule, QWidget* parent = nullptr);

    static constexpr int kMaxPasswordLength = 12;

    void BitBtn1Click();  // 确 定
    void BitBtn2Click();  // 退 出

    QLineEdit* LabeledEdit_OLD;
    QLineEdit* LabeledEdit_NEW;
    QLineEdit* LabeledEdit_V;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* addPasswordField(QFormLayout* form, const char* name, const QString& caption);

    TDM_CS& dm_;
};

} // namespace shell
