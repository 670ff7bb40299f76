#pragma once

#include "dataset/Dataset.h"
#include "shell/AccountSetFiles.h"

#include <QDateTime>
#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <functional>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QStatusBar;
class QTimer;
class QToolButton;

namespace shell {

class TDM_CS;
class Tggmm;

// The main window: a maximised multiple-document frame. Its creation runs the login;
// it shows the company's name and background picture, a status bar with the developer
// line, the operator and a clock, the main menu and a column of buttons, and it
// dispatches every command. Closing it asks the open working windows, then the closing
// question with its backups.
//
// Commands are named by their menu item ("XT_ZTBF", "CZGH"). The maintenance commands
// are the frame's own; every other command opens a working window that a module
// registers with registerChildWindow(). A command without a registered window is
// disabled, in the menu and on its button.
class Tform1 : public QMainWindow {
    Q_OBJECT
public:
    // Logs an operator in; false when the login was abandoned.
    using LoginStep = std::function<bool(TDM_CS& dataModule, QWidget* owner)>;
    // Makes the working window of a command. The frame puts it into a child window of
    // its client area, shows it, and forgets it when it is closed. The window's
    // closeEvent is its close query: ignoring the event keeps it (and the program) open.
    using ChildWindowFactory = std::function<QWidget*(Tform1& frame)>;
    using Clock = std::function<QDateTime()>;
    // What the frame asks of the desktop; replaced in tests.
    struct DesktopActions {
        std::function<void(const QString& folder)> openFolder;
        std::function<void(const QString& program, const QStringList& arguments, const QString& workingDir)>
            startProgram;
    };

    // With the default login step, the login window runs modally. When the login is
    // abandoned, loggedIn() is false and the window is not built: the program ends.
    explicit Tform1(TDM_CS& dataModule, const LoginStep& login, QWidget* parent = nullptr);
    explicit Tform1(TDM_CS& dataModule, QWidget* parent = nullptr);

    bool loggedIn() const { return loggedIn_; }
    TDM_CS& dataModule() const { return dm_; }

    // --- commands
    // Runs the command of a menu item or button; other windows use it too (the queries
    // and reminders open an order through "CZGH"). Unknown or disabled commands do nothing.
    void runCommand(const QString& code);
    // The menu item of a command; nullptr for an unknown code.
    QAction* command(const QString& code) const;
    // The codes of the commands that open working windows, in menu order.
    static QStringList childWindowCommands();

    // Plugs in the window a command opens and enables the command. The code must be one
    // of childWindowCommands().
    void registerChildWindow(const QString& code, ChildWindowFactory factory);
    // The command's window brought to the front, made first when none is open; nullptr
    // when no window is registered for the command.
    QWidget* openChildWindow(const QString& code);
    // The command's open window; nullptr when none is open.
    QWidget* childWindow(const QString& code) const;

    // --- long-lived tool windows (created hidden at start, shown by commands and windows)
    // Takes the window over as a separate window of the frame, hidden, under its class name.
    void addToolWindow(const QString& className, QWidget* window);
    QWidget* toolWindow(const QString& className) const;
    void showToolWindow(const QString& className);

    // --- title strip and background
    // The size of the background picture, which working windows take less a margin.
    QSize backgroundSize() const;
    // Shows the picture file behind the child windows; false, and the picture unchanged,
    // when the file cannot be loaded.
    bool setBackgroundPicture(const QString& file);
    void setCompanyName(const QString& name);

    void setClock(Clock clock);
    void setDesktopActions(DesktopActions actions);

    // --- event handlers
    void Timer1Timer();
    void Image1Click();
    void XT_CSHClick();
    void N3Click();
    void XT_ZTSJClick();
    void XT_ZTBFClick();
    void XT_ZTHFClick();
    void XT_YSXFClick();
    void XT_MMClick();
    void XT_PBClick();
    void BZ_TCClick();
    // Asks the open working windows, then the closing question; makes the backups.
    // True when the program may end.
    bool FormCloseQuery();

    // --- controls
    QMdiArea* MDIClient = nullptr;
    QLabel* Image2 = nullptr;
    QWidget* Panel1 = nullptr;
    QWidget* Panel2 = nullptr;
    QLabel* Label1 = nullptr;
    QToolButton* Image1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* StatusPanel1 = nullptr;
    QLabel* StatusPanel2 = nullptr;
    QLabel* StatusPanel3 = nullptr;
    QTimer* Timer1 = nullptr;
    dataset::Dataset query_gsxx;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenu();
    void buildButtons();
    void buildTitleStrip();
    void buildClient();
    void buildStatusBar();
    void showCompany();
    void connectCommands();
    bool childWindowsAgreeToClose();
    void backUpOnExit();
    void backUpWeekday();
    QDate today() const;

    TDM_CS& dm_;
    bool loggedIn_ = false;
    AccountSetFiles files_;
    Clock clock_;
    DesktopActions desktop_;
    QHash<QString, QAction*> commands_;
    QHash<QString, std::function<void()>> ownCommands_;
    QHash<QString, ChildWindowFactory> childFactories_;
    QHash<QString, QPointer<QMdiSubWindow>> childWindows_;
    QHash<QString, QPointer<QWidget>> toolWindows_;
    QPointer<Tggmm> passwordWindow_;
};

} // namespace shell
