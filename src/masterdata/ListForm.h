#pragma once

#include "dataset/Dataset.h"
#include "masterdata/ListSaving.h"

#include <QList>
#include <QWidget>

class QToolButton;

namespace shell {
class TDM_CS;
}

namespace masterdata {

class DataGrid;
class DBNavigator;

// A column of a plain list window: name, grid caption, and whether the grid shows it.
struct ListColumn {
    const char* name;
    const char* label;
    bool visible = true;
};

// A plain list window over one master table: an editable grid, save and exit buttons
// and a navigator with insert and delete. Rows are written as they are posted;
// inserting, editing and deleting raise the unsaved mark, and the save-and-close
// rule of the list windows applies. The categories and employees windows are such
// windows.
class ListForm : public QWidget {
    Q_OBJECT
public:
    struct Setup {
        const char* formName;
        const char* caption;
        const char* queryName;
        const char* statement;
        QList<ListColumn> columns;
    };

    ListForm(shell::TDM_CS& dm, const Setup& setup, QWidget* parent = nullptr);
    ~ListForm() override;

    bool isMarked() const { return list_.isMarked(); }

    QToolButton* SpeedButton1;  // save
    QToolButton* SpeedButton5;  // exit
    DBNavigator* DBNavigator1;
    DataGrid* DBGridEh1;

    void SpeedButton1Click();
    void SpeedButton5Click();

protected:
    dataset::Dataset query_;

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();

    EditableList list_;
};

} // namespace masterdata
