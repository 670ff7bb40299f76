#include "dataset/DatasetModel.h"

#include <QItemSelectionModel>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

using dataset::Dataset;
using dataset::DatasetModel;
using dataset::Footer;

// Order lines in memory: ID hidden, SPBM, SPMC, KCSL, SL, YJ "#0.00", BZ.
class TestDatasetModel : public QObject {
    Q_OBJECT

private slots:
    void init();

    void showsVisibleColumnsUnderTheirLabels();
    void showsDisplayTextAndAlignment_data();
    void showsDisplayTextAndAlignment();
    void footers_data();
    void footers();
    void footersFollowTheFilter();
    void editsGoThroughTheDataset();
    void refusesEditsWhereNotEditable();
    void reportsRefusedValues();
    void followsRowsInsertedAndRemoved();
    void disabledControlsHoldTheViewsBack();
    void keepsTheCurrentRowWithTheView();
    void cancelledNewRowIsNotPostedByTheView();

private:
    void addLine(const QString& code, const char* stock, const char* quantity, const char* deposit);

    std::unique_ptr<Dataset> lines_;
};

void TestDatasetModel::init() {
    lines_ = std::make_unique<Dataset>();
    lines_->addColumn("ID", sql::FieldType::Text, 16).setVisible(false);
    lines_->addColumn("SPBM", sql::FieldType::Text, 50).setDisplayLabel("商品编码");
    lines_->addColumn("SPMC", sql::FieldType::Text, 50).setDisplayLabel("商品名称");
    lines_->addColumn("KCSL", sql::FieldType::Decimal).setDisplayLabel("库存数量");
    lines_->addColumn("SL", sql::FieldType::Decimal).setDisplayLabel("租赁数量");
    lines_->addColumn("YJ", sql::FieldType::Decimal).setDisplayLabel("押金").setDisplayFormat("#0.00");
    lines_->addColumn("BZ", sql::FieldType::Text, 50);
    lines_->createInMemory();
    addLine("01", "5", "2", "100");
    addLine("02", "1", "1.5", "20.5");
    addLine("03", "0", "", "");
    lines_->first();
}

void TestDatasetModel::addLine(const QString& code, const char* stock, const char* quantity, const char* deposit) {
    lines_->append();
    lines_->field("ID").setValue("A");
    lines_->field("SPBM").setValue(code);
    lines_->field("KCSL").setValue(stock);
    lines_->field("SL").setValue(quantity);
    lines_->field("YJ").setValue(deposit);
    lines_->post();
}

void TestDatasetModel::showsVisibleColumnsUnderTheirLabels() {
    DatasetModel model(lines_.get());

    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.columnCount(), 6);
    QStringList headers;
    for (int c = 0; c < model.columnCount(); ++c)
        headers << model.headerData(c, Qt::Horizontal).toString();
    QCOMPARE(headers, QStringList({"商品编码", "商品名称", "库存数量", "租赁数量", "押金", "BZ"}));
    QCOMPARE(model.modelColumn("id"), -1);
    QCOMPARE(model.modelColumn("sl"), 3);
    QCOMPARE(model.datasetColumn(3), lines_->indexOf("SL"));

    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    lines_->column("SPMC").setVisible(false);
    QCOMPARE(reset.count(), 1);
    QCOMPARE(model.columnCount(), 5);
    QCOMPARE(model.modelColumn("SL"), 2);
}

void TestDatasetModel::showsDisplayTextAndAlignment_data() {
    QTest::addColumn<QString>("column");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<int>("alignment");

    const int right = Qt::AlignRight | Qt::AlignVCenter;
    const int left = Qt::AlignLeft | Qt::AlignVCenter;
    QTest::newRow("formatted decimal") << "YJ" << 1 << "20.50" << "20.5" << right;
    QTest::newRow("whole decimal") << "YJ" << 0 << "100.00" << "100" << right;
    QTest::newRow("plain decimal") << "SL" << 1 << "1.5" << "1.5" << right;
    QTest::newRow("null decimal") << "YJ" << 2 << "" << "" << right;
    QTest::newRow("text") << "SPBM" << 2 << "03" << "03" << left;
}

void TestDatasetModel::showsDisplayTextAndAlignment() {
    QFETCH(QString, column);
    QFETCH(int, row);
    QFETCH(QString, display);
    QFETCH(QString, edit);
    QFETCH(int, alignment);

    DatasetModel model(lines_.get());
    const QModelIndex index = model.index(row, model.modelColumn(column));
    QCOMPARE(model.data(index, Qt::DisplayRole).toString(), display);
    QCOMPARE(model.data(index, Qt::EditRole).toString(), edit);
    QCOMPARE(model.data(index, Qt::TextAlignmentRole).toInt(), alignment);
}

void TestDatasetModel::footers_data() {
    QTest::addColumn<QString>("column");
    QTest::addColumn<Footer>("footer");
    QTest::addColumn<QString>("text");

    QTest::newRow("sum in its format") << "YJ" << Footer::sumOf("YJ") << "120.50";
    QTest::newRow("sum of another column") << "KCSL" << Footer::sumOf("SL") << "3.5";
    QTest::newRow("count") << "SPBM" << Footer::count() << "3";
    QTest::newRow("fixed text") << "SPBM" << Footer::fixedText("合 计：") << "合 计：";
    QTest::newRow("none") << "BZ" << Footer() << "";
}

void TestDatasetModel::footers() {
    QFETCH(QString, column);
    QFETCH(Footer, footer);
    QFETCH(QString, text);

    DatasetModel model(lines_.get());
    model.setFooter(column, footer);
    QCOMPARE(model.footerText(model.modelColumn(column)), text);
}

void TestDatasetModel::footersFollowTheFilter() {
    DatasetModel model(lines_.get());
    model.setFooter("YJ", Footer::sumOf("YJ"));
    QSignalSpy changed(&model, &DatasetModel::footersChanged);
    const int deposit = model.modelColumn("YJ");

    lines_->setFilterText("01", {"SPBM"});
    lines_->setFiltered(true);
    QVERIFY(changed.count() > 0);
    QCOMPARE(model.footerText(deposit), QStringLiteral("100.00"));

    lines_->edit();
    lines_->field("YJ").setValue("1");
    QCOMPARE(model.footerText(deposit), QStringLiteral("1.00"));
    lines_->setFiltered(false);
    QCOMPARE(model.footerText(deposit), QStringLiteral("21.50"));
}

void TestDatasetModel::editsGoThroughTheDataset() {
    DatasetModel model(lines_.get());
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    const QModelIndex quantity = model.index(1, model.modelColumn("SL"));

    QVERIFY(model.flags(quantity) & Qt::ItemIsEditable);
    QVERIFY(model.setData(quantity, QStringLiteral("4")));
    QCOMPARE(lines_->row(), 1);
    QCOMPARE(lines_->state(), Dataset::State::Edit);
    QCOMPARE(lines_->field("SL").asString(), QStringLiteral("4"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().at(0).value<QModelIndex>().row(), 1);

    // Another row: the edited one is posted when the cursor leaves it.
    QVERIFY(model.setData(model.index(0, model.modelColumn("BZ")), QStringLiteral("备注")));
    QCOMPARE(lines_->row(), 0);
    QCOMPARE(lines_->record(1).text("SL"), QStringLiteral("4"));
    lines_->cancel();
    QCOMPARE(model.data(model.index(0, model.modelColumn("BZ"))).toString(), QString());
}

void TestDatasetModel::refusesEditsWhereNotEditable() {
    DatasetModel model(lines_.get());
    lines_->column("KCSL").setReadOnly(true);
    model.setColumnEditable("SPMC", false);
    const QModelIndex stock = model.index(0, model.modelColumn("KCSL"));
    const QModelIndex name = model.index(0, model.modelColumn("SPMC"));
    const QModelIndex code = model.index(0, model.modelColumn("SPBM"));

    QVERIFY(!(model.flags(stock) & Qt::ItemIsEditable));
    QVERIFY(!(model.flags(name) & Qt::ItemIsEditable));
    QVERIFY(model.flags(code) & Qt::ItemIsEditable);
    QVERIFY(!model.setData(name, QStringLiteral("x")));
    QCOMPARE(lines_->state(), Dataset::State::Browse);

    lines_->edit();  // code may still write a column the grid keeps read-only
    lines_->field("SPMC").setValue("婚纱");
    lines_->post();

    model.setReadOnly(true);
    QVERIFY(!(model.flags(code) & Qt::ItemIsEditable));
    QVERIFY(!model.setData(code, QStringLiteral("x")));
    QCOMPARE(lines_->field("SPBM").asString(), QStringLiteral("01"));
}

void TestDatasetModel::reportsRefusedValues() {
    DatasetModel model(lines_.get());
    QSignalSpy errors(&model, &DatasetModel::errorOccurred);

    QVERIFY(!model.setData(model.index(0, model.modelColumn("YJ")), QStringLiteral("abc")));
    QCOMPARE(errors.count(), 1);
    QCOMPARE(errors.first().first().toString(), QStringLiteral("字段“押金”的值“abc”不是有效的数值"));
    QCOMPARE(lines_->field("YJ").asString(), QStringLiteral("100"));

    // A row that cannot be posted keeps the cursor: the view's move is refused.
    lines_->events().beforePost = [](Dataset&) { return false; };
    QVERIFY(model.setData(model.index(0, model.modelColumn("BZ")), QStringLiteral("x")));
    QVERIFY(!model.setCurrentIndex(model.index(2, 0)));
    QCOMPARE(lines_->row(), 0);
}

void TestDatasetModel::followsRowsInsertedAndRemoved() {
    DatasetModel model(lines_.get());
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    lines_->moveTo(1);

    lines_->insert();
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(inserted.first().at(1).toInt(), 1);
    QCOMPARE(model.rowCount(), 4);
    lines_->cancel();
    QCOMPARE(removed.count(), 1);
    QCOMPARE(model.rowCount(), 3);

    lines_->last();
    lines_->deleteRecord();
    QCOMPARE(removed.count(), 2);
    QCOMPARE(removed.last().at(1).toInt(), 2);
    QCOMPARE(model.rowCount(), 2);
}

void TestDatasetModel::disabledControlsHoldTheViewsBack() {
    DatasetModel model(lines_.get());
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);

    {
        dataset::ControlsDisabled quiet(*lines_);
        for (lines_->first(); !lines_->eof(); lines_->next()) {
            lines_->edit();
            lines_->field("BZ").setValue("x");
            lines_->post();
        }
        lines_->append();
        lines_->field("SPBM").setValue("04");
        lines_->post();
        QCOMPARE(model.rowCount(), 3);  // the views still see the rows they were told of
        QCOMPARE(changed.count(), 0);
        QCOMPARE(inserted.count(), 0);
        QCOMPARE(reset.count(), 0);
    }
    QCOMPARE(reset.count(), 1);
    QCOMPARE(model.rowCount(), 4);
    QCOMPARE(model.data(model.index(3, model.modelColumn("SPBM"))).toString(), QStringLiteral("04"));
    QCOMPARE(changed.count(), 0);
}

void TestDatasetModel::keepsTheCurrentRowWithTheView() {
    DatasetModel model(lines_.get());
    QItemSelectionModel selection(&model);
    model.followSelection(&selection);
    QCOMPARE(selection.currentIndex().row(), 0);

    lines_->moveTo(2);
    QCOMPARE(selection.currentIndex().row(), 2);
    selection.setCurrentIndex(model.index(1, 2), QItemSelectionModel::ClearAndSelect);
    QCOMPARE(lines_->row(), 1);
    QCOMPARE(model.currentIndex(4), model.index(1, 4));

    lines_->setFilterText("03", {"SPBM"});
    lines_->setFiltered(true);
    QCOMPARE(selection.currentIndex().row(), 0);
    QCOMPARE(model.rowCount(), 1);
}

// Removing the current row moves the view's current index; that move must not move the
// dataset, which would post the new row the operator is abandoning.
void TestDatasetModel::cancelledNewRowIsNotPostedByTheView() {
    DatasetModel model(lines_.get());
    QTableView grid;
    grid.setModel(&model);
    model.followSelection(grid.selectionModel());
    lines_->moveTo(1);
    lines_->insert();
    lines_->field("SPBM").setValue("04");
    QCOMPARE(grid.currentIndex().row(), 1);
    lines_->cancel();
    QCOMPARE(lines_->recordCount(), 3);
    QCOMPARE(lines_->state(), Dataset::State::Browse);
    QVERIFY(!lines_->locate("SPBM", "04"));
    QCOMPARE(grid.currentIndex().row(), lines_->row());
}

QTEST_MAIN(TestDatasetModel)
#include "test_datasetmodel.moc"

