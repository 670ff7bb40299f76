#include "shell/AppInfo.h"
#include "shell/DataModule.h"
#include "shell/InitialiseWindow.h"
#include "shell/MainWindow.h"
#include "shell/PasswordWindow.h"
#include "shell/ProgramWindows.h"
#include "shell/Startup.h"
#include "shell/UpgradeWindow.h"
#include "support/ProgramFixture.h"
#include "support/ScriptedDialogs.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

namespace {

bool alreadyLoggedIn(shell::TDM_CS&, QWidget*) {
    return true;
}

// A working window that counts how often it was asked to close and may refuse.
class Worker : public QWidget {
public:
    bool mayClose = true;
    int closeQueries = 0;

protected:
    void closeEvent(QCloseEvent* event) override {
        ++closeQueries;
        event->setAccepted(mayClose);
    }
};

// What the frame asked of the desktop.
struct DesktopLog {
    QStringList folders;
    QStringList programs;
    QList<QStringList> arguments;
    QStringList workingDirs;

    shell::Tform1::DesktopActions actions() {
        return {[this](const QString& folder) { folders << folder; },
                [this](const QString& program, const QStringList& args, const QString& dir) {
                    programs << program;
                    arguments << args;
                    workingDirs << dir;
                }};
    }
};

QStringList menuEntries(const QMenu* menu) {
    QStringList entries;
    for (const QAction* action : menu->actions())
        entries << (action->isSeparator() ? QStringLiteral("-") : action->objectName() + ':' + action->text());
    return entries;
}

void flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

const QDateTime kSunday(QDate(2026, 12, 13), QTime(9, 5, 7));

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void abandonedLoginBuildsNothing() {
        ProgramFixture fixture;
        shell::Tform1 frame(fixture.dm(), [](shell::TDM_CS&, QWidget*) { return false; });
        QVERIFY(!frame.loggedIn());
        QVERIFY(frame.findChildren<QAction*>().isEmpty());
    }

    void loginRunsWithTheFrameAsOwner() {
        ProgramFixture fixture;
        QWidget* owner = nullptr;
        shell::Tform1 frame(fixture.dm(), [&owner](shell::TDM_CS&, QWidget* loginOwner) {
            owner = loginOwner;
            return true;
        });
        QCOMPARE(owner, &frame);
        QVERIFY(frame.loggedIn());
    }

    void menuHoldsEveryCommandWithItsSeparators() {
        ProgramFixture fixture;
        shell::Tform1 frame(fixture.dm(), alreadyLoggedIn);
        QStringList titles;
        for (const QAction* action : frame.menuBar()->actions())
            titles << action->menu()->objectName() + ':' + action->text();
        QCOMPARE(titles, QStringList({"xt:系统维护", "JC:基础资料", "YW:业务管理", "BZ:帮助"}));
        QCOMPARE(menuEntries(frame.findChild<QMenu*>("xt")),
                 QStringList({"XT_CSH:初始化", "N3:软件升级", "XT_ZTSJ:账套升级", "-", "XT_ZTBF:账套备份",
                              "XT_ZTHF:账套恢复", "XT_YSXF:压缩修复", "-", "XT_MM:修改密码", "XT_PB:屏幕保护"}));
        QCOMPARE(menuEntries(frame.findChild<QMenu*>("JC")),
                 QStringList({"JC_GSXX:公司信息", "JC_YG:员工资料", "-", "JC_SPLB:商品类别", "JC_SP:商品资料"}));
        QCOMPARE(menuEntries(frame.findChild<QMenu*>("YW")),
                 QStringList({"CZGH:出租、归还", "-", "XSDCX:单据查询", "MXCX:单据明细", "CZTB:出租汇总图表",
                              "YYTX:预约提醒", "DQTX:到期提醒", "-", "CWCX:账务查询"}));
        QCOMPARE(menuEntries(frame.findChild<QMenu*>("BZ")), QStringList({"BZ_TC:退出"}));
    }

    void buttonsInvokeTheirCommands() {
        ProgramFixture fixture;
        shell::Tform1 frame(fixture.dm(), alreadyLoggedIn);
        const QList<std::pair<const char*, const char*>> expected = {
            {"BitBtn1", "CZGH"},    {"BitBtn2", "XSDCX"}, {"BitBtn3", "YYTX"}, {"BitBtn4", "DQTX"},
            {"BitBtn5", "XT_ZTBF"}, {"BitBtn6", "XT_PB"}, {"BitBtn7", "BZ_TC"}};
        const QStringList captions = {"出租、归还", "单据查询", "预约提醒", "到期提醒", "账套备份", "屏幕保护", "退出"};
        for (qsizetype i = 0; i < expected.size(); ++i) {
            auto* button = frame.Panel1->findChild<QToolButton*>(expected[i].first);
            QVERIFY2(button, expected[i].first);
            QCOMPARE(button->defaultAction(), frame.command(expected[i].second));
            QCOMPARE(button->text(), captions[i]);
        }
    }

    // Until a module plugs in the window of a command, the command and its button are disabled.
    void workingWindowCommandsWaitForTheirWindows() {
        ProgramFixture fixture;
        shell::Tform1 frame(fixture.dm(), alreadyLoggedIn);
        QCOMPARE(shell::Tform1::childWindowCommands(),
                 QStringList({"JC_GSXX", "JC_YG", "JC_SPLB", "JC_SP", "CZGH", "XSDCX", "MXCX", "CZTB", "YYTX", "DQTX",
                              "CWCX"}));
        for (const QString& code : shell::Tform1::childWindowCommands())
            QVERIFY2(!frame.command(code)->isEnabled(), qPrintable(code));
        for (const char* code : {"XT_CSH", "N3", "XT_ZTSJ", "XT_ZTBF", "XT_ZTHF", "XT_YSXF", "XT_MM", "XT_PB", "BZ_TC"})
            QVERIFY2(frame.command(code)->isEnabled(), code);
        auto* orderButton = frame.findChild<QToolButton*>("BitBtn1");
        QVERIFY(!orderButton->isEnabled());
        QVERIFY(!frame.openChildWindow("CZGH"));

        frame.registerChildWindow("CZGH", [](shell::Tform1&) { return new QWidget; });
        QVERIFY(frame.command("CZGH")->isEnabled());
        QVERIFY(orderButton->isEnabled());
        QVERIFY(!frame.command("XSDCX")->isEnabled());
    }

    void captionStatusBarAndClock_data() {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QString>("clock");
        QTest::newRow("Sunday") << kSunday << "2026-12-13 09:05:07 星期日";
        QTest::newRow("Saturday") << QDateTime(QDate(2026, 12, 12), QTime(23, 59, 59)) << "2026-12-12 23:59:59 星期六";
        QTest::newRow("Monday") << QDateTime(QDate(2027, 1, 4), QTime(0, 0, 0)) << "2027-01-04 00:00:00 星期一";
    }
    void captionStatusBarAndClock() {
        QFETCH(QDateTime, now);
        QFETCH(QString, clock);
        ProgramFixture fixture;
        shell::Tform1 frame(fixture.dm(), alreadyLoggedIn);
        frame.setClock([now] { return now; });
        QCOMPARE(frame.windowTitle(), QStringLiteral("禾岚婚纱、相机租借管理系统(普及版)v24.1118"));
        QVERIFY(frame.windowState().testFlag(Qt::WindowMaximized));
        QVERIFY2(frame.StatusPanel1->text().startsWith("研发单位："), qPrintable(frame.StatusPanel1->text()));
        QVERIFY(frame.StatusPanel1->text().contains("   联系QQ："));
        QCOMPARE(frame.StatusPanel2->text(), QStringLiteral("操作员：系统管理员"));
        QCOMPARE(frame.StatusPanel3->text(), clock);
        QCOMPARE(frame.Timer1->interval(), 1000);
        QVERIFY(frame.Timer1->isActive());
        frame.setClock([now] { return now.addSecs(1); });
        QMetaObject::invokeMethod(frame.Timer1, "timeout");
        QCOMPARE(frame.StatusPanel3->text().left(19), now.addSecs(1).toString("yyyy-MM-dd HH:mm:ss"));
    }

    void companyNameAndBackground_data() {
        QTest::addColumn<bool>("pictureThere");
        QTest::addColumn<QString>("name");
        QTest::newRow("picture loads") << true << "禾岚影楼";
        QTest::newRow("picture missing") << false << "超市管理系统";
    }
    void companyNameAndBackground() {
        QFETCH(bool, pictureThere);
        QFETCH(QString, name);
        ProgramFixture fixture;
        fixture.execute("update BM_GSXX set LOG='company.jpg'");
        if (pictureThere)
            QVERIFY(QFile::copy(QStringLiteral(SOURCE_DIR "/resources/image.jpg"), fixture.path("company.jpg")));
        shell::Tform1 frame(fixture.dm(), alreadyLoggedIn);
        QCOMPARE(frame.Label1->text(), name);
        QCOMPARE(frame.Image2->pixmap().isNull(), !pictureThere);  // no image.jpg to fall back on here
        QVERIFY(frame.query_gsxx.isOpen());
    }

    void missingCompanyPictureFallsBackOnImageJpg() {
        ProgramFixture fixture;
        fixture.execute("update BM_GSXX set LOG='missing.jpg'");
        QVERIFY(QFile::copy(QStringLiteral(SOURCE_DIR "/resources/image.jpg"), fixture.path("image.jpg")));
        shell::Tform1 frame(fixture.dm(), alreadyLoggedIn);
        QVERIFY(!frame.Image2->pixmap().isNull());
        QVERIFY(!frame.setBackgroundPicture(fixture.path("missing.jpg")));
        QVERIFY(!frame.Image2->pixmap().isNull());
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QCOMPARE(frame.backgroundSize(), frame.MDIClient->viewport()->size());
    }

    // At most one window per command: a second command brings it to the front; after it
    // closed, the command makes a fresh one.
    void oneWindowPerCommand() {
        ProgramFixture fixture;
        shell::Tform1 frame(fixture.dm(), alreadyLoggedIn);
        int ordersMade = 0;
        frame.registerChildWindow("CZGH", [&ordersMade](shell::Tform1&) {
            ++ordersMade;
            return new Worker;
        });
        frame.registerChildWindow("XSDCX", [](shell::Tform1&) { return new Worker; });
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));

        frame.runCommand("CZGH");
        QWidget* order = frame.childWindow("CZGH");
        QVERIFY(order && order->isVisible());
        frame.findChild<QToolButton*>("BitBtn2")->click();
        QCOMPARE(frame.MDIClient->activeSubWindow()->widget(), frame.childWindow("XSDCX"));
        frame.findChild<QToolButton*>("BitBtn1")->click();
        QCOMPARE(ordersMade, 1);
        QCOMPARE(frame.MDIClient->subWindowList().size(), 2);
        QCOMPARE(frame.MDIClient->activeSubWindow()->widget(), order);

        QVERIFY(frame.MDIClient->activeSubWindow()->close());
        QVERIFY(!frame.childWindow("CZGH"));
        frame.runCommand("CZGH");  // before the closed window is even deleted
        QCOMPARE(ordersMade, 2);
        flushDeletes();
        QCOMPARE(frame.MDIClient->subWindowList().size(), 2);
        QVERIFY(frame.childWindow("CZGH"));
    }

    void windowThatClosesItselfLeavesNoEmptyFrame() {
        ProgramFixture fixture;
        shell::Tform1 frame(fixture.dm(), alreadyLoggedIn);
        int made = 0;
        frame.registerChildWindow("JC_YG", [&made](shell::Tform1&) {
            ++made;
            return new Worker;
        });
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        auto* employees = static_cast<Worker*>(frame.openChildWindow("JC_YG"));
        employees->mayClose = false;
        QVERIFY(!employees->close());  // its own exit button, refused by its close query
        QCOMPARE(frame.childWindow("JC_YG"), employees);
        QVERIFY(employees->isVisible());
        employees->mayClose = true;
        QVERIFY(employees->close());
        QCOMPARE(employees->closeQueries, 2);  // asked once per request
        flushDeletes();
        QVERIFY(frame.MDIClient->subWindowList().isEmpty());
        QVERIFY(!frame.childWindow("JC_YG"));
        frame.runCommand("JC_YG");
        QCOMPARE(made, 2);
    }

    void closingAsksTheWorkingWindowsFirst() {
        ProgramFixture fixture;
        shell::Tform1 frame(fixture.dm(), alreadyLoggedIn);
        frame.setClock([] { return kSunday; });
        frame.registerChildWindow("CZGH", [](shell::Tform1&) { return new Worker; });
        frame.registerChildWindow("JC_SP", [](shell::Tform1&) {
            auto* refusing = new Worker;
            refusing->mayClose = false;
            return refusing;
        });
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        auto* order = static_cast<Worker*>(frame.openChildWindow("CZGH"));
        auto* products = static_cast<Worker*>(frame.openChildWindow("JC_SP"));

        ScriptedDialogs dialogs;
        QVERIFY(!frame.close());
        QVERIFY(dialogs.messages().isEmpty());  // no closing question
        QVERIFY(!QFile::exists(fixture.path("Backup/星期日.bak")));
        QCOMPARE(products->closeQueries, 1);
        QVERIFY(frame.isVisible());
        QVERIFY(order->isVisible());

        products->mayClose = true;
        dialogs.answerNext(ui::Button::Cancel);
        QVERIFY(!frame.close());
        QCOMPARE(order->closeQueries, 2);
        QCOMPARE(dialogs.messages().size(), 1);
        QVERIFY(order->isVisible());  // asked, but kept open with the program
        QVERIFY(frame.isVisible());
    }

    void logoOpensTheProgramDirectory() {
        ProgramFixture fixture;
        shell::Tform1 frame(fixture.dm(), alreadyLoggedIn);
        DesktopLog desktop;
        frame.setDesktopActions(desktop.actions());
        frame.Image1->click();
        QCOMPARE(desktop.folders, QStringList({fixture.dm().programDir()}));
    }

    void screenSaverStartsThroughTheDesktop() {
        ProgramFixture fixture;
        shell::Tform1 frame(fixture.dm(), alreadyLoggedIn);
        DesktopLog desktop;
        frame.setDesktopActions(desktop.actions());
        frame.findChild<QToolButton*>("BitBtn6")->click();
        QCOMPARE(desktop.programs, QStringList({"xdg-screensaver"}));
        QCOMPARE(desktop.arguments, QList<QStringList>({{"activate"}}));
    }

    void updaterAsksThenClosesAndStarts_data() {
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<bool>("started");
        QTest::addColumn<bool>("stillOpen");
        QTest::newRow("no") << QList<int>{int(ui::Button::No)} << false << true;
        QTest::newRow("yes, then cancel the closing")
            << QList<int>{int(ui::Button::Yes), int(ui::Button::Cancel)} << true << true;
        QTest::newRow("yes, then close without backup")
            << QList<int>{int(ui::Button::Yes), int(ui::Button::No)} << true << false;
    }
    void updaterAsksThenClosesAndStarts() {
        QFETCH(QList<int>, answers);
        QFETCH(bool, started);
        QFETCH(bool, stillOpen);
        ProgramFixture fixture;
        shell::Tform1 frame(fixture.dm(), alreadyLoggedIn);
        frame.setClock([] { return kSunday; });
        DesktopLog desktop;
        frame.setDesktopActions(desktop.actions());
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        ScriptedDialogs dialogs;
        for (int answer : answers)
            dialogs.answerNext(ui::Button(answer));
        frame.runCommand("N3");
        const ui::MessageRequest question = dialogs.messages().first();
        QCOMPARE(question.caption, QStringLiteral("提示"));
        QCOMPARE(question.text, QStringLiteral("升级前需要先退出软件，是否现在退出？"));
        QCOMPARE(question.icon, ui::Icon::Information);
        QCOMPARE(question.buttons, ui::Button::Yes | ui::Button::No);
        QCOMPARE(dialogs.messages().size(), answers.size());
        QCOMPARE(desktop.programs, started ? QStringList({fixture.path("UPDate")}) : QStringList());
        if (started) {
            QCOMPARE(desktop.arguments.first(), QStringList());
            QCOMPARE(desktop.workingDirs.first(), fixture.dm().programDir());
        }
        QCOMPARE(frame.isVisible(), stillOpen);
        QCOMPARE(QFile::exists(fixture.path("Backup/星期日.bak")), answers.size() > 1);
    }

    void registeredCommandsOpenTheirWindows_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("windowClass");
        QTest::newRow("rental orders") << "CZGH" << "orders::Txsd";
        QTest::newRow("company") << "JC_GSXX" << "masterdata::TBM_GSXX";
        QTest::newRow("employees") << "JC_YG" << "masterdata::TBM_YG";
        QTest::newRow("categories") << "JC_SPLB" << "masterdata::TBM_SPLB";
        QTest::newRow("products") << "JC_SP" << "masterdata::TFormSP";
    }
    void registeredCommandsOpenTheirWindows() {
        QFETCH(QString, code);
        QFETCH(QString, windowClass);
        ProgramFixture fixture;
        ScriptedDialogs dialogs;
        shell::Tform1 frame(fixture.dm(), alreadyLoggedIn);
        shell::createLongLivedWindows(frame);
        shell::registerWorkingWindows(frame);
        QVERIFY(frame.command(code)->isEnabled());
        frame.runCommand(code);
        QWidget* window = frame.childWindow(code);
        QVERIFY(window);
        QCOMPARE(QString::fromLatin1(window->metaObject()->className()), windowClass);
        frame.runCommand(code);
        QCOMPARE(frame.childWindow(code), window);  // one window per command
    }

    void maintenanceWindowsShowWithoutBlocking() {
        ProgramFixture fixture;
        shell::Tform1 frame(fixture.dm(), alreadyLoggedIn);
        shell::createLongLivedWindows(frame);
        auto* upgrade = qobject_cast<shell::Tup*>(frame.toolWindow("Tup"));
        auto* initialise = qobject_cast<shell::TCSH*>(frame.toolWindow("TCSH"));
        QVERIFY(upgrade && initialise);
        QVERIFY(upgrade->isHidden() && initialise->isHidden());
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));

        frame.runCommand("XT_ZTSJ");
        frame.runCommand("XT_CSH");
        frame.runCommand("XT_MM");
        auto* password = frame.findChild<shell::Tggmm*>("Tggmm");
        QVERIFY(password);
        for (QWidget* window : {static_cast<QWidget*>(upgrade), static_cast<QWidget*>(initialise),
                                static_cast<QWidget*>(password)}) {
            QVERIFY2(window->isVisible(), qPrintable(window->objectName()));
            QVERIFY(window->isWindow());
            QVERIFY(!window->isModal());
            QVERIFY(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        }
        QCOMPARE(upgrade->windowTitle(), QStringLiteral("账套升级"));
        QCOMPARE(initialise->windowTitle(), QStringLiteral("帐套初始化"));
        QCOMPARE(password->windowTitle(), QStringLiteral("修改密码 :系统管理员"));

        password->LabeledEdit_OLD->setText("kept");
        password->close();
        frame.runCommand("XT_MM");
        QCOMPARE(frame.findChildren<shell::Tggmm*>().size(), 1);
        QCOMPARE(password->LabeledEdit_OLD->text(), QStringLiteral("kept"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
