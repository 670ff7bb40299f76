#include "shell/LoginWindow.h"

#include "shell/AppInfo.h"
#include "shell/DataModule.h"
#include "shell/WindowSupport.h"
#include "ui/Dialogs.h"
#include "ui/EnterAsTab.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace shell {
namespace {

constexpr int kPictureWidth = 400;
constexpr int kPictureHeight = 150;

template <typename Widget>
Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

Tdl::Tdl(TDM_CS& dataModule, QWidget* owner)
    : QDialog(owner), dm_(dataModule), check_(dataModule), desktopFolder_(userDesktopFolder()) {
    setObjectName(QStringLiteral("Tdl"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    buildControls();
    loadPicture();
    fillFromSettings();
    const QString failure = check_.openAccountSet();
    if (!failure.isEmpty())
        ui::fail(this, failure);
    setWindowTitle(kApplicationTitle + QLatin1Char(' ') + kVersionText);
    shortcut_ = {kApplicationTitle, QCoreApplication::applicationFilePath(), dm_.programDir()};
    setFixedSize(sizeHint());
    centreOn(this, nullptr);
}

void Tdl::buildControls() {
    Image1 = named(new QLabel(this), "Image1");
    Image1->setFixedSize(kPictureWidth, kPictureHeight);
    Image1->setScaledContents(true);

    Label1 = named(new QLabel(QStringLiteral("登录名称："), this), "Label1");
    Edit1 = named(new QLineEdit(this), "Edit1");
    Label1->setBuddy(Edit1);
    Label2 = named(new QLabel(QStringLiteral("登录密码："), this), "Label2");
    Edit2 = named(new QLineEdit(this), "Edit2");
    Edit2->setEchoMode(QLineEdit::Password);
    Label2->setBuddy(Edit2);
    Label3 = named(new QLabel(QStringLiteral("初始密码：登录名称用\"sa\"，登录密码是592"), this), "Label3");
    CheckBox1 = named(new QCheckBox(QStringLiteral("记住密码"), this), "CheckBox1");
    BitBtn4 = named(new QPushButton(QStringLiteral("登 录"), this), "BitBtn4");
    BitBtn3 = named(new QPushButton(QStringLiteral("退 出"), this), "BitBtn3");

    auto* fields = new QGridLayout;
    fields->addWidget(Label1, 0, 0);
    fields->addWidget(Edit1, 0, 1);
    fields->addWidget(Label2, 1, 0);
    fields->addWidget(Edit2, 1, 1);
    fields->addWidget(Label3, 2, 0, 1, 2);
    fields->addWidget(CheckBox1, 3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn4);
    buttons->addWidget(BitBtn3);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Image1);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, CheckBox1);
    setTabOrder(CheckBox1, BitBtn4);
    setTabOrder(BitBtn4, BitBtn3);
    ui::EnterAsTab::install(this);
    CheckBox1->installEventFilter(this);  // a check box keeps Enter for itself otherwise
    connect(BitBtn4, &QPushButton::clicked, this, &Tdl::BitBtn4Click);
    connect(BitBtn3, &QPushButton::clicked, this, &Tdl::BitBtn3Click);
}

void Tdl::loadPicture() {
    QPixmap picture;
    if (picture.load(dm_.programPath(QStringLiteral("log.jpg"))))
        Image1->setPixmap(picture);
    else
        Image1->setEnabled(false);
}

void Tdl::fillFromSettings() {
    Settings& settings = dm_.settings();
    Edit1->setText(settings.loginUser());
    if (settings.rememberPassword()) {
        Edit2->setText(settings.loginPassword());
        CheckBox1->setChecked(true);
    } else {
        Edit2->clear();
    }
}

void Tdl::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (dm_.settings().loginCount() == 0)
        shortcut_.saveIn(desktopFolder_);  // a desktop that cannot take it is no reason to stop the login
}

bool Tdl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == CheckBox1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Tdl::BitBtn4Click() {
    const LoginCheck::Result result = check_.attempt(Edit1->text(), Edit2->text(), CheckBox1->isChecked());
    showResult(result);
    switch (result.outcome) {
    case LoginCheck::Outcome::Accepted:
        accept();
        break;
    case LoginCheck::Outcome::TooManyWrong:
        reject();
        break;
    default:
        break;
    }
}

void Tdl::showResult(const LoginCheck::Result& result) {
    switch (result.outcome) {
    case LoginCheck::Outcome::Accepted:
        break;
    case LoginCheck::Outcome::TooManyWrong:
        ui::notify(this, result.message, kApplicationTitle);
        break;
    case LoginCheck::Outcome::Failed:
        ui::fail(this, result.message);
        break;
    case LoginCheck::Outcome::NameMissing:
    case LoginCheck::Outcome::UnknownName:
    case LoginCheck::Outcome::WrongPassword:
        ui::inform(this, result.message);
        break;
    }
}

void Tdl::BitBtn3Click() {
    reject();
}

bool runLoginWindow(TDM_CS& dataModule, QWidget* owner) {
    Tdl login(dataModule, owner);
    return login.exec() == QDialog::Accepted;
}

} // namespace shell
