#pragma once

#include "dataset/Dataset.h"
#include "masterdata/ListSaving.h"

#include <QPointer>
#include <QWidget>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QModelIndex;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace masterdata {
class DataGrid;
class DBNavigator;
}
namespace shell {
class TDM_CS;
}

namespace orders {

class Txsd;

// The caller code of the order window; a pick reaches the order only under it.
inline const QString kOrderWindowCaller = QStringLiteral("txsd");

// The full product picker "商品选择": the category tree beside the products of the
// chosen category, with a filter; the list can be edited, saved and exported. The
// order window shows it modally from the ellipsis of a line's code cell, and the
// product picked by a double click or "+" becomes that line's product. One picker per
// data module (instance()), hidden between uses.
class TXZSP : public QWidget {
    Q_OBJECT
public:
    explicit TXZSP(shell::TDM_CS& dm, QWidget* parent = nullptr);
    ~TXZSP() override;

    static TXZSP& instance(shell::TDM_CS& dm);

    // Shows the picker modally (without waiting for it) with the caller code "txsd";
    // the pick goes into the order window's current line.
    void showFor(Txsd* orderWindow);

    QString PickerCaller;
    // The code of the chosen tree node; "%" for the root.
    const QString& selectedCategory() const { return category_; }
    bool isMarked() const { return list_.isMarked(); }

    dataset::Dataset Query_SP;
    dataset::Dataset Query_LB;

    QToolButton* SpeedButton5;  // 退出
    QToolButton* SpeedButton4;  // 导出
    QToolButton* SpeedButton1;  // 保存
    QLabel* Label1;
    QLineEdit* Edit1;  // filter
    masterdata::DBNavigator* DBNavigator1;
    QTreeWidget* TV_LB;
    masterdata::DataGrid* DBGridEh1;

    void FormShow();
    void TV_LBChange(QTreeWidgetItem* node, QTreeWidgetItem* previous);
    void Edit1Change(const QString& text);
    void SpeedButton1Click();
    void SpeedButton4Click();
    void SpeedButton5Click();
    // The pick: the current row's product into the caller's current line, then close.
    void DBGridEh1DblClick();
    bool FormKeyPress(QWidget* target, QKeyEvent* event);
    // The closing question about unsaved edits; true when the picker may close.
    bool FormCloseQuery();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildTree();
    void loadCategory();
    void Query_SPAfterInsert(dataset::Dataset& products);

    shell::TDM_CS& dm_;
    masterdata::EditableList list_;
    QString category_;
    QPointer<Txsd> orderWindow_;
};

} // namespace orders
