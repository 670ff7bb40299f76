#pragma once

#include "shell/DesktopShortcut.h"
#include "shell/Login.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace shell {

class TDM_CS;

// The login window. Creating it fills the login name (and, when remembered, the
// password) from Default.ini and opens the account set; showing it puts the program's
// launcher on the desktop until the first successful login. Accepted when an operator
// logged in; rejected when the login was abandoned (退 出, Esc, close box, or the
// third wrong password).
class Tdl : public QDialog {
    Q_OBJECT
public:
    explicit Tdl(TDM_CS& dataModule, QWidget* owner = nullptr);

    // The folder the launcher is saved in; the user's desktop unless set.
    void setDesktopFolder(const QString& folder) { desktopFolder_ = folder; }
    const DesktopShortcut& shortcut() const { return shortcut_; }
    const LoginCheck& loginCheck() const { return check_; }

    void BitBtn4Click();  // 登 录
    void BitBtn3Click();  // 退 出

    QLabel* Image1;
    QLabel* Label1;
    QLineEdit* Edit1;
    QLabel* Label2;
    QLineEdit* Edit2;
    QLabel* Label3;
    QCheckBox* CheckBox1;
    QPushButton* BitBtn4;
    QPushButton* BitBtn3;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void loadPicture();
    void fillFromSettings();
    void showResult(const LoginCheck::Result& result);

    TDM_CS& dm_;
    LoginCheck check_;
    DesktopShortcut shortcut_;
    QString desktopFolder_;
};

// The login as the main window's creation runs it: Tdl shown modally. True when an
// operator logged in.
bool runLoginWindow(TDM_CS& dataModule, QWidget* owner);

} // namespace shell
