#include "report/PrintPreview.h"
#include "report/TablePrinter.h"

#include "platform/PdfReader.h"
#include "support/ScriptedDialogs.h"

#include <QAction>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

using dataset::Dataset;

// The preview of a hundred-row table, shown without blocking.
class TestPrintPreview : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void showsThePagesOfTheLayout();
    void navigatesThePages();
    void savesThePagesAsPdf();
    void cancelledSaveWritesNothing();

private:
    void trigger(const char* action);
    QString pageLabel() const { return preview_->findChild<QLabel*>("PageLabel")->text(); }

    std::unique_ptr<Dataset> rows_;
    std::unique_ptr<report::TablePrinter> table_;
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<report::PrintPreview> preview_;
    std::unique_ptr<ScriptedDialogs> dialogs_;
    std::unique_ptr<QTemporaryDir> dir_;
};

void TestPrintPreview::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    rows_ = std::make_unique<Dataset>();
    rows_->addColumn("SPBM", sql::FieldType::Text, 20).setDisplayLabel("商品编码");
    rows_->addColumn("SPMC", sql::FieldType::Text, 50).setDisplayLabel("商品名称");
    rows_->createInMemory();
    for (int i = 1; i <= 100; ++i) {
        rows_->append();
        rows_->field("SPBM").setValue(QStringLiteral("P%1").arg(i, 3, 10, QChar('0')));
        rows_->field("SPMC").setValue(QStringLiteral("婚纱%1").arg(i));
        rows_->post();
    }
    table_ = std::make_unique<report::TablePrinter>();
    table_->setTitle("商品资料", Qt::AlignLeft);
    table_->setPageFooter("第[PAGE#]页");
    table_->setDataSet(rows_.get());
    table_->readDataSet();
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setPageLayout(table_->requestedPageLayout());
    preview_ = std::make_unique<report::PrintPreview>(*table_, *printer_);
    dialogs_ = std::make_unique<ScriptedDialogs>();
    preview_->show();
    QVERIFY(QTest::qWaitForWindowExposed(preview_.get()));
}

void TestPrintPreview::cleanup() {
    preview_.reset();
    dialogs_.reset();
}

void TestPrintPreview::trigger(const char* action) {
    QAction* found = preview_->findChild<QAction*>(action);
    QVERIFY2(found, action);
    found->trigger();
}

void TestPrintPreview::showsThePagesOfTheLayout() {
    const int pages = table_->layOut(*printer_, false).pageCount();

    QVERIFY(pages >= 2);
    QCOMPARE(preview_->previewWidget()->pageCount(), pages);
    QCOMPARE(preview_->windowTitle(), QString("打印预览"));
    for (const char* action : {"ZoomIn", "ZoomOut", "FitWidth", "WholePage", "PageSetup", "Print", "SavePdf", "Close"})
        QVERIFY2(preview_->findChild<QAction*>(action), action);
}

void TestPrintPreview::navigatesThePages() {
    const int pages = preview_->previewWidget()->pageCount();

    trigger("NextPage");
    QCOMPARE(preview_->previewWidget()->currentPage(), 2);
    QCOMPARE(pageLabel(), QStringLiteral("第 2 / %1 页").arg(pages));
    trigger("LastPage");
    QCOMPARE(pageLabel(), QStringLiteral("第 %1 / %1 页").arg(pages));
    trigger("PriorPage");
    QCOMPARE(preview_->previewWidget()->currentPage(), pages - 1);
    trigger("FirstPage");
    QCOMPARE(pageLabel(), QStringLiteral("第 1 / %1 页").arg(pages));
    trigger("Close");
    QVERIFY(!preview_->isVisible());
}

void TestPrintPreview::savesThePagesAsPdf() {
    const QString path = dir_->filePath("saved.pdf");
    dialogs_->chooseNext(path);

    trigger("SavePdf");

    QCOMPARE(dialogs_->fileRequests().size(), 1);
    QCOMPARE(dialogs_->fileRequests().first().caption, QString("保存为PDF"));
    QCOMPARE(dialogs_->fileRequests().first().proposedName, QString("商品资料"));
    QVERIFY(dialogs_->messages().isEmpty());
    const PdfReader pdf(path);
    QCOMPARE(pdf.pageCount(), preview_->previewWidget()->pageCount());
    QVERIFY(pdf.text(2).contains("商品编码"));
    QVERIFY(pdf.text(2).contains("第2页"));
}

void TestPrintPreview::cancelledSaveWritesNothing() {
    trigger("SavePdf");

    QCOMPARE(dialogs_->fileRequests().size(), 1);
    QVERIFY(dialogs_->messages().isEmpty());
    QVERIFY(QDir(dir_->path()).isEmpty());
}

QTEST_MAIN(TestPrintPreview)
#include "test_printpreview.moc"
