#pragma once

#include "ui/Dialogs.h"

#include <QString>
#include <QWidget>

class QPlainTextEdit;
class QPushButton;
class QSplitter;

namespace shell {
class TDM_CS;
}

namespace masterdata {

// The SQL analysis tool "数据分析工具": a statement or expression typed in Memo1 runs
// against the account set on the data module's SQLFORM; results are appended to
// Memo2. Enter anywhere runs, Esc hides. One window per data module (instance()),
// on top of the others, hidden rather than destroyed, so its texts stay.
class TSQL_YJ : public QWidget {
    Q_OBJECT
public:
    explicit TSQL_YJ(shell::TDM_CS& dm, QWidget* parent = nullptr);

    static TSQL_YJ& instance(shell::TDM_CS& dm);

    // The file Open chose or the first Save named; empty at first.
    const QString& fileName() const { return fileName_; }

    QPushButton* BitBtn1;  // open
    QPushButton* BitBtn2;  // save
    QPushButton* BitBtn4;  // empty the result pane
    QPushButton* BitBtn5;  // exit
    QPushButton* BitBtn3;  // execute
    QPlainTextEdit* Memo1;
    QSplitter* Splitter1;
    QPlainTextEdit* Memo2;

    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void BitBtn5Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool FormKeyDown(QKeyEvent* key);
    QString chooseTextFile(ui::FileRequest::Kind kind, const QString& caption);

    shell::TDM_CS& dm_;
    QString fileName_;
};

} // namespace masterdata
