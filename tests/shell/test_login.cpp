#include "shell/AppInfo.h"
#include "shell/DataModule.h"
#include "shell/Login.h"
#include "shell/LoginWindow.h"
#include "support/ProgramFixture.h"
#include "support/ScriptedDialogs.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using Outcome = shell::LoginCheck::Outcome;
Q_DECLARE_METATYPE(shell::LoginCheck::Outcome)

namespace {

// A fresh account set with two more operators: "ls" whose password has capitals, and
// "ww" whose password is null; nobody logged in yet.
void addOperators(ProgramFixture& fixture) {
    fixture.addEmployee(QStringLiteral("002"), QStringLiteral("李四"), QStringLiteral("ls"), QStringLiteral("Abc"));
    fixture.execute(QStringLiteral("insert into BM_YG(BM,MC,DLMC,MM) values ('003','王五','ww',null)"));
    fixture.dm().OperatorCode.clear();
    fixture.dm().OperatorName.clear();
}

QString loginKey(ProgramFixture& fixture, const char* key) {
    return fixture.dm().settings().text(QStringLiteral("dl"), QLatin1String(key), QStringLiteral("<none>"));
}

void tryLogin(shell::Tdl& login, const QString& name, const QString& password) {
    login.Edit1->setText(name);
    login.Edit2->setText(password);
    login.BitBtn4Click();
}

} // namespace

class TestLogin : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void attemptOutcomes_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("password");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("operatorCode");
        QTest::addColumn<int>("wrongCount");
        QTest::newRow("right") << "sa" << "592" << Outcome::Accepted << "" << "001" << 0;
        QTest::newRow("name without regard to case") << "SA" << "592" << Outcome::Accepted << "" << "001" << 0;
        QTest::newRow("null password, empty typed") << "ww" << "" << Outcome::Accepted << "" << "003" << 0;
        QTest::newRow("wrong password") << "sa" << "591" << Outcome::WrongPassword << "“登录密码”有误,请重新填写!" << ""
                                        << 1;
        QTest::newRow("password compared with case")
            << "ls" << "abc" << Outcome::WrongPassword << "“登录密码”有误,请重新填写!" << "" << 1;
        QTest::newRow("unknown name") << "nobody" << "592" << Outcome::UnknownName
                                      << "\"登录名称\"不存在,请重新填写!" << "" << 0;
        QTest::newRow("quote in name is data") << "o'neil" << "592" << Outcome::UnknownName
                                               << "\"登录名称\"不存在,请重新填写!" << "" << 0;
        QTest::newRow("empty name") << "" << "592" << Outcome::NameMissing << "请先填写“登录名称”!" << "" << 0;
    }
    void attemptOutcomes() {
        QFETCH(QString, name);
        QFETCH(QString, password);
        QFETCH(Outcome, outcome);
        QFETCH(QString, message);
        QFETCH(QString, operatorCode);
        QFETCH(int, wrongCount);
        ProgramFixture fixture;
        addOperators(fixture);
        shell::LoginCheck check(fixture.dm());
        QVERIFY(check.openAccountSet().isEmpty());
        const shell::LoginCheck::Result result = check.attempt(name, password, true);
        QCOMPARE(result.outcome, outcome);
        QCOMPARE(result.message, message);
        QCOMPARE(fixture.dm().OperatorCode, operatorCode);
        QCOMPARE(check.wrongPasswords(), wrongCount);
        QCOMPARE(loginKey(fixture, "cs"), outcome == Outcome::Accepted ? QStringLiteral("1") : QStringLiteral("<none>"));
    }

    void windowStartsFromTheSettingsAndOpensTheAccountSet() {
        ProgramFixture fixture;
        fixture.connection().close();
        ScriptedDialogs dialogs;
        shell::Tdl login(fixture.dm());
        QVERIFY(fixture.connection().isOpen());
        QVERIFY(dialogs.messages().isEmpty());
        QCOMPARE(login.windowTitle(), shell::kApplicationTitle + " " + shell::kVersionText);
        QCOMPARE(login.Edit1->text(), QStringLiteral("sa"));
        QCOMPARE(login.Edit2->text(), QStringLiteral("592"));
        QCOMPARE(login.Edit2->echoMode(), QLineEdit::Password);
        QVERIFY(login.CheckBox1->isChecked());
        QCOMPARE(login.Label1->text(), QStringLiteral("登录名称："));
        QCOMPARE(login.Label2->text(), QStringLiteral("登录密码："));
        QCOMPARE(login.Label3->text(), QStringLiteral("初始密码：登录名称用\"sa\"，登录密码是592"));
        QCOMPARE(login.CheckBox1->text(), QStringLiteral("记住密码"));
        QCOMPARE(login.BitBtn4->text(), QStringLiteral("登 录"));
        QCOMPARE(login.BitBtn3->text(), QStringLiteral("退 出"));
        QCOMPARE(login.Label1->buddy(), login.Edit1);
        QVERIFY(!login.Image1->isEnabled());  // no log.jpg in the program directory
    }

    void successRecordsTheLoginAndSetsTheOperator() {
        ProgramFixture fixture;
        addOperators(fixture);
        ScriptedDialogs dialogs;
        {
            shell::Tdl login(fixture.dm());
            tryLogin(login, QStringLiteral("sa"), QStringLiteral("592"));
            QCOMPARE(login.result(), int(QDialog::Accepted));
        }
        QVERIFY(dialogs.messages().isEmpty());
        QCOMPARE(fixture.dm().OperatorCode, QStringLiteral("001"));
        QCOMPARE(fixture.dm().OperatorName, QStringLiteral("系统管理员"));
        QCOMPARE(loginKey(fixture, "user"), QStringLiteral("sa"));
        QCOMPARE(loginKey(fixture, "mm"), QStringLiteral("592"));
        QCOMPARE(loginKey(fixture, "bcmm"), QStringLiteral("T"));
        QCOMPARE(loginKey(fixture, "cs"), QStringLiteral("1"));

        shell::Tdl next(fixture.dm());
        tryLogin(next, QStringLiteral("ls"), QStringLiteral("Abc"));
        QCOMPARE(loginKey(fixture, "user"), QStringLiteral("ls"));
        QCOMPARE(loginKey(fixture, "cs"), QStringLiteral("2"));
    }

    void rememberBoxOffStoresThePasswordButTheNextWindowIsEmpty() {
        ProgramFixture fixture;
        ScriptedDialogs dialogs;
        {
            shell::Tdl login(fixture.dm());
            login.CheckBox1->setChecked(false);
            tryLogin(login, QStringLiteral("sa"), QStringLiteral("592"));
            QCOMPARE(login.result(), int(QDialog::Accepted));
        }
        QCOMPARE(loginKey(fixture, "mm"), QStringLiteral("592"));
        QCOMPARE(loginKey(fixture, "bcmm"), QStringLiteral("F"));
        shell::Tdl next(fixture.dm());
        QCOMPARE(next.Edit1->text(), QStringLiteral("sa"));
        QVERIFY(next.Edit2->text().isEmpty());
        QVERIFY(!next.CheckBox1->isChecked());
    }

    void messagesOfRefusedAttempts() {
        ProgramFixture fixture;
        ScriptedDialogs dialogs;
        shell::Tdl login(fixture.dm());
        QSignalSpy finished(&login, &QDialog::finished);
        tryLogin(login, QString(), QStringLiteral("592"));
        tryLogin(login, QStringLiteral("nobody"), QStringLiteral("592"));
        tryLogin(login, QStringLiteral("sa"), QStringLiteral("1"));
        QCOMPARE(dialogs.texts(), QStringList({"请先填写“登录名称”!", "\"登录名称\"不存在,请重新填写!",
                                               "“登录密码”有误,请重新填写!"}));
        for (const ui::MessageRequest& message : dialogs.messages()) {
            QCOMPARE(message.caption, QStringLiteral("提示"));
            QCOMPARE(message.buttons, ui::Buttons(ui::Button::Ok));
        }
        QCOMPARE(finished.count(), 0);  // still waiting for the next attempt
        QCOMPARE(loginKey(fixture, "cs"), QStringLiteral("<none>"));
    }

    // Wrong passwords count across login names; unknown names do not count.
    void threeWrongPasswordsEndTheLogin() {
        ProgramFixture fixture;
        addOperators(fixture);
        ScriptedDialogs dialogs;
        shell::Tdl login(fixture.dm());
        QSignalSpy finished(&login, &QDialog::finished);
        tryLogin(login, QStringLiteral("sa"), QStringLiteral("x"));
        tryLogin(login, QStringLiteral("nobody"), QStringLiteral("x"));
        tryLogin(login, QStringLiteral("ls"), QStringLiteral("abc"));
        QCOMPARE(finished.count(), 0);
        tryLogin(login, QStringLiteral("sa"), QStringLiteral("59"));
        QCOMPARE(finished.count(), 1);
        QCOMPARE(login.result(), int(QDialog::Rejected));
        const ui::MessageRequest last = dialogs.messages().last();
        QCOMPARE(last.text, QStringLiteral("错误次数过多，系统将自动退出！"));
        QCOMPARE(last.caption, shell::kApplicationTitle);
        QCOMPARE(last.icon, ui::Icon::None);
        QCOMPARE(last.buttons, ui::Buttons(ui::Button::Ok));
        QVERIFY(fixture.dm().OperatorCode.isEmpty());
        QCOMPARE(loginKey(fixture, "cs"), QStringLiteral("<none>"));
    }

    void twoWrongPasswordsThenTheRightOneLogIn() {
        ProgramFixture fixture;
        addOperators(fixture);
        ScriptedDialogs dialogs;
        shell::Tdl login(fixture.dm());
        tryLogin(login, QStringLiteral("sa"), QStringLiteral("x"));
        tryLogin(login, QStringLiteral("ls"), QStringLiteral("x"));
        tryLogin(login, QStringLiteral("ls"), QStringLiteral("Abc"));
        QCOMPARE(login.result(), int(QDialog::Accepted));
        QCOMPARE(fixture.dm().OperatorName, QStringLiteral("李四"));
    }

    void quitButtonAndEscapeAbandon() {
        ProgramFixture fixture;
        ScriptedDialogs dialogs;
        shell::Tdl byButton(fixture.dm());
        QSignalSpy rejected(&byButton, &QDialog::rejected);
        byButton.BitBtn3->click();
        QCOMPARE(rejected.count(), 1);
        shell::Tdl byEscape(fixture.dm());
        QSignalSpy escaped(&byEscape, &QDialog::rejected);
        QTest::keyClick(&byEscape, Qt::Key_Escape);
        QCOMPARE(escaped.count(), 1);
        QVERIFY(fixture.dm().OperatorCode == QStringLiteral("001"));  // as the fixture set it: nobody logged in
        QCOMPARE(loginKey(fixture, "cs"), QStringLiteral("<none>"));
    }

    void enterMovesToTheNextControl() {
        ProgramFixture fixture;
        QTemporaryDir desktop;
        ScriptedDialogs dialogs;
        shell::Tdl login(fixture.dm());
        login.setDesktopFolder(desktop.path());
        login.show();
        QVERIFY(QTest::qWaitForWindowActive(&login));
        login.Edit1->setFocus();
        QTest::keyClick(login.Edit1, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), login.Edit2);
        QTest::keyClick(login.Edit2, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(QApplication::focusWidget(), login.CheckBox1);
        QTest::keyClick(login.CheckBox1, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), login.BitBtn4);
        QVERIFY(login.CheckBox1->isChecked());
        QCOMPARE(login.Edit1->text(), QStringLiteral("sa"));
        QTest::keyClick(login.BitBtn4, Qt::Key_Return);  // a focused button is pressed by Enter
        QCOMPARE(login.result(), int(QDialog::Accepted));
    }

    void desktopLauncherIsMadeUntilTheFirstLogin_data() {
        QTest::addColumn<QString>("count");
        QTest::addColumn<bool>("made");
        QTest::newRow("no login yet") << "" << true;
        QTest::newRow("count 0") << "0" << true;
        QTest::newRow("count 1") << "1" << false;
    }
    void desktopLauncherIsMadeUntilTheFirstLogin() {
        QFETCH(QString, count);
        QFETCH(bool, made);
        ProgramFixture fixture;
        if (!count.isEmpty())
            fixture.dm().settings().setText(QStringLiteral("dl"), QStringLiteral("cs"), count);
        QTemporaryDir desktop;
        const QString launcher = desktop.filePath(shell::kApplicationTitle + ".desktop");
        QFile stale(launcher);
        if (made) {  // an old launcher of the same name is replaced
            QVERIFY(stale.open(QIODevice::WriteOnly));
            stale.write("old");
            stale.close();
        }
        ScriptedDialogs dialogs;
        shell::Tdl login(fixture.dm());
        login.setDesktopFolder(desktop.path());
        QVERIFY(!QFile::exists(launcher) || made);
        login.show();
        QCOMPARE(QFile::exists(launcher), made);
        if (!made)
            return;
        QFile file(launcher);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        QVERIFY(text.startsWith("[Desktop Entry]\n"));
        QVERIFY(text.contains("\nType=Application\n"));
        QVERIFY(text.contains("\nName=" + shell::kApplicationTitle + "\n"));
        QVERIFY(text.contains("\nExec=\"" + QCoreApplication::applicationFilePath() + "\"\n"));
        QVERIFY(text.contains("\nPath=" + fixture.dm().programDir() + "\n"));
        QVERIFY(file.permissions().testFlag(QFile::ExeOwner));
    }

    void launcherQuotesWhatTheDesktopWouldReadOtherwise() {
        const shell::DesktopShortcut shortcut{QStringLiteral("名称"), QStringLiteral("/opt/a b/$x\\\"y%z"),
                                              QStringLiteral("/opt/a\\b")};
        const QString text = shortcut.entryText();
        QVERIFY2(text.contains(QStringLiteral("\nExec=\"/opt/a b/\\\\$x\\\\\\\\\\\\\"y%%z\"\n")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("\nPath=/opt/a\\\\b\n")), qPrintable(text));
        QVERIFY(!shortcut.saveIn(QStringLiteral("/nonexistent-desktop-folder")));
    }

    // The account set cannot be opened: the engine's message comes up, and every attempt
    // fails with it, so nobody logs in.
    void unopenableAccountSetRefusesEveryAttempt() {
        QTemporaryDir dir;
        shell::TDM_CS dm(dir.path());
        ScriptedDialogs dialogs;
        shell::Tdl login(dm);
        QCOMPARE(dialogs.messages().size(), 1);
        const QString engineMessage = dialogs.lastText();
        QVERIFY2(engineMessage.contains("帐套文件不存在"), qPrintable(engineMessage));
        tryLogin(login, QStringLiteral("sa"), QStringLiteral("592"));
        tryLogin(login, QStringLiteral("sa"), QStringLiteral("592"));
        QCOMPARE(dialogs.texts(), QStringList({engineMessage, engineMessage, engineMessage}));
        QCOMPARE(login.result(), int(QDialog::Rejected));
        QCOMPARE(login.loginCheck().wrongPasswords(), 0);
        QVERIFY(dm.OperatorCode.isEmpty());
    }
};

QTEST_MAIN(TestLogin)
#include "test_login.moc"
