// Every statement the windows send, with their values filled in, run on a small
// account set: the rows they return or the change they make.
#include "shell/AccountSet.h"
#include "sql/Connection.h"
#include "sql/Dialect.h"
#include "sql/Error.h"
#include "sql/Query.h"
#include "text/DateText.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kOrderA = "2026121100100001";  // rented, due back 2026-12-11, three lines
const QString kOrderB = "2026121100100002";  // reserved, pick-up 2026-12-14
const QString kOrderC = "2026121000200001";  // reserved (rental flag null), pick-up 2026-12-15
const QString kOrderD = "2026120900100001";  // rented and returned
const QString kOrderE = "2026121200100001";  // rented, due back 2026-12-12
const QString kOrderF = "2026111100100001";  // reserved, pick-up a month ago

// Orders around the reference day 2026-12-11 and the lines, products and people they use.
const char* const kFixtureRows[] = {
    "insert into BM_YG(BM,MC,DLMC,MM) values ('002','张三','o''brien','1')",
    "insert into BM_SPLB(BM,MC) values ('01','婚纱'), ('0101','长婚纱'), ('02','相机')",
    "insert into BM_SP(BM,MC,TXM,DW,JP,LB,KCSL,JCSL) values"
    " ('01','婚纱A','TX01','件','HSA','0101',10,0),"
    " ('02','相机','CAM','台','XJ','02',5,0),"
    " ('03','婚纱B','TX03','件','HSB','01',3,1)",
    "insert into BM_JP(MC,JP) values ('鑫','X')",
    "insert into XSD_ZB(ID,RQ,KHMC,YYSH,SH,QX,ZJRQ,GHRQ,YYSK,YYSK_RQ,SS,SS_RQ,QXSK,QXSK_RQ,YSYJ) values"
    " ('2026121100100001',#2026-12-11#,'甲','T','T','F',#2026-12-10#,#2026-12-11#,100,#2026-12-10#,300,#2026-12-11#,null,null,300),"
    " ('2026121100100002',#2026-12-11#,'乙','T','F',null,#2026-12-14#,#2026-12-16#,50,#2026-12-11#,null,null,null,null,80),"
    " ('2026121000200001',#2026-12-10#,'丙','T',null,null,#2026-12-15#,#2026-12-16#,null,null,null,null,null,null,null),"
    " ('2026120900100001',#2026-12-09#,'丁',null,'T','T',#2026-12-09#,#2026-12-10#,null,null,250.5,#2026-12-09#,-200,#2026-12-10#,200),"
    " ('2026121200100001',#2026-12-12#,'戊',null,'T',null,#2026-12-12#,#2026-12-12#,null,null,null,null,null,null,60),"
    " ('2026111100100001',#2026-11-11#,'己','T','F',null,#2026-11-11#,#2026-11-12#,20,#2026-11-11#,null,null,null,null,null)",
    "insert into XSD_MX(ID,SPBM,SPMC,DW,SL,ZZJ) values"
    " ('2026121100100001','01','婚纱A','件',2,30),"
    " ('2026121100100001','01','婚纱A','件',3,20),"
    " ('2026121100100001','02','相机','台',1,50),"
    " ('2026121100100002','03','婚纱B','件',1,10),"
    " ('2026120900100001','01','婚纱A','件',1,50),"
    " ('2026121200100001','02','相机','台',1,25)",
};

// Values of one column over all rows, as text.
QStringList columnTexts(sql::Connection& connection, const QString& statement, const QString& column,
                        const sql::Params& params = {}) {
    sql::Query query(connection, statement, params);
    const int index = query.indexOf(column);
    if (index < 0)
        throw sql::Error("no column " + column);
    QStringList texts;
    while (query.next())
        texts << query.value(index).toString();
    return texts;
}

QStringList columnNames(sql::Connection& connection, const QString& table) {
    return columnTexts(connection, QString("select name from pragma_table_info('%1')").arg(table), "name");
}

struct Stock {
    double kcsl;
    double jcsl;
};

Stock stockOf(sql::Connection& connection, const QString& code) {
    sql::Query query(connection, QString("select kcsl, jcsl from bm_sp where bm=%1").arg(sql::quoted(code)));
    if (!query.next())
        throw sql::Error("no product " + code);
    return {query.value(0).toDouble(), query.value(1).toDouble()};
}

} // namespace

class TestStatements : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void queries_data();
    void queries();
    void stockStatementsMoveEveryLine_data();
    void stockStatementsMoveEveryLine();
    void stockStatementOfOtherOrderChangesNothing();
    void reservationReminder_data();
    void reservationReminder();
    void orderNumberStatements();
    void summarySums_data();
    void summarySums();
    void ranking_data();
    void ranking();
    void passwordUpdate_data();
    void passwordUpdate();
    void initialisationDeletes();
    void sqlToolStatements();
    void desktopFunctions_data();
    void desktopFunctions();
    void nowAndDateAreLocalTexts();
    void unparsableDateRefusedWithItsText();
    void tooLongTextRefusedWithEngineMessage();
    void failingMultiColumnAlterAddsNothing();
    void upgradeListOnOlderLayout();

private:
    QTemporaryDir dir_;
    sql::Connection connection_;
};

void TestStatements::init() {
    QVERIFY(dir_.isValid());
    const QString path = dir_.filePath(QString("%1.mdb").arg(QTest::currentTestFunction()));
    QFile::remove(path);
    shell::createAccountSet(path, false);
    connection_.openFile(path);
    for (const char* statement : kFixtureRows)
        connection_.execute(QString::fromUtf8(statement));
}

void TestStatements::cleanup() {
    connection_.close();
}

void TestStatements::queries_data() {
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QStringList>("expected");

    const QString orderRange = "select * from xsd_zb where rq between #%1# and #%2#";
    const QString orderTail = "\n order by rq asc, id asc";
    QTest::newRow("orders of one day, both ends included")
        << orderRange.arg("2026-12-11", "2026-12-11") + orderTail << "ID" << QStringList{kOrderA, kOrderB};
    QTest::newRow("orders of three days")
        << orderRange.arg("2026-12-09", "2026-12-11") + orderTail << "id"
        << QStringList{kOrderD, kOrderC, kOrderA, kOrderB};
    QTest::newRow("orders, first date after the last")
        << orderRange.arg("2026-12-12", "2026-12-11") + orderTail << "ID" << QStringList{};
    QTest::newRow("orders reserved, not rented")
        << orderRange.arg("2026-11-01", "2026-12-31") + "\nand yysh=\"T\"\nand (sh=\"F\" or sh is null)" + orderTail
        << "ID" << QStringList{kOrderF, kOrderC, kOrderB};
    QTest::newRow("orders not reserved")
        << orderRange.arg("2026-11-01", "2026-12-31") + "\nand (yysh=\"F\" or yysh is null)" + orderTail << "ID"
        << QStringList{kOrderD, kOrderE};
    QTest::newRow("orders rented, not returned")
        << orderRange.arg("2026-11-01", "2026-12-31") + "\nand sh=\"T\"\nand (qx=\"F\" or qx is null)" + orderTail
        << "ID" << QStringList{kOrderA, kOrderE};
    QTest::newRow("orders returned") << orderRange.arg("2026-11-01", "2026-12-31") + "\nand qx=\"T\"" + orderTail
                                     << "KHMC" << QStringList{"丁"};

    QTest::newRow("lines of the day's rented orders")
        << "select * from xsd_mx where id in (select ID from xsd_zb where rq between #2026-12-11# and #2026-12-11#"
           "\nand sh=\"T\"\n)"
        << "ZZJ" << QStringList{"30", "20", "50"};
    QTest::newRow("lines of reserved orders")
        << "select * from xsd_mx where id in (select ID from xsd_zb where rq between #2026-11-01# and #2026-12-31#"
           "\nand yysh=\"T\"\n)"
        << "SPBM" << QStringList{"01", "01", "02", "03"};

    QTest::newRow("due back by the day")
        << "select * from xsd_zb where sh=\"T\" and (qx=\"F\" or qx is null) and ghrq<=#2026-12-11# \n"
           "order by rq asc, id asc"
        << "ID" << QStringList{kOrderA};
    QTest::newRow("due back within a week")
        << "select * from xsd_zb where sh=\"T\" and (qx=\"F\" or qx is null) and ghrq<=#2026-12-18# \n"
           "order by rq asc, id asc"
        << "ID" << QStringList{kOrderA, kOrderE};

    QTest::newRow("login name with an embedded quote") << "select * from BM_YG where DLMC='o''brien'" << "BM"
                                                       << QStringList{"002"};
    QTest::newRow("operator by stored login name") << "select * from bm_yg where dlmc=\"sa\"" << "MC"
                                                   << QStringList{"系统管理员"};
    QTest::newRow("employees in code order") << "select * from bm_yg  order by bm asc" << "BM"
                                             << QStringList{"001", "002"};
    QTest::newRow("old password") << "select MM from BM_YG where BM='001'" << "MM" << QStringList{"592"};
    QTest::newRow("pinyin of one character") << "select jp from BM_JP where mc='鑫'" << "jp" << QStringList{"X"};

    QTest::newRow("quick selection count by pinyin")
        << "select count(BM) as cts from bm_sp where ( jp like \"%hs%\" or bm like \"hs\" or txm like \"%hs%\" )"
        << "cts" << QStringList{"2"};
    QTest::newRow("quick selection count by code")
        << "select count(BM) as cts from bm_sp where ( jp like \"%02%\" or bm like \"02\" or txm like \"%02%\" )"
        << "cts" << QStringList{"1"};
    QTest::newRow("quick selection row by barcode")
        << "select * from bm_sp where ( jp like \"%CAM%\" or bm like \"CAM\" or txm like \"%CAM%\")" << "MC"
        << QStringList{"相机"};
    QTest::newRow("product by code") << "select * from bm_sp where ( bm =\"03\")" << "MC" << QStringList{"婚纱B"};
    QTest::newRow("product by quoted code") << "select * from bm_sp where bm=" + sql::quoted("02") << "DW"
                                            << QStringList{"台"};
    QTest::newRow("categories in code order") << "select BM,MC from BM_SPLB order by BM" << "BM"
                                              << QStringList{"01", "0101", "02"};
    QTest::newRow("products of a category and below")
        << "select * from bm_sp where  (LB like '01%') order by BM" << "BM" << QStringList{"01", "03"};
    QTest::newRow("products of the root category") << "select * from bm_sp\nwhere LB like '%%' order by BM" << "BM"
                                                    << QStringList{"01", "02", "03"};
    QTest::newRow("products in code order") << "select * from bm_sp  order by bm asc" << "BM"
                                            << QStringList{"01", "02", "03"};
    QTest::newRow("lines of a product") << "select count(*) from XSD_MX where SPBM='01'" << "count(*)"
                                        << QStringList{"3"};
    QTest::newRow("lines of an order") << "select * from xsd_mx where id='" + kOrderB + "'" << "SPMC"
                                       << QStringList{"婚纱B"};
    QTest::newRow("header of an order") << "select * from xsd_zb where id='" + kOrderD + "'" << "QXSK"
                                        << QStringList{"-200"};
    QTest::newRow("print format, single quotes") << "select * from gg_dj where dm='bb_xsd'" << "dz"
                                                 << QStringList{"bb_xsd.frf"};
    QTest::newRow("print format, double quotes") << "select * from gg_dj where dm=\"bb_xsdmx\"" << "DZ"
                                                 << QStringList{"bb_xsdmx.frf"};
    QTest::newRow("company row") << "select * from bm_GSXX" << "GSMC" << QStringList{"禾岚影楼"};
}

void TestStatements::queries() {
    QFETCH(QString, statement);
    QFETCH(QString, column);
    QFETCH(QStringList, expected);
    QCOMPARE(columnTexts(connection_, statement, column), expected);
}

void TestStatements::stockStatementsMoveEveryLine_data() {
    QTest::addColumn<QString>("statement");
    QTest::addColumn<int>("direction");  // -1: out to the customer, +1: back on the shelf
    QTest::newRow("confirm rental")
        << "update xsd_mx x,bm_sp b set b.kcsl=b.kcsl-x.sl, b.jcsl=b.jcsl+x.sl where b.bm=x.spbm and x.id=\"" << -1;
    QTest::newRow("cancel rental")
        << "update xsd_mx x,bm_sp b set b.kcsl=b.kcsl+x.sl, b.jcsl=b.jcsl-x.sl  where b.bm=x.spbm and x.id=\"" << 1;
    QTest::newRow("confirm return")
        << "update xsd_mx x,bm_sp b set  b.kcsl=b.kcsl+x.sl, b.jcsl=b.jcsl-x.sl  where b.bm=x.spbm and x.id=\"" << 1;
    QTest::newRow("cancel return")
        << "update xsd_mx x,bm_sp b set  b.kcsl=b.kcsl-x.sl, b.jcsl=b.jcsl+x.sl  where b.bm=x.spbm and x.id=\"" << -1;
}

void TestStatements::stockStatementsMoveEveryLine() {
    QFETCH(QString, statement);
    QFETCH(int, direction);
    // Order A has two lines of product 01 (2 and 3) and one of product 02 (1).
    QCOMPARE(connection_.execute(statement + kOrderA + "\""), 2);
    const Stock first = stockOf(connection_, "01");
    QCOMPARE(first.kcsl, 10 + direction * 5.0);
    QCOMPARE(first.jcsl, 0 - direction * 5.0);
    const Stock second = stockOf(connection_, "02");
    QCOMPARE(second.kcsl, 5 + direction * 1.0);
    QCOMPARE(second.jcsl, 0 - direction * 1.0);
    const Stock untouched = stockOf(connection_, "03");
    QCOMPARE(untouched.kcsl, 3.0);
    QCOMPARE(untouched.jcsl, 1.0);
}

void TestStatements::stockStatementOfOtherOrderChangesNothing() {
    connection_.execute(R"(insert into XSD_MX(ID,SPBM,SL) values ("2026121100100009","99",4))");
    QCOMPARE(connection_.execute("update xsd_mx x,bm_sp b set b.kcsl=b.kcsl-x.sl, b.jcsl=b.jcsl+x.sl "
                                 "where b.bm=x.spbm and x.id=\"2026121100100009\""),
             0);
    QCOMPARE(stockOf(connection_, "01").kcsl, 10.0);
}

void TestStatements::reservationReminder_data() {
    QTest::addColumn<QString>("days");
    QTest::addColumn<QStringList>("expected");
    // From 2026-12-11: B is picked up in 3 days, C in 4, F was due a month ago.
    QTest::newRow("3 days") << "3" << QStringList{kOrderF, kOrderB};
    QTest::newRow("4 days") << "4" << QStringList{kOrderF, kOrderC, kOrderB};
    QTest::newRow("1.5 days") << "1.5" << QStringList{kOrderF};
    QTest::newRow("0 days") << "0" << QStringList{kOrderF};
    QTest::newRow("2.99 days") << "2.99" << QStringList{kOrderF};
}

void TestStatements::reservationReminder() {
    QFETCH(QString, days);
    QFETCH(QStringList, expected);
    const QString statement = "select * from xsd_zb where yysh=\"T\" and (sh=\"F\" or sh is null) and zjrq-#"
                              + QString("2026-12-11") + "# <=" + days + "\norder by rq asc, id asc";
    QCOMPARE(columnTexts(connection_, statement, "ID"), expected);
}

void TestStatements::orderNumberStatements() {
    sql::Query count(connection_, "select count(id) as iid from xsd_zb ");
    QVERIFY(count.next());
    QCOMPARE(count.value(count.indexOf("iid")).toInt(), 6);

    QCOMPARE(connection_.scalar("select max(id) as tid From xsd_zb where id like \"20261211001%\""),
             QVariant(kOrderB));
    QVERIFY(connection_.scalar("select max(id) as tid From xsd_zb where id like \"20261211003%\"").isNull());

    connection_.execute("delete from xsd_zb");
    QCOMPARE(connection_.scalar("select count(id) as iid from xsd_zb ").toInt(), 0);
}

void TestStatements::summarySums_data() {
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QVariant>("thj");
    const QString december = "between #2026-12-01# and #2026-12-31#";
    const QString january = "between #2027-01-01# and #2027-01-31#";
    const QString sums[] = {
        "select sum(yysk) as thj from xsd_zb where yysh=\"T\" and yysk_rq ",
        "select sum(ss) as thj from xsd_zb where sh=\"T\" and ss_rq ",
        "select sum(qxsk) as thj from xsd_zb where qx=\"T\" and qxsk_rq ",
        "select sum(ysyj) as thj from xsd_zb where (yysh=\"T\" or sh=\"T\") and rq ",
        "select sum(ysyj) as thj from xsd_zb where qx=\"T\" and rq ",
    };
    const QVariant inDecember[] = {150.0, 550.5, -200.0, 640.0, 200.0};
    for (int i = 0; i < 5; ++i) {
        QTest::addRow("sum %d, december", i + 1) << sums[i] + december << inDecember[i];
        QTest::addRow("sum %d, no orders", i + 1) << sums[i] + january << QVariant();
    }
    QTest::newRow("receipts on the last day count") << sums[0] + "between #2026-12-01# and #2026-12-10#"
                                                    << QVariant(100.0);
}

void TestStatements::summarySums() {
    QFETCH(QString, statement);
    QFETCH(QVariant, thj);
    sql::Query query(connection_, statement);
    QCOMPARE(query.columns().at(0).name, QString("thj"));
    QVERIFY(query.next());
    const QVariant value = query.value(0);
    QCOMPARE(value.isNull(), thj.isNull());
    if (!thj.isNull())
        QCOMPARE(value.toDouble(), thj.toDouble());
}

void TestStatements::ranking_data() {
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QStringList>("expected");  // code=amount, in code order
    QTest::newRow("december") << "2026-12-01" << "2026-12-31" << QStringList{"01=100", "02=75"};
    QTest::newRow("other date forms") << "2026/12/1" << "2026.12.31" << QStringList{"01=100", "02=75"};
    QTest::newRow("two days") << "2026-12-10" << "2026-12-11" << QStringList{"01=50", "02=50"};
    QTest::newRow("first after last") << "2026-12-12" << "2026-12-01" << QStringList{};
}

void TestStatements::ranking() {
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(QStringList, expected);
    const QString statement = "select M.SPBM,M.SPMC,M.DW,sum(M.ZZJ) as T_JE from XSD_ZB Z,XSD_MX M\n"
                              "where Z.ID=M.ID and Z.SH='T'\n"
                              " and Z.RQ>=:rq1 and Z.RQ<=:rq2 \n"
                              "group by M.SPBM,M.SPMC,M.DW";
    // The window binds the dates of its two date pickers.
    sql::Query query(connection_, statement, {{"rq1", *text::parseDate(first)}, {"rq2", *text::parseDate(last)}});
    QCOMPARE(query.columns().at(0).declaredType, QString("text(50)"));
    QStringList rows;
    while (query.next())
        rows << query.value(0).toString() + "=" + QString::number(query.value(query.indexOf("T_JE")).toDouble());
    rows.sort();
    QCOMPARE(rows, expected);
}

void TestStatements::passwordUpdate_data() {
    QTest::addColumn<QString>("password");
    QTest::newRow("plain") << "abc123";
    QTest::newRow("with a single quote") << "a'b";
    QTest::newRow("with a double quote") << "a\"b";
}

void TestStatements::passwordUpdate() {
    QFETCH(QString, password);
    QCOMPARE(connection_.execute("update BM_YG set MM=" + sql::quoted(password) + " where BM=" + sql::quoted("001")), 1);
    QCOMPARE(connection_.scalar("select MM from BM_YG where BM='001'").toString(), password);
    QCOMPARE(connection_.scalar("select MM from BM_YG where BM='002'").toString(), QString("1"));
}

void TestStatements::initialisationDeletes() {
    connection_.execute("delete from xsd_zb");
    connection_.execute("delete from xsd_mx");
    QCOMPARE(connection_.scalar("select count(*) from xsd_zb").toInt(), 0);
    QCOMPARE(connection_.scalar("select count(*) from xsd_mx").toInt(), 0);
    QCOMPARE(stockOf(connection_, "03").jcsl, 1.0);

    connection_.execute("delete from BM_SP");
    connection_.execute("delete from BM_SPLB");
    QCOMPARE(connection_.scalar("select count(*) from bm_sp").toInt(), 0);
    QCOMPARE(connection_.scalar("select count(*) from bm_splb").toInt(), 0);
    QCOMPARE(connection_.scalar("select count(*) from bm_yg").toInt(), 2);
    QCOMPARE(connection_.scalar("select count(*) from gg_dj").toInt(), 3);
    QCOMPARE(connection_.scalar("select count(*) from bm_gsxx").toInt(), 1);
}

void TestStatements::sqlToolStatements() {
    sql::Query sum(connection_, "select 1+1");
    QVERIFY(sum.next());
    QCOMPARE(sum.value(0), QVariant(qlonglong(2)));
    QCOMPARE(sum.columns().at(0).type, sql::FieldType::Integer);
    QCOMPARE(connection_.scalar("select count(*) from bm_sp"), QVariant(qlonglong(3)));
    // A query run as a command changes nothing and does not fail.
    QCOMPARE(connection_.execute("select * from bm_sp where mc like '%DELETE%'"), 0);
    QCOMPARE(connection_.scalar("select count(*) from bm_sp").toInt(), 3);
    QVERIFY_THROWS_EXCEPTION(sql::Error, connection_.scalar("select create table t (a int)"));
}

void TestStatements::desktopFunctions_data() {
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QVariant>("value");
    QTest::newRow("Year") << "Year(#2026-12-11#)" << QVariant(qlonglong(2026));
    QTest::newRow("Month") << "Month(#2026-12-11#)" << QVariant(qlonglong(12));
    QTest::newRow("Day of a column") << "Day(rq) from xsd_zb where id=\"" + kOrderD + "\"" << QVariant(qlonglong(9));
    QTest::newRow("Year of null") << "Year(null)" << QVariant();
    QTest::newRow("Len") << "Len(\"婚纱\")" << QVariant(qlonglong(2));
    QTest::newRow("Mid with length") << "Mid(\"abcdef\",2,3)" << QVariant("bcd");
    QTest::newRow("Mid to the end") << "Mid(\"婚纱摄影\",3)" << QVariant("摄影");
    QTest::newRow("Mid past the end") << "Mid(\"ab\",5,2)" << QVariant("");
    QTest::newRow("Left") << "Left(\"abc\",2)" << QVariant("ab");
    QTest::newRow("Right") << "Right(\"婚纱摄影\",2)" << QVariant("摄影");
    QTest::newRow("UCase") << "UCase(\"aBc\")" << QVariant("ABC");
    QTest::newRow("LCase") << "LCase(\"AbC\")" << QVariant("abc");
    QTest::newRow("IIf true") << "IIf(2>1,\"y\",\"n\")" << QVariant("y");
    QTest::newRow("IIf false") << "IIf(1>2,\"y\",\"n\")" << QVariant("n");
    QTest::newRow("IIf null") << "IIf(null,1,0)" << QVariant(qlonglong(0));
    QTest::newRow("Nz of null with default") << "Nz(null,5)" << QVariant(qlonglong(5));
    QTest::newRow("Nz of null") << "Nz(null)" << QVariant("");
    QTest::newRow("Nz of a value") << "Nz(3,5)" << QVariant(qlonglong(3));
    QTest::newRow("ampersand") << "\"a\" & \"b\"" << QVariant("ab");
    QTest::newRow("True") << "True" << QVariant(qlonglong(1));
    QTest::newRow("days between dates") << "#2026-12-11# - #2026-12-01#" << QVariant(10.0);
    QTest::newRow("days of a column") << "zjrq - #2026-12-11# from xsd_zb where id=\"" + kOrderB + "\""
                                      << QVariant(3.0);
}

void TestStatements::desktopFunctions() {
    QFETCH(QString, expression);
    QFETCH(QVariant, value);
    QCOMPARE(connection_.scalar("select " + expression), value);
}

void TestStatements::nowAndDateAreLocalTexts() {
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    const QString now = connection_.scalar("select Now()").toString();
    const QString today = connection_.scalar("select Date()").toString();
    const QDateTime after = QDateTime::currentDateTime().addSecs(1);
    const auto parsedNow = text::parseDateTime(now);
    QVERIFY2(parsedNow && now.size() == 19, qPrintable(now));
    QVERIFY(*parsedNow >= before.addMSecs(-before.time().msec()) && *parsedNow <= after);
    QVERIFY(today == text::shortDateText(before.date()) || today == text::shortDateText(after.date()));
}

void TestStatements::unparsableDateRefusedWithItsText() {
    try {
        connection_.scalar("select * from xsd_zb where rq between #2026-02-30# and #2026-12-31#");
        QFAIL("an impossible date was accepted");
    } catch (const sql::Error& error) {
        QVERIFY2(error.message().contains("#2026-02-30#"), qPrintable(error.message()));
    }
}

void TestStatements::tooLongTextRefusedWithEngineMessage() {
    try {
        connection_.execute(R"(insert into xsd_zb(id) values ("20261211001000011"))");
        QFAIL("a 17-character order number was stored");
    } catch (const sql::Error& error) {
        QVERIFY2(error.message().contains("字段 XSD_ZB.ID 的内容超过 16 个字符"), qPrintable(error.message()));
    }
    QCOMPARE(connection_.execute(R"(insert into xsd_zb(id) values ("2026121100100003"))"), 1);
    QVERIFY_THROWS_EXCEPTION(sql::Error, connection_.execute("update BM_SP set MC=\"" + QString(101, u'长') + "\""));
}

void TestStatements::failingMultiColumnAlterAddsNothing() {
    // KCSL exists already: the second column fails, so the first is not added either.
    QVERIFY_THROWS_EXCEPTION(sql::Error, connection_.execute("alter table BM_SP add NEWA numeric,KCSL numeric"));
    QVERIFY(!columnNames(connection_, "BM_SP").contains("NEWA"));
    QVERIFY(!connection_.inTransaction());
    connection_.execute("alter table BM_SP add NEWA numeric,NEWB text(5)");
    QVERIFY(columnNames(connection_, "BM_SP").contains("NEWB"));
    QVERIFY_THROWS_EXCEPTION(sql::Error, connection_.execute("update BM_SP set NEWB=\"123456\""));
}

void TestStatements::upgradeListOnOlderLayout() {
    const QString path = dir_.filePath("older.mdb");
    QFile::remove(path);
    sql::Connection older;
    older.openFile(path, true);
    older.executeNative(
        "CREATE TABLE BM_SP (BM text(50), MC text(100), TXM text(50), DW text(100), CBJ decimal(18,2),"
        " YJ decimal(18,2), ZJ decimal(18,2), JP text(50), LB text(50));"
        "CREATE TABLE XSD_MX (ID text(16), SPBM text(50), SPMC text(50), TXM text(50), DW text(50),"
        " CBJ decimal(18,2), SL decimal(18,2), YJ decimal(18,2), ZJ decimal(18,2), BZ text(50));"
        "CREATE INDEX XSD_MX_SPBM ON XSD_MX(SPBM);"
        "INSERT INTO BM_SP(BM,MC) VALUES ('01','婚纱'),('02','相机');"
        "INSERT INTO XSD_MX(ID,SPBM,SL) VALUES ('2026121100100001','01',2);");

    const QStringList upgrade = {
        "alter table BM_SP add TP varchar(255)",
        "",
        "ALTER TABLE XSD_MX DROP COLUMN SL",
        "alter table BM_SP add KCSL numeric,JCSL numeric",
        "alter table XSD_MX add KCSL numeric,ZZJ numeric,TS numeric,SL numeric",
        "update BM_SP set kcsl=1-1 where kcsl is null",
        "update BM_SP set jcsl=1-1 where jcsl is null",
    };
    for (const QString& statement : upgrade) {
        if (!statement.isEmpty())
            older.execute(statement);
    }

    QCOMPARE(columnNames(older, "BM_SP"),
             QStringList({"BM", "MC", "TXM", "DW", "CBJ", "YJ", "ZJ", "JP", "LB", "TP", "KCSL", "JCSL"}));
    QCOMPARE(columnNames(older, "XSD_MX"),
             QStringList({"ID", "SPBM", "SPMC", "TXM", "DW", "CBJ", "YJ", "ZJ", "BZ", "KCSL", "ZZJ", "TS", "SL"}));
    sql::Query types(older, "select TP, KCSL, JCSL from BM_SP order by BM");
    QCOMPARE(types.columns().at(0).declaredType, QString("varchar(255)"));
    QCOMPARE(types.columns().at(0).width, 255);
    QCOMPARE(types.columns().at(1).type, sql::FieldType::Decimal);
    int products = 0;
    while (types.next()) {
        ++products;
        QVERIFY(types.value(0).isNull());
        QCOMPARE(types.value(1), QVariant(qlonglong(0)));
        QCOMPARE(types.value(2), QVariant(qlonglong(0)));
    }
    QCOMPARE(products, 2);
    QVERIFY_THROWS_EXCEPTION(sql::Error, older.execute("update BM_SP set TP=\"" + QString(256, u'x') + "\""));
}

QTEST_GUILESS_MAIN(TestStatements)
#include "test_statements.moc"
