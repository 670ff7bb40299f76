#include "ini/IniFile.h"
#include "shell/Settings.h"
#include "text/Gbk.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestSettings : public QObject {
    Q_OBJECT

private:
    static void writeFile(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

private Q_SLOTS:
    void missingFileGivesEveryDefault() {
        QTemporaryDir dir;
        shell::Settings settings(dir.path());
        QCOMPARE(settings.loginUser(), QStringLiteral("sa"));
        QCOMPARE(settings.loginPassword(), QStringLiteral("592"));
        QVERIFY(settings.rememberPassword());
        QCOMPARE(settings.loginCount(), 0);
        QVERIFY(settings.printWithoutPreview());
        QVERIFY(settings.printAfterPayment());
        QVERIFY(settings.useTicketFormat());
        QCOMPARE(settings.ticketPort(), QStringLiteral("LPT1"));
        QVERIFY(!QFile::exists(settings.filePath()));  // reading never creates the file
    }

    void onlyCapitalTCountsAsSet_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("set");
        QTest::newRow("T") << "T" << true;
        QTest::newRow("F") << "F" << false;
        QTest::newRow("lower t") << "t" << false;
        QTest::newRow("True") << "True" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("1") << "1" << false;
    }
    void onlyCapitalTCountsAsSet() {
        QFETCH(QString, stored);
        QFETCH(bool, set);
        QTemporaryDir dir;
        writeFile(dir.filePath("Default.ini"),
                  QStringLiteral("[dl]\nbcmm=%1\n[xsd]\nyl=%1\nskdy=%1\ngdxp=%1\n").arg(stored).toUtf8());
        shell::Settings settings(dir.path());
        QCOMPARE(settings.rememberPassword(), set);
        QCOMPARE(settings.printWithoutPreview(), set);
        QCOMPARE(settings.printAfterPayment(), set);
        QCOMPARE(settings.useTicketFormat(), set);
    }

    void loginIsRecordedAndCounted() {
        QTemporaryDir dir;
        shell::Settings settings(dir.path());
        settings.recordLogin(QStringLiteral("王芳"), QStringLiteral("pw=1"), false);
        settings.recordLogin(QStringLiteral("王芳"), QStringLiteral("pw=1"), false);
        shell::Settings reread(dir.path());
        QCOMPARE(reread.loginUser(), QStringLiteral("王芳"));
        QCOMPARE(reread.loginPassword(), QStringLiteral("pw=1"));  // only the first '=' separates
        QVERIFY(!reread.rememberPassword());
        QCOMPARE(reread.loginCount(), 2);
    }

    // A window opened later reads what an earlier one wrote, through its own object.
    void everyWriteReachesTheFileAtOnce() {
        QTemporaryDir dir;
        shell::Settings orderWindow(dir.path());
        shell::Settings later(dir.path());
        QVERIFY(later.useTicketFormat());
        orderWindow.setPrintOptions(false, true, false);
        QVERIFY(!later.printWithoutPreview());
        QVERIFY(later.printAfterPayment());
        QVERIFY(!later.useTicketFormat());
        later.recordLogin(QStringLiteral("sa"), QStringLiteral("592"), true);
        QVERIFY(!orderWindow.useTicketFormat());  // the other section survived the write
    }

    void namesMatchWithoutRegardToCase() {
        QTemporaryDir dir;
        writeFile(dir.filePath("Default.ini"), "[DL]\r\nUser=boss\r\n");
        shell::Settings settings(dir.path());
        QCOMPARE(settings.loginUser(), QStringLiteral("boss"));
        settings.setText(QStringLiteral("dl"), QStringLiteral("USER"), QStringLiteral("clerk"));
        QFile file(settings.filePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll();
        QCOMPARE(content.count("ser="), 1);  // the key was replaced, not added twice
        QCOMPARE(shell::Settings(dir.path()).loginUser(), QStringLiteral("clerk"));
    }

    void gbkFileAndUtf8FileWithByteOrderMark() {
        QTemporaryDir dir;
        const QString gbkPath = dir.filePath("gbk.piv");
        writeFile(gbkPath, text::toGbk(QStringLiteral("[Title]\nCount=1\nT0=禾岚影楼[id]\n")));
        ini::IniFile gbk(gbkPath, ini::IniFile::Encoding::Gbk);
        QCOMPARE(gbk.value("title", "t0"), QStringLiteral("禾岚影楼[id]"));
        const QString bomPath = dir.filePath("bom.piv");
        writeFile(bomPath, QByteArray("\xEF\xBB\xBF") + QStringLiteral("[Title]\nT0=谢谢惠顾\n").toUtf8());
        ini::IniFile bom(bomPath, ini::IniFile::Encoding::Gbk);
        QCOMPARE(bom.value("Title", "T0"), QStringLiteral("谢谢惠顾"));
        QVERIFY(!bom.contains("Title", "T1"));
        QCOMPARE(bom.value("Title", "T1", "none"), QStringLiteral("none"));
    }

    void valuesAreTrimmedAndUnquotedAndCountsRead() {
        QTemporaryDir dir;
        const QString path = dir.filePath("xpjhl.piv");
        writeFile(path, text::toGbk(QStringLiteral("[Title]\nCount = 0x2 \nT0=  No.[id]  \nT1=\"  [khmc]\"\n"
                                                   "[Data]\nCount=abc\n[Footer]\nCount=-1\n")));
        ini::IniFile file(path, ini::IniFile::Encoding::Gbk);
        QCOMPARE(file.integer("Title", "Count"), 2);
        QCOMPARE(file.value("Title", "T0"), QStringLiteral("No.[id]"));
        QCOMPARE(file.value("Title", "T1"), QStringLiteral("  [khmc]"));
        QCOMPARE(file.integer("Data", "Count"), 0);
        QCOMPARE(file.integer("Footer", "Count"), -1);
        QCOMPARE(file.integer("Missing", "Count", 7), 7);
    }

    void unwritableFileIsReported() {
        ini::IniFile file(QStringLiteral("/nonexistent-folder/Default.ini"));
        QVERIFY(!file.setValue("dl", "user", "sa"));
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "test_settings.moc"
