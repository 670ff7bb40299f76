#pragma once

#include "dataset/Dataset.h"

#include <QPointer>
#include <QWidget>

class QKeyEvent;
class QLabel;
class QToolButton;

namespace masterdata {
class DataGrid;
}
namespace shell {
class TDM_CS;
}

namespace orders {

class Txsd;

// The quick list "商品选择": the products the order window's quick selection found
// more than once, read-only. It stays above the other windows without blocking them;
// a double click, "+" or Enter adds the product as a new line of the order, and the
// focus goes back to the quick-selection box. One list per data module (instance()).
class Txspx : public QWidget {
    Q_OBJECT
public:
    explicit Txspx(shell::TDM_CS& dm, QWidget* parent = nullptr);
    ~Txspx() override;

    static Txspx& instance(shell::TDM_CS& dm);

    // Fills the list with the statement's products and shows it for the order window,
    // with the caller code "txsd". Failures of the statement are shown.
    void showList(const QString& statement, Txsd* orderWindow);

    QString QuickListCaller;
    dataset::Dataset query_sp;

    QToolButton* SpeedButton5;  // 退出
    QLabel* Label1;
    masterdata::DataGrid* DBGridEh1;

    // The pick: a new line with the current row's product, then close.
    void DBGridEh1DblClick();
    void SpeedButton5Click();
    bool FormKeyPress(QWidget* target, QKeyEvent* event);

private:
    void setUpColumns();

    shell::TDM_CS& dm_;
    QPointer<Txsd> orderWindow_;
};

} // namespace orders
