#include "masterdata/SQLForm.h"
#include "masterdata/SqlAnalysis.h"
#include "support/ProgramFixture.h"
#include "support/ScriptedDialogs.h"
#include "text/Gbk.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

using masterdata::StatementKind;
using masterdata::TSQL_YJ;

// The SQL analysis tool over products P1 白色婚纱 and P2 相机.
class TestSqlTool : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void classification_data();
    void classification();
    void fillingToAColumnWidth_data();
    void fillingToAColumnWidth();
    void runs_data();
    void runs();
    void queryListsRowsInFixedWidthColumns();
    void commandRunsAndIsConfirmed();
    void runsAreSeparatedByOneEmptyLine();
    void emptyTextDoesNothing();
    void enterRunsAndEscHidesKeepingTheTexts();
    void openAndSaveTextFiles();
    void saveWithTheDialogCancelledWritesNothing();

private:
    TSQL_YJ& tool() { return TSQL_YJ::instance(fixture_->dm()); }
    void run(const QString& statement) {
        tool().Memo1->setPlainText(statement);
        tool().BitBtn3->click();
    }

    std::unique_ptr<ProgramFixture> fixture_;
    std::unique_ptr<ScriptedDialogs> dialogs_;
};

void TestSqlTool::init() {
    fixture_ = std::make_unique<ProgramFixture>();
    dialogs_ = std::make_unique<ScriptedDialogs>();
    fixture_->addProduct("P1", "白色婚纱", 50, 500, 3);
    fixture_->addProduct("P2", "相机", 80, 2000, 2);
    tool().show();
}

void TestSqlTool::cleanup() {
    dialogs_.reset();
    fixture_.reset();
}

void TestSqlTool::classification_data() {
    QTest::addColumn<QString>("statement");
    QTest::addColumn<StatementKind>("kind");
    QTest::newRow("expression") << "1+1" << StatementKind::Expression;
    QTest::newRow("count as expression") << "count(*) from bm_sp" << StatementKind::Expression;
    QTest::newRow("query") << "select * from bm_sp" << StatementKind::Query;
    QTest::newRow("query, mixed case") << "SeLeCt bm from bm_sp" << StatementKind::Query;
    QTest::newRow("query naming DELETE is a command")
        << "select * from bm_sp where mc like '%DELETE%'" << StatementKind::Command;
    QTest::newRow("update, lower case") << "update bm_sp set dw='套'" << StatementKind::Command;
    QTest::newRow("insert, mixed case") << "Insert into bm_splb(bm) values ('9')" << StatementKind::Command;
    QTest::newRow("delete") << "delete from bm_splb" << StatementKind::Command;
    QTest::newRow("alter") << "alter table bm_sp add XX text(10)" << StatementKind::Command;
    QTest::newRow("word inside another") << "select updated from t" << StatementKind::Command;
    QTest::newRow("create table") << "create table t(x text(10))" << StatementKind::Expression;
    QTest::newRow("drop table") << "drop table t" << StatementKind::Expression;
}

void TestSqlTool::classification() {
    QFETCH(QString, statement);
    QFETCH(StatementKind, kind);
    QCOMPARE(masterdata::classifyStatement(statement), kind);
}

void TestSqlTool::fillingToAColumnWidth_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("filled");
    QTest::newRow("short") << "ab" << 5 << "ab    ";
    QTest::newRow("exact") << "abcde" << 5 << "abcde ";
    QTest::newRow("one over") << "abcdef" << 5 << "abcdef";
    QTest::newRow("longer") << "abcdefgh" << 5 << "abcdefgh";
    QTest::newRow("Chinese counts two") << "婚纱" << 5 << "婚纱  ";
    QTest::newRow("empty") << "" << 2 << "   ";
}

void TestSqlTool::fillingToAColumnWidth() {
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QString, filled);
    QCOMPARE(masterdata::fillToWidth(text, width), filled);
}

void TestSqlTool::runs_data() {
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("pane");
    QTest::addColumn<QString>("message");
    QTest::newRow("expression") << "1+1" << "1+1=2" << "";
    QTest::newRow("count") << "count(*) from bm_sp" << "count(*) from bm_sp=2" << "";
    QTest::newRow("null expression") << "null" << "null=" << "";
    QTest::newRow("no rows") << "select * from bm_sp where bm='none'" << "" << "无符合条件的数据！";
    QTest::newRow("create table is no expression") << "create table t(x text(10))" << "" << "命令有误！";
    QTest::newRow("unknown table") << "select * from nowhere" << "" << "命令有误！";
    QTest::newRow("bad command") << "update nowhere set x=1" << "" << "命令有误！";
    QTest::newRow("query naming DELETE runs as a command")
        << "select * from bm_sp where mc like '%DELETE%'" << "" << "操作成功！";
}

void TestSqlTool::runs() {
    QFETCH(QString, statement);
    QFETCH(QString, pane);
    QFETCH(QString, message);
    run(statement);
    QCOMPARE(tool().Memo2->toPlainText(), pane);
    QCOMPARE(dialogs_->lastText(), message);
    if (!message.isEmpty()) {
        QCOMPARE(dialogs_->messages().size(), 1);
        QCOMPARE(dialogs_->messages().first().caption, QString("提示："));
        QCOMPARE(dialogs_->messages().first().buttons, ui::Buttons(ui::Button::Ok));
    }
    QCOMPARE(fixture_->scalar("select count(*) from sqlite_master where name='t'").toInt(), 0);
}

void TestSqlTool::queryListsRowsInFixedWidthColumns() {
    run("select bm, mc, zj from bm_sp order by bm");
    const QStringList lines = tool().Memo2->toPlainText().split('\n');
    const QString heading = masterdata::fillToWidth("BM", 50) + masterdata::fillToWidth("MC", 100)
                            + masterdata::fillToWidth("ZJ", 2);
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines[0], heading);
    QCOMPARE(lines[1], QString(heading.size(), '='));
    QCOMPARE(lines[2], masterdata::fillToWidth("P1", 50) + masterdata::fillToWidth("白色婚纱", 100) + "50 ");
    QCOMPARE(text::gbkByteLength(lines[2]), 51 + 101 + 3);
    QCOMPARE(lines[3].left(51), masterdata::fillToWidth("P2", 50));
    QVERIFY(dialogs_->messages().isEmpty());
}

void TestSqlTool::commandRunsAndIsConfirmed() {
    run("update bm_sp set dw='套' where bm='P2'");
    QCOMPARE(dialogs_->texts(), QStringList({"操作成功！"}));
    QCOMPARE(fixture_->scalar("select dw from bm_sp where bm='P2'").toString(), QString("套"));
    QVERIFY(tool().Memo2->toPlainText().isEmpty());
    QVERIFY(!fixture_->connection().inTransaction());
}

void TestSqlTool::runsAreSeparatedByOneEmptyLine() {
    run("1+1");
    run("select * from bm_sp where bm='none'");
    run("2*3");
    QCOMPARE(tool().Memo2->toPlainText(), QString("1+1=2\n\n2*3=6"));
    tool().BitBtn4->click();
    QVERIFY(tool().Memo2->toPlainText().isEmpty());
    run("3-1");
    QCOMPARE(tool().Memo2->toPlainText(), QString("3-1=2"));
}

void TestSqlTool::emptyTextDoesNothing() {
    run(QString());
    QVERIFY(tool().Memo2->toPlainText().isEmpty());
    QVERIFY(dialogs_->messages().isEmpty());
}

void TestSqlTool::enterRunsAndEscHidesKeepingTheTexts() {
    tool().Memo1->setPlainText("1+1");
    tool().Memo1->moveCursor(QTextCursor::End);
    QTest::keyClick(tool().Memo1, Qt::Key_Return);
    QCOMPARE(tool().Memo1->toPlainText(), QString("1+1"));  // no line break taken
    QCOMPARE(tool().Memo2->toPlainText(), QString("1+1=2"));
    QTest::keyClick(tool().BitBtn4, Qt::Key_Enter);  // wherever the focus is
    QCOMPARE(tool().Memo2->toPlainText(), QString("1+1=2\n\n1+1=2"));

    QTest::keyClick(tool().Memo2, Qt::Key_Escape);
    QVERIFY(!tool().isVisible());
    tool().show();
    QCOMPARE(tool().Memo1->toPlainText(), QString("1+1"));
    QCOMPARE(tool().Memo2->toPlainText(), QString("1+1=2\n\n1+1=2"));
    tool().BitBtn5->click();
    QVERIFY(!tool().isVisible());
}

void TestSqlTool::openAndSaveTextFiles() {
    const QString path = fixture_->path("query.txt");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text::toGbk("select *\r\nfrom bm_sp where mc='相机'"));
    file.close();

    dialogs_->chooseNext(path);
    tool().BitBtn1->click();
    const ui::FileRequest& open = dialogs_->fileRequests().first();
    QCOMPARE(open.kind, ui::FileRequest::Kind::Open);
    QCOMPARE(open.caption, QString("打开"));
    QCOMPARE(open.directory, fixture_->programDir());
    QCOMPARE(open.defaultSuffix, QString("txt"));
    QCOMPARE(open.filter, QString("文本文件 (*.txt)|*.txt"));
    QVERIFY(open.proposedName.isEmpty());
    QCOMPARE(tool().Memo1->toPlainText(), QString("select *\nfrom bm_sp where mc='相机'"));
    QCOMPARE(tool().fileName(), path);

    tool().BitBtn3->click();
    QCOMPARE(tool().Memo2->toPlainText().split('\n').size(), 3);  // a text of several lines runs whole

    tool().Memo1->setPlainText("2+2");
    tool().BitBtn2->click();
    QCOMPARE(dialogs_->fileRequests().size(), 1);  // written back without asking
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("2+2"));
}

void TestSqlTool::saveWithTheDialogCancelledWritesNothing() {
    tool().Memo1->setPlainText("1+1");
    tool().BitBtn2->click();
    QCOMPARE(dialogs_->fileRequests().size(), 1);
    QCOMPARE(dialogs_->fileRequests().first().caption, QString("保存为"));
    QCOMPARE(dialogs_->fileRequests().first().kind, ui::FileRequest::Kind::Save);
    QVERIFY(tool().fileName().isEmpty());

    const QString path = fixture_->path("saved.txt");
    dialogs_->chooseNext(path);
    tool().Memo1->setPlainText("相机");
    tool().BitBtn2->click();
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), text::toGbk("相机"));
    QCOMPARE(tool().fileName(), path);
}

QTEST_MAIN(TestSqlTool)
#include "test_sqltool.moc"
