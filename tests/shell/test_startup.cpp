#include "shell/AppInfo.h"
#include "shell/DataModule.h"
#include "shell/Startup.h"
#include "support/ProgramFixture.h"
#include "support/ScriptedDialogs.h"
#include "system/SingleInstanceLock.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/wait.h>
#include <unistd.h>

class TestStartup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void secondCopyIsRefusedWithTheMessage() {
        const QString name = QStringLiteral("测试锁-%1").arg(QCoreApplication::applicationPid());
        sys::SingleInstanceLock running(name);
        QVERIFY(running.tryAcquire());

        ScriptedDialogs dialogs;
        sys::SingleInstanceLock second(name);
        QVERIFY(!shell::claimSingleInstance(second));
        QCOMPARE(dialogs.messages().size(), 1);
        QCOMPARE(dialogs.messages()[0].caption, QStringLiteral("提示"));
        QCOMPARE(dialogs.messages()[0].text, QStringLiteral("程序已运行！"));
        QCOMPARE(dialogs.messages()[0].buttons, ui::Buttons(ui::Button::Ok));
        QVERIFY(running.isHeld());
    }

    void lockIsFreeAgainAfterItsHolderEnds() {
        const QString name = QStringLiteral("测试锁-释放-%1").arg(QCoreApplication::applicationPid());
        {
            sys::SingleInstanceLock first(name);
            QVERIFY(first.tryAcquire());
        }
        sys::SingleInstanceLock next(name);
        QVERIFY(next.tryAcquire());
    }

    // A copy that dies without cleaning up leaves its lock file behind; the next start still runs.
    void crashedHolderDoesNotBlock() {
        const QString name = QStringLiteral("测试锁-崩溃-%1").arg(QCoreApplication::applicationPid());
        const pid_t child = fork();
        if (child == 0) {
            sys::SingleInstanceLock held(name);
            _exit(held.tryAcquire() ? 0 : 1);  // ends without running the destructor
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QCOMPARE(WEXITSTATUS(status), 0);
        sys::SingleInstanceLock next(name);
        QVERIFY(QFile::exists(next.filePath()));
        QVERIFY(next.tryAcquire());
    }

    void dataModuleStartsClosedWithDelimiters() {
        QTemporaryDir dir;
        shell::TDM_CS dm(dir.path());
        QVERIFY(!dm.ADOConnection1.isOpen());
        QCOMPARE(dm.DelimiterOpen, QStringLiteral("["));
        QCOMPARE(dm.DelimiterClose, QStringLiteral("]"));
        QVERIFY(dm.OperatorCode.isEmpty());
        QVERIFY(dm.OperatorName.isEmpty());
        QCOMPARE(shell::TDM_CS::instance(), &dm);
        QCOMPARE(dm.accountSetConnectionString(),
                 QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1/data/data.mdb;"
                                "Jet OLEDB:Database Password=mdb_pass7730_key")
                     .arg(QDir(dir.path()).absolutePath()));
    }

    void sharedQueriesWorkOnTheOpenAccountSet() {
        ProgramFixture fixture;
        shell::TDM_CS& dm = fixture.dm();
        dm.ADOTable1.open();
        QCOMPARE(dm.ADOTable1.recordCount(), 1);
        dm.SQL_1.setCommandText("select * from BM_YG where DLMC='sa'");
        dm.SQL_1.open();
        QCOMPARE(dm.SQL_1.field("MM").asString(), QStringLiteral("592"));
        dm.openAccountSet();  // reopening closes what was open on the old connection
        QVERIFY(!dm.SQL_1.isOpen());
        QVERIFY(!dm.ADOTable1.isOpen());
    }

    void missingAccountSetGivesTheEngineMessage() {
        QTemporaryDir dir;
        shell::TDM_CS dm(dir.path());
        try {
            dm.openAccountSet();
            QFAIL("opening a missing account set succeeded");
        } catch (const sql::Error& error) {
            QVERIFY(!error.message().isEmpty());
        }
        QVERIFY(!dm.ADOConnection1.isOpen());
        QVERIFY(!QFile::exists(dm.accountSetPath()));  // opening never creates one
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "test_startup.moc"
