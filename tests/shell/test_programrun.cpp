#include "shell/DataModule.h"
#include "shell/LoginWindow.h"
#include "shell/MainWindow.h"
#include "shell/Startup.h"
#include "support/ProgramFixture.h"
#include "support/ScriptedDialogs.h"
#include "text/DateText.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

// What the steps saw while the program ran; compared after the event loop ended.
struct Seen {
    bool loginWasModal = false;
    bool connectionOpenDuringLogin = false;
    bool mainWindowMaximised = false;
    QString operatorName;
    QStringList hiddenToolWindows;
};

shell::Tform1* runningMainWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* frame = qobject_cast<shell::Tform1*>(widget); frame && frame->isVisible())
            return frame;
    return nullptr;
}

} // namespace

// The start-up from the main window on, driven as an operator would: log in at the
// modal login window, find the main window, close it.
class TestProgramRun : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void loginMainWindowAndClosing() {
        ProgramFixture fixture;
        fixture.dm().settings().setText("dl", "cs", "1");  // no launcher on this machine's desktop
        shell::TDM_CS dm(fixture.programDir());
        ScriptedDialogs dialogs;
        dialogs.answerNext(ui::Button::No);  // the closing question
        Seen seen;

        QTimer::singleShot(0, [&seen, &dm] {
            auto* login = qobject_cast<shell::Tdl*>(QApplication::activeModalWidget());
            seen.loginWasModal = login != nullptr;
            if (!login) {  // end a login that runs some other way, so that the test fails instead of waiting
                for (QWidget* widget : QApplication::topLevelWidgets())
                    if (auto* other = qobject_cast<shell::Tdl*>(widget))
                        other->reject();
                return;
            }
            seen.connectionOpenDuringLogin = dm.ADOConnection1.isOpen();
            login->BitBtn4->click();  // "sa" and the remembered "592"
            QTimer::singleShot(0, [&seen, &dm] {
                shell::Tform1* frame = runningMainWindow();
                if (!frame)
                    return QCoreApplication::exit(1);
                seen.mainWindowMaximised = frame->windowState().testFlag(Qt::WindowMaximized);
                seen.operatorName = dm.OperatorName;
                for (const char* name : {"Tup", "TCSH"})
                    if (frame->toolWindow(name) && frame->toolWindow(name)->isHidden())
                        seen.hiddenToolWindows << name;
                frame->close();
            });
        });
        QCOMPARE(shell::runMainWindow(*qApp, dm), 0);

        QVERIFY(seen.loginWasModal);
        QVERIFY(seen.connectionOpenDuringLogin);
        QVERIFY(seen.mainWindowMaximised);
        QCOMPARE(seen.operatorName, QStringLiteral("系统管理员"));
        QCOMPARE(seen.hiddenToolWindows, QStringList({"Tup", "TCSH"}));
        QCOMPARE(dm.settings().loginCount(), 2);
        QCOMPARE(dialogs.messages().size(), 1);
        QVERIFY(QFile::exists(fixture.path("Backup/" + text::weekdayName(QDate::currentDate()) + ".bak")));
    }

    void abandonedLoginEndsTheProgram() {
        ProgramFixture fixture;
        fixture.dm().settings().setText("dl", "cs", "1");
        shell::TDM_CS dm(fixture.programDir());
        ScriptedDialogs dialogs;
        QTimer::singleShot(0, [] {
            if (auto* login = qobject_cast<shell::Tdl*>(QApplication::activeModalWidget()))
                login->BitBtn3->click();
        });
        QCOMPARE(shell::runMainWindow(*qApp, dm), 0);
        QVERIFY(dm.OperatorCode.isEmpty());
        QVERIFY(!runningMainWindow());
        QVERIFY(dialogs.messages().isEmpty());
        QCOMPARE(dm.settings().loginCount(), 1);
    }
};

QTEST_MAIN(TestProgramRun)
#include "test_programrun.moc"
