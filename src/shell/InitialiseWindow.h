#pragma once

#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;

namespace shell {

class TDM_CS;

// The initialisation window: empties the orders, or the orders with the products and
// categories, by running a fixed statement list and marking each statement. Employees,
// company, print formats and pinyin initials stay. Not modal, above the other windows.
class TCSH : public QWidget {
    Q_OBJECT
public:
    explicit TCSH(TDM_CS& dataModule, QWidget* parent = nullptr);

    void BitBtn3Click();  // 初 始 化 业 务 单 据
    void BitBtn4Click();  // 初始化所有数据（包括业务单据和基础资料）
    void BitBtn5Click();  // 退 出

    QLabel* Label1;
    QPushButton* BitBtn3;
    QPushButton* BitBtn4;
    QPushButton* BitBtn5;
    QListWidget* CheckListBox1;
    QListWidget* CheckListBox2;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void runList(QListWidget* list, const QString& doneText);

    TDM_CS& dm_;
};

} // namespace shell
