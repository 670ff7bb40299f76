#include "shell/UpgradeWindow.h"

#include "shell/DataModule.h"
#include "shell/StatementList.h"
#include "shell/WindowSupport.h"
#include "ui/BusyCursor.h"
#include "ui/Dialogs.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace shell {
namespace {

constexpr int kWidth = 360;
constexpr int kRevealedHeight = 420;

} // namespace

Tup::Tup(TDM_CS& dataModule, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), dm_(dataModule) {
    setObjectName(QStringLiteral("Tup"));
    setWindowTitle(QStringLiteral("账套升级"));

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    BitBtn3 = new QPushButton(QStringLiteral("开 始"), Panel1);
    BitBtn3->setObjectName(QStringLiteral("BitBtn3"));
    Button1 = new QPushButton(QStringLiteral("退 出"), Panel1);
    Button1->setObjectName(QStringLiteral("Button1"));
    auto* buttons = new QHBoxLayout(Panel1);
    buttons->addWidget(BitBtn3);
    buttons->addWidget(Button1);

    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Memo1 = new QPlainTextEdit(Panel2);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setAccessibleName(QStringLiteral("升级语句"));
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setPlainText(upgradeStatements().join(QLatin1Char('\n')));
    CheckListBox1 = new QListWidget(Panel2);
    CheckListBox1->setObjectName(QStringLiteral("CheckListBox1"));
    CheckListBox1->setAccessibleName(QStringLiteral("上次升级的语句"));
    auto* statements = new QVBoxLayout(Panel2);
    statements->setContentsMargins(0, 0, 0, 0);
    statements->addWidget(Memo1, 3);
    statements->addWidget(CheckListBox1, 2);
    Panel2->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Panel1);
    layout->addWidget(Panel2, 1);

    connect(BitBtn3, &QPushButton::clicked, this, &Tup::BitBtn3Click);
    connect(Button1, &QPushButton::clicked, this, &Tup::Button1Click);
}

void Tup::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    showButtonsOnly();
    centreOn(this, nullptr);
}

void Tup::showButtonsOnly() {
    Panel2->hide();
    layout()->activate();
    resize(kWidth, minimumSizeHint().height());
}

void Tup::revealStatements() {
    Panel2->show();
    resize(kWidth, kRevealedHeight);
}

void Tup::keyPressEvent(QKeyEvent* event) {
    FormKeyDown(event);
    if (!event->isAccepted())
        QWidget::keyPressEvent(event);
}

void Tup::FormKeyDown(QKeyEvent* event) {
    if (event->key() == Qt::Key_F12 && event->modifiers() == Qt::ControlModifier) {
        revealStatements();
        event->accept();
    } else {
        event->ignore();
    }
}

QStringList Tup::memoLines() const {
    QStringList lines = Memo1->toPlainText().split(QLatin1Char('\n'));
    if (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast();  // the break after the last line starts no statement
    return lines;
}

void Tup::BitBtn3Click() {
    setCheckListEntries(CheckListBox1, memoLines());
    {
        ui::BusyCursor busy;
        setCheckListMarks(CheckListBox1, runUpgradeList(dm_.ADOConnection1, checkListEntries(CheckListBox1)));
    }
    ui::notify(this, QStringLiteral("帐套升级成功！"), QStringLiteral("提示："));
}

void Tup::Button1Click() {
    close();
}

} // namespace shell
