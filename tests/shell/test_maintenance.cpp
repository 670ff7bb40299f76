#include "shell/DataModule.h"
#include "shell/InitialiseWindow.h"
#include "shell/Login.h"
#include "shell/PasswordWindow.h"
#include "shell/StatementList.h"
#include "shell/UpgradeWindow.h"
#include "shell/WindowSupport.h"
#include "sql/Query.h"
#include "support/ProgramFixture.h"
#include "support/ScriptedDialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

namespace {

QStringList columnsOf(ProgramFixture& fixture, const QString& table) {
    QStringList names;
    sql::Query query(fixture.connection(), QStringLiteral("select name from pragma_table_info('%1')").arg(table));
    while (query.next())
        names << query.value(0).toString();
    return names;
}

int rows(ProgramFixture& fixture, const QString& table) {
    return fixture.scalar("select count(*) from " + table).toInt();
}

QList<bool> allMarked(qsizetype count) {
    return QList<bool>(count, true);
}

// Two products with stock, a category, and an order with a line of each product.
void addBusiness(ProgramFixture& fixture) {
    fixture.addProduct("01", "婚纱", 100, 500, 5, 2);
    fixture.addProduct("02", "相机", 50, 800, 3, 1);
    fixture.execute("insert into BM_SPLB(BM,MC) values ('01','服装')");
    fixture.execute("insert into XSD_ZB(ID,RQ) values ('2026121300100001',#2026-12-13#)");
    fixture.execute("insert into XSD_MX(ID,SPBM,SL,KCSL) values ('2026121300100001','01',2,5)");
    fixture.execute("insert into XSD_MX(ID,SPBM,SL,KCSL) values ('2026121300100001','02',3,3)");
}

// The older layout: no picture and stock columns on products, lines without stock, days
// and rent total.
void makeOlderLayout(ProgramFixture& fixture) {
    for (const char* column : {"TP", "KCSL", "JCSL"})
        fixture.connection().executeNative(QStringLiteral("ALTER TABLE BM_SP DROP COLUMN %1").arg(column));
    for (const char* column : {"KCSL", "ZZJ", "TS"})
        fixture.connection().executeNative(QStringLiteral("ALTER TABLE XSD_MX DROP COLUMN %1").arg(column));
    fixture.execute("insert into BM_SP(BM,MC) values ('01','婚纱')");
    fixture.execute("insert into BM_SP(BM,MC) values ('02','相机')");
    fixture.execute("insert into XSD_MX(ID,SPBM,SL) values ('2026121300100001','01',2)");
    fixture.execute("insert into XSD_MX(ID,SPBM,SL) values ('2026121300100001','02',3)");
}

QStringList quantities(ProgramFixture& fixture) {
    QStringList values;
    sql::Query query(fixture.connection(), "select SPBM, SL from XSD_MX order by SPBM");
    while (query.next())
        values << query.value(0).toString() + '=' + query.value(1).toString();
    return values;
}

} // namespace

class TestMaintenance : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initialiseDocumentsKeepsProductsAndStock() {
        ProgramFixture fixture;
        addBusiness(fixture);
        ScriptedDialogs dialogs;
        shell::TCSH window(fixture.dm());
        QCOMPARE(shell::checkListEntries(window.CheckListBox1),
                 QStringList({"delete from xsd_zb", "delete from xsd_mx", ""}));
        QVERIFY(window.CheckListBox1->isHidden());
        window.BitBtn3->click();
        QCOMPARE(rows(fixture, "XSD_ZB"), 0);
        QCOMPARE(rows(fixture, "XSD_MX"), 0);
        QCOMPARE(rows(fixture, "BM_SP"), 2);
        QCOMPARE(rows(fixture, "BM_SPLB"), 1);
        QCOMPARE(fixture.scalar("select KCSL from BM_SP where BM='01'").toDouble(), 5.0);
        QCOMPARE(fixture.scalar("select JCSL from BM_SP where BM='01'").toDouble(), 2.0);
        QCOMPARE(shell::checkListMarks(window.CheckListBox1), allMarked(3));
        QCOMPARE(dialogs.messages().size(), 1);
        QCOMPARE(dialogs.lastText(), QStringLiteral("帐套初始化成功！"));
        QCOMPARE(dialogs.messages().first().caption, QStringLiteral("提示："));
    }

    void initialiseAllKeepsTheOperators() {
        ProgramFixture fixture;
        addBusiness(fixture);
        const int printFormats = rows(fixture, "GG_DJ");
        ScriptedDialogs dialogs;
        shell::TCSH window(fixture.dm());
        QCOMPARE(window.windowTitle(), QStringLiteral("帐套初始化"));
        QCOMPARE(window.Label1->text(), QStringLiteral("初始化前请先备份好，以免数据丢失！"));
        QCOMPARE(window.BitBtn4->text(), QStringLiteral("初始化所有数据（包括业务单据和基础资料）"));
        window.BitBtn4->click();
        for (const char* table : {"XSD_ZB", "XSD_MX", "BM_SP", "BM_SPLB"})
            QCOMPARE(rows(fixture, table), 0);
        QCOMPARE(rows(fixture, "BM_YG"), 1);
        QCOMPARE(rows(fixture, "BM_GSXX"), 1);
        QCOMPARE(rows(fixture, "GG_DJ"), printFormats);
        QCOMPARE(shell::checkListMarks(window.CheckListBox2), allMarked(4));
        QCOMPARE(dialogs.lastText(), QStringLiteral("帐套初始化！"));
        shell::LoginCheck login(fixture.dm());
        QVERIFY(login.openAccountSet().isEmpty());
        QCOMPARE(login.attempt("sa", "592", true).outcome, shell::LoginCheck::Outcome::Accepted);
    }

    void failingEntryIsUnmarkedAndTheRunGoesOn() {
        ProgramFixture fixture;
        addBusiness(fixture);
        const QList<bool> marks = shell::runStatementList(
            fixture.connection(), {"delete from NO_SUCH_TABLE", "delete from xsd_zb", "  ", "update BM_SP set"});
        QCOMPARE(marks, QList<bool>({false, true, true, false}));
        QCOMPARE(rows(fixture, "XSD_ZB"), 0);
    }

    void upgradeOfTheOlderLayout() {
        ProgramFixture fixture;
        makeOlderLayout(fixture);
        ScriptedDialogs dialogs;
        shell::Tup window(fixture.dm());
        window.BitBtn3->click();
        QCOMPARE(shell::checkListEntries(window.CheckListBox1), shell::upgradeStatements());
        QCOMPARE(shell::checkListMarks(window.CheckListBox1), allMarked(7));
        QCOMPARE(dialogs.lastText(), QStringLiteral("帐套升级成功！"));
        QCOMPARE(dialogs.messages().first().caption, QStringLiteral("提示："));
        for (const char* column : {"TP", "KCSL", "JCSL"})
            QVERIFY2(columnsOf(fixture, "BM_SP").contains(column), column);
        for (const char* column : {"KCSL", "ZZJ", "TS", "SL"})
            QVERIFY2(columnsOf(fixture, "XSD_MX").contains(column), column);
        QCOMPARE(fixture.scalar("select count(*) from BM_SP where KCSL=0 and JCSL=0").toInt(), 2);
        QCOMPARE(quantities(fixture), QStringList({"01=2", "02=3"}));  // a column added back keeps its values
    }

    void upgradeOfTheCurrentLayoutLosesNothing() {
        ProgramFixture fixture;
        addBusiness(fixture);
        const QStringList productColumns = columnsOf(fixture, "BM_SP");
        const QStringList lineColumns = columnsOf(fixture, "XSD_MX");
        ScriptedDialogs dialogs;
        shell::Tup window(fixture.dm());
        window.BitBtn3Click();
        window.BitBtn3Click();  // and once more
        QCOMPARE(shell::checkListMarks(window.CheckListBox1), allMarked(7));
        QCOMPARE(columnsOf(fixture, "BM_SP"), productColumns);
        QCOMPARE(columnsOf(fixture, "XSD_MX"), lineColumns);
        QCOMPARE(quantities(fixture), QStringList({"01=2", "02=3"}));
        QCOMPARE(fixture.scalar("select KCSL from BM_SP where BM='01'").toDouble(), 5.0);
    }

    void upgradeLeavesOutOnlyWhatIsThere_data() {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QList<bool>>("marks");
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<QStringList>("gone");
        QTest::newRow("partly present: only the missing column is added")
            << QStringList({"alter table BM_SP add KCSL numeric, NEWA decimal(18,2)"}) << QList<bool>({true})
            << QStringList({"NEWA"}) << QStringList();
        QTest::newRow("a drop not added back runs")
            << QStringList({"alter table BM_SP add NEWB numeric", "ALTER TABLE BM_SP DROP COLUMN NEWB"})
            << QList<bool>({true, true}) << QStringList() << QStringList({"NEWB"});
        QTest::newRow("a drop of a missing column is done")
            << QStringList({"alter table BM_SP drop column NOPE"}) << QList<bool>({true}) << QStringList()
            << QStringList();
        QTest::newRow("other statements run as written")
            << QStringList({"update BM_SP set nothing=1", "", "update BM_SP set kcsl=1-1 where kcsl is null"})
            << QList<bool>({false, true, true}) << QStringList() << QStringList();
    }
    void upgradeLeavesOutOnlyWhatIsThere() {
        QFETCH(QStringList, entries);
        QFETCH(QList<bool>, marks);
        QFETCH(QStringList, added);
        QFETCH(QStringList, gone);
        ProgramFixture fixture;
        addBusiness(fixture);
        const QStringList before = columnsOf(fixture, "BM_SP");
        QCOMPARE(shell::runUpgradeList(fixture.connection(), entries), marks);
        QCOMPARE(columnsOf(fixture, "BM_SP"), before + added);
        for (const QString& column : gone)
            QVERIFY(!columnsOf(fixture, "BM_SP").contains(column));
        QCOMPARE(fixture.scalar("select KCSL from BM_SP where BM='01'").toDouble(), 5.0);
    }

    // Only Ctrl+F12 reveals the statements; the edited statements are what runs.
    void controlF12RevealsTheStatements() {
        ProgramFixture fixture;
        ScriptedDialogs dialogs;
        shell::Tup window(fixture.dm());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.Panel2->isHidden());
        const int shortHeight = window.height();
        QTest::keyClick(&window, Qt::Key_F12);
        QVERIFY(window.Panel2->isHidden());
        QTest::keyClick(window.BitBtn3, Qt::Key_F12, Qt::ControlModifier);
        QVERIFY(window.Panel2->isVisible());
        QVERIFY(window.height() > shortHeight);
        QCOMPARE(window.Memo1->toPlainText().split('\n'), shell::upgradeStatements());
        QCOMPARE(window.Memo1->lineWrapMode(), QPlainTextEdit::NoWrap);

        window.Memo1->setPlainText("alter table BM_SP add NEWC numeric\nnot a statement\n");
        window.BitBtn3Click();
        QCOMPARE(shell::checkListEntries(window.CheckListBox1),
                 QStringList({"alter table BM_SP add NEWC numeric", "not a statement"}));
        QCOMPARE(shell::checkListMarks(window.CheckListBox1), QList<bool>({true, false}));
        QVERIFY(columnsOf(fixture, "BM_SP").contains("NEWC"));

        window.close();
        window.show();
        QVERIFY(window.Panel2->isHidden());  // each showing starts with the buttons only
    }

    void passwordChange_data() {
        QTest::addColumn<QString>("oldPassword");
        QTest::addColumn<QString>("newPassword");
        QTest::addColumn<QString>("repeated");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("stored");
        QTest::newRow("wrong old password") << "59" << "new" << "new" << "原密码错！" << "592";
        QTest::newRow("old password with a blank") << "592 " << "new" << "new" << "原密码错！" << "592";
        QTest::newRow("empty new password") << "592" << "" << "" << "新密码不能为空！" << "592";
        QTest::newRow("repetition differs") << "592" << "new" << "New" << "新密码与验证密码不一致！" << "592";
        QTest::newRow("changed") << "592" << "it's new" << "it's new" << "密码修改成功！" << "it's new";
    }
    void passwordChange() {
        QFETCH(QString, oldPassword);
        QFETCH(QString, newPassword);
        QFETCH(QString, repeated);
        QFETCH(QString, message);
        QFETCH(QString, stored);
        ProgramFixture fixture;
        fixture.dm().settings().recordLogin("sa", "592", true);
        ScriptedDialogs dialogs;
        shell::Tggmm window(fixture.dm());
        window.LabeledEdit_OLD->setText(oldPassword);
        window.LabeledEdit_NEW->setText(newPassword);
        window.LabeledEdit_V->setText(repeated);
        window.BitBtn1->click();
        QCOMPARE(dialogs.texts(), QStringList({message}));
        QCOMPARE(dialogs.messages().first().caption, QStringLiteral("提示："));
        QCOMPARE(fixture.scalar("select MM from BM_YG where BM='001'").toString(), stored);
        QCOMPARE(fixture.dm().settings().loginPassword(), QStringLiteral("592"));  // the remembered one stays
        QCOMPARE(window.LabeledEdit_NEW->text(), newPassword);                   // fields keep their contents
    }

    void passwordWindowFields() {
        ProgramFixture fixture;
        ScriptedDialogs dialogs;
        shell::Tggmm window(fixture.dm());
        for (QLineEdit* edit : {window.LabeledEdit_OLD, window.LabeledEdit_NEW, window.LabeledEdit_V}) {
            QCOMPARE(edit->echoMode(), QLineEdit::Password);
            QTest::keyClicks(edit, "1234567890abcdef");
            QCOMPARE(edit->text(), QStringLiteral("1234567890ab"));
        }
        QCOMPARE(window.findChild<QLabel*>("LabeledEdit_OLDLabel")->text(), QStringLiteral("原 密 码："));
        QCOMPARE(window.findChild<QLabel*>("LabeledEdit_NEWLabel")->text(), QStringLiteral("新 密 码："));
        QCOMPARE(window.findChild<QLabel*>("LabeledEdit_VLabel")->text(), QStringLiteral("重新输入："));
        window.show();
        QCOMPARE(window.windowTitle(), QStringLiteral("修改密码 :系统管理员"));
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(window.isHidden());
    }

    void passwordChangeWithoutConnectionShowsTheEngineMessage() {
        ProgramFixture fixture;
        fixture.connection().close();
        ScriptedDialogs dialogs;
        shell::Tggmm window(fixture.dm());
        window.LabeledEdit_OLD->setText("592");
        window.BitBtn1Click();
        QCOMPARE(dialogs.messages().size(), 1);
        QCOMPARE(dialogs.messages().first().icon, ui::Icon::Critical);
        QVERIFY(!dialogs.lastText().isEmpty());
    }
};

QTEST_MAIN(TestMaintenance)
#include "test_maintenance.moc"
