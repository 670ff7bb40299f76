#include "reports/ExportPrint.h"

#include "platform/PdfReader.h"
#include "support/ProgramFixture.h"
#include "support/ScriptedDialogs.h"

#include <QTest>

using dataset::Dataset;

// A hundred products in memory: ID hidden, SPBM "P001".., SPMC, ZJ money shown "#0.00",
// SSYJ without a label. Prints go to a PDF in a temporary folder and are read back.
class TestPrintDataSet : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void footerNumbersEveryPage_data();
    void footerNumbersEveryPage();
    void everyRowIsPrintedOnceUnderRepeatedHeadings();
    void narrowTableKeepsTheOrientationAsked_data();
    void narrowTableKeepsTheOrientationAsked();
    void wideTableTurnsToLandscape();
    void titleFollowsItsAlignment_data();
    void titleFollowsItsAlignment();
    void paperFollowsItsCode_data();
    void paperFollowsItsCode();
    void pageHeaderStaysUntilAnotherIsGiven();
    void datasetEndsOnItsFirstRecord();
    void unwritableTargetIsReported();
    void alignmentCodesAndFooterText_data();
    void alignmentCodesAndFooterText();

private:
    PdfReader print(const QString& footer, int paperCode = 9, int orientation = 0, int titleAlign = 0,
                    const QString& pageHeader = QString(), const QString& title = QStringLiteral("商品资料"));
    report::TablePrinter& printer() { return fixture_->dm().frPrintTable_Public; }

    std::unique_ptr<ProgramFixture> fixture_;
    std::unique_ptr<ScriptedDialogs> dialogs_;
    std::unique_ptr<Dataset> products_;
    QString pdfPath_;
};

void TestPrintDataSet::init() {
    fixture_ = std::make_unique<ProgramFixture>();
    dialogs_ = std::make_unique<ScriptedDialogs>();
    pdfPath_ = fixture_->path("print.pdf");
    products_ = std::make_unique<Dataset>();
    products_->addColumn("ID", sql::FieldType::Text, 16).setVisible(false);
    products_->addColumn("SPBM", sql::FieldType::Text, 20).setDisplayLabel("商品编码");
    products_->addColumn("SPMC", sql::FieldType::Text, 50).setDisplayLabel("商品名称");
    products_->addColumn("ZJ", sql::FieldType::Decimal).setDisplayLabel("租金").setDisplayFormat("#0.00");
    products_->addColumn("SSYJ", sql::FieldType::Decimal);
    products_->createInMemory();
    for (int i = 1; i <= 100; ++i) {
        products_->append();
        products_->field("ID").setValue(QStringLiteral("HIDDEN%1").arg(i));
        products_->field("SPBM").setValue(QStringLiteral("P%1").arg(i, 3, 10, QChar('0')));
        products_->field("SPMC").setValue(QStringLiteral("婚纱%1").arg(i));
        products_->field("ZJ").setValue(QString::number(i + 0.5));
        products_->field("SSYJ").setValue(QString::number(i * 10));
        products_->post();
    }
    products_->first();
}

void TestPrintDataSet::cleanup() {
    products_.reset();
    dialogs_.reset();
    fixture_.reset();
}

PdfReader TestPrintDataSet::print(const QString& footer, int paperCode, int orientation, int titleAlign,
                                  const QString& pageHeader, const QString& title) {
    printer().setPdfTarget(pdfPath_);
    reports::PrintDataSet(fixture_->dm(), title, pageHeader, footer, *products_, paperCode, orientation, titleAlign, 0);
    return PdfReader(pdfPath_);
}

void TestPrintDataSet::footerNumbersEveryPage_data() {
    QTest::addColumn<QString>("footer");
    QTest::addColumn<QString>("firstPage");
    QTest::addColumn<QString>("secondPage");

    QTest::newRow("page number only") << "" << "第1页" << "第2页";
    QTest::newRow("text before the number") << "2024-01-05" << "2024-01-05    第1页" << "2024-01-05    第2页";
}

void TestPrintDataSet::footerNumbersEveryPage() {
    QFETCH(QString, footer);
    QFETCH(QString, firstPage);
    QFETCH(QString, secondPage);

    const PdfReader pdf = print(footer);

    QCOMPARE(printer().pageFooterText(1), firstPage);
    QCOMPARE(printer().pageFooterText(2), secondPage);
    QVERIFY(pdf.pageCount() >= 2);
    for (int page = 1; page <= 2; ++page) {
        QStringList lines = pdf.text(page).split('\n');
        lines.removeIf([](const QString& line) { return line.trimmed().isEmpty(); });
        const QString printed = lines.last().simplified();
        QCOMPARE(printed, (page == 1 ? firstPage : secondPage).simplified());
    }
    // The four blanks show as a gap of about four blank widths.
    if (!footer.isEmpty()) {
        const QRectF date = pdf.wordBox(1, footer);
        const QRectF number = pdf.wordBox(1, "第1页");
        const double blank = date.width() / footer.size() / 2;  // digits are about twice a blank's width
        QVERIFY2(number.left() - date.right() > 2.5 * blank, qPrintable(QString::number(number.left() - date.right())));
    }
}

void TestPrintDataSet::everyRowIsPrintedOnceUnderRepeatedHeadings() {
    const PdfReader pdf = print(QString());

    QStringList printedCodes;
    for (int page = 1; page <= pdf.pageCount(); ++page) {
        const QString text = pdf.text(page);
        for (const QString heading : {"商品编码", "商品名称", "租金", "SSYJ"})
            QVERIFY2(text.contains(heading), qPrintable(QStringLiteral("page %1 lacks %2").arg(page).arg(heading)));
        QCOMPARE(text.contains("商品资料"), page == 1);
        QVERIFY(!text.contains("HIDDEN"));
        QCOMPARE(text.contains(QStringLiteral("第%1页").arg(page)), true);
        static const QRegularExpression code(QStringLiteral("\\bP\\d{3}\\b"));
        for (auto it = code.globalMatch(text); it.hasNext();)
            printedCodes << it.next().captured();
    }
    QCOMPARE(printedCodes.size(), 100);
    QCOMPARE(printedCodes.first(), QString("P001"));
    QCOMPARE(printedCodes.last(), QString("P100"));
    QCOMPARE(QSet<QString>(printedCodes.begin(), printedCodes.end()).size(), 100);
    // Display texts with the format applied, plain numbers without one.
    QVERIFY(pdf.text(1).contains(QRegularExpression("P012\\s+婚纱12\\s+12\\.50\\s+120\\b")));
}

void TestPrintDataSet::narrowTableKeepsTheOrientationAsked_data() {
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QString>("pageSize");

    QTest::newRow("0 portrait") << 0 << "595 x 842";
    QTest::newRow("1 landscape") << 1 << "842 x 595";
    QTest::newRow("other landscape") << 2 << "842 x 595";
}

void TestPrintDataSet::narrowTableKeepsTheOrientationAsked() {
    QFETCH(int, orientation);
    QFETCH(QString, pageSize);

    QCOMPARE(print(QString(), 9, orientation).pageSize(), pageSize);
}

void TestPrintDataSet::wideTableTurnsToLandscape() {
    Dataset wide;
    for (int c = 1; c <= 28; ++c)
        wide.addColumn(QStringLiteral("C%1").arg(c), sql::FieldType::Text, 20).setDisplayLabel(QStringLiteral("第%1列名称").arg(c));
    wide.createInMemory();
    wide.append();
    wide.field(0).setValue("X");
    wide.post();
    printer().setPdfTarget(pdfPath_);

    reports::PrintDataSet(fixture_->dm(), "宽表", QString(), QString(), wide, 9, 0, 0, 0);

    const PdfReader pdf(pdfPath_);
    QCOMPARE(pdf.pageSize(), QString("842 x 595"));
    QCOMPARE(pdf.pageCount(), 1);
    QCOMPARE(pdf.text(1).count("列名称"), 28);  // shrunk to the width, every column printed
}

void TestPrintDataSet::titleFollowsItsAlignment_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("side");

    QTest::newRow("0 left") << 0 << "left";
    QTest::newRow("1 centred") << 1 << "centre";
    QTest::newRow("2 right") << 2 << "right";
    QTest::newRow("other right") << 7 << "right";
}

void TestPrintDataSet::titleFollowsItsAlignment() {
    QFETCH(int, code);
    QFETCH(QString, side);

    const PdfReader pdf = print(QString(), 9, 0, code, QString(), "RentalRanking");

    const QRectF title = pdf.wordBox(1, "RentalRanking");
    QVERIFY(title.isValid());
    const double margin = 5 / 25.4 * 72;
    if (side == "left")
        QVERIFY(qAbs(title.left() - margin) < 3);
    else if (side == "centre")
        QVERIFY(qAbs(title.center().x() - pdf.pageWidth() / 2) < 3);
    else
        QVERIFY(qAbs(pdf.pageWidth() - margin - title.right()) < 3);
}

void TestPrintDataSet::paperFollowsItsCode_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("pageSize");

    QTest::newRow("1 Letter") << 1 << "612 x 792";
    QTest::newRow("5 Legal") << 5 << "612 x 1008";
    QTest::newRow("8 A3") << 8 << "842 x 1191";
    QTest::newRow("9 A4") << 9 << "595 x 842";
    QTest::newRow("11 A5") << 11 << "420 x 595";
    QTest::newRow("unknown code: A4") << 70 << "595 x 842";
}

void TestPrintDataSet::paperFollowsItsCode() {
    QFETCH(int, code);
    QFETCH(QString, pageSize);

    QCOMPARE(print(QString(), code).pageSize(), pageSize);
}

void TestPrintDataSet::pageHeaderStaysUntilAnotherIsGiven() {
    QVERIFY(!print(QString()).text(2).contains("禾岚影楼"));

    QVERIFY(print(QString(), 9, 0, 0, "禾岚影楼").text(2).contains("禾岚影楼"));
    const PdfReader kept = print(QString());
    QCOMPARE(printer().pageHeader(), QString("禾岚影楼"));
    QVERIFY(kept.text(1).contains("禾岚影楼"));
    QVERIFY(kept.text(2).contains("禾岚影楼"));
}

void TestPrintDataSet::datasetEndsOnItsFirstRecord() {
    products_->last();

    print(QString());

    QCOMPARE(products_->recordNo(), 1);
    QVERIFY(!products_->controlsDisabled());
    QCOMPARE(printer().dataSet(), products_.get());
    QVERIFY(dialogs_->messages().isEmpty());
}

void TestPrintDataSet::unwritableTargetIsReported() {
    const QString target = fixture_->path("missing/print.pdf");
    printer().setPdfTarget(target);

    reports::PrintDataSet(fixture_->dm(), "商品资料", QString(), QString(), *products_, 9, 0, 0, 0);

    QCOMPARE(dialogs_->messages().size(), 1);
    QCOMPARE(dialogs_->messages().first().icon, ui::Icon::Critical);
    QVERIFY(dialogs_->lastText().contains(target));
    QVERIFY(!QFile::exists(target));
    QVERIFY(!products_->controlsDisabled());
}

void TestPrintDataSet::alignmentCodesAndFooterText_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("alignment");

    QTest::newRow("0 left") << 0 << int(Qt::AlignLeft);
    QTest::newRow("1 centred") << 1 << int(Qt::AlignHCenter);
    QTest::newRow("2 right") << 2 << int(Qt::AlignRight);
    QTest::newRow("-1 right") << -1 << int(Qt::AlignRight);
}

void TestPrintDataSet::alignmentCodesAndFooterText() {
    QFETCH(int, code);
    QFETCH(int, alignment);

    QCOMPARE(int(reports::alignmentOfCode(code)), alignment);
    QCOMPARE(reports::pageFooterWith(QString()), QString("第[PAGE#]页"));
    QCOMPARE(reports::pageFooterWith("2024-11-18"), QString("2024-11-18    第[PAGE#]页"));
}

QTEST_MAIN(TestPrintDataSet)
#include "test_printdataset.moc"
