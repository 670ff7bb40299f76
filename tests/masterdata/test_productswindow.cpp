#include "dataset/DatasetModel.h"
#include "masterdata/BMTP.h"
#include "masterdata/DBNavigator.h"
#include "masterdata/DataGrid.h"
#include "masterdata/Form_SP.h"
#include "masterdata/ListSaving.h"
#include "masterdata/PictureView.h"
#include "masterdata/ProductList.h"
#include "support/ProgramFixture.h"
#include "support/ScriptedDialogs.h"

#include <QCheckBox>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

using masterdata::TFormSP;
using ui::Button;

// The products window on a fresh account set with categories 01 (婚纱), 1, 10, 11, 1A, 2
// and products: P1..P3 in 01, A in 1, B in 10, C in 11, D in 1A, E in 2, F without category.
class TestProductsWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void treeListsCategoriesUnderTheRoot();
    void categoryListsProductsByCodePrefix_data();
    void categoryListsProductsByCodePrefix();
    void gridShowsTheProductColumns();
    void filterMatchesCodeNameAndPinyin_data();
    void filterMatchesCodeNameAndPinyin();
    void filterStaysOnANewCategoryAndClears();
    void insertUnderACategoryTakesItsCode();
    void insertUnderTheRootAsksForACategory();
    void deleteIsRefusedForAProductInAnOrder();
    void deleteRemovesAnUnusedProductAtOnce();
    void saveWritesTheEditedRow();
    void saveFailsOnADuplicateCode();
    void closingQuestion_data();
    void closingQuestion();
    void browsingOnlyClosesWithoutAQuestion();
    void regenerationAsksFirst();
    void regenerationOverwritesEveryVisitedRow();
    void regenerationVisitsOnlyTheFilteredRows();
    void regenerationFailurePartWayKeepsTheRowsDone();
    void exportAsksWhereToSaveTheList();
    void previewShowsTheRowsPicture();
    void doubleClickOpensThePictureWindowAndKeepsTheRow();

private:
    TFormSP& openWindow();
    QStringList listedCodes() const;
    void selectCategory(const QString& code);
    void clickNavigator(const char* button);
    void setCell(const QString& column, const QVariant& value);
    QString picture(const QString& name);

    std::unique_ptr<ProgramFixture> fixture_;
    std::unique_ptr<ScriptedDialogs> dialogs_;
    std::unique_ptr<TFormSP> window_;
};

void TestProductsWindow::init() {
    fixture_ = std::make_unique<ProgramFixture>(true);
    dialogs_ = std::make_unique<ScriptedDialogs>();
    for (const char* category : {"01", "1", "10", "11", "1A", "2"})
        fixture_->execute(QStringLiteral("insert into BM_SPLB(BM,MC) values ('%1','类%1')").arg(category));
    fixture_->execute("update BM_SPLB set MC='婚纱' where BM='01'");
    fixture_->addProduct("P1", "白色婚纱", 50, 500, 3, 0, "01");
    fixture_->addProduct("P2", "佳能EOS相机", 80, 2000, 2, 0, "01");
    fixture_->addProduct("P3", "鑫源礼服", 30, 300, 1, 0, "01");
    for (const char* code : {"1", "10", "11", "1A", "2"})
        fixture_->addProduct(QStringLiteral("X%1").arg(code), QStringLiteral("商品%1").arg(code), 1, 1, 1, 0, code);
    fixture_->addProduct("F", "无类别", 1, 1, 1, 0, QString());
    fixture_->execute("update BM_SP set LB=null where BM='F'");
    fixture_->execute("update BM_SP set JP='BSHS' where BM='P1'");
}

void TestProductsWindow::cleanup() {
    window_.reset();
    dialogs_.reset();
    fixture_.reset();
}

TFormSP& TestProductsWindow::openWindow() {
    window_ = std::make_unique<TFormSP>(fixture_->dm());
    window_->show();
    return *window_;
}

QStringList TestProductsWindow::listedCodes() const {
    QStringList codes;
    for (int row = 0; row < window_->Query_SP.recordCount(); ++row)
        codes << window_->Query_SP.record(row).text("BM");
    return codes;
}

void TestProductsWindow::selectCategory(const QString& code) {
    const QList<QTreeWidgetItem*> nodes =
        window_->TV_LB->findItems(code + ".", Qt::MatchStartsWith | Qt::MatchRecursive);
    QVERIFY(!nodes.isEmpty());
    window_->TV_LB->setCurrentItem(nodes.first());
}

void TestProductsWindow::clickNavigator(const char* button) {
    auto* found = window_->DBNavigator1->findChild<QToolButton*>(QLatin1String(button));
    QVERIFY(found);
    QVERIFY(found->isEnabled());
    found->click();
}

void TestProductsWindow::setCell(const QString& column, const QVariant& value) {
    dataset::DatasetModel* model = window_->DBGridEh1->datasetModel();
    QVERIFY(model->setData(model->index(window_->Query_SP.row(), model->modelColumn(column)), value));
}

QString TestProductsWindow::picture(const QString& name) {
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    const QString file = fixture_->path(name);
    image.save(file, "PNG");
    return file;
}

void TestProductsWindow::treeListsCategoriesUnderTheRoot() {
    TFormSP& window = openWindow();
    QCOMPARE(window.windowTitle(), QString("商品资料"));
    QCOMPARE(window.TV_LB->topLevelItemCount(), 1);
    QTreeWidgetItem* root = window.TV_LB->topLevelItem(0);
    QCOMPARE(root->text(0), QString("商品类别"));
    QVERIFY(root->isExpanded());
    QCOMPARE(window.TV_LB->currentItem(), root);
    QStringList children;
    for (int i = 0; i < root->childCount(); ++i)
        children << root->child(i)->text(0);
    QCOMPARE(children, QStringList({"01.婚纱", "1.类1", "10.类10", "11.类11", "1A.类1A", "2.类2"}));
    QCOMPARE(window.currentCategory(), QString("%"));
    QCOMPARE(window.Edit2->text(), QString("8"));
    QVERIFY(!window.isMarked());
}

void TestProductsWindow::categoryListsProductsByCodePrefix_data() {
    QTest::addColumn<QString>("category");
    QTest::addColumn<QStringList>("codes");
    QTest::newRow("1 lists 10, 11 and 1A too") << "1" << QStringList({"X1", "X10", "X11", "X1A"});
    QTest::newRow("10 alone") << "10" << QStringList({"X10"});
    QTest::newRow("01 in code order") << "01" << QStringList({"P1", "P2", "P3"});
    QTest::newRow("2") << "2" << QStringList({"X2"});
}

void TestProductsWindow::categoryListsProductsByCodePrefix() {
    QFETCH(QString, category);
    QFETCH(QStringList, codes);
    TFormSP& window = openWindow();
    QCOMPARE(listedCodes(), QStringList({"P1", "P2", "P3", "X1", "X10", "X11", "X1A", "X2"}));  // F has no category
    selectCategory(category);
    QCOMPARE(window.currentCategory(), category);
    QCOMPARE(listedCodes(), codes);
    QCOMPARE(window.Edit2->text(), QString::number(codes.size()));
    QCOMPARE(masterdata::productListStatement(category),
             "select * from bm_sp\nwhere LB like '" + category + "%' order by BM");
}

void TestProductsWindow::gridShowsTheProductColumns() {
    TFormSP& window = openWindow();
    dataset::DatasetModel* model = window.DBGridEh1->datasetModel();
    QStringList headers;
    for (int c = 0; c < model->columnCount(); ++c)
        headers << model->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(headers, QStringList({"商品编码", "商品名称", "单位", "价格", "押金", "租金", "库存数量", "租出数量",
                                   "简拼", "类别"}));
    QCOMPARE(model->data(model->index(0, model->modelColumn("ZJ"))).toString(), QString("50.00"));
    QVERIFY(!(model->flags(model->index(0, model->modelColumn("JCSL"))) & Qt::ItemIsEditable));
    QVERIFY(model->flags(model->index(0, model->modelColumn("KCSL"))) & Qt::ItemIsEditable);
    QCOMPARE(window.Label1->buddy(), window.Edit1);
    QCOMPARE(window.SpeedButton2->text(), QString("简拼[&J]"));
}

void TestProductsWindow::filterMatchesCodeNameAndPinyin_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("codes");
    QTest::newRow("pinyin, lower case") << "bshs" << QStringList({"P1"});
    QTest::newRow("name") << "相机" << QStringList({"P2"});
    QTest::newRow("code") << "x1" << QStringList({"X1", "X10", "X11", "X1A"});
    QTest::newRow("nothing matches") << "zzz" << QStringList();
    QTest::newRow("wildcards are plain characters") << "%" << QStringList();
    QTest::newRow("a quote is plain text") << "'" << QStringList();
}

void TestProductsWindow::filterMatchesCodeNameAndPinyin() {
    QFETCH(QString, text);
    QFETCH(QStringList, codes);
    TFormSP& window = openWindow();
    window.Edit1->setText(text);
    QCOMPARE(listedCodes(), codes);
    QCOMPARE(window.Edit2->text(), QString("8"));  // the count of the whole category stays
}

void TestProductsWindow::filterStaysOnANewCategoryAndClears() {
    TFormSP& window = openWindow();
    window.Edit1->setText("X1");
    selectCategory("10");
    QCOMPARE(listedCodes(), QStringList({"X10"}));
    selectCategory("2");
    QCOMPARE(listedCodes(), QStringList());
    QCOMPARE(window.Edit2->text(), QString("0"));
    window.Edit1->clear();
    QCOMPARE(listedCodes(), QStringList({"X2"}));
}

void TestProductsWindow::insertUnderACategoryTakesItsCode() {
    TFormSP& window = openWindow();
    selectCategory("01");
    window.Query_SP.first();
    clickNavigator("nbInsert");
    QCOMPARE(window.Query_SP.state(), dataset::Dataset::State::Insert);
    QCOMPARE(window.Query_SP.row(), 3);  // appended at the end, not before the current row
    QCOMPARE(window.Query_SP.field("LB").asString(), QString("01"));
    QVERIFY(window.Query_SP.field("BM").isNull());
    QVERIFY(window.isMarked());
    QVERIFY(dialogs_->messages().isEmpty());

    setCell("BM", "P4");
    setCell("MC", "红色旗袍");
    window.SpeedButton1->click();
    QCOMPARE(dialogs_->lastText(), QString("保存成功！"));
    QCOMPARE(dialogs_->messages().last().icon, ui::Icon::None);
    QCOMPARE(fixture_->scalar("select LB from BM_SP where BM='P4'").toString(), QString("01"));
    QVERIFY(!window.isMarked());
}

void TestProductsWindow::insertUnderTheRootAsksForACategory() {
    TFormSP& window = openWindow();
    clickNavigator("nbInsert");
    QCOMPARE(dialogs_->lastText(), QString("请选择类别！"));
    QCOMPARE(window.Query_SP.state(), dataset::Dataset::State::Insert);
    QCOMPARE(window.Query_SP.row(), 8);
    QVERIFY(window.Query_SP.field("LB").isNull());
    QVERIFY(!window.isMarked());
}

void TestProductsWindow::deleteIsRefusedForAProductInAnOrder() {
    fixture_->execute("insert into XSD_MX(ID,SPBM,SL) values ('2025010100100001','P2',1)");
    TFormSP& window = openWindow();
    QVERIFY(window.Query_SP.locate("BM", "P2"));
    clickNavigator("nbDelete");
    QCOMPARE(dialogs_->messages().size(), 1);
    const ui::MessageRequest& box = dialogs_->messages().first();
    QCOMPARE(box.text, QString("当前商品在出租、归还单使用过，无法删除！"));
    QCOMPARE(box.caption, QString("提示："));
    QCOMPARE(box.icon, ui::Icon::Warning);
    QCOMPARE(window.Query_SP.field("BM").asString(), QString("P2"));
    QCOMPARE(fixture_->scalar("select count(*) from BM_SP where BM='P2'").toInt(), 1);
    QVERIFY(!window.isMarked());
}

void TestProductsWindow::deleteRemovesAnUnusedProductAtOnce() {
    TFormSP& window = openWindow();
    QVERIFY(window.Query_SP.locate("BM", "P3"));
    clickNavigator("nbDelete");
    QVERIFY(dialogs_->messages().isEmpty());  // deletes without asking
    QCOMPARE(fixture_->scalar("select count(*) from BM_SP where BM='P3'").toInt(), 0);
    QVERIFY(!listedCodes().contains("P3"));
    QVERIFY(window.isMarked());
}

void TestProductsWindow::saveWritesTheEditedRow() {
    TFormSP& window = openWindow();
    QVERIFY(window.Query_SP.locate("BM", "P1"));
    setCell("ZJ", "66.5");
    QVERIFY(window.isMarked());
    QCOMPARE(fixture_->scalar("select ZJ from BM_SP where BM='P1'").toDouble(), 50.0);
    window.SpeedButton1->click();
    QCOMPARE(fixture_->scalar("select ZJ from BM_SP where BM='P1'").toDouble(), 66.5);
    QVERIFY(!fixture_->connection().inTransaction());
}

void TestProductsWindow::saveFailsOnADuplicateCode() {
    TFormSP& window = openWindow();
    selectCategory("01");
    clickNavigator("nbInsert");
    setCell("BM", "P1");
    setCell("MC", "重复");
    window.SpeedButton1->click();
    const ui::MessageRequest& box = dialogs_->messages().last();
    QCOMPARE(box.text, QString("编码存在重复无法保存，请删除重复后重试"));
    QCOMPARE(box.caption, QString("提示"));
    QCOMPARE(box.icon, ui::Icon::Warning);
    QVERIFY(window.isMarked());
    QCOMPARE(window.Query_SP.state(), dataset::Dataset::State::Insert);
    QCOMPARE(fixture_->scalar("select count(*) from BM_SP where BM='P1'").toInt(), 1);
    QVERIFY(!fixture_->connection().inTransaction());
}

void TestProductsWindow::closingQuestion_data() {
    QTest::addColumn<ui::Button>("answer");
    QTest::addColumn<bool>("duplicate");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QString>("storedName");
    QTest::addColumn<QStringList>("texts");
    const QString question = masterdata::kSaveQuestion;
    const QString failed = masterdata::kSaveFailedText;
    QTest::newRow("Yes saves and closes") << Button::Yes << false << true << "改名" << QStringList{question};
    QTest::newRow("No drops the edit") << Button::No << false << true << "白色婚纱" << QStringList{question};
    QTest::newRow("Cancel stays") << Button::Cancel << false << false << "白色婚纱" << QStringList{question};
    QTest::newRow("Yes failing stays with its edits")
        << Button::Yes << true << false << "白色婚纱" << QStringList{question, failed};
}

void TestProductsWindow::closingQuestion() {
    QFETCH(ui::Button, answer);
    QFETCH(bool, duplicate);
    QFETCH(bool, closed);
    QFETCH(QString, storedName);
    QFETCH(QStringList, texts);
    TFormSP& window = openWindow();
    QVERIFY(window.Query_SP.locate("BM", "P1"));
    setCell("MC", "改名");
    if (duplicate)
        setCell("BM", "P2");

    dialogs_->answerNext(answer);
    QCOMPARE(window.close(), closed);
    QCOMPARE(dialogs_->texts(), texts);
    const ui::MessageRequest& question = dialogs_->messages().first();
    QCOMPARE(question.caption, QString("提示"));
    QCOMPARE(question.icon, ui::Icon::Information);
    QCOMPARE(question.buttons, Button::Yes | Button::No | Button::Cancel);
    QCOMPARE(fixture_->scalar("select MC from BM_SP where BM='P1'").toString(), storedName);
    if (!closed) {
        QVERIFY(window.isMarked());
        QCOMPARE(window.Query_SP.field("MC").asString(), QString("改名"));
    }
}

void TestProductsWindow::browsingOnlyClosesWithoutAQuestion() {
    TFormSP& window = openWindow();
    selectCategory("1");
    clickNavigator("nbLast");
    window.Edit1->setText("X");
    QVERIFY(window.close());
    QVERIFY(dialogs_->messages().isEmpty());
}

void TestProductsWindow::regenerationAsksFirst() {
    TFormSP& window = openWindow();
    window.SpeedButton2->click();  // unscripted: the default button No
    const ui::MessageRequest& box = dialogs_->messages().last();
    QCOMPARE(box.text, QString("您确定要重新生成简拼吗？"));
    QCOMPARE(box.caption, QString("提示"));
    QCOMPARE(box.icon, ui::Icon::Question);
    QCOMPARE(box.buttons, Button::Yes | Button::No);
    QCOMPARE(box.defaultButton, Button::No);
    QCOMPARE(fixture_->scalar("select JP from BM_SP where BM='P1'").toString(), QString("BSHS"));
    QVERIFY(!window.isMarked());

    window.Edit1->setText("nothing like this");
    dialogs_->clear();
    window.SpeedButton2->click();
    QVERIFY(dialogs_->messages().isEmpty());  // an empty list asks nothing
}

void TestProductsWindow::regenerationOverwritesEveryVisitedRow() {
    TFormSP& window = openWindow();
    selectCategory("01");
    QVERIFY(window.Query_SP.locate("BM", "P2"));
    setCell("JP", "TYPED");
    dialogs_->answerNext(Button::Yes);
    window.SpeedButton2->click();
    QCOMPARE(dialogs_->messages().size(), 1);  // no closing message
    QCOMPARE(fixture_->scalar("select JP from BM_SP where BM='P1'").toString(), QString("BSHS"));
    QCOMPARE(fixture_->scalar("select JP from BM_SP where BM='P2'").toString(), QString("JNEOSXJ"));
    QCOMPARE(fixture_->scalar("select JP from BM_SP where BM='P3'").toString(), QString("XYLF"));
    QCOMPARE(fixture_->scalar("select JP from BM_SP where BM='X1'").toString(), QString());  // other category
    QCOMPARE(window.Query_SP.row(), 0);
    QCOMPARE(window.Query_SP.state(), dataset::Dataset::State::Browse);
    QVERIFY(!window.Query_SP.controlsDisabled());
    QVERIFY(window.isMarked());
    QVERIFY(!fixture_->connection().inTransaction());
    auto* progress = window.findChild<QWidget*>("formspzx");
    QVERIFY(!progress || !progress->isVisible());
}

void TestProductsWindow::regenerationVisitsOnlyTheFilteredRows() {
    fixture_->execute("update BM_SP set JP='OLD'");
    TFormSP& window = openWindow();
    window.Edit1->setText("婚纱");
    dialogs_->answerNext(Button::Yes);
    window.SpeedButton2->click();
    QCOMPARE(fixture_->scalar("select count(*) from BM_SP where JP='OLD'").toInt(), 8);
    QCOMPARE(fixture_->scalar("select JP from BM_SP where BM='P1'").toString(), QString("BSHS"));
    QCOMPARE(listedCodes(), QStringList({"P1"}));
}

void TestProductsWindow::regenerationFailurePartWayKeepsTheRowsDone() {
    fixture_->addProduct("P1B", QString(60, QLatin1Char('a')), 1, 1, 1, 0, "01");  // its code is too long for JP
    fixture_->execute("update BM_SP set JP='OLD' where LB='01'");
    TFormSP& window = openWindow();
    selectCategory("01");
    QCOMPARE(listedCodes(), QStringList({"P1", "P1B", "P2", "P3"}));
    dialogs_->answerNext(Button::Yes);
    window.SpeedButton2->click();

    QCOMPARE(dialogs_->messages().size(), 2);
    QCOMPARE(dialogs_->lastText(), QString("字段“简拼”的内容超过 50 个字符"));
    QCOMPARE(fixture_->scalar("select JP from BM_SP where BM='P1'").toString(), QString("BSHS"));
    QCOMPARE(fixture_->scalar("select JP from BM_SP where BM='P1B'").toString(), QString("OLD"));
    QCOMPARE(fixture_->scalar("select JP from BM_SP where BM='P2'").toString(), QString("OLD"));
    QCOMPARE(window.Query_SP.record(0).text("JP"), QString("BSHS"));
    QCOMPARE(window.Query_SP.record(1).text("JP"), QString("OLD"));
    QCOMPARE(window.Query_SP.state(), dataset::Dataset::State::Browse);
    QVERIFY(!window.Query_SP.controlsDisabled());
    QVERIFY(!fixture_->connection().inTransaction());
    QVERIFY(window.isMarked());
    QCOMPARE(window.DBGridEh1->model()->rowCount(), 4);  // the grid follows the dataset again
}

void TestProductsWindow::exportAsksWhereToSaveTheList() {
    TFormSP& window = openWindow();
    window.SpeedButton4->click();  // cancelled
    QCOMPARE(dialogs_->fileRequests().size(), 1);
    QCOMPARE(dialogs_->fileRequests().first().kind, ui::FileRequest::Kind::Save);
    QVERIFY(dialogs_->fileRequests().first().proposedName.startsWith("商品资料"));
    QVERIFY(dialogs_->messages().isEmpty());
}

void TestProductsWindow::previewShowsTheRowsPicture() {
    const QString file = picture("p1.png");
    fixture_->execute(QStringLiteral("update BM_SP set TP='%1' where BM='P1'").arg(file));
    fixture_->execute(QStringLiteral("update BM_SP set TP='%1' where BM='P2'").arg(fixture_->path("missing.png")));
    TFormSP& window = openWindow();
    QVERIFY(!window.Panel4->isVisibleTo(&window));
    QVERIFY(!window.CheckBox1->isChecked());

    dataset::DatasetModel* model = window.DBGridEh1->datasetModel();
    window.DBGridEh1CellClick(model->index(0, 0));
    QCOMPARE(window.Image1->fileName(), file);  // loaded while the panel is hidden
    window.CheckBox1->click();
    QVERIFY(window.Panel4->isVisibleTo(&window));
    window.DBGridEh1CellClick(model->index(1, 1));
    QVERIFY(window.Image1->isEmpty());
    window.DBGridEh1CellClick(model->index(0, 2));
    window.DBGridEh1CellClick(model->index(2, 0));  // no picture at all
    QVERIFY(window.Image1->isEmpty());
}

void TestProductsWindow::doubleClickOpensThePictureWindowAndKeepsTheRow() {
    TFormSP& window = openWindow();
    masterdata::TBM_TP& pictures = masterdata::TBM_TP::instance(fixture_->dm());
    dataset::DatasetModel* model = window.DBGridEh1->datasetModel();
    QVERIFY(window.Query_SP.moveTo(1));
    window.DBGridEh1->setCurrentIndex(model->index(2, 1));
    window.DBGridEh1DblClick(model->index(2, 1));
    QVERIFY(pictures.isVisible());
    QCOMPARE(pictures.PictureProductCode, QString("P3"));
    QCOMPARE(pictures.PictureCaller, QString("SP"));

    const QString file = picture("p3.png");
    dialogs_->chooseNext(file);
    pictures.BitBtn1Click();
    QVERIFY(pictures.close());
    QCOMPARE(fixture_->scalar("select TP from BM_SP where BM='P3'").toString(), file);
    QCOMPARE(window.Query_SP.recordNo(), 3);
    QCOMPARE(window.Query_SP.field("TP").asString(), file);  // the list was read again
    QCOMPARE(window.DBGridEh1->currentIndex().row(), 2);
}

QTEST_MAIN(TestProductsWindow)
#include "test_productswindow.moc"
