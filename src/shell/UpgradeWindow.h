#pragma once

#include <QWidget>

class QKeyEvent;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace shell {

class TDM_CS;

// The account-set upgrade: brings an account set of the older layout to the current
// columns by the statements in Memo1, leaving out what the account set already has.
// Shown with only its two buttons; Ctrl+F12 reveals the statements and the marks of
// the last run. Not modal, above the other windows.
class Tup : public QWidget {
    Q_OBJECT
public:
    explicit Tup(TDM_CS& dataModule, QWidget* parent = nullptr);

    void BitBtn3Click();  // 开 始
    void Button1Click();  // 退 出
    void FormKeyDown(QKeyEvent* event);

    QWidget* Panel1;
    QPushButton* BitBtn3;
    QPushButton* Button1;
    QWidget* Panel2;
    QPlainTextEdit* Memo1;
    QListWidget* CheckListBox1;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QStringList memoLines() const;
    void showButtonsOnly();
    void revealStatements();

    TDM_CS& dm_;
};

} // namespace shell
