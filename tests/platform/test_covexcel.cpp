#include "xlsx/CovExcel.h"

#include "platform/XlsxReader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using dataset::Dataset;

// Products in memory: ID hidden, SPBM codes of digits, SPMC names, RQ dates, ZJ money
// shown "#0.00", SL whole numbers, SSYJ without a label, SH stage flags.
class TestCovExcel : public QObject {
    Q_OBJECT

private slots:
    void init();

    void titleIsMergedAndCentredInTheTitleFont();
    void headingsAreTheDisplayLabelsOfTheVisibleColumns();
    void cellsAreTypedByTheColumn_data();
    void cellsAreTypedByTheColumn();
    void bordersFrameTheHeadingsAndRows();
    void emptyDatasetFramesTheHeadingRowWithTheFormats();
    void singleVisibleColumnMergesNothingBeyondA1();
    void exportsTheFilteredRowsInTheCurrentOrder();
    void columnsAreAsWideAsTheirContents();
    void leavesTheDatasetOnItsFirstRecordAndA1Selected();
    void replacesAnExistingFile();
    void unwritablePathReportsThePathAndLeavesNoFile_data();
    void unwritablePathReportsThePathAndLeavesNoFile();
    void withoutDatasetNothingIsWritten();

private:
    void addProduct(const QString& code, const QString& name, const QDate& date, const char* rent, const char* quantity,
                    const char* deposit, const char* flag);
    XlsxReader exported(const QString& title = QStringLiteral("商品资料"));

    std::unique_ptr<Dataset> products_;
    std::unique_ptr<QTemporaryDir> dir_;
};

void TestCovExcel::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    products_ = std::make_unique<Dataset>();
    products_->addColumn("ID", sql::FieldType::Text, 16).setVisible(false);
    products_->addColumn("SPBM", sql::FieldType::Text, 20).setDisplayLabel("商品编码");
    products_->addColumn("SPMC", sql::FieldType::Text, 50).setDisplayLabel("商品名称");
    products_->addColumn("RQ", sql::FieldType::Date).setDisplayLabel("日期");
    products_->addColumn("ZJ", sql::FieldType::Decimal).setDisplayLabel("租金").setDisplayFormat("#0.00");
    products_->addColumn("SL", sql::FieldType::Integer).setDisplayLabel("数量");
    products_->addColumn("SSYJ", sql::FieldType::Decimal);
    products_->addColumn("SH", sql::FieldType::Text, 1).setDisplayLabel("审核");
    products_->createInMemory();
    addProduct("0001", "婚纱A", QDate(2024, 1, 5), "12.5", "3", "100", "T");
    addProduct("0100", "长长的商品名称很长", QDate(), "1234.56", "10", "5.5", nullptr);
    addProduct("0002", "相机B", QDate(2024, 2, 29), "0", "1", "", "F");
    products_->first();
}

void TestCovExcel::addProduct(const QString& code, const QString& name, const QDate& date, const char* rent,
                              const char* quantity, const char* deposit, const char* flag) {
    products_->append();
    products_->field("ID").setValue("X" + code);
    products_->field("SPBM").setValue(code);
    products_->field("SPMC").setValue(name);
    if (date.isValid())
        products_->field("RQ").setValue(date);
    products_->field("ZJ").setValue(rent);
    products_->field("SL").setValue(quantity);
    products_->field("SSYJ").setValue(deposit);
    if (flag)
        products_->field("SH").setValue(flag);
    products_->post();
}

XlsxReader TestCovExcel::exported(const QString& title) {
    xlsx::TCovExcel excel;
    excel.DataSet = products_.get();
    excel.FileName = dir_->filePath("out.xlsx");
    excel.Title = title;
    excel.TitleFont = QFont("黑体");
    excel.TitleFont.setPointSizeF(18);
    excel.Export();
    XlsxReader sheet(excel.FileName);
    if (!sheet.isValid())
        qFatal("the exported workbook cannot be read");
    return sheet;
}

void TestCovExcel::titleIsMergedAndCentredInTheTitleFont() {
    const XlsxReader sheet = exported();

    QCOMPARE(sheet.merges(), QStringList{"A1:G1"});
    QCOMPARE(sheet.value("A1"), QString("商品资料"));
    QVERIFY(sheet.isText("A1"));
    QCOMPARE(sheet.style("A1").horizontal, QString("center"));
    QCOMPARE(sheet.style("A1").vertical, QString("center"));
    for (const XlsxReader::Style& style : {sheet.style("A1"), sheet.style("G1"), sheet.rowStyle(1)}) {
        QCOMPARE(style.font.name, QString("黑体"));
        QCOMPARE(style.font.size, 18.0);
    }
    QVERIFY(sheet.rowHeight(1) >= 18);
}

void TestCovExcel::headingsAreTheDisplayLabelsOfTheVisibleColumns() {
    const XlsxReader sheet = exported();

    QStringList headings;
    for (const QString& ref : sheet.rowCells(2))
        headings << sheet.value(ref);
    QCOMPARE(headings, QStringList({"商品编码", "商品名称", "日期", "租金", "数量", "SSYJ", "审核"}));
    QCOMPARE(sheet.rowCells(3).size(), 7);
    QCOMPARE(sheet.value("A3"), QString("0001"));  // the hidden ID is left out
}

void TestCovExcel::cellsAreTypedByTheColumn_data() {
    QTest::addColumn<QString>("ref");
    QTest::addColumn<bool>("number");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("format");

    QTest::newRow("digits in a text column stay text") << "A3" << false << "0001" << "@";
    QTest::newRow("Chinese text") << "B3" << false << "婚纱A" << "@";
    QTest::newRow("date as a serial") << "C3" << true << "45296" << "yyyy.mm.dd";
    QTest::newRow("leap day") << "C5" << true << "45351" << "yyyy.mm.dd";
    QTest::newRow("money from its plain text") << "D3" << true << "12.5" << "0.00";
    QTest::newRow("money with cents") << "D4" << true << "1234.56" << "0.00";
    QTest::newRow("zero") << "D5" << true << "0" << "0.00";
    QTest::newRow("whole number") << "E4" << true << "10" << "0_ ";
    QTest::newRow("column without label") << "F4" << true << "5.5" << "0.00";
    QTest::newRow("stage flag as stored") << "G3" << false << "T" << "@";
}

void TestCovExcel::cellsAreTypedByTheColumn() {
    QFETCH(QString, ref);
    QFETCH(bool, number);
    QFETCH(QString, value);
    QFETCH(QString, format);

    const XlsxReader sheet = exported();

    QCOMPARE(sheet.isNumber(ref), number);
    QCOMPARE(sheet.isText(ref), !number);
    QCOMPARE(sheet.value(ref), value);
    QCOMPARE(sheet.style(ref).numberFormat, format);
}

void TestCovExcel::bordersFrameTheHeadingsAndRows() {
    const XlsxReader sheet = exported();

    const QStringList thin{"thin", "thin", "thin", "thin"};
    for (int row = 2; row <= 5; ++row) {
        const QStringList refs = sheet.rowCells(row);
        QCOMPARE(refs.size(), 7);
        for (const QString& ref : refs)
            QCOMPARE(sheet.style(ref).borders, thin);
    }
    // Empty values are framed blank cells: the null date, the null deposit, the null flag.
    for (const QString& ref : {"C4", "F5", "G4"}) {
        QVERIFY(sheet.hasCell(ref));
        QVERIFY(sheet.value(ref).isEmpty());
    }
    QCOMPARE(sheet.lastRow(), 5);
    QCOMPARE(sheet.style("A1").borders, QStringList({"", "", "", ""}));
}

void TestCovExcel::emptyDatasetFramesTheHeadingRowWithTheFormats() {
    products_->setFilterText("no such product", {"SPMC"});
    products_->setFiltered(true);
    QCOMPARE(products_->recordCount(), 0);

    const XlsxReader sheet = exported();

    QCOMPARE(sheet.merges(), QStringList{"A1:G1"});
    QCOMPARE(sheet.lastRow(), 2);
    QStringList formats;
    for (const QString& ref : sheet.rowCells(2)) {
        QCOMPARE(sheet.style(ref).borders, QStringList({"thin", "thin", "thin", "thin"}));
        formats << sheet.style(ref).numberFormat;
    }
    QCOMPARE(formats, QStringList({"@", "@", "yyyy.mm.dd", "0.00", "0_ ", "0.00", "@"}));
}

void TestCovExcel::singleVisibleColumnMergesNothingBeyondA1() {
    for (int c = 0; c < products_->columnCount(); ++c)
        products_->column(c).setVisible(products_->column(c).name() == "SPMC");

    const XlsxReader sheet = exported(QStringLiteral("商品名称一览"));

    QVERIFY(sheet.merges().isEmpty());
    QCOMPARE(sheet.value("A1"), QString("商品名称一览"));
    QCOMPARE(sheet.style("A1").horizontal, QString("center"));
    QCOMPARE(sheet.style("A1").font.size, 18.0);
    QVERIFY(!sheet.hasCell("B1"));
    QCOMPARE(sheet.rowCells(2), QStringList{"A2"});
    QCOMPARE(sheet.value("A4"), QString("长长的商品名称很长"));
    // The title is not merged, so its column fits it in its larger font.
    QVERIFY(sheet.columnWidth(1) >= 12 * 18 / 11.0);
}

void TestCovExcel::exportsTheFilteredRowsInTheCurrentOrder() {
    products_->setIndexFieldNames("ZJ");
    products_->setFilterText("相机", {"SPMC"});
    products_->setFiltered(true);

    XlsxReader sheet = exported();
    QCOMPARE(sheet.lastRow(), 3);
    QCOMPARE(sheet.value("A3"), QString("0002"));

    products_->setFiltered(false);
    sheet = exported();
    QCOMPARE(sheet.lastRow(), 5);
    QCOMPARE(QStringList({sheet.value("A3"), sheet.value("A4"), sheet.value("A5")}),
             QStringList({"0002", "0001", "0100"}));
}

void TestCovExcel::columnsAreAsWideAsTheirContents() {
    const XlsxReader sheet = exported();

    // Chinese characters count double: 9 of them need 18 characters of width.
    QVERIFY(sheet.columnWidth(2) >= 18);
    QVERIFY(sheet.columnWidth(2) < 24);
    QVERIFY(sheet.columnWidth(1) >= 8);   // the heading 商品编码 is wider than the codes
    QVERIFY(sheet.columnWidth(1) < sheet.columnWidth(2));
    QVERIFY(sheet.columnWidth(3) >= 10);  // 2024.01.05
    QVERIFY(sheet.columnWidth(4) >= 7);   // 1234.56
    for (int column = 1; column <= 7; ++column)
        QVERIFY(sheet.columnWidth(column) < 30);  // the merged title widens nothing
}

void TestCovExcel::leavesTheDatasetOnItsFirstRecordAndA1Selected() {
    products_->last();

    const XlsxReader sheet = exported();

    QCOMPARE(products_->recordNo(), 1);
    QVERIFY(sheet.selection().isEmpty() || sheet.selection() == "A1");
}

void TestCovExcel::replacesAnExistingFile() {
    QFile old(dir_->filePath("out.xlsx"));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("an older file");
    old.close();

    const XlsxReader sheet = exported();

    QCOMPARE(sheet.value("A3"), QString("0001"));
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.xlsx"});
    QVERIFY(QFileInfo(dir_->filePath("out.xlsx")).permissions().testFlag(QFileDevice::ReadOther));
}

void TestCovExcel::unwritablePathReportsThePathAndLeavesNoFile_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("targetIsFolder");

    QTest::newRow("missing folder") << "missing/out.xlsx" << false;
    QTest::newRow("a folder of that name") << "taken.xlsx" << true;
}

void TestCovExcel::unwritablePathReportsThePathAndLeavesNoFile() {
    QFETCH(QString, target);
    QFETCH(bool, targetIsFolder);
    if (targetIsFolder)
        QVERIFY(QDir(dir_->path()).mkdir(target));
    const QString path = dir_->filePath(target);

    xlsx::TCovExcel excel;
    excel.DataSet = products_.get();
    excel.FileName = path;
    excel.Title = "商品资料";
    try {
        excel.Export();
        QFAIL("the export did not fail");
    } catch (const xlsx::ExportError& error) {
        QVERIFY2(error.message().contains(path), qPrintable(error.message()));
        QVERIFY(error.message().startsWith("无法保存文件"));
    }
    const QStringList left = QDir(dir_->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    QCOMPARE(left, targetIsFolder ? QStringList{target} : QStringList());
}

void TestCovExcel::withoutDatasetNothingIsWritten() {
    xlsx::TCovExcel excel;
    excel.FileName = dir_->filePath("out.xlsx");
    excel.Export();
    QVERIFY(!QFile::exists(excel.FileName));

    // A dataset that goes away is forgotten, not used.
    excel.DataSet = products_.get();
    products_.reset();
    excel.Export();
    QVERIFY(!QFile::exists(excel.FileName));
}

QTEST_GUILESS_MAIN(TestCovExcel)
#include "test_covexcel.moc"
