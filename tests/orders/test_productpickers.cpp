#include "OrderWindowFixture.h"

#include "masterdata/DataGrid.h"
#include "orders/OrderTexts.h"
#include "orders/xsp.h"
#include "orders/xsp_x.h"
#include "shell/AppInfo.h"

#include <QLabel>
#include <QTreeWidget>

namespace {

using Fixture = OrderWindowFixture;

// The order window's fixture with a category tree: 01 婚纱, 02 相机, 0201 单反 (inside
// 02), 03 花束, 04 饰品. Products 01 and 05 are in 01, 02 in 02, 04 in 0201, 03 in 03;
// product 06 has no category.
struct PickerFixture : Fixture {
    PickerFixture() {
        const std::pair<const char*, const char*> categories[] = {
            {"01", "婚纱"}, {"02", "相机"}, {"0201", "单反"}, {"03", "花束"}, {"04", "饰品"}};
        for (const auto& [code, name] : categories)
            program.connection().execute("insert into bm_splb(bm,mc) values (:bm,:mc)", {{"bm", code}, {"mc", name}});
        program.execute("update bm_sp set lb='02' where bm='02'");
        program.execute("update bm_sp set lb='03' where bm='03'");
        program.execute("update bm_sp set lb='0201' where bm='04'");
        program.addProduct("06", "相框", 5, 0, 1, 0, QString());
        program.execute("update bm_sp set lb=null where bm='06'");
        newOrder();
    }

    orders::TXZSP& picker() { return orders::TXZSP::instance(program.dm()); }
    orders::Txspx& quickList() { return orders::Txspx::instance(program.dm()); }

    orders::TXZSP& showPicker() {
        picker().showFor(window);
        return picker();
    }
    // The tree node of a category ("%" for the root).
    QTreeWidgetItem* node(const QString& code) {
        QTreeWidgetItem* root = picker().TV_LB->topLevelItem(0);
        if (code == QLatin1String("%"))
            return root;
        for (int i = 0; i < root->childCount(); ++i)
            if (root->child(i)->data(0, Qt::UserRole).toString() == code)
                return root->child(i);
        return nullptr;
    }
    void chooseCategory(const QString& code) { picker().TV_LB->setCurrentItem(node(code)); }
    QStringList listed() {
        QStringList codes;
        const dataset::Dataset& products = picker().Query_SP;
        for (int row = 0; row < products.recordCount(); ++row)
            codes << products.record(row).text("BM");
        return codes;
    }
    // Types into a cell of the picker's list and presses Enter.
    void typeIntoPickerCell(int row, const char* column, const QString& text) {
        masterdata::DataGrid* grid = picker().DBGridEh1;
        const QModelIndex cell = grid->datasetModel()->index(row, grid->datasetModel()->modelColumn(QLatin1String(column)));
        grid->setFocus();
        grid->setCurrentIndex(cell);
        grid->edit(cell);
        QLineEdit* editor = nullptr;
        for (QLineEdit* candidate : grid->viewport()->findChildren<QLineEdit*>())
            if (candidate->isVisible())
                editor = candidate;
        QVERIFY(editor);
        editor->selectAll();
        typeKeys(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
    }
};

} // namespace

class TestProductPickers : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The root lists every product that has a category; a category lists its own and
    // those of the categories inside it.
    void fullPickerTreeAndCategories() {
        PickerFixture f;
        orders::TXZSP& picker = f.showPicker();
        QVERIFY(picker.isVisible());
        QCOMPARE(picker.windowTitle(), QStringLiteral("商品选择"));
        QTreeWidgetItem* root = picker.TV_LB->topLevelItem(0);
        QCOMPARE(root->text(0), QStringLiteral("商品类别"));
        QStringList labels;
        for (int i = 0; i < root->childCount(); ++i)
            labels << root->child(i)->text(0);
        QCOMPARE(labels, (QStringList{"01.婚纱", "02.相机", "0201.单反", "03.花束", "04.饰品"}));
        QCOMPARE(picker.TV_LB->currentItem(), root);
        QCOMPARE(f.listed(), (QStringList{"01", "02", "03", "04", "05"}));
        f.chooseCategory("02");
        QCOMPARE(f.listed(), (QStringList{"02", "04"}));
        f.chooseCategory("0201");
        QCOMPARE(f.listed(), QStringList{"04"});
        f.chooseCategory("04");
        QCOMPARE(f.listed(), QStringList{});

        QStringList titles;
        for (int column = 0; column < picker.DBGridEh1->model()->columnCount(); ++column)
            titles << picker.DBGridEh1->model()->headerData(column, Qt::Horizontal).toString();
        QCOMPARE(titles, (QStringList{"商品编码", "商品名称", "单位", "价格", "押金", "租金", "库存数量", "借出数量",
                                      "简拼", "类别"}));
    }

    // The filter keeps the rows whose code, name or pinyin contains the text, taken literally.
    void fullPickerFilter_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("codes");
        QTest::newRow("pinyin letters") << "hs" << QStringList{"03", "04"};
        QTest::newRow("part of a name") << "礼服" << QStringList{"01", "05"};
        QTest::newRow("code") << "05" << QStringList{"05"};
        QTest::newRow("percent sign is text") << "%" << QStringList{};
        QTest::newRow("underscore is text") << "_" << QStringList{};
    }
    void fullPickerFilter() {
        QFETCH(QString, typed);
        QFETCH(QStringList, codes);
        PickerFixture f;
        orders::TXZSP& picker = f.showPicker();
        Fixture::typeInto(picker.Edit1, typed);
        QCOMPARE(f.listed(), codes);
        picker.Edit1->clear();
        QCOMPARE(f.listed(), (QStringList{"01", "02", "03", "04", "05"}));
        f.chooseCategory("02");
        Fixture::typeInto(picker.Edit1, "j");  // the filter works on the chosen category
        QCOMPARE(f.listed(), QStringList{"02"});
    }

    // A new row takes the chosen category; under the root the operator is told to choose one.
    void fullPickerInsertNeedsACategory() {
        PickerFixture f;
        orders::TXZSP& picker = f.showPicker();
        picker.DBNavigator1->click(masterdata::DBNavigator::Button::Insert);
        QCOMPARE(f.dialogs.texts(), QStringList{QStringLiteral("请选择类别！")});
        QCOMPARE(f.dialogs.messages().first().caption, shell::kApplicationTitle);
        QCOMPARE(f.dialogs.messages().first().icon, ui::Icon::None);
        QVERIFY(picker.Query_SP.field("LB").isNull());
        QVERIFY(!picker.isMarked());

        f.chooseCategory("03");
        picker.DBNavigator1->click(masterdata::DBNavigator::Button::Insert);
        QCOMPARE(picker.Query_SP.field("LB").asString(), QStringLiteral("03"));
        QVERIFY(picker.isMarked());
    }

    // Save writes the edits; a failed save on closing keeps the picker open with its edits.
    void fullPickerSavesAndAsksOnClose() {
        PickerFixture f;
        orders::TXZSP& picker = f.showPicker();
        f.chooseCategory("03");
        f.typeIntoPickerCell(0, "MC", "花束套装");
        QVERIFY(picker.isMarked());
        f.dialogs.clear();
        QTest::mouseClick(picker.SpeedButton1, Qt::LeftButton);
        QCOMPARE(f.dialogs.texts(), QStringList{orders::texts::kSaved});
        QCOMPARE(f.dialogs.messages().first().caption, shell::kApplicationTitle);
        QCOMPARE(f.stored("select mc from bm_sp where bm='03'"), QStringLiteral("花束套装"));
        QVERIFY(!picker.isMarked());

        f.typeIntoPickerCell(0, "BM", "01");  // a code that is taken
        f.dialogs.clear();
        f.dialogs.answerNext(ui::Button::Yes);
        QVERIFY(!picker.close());
        QCOMPARE(f.dialogs.texts(), (QStringList{QStringLiteral("当前还没有保存，是否现在保存？"),
                                                 orders::texts::kSaveFailed}));
        QVERIFY(picker.isVisible());
        QCOMPARE(picker.Query_SP.field("BM").asString(), QStringLiteral("01"));

        f.dialogs.answerNext(ui::Button::No);
        QVERIFY(picker.close());
        QVERIFY(!picker.Query_SP.isOpen());
        QCOMPARE(f.stored("select count(*) from bm_sp where bm='03'"), QStringLiteral("1.00"));
    }

    // The pick becomes the product of the current line, or the first line of an order without lines.
    void fullPickerPicksIntoTheCurrentLine_data() {
        QTest::addColumn<bool>("withLine");
        QTest::addColumn<bool>("byPlusKey");
        QTest::newRow("first line, double click") << false << false;
        QTest::newRow("current line replaced, + key") << true << true;
    }
    void fullPickerPicksIntoTheCurrentLine() {
        QFETCH(bool, withLine);
        QFETCH(bool, byPlusKey);
        PickerFixture f;
        if (withLine) {
            f.addLineByCode("01");
            f.typeIntoCell(0, "SL", "3");
        }
        orders::TXZSP& picker = f.showPicker();
        QVERIFY(picker.Query_SP.locate("BM", "03"));
        if (byPlusKey)
            QTest::keyClick(picker.DBGridEh1, '+');
        else
            emit picker.DBGridEh1->doubleClicked(picker.DBGridEh1->currentIndex());
        QVERIFY(!picker.isVisible());
        QCOMPARE(f.lineCodes(), QStringList{"03"});
        QCOMPARE(f.line(0, "SPMC"), QStringLiteral("婚纱"));
        QCOMPARE(f.line(0, "SL"), QStringLiteral("1"));
        QCOMPARE(f.window->YS->text(), QStringLiteral("1080.00"));
        QCOMPARE(f.dialogs.texts(), QStringList{});
    }

    // Esc closes without a pick; a pick for another caller does nothing.
    void fullPickerEscAndOtherCallers() {
        PickerFixture f;
        orders::TXZSP& picker = f.showPicker();
        QTest::keyClick(picker.DBGridEh1, Qt::Key_Escape);
        QVERIFY(!picker.isVisible());

        f.showPicker();
        picker.PickerCaller = QStringLiteral("other");
        picker.DBGridEh1DblClick();
        QVERIFY(picker.isVisible());
        QCOMPARE(f.lineCodes(), QStringList{});
        picker.close();
    }

    void fullPickerExportsItsList() {
        PickerFixture f;
        orders::TXZSP& picker = f.showPicker();
        QVERIFY(picker.SpeedButton4->isEnabled());
        QTest::mouseClick(picker.SpeedButton4, Qt::LeftButton);
        QCOMPARE(f.dialogs.fileRequests().size(), 1);
        QCOMPARE(f.dialogs.fileRequests().first().kind, ui::FileRequest::Kind::Save);
        QCOMPARE(f.dialogs.fileRequests().first().proposedName, QStringLiteral("商品选择"));
    }

    // The quick list appends its pick as a new line and gives the focus back to the
    // quick-selection box, by double click, "+" or Enter.
    void quickListPicks_data() {
        QTest::addColumn<int>("how");
        QTest::newRow("double click") << 0;
        QTest::newRow("+ key") << 1;
        QTest::newRow("Enter") << 2;
    }
    void quickListPicks() {
        QFETCH(int, how);
        PickerFixture f;
        f.addLineByCode("01");
        f.quickSelect("hs");
        orders::Txspx& list = f.quickList();
        QVERIFY(list.isVisible());
        QVERIFY(list.windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(list.Label1->text(), QStringLiteral("双击或输入+ 可以直接选择商品"));
        QVERIFY(list.query_sp.locate("BM", "04"));
        switch (how) {
        case 0: emit list.DBGridEh1->doubleClicked(list.DBGridEh1->currentIndex()); break;
        case 1: QTest::keyClick(list.DBGridEh1, '+'); break;
        default: QTest::keyClick(list.DBGridEh1, Qt::Key_Return); break;
        }
        QVERIFY(!list.isVisible());
        QCOMPARE(f.lineCodes(), (QStringList{"01", "04"}));
        QCOMPARE(f.window->TXMXZ->text(), QString());
        QVERIFY(f.window->TXMXZ->hasFocus());
    }

    void quickListEscPicksNothing() {
        PickerFixture f;
        f.quickSelect("hs");
        orders::Txspx& list = f.quickList();
        QTest::keyClick(list.DBGridEh1, Qt::Key_Escape);
        QVERIFY(!list.isVisible());
        QCOMPARE(f.lineCodes(), QStringList{});
        QCOMPARE(f.window->TXMXZ->text(), QStringLiteral("hs"));
    }
};

QTEST_MAIN(TestProductPickers)
#include "test_productpickers.moc"
