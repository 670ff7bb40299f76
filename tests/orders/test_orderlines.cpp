#include "OrderFixture.h"
#include "orders/OrderArithmetic.h"

#include <QtTest>

using text::Decimal;

namespace {

Decimal dec(const char* value) {
    return *Decimal::parse(QString::fromLatin1(value));
}

QString lineValue(OrderFixture& f, int row, const char* column) {
    const dataset::Record line = f.order.Query_MX.record(row);
    return line.isNull(QString::fromLatin1(column)) ? QStringLiteral("null") : line.text(QString::fromLatin1(column));
}

} // namespace

class TestOrderLines : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void newOrderIsDatedToday() {
        OrderFixture f;
        f.order.OpenOrder("2026121100100001");
        QCOMPARE(f.order.Query_ZB.field("RQ").asDate(), OrderFixture::kToday);
        QCOMPARE(f.order.Query_ZB.field("ZJRQ").asDate(), OrderFixture::kToday);
        QCOMPARE(f.order.Query_ZB.field("GHRQ").asDate(), OrderFixture::kToday.addDays(1));
        QCOMPARE(f.memory("SH"), QStringLiteral("F"));
        QCOMPARE(f.memory("YYSH"), QStringLiteral("null"));
        QCOMPARE(f.memory("QX"), QStringLiteral("null"));
        QCOMPARE(f.order.Query_ZB.state(), dataset::Dataset::State::Insert);
        QCOMPARE(f.order.stageControls().stage, orders::Stage::Entered);
        QCOMPARE(f.count("xsd_zb"), 0);  // stored by the first save
    }

    // A stored order keeps what was stored, also when it has no lines yet.
    void storedOrderLoadsAsStored() {
        OrderFixture f;
        f.program.execute("insert into xsd_zb(id,rq,zjrq,ghrq,khmc,sh) values "
                          "('2026120100100001',#2026-12-01#,#2026-12-02#,#2026-12-05#,'李四','F')");
        f.order.OpenOrder("2026120100100001");
        QCOMPARE(f.memory("KHMC"), QStringLiteral("李四"));
        QCOMPARE(f.order.Query_ZB.field("GHRQ").asDate(), QDate(2026, 12, 5));
        QCOMPARE(f.order.Query_MX.recordCount(), 0);
        QVERIFY(orders::UnsavedChanges);  // opening puts the header into editing
    }

    // An order number with a quote is data, not part of the statement.
    void quotedNumbersAreData() {
        OrderFixture f;
        f.program.execute("insert into xsd_zb(id,khmc,sh) values ('A','甲','F')");
        const QString number = QStringLiteral("x' or id<>'");
        f.order.OpenOrder(number);
        QCOMPARE(f.memory("KHMC"), QStringLiteral("null"));
        f.order.Query_ZB.field("KHMC").setValue("乙");
        f.addLine("01");
        QVERIFY(f.order.bc(number, OrderFixture::kHandler));
        QCOMPARE(f.stored("xsd_zb", "khmc", "id='A'"), QStringLiteral("甲"));
        QCOMPARE(f.program.scalar("select count(*) from xsd_mx where id='x'' or id<>'''").toInt(), 1);
        QVERIFY(f.order.DeleteOrder(number));
        QCOMPARE(f.count("xsd_zb"), 1);
    }

    void productEntryCopiesTheProduct() {
        OrderFixture f;
        f.program.execute("update bm_sp set txm='6901', cbj=1200, dw='套' where bm='01'");
        const QString number = f.openNewOrder();
        QVERIFY(f.order.AddProductLine("01"));
        QCOMPARE(f.order.Query_MX.recordCount(), 1);
        const QStringList expected{number, "01", "礼服", "6901", "套", "1200", "10", "1", "1", "200", "50", "50"};
        QStringList actual;
        for (const char* column : {"ID", "SPBM", "SPMC", "TXM", "DW", "CBJ", "KCSL", "SL", "TS", "YJ", "ZJ", "ZZJ"})
            actual << lineValue(f, 0, column);
        QCOMPARE(actual, expected);
        QCOMPARE(f.memory("YSYJ"), QStringLiteral("200.00"));
        QCOMPARE(f.memory("YSZJ"), QStringLiteral("50.00"));
        QCOMPARE(f.memory("YS"), QStringLiteral("250.00"));
    }

    // The product entered in the grid: days from the dates, rent for those days.
    void codeTypedIntoALine() {
        OrderFixture f;
        f.openNewOrder();
        f.order.Query_ZB.field("GHRQ").setValue(OrderFixture::kToday.addDays(4));
        f.order.Query_MX.append();
        f.order.Query_MX.field("SPBM").setValue("02");
        QCOMPARE(f.order.Query_MX.field("TS").asDecimal(), Decimal::fromInt(4));
        QCOMPARE(f.order.Query_MX.field("ZZJ").asDecimal(), Decimal::fromInt(120));
        QCOMPARE(f.order.Query_MX.field("KCSL").asDecimal(), Decimal::fromInt(4));
        QVERIFY(f.order.Query_MX.field("TXM").isNull());  // only the quick selection copies the barcode
        QVERIFY(f.dialogs.messages().isEmpty());
    }

    void unknownCodeRemovesTheLine_data() {
        QTest::addColumn<QString>("code");
        QTest::newRow("unknown") << "zz";
        QTest::newRow("quote") << "01\" or \"1\"=\"1";
        QTest::newRow("single quote") << "01' or '1'='1";
        QTest::newRow("prefix only") << "0";
    }
    void unknownCodeRemovesTheLine() {
        QFETCH(QString, code);
        OrderFixture f;
        f.openNewOrder();
        f.addLine("02");
        QVERIFY(!f.order.AddProductLine(code));
        QCOMPARE(f.order.Query_MX.recordCount(), 1);
        QCOMPARE(f.dialogs.texts(), QStringList{"您输入的编码不存在！"});
        QCOMPARE(f.dialogs.messages().first().icon, ui::Icon::Information);
    }

    void productWithAQuoteInItsCode() {
        OrderFixture f;
        f.program.addProduct("A'1\"", "镜头", 20, 100, 3);
        f.openNewOrder();
        QVERIFY(f.order.AddProductLine("A'1\""));
        QCOMPARE(lineValue(f, 0, "SPMC"), QStringLiteral("镜头"));
    }

    // A product name wider than the line's column is cut to fit.
    void longProductNameIsCutToTheLine() {
        OrderFixture f;
        const QString name = QString(60, QChar(0x88D9));  // 60 × 裙
        f.program.addProduct("09", name, 10, 10, 5);
        f.openNewOrder();
        QVERIFY(f.order.AddProductLine("09"));
        QCOMPARE(lineValue(f, 0, "SPMC"), name.left(50));
        QVERIFY(f.order.bc(f.order.orderNumber(), OrderFixture::kHandler));
    }

    // A product without price, deposit or rent gives zeros on a quickly added line.
    void missingPricesBecomeZero() {
        OrderFixture f;
        f.program.execute("insert into bm_sp(bm,mc,kcsl) values ('07','相框',2)");
        f.openNewOrder();
        QVERIFY(f.order.AddProductLine("07"));
        for (const char* column : {"CBJ", "YJ", "ZJ", "ZZJ"})
            QCOMPARE(lineValue(f, 0, column), QStringLiteral("0"));
    }

    void lineRent_data() {
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("rent");
        QTest::addColumn<QString>("days");
        QTest::addColumn<QString>("total");
        QTest::newRow("whole") << "2" << "50" << "3" << "300.00";
        QTest::newRow("rounded once, not per factor") << "1.5" << "3.33" << "3" << "14.99";
        QTest::newRow("half a cent up") << "0.5" << "0.01" << "1" << "0.01";
        QTest::newRow("negative days") << "2" << "50" << "-1" << "-100.00";
        QTest::newRow("negative half away from zero") << "0.5" << "0.01" << "-1" << "-0.01";
        QTest::newRow("no days") << "2" << "50" << "0" << "0.00";
    }
    void lineRent() {
        QFETCH(QString, quantity);
        QFETCH(QString, rent);
        QFETCH(QString, days);
        QFETCH(QString, total);
        const Decimal result = orders::lineRent(*Decimal::parse(quantity), *Decimal::parse(rent), *Decimal::parse(days));
        QCOMPARE(result.toFixed(2), total);
    }

    void rentalDays_data() {
        QTest::addColumn<QDate>("rental");
        QTest::addColumn<QDate>("due");
        QTest::addColumn<int>("days");
        QTest::newRow("next day") << QDate(2026, 12, 11) << QDate(2026, 12, 12) << 1;
        QTest::newRow("same day") << QDate(2026, 12, 11) << QDate(2026, 12, 11) << 0;
        QTest::newRow("over the year") << QDate(2026, 12, 30) << QDate(2027, 1, 2) << 3;
        QTest::newRow("over february") << QDate(2028, 2, 27) << QDate(2028, 3, 1) << 3;
        QTest::newRow("return before rental") << QDate(2026, 12, 11) << QDate(2026, 12, 9) << -2;
    }
    void rentalDays() {
        QFETCH(QDate, rental);
        QFETCH(QDate, due);
        QFETCH(int, days);
        QCOMPARE(orders::rentalDays(rental, due), Decimal::fromInt(days));
    }

    // SL and TS recompute the rent total, ZJ alone does not.
    void quantityAndDaysRecomputeTheRent_data() {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("total");
        QTest::newRow("quantity") << "SL" << "3" << "150";
        QTest::newRow("days") << "TS" << "2.5" << "125";
        QTest::newRow("rent per day") << "ZJ" << "80" << "50";
    }
    void quantityAndDaysRecomputeTheRent() {
        QFETCH(QString, column);
        QFETCH(QString, value);
        QFETCH(QString, total);
        OrderFixture f;
        f.openNewOrder();
        f.addLine("01");
        f.order.Query_MX.edit();
        f.order.Query_MX.field(column).setValue(value);
        QCOMPARE(f.order.Query_MX.field("ZZJ").asString(), total);
        f.order.Query_MX.post();
        QCOMPARE(f.memory("YSZJ"), Decimal::parse(total)->toFixed(2));
    }

    void dateChangeRecomputesEveryLine() {
        OrderFixture f;
        f.openNewOrder();
        f.addLine("01", 2);
        f.addLine("02", 1);
        f.order.Query_ZB.field("GHRQ").setValue(OrderFixture::kToday.addDays(3));
        QVERIFY(f.order.RecomputeDays());
        QCOMPARE(lineValue(f, 0, "TS") + ' ' + lineValue(f, 0, "ZZJ"), QStringLiteral("3 300"));
        QCOMPARE(lineValue(f, 1, "TS") + ' ' + lineValue(f, 1, "ZZJ"), QStringLiteral("3 90"));
        QVERIFY(f.order.Query_MX.eof());
        QCOMPARE(f.memory("YSZJ"), QStringLiteral("390.00"));
        QCOMPARE(f.memory("YS"), QStringLiteral("1090.00"));
    }

    void missingDateIsReported() {
        OrderFixture f;
        f.openNewOrder();
        f.addLine("01");
        f.order.Query_ZB.field("ZJRQ").clear();
        QVERIFY(!f.order.RecomputeDays());
        QCOMPARE(f.dialogs.texts(), QStringList{"请先输入租借日期和归还日期！"});
        QCOMPARE(lineValue(f, 0, "TS"), QStringLiteral("1"));
        // Entering a product needs the days too: the line is refused.
        QVERIFY(!f.order.AddProductLine("02"));
        QCOMPARE(f.dialogs.lastText(), QStringLiteral("您输入的编码不存在！"));
        QCOMPARE(f.order.Query_MX.recordCount(), 1);
    }

    // Totals follow a stored line; removing a line leaves them until the next one is stored.
    void totalsFollowStoredLines() {
        OrderFixture f;
        f.openNewOrder();
        f.addLine("01", 2);
        f.addLine("02", 1);
        QCOMPARE(f.memory("YSYJ") + ' ' + f.memory("YSZJ") + ' ' + f.memory("YS"),
                 QStringLiteral("700.00 130.00 830.00"));
        f.order.Query_MX.first();
        QVERIFY(f.order.Query_MX.deleteRecord());
        QCOMPARE(f.memory("YS"), QStringLiteral("830.00"));
        f.order.Query_MX.edit();
        f.order.Query_MX.field("BZ").setValue("备注");
        f.order.Query_MX.post();
        QCOMPARE(f.memory("YSYJ") + ' ' + f.memory("YSZJ") + ' ' + f.memory("YS"),
                 QStringLiteral("500.00 30.00 530.00"));
    }

    // Each line's rent total starts at 100 (2 × 25 × 2 days).
    void discounts_data() {
        QTest::addColumn<QStringList>("choices");
        QTest::addColumn<QString>("total");
        QTest::newRow("no discount") << QStringList{"不打折"} << "100.00";
        QTest::newRow("95折") << QStringList{"95折"} << "95.00";
        QTest::newRow("9折") << QStringList{"9折"} << "90.00";
        QTest::newRow("8折") << QStringList{"8折"} << "80.00";
        QTest::newRow("7折") << QStringList{"7折"} << "70.00";
        QTest::newRow("6折") << QStringList{"6折"} << "60.00";
        QTest::newRow("9折 twice compounds") << QStringList{"9折", "9折"} << "81.00";
        QTest::newRow("95折 twice rounds half up") << QStringList{"95折", "95折"} << "90.25";
        QTest::newRow("95折 three times") << QStringList{"95折", "95折", "95折"} << "85.74";
        QTest::newRow("no discount restores") << QStringList{"9折", "9折", "不打折"} << "100.00";
        QTest::newRow("unknown choice changes nothing") << QStringList{"5折"} << "100.00";
    }
    void discounts() {
        QFETCH(QStringList, choices);
        QFETCH(QString, total);
        OrderFixture f;
        f.program.addProduct("05", "头纱", 25, 10, 5);
        f.openNewOrder();
        f.order.Query_ZB.field("GHRQ").setValue(OrderFixture::kToday.addDays(2));
        f.addLine("05", 2);
        f.addLine("05", 2);
        QCOMPARE(lineValue(f, 0, "ZZJ"), QStringLiteral("100"));
        for (const QString& choice : choices)
            QCOMPARE(f.order.ApplyDiscount(choice), orders::isDiscountChoice(choice));
        QCOMPARE(f.order.Query_MX.record(0).decimal("ZZJ").toFixed(2), total);
        QCOMPARE(f.order.Query_MX.record(1).decimal("ZZJ").toFixed(2), total);
        const Decimal each = *Decimal::parse(total);
        QCOMPARE(f.memory("YSZJ"), (each + each).toFixed(2));
        QVERIFY(f.order.bc(f.order.orderNumber(), OrderFixture::kHandler));
        QCOMPARE(f.stored("xsd_mx", "sum(zzj)", "spbm='05'"), (each + each).toFixed(2));
    }

    // Products: 01 礼服 (LF, 6901), 02 相机 (XJ, 6902), 03 婚纱 (HS, no barcode).
    void quickSelection_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("addedCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("pinyin initials") << "lf" << int(orders::QuickSelection::Added) << "01" << "";
        QTest::newRow("part of the initials") << "J" << int(orders::QuickSelection::Added) << "02" << "";
        QTest::newRow("code") << "03" << int(orders::QuickSelection::Added) << "03" << "";
        QTest::newRow("barcode part") << "902" << int(orders::QuickSelection::Added) << "02" << "";
        QTest::newRow("several") << "690" << int(orders::QuickSelection::Several) << "" << "";
        QTest::newRow("nothing") << "zz" << int(orders::QuickSelection::NotFound) << "" << "您输入的商品不存在！";
        QTest::newRow("quote is data") << "\" or \"\"=\"" << int(orders::QuickSelection::NotFound) << ""
                                       << "您输入的商品不存在！";
        QTest::newRow("single quote is data") << "' or ''='" << int(orders::QuickSelection::NotFound) << ""
                                              << "您输入的商品不存在！";
    }
    void quickSelection() {
        QFETCH(QString, typed);
        QFETCH(int, kind);
        QFETCH(QString, addedCode);
        QFETCH(QString, message);
        OrderFixture f;
        f.program.addProduct("03", "婚纱", 80, 1000, 2);
        f.program.execute("update bm_sp set jp='LF', txm='6901' where bm='01'");
        f.program.execute("update bm_sp set jp='XJ', txm='6902' where bm='02'");
        f.program.execute("update bm_sp set jp='HS' where bm='03'");
        f.openNewOrder();
        const orders::QuickSelectResult result = f.order.QuickSelect(typed);
        QCOMPARE(int(result.kind), kind);
        QCOMPARE(f.dialogs.texts(), message.isEmpty() ? QStringList{} : QStringList{message});
        if (!addedCode.isEmpty()) {
            QCOMPARE(f.order.Query_MX.recordCount(), 1);
            QCOMPARE(lineValue(f, 0, "SPBM"), addedCode);
            QCOMPARE(f.order.Query_MX.state(), dataset::Dataset::State::Browse);
            QCOMPARE(lineValue(f, 0, "TXM"), f.stored("bm_sp", "txm", QStringLiteral("bm='%1'").arg(addedCode)));
        } else {
            QCOMPARE(f.order.Query_MX.recordCount(), 0);
        }
        if (result.kind == orders::QuickSelection::Several) {
            dataset::Dataset list;
            list.setConnection(&f.program.connection());
            list.setCommandText(result.listStatement);
            list.open();
            QCOMPARE(list.recordCount(), 2);
        }
    }

    void quickSelectionNeedsAnOpenOrder() {
        OrderFixture f;
        QCOMPARE(f.order.QuickSelect("01").kind, orders::QuickSelection::Refused);
        QVERIFY(!f.order.AddProductLine("01"));
        QVERIFY(f.dialogs.messages().isEmpty());
    }

    // Set by editing a stored header or line, not by adding to a new order; cleared by a save.
    void unsavedChanges() {
        OrderFixture f;
        f.openNewOrder();
        QVERIFY(f.order.AddProductLine("01"));
        QVERIFY(!orders::UnsavedChanges);
        QVERIFY(f.order.bc(f.order.orderNumber(), OrderFixture::kHandler));
        QVERIFY(!orders::UnsavedChanges);
        f.order.Query_MX.first();
        f.order.Query_MX.edit();
        QVERIFY(orders::UnsavedChanges);
        f.order.Query_MX.cancel();
        QVERIFY(f.order.bc(f.order.orderNumber(), OrderFixture::kHandler));
        QVERIFY(!orders::UnsavedChanges);
        // A line added to a stored order adds up into the stored header.
        QVERIFY(f.order.AddProductLine("02"));
        QVERIFY(orders::UnsavedChanges);
        QVERIFY(f.order.bc(f.order.orderNumber(), OrderFixture::kHandler));
        f.order.OpenOrder(f.order.orderNumber());
        QVERIFY(orders::UnsavedChanges);
    }

    // The closing question's save: no stock check, no message.
    void storeOnClose() {
        OrderFixture f;
        const QString number = f.openNewOrder();
        f.addLine("02", 9);  // more than in stock
        f.order.Query_ZB.edit();
        f.order.Query_ZB.field("JBR").setValue("王芳");
        QVERIFY(f.order.StoreOnClose(number));
        QVERIFY(f.dialogs.messages().isEmpty());
        QCOMPARE(f.header("jbr"), QStringLiteral("王芳"));
        QCOMPARE(f.stored("xsd_mx", "sl", QStringLiteral("id='%1'").arg(number)), QStringLiteral("9.00"));
        QVERIFY(!orders::UnsavedChanges);
    }

    void saveCommandStoresHandlerAndNumber() {
        OrderFixture f;
        const QString number = f.openNewOrder();
        f.addLine("01");
        orders::OrderForm form = f.form();
        form.handler = QStringLiteral("王芳");
        QVERIFY(f.order.SaveCommand(form));
        QCOMPARE(f.dialogs.texts(), QStringList{"保存成功！"});
        QCOMPARE(f.header("jbr"), QStringLiteral("王芳"));
        QCOMPARE(f.header("id"), number);
        QCOMPARE(f.header("sh"), QStringLiteral("F"));
        QCOMPARE(f.header("yysh"), QStringLiteral("null"));
        QCOMPARE(f.header("rq"), QStringLiteral("2026-12-11"));
        QCOMPARE(f.header("ghrq"), QStringLiteral("2026-12-12"));
        QVERIFY(f.order.Query_MX.eof());
    }
};

QTEST_MAIN(TestOrderLines)
#include "test_orderlines.moc"
