#include "shell/InitialiseWindow.h"

#include "shell/DataModule.h"
#include "shell/StatementList.h"
#include "shell/WindowSupport.h"
#include "ui/BusyCursor.h"
#include "ui/Dialogs.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace shell {

TCSH::TCSH(TDM_CS& dataModule, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                          | Qt::WindowStaysOnTopHint),
      dm_(dataModule) {
    setObjectName(QStringLiteral("TCSH"));
    setWindowTitle(QStringLiteral("帐套初始化"));
    Label1 = new QLabel(QStringLiteral("初始化前请先备份好，以免数据丢失！"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    BitBtn3 = new QPushButton(QStringLiteral("初 始 化 业 务 单 据"), this);
    BitBtn3->setObjectName(QStringLiteral("BitBtn3"));
    BitBtn4 = new QPushButton(QStringLiteral("初始化所有数据（包括业务单据和基础资料）"), this);
    BitBtn4->setObjectName(QStringLiteral("BitBtn4"));
    BitBtn5 = new QPushButton(QStringLiteral("退 出"), this);
    BitBtn5->setObjectName(QStringLiteral("BitBtn5"));
    CheckListBox1 = new QListWidget(this);
    CheckListBox1->setObjectName(QStringLiteral("CheckListBox1"));
    CheckListBox1->setAccessibleName(QStringLiteral("初始化业务单据的语句"));
    CheckListBox1->hide();
    CheckListBox2 = new QListWidget(this);
    CheckListBox2->setObjectName(QStringLiteral("CheckListBox2"));
    CheckListBox2->setAccessibleName(QStringLiteral("初始化所有数据的语句"));
    CheckListBox2->hide();
    setCheckListEntries(CheckListBox1, initialiseDocumentsStatements());
    setCheckListEntries(CheckListBox2, initialiseAllStatements());

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(BitBtn3);
    layout->addWidget(BitBtn4);
    layout->addWidget(BitBtn5);
    layout->addWidget(CheckListBox1);
    layout->addWidget(CheckListBox2);
    setFixedSize(sizeHint());

    connect(BitBtn3, &QPushButton::clicked, this, &TCSH::BitBtn3Click);
    connect(BitBtn4, &QPushButton::clicked, this, &TCSH::BitBtn4Click);
    connect(BitBtn5, &QPushButton::clicked, this, &TCSH::BitBtn5Click);
}

void TCSH::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    centreOn(this, parentWidget());
}

void TCSH::runList(QListWidget* list, const QString& doneText) {
    {
        ui::BusyCursor busy;
        setCheckListMarks(list, runStatementList(dm_.ADOConnection1, checkListEntries(list)));
    }
    ui::notify(this, doneText, QStringLiteral("提示："));
}

void TCSH::BitBtn3Click() {
    runList(CheckListBox1, QStringLiteral("帐套初始化成功！"));
}

void TCSH::BitBtn4Click() {
    runList(CheckListBox2, QStringLiteral("帐套初始化！"));
}

void TCSH::BitBtn5Click() {
    close();
}

} // namespace shell
