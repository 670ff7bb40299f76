#include "dataset/Dataset.h"
#include "shell/AccountSet.h"
#include "sql/Connection.h"
#include "sql/Query.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using dataset::Dataset;
using text::Decimal;

class TestDataset : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void readsStoredValues_data();
    void readsStoredValues();
    void convertsOnRead();
    void columnsFollowTheResult();
    void settingsStayWithColumnsAcrossOpens();
    void declaredColumnsAreTheOnlyColumns();
    void resultWithoutOneTableIsReadOnly();

    void walksTheCursor();
    void emptyDatasetIsBofAndEof();
    void insertGoesBeforeTheCursorAppendAfterTheLast();
    void locateFindsExactValues();

    void filtersByLiteralTextIgnoringCase_data();
    void filtersByLiteralTextIgnoringCase();
    void filterSwitchesWithoutNewStatement();
    void filterStaysWhenRowsAreReadAgain();
    void filtersByPredicate();
    void sortsAndRanksInMemory();

    void setValueConvertsOrRefuses_data();
    void setValueConvertsOrRefuses();
    void refusesEditsOutsideEditState();
    void refusesTooLongTextAtPost_data();
    void refusesTooLongTextAtPost();
    void cutsInMemoryTextToGbkWidth();

    void immediateModeWritesPostedRows();
    void immediateModeDeletesAtOnce();
    void editOnEmptyResultInsertsANewRow();
    void leavingAModifiedRowPostsIt();
    void failedPostKeepsTheRowInEdit();
    void rowidKeepsLookAlikeLinesApart();

    void batchModeWritesOnApply();
    void failedApplyRollsBackAndKeepsChanges();
    void applyTogetherIsAllOrNothing();
    void cancelUpdatesRestoresEveryRow();

    void eventsComeInOrder();
    void beforeEventsCanCancel();
    void disabledControlsSilenceViewSignals();

private:
    void execute(const QString& statement, const sql::Params& params = {});
    QVariant scalar(const QString& statement);
    void addProduct(const QString& code, const QString& name, double price);
    void addOrderLine(const QString& order, const QString& product, double quantity);
    void openOn(Dataset& ds, const QString& statement);
    static void fillNames(Dataset& ds, const QStringList& names);

    QTemporaryDir dir_;
    int sets_ = 0;
    std::unique_ptr<sql::Connection> connection_;
};

void TestDataset::init() {
    QVERIFY(dir_.isValid());
    const QString path = dir_.filePath(QStringLiteral("data%1.mdb").arg(++sets_));
    shell::createAccountSet(path, false);
    connection_ = std::make_unique<sql::Connection>();
    connection_->openFile(path);
}

void TestDataset::cleanup() {
    connection_.reset();
}

void TestDataset::execute(const QString& statement, const sql::Params& params) {
    connection_->execute(statement, params);
}

QVariant TestDataset::scalar(const QString& statement) {
    return connection_->scalar(statement);
}

void TestDataset::addProduct(const QString& code, const QString& name, double price) {
    execute(QStringLiteral("insert into bm_sp (bm,mc,cbj) values (:bm,:mc,:cbj)"),
            {{"bm", code}, {"mc", name}, {"cbj", price}});
}

void TestDataset::addOrderLine(const QString& order, const QString& product, double quantity) {
    execute(QStringLiteral("insert into xsd_mx (id,spbm,sl) values (:id,:spbm,:sl)"),
            {{"id", order}, {"spbm", product}, {"sl", quantity}});
}

void TestDataset::openOn(Dataset& ds, const QString& statement) {
    ds.setConnection(connection_.get());
    ds.setCommandText(statement);
    ds.open();
}

// An in-memory table with one text column NAME holding the names, in order.
void TestDataset::fillNames(Dataset& ds, const QStringList& names) {
    ds.addColumn(QStringLiteral("NAME"), sql::FieldType::Text, 50);
    ds.addColumn(QStringLiteral("NOTE"), sql::FieldType::Text, 50);
    ds.createInMemory();
    for (const QString& name : names) {
        ds.append();
        ds.field("NAME").setValue(name);
        ds.post();
    }
    ds.first();
}

// --- reading

void TestDataset::readsStoredValues_data() {
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("null");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("display");

    QTest::newRow("text") << "KHMC" << "" << false << "张三" << "张三";
    QTest::newRow("null text") << "KHDZ" << "" << true << "" << "";
    QTest::newRow("decimal with places") << "YS" << "#0.00" << false << "12.5" << "12.50";
    QTest::newRow("decimal stored whole") << "YSYJ" << "#0.00" << false << "100" << "100.00";
    QTest::newRow("decimal without format") << "YSZJ" << "" << false << "-0.25" << "-0.25";
    QTest::newRow("null decimal") << "SS" << "#0.00" << true << "" << "";
    QTest::newRow("date") << "RQ" << "" << false << "2024-01-05" << "2024-01-05";
    QTest::newRow("date with time") << "YYSK_RQ" << "" << false << "2024-01-06 08:30:00" << "2024-01-06 08:30:00";
    QTest::newRow("null date") << "SS_RQ" << "" << true << "" << "";
    QTest::newRow("date in another form") << "QXSK_RQ" << "" << false << "2024-01-07" << "2024-01-07";
    QTest::newRow("date column holding words") << "GHRQ" << "" << false << "不详" << "不详";
}

void TestDataset::readsStoredValues() {
    QFETCH(QString, column);
    QFETCH(QString, format);
    QFETCH(bool, null);
    QFETCH(QString, text);
    QFETCH(QString, display);

    execute(QStringLiteral("insert into xsd_zb (id,rq,khmc,ys,ysyj,yszj,yysk_rq,qxsk_rq,ghrq) values "
                           "(\"A\",#2024-01-05#,\"张三\",12.5,100,-0.25,\"2024-01-06 08:30:00\",\"2024/1/7\",\"不详\")"));
    Dataset ds;
    openOn(ds, QStringLiteral("select * from xsd_zb"));
    ds.column(column).setDisplayFormat(format);

    QCOMPARE(ds.field(column).isNull(), null);
    QCOMPARE(ds.field(column).asString(), text);
    QCOMPARE(ds.field(column).displayText(), display);
    QCOMPARE(ds.record(0).text(column), text);
}

void TestDataset::convertsOnRead() {
    execute(QStringLiteral("insert into xsd_zb (id,rq,ys,bz) values (\"A\",#2024-01-05#,12.5,\"not a number\")"));
    Dataset ds;
    openOn(ds, QStringLiteral("select * from XSD_ZB"));

    QCOMPARE(ds.field("ys").asDecimal(), Decimal::fromCents(1250));
    QCOMPARE(ds.field("YS").asFloat(), 12.5);
    QCOMPARE(ds.field("YS").asInteger(), 13);  // half away from zero
    QCOMPARE(ds.field("YS").value().value<Decimal>(), Decimal::fromCents(1250));
    QCOMPARE(ds.field("SS").asDecimal(), Decimal());
    QCOMPARE(ds.field("RQ").asDate(), QDate(2024, 1, 5));
    QCOMPARE(ds.field("RQ").value(), QVariant(QDate(2024, 1, 5)));
    QVERIFY(!ds.field("GHRQ").asDate().isValid());
    QVERIFY_THROWS_EXCEPTION(dataset::Error, ds.field("BZ").asDecimal());
    QVERIFY_THROWS_EXCEPTION(dataset::Error, ds.field("BZ").asDate());
    QVERIFY_THROWS_EXCEPTION(dataset::Error, ds.field("NOSUCH"));
}

void TestDataset::columnsFollowTheResult() {
    Dataset ds;
    openOn(ds, QStringLiteral("select * from xsd_mx"));

    QCOMPARE(ds.columnCount(), 13);
    const dataset::Column& name = ds.column("spmc");
    QCOMPARE(name.name(), QStringLiteral("SPMC"));
    QCOMPARE(name.dataType(), sql::FieldType::Text);
    QCOMPARE(name.width(), 50);
    QCOMPARE(name.displayLabel(), QStringLiteral("SPMC"));
    QCOMPARE(name.alignment(), Qt::AlignLeft);
    QCOMPARE(ds.column("CBJ").dataType(), sql::FieldType::Decimal);
    QCOMPARE(ds.column("CBJ").alignment(), Qt::AlignRight);
    QCOMPARE(ds.updateTable().toUpper(), QStringLiteral("XSD_MX"));
    QVERIFY(ds.canModify());
    QCOMPARE(ds.indexOf("_rowid_"), -1);
}

void TestDataset::settingsStayWithColumnsAcrossOpens() {
    addProduct("01", "婚纱", 10);
    Dataset ds;
    openOn(ds, QStringLiteral("select * from bm_sp"));
    ds.column("CBJ").setDisplayLabel("价格").setDisplayFormat("#0.00").setVisible(false);

    ds.setCommandText(QStringLiteral("select * from bm_sp where bm=\"01\""));
    QVERIFY(!ds.isOpen());
    ds.open();

    QCOMPARE(ds.column("CBJ").displayLabel(), QStringLiteral("价格"));
    QVERIFY(!ds.column("CBJ").isVisible());
    QCOMPARE(ds.field("CBJ").displayText(), QStringLiteral("10.00"));
}

void TestDataset::declaredColumnsAreTheOnlyColumns() {
    execute(QStringLiteral("insert into xsd_zb (id,ys) values (\"A\",3)"));
    Dataset ds;
    ds.addColumn("ID").setDisplayLabel("单号");
    ds.addColumn("YS").setDisplayFormat("#0.00");
    openOn(ds, QStringLiteral("select * from xsd_zb"));

    QCOMPARE(ds.columnCount(), 2);
    QCOMPARE(ds.column(1).dataType(), sql::FieldType::Decimal);
    QCOMPARE(ds.column(0).displayLabel(), QStringLiteral("单号"));
    QCOMPARE(ds.field("YS").displayText(), QStringLiteral("3.00"));

    Dataset missing;
    missing.addColumn("ID");
    missing.addColumn("NOSUCH");
    missing.setConnection(connection_.get());
    missing.setCommandText(QStringLiteral("select * from xsd_zb"));
    QVERIFY_THROWS_EXCEPTION(sql::Error, missing.open());
    QVERIFY(!missing.isOpen());
}

void TestDataset::resultWithoutOneTableIsReadOnly() {
    addProduct("01", "婚纱", 10);
    addOrderLine("A", "01", 2);
    Dataset joined;
    openOn(joined, QStringLiteral("select M.SPBM, sum(M.SL) as T from XSD_MX M, BM_SP B where M.SPBM=B.BM group by M.SPBM"));

    QVERIFY(joined.updateTable().isEmpty());
    QVERIFY(!joined.canModify());
    QVERIFY_THROWS_EXCEPTION(dataset::Error, joined.edit());
    QCOMPARE(joined.field("T").asDecimal(), Decimal::fromInt(2));
    QVERIFY(joined.column("T").isNumeric());

    Dataset both;
    openOn(both, QStringLiteral("select * from bm_sp where bm=\"01\" union select * from bm_sp"));
    QCOMPARE(both.recordCount(), 1);
    QVERIFY(!both.canModify());
}

// --- cursor

void TestDataset::walksTheCursor() {
    Dataset ds;
    fillNames(ds, {"a", "b", "c"});

    QVERIFY(ds.bof());
    QVERIFY(!ds.eof());
    QCOMPARE(ds.recordNo(), 1);
    QStringList forward;
    for (ds.first(); !ds.eof(); ds.next())
        forward << ds.field("NAME").asString();
    QCOMPARE(forward, QStringList({"a", "b", "c"}));
    QCOMPARE(ds.row(), 2);

    QStringList backward;
    for (ds.last(); !ds.bof(); ds.prior())
        backward << ds.field("NAME").asString();
    QCOMPARE(backward, QStringList({"c", "b", "a"}));
    QCOMPARE(ds.row(), 0);

    QVERIFY(ds.moveTo(1));
    QCOMPARE(ds.field("NAME").asString(), QStringLiteral("b"));
    QVERIFY(!ds.bof() && !ds.eof());
    QVERIFY(!ds.moveTo(3));
    QCOMPARE(ds.recordNo(), 2);
}

void TestDataset::emptyDatasetIsBofAndEof() {
    Dataset ds;
    openOn(ds, QStringLiteral("select * from bm_sp"));

    QVERIFY(ds.isEmpty());
    QVERIFY(ds.bof() && ds.eof());
    QCOMPARE(ds.recordNo(), 0);
    QCOMPARE(ds.field("MC").asString(), QString());
    QVERIFY(ds.field("MC").isNull());
    ds.next();
    QVERIFY(ds.bof() && ds.eof());
    QVERIFY_THROWS_EXCEPTION(dataset::Error, ds.deleteRecord());
}

void TestDataset::insertGoesBeforeTheCursorAppendAfterTheLast() {
    Dataset ds;
    fillNames(ds, {"a", "b", "c"});
    ds.moveTo(1);

    ds.insert();
    ds.field("NAME").setValue("inserted");
    ds.post();
    QCOMPARE(ds.row(), 1);
    ds.append();
    ds.field("NAME").setValue("appended");
    ds.post();
    QCOMPARE(ds.row(), 4);

    QStringList names;
    for (int row = 0; row < ds.recordCount(); ++row)
        names << ds.record(row).text("NAME");
    QCOMPARE(names, QStringList({"a", "inserted", "b", "c", "appended"}));

    ds.moveTo(2);
    ds.insert();
    ds.cancel();
    QCOMPARE(ds.recordCount(), 5);
    QCOMPARE(ds.field("NAME").asString(), QStringLiteral("b"));
}

void TestDataset::locateFindsExactValues() {
    addProduct("01", "婚纱", 10);
    addProduct("010", "相机", 12.5);
    addProduct("02", "婚纱照", 0);
    Dataset ds;
    openOn(ds, QStringLiteral("select * from bm_sp order by bm"));

    QVERIFY(ds.locate("BM", "010"));
    QCOMPARE(ds.field("MC").asString(), QStringLiteral("相机"));
    QVERIFY(ds.locate("CBJ", QVariant::fromValue(Decimal::fromInt(10))));
    QCOMPARE(ds.field("BM").asString(), QStringLiteral("01"));
    QVERIFY(ds.locate("cbj", "12.50"));
    QCOMPARE(ds.field("BM").asString(), QStringLiteral("010"));
    QVERIFY(!ds.locate("MC", "婚"));
    QCOMPARE(ds.field("BM").asString(), QStringLiteral("010"));
    QVERIFY(ds.locate("JP", QVariant()));
    QCOMPARE(ds.row(), 0);
}

// --- filter and sort

void TestDataset::filtersByLiteralTextIgnoringCase_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("single quote") << "'" << QStringList{"O'Brien"};
    QTest::newRow("double quote") << "\"" << QStringList{"say \"hi\""};
    QTest::newRow("percent is no wildcard") << "%" << QStringList{"100%"};
    QTest::newRow("underscore is no wildcard") << "a_b" << QStringList{"a_b"};
    QTest::newRow("latin letters ignore case") << "abc" << QStringList{"xABCx", "abc"};
    QTest::newRow("chinese") << "王" << QStringList{"王五"};
    QTest::newRow("second column") << "note" << QStringList{"a_b"};
    QTest::newRow("nothing") << "zz" << QStringList{};
    QTest::newRow("empty text keeps all")
        << "" << QStringList{"O'Brien", "say \"hi\"", "100%", "a_b", "axb", "xABCx", "abc", "王五"};
}

void TestDataset::filtersByLiteralTextIgnoringCase() {
    QFETCH(QString, text);
    QFETCH(QStringList, expected);

    Dataset ds;
    fillNames(ds, {"O'Brien", "say \"hi\"", "100%", "a_b", "axb", "xABCx", "abc", "王五"});
    ds.moveTo(3);
    ds.edit();
    ds.field("NOTE").setValue("a NOTE");
    ds.post();

    ds.setFilterText(text, {"NAME", "note"});
    ds.setFiltered(true);

    QStringList shown;
    for (ds.first(); !ds.eof(); ds.next())
        shown << ds.field("NAME").asString();
    QCOMPARE(shown, expected);
    QCOMPARE(ds.recordCount(), expected.size());
}

void TestDataset::filterSwitchesWithoutNewStatement() {
    addProduct("01", "婚纱", 10);
    addProduct("02", "相机", 12);
    addProduct("03", "婚纱照", 5);
    Dataset ds;
    openOn(ds, QStringLiteral("select * from bm_sp"));
    ds.setFilterText("婚纱", {"BM", "MC", "JP"});
    QCOMPARE(ds.recordCount(), 3);  // not yet switched on

    ds.setFiltered(true);
    QCOMPARE(ds.recordCount(), 2);
    execute(QStringLiteral("delete from bm_sp"));  // no statement runs: the loaded rows stay
    ds.setFiltered(false);
    QCOMPARE(ds.recordCount(), 3);
    ds.setFiltered(true);
    QCOMPARE(ds.recordCount(), 2);
    QCOMPARE(ds.field("BM").asString(), QStringLiteral("01"));
    QCOMPARE(ds.row(), 0);
}

void TestDataset::filterStaysWhenRowsAreReadAgain() {
    addProduct("01", "婚纱", 10);
    Dataset ds;
    openOn(ds, QStringLiteral("select * from bm_sp"));
    ds.setFilterText("纱", {"MC"});
    ds.setFiltered(true);
    addProduct("02", "相机", 12);
    addProduct("03", "婚纱照", 5);

    ds.refresh();
    QCOMPARE(ds.recordCount(), 2);
    ds.setCommandText(QStringLiteral("select * from bm_sp where bm>\"01\""));
    ds.open();
    QCOMPARE(ds.recordCount(), 1);
    QCOMPARE(ds.field("BM").asString(), QStringLiteral("03"));
}

void TestDataset::filtersByPredicate() {
    addProduct("01", "婚纱", 10);
    addProduct("02", "相机", 12.5);
    addProduct("03", "婚纱照", 5);
    Dataset ds;
    openOn(ds, QStringLiteral("select * from bm_sp"));

    ds.setFilter([](const dataset::Record& row) { return row.decimal("CBJ") > Decimal::fromInt(6); });
    ds.setFiltered(true);
    QCOMPARE(ds.recordCount(), 2);
    QCOMPARE(ds.record(1).text("BM"), QStringLiteral("02"));
}

// The ranking: fill ordered by code, rank walking the amounts backwards, show by rank.
void TestDataset::sortsAndRanksInMemory() {
    Dataset ds;
    ds.addColumn("SPBM", sql::FieldType::Text, 10);
    ds.addColumn("SXJE", sql::FieldType::Float);
    ds.addColumn("MC", sql::FieldType::Integer);
    ds.createInMemory();
    ds.setIndexFieldNames("SPBM");
    const QList<std::pair<QString, double>> amounts{{"03", 50}, {"01", 100}, {"02", 20.5}};
    for (const auto& [code, amount] : amounts) {
        ds.append();
        ds.field("SPBM").setValue(code);
        ds.field("SXJE").setValue(amount);
        ds.post();
    }
    QCOMPARE(ds.record(0).text("SPBM"), QStringLiteral("01"));
    QCOMPARE(ds.record(2).text("SPBM"), QStringLiteral("03"));

    ds.setIndexFieldNames("SXJE");
    int rank = 0;
    for (ds.last(); !ds.bof(); ds.prior()) {
        ds.edit();
        ds.field("MC").setValue(++rank);
        ds.post();
    }
    ds.setIndexFieldNames("MC");

    QStringList byRank;
    for (ds.first(); !ds.eof(); ds.next())
        byRank << ds.field("SPBM").asString() + ":" + ds.field("MC").asString();
    QCOMPARE(byRank, QStringList({"01:1", "03:2", "02:3"}));
    QCOMPARE(ds.record(2).text("SXJE"), QStringLiteral("20.5"));
}

// --- editing rules

void TestDataset::setValueConvertsOrRefuses_data() {
    QTest::addColumn<QString>("column");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("text");

    QTest::newRow("decimal from text") << "CBJ" << QVariant("12.345") << true << "12.35";
    QTest::newRow("decimal from double") << "CBJ" << QVariant(1.005) << true << "1.01";
    QTest::newRow("decimal from int") << "CBJ" << QVariant(7) << true << "7";
    QTest::newRow("decimal from Decimal") << "CBJ" << QVariant::fromValue(Decimal::fromCents(-5)) << true << "-0.05";
    QTest::newRow("decimal blank is null") << "CBJ" << QVariant(" ") << true << "";
    QTest::newRow("decimal refuses words") << "CBJ" << QVariant("abc") << false << "3";
    QTest::newRow("text keeps blanks") << "MC" << QVariant(" x ") << true << " x ";
    QTest::newRow("text from decimal") << "MC" << QVariant::fromValue(Decimal::fromCents(1250)) << true << "12.5";
}

void TestDataset::setValueConvertsOrRefuses() {
    QFETCH(QString, column);
    QFETCH(QVariant, value);
    QFETCH(bool, accepted);
    QFETCH(QString, text);

    addProduct("01", "3", 3);
    Dataset ds;
    openOn(ds, QStringLiteral("select * from bm_sp"));
    ds.edit();
    if (accepted) {
        ds.field(column).setValue(value);
        QVERIFY(ds.isModified());
    } else {
        QVERIFY_THROWS_EXCEPTION(dataset::Error, ds.field(column).setValue(value));
        QVERIFY(!ds.isModified());
    }
    QCOMPARE(ds.field(column).asString(), text);
}

void TestDataset::refusesEditsOutsideEditState() {
    addProduct("01", "婚纱", 10);
    Dataset ds;
    openOn(ds, QStringLiteral("select * from bm_sp"));
    ds.column("JCSL").setReadOnly(true);

    QVERIFY_THROWS_EXCEPTION(dataset::Error, ds.field("MC").setValue("x"));
    ds.edit();
    QVERIFY_THROWS_EXCEPTION(dataset::Error, ds.field("JCSL").setValue(1));
    ds.setReadOnly(true);
    ds.cancel();
    QVERIFY(!ds.canModify());
    QVERIFY_THROWS_EXCEPTION(dataset::Error, ds.append());
}

void TestDataset::refusesTooLongTextAtPost_data() {
    QTest::addColumn<QString>("column");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("message");

    QTest::newRow("name fits") << "MC" << 100 << "";
    QTest::newRow("name too long") << "MC" << 101 << "字段“商品名称”的内容超过 100 个字符";
    QTest::newRow("code too long, no label") << "BM" << 51 << "字段“BM”的内容超过 50 个字符";
}

void TestDataset::refusesTooLongTextAtPost() {
    QFETCH(QString, column);
    QFETCH(int, length);
    QFETCH(QString, message);

    addProduct("01", "婚纱", 10);
    Dataset ds;
    openOn(ds, QStringLiteral("select * from bm_sp"));
    ds.column("MC").setDisplayLabel("商品名称");
    ds.edit();
    const QString value(length, QChar(u'纱'));
    ds.field(column).setValue(value);

    if (message.isEmpty()) {
        QVERIFY(ds.post());
        QCOMPARE(scalar(QStringLiteral("select %1 from bm_sp").arg(column)).toString(), value);
        return;
    }
    try {
        ds.post();
        QFAIL("the post went through");
    } catch (const dataset::Error& error) {
        QCOMPARE(error.message(), message);
    }
    QCOMPARE(ds.state(), Dataset::State::Edit);
    QVERIFY(scalar(QStringLiteral("select %1 from bm_sp").arg(column)).toString().size() < length);
}

void TestDataset::cutsInMemoryTextToGbkWidth() {
    Dataset ds;
    ds.addColumn("SPMC", sql::FieldType::Text)
        .setWidth(20, dataset::WidthUnit::GbkBytes)
        .setOverlongText(dataset::OverlongText::Cut);
    ds.createInMemory();
    ds.append();
    ds.field("SPMC").setValue(QStringLiteral("一二三四五六七八九十十一"));
    QCOMPARE(ds.field("SPMC").asString(), QStringLiteral("一二三四五六七八九十"));
    ds.field("SPMC").setValue(QStringLiteral("abc一二三四五六七八九十"));
    QCOMPARE(ds.field("SPMC").asString(), QStringLiteral("abc一二三四五六七八"));
    QVERIFY(ds.post());
}

// --- writing back at once

void TestDataset::immediateModeWritesPostedRows() {
    addProduct("01", "婚纱", 10);
    Dataset ds;
    openOn(ds, QStringLiteral("select * from bm_sp"));

    ds.edit();
    ds.field("MC").setValue(QStringLiteral("O'Brien \"婚纱\""));
    ds.field("CBJ").setValue(12.345);
    QVERIFY(ds.post());
    ds.append();
    ds.field("BM").setValue("02");
    ds.field("KCSL").setValue("3");
    QVERIFY(ds.post());

    sql::Query check(*connection_, QStringLiteral("select bm,mc,cbj,kcsl from bm_sp order by bm"));
    QVERIFY(check.next());
    QCOMPARE(check.value(1).toString(), QStringLiteral("O'Brien \"婚纱\""));
    QCOMPARE(check.value(2).toDouble(), 12.35);
    QVERIFY(check.next());
    QCOMPARE(check.value(0).toString(), QStringLiteral("02"));
    QCOMPARE(check.value(3).toDouble(), 3.0);
    QVERIFY(check.value(1).isNull());
    QVERIFY(!check.next());
}

void TestDataset::immediateModeDeletesAtOnce() {
    addProduct("01", "婚纱", 10);
    addProduct("02", "相机", 10);
    Dataset ds;
    openOn(ds, QStringLiteral("select * from bm_sp order by bm"));

    QVERIFY(ds.deleteRecord());
    QCOMPARE(scalar(QStringLiteral("select count(*) from bm_sp")).toInt(), 1);
    QCOMPARE(scalar(QStringLiteral("select bm from bm_sp")).toString(), QStringLiteral("02"));
    QCOMPARE(ds.recordCount(), 1);
    QCOMPARE(ds.field("BM").asString(), QStringLiteral("02"));
}

// Opening an order number that does not exist yet: edit() begins the new header.
void TestDataset::editOnEmptyResultInsertsANewRow() {
    Dataset ds;
    openOn(ds, QStringLiteral("select * from xsd_zb"));
    ds.setFilter([](const dataset::Record& row) { return row.text("ID") == QStringLiteral("N1"); });
    ds.setFiltered(true);

    QVERIFY(ds.edit());
    QCOMPARE(ds.state(), Dataset::State::Insert);
    ds.field("ID").setValue("N1");
    ds.field("RQ").setValue(QDate(2024, 2, 3));
    ds.field("SH").setValue("F");
    QVERIFY(ds.post());

    sql::Query check(*connection_, QStringLiteral("select id,rq,sh from xsd_zb"));
    QVERIFY(check.next());
    QCOMPARE(check.value(1), QVariant(QStringLiteral("2024-02-03")));
    QCOMPARE(check.value(2).toString(), QStringLiteral("F"));
}

void TestDataset::leavingAModifiedRowPostsIt() {
    addProduct("01", "婚纱", 10);
    addProduct("02", "相机", 10);
    Dataset ds;
    openOn(ds, QStringLiteral("select * from bm_sp order by bm"));

    ds.edit();
    ds.field("MC").setValue("新名称");
    ds.next();
    QCOMPARE(ds.state(), Dataset::State::Browse);
    QCOMPARE(scalar(QStringLiteral("select mc from bm_sp where bm=\"01\"")).toString(), QStringLiteral("新名称"));

    ds.append();  // an untouched new row is dropped on leaving it
    ds.first();
    QCOMPARE(ds.recordCount(), 2);
    QCOMPARE(scalar(QStringLiteral("select count(*) from bm_sp")).toInt(), 2);
}

// A duplicate code: the engine's message comes through and the row stays in edit.
void TestDataset::failedPostKeepsTheRowInEdit() {
    addProduct("01", "婚纱", 10);
    addProduct("02", "相机", 10);
    Dataset ds;
    openOn(ds, QStringLiteral("select * from bm_sp order by bm"));

    ds.edit();
    ds.field("BM").setValue("02");
    QVERIFY_THROWS_EXCEPTION(sql::Error, ds.next());
    QCOMPARE(ds.row(), 0);
    QCOMPARE(ds.state(), Dataset::State::Edit);
    ds.cancel();
    QCOMPARE(ds.field("BM").asString(), QStringLiteral("01"));
    QCOMPARE(scalar(QStringLiteral("select count(*) from bm_sp where bm=\"02\"")).toInt(), 1);
}

void TestDataset::rowidKeepsLookAlikeLinesApart() {
    addOrderLine("A", "01", 1);
    addOrderLine("A", "01", 1);
    addOrderLine("A", "01", 1);
    Dataset ds;
    openOn(ds, QStringLiteral("select * from xsd_mx where id='A'"));

    ds.moveTo(1);
    ds.edit();
    ds.field("SL").setValue(5);
    ds.post();
    ds.moveTo(2);
    ds.deleteRecord();

    sql::Query check(*connection_, QStringLiteral("select sl from xsd_mx order by rowid"));
    QStringList quantities;
    while (check.next())
        quantities << check.value(0).toString();
    QCOMPARE(quantities, QStringList({"1", "5"}));
}

// --- batch mode

void TestDataset::batchModeWritesOnApply() {
    addOrderLine("A", "01", 1);
    addOrderLine("A", "02", 2);
    Dataset ds;
    ds.setUpdateMode(Dataset::UpdateMode::Batch);
    openOn(ds, QStringLiteral("select * from xsd_mx where id='A'"));

    ds.edit();
    ds.field("SL").setValue(7);
    ds.next();
    ds.deleteRecord();
    ds.append();
    ds.field("ID").setValue("A");
    ds.field("SPBM").setValue("03");
    ds.post();
    QVERIFY(ds.hasPendingUpdates());
    QCOMPARE(ds.pendingUpdateCount(), 3);
    QCOMPARE(scalar(QStringLiteral("select sum(sl) from xsd_mx")).toInt(), 3);

    ds.applyUpdates();
    QVERIFY(!ds.hasPendingUpdates());
    QVERIFY(!connection_->inTransaction());
    sql::Query check(*connection_, QStringLiteral("select spbm,sl from xsd_mx order by spbm"));
    QStringList lines;
    while (check.next())
        lines << check.value(0).toString() + "=" + check.value(1).toString();
    QCOMPARE(lines, QStringList({"01=7", "03="}));

    // The new row now has its rowid: a later change reaches the same line.
    ds.edit();
    ds.field("SL").setValue(4);
    ds.applyUpdates();
    QCOMPARE(scalar(QStringLiteral("select sl from xsd_mx where spbm=\"03\"")).toInt(), 4);
}

void TestDataset::failedApplyRollsBackAndKeepsChanges() {
    addProduct("A1", "婚纱", 10);
    addProduct("A2", "相机", 10);
    Dataset ds;
    ds.setUpdateMode(Dataset::UpdateMode::Batch);
    openOn(ds, QStringLiteral("select * from bm_sp order by bm"));
    ds.moveTo(1);
    ds.edit();
    ds.field("MC").setValue("改名");
    ds.post();
    for (const char* code : {"B1", "A1"}) {
        ds.append();
        ds.field("BM").setValue(code);
        ds.post();
    }

    QVERIFY_THROWS_EXCEPTION(sql::Error, ds.applyUpdates());
    QVERIFY(!connection_->inTransaction());
    QCOMPARE(ds.pendingUpdateCount(), 3);
    QCOMPARE(scalar(QStringLiteral("select count(*) from bm_sp")).toInt(), 2);
    QCOMPARE(scalar(QStringLiteral("select mc from bm_sp where bm=\"A2\"")).toString(), QStringLiteral("相机"));

    ds.last();
    ds.edit();
    ds.field("BM").setValue("C1");
    ds.applyUpdates();
    QVERIFY(!ds.hasPendingUpdates());
    QCOMPARE(scalar(QStringLiteral("select count(*) from bm_sp")).toInt(), 4);
    QCOMPARE(scalar(QStringLiteral("select mc from bm_sp where bm=\"A2\"")).toString(), QStringLiteral("改名"));
}

void TestDataset::applyTogetherIsAllOrNothing() {
    addProduct("A1", "婚纱", 10);
    Dataset header;
    Dataset products;
    header.setUpdateMode(Dataset::UpdateMode::Batch);
    products.setUpdateMode(Dataset::UpdateMode::Batch);
    openOn(header, QStringLiteral("select * from xsd_zb"));
    openOn(products, QStringLiteral("select * from bm_sp"));
    header.append();
    header.field("ID").setValue("N1");
    header.post();
    products.append();
    products.field("BM").setValue("A1");
    products.post();

    QVERIFY_THROWS_EXCEPTION(sql::Error, dataset::applyUpdates(*connection_, {&header, &products}));
    QCOMPARE(scalar(QStringLiteral("select count(*) from xsd_zb")).toInt(), 0);
    QVERIFY(header.hasPendingUpdates());
    QVERIFY(products.hasPendingUpdates());

    products.cancelUpdates();
    dataset::applyUpdates(*connection_, {&header, &products});
    QCOMPARE(scalar(QStringLiteral("select id from xsd_zb")).toString(), QStringLiteral("N1"));
    QVERIFY(!header.hasPendingUpdates());
}

void TestDataset::cancelUpdatesRestoresEveryRow() {
    addProduct("01", "婚纱", 10);
    addProduct("02", "相机", 10);
    addProduct("03", "灯", 10);
    Dataset ds;
    ds.setUpdateMode(Dataset::UpdateMode::Batch);
    openOn(ds, QStringLiteral("select * from bm_sp order by bm"));
    ds.edit();
    ds.field("MC").setValue("x");
    ds.post();
    ds.edit();
    ds.field("CBJ").setValue(99);
    ds.post();
    ds.moveTo(1);
    ds.deleteRecord();
    ds.append();
    ds.field("BM").setValue("04");
    ds.post();
    QCOMPARE(ds.recordCount(), 3);

    ds.cancelUpdates();
    QVERIFY(!ds.hasPendingUpdates());
    QStringList rows;
    for (ds.first(); !ds.eof(); ds.next())
        rows << ds.field("BM").asString() + ds.field("MC").asString() + ds.field("CBJ").asString();
    QCOMPARE(rows, QStringList({"01婚纱10", "02相机10", "03灯10"}));
    ds.applyUpdates();
    QCOMPARE(scalar(QStringLiteral("select count(*) from bm_sp")).toInt(), 3);
}

// --- events and views

void TestDataset::eventsComeInOrder() {
    addProduct("01", "婚纱", 10);
    Dataset ds;
    QStringList log;
    auto allow = [&log](const char* name) {
        return [&log, name](Dataset&) {
            log << name;
            return true;
        };
    };
    auto note = [&log](const char* name) { return [&log, name](Dataset&) { log << name; }; };
    ds.events().beforeEdit = allow("beforeEdit");
    ds.events().beforeInsert = allow("beforeInsert");
    ds.events().beforePost = allow("beforePost");
    ds.events().beforeDelete = allow("beforeDelete");
    ds.events().afterInsert = note("afterInsert");
    ds.events().afterPost = note("afterPost");
    ds.events().afterDelete = note("afterDelete");
    ds.events().afterScroll = note("afterScroll");
    ds.events().fieldChanged = [&log](dataset::Field field) {
        log << "changed " + field.name() + "=" + field.asString();
    };
    openOn(ds, QStringLiteral("select * from bm_sp"));
    QCOMPARE(log, QStringList({"afterScroll"}));

    log.clear();
    ds.append();
    ds.field("bm").setValue("02");
    ds.next();
    QCOMPARE(log, QStringList({"beforeInsert", "afterInsert", "afterScroll", "changed BM=02", "beforePost", "afterPost"}));

    log.clear();
    ds.first();
    ds.edit();
    ds.field("MC").setValue("x");
    ds.post();
    ds.deleteRecord();
    QCOMPARE(log, QStringList({"afterScroll", "beforeEdit", "changed MC=x", "beforePost", "afterPost", "beforeDelete",
                               "afterDelete", "afterScroll"}));
}

void TestDataset::beforeEventsCanCancel() {
    addProduct("01", "婚纱", 10);
    Dataset ds;
    openOn(ds, QStringLiteral("select * from bm_sp"));
    ds.events().beforeDelete = [](Dataset&) { return false; };
    ds.events().beforePost = [](Dataset& d) { return !d.field("MC").asString().isEmpty(); };

    QVERIFY(!ds.deleteRecord());
    QCOMPARE(ds.recordCount(), 1);
    QCOMPARE(scalar(QStringLiteral("select count(*) from bm_sp")).toInt(), 1);

    ds.edit();
    ds.field("MC").setValue("");
    QVERIFY(!ds.post());
    QCOMPARE(ds.state(), Dataset::State::Edit);
    ds.next();  // leaving needs the post, which is refused: the cursor stays
    QCOMPARE(ds.state(), Dataset::State::Edit);
    QCOMPARE(scalar(QStringLiteral("select mc from bm_sp")).toString(), QStringLiteral("婚纱"));
}

void TestDataset::disabledControlsSilenceViewSignals() {
    Dataset ds;
    fillNames(ds, {"a", "b", "c"});
    QSignalSpy changed(&ds, &Dataset::rowChanged);
    QSignalSpy moved(&ds, &Dataset::currentRowChanged);
    QSignalSpy resets(&ds, &Dataset::reset);
    QStringList scrolls;
    ds.events().afterScroll = [&scrolls](Dataset& d) { scrolls << d.field("NAME").asString(); };

    {
        dataset::ControlsDisabled outer(ds);
        ds.disableControls();
        for (ds.first(); !ds.eof(); ds.next()) {
            ds.edit();
            ds.field("NAME").setValue(ds.field("NAME").asString().toUpper());
            ds.post();
        }
        ds.enableControls();
        QVERIFY(ds.controlsDisabled());
        QCOMPARE(changed.count(), 0);
        QCOMPARE(moved.count(), 0);
        QCOMPARE(resets.count(), 0);
    }
    QVERIFY(!ds.controlsDisabled());
    QCOMPARE(resets.count(), 1);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(scrolls, QStringList({"a", "b", "c"}));  // the window's own events still run

    ds.first();
    QCOMPARE(moved.count(), 2);  // once on resume, once for first()
    {
        dataset::ControlsDisabled quiet(ds);
    }
    QCOMPARE(resets.count(), 1);  // nothing happened, nothing to bring up to date
}

QTEST_GUILESS_MAIN(TestDataset)
#include "test_dataset.moc"
