#include "masterdata/BMTP.h"
#include "masterdata/PictureView.h"
#include "support/ProgramFixture.h"
#include "support/ScriptedDialogs.h"

#include <QImage>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using masterdata::TBM_TP;

// The picture window over products P1 (with picture p1.png), P2 (without) and P3
// (naming a file that is gone).
class TestPictureWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void showsTheStoredPicture_data();
    void showsTheStoredPicture();
    void choosingStoresTheFullPathOnClose();
    void closingAtOnceStoresThePathAsItWas();
    void clearingEmptiesTheViewOnly();
    void cancelledChoiceLoadsThePathAndReportsAFailure();
    void productNotStoredYetWritesNothing();
    void everyRequestRunsTheOnShowSteps();
    void oneWindowPerDataModule();

private:
    QString picture(const QString& name, Qt::GlobalColor color = Qt::darkCyan);
    QVariant storedPath(const QString& code) {
        return fixture_->scalar(QStringLiteral("select TP from BM_SP where BM='%1'").arg(code));
    }

    std::unique_ptr<ProgramFixture> fixture_;
    std::unique_ptr<ScriptedDialogs> dialogs_;
    TBM_TP* window_ = nullptr;
    QString p1Picture_;
};

QString TestPictureWindow::picture(const QString& name, Qt::GlobalColor color) {
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(color);
    const QString file = fixture_->path(name);
    image.save(file, "PNG");
    return file;
}

void TestPictureWindow::init() {
    fixture_ = std::make_unique<ProgramFixture>();
    dialogs_ = std::make_unique<ScriptedDialogs>();
    for (const char* code : {"P1", "P2", "P3"})
        fixture_->addProduct(code, QStringLiteral("商品"), 1, 1, 1);
    p1Picture_ = picture("p1.png");
    fixture_->execute(QStringLiteral("update BM_SP set TP='%1' where BM='P1'").arg(p1Picture_));
    fixture_->execute(QStringLiteral("update BM_SP set TP='%1' where BM='P3'").arg(fixture_->path("gone.png")));
    window_ = &TBM_TP::instance(fixture_->dm());
}

void TestPictureWindow::cleanup() {
    dialogs_.reset();
    fixture_.reset();  // takes the picture window with it
    window_ = nullptr;
}

void TestPictureWindow::showsTheStoredPicture_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("shown");
    QTest::newRow("stored picture") << "P1" << true;
    QTest::newRow("no picture") << "P2" << false;
    QTest::newRow("file gone") << "P3" << false;
}

void TestPictureWindow::showsTheStoredPicture() {
    QFETCH(QString, code);
    QFETCH(bool, shown);
    window_->showFor(code, "SP");
    QVERIFY(window_->isVisible());
    QCOMPARE(window_->windowTitle(), QString("商品图片预览窗口"));
    QCOMPARE(window_->PictureProductCode, code);
    QCOMPARE(window_->PictureCaller, QString("SP"));
    QCOMPARE(window_->PicturePath, storedPath(code).toString());
    QCOMPARE(window_->Image1->fileName(), shown ? p1Picture_ : QString());
    QVERIFY(dialogs_->messages().isEmpty());
}

void TestPictureWindow::choosingStoresTheFullPathOnClose() {
    QSignalSpy stored(window_, &TBM_TP::pictureStored);
    window_->showFor("P2", "SP");
    const QString file = picture("chosen.png", Qt::red);
    dialogs_->chooseNext(file);
    window_->BitBtn1->click();

    const ui::FileRequest& request = dialogs_->fileRequests().first();
    QCOMPARE(request.kind, ui::FileRequest::Kind::Picture);
    QCOMPARE(request.caption, QString("图片文件"));
    QCOMPARE(request.directory, QString("."));
    QCOMPARE(window_->PicturePath, file);
    QCOMPARE(window_->Image1->fileName(), file);
    QVERIFY(storedPath("P2").isNull());  // written on close only

    QVERIFY(window_->close());
    QVERIFY(!window_->isVisible());
    QCOMPARE(storedPath("P2").toString(), file);
    QVERIFY(window_->Image1->isEmpty());
    QVERIFY(window_->PictureProductCode.isEmpty());
    QVERIFY(window_->PicturePath.isEmpty());
    QVERIFY(window_->PictureCaller.isEmpty());
    QCOMPARE(stored.count(), 1);
    QCOMPARE(stored.first(), QVariantList({"SP", "P2"}));
}

void TestPictureWindow::closingAtOnceStoresThePathAsItWas() {
    window_->showFor("P2");
    window_->BitBtn3->click();
    QVERIFY(!window_->isVisible());
    QVERIFY(!storedPath("P2").isNull());
    QCOMPARE(storedPath("P2").toString(), QString());  // an empty text, not null

    window_->showFor("P3");
    window_->close();
    QCOMPARE(storedPath("P3").toString(), fixture_->path("gone.png"));
}

void TestPictureWindow::clearingEmptiesTheViewOnly() {
    window_->showFor("P1");
    window_->BitBtn2->click();
    QVERIFY(window_->Image1->isEmpty());
    QCOMPARE(window_->PicturePath, p1Picture_);
    window_->close();
    QCOMPARE(storedPath("P1").toString(), p1Picture_);
}

void TestPictureWindow::cancelledChoiceLoadsThePathAndReportsAFailure() {
    window_->showFor("P1");
    window_->BitBtn1Click();  // cancelled: the stored picture is loaded again
    QCOMPARE(window_->Image1->fileName(), p1Picture_);
    QVERIFY(dialogs_->messages().isEmpty());

    window_->showFor("P2");
    window_->BitBtn1Click();  // cancelled with an empty path: the load fails
    QCOMPARE(dialogs_->messages().size(), 1);
    QCOMPARE(dialogs_->messages().first().icon, ui::Icon::Critical);
    QVERIFY(window_->isVisible());
}

void TestPictureWindow::productNotStoredYetWritesNothing() {
    QSignalSpy stored(window_, &TBM_TP::pictureStored);
    window_->showFor("NEW", "SP");
    dialogs_->chooseNext(picture("new.png"));
    window_->BitBtn1Click();
    QVERIFY(window_->close());
    QCOMPARE(dialogs_->messages().size(), 1);
    QCOMPARE(dialogs_->lastText(), QString("当前商品还没有保存，图片路径无法保存，请先保存商品！"));
    QCOMPARE(fixture_->scalar("select count(*) from BM_SP where BM='NEW'").toInt(), 0);
    QCOMPARE(fixture_->scalar("select count(*) from BM_SP where TP like '%new.png'").toInt(), 0);
    QCOMPARE(stored.count(), 0);
    QVERIFY(window_->PictureProductCode.isEmpty());
}

void TestPictureWindow::everyRequestRunsTheOnShowSteps() {
    window_->showFor("P1", "SP");
    const QString file = picture("other.png", Qt::green);
    dialogs_->chooseNext(file);
    window_->BitBtn1Click();

    window_->showFor("P2");  // the order window asks while the window is open
    QCOMPARE(window_->PictureProductCode, QString("P2"));
    QCOMPARE(window_->PictureCaller, QString());
    QCOMPARE(window_->PicturePath, QString());
    QVERIFY(window_->Image1->isEmpty());
    window_->close();
    QCOMPARE(storedPath("P1").toString(), p1Picture_);
    QCOMPARE(storedPath("P2").toString(), QString());
}

void TestPictureWindow::oneWindowPerDataModule() {
    QCOMPARE(&TBM_TP::instance(fixture_->dm()), window_);
    QVERIFY(!window_->isVisible());
    QPointer<TBM_TP> first = window_;
    fixture_ = std::make_unique<ProgramFixture>();
    QVERIFY(first.isNull());
    QVERIFY(&TBM_TP::instance(fixture_->dm()) != nullptr);
}

QTEST_MAIN(TestPictureWindow)
#include "test_picturewindow.moc"
