#pragma once

#include "dataset/Dataset.h"
#include "masterdata/ListSaving.h"

#include <QWidget>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QModelIndex;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace shell {
class TDM_CS;
}

namespace masterdata {

class DataGrid;
class DBNavigator;
class PictureView;

// The products window "商品资料": the category tree on the left, the products of the
// chosen category (by code prefix) in an editable grid, a filter over code, name and
// pinyin, save, pinyin regeneration and a picture preview. An MDI child; the picture
// window opens on a double click.
class TFormSP : public QWidget {
    Q_OBJECT
public:
    explicit TFormSP(shell::TDM_CS& dm, QWidget* parent = nullptr);
    ~TFormSP() override;

    // The code of the chosen tree node; kAllCategories for the root.
    const QString& currentCategory() const { return category_; }
    bool isMarked() const { return list_.isMarked(); }

    dataset::Dataset Query_SP;
    dataset::Dataset Query_splb;
    dataset::Dataset query_ls;

    QToolButton* SpeedButton1;  // save
    QToolButton* SpeedButton4;  // export
    QToolButton* SpeedButton2;  // pinyin
    QToolButton* SpeedButton3;  // print
    QToolButton* SpeedButton5;  // exit
    QLabel* Label1;
    QLineEdit* Edit1;
    DBNavigator* DBNavigator1;
    QLabel* Label2;
    QLineEdit* Edit2;
    QLabel* Label3;
    QCheckBox* CheckBox1;
    QTreeWidget* TV_LB;
    DataGrid* DBGridEh1;
    QFrame* Panel4;
    PictureView* Image1;

    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void SpeedButton5Click();
    void Edit1Change(const QString& text);
    void CheckBox1Click(bool checked);
    void TV_LBChange(QTreeWidgetItem* node, QTreeWidgetItem* previous);
    void DBGridEh1CellClick(const QModelIndex& index);
    void DBGridEh1DblClick(const QModelIndex& index);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildCategoryTree();
    void loadCategory();
    void Query_SPAfterInsert(dataset::Dataset& products);
    bool Query_SPBeforeDelete(dataset::Dataset& products);
    void pictureStored(const QString& caller);

    shell::TDM_CS& dm_;
    EditableList list_;
    QString category_;
};

} // namespace masterdata
