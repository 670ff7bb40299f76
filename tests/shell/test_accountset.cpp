#include "shell/AccountSet.h"
#include "sql/Connection.h"
#include "sql/Error.h"
#include "sql/Query.h"
#include "support/ProgramFixture.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestAccountSet : public QObject {
    Q_OBJECT

private:
    // Declared type of a column as the engine reports it for "select *".
    static QString declaredType(sql::Connection& connection, const QString& table, const QString& column) {
        sql::Query query(connection, QStringLiteral("select * from %1").arg(table));
        const int index = query.indexOf(column);
        return index < 0 ? QString() : query.columns().at(index).declaredType;
    }

private Q_SLOTS:
    void everyColumnWithItsType_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("columns");
        QTest::addColumn<QString>("type");
        QTest::newRow("order header texts") << "XSD_ZB" << "JBR ZDR KHMC KHDZ KHDH KHZJ KHBZR KHQT BZ YYSH SH QX" << "text(50)";
        QTest::newRow("order number") << "XSD_ZB" << "ID" << "text(16)";
        QTest::newRow("order dates") << "XSD_ZB" << "RQ ZJRQ GHRQ YYSK_RQ SS_RQ QXSK_RQ" << "date";
        QTest::newRow("order money") << "XSD_ZB" << "ZJTS YYSK SSYJ SS QXSK YSYJ YS YSZJ SSJE WFJE" << "decimal(18,2)";
        QTest::newRow("line texts") << "XSD_MX" << "SPBM SPMC TXM DW BZ" << "text(50)";
        QTest::newRow("line number") << "XSD_MX" << "ID" << "text(16)";
        QTest::newRow("line numbers") << "XSD_MX" << "CBJ KCSL SL TS YJ ZJ ZZJ" << "decimal(18,2)";
        QTest::newRow("product wide texts") << "BM_SP" << "MC DW" << "text(100)";
        QTest::newRow("product texts") << "BM_SP" << "BM TXM JP LB" << "text(50)";
        QTest::newRow("product picture") << "BM_SP" << "TP" << "text(255)";
        QTest::newRow("product numbers") << "BM_SP" << "CBJ YJ ZJ KCSL JCSL" << "decimal(18,2)";
        QTest::newRow("categories") << "BM_SPLB" << "BM MC" << "text(50)";
        QTest::newRow("employee texts") << "BM_YG" << "BM MC DLMC MM DH DZ BZ" << "text(50)";
        QTest::newRow("employee dates") << "BM_YG" << "SR SRBZ" << "date";
        QTest::newRow("print formats") << "GG_DJ" << "DM" << "text(10)";
        QTest::newRow("print format name") << "GG_DJ" << "MC" << "text(50)";
        QTest::newRow("print format file") << "GG_DJ" << "DZ" << "text(100)";
    }
    void everyColumnWithItsType() {
        QFETCH(QString, table);
        QFETCH(QString, columns);
        QFETCH(QString, type);
        ProgramFixture fixture;
        for (const QString& column : columns.split(' '))
            QCOMPARE(declaredType(fixture.connection(), table, column), type);
    }

    void companyAndPinyinTablesHaveTheirColumns() {
        ProgramFixture fixture;
        for (const QString& column : {"GSMC", "DZ", "DH", "LOG", "BF"})
            QVERIFY(!declaredType(fixture.connection(), "BM_GSXX", column).isEmpty());
        for (const QString& column : {"MC", "JP"})
            QVERIFY(!declaredType(fixture.connection(), "BM_JP", column).isEmpty());
        QVERIFY(shell::isAccountSet(fixture.connection()));
    }

    void initialContent() {
        ProgramFixture fixture(true);
        QCOMPARE(fixture.scalar("select count(*) from bm_gsxx").toInt(), 1);
        QCOMPARE(fixture.scalar("select count(*) from bm_yg").toInt(), 1);
        QCOMPARE(fixture.scalar("select MM from BM_YG where DLMC='sa'").toString(), QStringLiteral("592"));
        QCOMPARE(fixture.scalar("select BM from BM_YG where DLMC='sa'").toString().size(), 3);
        QCOMPARE(fixture.scalar("select count(*) from gg_dj where dm in (\"xsd\",\"bb_xsd\",\"bb_xsdmx\")").toInt(), 3);
        QCOMPARE(fixture.scalar("select count(*) from gg_dj where dz is null or dz=''").toInt(), 0);
        for (const char* table : {"xsd_zb", "xsd_mx", "bm_sp", "bm_splb"})
            QCOMPARE(fixture.scalar(QStringLiteral("select count(*) from %1").arg(QLatin1String(table))).toInt(), 0);
    }

    // Characters inside the pinyin-ordered level-1 range need no row; those outside have one.
    void pinyinTableCoversCharactersOutsideTheOrderedRange_data() {
        QTest::addColumn<QString>("character");
        QTest::addColumn<QString>("initial");
        QTest::newRow("鑫, level 2") << "鑫" << "X";
        QTest::newRow("镕, level 2") << "镕" << "R";
        QTest::newRow("亍, level 2") << "亍" << "C";
        QTest::newRow("丂, extension below the range") << "丂" << "K";
        QTest::newRow("婚, level 1: no row") << "婚" << "";
        QTest::newRow("纱, level 1: no row") << "纱" << "";
    }
    void pinyinTableCoversCharactersOutsideTheOrderedRange() {
        QFETCH(QString, character);
        QFETCH(QString, initial);
        ProgramFixture fixture(true);
        QCOMPARE(fixture.scalar(QStringLiteral("select jp from BM_JP where mc='%1'").arg(character)).toString(), initial);
        QVERIFY(fixture.scalar("select count(*) from bm_jp").toInt() > 13000);
    }

    void uniqueKeysAreRefused_data() {
        QTest::addColumn<QString>("insert");
        QTest::newRow("order number") << "insert into xsd_zb(id) values ('%1')";
        QTest::newRow("product code") << "insert into bm_sp(bm) values ('%1')";
        QTest::newRow("category code") << "insert into bm_splb(bm) values ('%1')";
        QTest::newRow("employee code") << "insert into bm_yg(bm) values ('%1')";
        QTest::newRow("pinyin character") << "insert into bm_jp(mc) values ('%1')";
        QTest::newRow("print format code") << "insert into gg_dj(dm) values ('%1')";
    }
    void uniqueKeysAreRefused() {
        QFETCH(QString, insert);
        ProgramFixture fixture;
        fixture.execute(insert.arg("K1"));
        QVERIFY_THROWS_EXCEPTION(sql::Error, fixture.execute(insert.arg("K1")));
        QVERIFY_THROWS_EXCEPTION(sql::Error, fixture.execute(insert.arg("k1")));  // case does not make a new key
    }

    void tooLongTextIsRefusedNamingTheColumn() {
        ProgramFixture fixture;
        const QString hundred(100, QChar(u'纱'));
        fixture.execute(QStringLiteral("insert into bm_sp(bm,mc) values ('A','%1')").arg(hundred));
        try {
            fixture.execute(QStringLiteral("insert into xsd_mx(id,spmc) values ('1','%1')").arg(hundred.left(51)));
            QFAIL("a 51-character line name was stored");
        } catch (const sql::Error& error) {
            QVERIFY2(error.message().contains("XSD_MX.SPMC"), qPrintable(error.message()));
        }
        QVERIFY_THROWS_EXCEPTION(sql::Error, fixture.execute("insert into xsd_zb(id) values ('20261211001000011')"));
        fixture.execute(QStringLiteral("insert into xsd_mx(id,spmc) values ('1','%1')").arg(hundred.left(50)));
    }

    void textComparesWithoutRegardToCase() {
        ProgramFixture fixture;
        QCOMPARE(fixture.scalar("select count(*) from BM_YG where DLMC='SA'").toInt(), 1);
    }

    void existingFileIsNeverOverwritten() {
        QTemporaryDir dir;
        const QString path = dir.filePath("data.mdb");
        shell::createAccountSet(path, false);
        {
            sql::Connection connection;
            connection.openFile(path);
            connection.execute("insert into bm_splb(bm,mc) values ('01','婚纱')");
        }
        QVERIFY_THROWS_EXCEPTION(sql::Error, shell::createAccountSet(path, false));
        sql::Connection connection;
        connection.openFile(path);
        QCOMPARE(connection.scalar("select mc from bm_splb").toString(), QStringLiteral("婚纱"));
    }

    void plainDatabaseIsNoAccountSet() {
        QTemporaryDir dir;
        sql::Connection connection;
        connection.openFile(dir.filePath("other.db"), true);
        connection.executeNative("create table XSD_ZB(ID text)");
        QVERIFY(!shell::isAccountSet(connection));
    }
};

QTEST_GUILESS_MAIN(TestAccountSet)
#include "test_accountset.moc"
