#include "masterdata/CompanyInfo.h"
#include "masterdata/GSXX.h"
#include "masterdata/SQLForm.h"
#include "support/ProgramFixture.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

using masterdata::TBM_GSXX;

// The company window over the one row of BM_GSXX.
class TestCompanyWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void fillStopsAtTheFirstNullColumn_data();
    void fillStopsAtTheFirstNullColumn();
    void saveWritesTheRowOrCreatesIt_data();
    void saveWritesTheRowOrCreatesIt();
    void saveFailureShowsTheDataLayersText();
    void pictureChoiceKeepsTheFileNameOnly();
    void backupFolderGetsItsSeparator_data();
    void backupFolderGetsItsSeparator();
    void folderChoiceAsksForTheStorageLocation();
    void closingAppliesTheStoredPictureAndName();
    void closingWithABadPictureFallsBackToImageJpg_data();
    void closingWithABadPictureFallsBackToImageJpg();
    void closingWhenImageJpgFailsToo();
    void ctrlF12ShowsTheSqlTool();
    void enterMovesToTheNextEdit();

private:
    TBM_GSXX& openWindow();
    void picture(const QString& name);
    QStringList editTexts() const;

    std::unique_ptr<ProgramFixture> fixture_;
    std::unique_ptr<ScriptedDialogs> dialogs_;
    std::unique_ptr<TBM_GSXX> window_;
};

void TestCompanyWindow::init() {
    fixture_ = std::make_unique<ProgramFixture>();
    dialogs_ = std::make_unique<ScriptedDialogs>();
}

void TestCompanyWindow::cleanup() {
    window_.reset();
    dialogs_.reset();
    fixture_.reset();
}

TBM_GSXX& TestCompanyWindow::openWindow() {
    window_ = std::make_unique<TBM_GSXX>(fixture_->dm());
    window_->show();
    return *window_;
}

void TestCompanyWindow::picture(const QString& name) {
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(Qt::yellow);
    QVERIFY(image.save(fixture_->path(name), "PNG"));
}

QStringList TestCompanyWindow::editTexts() const {
    return {window_->GSMC->text(), window_->DH->text(), window_->DZ->text(), window_->Edit1->text(),
            window_->Edit2->text()};
}

void TestCompanyWindow::fillStopsAtTheFirstNullColumn_data() {
    QTest::addColumn<QString>("row");
    QTest::addColumn<QStringList>("edits");
    QTest::newRow("all set") << "'禾岚','123','幸福路','bg.png','/bak/'"
                             << QStringList({"禾岚", "123", "幸福路", "bg.png", "/bak/"});
    QTest::newRow("empty texts fill") << "'','','','',''" << QStringList({"", "", "", "", ""});
    QTest::newRow("name null stops at once") << "null,'123','幸福路','bg.png','/bak/'"
                                             << QStringList({"GSMC", "DH", "DZ", "", ""});
    QTest::newRow("address null") << "'禾岚','123',null,'bg.png','/bak/'"
                                   << QStringList({"禾岚", "123", "DZ", "", ""});
    QTest::newRow("picture null") << "'禾岚','123','幸福路',null,'/bak/'"
                                  << QStringList({"禾岚", "123", "幸福路", "", ""});
    QTest::newRow("no row") << QString() << QStringList({"GSMC", "DH", "DZ", "", ""});
}

void TestCompanyWindow::fillStopsAtTheFirstNullColumn() {
    QFETCH(QString, row);
    QFETCH(QStringList, edits);
    fixture_->execute("delete from BM_GSXX");
    if (!row.isEmpty())
        fixture_->execute("insert into BM_GSXX(GSMC,DH,DZ,LOG,BF) values (" + row + ")");
    TBM_GSXX& window = openWindow();
    QCOMPARE(window.windowTitle(), QString("公司信息"));
    QCOMPARE(editTexts(), edits);
}

void TestCompanyWindow::saveWritesTheRowOrCreatesIt_data() {
    QTest::addColumn<bool>("emptyTable");
    QTest::newRow("existing row") << false;
    QTest::newRow("empty table") << true;
}

void TestCompanyWindow::saveWritesTheRowOrCreatesIt() {
    QFETCH(bool, emptyTable);
    if (emptyTable)
        fixture_->execute("delete from BM_GSXX");
    TBM_GSXX& window = openWindow();
    window.GSMC->setText("新公司");
    window.DH->setText("800");
    window.Edit1->setText("bg.png");
    window.Edit2->setText("/home/bak/");
    window.BitBtn1->click();
    QCOMPARE(dialogs_->lastText(), QString("保存成功！    "));
    QCOMPARE(dialogs_->messages().last().icon, ui::Icon::None);
    QCOMPARE(fixture_->scalar("select count(*) from BM_GSXX").toInt(), 1);
    QCOMPARE(fixture_->scalar("select GSMC from BM_GSXX").toString(), QString("新公司"));
    QCOMPARE(fixture_->scalar("select DZ from BM_GSXX").toString(), emptyTable ? QString("DZ") : QString());
    QCOMPARE(fixture_->scalar("select LOG from BM_GSXX").toString(), QString("bg.png"));
    QCOMPARE(fixture_->scalar("select BF from BM_GSXX").toString(), QString("/home/bak/"));
    QVERIFY(window.isVisible());
}

void TestCompanyWindow::saveFailureShowsTheDataLayersText() {
    TBM_GSXX& window = openWindow();
    window.GSMC->setText(QString(101, QLatin1Char('x')));
    window.BitBtn1->click();
    QCOMPARE(dialogs_->messages().size(), 1);
    QVERIFY(dialogs_->lastText().contains("100"));
    QCOMPARE(window.ADOQuery1.state(), dataset::Dataset::State::Edit);
    QCOMPARE(fixture_->scalar("select GSMC from BM_GSXX").toString(), QString("禾岚影楼"));
}

void TestCompanyWindow::pictureChoiceKeepsTheFileNameOnly() {
    TBM_GSXX& window = openWindow();
    window.Image1->click();  // cancelled
    QCOMPARE(window.Edit1->text(), QString("image.jpg"));
    dialogs_->chooseNext("/somewhere/else/背景.png");
    window.Image1->click();
    QCOMPARE(window.Edit1->text(), QString("背景.png"));
    const ui::FileRequest& request = dialogs_->fileRequests().last();
    QCOMPARE(request.kind, ui::FileRequest::Kind::Picture);
    QCOMPARE(request.caption, QString("背景图文件"));
    QCOMPARE(request.directory, QString("."));
}

void TestCompanyWindow::backupFolderGetsItsSeparator_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("stored");
    QTest::newRow("Windows folder") << "D:\\bak" << "D:\\bak\\";
    QTest::newRow("Windows drive root") << "D:\\" << "D:\\";
    QTest::newRow("folder") << "/home/studio/bak" << "/home/studio/bak/";
    QTest::newRow("root") << "/" << "/";
}

void TestCompanyWindow::backupFolderGetsItsSeparator() {
    QFETCH(QString, chosen);
    QFETCH(QString, stored);
    QCOMPARE(masterdata::backupFolderText(chosen), stored);
}

void TestCompanyWindow::folderChoiceAsksForTheStorageLocation() {
    TBM_GSXX& window = openWindow();
    dialogs_->chooseNext("/media/usb");
    window.Image2->click();
    QCOMPARE(window.Edit2->text(), QString("/media/usb/"));
    const ui::FileRequest& request = dialogs_->fileRequests().last();
    QCOMPARE(request.kind, ui::FileRequest::Kind::Folder);
    QCOMPARE(request.caption, QString("请指定存放位置"));
    QVERIFY(request.directory.isEmpty());
}

void TestCompanyWindow::closingAppliesTheStoredPictureAndName() {
    picture("bg.png");
    fixture_->execute("update BM_GSXX set LOG='bg.png', GSMC='禾岚影楼'");
    TBM_GSXX& window = openWindow();
    QSignalSpy pictures(&window, &TBM_GSXX::backgroundPictureChanged);
    QSignalSpy names(&window, &TBM_GSXX::companyNameChanged);
    window.GSMC->setText("没有保存的名称");
    window.Edit1->setText("other.png");
    window.BitBtn2->click();
    QVERIFY(!window.isVisible());
    QCOMPARE(pictures.count(), 1);
    QCOMPARE(pictures.first().first().toString(), fixture_->path("bg.png"));
    QCOMPARE(names.count(), 1);
    QCOMPARE(names.first().first().toString(), QString("禾岚影楼"));
    QVERIFY(dialogs_->messages().isEmpty());
}

void TestCompanyWindow::closingWithABadPictureFallsBackToImageJpg_data() {
    QTest::addColumn<QString>("log");
    QTest::newRow("missing file") << "'nothere.png'";
    QTest::newRow("empty") << "''";
    QTest::newRow("null") << "null";
    QTest::newRow("not a picture") << "'notes.txt'";
}

void TestCompanyWindow::closingWithABadPictureFallsBackToImageJpg() {
    QFETCH(QString, log);
    picture("image.jpg");
    QFile notes(fixture_->path("notes.txt"));
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.write("not a picture");
    notes.close();
    fixture_->execute("update BM_GSXX set LOG=" + log);
    TBM_GSXX& window = openWindow();
    QSignalSpy pictures(&window, &TBM_GSXX::backgroundPictureChanged);
    QSignalSpy names(&window, &TBM_GSXX::companyNameChanged);
    QVERIFY(window.close());
    QCOMPARE(pictures.count(), 1);
    QCOMPARE(pictures.first().first().toString(), fixture_->path("image.jpg"));
    QCOMPARE(names.count(), 0);
    QCOMPARE(dialogs_->messages().size(), 1);
    const ui::MessageRequest& box = dialogs_->messages().first();
    QCOMPARE(box.text, QString("背景图片路径不正确  "));
    QCOMPARE(box.caption, QString("提示"));
    QCOMPARE(box.icon, ui::Icon::Information);
}

void TestCompanyWindow::closingWhenImageJpgFailsToo() {
    fixture_->execute("update BM_GSXX set LOG='nothere.png'");
    TBM_GSXX& window = openWindow();
    QSignalSpy pictures(&window, &TBM_GSXX::backgroundPictureChanged);
    QSignalSpy names(&window, &TBM_GSXX::companyNameChanged);
    QVERIFY(window.close());
    QVERIFY(!window.isVisible());
    QCOMPARE(pictures.count(), 0);
    QCOMPARE(names.count(), 0);
    QCOMPARE(dialogs_->texts(), QStringList({"背景图片路径不正确  ",
                                             "无法载入默认背景图片“" + fixture_->path("image.jpg") + "”"}));
}

void TestCompanyWindow::ctrlF12ShowsTheSqlTool() {
    TBM_GSXX& window = openWindow();
    masterdata::TSQL_YJ& tool = masterdata::TSQL_YJ::instance(fixture_->dm());
    QVERIFY(!tool.isVisible());
    QTest::keyClick(window.DH, Qt::Key_F12);
    QVERIFY(!tool.isVisible());
    QTest::keyClick(window.DH, Qt::Key_F12, Qt::ControlModifier);
    QVERIFY(tool.isVisible());
    QCOMPARE(tool.windowTitle(), QString("数据分析工具"));
}

void TestCompanyWindow::enterMovesToTheNextEdit() {
    TBM_GSXX& window = openWindow();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.GSMC->setFocus();
    QTest::keyClick(window.GSMC, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), window.DH);
    QCOMPARE(window.Label3->buddy(), window.DZ);
}

QTEST_MAIN(TestCompanyWindow)
#include "test_companywindow.moc"
