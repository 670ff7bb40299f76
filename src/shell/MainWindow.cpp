#include "shell/MainWindow.h"

#include "shell/AppInfo.h"
#include "shell/DataModule.h"
#include "shell/LoginWindow.h"
#include "shell/PasswordWindow.h"
#include "shell/WindowSupport.h"
#include "ui/BusyCursor.h"
#include "text/DateText.h"
#include "ui/Dialogs.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QProcess>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace shell {
namespace {

const QString kDeveloperLine = QStringLiteral("研发单位：禾岚软件工作室   联系QQ：800012345");
const QString kInitialCompanyName = QStringLiteral("超市管理系统");
constexpr int kClockIntervalMs = 1000;
constexpr int kLogoSize = 48;

struct MenuDef {
    const char* name;
    const char* caption;
};

struct CommandDef {
    const char* menu;
    const char* code;
    const char* caption;
    bool separatorAfter;
    bool opensChildWindow;
};

const MenuDef kMenus[] = {{"xt", "系统维护"}, {"JC", "基础资料"}, {"YW", "业务管理"}, {"BZ", "帮助"}};

const CommandDef kCommands[] = {
    {"xt", "XT_CSH", "初始化", false, false},
    {"xt", "N3", "软件升级", false, false},
    {"xt", "XT_ZTSJ", "账套升级", true, false},
    {"xt", "XT_ZTBF", "账套备份", false, false},
    {"xt", "XT_ZTHF", "账套恢复", false, false},
    {"xt", "XT_YSXF", "压缩修复", true, false},
    {"xt", "XT_MM", "修改密码", false, false},
    {"xt", "XT_PB", "屏幕保护", false, false},
    {"JC", "JC_GSXX", "公司信息", false, true},
    {"JC", "JC_YG", "员工资料", true, true},
    {"JC", "JC_SPLB", "商品类别", false, true},
    {"JC", "JC_SP", "商品资料", false, true},
    {"YW", "CZGH", "出租、归还", true, true},
    {"YW", "XSDCX", "单据查询", false, true},
    {"YW", "MXCX", "单据明细", false, true},
    {"YW", "CZTB", "出租汇总图表", false, true},
    {"YW", "YYTX", "预约提醒", false, true},
    {"YW", "DQTX", "到期提醒", true, true},
    {"YW", "CWCX", "账务查询", false, true},
    {"BZ", "BZ_TC", "退出", false, false},
};

struct ButtonDef {
    const char* name;
    const char* command;
};

const ButtonDef kButtons[] = {{"BitBtn1", "CZGH"},    {"BitBtn2", "XSDCX"}, {"BitBtn3", "YYTX"},
                              {"BitBtn4", "DQTX"},    {"BitBtn5", "XT_ZTBF"}, {"BitBtn6", "XT_PB"},
                              {"BitBtn7", "BZ_TC"}};

// The child window around a working window. It tells the frame when it has closed, so
// that the next command makes a fresh window even before this one is deleted, and it
// closes with the window when the window closes itself (its own exit button).
class ChildFrame : public QMdiSubWindow {
public:
    std::function<void()> closed;

    // Sends the window a close event without closing anything: its close query.
    bool windowMayClose() {
        const ClosingGuard guard(closing_);
        QCloseEvent query;
        QCoreApplication::sendEvent(widget(), &query);
        return query.isAccepted();
    }

protected:
    void closeEvent(QCloseEvent* event) override {
        {
            const ClosingGuard guard(closing_);
            QMdiSubWindow::closeEvent(event);
        }
        if (event->isAccepted() && closed)
            closed();
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == widget() && event->type() == QEvent::Close && !closing_) {
            // The window closes itself: it answers its close query, then the frame closes with it.
            {
                const ClosingGuard guard(closing_);
                QCoreApplication::sendEvent(widget(), event);
            }
            if (event->isAccepted())
                close();
            return true;
        }
        return QMdiSubWindow::eventFilter(watched, event);
    }

private:
    struct ClosingGuard {
        explicit ClosingGuard(bool& flag) : flag_(flag) { flag_ = true; }
        ~ClosingGuard() { flag_ = false; }
        bool& flag_;
    };
    bool closing_ = false;  // a close event to the window passes to the window itself
};

// A folder or program that does not open is not reported.
Tform1::DesktopActions systemDesktop() {
    return {
        [](const QString& folder) { QDesktopServices::openUrl(QUrl::fromLocalFile(folder)); },
        [](const QString& program, const QStringList& arguments, const QString& workingDir) {
            QProcess::startDetached(program, arguments, workingDir);
        },
    };
}

void plainMessage(QWidget* parent, const QString& text) {
    ui::notify(parent, text, kApplicationTitle);
}

} // namespace

Tform1::Tform1(TDM_CS& dataModule, QWidget* parent) : Tform1(dataModule, runLoginWindow, parent) {}

Tform1::Tform1(TDM_CS& dataModule, const LoginStep& login, QWidget* parent)
    : QMainWindow(parent),
      dm_(dataModule),
      files_(dataModule),
      clock_([] { return QDateTime::currentDateTime(); }),
      desktop_(systemDesktop()) {
    setObjectName(QStringLiteral("Tform1"));
    loggedIn_ = login(dm_, this);
    if (!loggedIn_)
        return;
    setWindowTitle(kApplicationTitle);
    buildMenu();
    buildTitleStrip();
    buildButtons();
    buildClient();
    buildStatusBar();
    query_gsxx.setConnection(&dm_.ADOConnection1);
    showCompany();
    setWindowTitle(kApplicationTitle + kVersionText);
    setWindowState(Qt::WindowMaximized);
}

void Tform1::buildMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    QHash<QString, QMenu*> menus;
    for (const MenuDef& def : kMenus) {
        QMenu* menu = bar->addMenu(QString::fromUtf8(def.caption));
        menu->setObjectName(QLatin1String(def.name));
        menus.insert(QLatin1String(def.name), menu);
    }
    for (const CommandDef& def : kCommands) {
        const QString code = QLatin1String(def.code);
        QAction* action = menus.value(QLatin1String(def.menu))->addAction(QString::fromUtf8(def.caption));
        action->setObjectName(code);
        action->setEnabled(!def.opensChildWindow);
        connect(action, &QAction::triggered, this, [this, code] { runCommand(code); });
        commands_.insert(code, action);
        if (def.separatorAfter)
            menus.value(QLatin1String(def.menu))->addSeparator();
    }
    ownCommands_ = {
        {QStringLiteral("XT_CSH"), [this] { XT_CSHClick(); }},   {QStringLiteral("N3"), [this] { N3Click(); }},
        {QStringLiteral("XT_ZTSJ"), [this] { XT_ZTSJClick(); }}, {QStringLiteral("XT_ZTBF"), [this] { XT_ZTBFClick(); }},
        {QStringLiteral("XT_ZTHF"), [this] { XT_ZTHFClick(); }}, {QStringLiteral("XT_YSXF"), [this] { XT_YSXFClick(); }},
        {QStringLiteral("XT_MM"), [this] { XT_MMClick(); }},     {QStringLiteral("XT_PB"), [this] { XT_PBClick(); }},
        {QStringLiteral("BZ_TC"), [this] { BZ_TCClick(); }},
    };
}

void Tform1::buildTitleStrip() {
    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Label1 = new QLabel(kInitialCompanyName, Panel2);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont font = Label1->font();
    font.setPointSizeF(font.pointSizeF() * 2);
    font.setBold(true);
    Label1->setFont(font);
    Image1 = new QToolButton(Panel2);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAccessibleName(QStringLiteral("打开软件安装目录"));
    Image1->setToolTip(Image1->accessibleName());
    Image1->setAutoRaise(true);
    Image1->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    Image1->setIconSize(QSize(kLogoSize, kLogoSize));
    connect(Image1, &QToolButton::clicked, this, &Tform1::Image1Click);
    auto* layout = new QHBoxLayout(Panel2);
    layout->addWidget(Label1, 1);
    layout->addWidget(Image1);
}

void Tform1::buildButtons() {
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto* layout = new QVBoxLayout(Panel1);
    for (const ButtonDef& def : kButtons) {
        auto* button = new QToolButton(Panel1);
        button->setObjectName(QLatin1String(def.name));
        button->setDefaultAction(commands_.value(QLatin1String(def.command)));
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        button->setMinimumHeight(kLogoSize);
        layout->addWidget(button);
    }
    layout->addStretch();
}

void Tform1::buildClient() {
    MDIClient = new QMdiArea(this);
    MDIClient->setObjectName(QStringLiteral("MDIClient"));
    Image2 = new QLabel(MDIClient->viewport());
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setAccessibleName(QStringLiteral("背景图片"));
    Image2->setScaledContents(true);
    Image2->setAttribute(Qt::WA_TransparentForMouseEvents);
    Image2->lower();
    MDIClient->viewport()->installEventFilter(this);
    setBackgroundPicture(dm_.programPath(QStringLiteral("image.jpg")));

    auto* central = new QWidget(this);
    auto* layout = new QGridLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel2, 0, 0, 1, 2);
    layout->addWidget(Panel1, 1, 0);
    layout->addWidget(MDIClient, 1, 1);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(1, 1);
    setCentralWidget(central);
}

void Tform1::buildStatusBar() {
    StatusBar1 = statusBar();
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusPanel1 = new QLabel(kDeveloperLine, StatusBar1);
    StatusPanel2 = new QLabel(QStringLiteral("操作员：") + dm_.OperatorName, StatusBar1);
    StatusPanel3 = new QLabel(StatusBar1);
    int number = 1;
    for (QLabel* panel : {StatusPanel1, StatusPanel2, StatusPanel3}) {
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(number++));
        StatusBar1->addWidget(panel, 1);
    }
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kClockIntervalMs);
    connect(Timer1, &QTimer::timeout, this, &Tform1::Timer1Timer);
    Timer1->start();
    Timer1Timer();
}

// The picture named by BM_GSXX.LOG and the company name; when the picture does not load,
// the default picture stays and so does the initial name. Nothing is reported.
void Tform1::showCompany() {
    try {
        query_gsxx.setCommandText(QStringLiteral("select * from bm_gsxx"));
        query_gsxx.open();
        query_gsxx.first();
        if (setBackgroundPicture(dm_.programPath(query_gsxx.field(QStringLiteral("LOG")).asString())))
            Label1->setText(query_gsxx.field(QStringLiteral("GSMC")).asString());
    } catch (const sql::Error&) {
        // an unreadable company row leaves the title strip and background as they are
    }
}

bool Tform1::eventFilter(QObject* watched, QEvent* event) {
    if (MDIClient && watched == MDIClient->viewport() && event->type() == QEvent::Resize)
        Image2->setGeometry(MDIClient->viewport()->rect());
    return QMainWindow::eventFilter(watched, event);
}

QSize Tform1::backgroundSize() const {
    return Image2->size();
}

bool Tform1::setBackgroundPicture(const QString& file) {
    QPixmap picture;
    if (!picture.load(file))
        return false;
    Image2->setPixmap(picture);
    return true;
}

void Tform1::setCompanyName(const QString& name) {
    Label1->setText(name);
}

void Tform1::setClock(Clock clock) {
    clock_ = std::move(clock);
    Timer1Timer();
}

void Tform1::setDesktopActions(DesktopActions actions) {
    desktop_ = std::move(actions);
}

QDate Tform1::today() const {
    return clock_().date();
}

void Tform1::Timer1Timer() {
    const QDateTime now = clock_();
    StatusPanel3->setText(text::dateTimeText(now) + QLatin1Char(' ') + text::weekdayName(now.date()));
}

// ---------------------------------------------------------------- commands

QStringList Tform1::childWindowCommands() {
    QStringList codes;
    for (const CommandDef& def : kCommands)
        if (def.opensChildWindow)
            codes << QLatin1String(def.code);
    return codes;
}

QAction* Tform1::command(const QString& code) const {
    return commands_.value(code);
}

void Tform1::runCommand(const QString& code) {
    const QAction* action = command(code);
    if (!action || !action->isEnabled())
        return;
    if (const auto own = ownCommands_.constFind(code); own != ownCommands_.constEnd())
        own.value()();
    else
        openChildWindow(code);
}

void Tform1::registerChildWindow(const QString& code, ChildWindowFactory factory) {
    Q_ASSERT(childWindowCommands().contains(code));
    childFactories_.insert(code, std::move(factory));
    if (QAction* action = command(code))
        action->setEnabled(true);
}

QWidget* Tform1::childWindow(const QString& code) const {
    const QPointer<QMdiSubWindow> frame = childWindows_.value(code);
    return frame ? frame->widget() : nullptr;
}

QWidget* Tform1::openChildWindow(const QString& code) {
    QPointer<QMdiSubWindow> frame = childWindows_.value(code);
    if (!frame) {
        const auto factory = childFactories_.constFind(code);
        if (factory == childFactories_.constEnd())
            return nullptr;
        auto* child = new ChildFrame;
        child->setAttribute(Qt::WA_DeleteOnClose);
        child->setWidget(factory.value()(*this));
        child->closed = [this, code] { childWindows_.remove(code); };
        MDIClient->addSubWindow(child);
        childWindows_.insert(code, child);
        frame = child;
    }
    frame->show();
    frame->widget()->show();
    MDIClient->setActiveSubWindow(frame);
    frame->raise();
    return frame->widget();
}

void Tform1::addToolWindow(const QString& className, QWidget* window) {
    window->setParent(this, window->windowFlags() | Qt::Window);
    window->hide();
    toolWindows_.insert(className, window);
}

QWidget* Tform1::toolWindow(const QString& className) const {
    return toolWindows_.value(className);
}

void Tform1::showToolWindow(const QString& className) {
    if (QWidget* window = toolWindow(className)) {
        window->show();
        window->raise();
        window->activateWindow();
    }
}

void Tform1::XT_CSHClick() {
    showToolWindow(QStringLiteral("TCSH"));
}

void Tform1::XT_ZTSJClick() {
    showToolWindow(QStringLiteral("Tup"));
}

void Tform1::XT_MMClick() {
    if (!passwordWindow_)
        passwordWindow_ = new Tggmm(dm_, this);
    passwordWindow_->show();
    passwordWindow_->raise();
    passwordWindow_->activateWindow();
}

void Tform1::Image1Click() {
    desktop_.openFolder(dm_.programDir());
}

void Tform1::XT_PBClick() {
    desktop_.startProgram(QStringLiteral("xdg-screensaver"), {QStringLiteral("activate")}, dm_.programDir());
}

void Tform1::N3Click() {
    if (ui::ask(this, QStringLiteral("提示"), QStringLiteral("升级前需要先退出软件，是否现在退出？"), ui::Icon::Information,
                ui::Button::Yes | ui::Button::No, ui::Button::Yes)
        != ui::Button::Yes)
        return;
    close();
    desktop_.startProgram(dm_.programPath(QStringLiteral("UPDate")), {}, dm_.programDir());
}

void Tform1::BZ_TCClick() {
    close();
}

// ---------------------------------------------------------------- backup, restore, compact

void Tform1::XT_ZTBFClick() {
    ui::FileRequest request;
    request.kind = ui::FileRequest::Kind::Save;
    request.parent = this;
    request.filter = QStringLiteral("保存为 (*.bak)|*.*");
    request.proposedName = proposedBackupName(today());
    const QString chosen = ui::dialogs().chooseFile(request);
    if (chosen.isEmpty())
        return;
    try {
        files_.backupTo(requestedBackupPath(chosen));
        plainMessage(this, QStringLiteral("备份成功！"));
    } catch (const sql::Error&) {
        plainMessage(this, QStringLiteral("备份失败，请重试！"));
    }
}

void Tform1::XT_ZTHFClick() {
    ui::FileRequest request;
    request.kind = ui::FileRequest::Kind::Open;
    request.parent = this;
    request.filter = QStringLiteral("打开 (*.bak)|*.*");
    request.directory = dm_.programPath(QStringLiteral("Backup"));
    const QString chosen = ui::dialogs().chooseFile(request);
    if (chosen.isEmpty())
        return;
    query_gsxx.close();
    const AccountSetFiles::Restore restore = files_.restoreFrom(chosen, clock_());
    switch (restore.result) {
    case AccountSetFiles::RestoreResult::Restored:
        plainMessage(this, QStringLiteral("成功恢复数据！"));
        break;
    case AccountSetFiles::RestoreResult::CopyFailed:
        plainMessage(this, QStringLiteral("恢复失败，请重试!"));
        break;
    case AccountSetFiles::RestoreResult::NotAnAccountSet:
        plainMessage(this, QStringLiteral("恢复失败：所选文件不是帐套，当前帐套没有改变！"));
        break;
    case AccountSetFiles::RestoreResult::PutBack:
        plainMessage(this, QStringLiteral("恢复失败：恢复的帐套无法打开，已换回恢复前的帐套！\n原因：") + restore.detail);
        break;
    case AccountSetFiles::RestoreResult::Unopened:
        plainMessage(this, QStringLiteral("恢复失败：帐套无法打开，恢复前的帐套保存在 %1\n原因：%2")
                               .arg(QDir::toNativeSeparators(restore.safetyCopy), restore.detail));
        break;
    }
}

void Tform1::XT_YSXFClick() {
    if (ui::ask(this, QStringLiteral("提示"), QStringLiteral("您确信要压缩、修复帐套吗？"), ui::Icon::Question,
                ui::Button::Yes | ui::Button::No, ui::Button::No)
        != ui::Button::Yes)
        return;
    query_gsxx.close();
    QString failure;
    {
        ui::BusyCursor busy;
        try {
            files_.compact();
        } catch (const sql::Error& error) {
            failure = error.message();
        }
    }
    if (failure.isEmpty())
        ui::notify(this, QStringLiteral("帐套压缩修复成功！"));
    else
        ui::warn(this, QStringLiteral("帐套压缩修复失败，原因：") + failure, QStringLiteral("提示："));
}

// ---------------------------------------------------------------- closing

void Tform1::closeEvent(QCloseEvent* event) {
    event->setAccepted(!loggedIn_ || FormCloseQuery());
}

bool Tform1::childWindowsAgreeToClose() {
    for (QMdiSubWindow* frame : MDIClient->subWindowList()) {
        auto* child = dynamic_cast<ChildFrame*>(frame);
        if (child && child->widget() && !child->windowMayClose())
            return false;
    }
    return true;
}

bool Tform1::FormCloseQuery() {
    if (!childWindowsAgreeToClose())
        return false;
    const ui::Button answer =
        ui::ask(this, QStringLiteral("提示"), QStringLiteral("退出时备份数据吗（是-备份；否-不备份；取消-不退出）？"),
                ui::Icon::Information, ui::Button::Yes | ui::Button::No | ui::Button::Cancel, ui::Button::Yes);
    if (answer == ui::Button::Yes)
        backUpOnExit();
    backUpWeekday();
    return answer != ui::Button::Cancel;
}

// Reads BF afresh: the company window may have changed it since the frame was made.
void Tform1::backUpOnExit() {
    QString folder;
    try {
        query_gsxx.close();
        query_gsxx.open();
        query_gsxx.first();
        folder = query_gsxx.field(QStringLiteral("BF")).asString();
    } catch (const sql::Error&) {
        plainMessage(this, QStringLiteral("备份失败！"));
        return;
    }
    const ExitBackupTarget target = exitBackupTarget(folder, dm_.programDir(), today());
    if (target.fellBack)
        plainMessage(this, QStringLiteral("备份路径错，自动备份到软件安装目录下面\"backup\""));
    try {
        files_.backupTo(target.path);
    } catch (const sql::Error&) {
        plainMessage(this, QStringLiteral("备份失败！"));
    }
}

void Tform1::backUpWeekday() {
    try {
        files_.backupTo(weekdayBackupPath(dm_.programDir(), today()));
    } catch (const sql::Error&) {
        plainMessage(this, QStringLiteral("备份失败，请重试！"));
    }
}

} // namespace shell
