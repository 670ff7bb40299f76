#include "shell/PasswordWindow.h"

#include "shell/DataModule.h"
#include "shell/Password.h"
#include "shell/WindowSupport.h"
#include "ui/Dialogs.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace shell {

Tggmm::Tggmm(TDM_CS& dataModule, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowStaysOnTopHint), dm_(dataModule) {
    setObjectName(QStringLiteral("Tggmm"));
    setWindowTitle(QStringLiteral("修改密码"));
    setModal(false);

    auto* form = new QFormLayout;
    LabeledEdit_OLD = addPasswordField(form, "LabeledEdit_OLD", QStringLiteral("原 密 码："));
    LabeledEdit_NEW = addPasswordField(form, "LabeledEdit_NEW", QStringLiteral("新 密 码："));
    LabeledEdit_V = addPasswordField(form, "LabeledEdit_V", QStringLiteral("重新输入："));

    BitBtn1 = new QPushButton(QStringLiteral("确 定"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn2 = new QPushButton(QStringLiteral("退 出"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(BitBtn1, &QPushButton::clicked, this, &Tggmm::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &Tggmm::BitBtn2Click);  // Esc closes the dialog as well
}

QLineEdit* Tggmm::addPasswordField(QFormLayout* form, const char* name, const QString& caption) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QLatin1String(name));
    edit->setEchoMode(QLineEdit::Password);
    edit->setMaxLength(kMaxPasswordLength);
    auto* label = new QLabel(caption, this);
    label->setObjectName(QLatin1String(name) + QStringLiteral("Label"));
    label->setBuddy(edit);
    form->addRow(label, edit);
    return edit;
}

void Tggmm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    setWindowTitle(QStringLiteral("修改密码 :") + dm_.OperatorName);
    centreOn(this, parentWidget());
}

void Tggmm::BitBtn1Click() {
    try {
        const PasswordChange change =
            changeOperatorPassword(dm_, LabeledEdit_OLD->text(), LabeledEdit_NEW->text(), LabeledEdit_V->text());
        ui::ask(this, QStringLiteral("提示："), change.message, change.changed ? ui::Icon::None : ui::Icon::Information,
                ui::Button::Ok, ui::Button::Ok);
    } catch (const sql::Error& error) {
        ui::fail(this, error.message());
    }
}

void Tggmm::BitBtn2Click() {
    close();
}

} // namespace shell
