#include "shell/AccountSet.h"
#include "shell/AccountSetFiles.h"
#include "shell/AppInfo.h"
#include "shell/DataModule.h"
#include "shell/MainWindow.h"
#include "sql/Connection.h"
#include "support/ProgramFixture.h"
#include "support/ScriptedDialogs.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {

const QDateTime kSunday(QDate(2026, 12, 13), QTime(10, 20, 30));
const QDateTime kSaturday(QDate(2026, 12, 12), QTime(18, 0, 0));

// The main window on a fresh account set, logged in, on a fixed day.
struct Program {
    explicit Program(const QDateTime& now = kSunday)
        : frame(fixture.dm(), [](shell::TDM_CS&, QWidget*) { return true; }) {
        frame.setClock([now] { return now; });
    }
    void addOrder(const QString& id, double quantity) {
        fixture.execute(QStringLiteral("insert into XSD_ZB(ID,RQ) values ('%1',#2026-12-13#)").arg(id));
        fixture.execute(QStringLiteral("insert into XSD_MX(ID,SPBM,SL) values ('%1','01',%2)").arg(id).arg(quantity));
    }
    int rows(const QString& table) { return fixture.scalar("select count(*) from " + table).toInt(); }

    ProgramFixture fixture;
    shell::Tform1 frame;
};

int rowsIn(const QString& file, const QString& table) {
    sql::Connection connection;
    connection.openFile(file);
    return connection.scalar("select count(*) from " + table).toInt();
}

QByteArray fingerprint(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QStringList safetyCopies(const Program& program) {
    return QDir(program.fixture.path("Backup")).entryList({"恢复前*.bak"}, QDir::Files);
}

void verifyPlainMessage(const ui::MessageRequest& message, const QString& text) {
    QCOMPARE(message.text, text);
    QCOMPARE(message.caption, shell::kApplicationTitle);
    QCOMPARE(message.icon, ui::Icon::None);
    QCOMPARE(message.buttons, ui::Buttons(ui::Button::Ok));
}

} // namespace

class TestBackup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void backupFileNames() {
        QCOMPARE(shell::requestedBackupPath("/b/20261213"), QStringLiteral("/b/20261213.bak"));
        QCOMPARE(shell::requestedBackupPath("/b/x.bak"), QStringLiteral("/b/x.bak.bak"));
        QCOMPARE(shell::proposedBackupName(QDate(2026, 1, 5)), QStringLiteral("20260105"));
        QCOMPARE(shell::weekdayBackupPath("/p", QDate(2026, 12, 13)), QStringLiteral("/p/Backup/星期日.bak"));
        QCOMPARE(shell::weekdayBackupPath("/p", QDate(2026, 12, 16)), QStringLiteral("/p/Backup/星期三.bak"));
    }

    void exitBackupTarget_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("fellBack");
        QTest::newRow("folder with separator") << "<dir>/" << "<dir>/20261213.bak" << false;
        QTest::newRow("folder without separator") << "<dir>" << "<dir>/20261213.bak" << false;
        QTest::newRow("empty") << "" << "<program>/Backup/20261213.bak" << true;
        QTest::newRow("missing folder") << "<dir>/gone/" << "<program>/Backup/20261213.bak" << true;
        QTest::newRow("a file, not a folder") << "<dir>/file" << "<program>/Backup/20261213.bak" << true;
    }
    void exitBackupTarget() {
        QFETCH(QString, folder);
        QFETCH(QString, path);
        QFETCH(bool, fellBack);
        QTemporaryDir dir;
        writeFile(dir.filePath("file"), "x");
        const auto expand = [&dir](QString text) { return text.replace("<dir>", dir.path()).replace("<program>", "/p"); };
        const shell::ExitBackupTarget target = shell::exitBackupTarget(expand(folder), "/p", kSunday.date());
        QCOMPARE(target.path, expand(path));
        QCOMPARE(target.fellBack, fellBack);
    }

    // A backup is a whole account set holding every committed order; backing up again
    // under the same name replaces the file.
    void backupOnRequestWithTheProposedName() {
        Program program;
        program.addOrder("2026121300100001", 2);
        QTemporaryDir target;
        ScriptedDialogs dialogs;
        dialogs.chooseNext(target.filePath("20261213"));
        program.frame.findChild<QToolButton*>("BitBtn5")->click();

        QCOMPARE(dialogs.fileRequests().size(), 1);
        const ui::FileRequest request = dialogs.fileRequests().first();
        QCOMPARE(request.kind, ui::FileRequest::Kind::Save);
        QCOMPARE(request.filter, QStringLiteral("保存为 (*.bak)|*.*"));
        QCOMPARE(request.proposedName, QStringLiteral("20261213"));
        QCOMPARE(dialogs.messages().size(), 1);
        verifyPlainMessage(dialogs.messages().first(), "备份成功！");
        const QString backup = target.filePath("20261213.bak");
        QCOMPARE(rowsIn(backup, "XSD_MX"), 1);
        QVERIFY(program.fixture.connection().isOpen());

        program.addOrder("2026121300100002", 3);
        dialogs.chooseNext(target.filePath("20261213"));
        program.frame.runCommand("XT_ZTBF");
        QCOMPARE(rowsIn(backup, "XSD_ZB"), 2);
        QCOMPARE(QDir(target.path()).entryList(QDir::Files), QStringList({"20261213.bak"}));
    }

    void nameEndingInBakGetsASecondBak() {
        Program program;
        QTemporaryDir target;
        ScriptedDialogs dialogs;
        dialogs.chooseNext(target.filePath("monday.bak"));
        program.frame.runCommand("XT_ZTBF");
        QVERIFY(QFile::exists(target.filePath("monday.bak.bak")));
        QVERIFY(!QFile::exists(target.filePath("monday.bak")));
    }

    void cancelledOrFailedBackup() {
        Program program;
        ScriptedDialogs dialogs;
        program.frame.runCommand("XT_ZTBF");
        QCOMPARE(dialogs.fileRequests().size(), 1);
        QVERIFY(dialogs.messages().isEmpty());
        dialogs.chooseNext(program.fixture.path("no/such/folder/x"));
        program.frame.runCommand("XT_ZTBF");
        QCOMPARE(dialogs.messages().size(), 1);
        verifyPlainMessage(dialogs.messages().first(), "备份失败，请重试！");
    }

    // The closing question: Yes backs up into BM_GSXX.BF (or Backup/), Cancel keeps the
    // program running; the weekday backup is written whatever the answer.
    void closingQuestion_data() {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<bool>("closed");
        const QString question = "退出时备份数据吗（是-备份；否-不备份；取消-不退出）？";
        const QString wrongPath = "备份路径错，自动备份到软件安装目录下面\"backup\"";
        QTest::newRow("yes into the company's folder")
            << kSunday << int(ui::Button::Yes) << "<dir>/" << QStringList({"<dir>/20261213.bak", "Backup/星期日.bak"})
            << QStringList({question}) << true;
        QTest::newRow("yes with an empty folder")
            << kSunday << int(ui::Button::Yes) << "" << QStringList({"Backup/20261213.bak", "Backup/星期日.bak"})
            << QStringList({question, wrongPath}) << true;
        QTest::newRow("yes with a missing folder")
            << kSaturday << int(ui::Button::Yes) << "<dir>/gone/"
            << QStringList({"Backup/20261212.bak", "Backup/星期六.bak"}) << QStringList({question, wrongPath}) << true;
        QTest::newRow("no") << kSunday << int(ui::Button::No) << "<dir>/" << QStringList({"Backup/星期日.bak"})
                            << QStringList({question}) << true;
        QTest::newRow("cancel on a Saturday") << kSaturday << int(ui::Button::Cancel) << "<dir>/"
                                              << QStringList({"Backup/星期六.bak"}) << QStringList({question}) << false;
    }
    void closingQuestion() {
        QFETCH(QDateTime, now);
        QFETCH(int, answer);
        QFETCH(QString, folder);
        QFETCH(QStringList, files);
        QFETCH(QStringList, messages);
        QFETCH(bool, closed);
        QTemporaryDir dir;
        Program program(now);
        program.addOrder("2026121300100001", 2);
        const auto expand = [&](QString text) {
            text.replace("<dir>", dir.path());
            return QFileInfo(text).isAbsolute() ? text : program.fixture.path(text);
        };
        // Set after the frame was made: the closing reads the folder afresh.
        program.fixture.execute(QStringLiteral("update BM_GSXX set BF='%1'").arg(folder.replace("<dir>", dir.path())));
        program.frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&program.frame));

        ScriptedDialogs dialogs;
        dialogs.answerNext(ui::Button(answer));
        QCOMPARE(program.frame.close(), closed);
        QCOMPARE(program.frame.isVisible(), !closed);
        QCOMPARE(dialogs.texts(), messages);
        const ui::MessageRequest asked = dialogs.messages().first();
        QCOMPARE(asked.caption, QStringLiteral("提示"));
        QCOMPARE(asked.icon, ui::Icon::Information);
        QCOMPARE(asked.buttons, ui::Button::Yes | ui::Button::No | ui::Button::Cancel);
        for (qsizetype i = 1; i < dialogs.messages().size(); ++i)
            verifyPlainMessage(dialogs.messages()[i], messages[i]);
        QStringList written = QDir(program.fixture.path("Backup")).entryList(QDir::Files);
        for (const QString& file : QDir(dir.path()).entryList(QDir::Files))
            written << dir.filePath(file);
        QStringList expected;
        for (const QString& file : files)
            expected << (file.startsWith("<dir>") ? expand(file) : QFileInfo(file).fileName());
        written.sort();
        expected.sort();
        QCOMPARE(written, expected);
        for (const QString& file : files)
            QCOMPARE(rowsIn(expand(file), "XSD_MX"), 1);
    }

    void failedWeekdayBackupIsReported() {
        Program program;
        QVERIFY(QDir(program.fixture.path("Backup")).removeRecursively());
        ScriptedDialogs dialogs;
        dialogs.answerNext(ui::Button::No);
        QVERIFY(program.frame.FormCloseQuery());
        QCOMPARE(dialogs.messages().size(), 2);
        verifyPlainMessage(dialogs.messages()[1], "备份失败，请重试！");
    }

    void restoreOfAnAccountSet() {
        Program program;
        program.addOrder("2026121300100001", 2);
        QTemporaryDir elsewhere;
        const QString saved = elsewhere.filePath("saved.bak");
        program.fixture.connection().copyTo(saved);
        program.addOrder("2026121300100002", 3);

        ScriptedDialogs dialogs;
        dialogs.chooseNext(saved);
        program.frame.runCommand("XT_ZTHF");
        const ui::FileRequest request = dialogs.fileRequests().first();
        QCOMPARE(request.kind, ui::FileRequest::Kind::Open);
        QCOMPARE(request.filter, QStringLiteral("打开 (*.bak)|*.*"));
        QCOMPARE(request.directory, program.fixture.path("Backup"));
        QCOMPARE(dialogs.messages().size(), 1);
        verifyPlainMessage(dialogs.messages().first(), "成功恢复数据！");
        QVERIFY(program.fixture.connection().isOpen());
        QCOMPARE(program.rows("XSD_ZB"), 1);
        QVERIFY(QFile::exists(saved));
        // What was replaced is kept, dated, in Backup/.
        QCOMPARE(safetyCopies(program), QStringList({"恢复前20261213-102030.bak"}));
        QCOMPARE(rowsIn(program.fixture.path("Backup/恢复前20261213-102030.bak"), "XSD_ZB"), 2);
        QVERIFY(!QFile::exists(program.fixture.path("data/restore.tmp")));
    }

    void restoreRefusesWhatIsNoAccountSet_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("another database") << "database";
        QTest::newRow("text file") << "text";
        QTest::newRow("empty file") << "empty";
        QTest::newRow("missing file") << "missing";
    }
    void restoreRefusesWhatIsNoAccountSet() {
        QFETCH(QString, kind);
        Program program;
        program.addOrder("2026121300100001", 2);
        QTemporaryDir elsewhere;
        const QString chosen = elsewhere.filePath("chosen.bak");
        if (kind == "database") {
            sql::Connection other;
            other.openFile(chosen, true);
            other.executeNative("create table XSD_ZB(ID text); create table BM_SP(BM text)");
        } else if (kind == "text") {
            writeFile(chosen, QByteArray(4096, 'x'));
        } else if (kind == "empty") {
            writeFile(chosen, QByteArray());
        }
        const QByteArray before = fingerprint(program.fixture.path("data/data.mdb"));

        ScriptedDialogs dialogs;
        dialogs.chooseNext(chosen);
        program.frame.runCommand("XT_ZTHF");
        QCOMPARE(dialogs.messages().size(), 1);
        verifyPlainMessage(dialogs.messages().first(), kind == "missing"
                                                           ? QStringLiteral("恢复失败，请重试!")
                                                           : QStringLiteral("恢复失败：所选文件不是帐套，当前帐套没有改变！"));
        QCOMPARE(fingerprint(program.fixture.path("data/data.mdb")), before);
        QVERIFY(program.fixture.connection().isOpen());
        QCOMPARE(program.rows("XSD_ZB"), 1);
        QVERIFY(safetyCopies(program).isEmpty());
        QVERIFY(!QFile::exists(program.fixture.path("data/restore.tmp")));
    }

    void cancelledRestoreChangesNothing() {
        Program program;
        ScriptedDialogs dialogs;
        program.frame.runCommand("XT_ZTHF");
        QCOMPARE(dialogs.fileRequests().size(), 1);
        QVERIFY(dialogs.messages().isEmpty());
        QVERIFY(program.fixture.connection().isOpen());
    }

    // The restored file does not open: the account set it replaced is put back and opened.
    void restoredFileThatDoesNotOpenIsReplacedByThePreviousOne() {
        ProgramFixture fixture;
        fixture.execute("insert into XSD_ZB(ID) values ('2026121300100001')");
        QTemporaryDir elsewhere;
        const QString saved = elsewhere.filePath("saved.bak");
        fixture.connection().copyTo(saved);
        fixture.execute("insert into XSD_ZB(ID) values ('2026121300100002')");

        shell::AccountSetFiles files(fixture.dm());
        int opens = 0;
        files.reopen = [&] {
            if (++opens == 1)
                throw sql::Error("磁盘错误");
            fixture.dm().openAccountSet();
        };
        const shell::AccountSetFiles::Restore restore = files.restoreFrom(saved, kSunday);
        QCOMPARE(restore.result, shell::AccountSetFiles::RestoreResult::PutBack);
        QCOMPARE(restore.detail, QStringLiteral("磁盘错误"));
        QVERIFY(fixture.connection().isOpen());
        QCOMPARE(fixture.scalar("select count(*) from XSD_ZB").toInt(), 2);

        files.reopen = [] { throw sql::Error("磁盘错误"); };
        const shell::AccountSetFiles::Restore lost = files.restoreFrom(saved, kSunday.addSecs(1));
        QCOMPARE(lost.result, shell::AccountSetFiles::RestoreResult::Unopened);
        QCOMPARE(rowsIn(lost.safetyCopy, "XSD_ZB"), 2);  // nothing is lost: the previous set is kept
    }

    void compactShrinksTheFileAndKeepsEveryRow() {
        Program program;
        program.fixture.connection().beginTransaction();
        for (int i = 0; i < 3000; ++i)
            program.fixture.addProduct(QStringLiteral("P%1").arg(i, 5, 10, QLatin1Char('0')), QString(40, u'商'), 10, 100,
                                       i % 7);
        program.fixture.connection().commit();
        program.fixture.execute("delete from BM_SP where BM > 'P00500'");
        const qint64 before = QFileInfo(program.fixture.path("data/data.mdb")).size();
        const double stock = program.fixture.scalar("select sum(KCSL) from BM_SP").toDouble();

        ScriptedDialogs dialogs;
        dialogs.answerNext(ui::Button::Yes);
        program.frame.runCommand("XT_YSXF");
        QCOMPARE(dialogs.messages().size(), 2);
        const ui::MessageRequest question = dialogs.messages().first();
        QCOMPARE(question.caption, QStringLiteral("提示"));
        QCOMPARE(question.text, QStringLiteral("您确信要压缩、修复帐套吗？"));
        QCOMPARE(question.icon, ui::Icon::Question);
        QCOMPARE(question.buttons, ui::Button::Yes | ui::Button::No);
        QCOMPARE(question.defaultButton, ui::Button::No);
        QCOMPARE(dialogs.messages()[1].text, QStringLiteral("帐套压缩修复成功！"));
        QCOMPARE(dialogs.messages()[1].caption, QStringLiteral("提示"));

        QVERIFY(program.fixture.connection().isOpen());
        QVERIFY(QFileInfo(program.fixture.path("data/data.mdb")).size() < before / 2);
        QCOMPARE(program.rows("BM_SP"), 501);
        QCOMPARE(program.fixture.scalar("select sum(KCSL) from BM_SP").toDouble(), stock);
        QCOMPARE(program.rows("BM_YG"), 1);
        QVERIFY(!QFile::exists(program.fixture.path("data/temp.mdb")));
        QVERIFY(shell::isAccountSet(program.fixture.connection()));
    }

    void compactAnsweredNoChangesNothing() {
        Program program;
        const QByteArray before = fingerprint(program.fixture.path("data/data.mdb"));
        ScriptedDialogs dialogs;  // the default button is No
        program.frame.runCommand("XT_YSXF");
        QCOMPARE(dialogs.messages().size(), 1);
        QCOMPARE(fingerprint(program.fixture.path("data/data.mdb")), before);
    }

    // A compact that fails leaves the old account set in place and open, and says why.
    void failingCompactKeepsTheAccountSet_data() {
        QTest::addColumn<QString>("cause");
        QTest::newRow("temporary file cannot be removed") << "folder";
        QTest::newRow("engine refuses") << "transaction";
    }
    void failingCompactKeepsTheAccountSet() {
        QFETCH(QString, cause);
        Program program;
        program.addOrder("2026121300100001", 2);
        if (cause == "folder")
            QVERIFY(QDir().mkpath(program.fixture.path("data/temp.mdb/inside")));
        else
            program.fixture.connection().beginTransaction();
        const QByteArray before = fingerprint(program.fixture.path("data/data.mdb"));

        ScriptedDialogs dialogs;
        dialogs.answerNext(ui::Button::Yes);
        program.frame.runCommand("XT_YSXF");
        if (cause == "transaction")
            program.fixture.connection().rollback();
        QCOMPARE(dialogs.messages().size(), 2);
        const ui::MessageRequest failure = dialogs.messages()[1];
        QCOMPARE(failure.caption, QStringLiteral("提示："));
        QCOMPARE(failure.icon, ui::Icon::Warning);
        QVERIFY2(failure.text.startsWith("帐套压缩修复失败，原因：")
                     && failure.text.size() > QStringLiteral("帐套压缩修复失败，原因：").size(),
                 qPrintable(failure.text));
        QCOMPARE(fingerprint(program.fixture.path("data/data.mdb")), before);
        QVERIFY(program.fixture.connection().isOpen());
        QCOMPARE(program.rows("XSD_MX"), 1);
    }
};

QTEST_MAIN(TestBackup)
#include "test_backup.moc"
