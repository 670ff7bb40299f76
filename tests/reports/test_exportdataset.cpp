#include "reports/ExportPrint.h"

#include "dataset/DatasetModel.h"
#include "platform/XlsxReader.h"
#include "support/ProgramFixture.h"
#include "support/ScriptedDialogs.h"

#include <QDir>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTest>

using dataset::Dataset;

// The products query of the products window on a fresh account set with three products,
// exported through the save dialog double into the fixture's folder.
class TestExportDataSet : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void asksWhereToSaveUnderTheTitle();
    void cancellingDoesNothing();
    void writesTheChosenFileWithoutAMessage();
    void opensAClosedDatasetFirst();
    void failureNamesThePathAndResumesTheGrids();
    void datasetThatCannotOpenReportsTheEngine();

private:
    void export_(const QString& path);
    QStringList folderEntries() const {
        return QDir(fixture_->path("out")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    std::unique_ptr<ProgramFixture> fixture_;
    std::unique_ptr<ScriptedDialogs> dialogs_;
    std::unique_ptr<Dataset> products_;
};

void TestExportDataSet::init() {
    fixture_ = std::make_unique<ProgramFixture>();
    dialogs_ = std::make_unique<ScriptedDialogs>();
    fixture_->addProduct("0001", "婚纱A", 12.5, 100, 3);
    fixture_->addProduct("0002", "相机B", 30, 500, 1);
    fixture_->addProduct("0003", "礼服C", 8, 50, 2);
    QVERIFY(QDir(fixture_->programDir()).mkdir("out"));
    products_ = std::make_unique<Dataset>();
    products_->setConnection(&fixture_->connection());
    products_->setCommandText("select * from bm_sp  order by bm asc");
    products_->open();
}

void TestExportDataSet::cleanup() {
    products_.reset();
    dialogs_.reset();
    fixture_.reset();
}

void TestExportDataSet::export_(const QString& path) {
    dialogs_->chooseNext(path);
    reports::ExportDataSet(*products_, "商品资料", "黑体", 18);
}

void TestExportDataSet::asksWhereToSaveUnderTheTitle() {
    reports::ExportDataSet(*products_, "商品资料", "黑体", 18);

    QCOMPARE(dialogs_->fileRequests().size(), 1);
    const ui::FileRequest& request = dialogs_->fileRequests().first();
    QCOMPARE(request.kind, ui::FileRequest::Kind::Save);
    QCOMPARE(request.caption, QString("另存为"));
    QCOMPARE(request.filter, QString("Excel files (*.xlsx)|*.xlsx"));
    QCOMPARE(request.defaultSuffix, QString("xlsx"));
    QCOMPARE(request.proposedName, QString("商品资料"));
}

void TestExportDataSet::cancellingDoesNothing() {
    products_->last();
    QSignalSpy views(products_.get(), &Dataset::reset);

    reports::ExportDataSet(*products_, "商品资料", "黑体", 18);

    QVERIFY(dialogs_->messages().isEmpty());
    QVERIFY(folderEntries().isEmpty());
    QCOMPARE(products_->recordNo(), 3);  // not even moved
    QCOMPARE(views.count(), 0);
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestExportDataSet::writesTheChosenFileWithoutAMessage() {
    const QString path = fixture_->path("out/商品资料.xlsx");
    products_->last();

    export_(path);

    QVERIFY(dialogs_->messages().isEmpty());
    QCOMPARE(folderEntries(), QStringList{"商品资料.xlsx"});
    const XlsxReader sheet(path);
    QVERIFY(sheet.isValid());
    QCOMPARE(sheet.value("A1"), QString("商品资料"));
    QCOMPARE(sheet.style("A1").font.name, QString("黑体"));
    QCOMPARE(sheet.style("A1").font.size, 18.0);
    QCOMPARE(sheet.lastRow(), 5);
    QCOMPARE(products_->recordNo(), 1);
    QVERIFY(!products_->controlsDisabled());
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestExportDataSet::opensAClosedDatasetFirst() {
    products_->close();
    products_->setCommandText("select bm, mc from bm_sp where bm <> \"0002\" order by bm");
    const QString path = fixture_->path("out/list.xlsx");

    export_(path);

    QVERIFY(products_->isOpen());
    const XlsxReader sheet(path);
    QCOMPARE(sheet.merges(), QStringList{"A1:B1"});
    QCOMPARE(QStringList({sheet.value("A3"), sheet.value("A4")}), QStringList({"0001", "0003"}));
    QCOMPARE(sheet.lastRow(), 4);
}

void TestExportDataSet::failureNamesThePathAndResumesTheGrids() {
    dataset::DatasetModel grid(products_.get());
    const QString path = fixture_->path("out/missing/商品资料.xlsx");

    export_(path);

    QCOMPARE(dialogs_->messages().size(), 1);
    const ui::MessageRequest& message = dialogs_->messages().first();
    QCOMPARE(message.icon, ui::Icon::Critical);
    QVERIFY2(message.text.contains(QDir::toNativeSeparators(path)), qPrintable(message.text));
    QVERIFY(folderEntries().isEmpty());
    QVERIFY(!products_->controlsDisabled());
    QVERIFY(!QGuiApplication::overrideCursor());
    // The grid follows the dataset again.
    QSignalSpy inserted(&grid, &QAbstractItemModel::rowsInserted);
    products_->append();
    QCOMPARE(inserted.count(), 1);
    products_->cancel();
}

void TestExportDataSet::datasetThatCannotOpenReportsTheEngine() {
    products_->close();
    products_->setCommandText("select * from no_such_table");

    export_(fixture_->path("out/x.xlsx"));

    QCOMPARE(dialogs_->messages().size(), 1);
    QVERIFY2(dialogs_->lastText().contains("no_such_table"), qPrintable(dialogs_->lastText()));
    QVERIFY(folderEntries().isEmpty());
    QVERIFY(!products_->controlsDisabled());
}

QTEST_MAIN(TestExportDataSet)
#include "test_exportdataset.moc"
