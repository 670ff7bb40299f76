#include "dataset/DatasetModel.h"
#include "masterdata/DBNavigator.h"
#include "masterdata/DataGrid.h"
#include "masterdata/ListSaving.h"
#include "masterdata/SPLB.h"
#include "masterdata/YG.h"
#include "support/ProgramFixture.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QToolButton>
#include <QtTest>

using masterdata::ListForm;
using ui::Button;

// The categories and employees windows: the same list rules over BM_SPLB and BM_YG.
class TestListWindows : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void showsTheTableUnderItsCaptions_data();
    void showsTheTableUnderItsCaptions();
    void insertAppendsAndRaisesTheMark_data();
    void insertAppendsAndRaisesTheMark();
    void editingAndDeletingRaiseTheMark_data();
    void editingAndDeletingRaiseTheMark();
    void saveWritesInOneGoOrReportsADuplicate_data();
    void saveWritesInOneGoOrReportsADuplicate();
    void closingQuestion_data();
    void closingQuestion();
    void deletingANewRowDropsIt();
    void enterInTheGridMovesToTheNextCell();
    void employeesKeepTheirPasswordAndMayShareALogin();
    void categoryWithProductsCanBeDeleted();

private:
    ListForm& openWindow(const QString& which);
    QStringList column(const QString& name) const;
    void setCell(int row, const QString& column, const QVariant& value);
    void clickNavigator(const char* button);

    std::unique_ptr<ProgramFixture> fixture_;
    std::unique_ptr<ScriptedDialogs> dialogs_;
    std::unique_ptr<ListForm> window_;
    dataset::Dataset* query_ = nullptr;
};

void TestListWindows::init() {
    fixture_ = std::make_unique<ProgramFixture>();
    dialogs_ = std::make_unique<ScriptedDialogs>();
    for (const char* category : {"02", "01", "03"})  // the categories list keeps the table's order
        fixture_->execute(QStringLiteral("insert into BM_SPLB(BM,MC) values ('%1','类%1')").arg(category));
    fixture_->addEmployee("003", "王五", "ww", "123");
    fixture_->addEmployee("002", "李四", "ls");
}

void TestListWindows::cleanup() {
    window_.reset();
    dialogs_.reset();
    fixture_.reset();
}

ListForm& TestListWindows::openWindow(const QString& which) {
    if (which == "SPLB") {
        auto* categories = new masterdata::TBM_SPLB(fixture_->dm());
        query_ = &categories->Query_SPLB;
        window_.reset(categories);
    } else {
        auto* employees = new masterdata::TBM_YG(fixture_->dm());
        query_ = &employees->Query_YG;
        window_.reset(employees);
    }
    window_->show();
    return *window_;
}

QStringList TestListWindows::column(const QString& name) const {
    QStringList values;
    for (int row = 0; row < query_->recordCount(); ++row)
        values << query_->record(row).text(name);
    return values;
}

void TestListWindows::setCell(int row, const QString& column, const QVariant& value) {
    dataset::DatasetModel* model = window_->DBGridEh1->datasetModel();
    QVERIFY(model->setData(model->index(row, model->modelColumn(column)), value));
}

void TestListWindows::clickNavigator(const char* button) {
    auto* found = window_->DBNavigator1->findChild<QToolButton*>(QLatin1String(button));
    QVERIFY(found);
    found->click();
}

void TestListWindows::showsTheTableUnderItsCaptions_data() {
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("headers");
    QTest::addColumn<QStringList>("codes");
    QTest::newRow("categories") << "SPLB" << "商品类别" << QStringList({"编码", "名称"})
                                << QStringList({"02", "01", "03"});
    QTest::newRow("employees") << "YG" << "员工资料"
                               << QStringList({"编码", "姓名", "登录名称", "电话", "地址", "生日", "生日备注", "备注"})
                               << QStringList({"001", "002", "003"});
}

void TestListWindows::showsTheTableUnderItsCaptions() {
    QFETCH(QString, which);
    QFETCH(QString, caption);
    QFETCH(QStringList, headers);
    QFETCH(QStringList, codes);
    ListForm& window = openWindow(which);
    QCOMPARE(window.windowTitle(), caption);
    dataset::DatasetModel* model = window.DBGridEh1->datasetModel();
    QStringList shown;
    for (int c = 0; c < model->columnCount(); ++c)
        shown << model->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(shown, headers);
    QCOMPARE(column("BM"), codes);
    QStringList buttons;
    for (const QToolButton* button : window.DBNavigator1->findChildren<QToolButton*>())
        buttons << button->objectName();
    QCOMPARE(buttons, QStringList({"nbInsert", "nbDelete"}));
    QCOMPARE(window.SpeedButton1->text(), QString("保存[&S]"));
    QCOMPARE(window.SpeedButton5->text(), QString("退出[&E]"));
    QVERIFY(!window.isMarked());
}

void TestListWindows::insertAppendsAndRaisesTheMark_data() {
    QTest::addColumn<QString>("which");
    QTest::newRow("categories") << "SPLB";
    QTest::newRow("employees") << "YG";
}

void TestListWindows::insertAppendsAndRaisesTheMark() {
    QFETCH(QString, which);
    ListForm& window = openWindow(which);
    query_->first();
    clickNavigator("nbInsert");
    QCOMPARE(query_->state(), dataset::Dataset::State::Insert);
    QCOMPARE(query_->row(), 3);
    QVERIFY(query_->field("BM").isNull());
    QVERIFY(query_->field("MC").isNull());
    QVERIFY(window.isMarked());
}

void TestListWindows::editingAndDeletingRaiseTheMark_data() {
    QTest::addColumn<QString>("which");
    QTest::addColumn<bool>("deleting");
    QTest::newRow("categories, edit") << "SPLB" << false;
    QTest::newRow("categories, delete") << "SPLB" << true;
    QTest::newRow("employees, edit") << "YG" << false;
    QTest::newRow("employees, delete") << "YG" << true;
}

void TestListWindows::editingAndDeletingRaiseTheMark() {
    QFETCH(QString, which);
    QFETCH(bool, deleting);
    ListForm& window = openWindow(which);
    const QString table = which == "SPLB" ? "BM_SPLB" : "BM_YG";
    if (deleting) {
        QVERIFY(query_->moveTo(1));
        clickNavigator("nbDelete");
        QVERIFY(dialogs_->messages().isEmpty());
        QCOMPARE(fixture_->scalar("select count(*) from " + table).toInt(), 2);  // removed at once
    } else {
        setCell(1, "MC", "新名");
    }
    QVERIFY(window.isMarked());
    window.SpeedButton1->click();
    QCOMPARE(dialogs_->lastText(), QString("保存成功！"));
    QVERIFY(!window.isMarked());
    QCOMPARE(fixture_->scalar("select count(*) from " + table + " where MC='新名'").toInt(), deleting ? 0 : 1);
}

void TestListWindows::saveWritesInOneGoOrReportsADuplicate_data() {
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("saved");
    QTest::newRow("categories, new code") << "SPLB" << "04" << true;
    QTest::newRow("categories, duplicate") << "SPLB" << "01" << false;
    QTest::newRow("employees, new code") << "YG" << "004" << true;
    QTest::newRow("employees, duplicate") << "YG" << "002" << false;
}

void TestListWindows::saveWritesInOneGoOrReportsADuplicate() {
    QFETCH(QString, which);
    QFETCH(QString, code);
    QFETCH(bool, saved);
    ListForm& window = openWindow(which);
    const QString table = which == "SPLB" ? "BM_SPLB" : "BM_YG";
    clickNavigator("nbInsert");
    setCell(3, "BM", code);
    setCell(3, "MC", "新行");
    window.SpeedButton1->click();
    const ui::MessageRequest& box = dialogs_->messages().last();
    QCOMPARE(box.text, saved ? QString("保存成功！") : masterdata::kSaveFailedText);
    QCOMPARE(box.icon, saved ? ui::Icon::None : ui::Icon::Warning);
    QCOMPARE(box.caption, QString("提示"));
    QCOMPARE(window.isMarked(), !saved);
    QCOMPARE(fixture_->scalar("select count(*) from " + table + " where MC='新行'").toInt(), saved ? 1 : 0);
    QVERIFY(!fixture_->connection().inTransaction());
}

void TestListWindows::closingQuestion_data() {
    QTest::addColumn<QString>("which");
    QTest::addColumn<ui::Button>("answer");
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<int>("rowsStored");
    QTest::addColumn<int>("messages");
    QTest::newRow("categories, Yes") << "SPLB" << Button::Yes << "09" << true << 4 << 1;
    QTest::newRow("categories, No") << "SPLB" << Button::No << "09" << true << 3 << 1;
    QTest::newRow("categories, Cancel") << "SPLB" << Button::Cancel << "09" << false << 3 << 1;
    QTest::newRow("categories, Yes failing") << "SPLB" << Button::Yes << "02" << false << 3 << 2;
    QTest::newRow("employees, Yes") << "YG" << Button::Yes << "009" << true << 4 << 1;
    QTest::newRow("employees, No") << "YG" << Button::No << "009" << true << 3 << 1;
    QTest::newRow("employees, Yes failing") << "YG" << Button::Yes << "001" << false << 3 << 2;
}

void TestListWindows::closingQuestion() {
    QFETCH(QString, which);
    QFETCH(ui::Button, answer);
    QFETCH(QString, code);
    QFETCH(bool, closed);
    QFETCH(int, rowsStored);
    QFETCH(int, messages);
    ListForm& window = openWindow(which);
    clickNavigator("nbInsert");
    setCell(3, "BM", code);
    dialogs_->answerNext(answer);
    QCOMPARE(window.close(), closed);
    QCOMPARE(dialogs_->messages().size(), messages);
    QCOMPARE(dialogs_->messages().first().text, masterdata::kSaveQuestion);
    const QString table = which == "SPLB" ? "BM_SPLB" : "BM_YG";
    QCOMPARE(fixture_->scalar("select count(*) from " + table).toInt(), rowsStored);
    if (!closed) {
        QCOMPARE(query_->field("BM").asString(), code);  // the edits stay
        QVERIFY(window.isMarked());
    }
}

void TestListWindows::deletingANewRowDropsIt() {
    ListForm& window = openWindow("SPLB");
    clickNavigator("nbInsert");
    setCell(3, "BM", "09");
    clickNavigator("nbDelete");
    QCOMPARE(query_->recordCount(), 3);
    QCOMPARE(query_->state(), dataset::Dataset::State::Browse);
    QCOMPARE(fixture_->scalar("select count(*) from BM_SPLB").toInt(), 3);
    QCOMPARE(window.DBGridEh1->model()->rowCount(), 3);
}

void TestListWindows::enterInTheGridMovesToTheNextCell() {
    ListForm& window = openWindow("SPLB");
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    masterdata::DataGrid* grid = window.DBGridEh1;
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(0, 1));
    QTest::keyClick(grid, Qt::Key_Return);
    QCOMPARE(grid->currentIndex(), grid->model()->index(1, 0));  // past the last cell of the row
    QTest::keyClick(grid, Qt::Key_0);  // typing opens the cell editor
    QWidget* editor = QApplication::focusWidget();
    QVERIFY(editor && editor != grid && grid->isAncestorOf(editor));
    QTest::keyClick(editor, Qt::Key_7);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(QApplication::focusWidget(), grid);  // the delegate closes its editor from the event loop
    QCOMPARE(grid->currentIndex(), grid->model()->index(1, 1));
    QCOMPARE(query_->record(1).text("BM"), QString("07"));
    QVERIFY(window.isMarked());
}

void TestListWindows::employeesKeepTheirPasswordAndMayShareALogin() {
    openWindow("YG");
    QCOMPARE(window_->DBGridEh1->datasetModel()->modelColumn("MM"), -1);
    setCell(2, "MC", "王五五");
    setCell(2, "DLMC", "ls");
    window_->SpeedButton1->click();
    QCOMPARE(fixture_->scalar("select MM from BM_YG where BM='003'").toString(), QString("123"));
    QCOMPARE(fixture_->scalar("select count(*) from BM_YG where DLMC='ls'").toInt(), 2);
    QCOMPARE(dialogs_->lastText(), QString("保存成功！"));
}

void TestListWindows::categoryWithProductsCanBeDeleted() {
    fixture_->addProduct("P1", "婚纱", 1, 1, 1, 0, "01");
    openWindow("SPLB");
    QVERIFY(query_->locate("BM", "01"));
    clickNavigator("nbDelete");
    QCOMPARE(fixture_->scalar("select count(*) from BM_SPLB where BM='01'").toInt(), 0);
    QCOMPARE(fixture_->scalar("select LB from BM_SP where BM='P1'").toString(), QString("01"));
}

QTEST_MAIN(TestListWindows)
#include "test_listwindows.moc"
