// Translation of the account-set dialect into SQLite, text in, text out.
#include "sql/Dialect.h"
#include "sql/Error.h"

#include <QtTest>

class TestDialect : public QObject {
    Q_OBJECT

private slots:
    void literals_data();
    void literals();
    void dayDifference_data();
    void dayDifference();
    void functionsAndOperators_data();
    void functionsAndOperators();
    void alterTable_data();
    void alterTable();
    void twoTableUpdate_data();
    void twoTableUpdate();
    void untouched_data();
    void untouched();
    void refused_data();
    void refused();
    void quotedDoublesSingleQuotes();
};

void TestDialect::literals_data() {
    QTest::addColumn<QString>("dialect");
    QTest::addColumn<QString>("sqlite");
    QTest::newRow("double quotes") << R"(select * from bm_sp where bm="01")" << "select * from bm_sp where bm='01'";
    QTest::newRow("doubled double quote inside") << R"(mc="a""b")" << R"(mc='a"b')";
    QTest::newRow("single quote inside double quotes") << R"(mc="o'brien")" << "mc='o''brien'";
    QTest::newRow("single quotes stay") << "DLMC='o''brien'" << "DLMC='o''brien'";
    QTest::newRow("double quote inside single quotes") << R"(mc='say "hi"')" << R"(mc='say "hi"')";
    QTest::newRow("empty text") << R"(bz="")" << "bz=''";
    QTest::newRow("date") << "rq between #2026-12-01# and #2026-12-11#"
                          << "rq between '2026-12-01' and '2026-12-11'";
    QTest::newRow("date with slashes, one digit") << "rq=#2026/12/1#" << "rq='2026-12-01'";
    QTest::newRow("date with dots") << "rq=#2026.12.11#" << "rq='2026-12-11'";
    QTest::newRow("date with time") << "rq<#2026-12-11 8:05#" << "rq<'2026-12-11 08:05:00'";
    QTest::newRow("hash inside text is text") << R"(bz="#1# & True")" << "bz='#1# & True'";
    QTest::newRow("chinese text") << R"(mc="婚纱")" << "mc='婚纱'";
}

void TestDialect::literals() {
    QFETCH(QString, dialect);
    QFETCH(QString, sqlite);
    QCOMPARE(sql::translate(dialect), QStringList{sqlite});
}

void TestDialect::dayDifference_data() {
    QTest::addColumn<QString>("dialect");
    QTest::addColumn<QString>("sqlite");
    QTest::newRow("reminder") << "zjrq-#2026-12-11# <=1.5"
                              << "(julianday(zjrq) - julianday('2026-12-11')) <=1.5";
    QTest::newRow("blanks around minus") << "zjrq - #2026-12-11#<=3"
                                         << "(julianday(zjrq) - julianday('2026-12-11'))<=3";
    QTest::newRow("qualified column") << "Z.ZJRQ-#2026-12-11#"
                                      << "(julianday(Z.ZJRQ) - julianday('2026-12-11'))";
    QTest::newRow("parenthesised") << "(ghrq)-#2026-12-11#"
                                   << "(julianday((ghrq)) - julianday('2026-12-11'))";
    QTest::newRow("function call") << "Date()-#2026-12-11#"
                                   << "(julianday(jet_date()) - julianday('2026-12-11'))";
    QTest::newRow("two dates") << "#2026-12-11#-#2026-12-01#"
                               << "(julianday('2026-12-11') - julianday('2026-12-01'))";
    QTest::newRow("after a keyword") << "where zjrq-#2026-12-11# <=3 and sh is null"
                                     << "where (julianday(zjrq) - julianday('2026-12-11')) <=3 and sh is null";
    QTest::newRow("number minus number untouched") << "kcsl=kcsl-1" << "kcsl=kcsl-1";
}

void TestDialect::dayDifference() {
    QFETCH(QString, dialect);
    QFETCH(QString, sqlite);
    QCOMPARE(sql::translate(dialect), QStringList{sqlite});
}

void TestDialect::functionsAndOperators_data() {
    QTest::addColumn<QString>("dialect");
    QTest::addColumn<QString>("sqlite");
    QTest::newRow("now and date") << "select Now(), DATE( )" << "select jet_now(), jet_date( )";
    QTest::newRow("date parts") << "select Year(rq), month(rq), DAY(rq)"
                                << "select jet_year(rq), jet_month(rq), jet_day(rq)";
    QTest::newRow("texts") << "select Len(mc), Mid(mc,2,1), Left(mc,1), Right (mc,1), UCase(mc), LCase(mc)"
                           << "select jet_len(mc), jet_mid(mc,2,1), jet_left(mc,1), jet_right (mc,1), "
                              "jet_ucase(mc), jet_lcase(mc)";
    QTest::newRow("iif and nz") << R"(select IIf(sh="T",1,0), Nz(ss,0))"
                                << "select jet_iif(sh='T',1,0), jet_nz(ss,0)";
    QTest::newRow("date with an argument is SQLite's") << "select date(rq) from xsd_zb"
                                                       << "select date(rq) from xsd_zb";
    QTest::newRow("names that are no call") << "select day, len from t left join u on t.a=u.a"
                                            << "select day, len from t left join u on t.a=u.a";
    QTest::newRow("qualified name before a paren") << "select t.left (1)" << "select t.left (1)";
    QTest::newRow("ampersand joins") << R"(select "a" & "b")" << "select 'a' || 'b'";
    QTest::newRow("true and false") << "where jc<>True or jd=false" << "where jc<>1 or jd=0";
    QTest::newRow("parameters stay") << " and Z.RQ>=:rq1 and Z.RQ<=:rq2 " << " and Z.RQ>=:rq1 and Z.RQ<=:rq2 ";
}

void TestDialect::functionsAndOperators() {
    QFETCH(QString, dialect);
    QFETCH(QString, sqlite);
    QCOMPARE(sql::translate(dialect), QStringList{sqlite});
}

void TestDialect::alterTable_data() {
    QTest::addColumn<QString>("dialect");
    QTest::addColumn<QStringList>("sqlite");
    QTest::newRow("one varchar column gets its width check")
        << "alter table BM_SP add TP varchar(255)"
        << QStringList{"ALTER TABLE BM_SP ADD COLUMN TP varchar(255) CONSTRAINT \"字段 BM_SP.TP 的内容超过 255 个字符\" "
                       "CHECK (length(TP) <= 255)"};
    QTest::newRow("two columns")
        << "alter table BM_SP add KCSL numeric,JCSL numeric"
        << QStringList{"ALTER TABLE BM_SP ADD COLUMN KCSL numeric", "ALTER TABLE BM_SP ADD COLUMN JCSL numeric"};
    QTest::newRow("four columns")
        << "alter table XSD_MX add KCSL numeric,ZZJ numeric,TS numeric,SL numeric"
        << QStringList{"ALTER TABLE XSD_MX ADD COLUMN KCSL numeric", "ALTER TABLE XSD_MX ADD COLUMN ZZJ numeric",
                       "ALTER TABLE XSD_MX ADD COLUMN TS numeric", "ALTER TABLE XSD_MX ADD COLUMN SL numeric"};
    QTest::newRow("column keyword, case, blanks, comma inside the type")
        << "ALTER  TABLE bm_sp\nADD COLUMN a decimal(18,2) ,  b text(10);"
        << QStringList{"ALTER TABLE bm_sp ADD COLUMN a decimal(18,2)",
                       "ALTER TABLE bm_sp ADD COLUMN b text(10) CONSTRAINT \"字段 BM_SP.B 的内容超过 10 个字符\" "
                       "CHECK (length(B) <= 10)"};
    QTest::newRow("drop column passes") << "ALTER TABLE XSD_MX DROP COLUMN SL"
                                        << QStringList{"ALTER TABLE XSD_MX DROP COLUMN SL"};
}

void TestDialect::alterTable() {
    QFETCH(QString, dialect);
    QFETCH(QStringList, sqlite);
    QCOMPARE(sql::translate(dialect), sqlite);
}

void TestDialect::twoTableUpdate_data() {
    QTest::addColumn<QString>("dialect");
    QTest::addColumn<QString>("sqlite");
    const QString out = "UPDATE bm_sp AS b SET kcsl=b.kcsl-x.sum_sl, jcsl=b.jcsl+x.sum_sl "
                        "FROM (SELECT x.spbm AS spbm, sum(x.sl) AS sum_sl FROM xsd_mx AS x "
                        "WHERE x.id='2026121100100001' GROUP BY x.spbm) AS x WHERE b.bm=x.spbm";
    const QString in = "UPDATE bm_sp AS b SET kcsl=b.kcsl+x.sum_sl, jcsl=b.jcsl-x.sum_sl "
                       "FROM (SELECT x.spbm AS spbm, sum(x.sl) AS sum_sl FROM xsd_mx AS x "
                       "WHERE x.id='2026121100100001' GROUP BY x.spbm) AS x WHERE b.bm=x.spbm";
    QTest::newRow("confirm rental")
        << R"(update xsd_mx x,bm_sp b set b.kcsl=b.kcsl-x.sl, b.jcsl=b.jcsl+x.sl where b.bm=x.spbm and x.id="2026121100100001")"
        << out;
    QTest::newRow("cancel rental")
        << R"(update xsd_mx x,bm_sp b set b.kcsl=b.kcsl+x.sl, b.jcsl=b.jcsl-x.sl  where b.bm=x.spbm and x.id="2026121100100001")"
        << in;
    QTest::newRow("confirm return")
        << R"(update xsd_mx x,bm_sp b set  b.kcsl=b.kcsl+x.sl, b.jcsl=b.jcsl-x.sl  where b.bm=x.spbm and x.id="2026121100100001")"
        << in;
    QTest::newRow("cancel return")
        << R"(update xsd_mx x,bm_sp b set  b.kcsl=b.kcsl-x.sl, b.jcsl=b.jcsl+x.sl  where b.bm=x.spbm and x.id="2026121100100001")"
        << out;
    QTest::newRow("no aliases, upper case")
        << R"(UPDATE XSD_MX, BM_SP SET BM_SP.KCSL=BM_SP.KCSL-XSD_MX.SL WHERE BM_SP.BM=XSD_MX.SPBM AND XSD_MX.ID="1")"
        << "UPDATE BM_SP AS BM_SP SET KCSL=BM_SP.KCSL-XSD_MX.sum_sl FROM (SELECT XSD_MX.spbm AS spbm, "
           "sum(XSD_MX.sl) AS sum_sl FROM XSD_MX AS XSD_MX WHERE XSD_MX.ID='1' GROUP BY XSD_MX.spbm) AS XSD_MX "
           "WHERE BM_SP.BM=XSD_MX.SPBM";
    QTest::newRow("target first, between, condition on the target")
        << "update bm_sp as b, xsd_mx x set b.jcsl=b.jcsl+x.sl*2\nwhere x.spbm=b.bm and x.rq between "
           "#2026-12-01# and #2026-12-11# and b.lb=\"01\""
        << "UPDATE bm_sp AS b SET jcsl=b.jcsl+x.sum_sl*2 FROM (SELECT x.spbm AS spbm, sum(x.sl) AS sum_sl "
           "FROM xsd_mx AS x WHERE x.rq between '2026-12-01' and '2026-12-11' GROUP BY x.spbm) AS x "
           "WHERE x.spbm=b.bm AND b.lb='01'";
}

void TestDialect::twoTableUpdate() {
    QFETCH(QString, dialect);
    QFETCH(QString, sqlite);
    QCOMPARE(sql::translate(dialect), QStringList{sqlite});
}

void TestDialect::untouched_data() {
    QTest::addColumn<QString>("statement");
    const char* const statements[] = {
        "select count(id) as iid from xsd_zb ",
        "select * from xsd_zb where sh='T' and (qx='F' or qx is null)\norder by rq asc, id asc",
        "select M.SPBM,M.SPMC,M.DW,sum(M.ZZJ) as T_JE from XSD_ZB Z,XSD_MX M\nwhere Z.ID=M.ID and Z.SH='T'\n"
        " and Z.RQ>=:rq1 and Z.RQ<=:rq2 \ngroup by M.SPBM,M.SPMC,M.DW",
        "select * from xsd_mx where id in (select ID from xsd_zb where rq between '2026-12-01' and '2026-12-11'\n)",
        "select count(BM) as cts from bm_sp where ( jp like '%x%' or bm like 'x' or txm like '%x%' )",
        "update BM_SP set kcsl=1-1 where kcsl is null",
        "update BM_YG set MM='1' where BM='001'",
        "delete from xsd_zb",
        "select BM,MC from BM_SPLB order by BM",
        "select * from bm_sp  order by bm asc",
        "select 1+1",
        "select [BM] from [BM_SP]",
        "PRAGMA journal_mode",
    };
    for (const char* statement : statements) {
        const QString text = QString::fromUtf8(statement);
        QTest::newRow(qPrintable(text.section('\n', 0, 0))) << text;
    }
}

void TestDialect::untouched() {
    QFETCH(QString, statement);
    QCOMPARE(sql::translate(statement), QStringList{statement});
}

void TestDialect::refused_data() {
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("messagePart");
    QTest::newRow("impossible date") << "rq=#2026-13-01#" << "#2026-13-01#";
    QTest::newRow("no date at all") << "rq=#abc#" << "#abc#";
    QTest::newRow("open date") << "rq=#2026-12-01" << "#2026-12-01";
    QTest::newRow("open text") << R"(mc="abc)" << "引号";
    QTest::newRow("update joined by or") << R"(update a x, b y set y.c=x.c where y.k=x.k or x.id="1")" << "and";
    QTest::newRow("update without join") << R"(update a x, b y set y.c=x.c where x.id="1")" << "连接条件";
}

void TestDialect::refused() {
    QFETCH(QString, statement);
    QFETCH(QString, messagePart);
    try {
        sql::translate(statement);
        QFAIL("the statement was translated");
    } catch (const sql::Error& error) {
        QVERIFY2(error.message().contains(messagePart), qPrintable(error.message()));
    }
}

void TestDialect::quotedDoublesSingleQuotes() {
    QCOMPARE(sql::quoted("it's"), QString("'it''s'"));
    QCOMPARE(sql::quoted(""), QString("''"));
    QCOMPARE(sql::quoted(R"(a"b)"), QString(R"('a"b')"));
}

QTEST_GUILESS_MAIN(TestDialect)
#include "test_dialect.moc"
