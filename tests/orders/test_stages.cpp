#include "OrderFixture.h"
#include "shell/AppInfo.h"

#include <QtTest>

using orders::Stage;
using orders::StageCommand;

namespace {

const QString kStockTooLow = QStringLiteral("当前行库存数量低于出租数量！");

// Runs a stage command by its button caption, with the window's boxes as they stand.
orders::StageOutcome run(OrderFixture& f, const QString& command, const QString& payment = QString()) {
    const orders::OrderForm form = f.form();
    if (command == QStringLiteral("预约审核"))
        return f.order.ConfirmReservation(form, payment);
    if (command == QStringLiteral("取消预约"))
        return f.order.CancelReservation(form);
    if (command == QStringLiteral("出租审核"))
        return f.order.ConfirmRental(form, payment);
    if (command == QStringLiteral("取消出租"))
        return f.order.CancelRental(form);
    if (command == QStringLiteral("归还审核"))
        return f.order.ConfirmReturn(form, payment);
    if (command == QStringLiteral("取消归还"))
        return f.order.CancelReturn(form);
    if (command == QStringLiteral("保存"))
        return {f.order.SaveCommand(form), std::nullopt};
    qFatal("no such command");
}

void runAll(OrderFixture& f, const QStringList& commands) {
    for (const QString& command : commands)
        QVERIFY2(run(f, command, QStringLiteral("0")).done, qPrintable(command));
}

// An order of two lines of 礼服 (2 and 1) and one line of 相机 (1): deposit 900, rent 180.
QString openOrderWithLines(OrderFixture& f) {
    const QString number = f.openNewOrder();
    f.addLine("01", 2);
    f.addLine("01", 1);
    f.addLine("02", 1);
    return number;
}

QString stageName(Stage stage) {
    switch (stage) {
    case Stage::NoOrder: return QStringLiteral("NoOrder");
    case Stage::Entered: return QStringLiteral("Entered");
    case Stage::Reserved: return QStringLiteral("Reserved");
    case Stage::Rented: return QStringLiteral("Rented");
    case Stage::Returned: return QStringLiteral("Returned");
    }
    return QString();
}

// The six commands as "1" (on) and "0" (off), in button order.
QString enabledCommands(const orders::RentalOrder& order) {
    QString text;
    for (int i = 0; i < orders::kStageCommandCount; ++i)
        text += order.isCommandEnabled(static_cast<StageCommand>(i)) ? QLatin1Char('1') : QLatin1Char('0');
    return text;
}

// The eight controls as "1" (on), "0" (off) and "-" (unchanged): six commands, grid, customer box.
QString switches(const orders::StageControls& controls) {
    auto sign = [](orders::Switch s) {
        return s == orders::Switch::On ? QLatin1Char('1') : s == orders::Switch::Off ? QLatin1Char('0') : QLatin1Char('-');
    };
    QString text;
    for (orders::Switch s : controls.commands)
        text += sign(s);
    return text + sign(controls.lineGrid) + sign(controls.customerName);
}

} // namespace

class TestStages : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void commandsAreOffUntilAnOrderIsOpen() {
        OrderFixture f;
        QCOMPARE(f.order.stageControls().stage, Stage::NoOrder);
        QCOMPARE(switches(f.order.stageControls()), QStringLiteral("000000--"));
        QCOMPARE(enabledCommands(f.order), QStringLiteral("000000"));
        for (const char* command : {"预约审核", "取消预约", "出租审核", "取消出租", "归还审核", "取消归还"})
            QVERIFY(!run(f, command).done);
        QVERIFY(f.dialogs.messages().isEmpty());
        QCOMPARE(f.count("xsd_zb"), 0);

        f.openNewOrder();
        QCOMPARE(f.order.stageControls().stage, Stage::Entered);
        QCOMPARE(enabledCommands(f.order), QStringLiteral("101000"));
    }

    // Flags as stored ("null" for none) and the controls the window gets.
    void controlsFollowTheStoredFlags_data() {
        QTest::addColumn<QString>("yysh");
        QTest::addColumn<QString>("sh");
        QTest::addColumn<QString>("qx");
        QTest::addColumn<QString>("stage");
        QTest::addColumn<QString>("controls");
        QTest::newRow("entered, new order") << "null" << "F" << "null" << "Entered" << "1010001-";
        QTest::newRow("entered, no flags") << "null" << "null" << "null" << "Entered" << "1010001-";
        QTest::newRow("entered, reservation cancelled") << "F" << "F" << "null" << "Entered" << "1010001-";
        QTest::newRow("reserved") << "T" << "F" << "null" << "Reserved" << "0110001-";
        QTest::newRow("reservation flag unknown") << "x" << "F" << "null" << "Entered" << "--10001-";
        QTest::newRow("rented") << "null" << "T" << "null" << "Rented" << "00011000";
        QTest::newRow("rented, return cancelled") << "T" << "T" << "F" << "Rented" << "00011000";
        QTest::newRow("returned") << "T" << "T" << "T" << "Returned" << "00000100";
        QTest::newRow("rental flag other than F") << "null" << "x" << "null" << "Rented" << "00011000";
    }
    void controlsFollowTheStoredFlags() {
        QFETCH(QString, yysh);
        QFETCH(QString, sh);
        QFETCH(QString, qx);
        QFETCH(QString, stage);
        QFETCH(QString, controls);
        OrderFixture f;
        auto value = [](const QString& flag) { return flag == QLatin1String("null") ? QVariant() : QVariant(flag); };
        f.program.connection().execute(
            QStringLiteral("insert into xsd_zb(id,yysh,sh,qx) values ('2026121100100001',:yysh,:sh,:qx)"),
            {{"yysh", value(yysh)}, {"sh", value(sh)}, {"qx", value(qx)}});
        f.order.OpenOrder(QStringLiteral("2026121100100001"));
        QCOMPARE(stageName(f.order.stageControls().stage), stage);
        QCOMPARE(switches(f.order.stageControls()), controls);
        // Null flags are read as "F" and never written back.
        QCOMPARE(f.header("yysh"), yysh);
        QCOMPARE(f.header("qx"), qx);
    }

    // An unknown reservation flag leaves the reservation buttons as the last order had them.
    void unknownReservationFlagKeepsTheButtons() {
        OrderFixture f;
        f.program.execute("insert into xsd_zb(id,yysh,sh) values ('A','T','F')");
        f.program.execute("insert into xsd_zb(id,yysh,sh) values ('B','x','F')");
        f.order.OpenOrder("A");
        f.order.OpenOrder("B");
        QCOMPARE(enabledCommands(f.order), QStringLiteral("011000"));
    }

    // Command i runs on day i; the stamps are day numbers, "-" for none.
    void transitions_data() {
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<QString>("stage");
        QTest::addColumn<QString>("flags");  // YYSH/SH/QX
        QTest::addColumn<QString>("stamps"); // YYSK_RQ SS_RQ QXSK_RQ
        QTest::addColumn<QString>("enabled");
        QTest::newRow("reserve") << QStringList{"预约审核"} << "Reserved" << "T/F/null" << "0 - -" << "011000";
        QTest::newRow("cancel reservation") << QStringList{"预约审核", "取消预约"} << "Entered" << "F/F/null"
                                            << "1 - -" << "101000";
        QTest::newRow("reserve again") << QStringList{"预约审核", "取消预约", "预约审核"} << "Reserved" << "T/F/null"
                                       << "2 - -" << "011000";
        QTest::newRow("rent unreserved") << QStringList{"出租审核"} << "Rented" << "null/T/null" << "- 0 -" << "000110";
        QTest::newRow("rent reserved") << QStringList{"预约审核", "出租审核"} << "Rented" << "T/T/null" << "0 1 -"
                                       << "000110";
        QTest::newRow("cancel rental back to entered")
            << QStringList{"出租审核", "取消出租"} << "Entered" << "null/F/null" << "- 0 -" << "101000";
        QTest::newRow("cancel rental back to reserved")
            << QStringList{"预约审核", "出租审核", "取消出租"} << "Reserved" << "T/F/null" << "0 1 -" << "011000";
        QTest::newRow("return") << QStringList{"出租审核", "归还审核"} << "Returned" << "null/T/T" << "- 0 1"
                                << "000001";
        QTest::newRow("cancel return") << QStringList{"出租审核", "归还审核", "取消归还"} << "Rented" << "null/T/F"
                                       << "- 0 1" << "000110";
    }
    void transitions() {
        QFETCH(QStringList, commands);
        QFETCH(QString, stage);
        QFETCH(QString, flags);
        QFETCH(QString, stamps);
        QFETCH(QString, enabled);
        OrderFixture f;
        openOrderWithLines(f);
        for (int day = 0; day < commands.size(); ++day) {
            f.today = OrderFixture::kToday.addDays(day);
            QVERIFY2(run(f, commands[day], QStringLiteral("10")).done, qPrintable(commands[day]));
        }
        QCOMPARE(stageName(f.order.stageControls().stage), stage);
        QCOMPARE(f.header("yysh") + '/' + f.header("sh") + '/' + f.header("qx"), flags);
        QStringList days;
        for (const char* column : {"yysk_rq", "ss_rq", "qxsk_rq"}) {
            const QString date = f.header(column);
            days << (date == QLatin1String("null") ? QStringLiteral("-")
                                                   : QString::number(OrderFixture::kToday.daysTo(QDate::fromString(date, Qt::ISODate))));
        }
        QCOMPARE(days.join(' '), stamps);
        QCOMPARE(enabledCommands(f.order), enabled);
        QVERIFY(!orders::UnsavedChanges);
    }

    void successMessagesHaveNoIcon_data() {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("message");
        QTest::newRow("reserve") << QStringList{} << "预约审核" << "预约成功！";
        QTest::newRow("cancel reservation") << QStringList{"预约审核"} << "取消预约" << "取消成功！";
        QTest::newRow("rent") << QStringList{} << "出租审核" << "审核通过成功！";
        QTest::newRow("cancel rental") << QStringList{"出租审核"} << "取消出租" << "取消审核成功！";
        QTest::newRow("return") << QStringList{"出租审核"} << "归还审核" << "取相确认成功！";
        QTest::newRow("cancel return") << QStringList{"出租审核", "归还审核"} << "取消归还" << "归还反确认成功！";
        QTest::newRow("save") << QStringList{} << "保存" << "保存成功！";
    }
    void successMessagesHaveNoIcon() {
        QFETCH(QStringList, before);
        QFETCH(QString, command);
        QFETCH(QString, message);
        OrderFixture f;
        openOrderWithLines(f);
        runAll(f, before);
        f.dialogs.clear();
        QVERIFY(run(f, command).done);
        QCOMPARE(f.dialogs.messages().size(), 1);
        QCOMPARE(f.dialogs.lastText(), message);
        QCOMPARE(f.dialogs.messages().first().caption, QStringLiteral("提示"));
        QCOMPARE(f.dialogs.messages().first().icon, ui::Icon::None);
    }

    // A command that is off does nothing: a rental cannot be confirmed twice.
    void commandsThatAreOffDoNothing() {
        OrderFixture f;
        openOrderWithLines(f);
        QVERIFY(run(f, "出租审核", "50").done);
        const QString stock = f.stock("01");
        f.dialogs.clear();
        for (const char* command : {"预约审核", "取消预约", "出租审核", "取消归还"})
            QVERIFY(!run(f, command, "70").done);
        QVERIFY(f.dialogs.messages().isEmpty());
        QCOMPARE(f.stock("01"), stock);
        QCOMPARE(f.header("ss"), QStringLiteral("50.00"));
    }

    // One order through all six commands and back, with XSD_ZB, XSD_MX and BM_SP after each.
    void walkThroughEveryStage() {
        struct Step {
            const char* command;
            const char* payment;
            const char* flags;      // YYSH/SH/QX
            const char* money;      // YYSK SS QXSK SSJE WFJE
            const char* gowns;      // stock of 01
            const char* cameras;    // stock of 02
            const char* paymentBox; // the payment box afterwards
        };
        const Step walk[] = {
            {"预约审核", "100", "T/F/null", "100.00 null null 100.00 980.00", "10.00/0.00", "4.00/0.00", ""},
            {"取消预约", "", "F/F/null", "0.00 null null 0.00 1080.00", "10.00/0.00", "4.00/0.00", "100"},
            {"预约审核", "200", "T/F/null", "200.00 null null 200.00 880.00", "10.00/0.00", "4.00/0.00", ""},
            {"出租审核", "500", "T/T/null", "200.00 500.00 null 700.00 380.00", "7.00/3.00", "3.00/1.00", ""},
            {"归还审核", "-520", "T/T/T", "200.00 500.00 -520.00 180.00 900.00", "10.00/0.00", "4.00/0.00", ""},
            {"取消归还", "", "T/T/F", "200.00 500.00 0.00 700.00 380.00", "7.00/3.00", "3.00/1.00", "-520"},
            {"取消出租", "", "T/F/F", "200.00 0.00 0.00 200.00 880.00", "10.00/0.00", "4.00/0.00", "500"},
            {"取消预约", "", "F/F/F", "0.00 0.00 0.00 0.00 1080.00", "10.00/0.00", "4.00/0.00", "200"},
        };
        OrderFixture f;
        openOrderWithLines(f);
        QCOMPARE(f.memory("YS"), QStringLiteral("1080.00"));
        for (const Step& step : walk) {
            const orders::StageOutcome outcome = run(f, step.command, step.payment);
            QVERIFY2(outcome.done, step.command);
            QCOMPARE(outcome.paymentText.value_or("unchanged"), QString::fromUtf8(step.paymentBox));
            QCOMPARE(f.header("yysh") + '/' + f.header("sh") + '/' + f.header("qx"), QString::fromUtf8(step.flags));
            QStringList money;
            for (const char* column : {"yysk", "ss", "qxsk", "ssje", "wfje"})
                money << f.header(column);
            QCOMPARE(money.join(' '), QString::fromUtf8(step.money));
            QCOMPARE(f.header("ys"), QStringLiteral("1080.00"));
            QCOMPARE(f.stock("01"), QString::fromUtf8(step.gowns));
            QCOMPARE(f.stock("02"), QString::fromUtf8(step.cameras));
            QCOMPARE(f.count("xsd_zb"), 1);
            QCOMPARE(f.count("xsd_mx"), 3);
            QCOMPARE(f.stored("xsd_mx", "sum(sl)", "spbm='01'"), QStringLiteral("3.00"));
        }
    }

    void moneyOfTheStages() {
        OrderFixture f;
        f.openNewOrder();
        f.addLine("01");
        f.addLine("01");
        QCOMPARE(f.memory("YS"), QStringLiteral("500.00"));
        QVERIFY(run(f, "预约审核", "100").done);
        QVERIFY(run(f, "出租审核", "300").done);
        QCOMPARE(f.header("ssje"), QStringLiteral("400.00"));
        QCOMPARE(f.header("wfje"), QStringLiteral("100.00"));
        const orders::StageOutcome cancelled = run(f, "取消出租");
        QCOMPARE(cancelled.paymentText.value_or(QString()), QStringLiteral("300"));
        QCOMPARE(f.header("ssje"), QStringLiteral("100.00"));
        QCOMPARE(f.header("wfje"), QStringLiteral("400.00"));
        QCOMPARE(f.header("ss"), QStringLiteral("0.00"));
        QCOMPARE(f.memory("SSJE"), QStringLiteral("100.00"));
    }

    // A confirm replaces the stage's payment; an empty payment counts as 0; results have two places.
    void paymentsAreTakenAsTyped_data() {
        QTest::addColumn<QString>("payment");
        QTest::addColumn<QString>("stored");
        QTest::newRow("empty") << "" << "0.00";
        QTest::newRow("whole") << "250" << "250.00";
        QTest::newRow("three places round up") << "10.005" << "10.01";
        QTest::newRow("negative three places round away from zero") << "-10.005" << "-10.01";
        QTest::newRow("point first") << ".5" << "0.50";
    }
    void paymentsAreTakenAsTyped() {
        QFETCH(QString, payment);
        QFETCH(QString, stored);
        OrderFixture f;
        openOrderWithLines(f);
        const orders::StageOutcome outcome = run(f, "预约审核", payment);
        QVERIFY(outcome.done);
        QCOMPARE(outcome.paymentText.value_or("unchanged"), QString());
        QCOMPARE(f.header("yysk"), stored);
        QCOMPARE(f.header("ssje"), stored);
    }

    void paymentThatIsNoNumberStopsAfterTheSave_data() {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("payment");
        QTest::addColumn<QString>("flag");
        QTest::newRow("lone minus, reservation") << QStringList{} << "预约审核" << "-" << "yysh";
        QTest::newRow("two points, rental") << QStringList{} << "出租审核" << "1.2.3" << "sh";
        QTest::newRow("lone point, return") << QStringList{"出租审核"} << "归还审核" << "." << "qx";
    }
    void paymentThatIsNoNumberStopsAfterTheSave() {
        QFETCH(QStringList, before);
        QFETCH(QString, command);
        QFETCH(QString, payment);
        QFETCH(QString, flag);
        OrderFixture f;
        openOrderWithLines(f);
        runAll(f, before);
        QVERIFY(f.order.bc(f.order.orderNumber(), OrderFixture::kHandler));
        const QString flagBefore = f.header(flag);
        const QString stock = f.stock("01");
        f.order.Query_ZB.edit();
        f.order.Query_ZB.field("KHDH").setValue("13800000000");
        f.dialogs.clear();
        const orders::StageOutcome outcome = run(f, command, payment);
        QVERIFY(!outcome.done);
        QCOMPARE(outcome.paymentText.value_or("unchanged"), payment);
        QCOMPARE(f.dialogs.texts(), QStringList{QStringLiteral("收款金额“%1”不是有效的数字，请重新输入！").arg(payment)});
        QCOMPARE(f.dialogs.messages().first().icon, ui::Icon::Information);
        QCOMPARE(f.header("khdh"), QStringLiteral("13800000000"));  // saved first
        QCOMPARE(f.header(flag), flagBefore);
        QCOMPARE(f.stock("01"), stock);
        QVERIFY(!orders::UnsavedChanges);
    }

    void customerAndLinesAreRequired_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("customer");
        QTest::addColumn<bool>("withLines");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("storedHeaders");
        QTest::newRow("save without customer") << "保存" << "" << true << "请输入客户姓名!" << 0;
        QTest::newRow("save without lines") << "保存" << "张三" << false << "请先选择商品！" << 0;
        // The stage commands save before they check: the header is stored, the stage not.
        QTest::newRow("reserve without customer") << "预约审核" << "" << true << "请输入客户编码和姓名!" << 1;
        QTest::newRow("reserve without lines") << "预约审核" << "张三" << false << "请先选择商品！" << 1;
        QTest::newRow("rent without customer") << "出租审核" << "" << true << "请输入客户编码和姓名!" << 1;
        QTest::newRow("rent without lines") << "出租审核" << "张三" << false << "请先选择商品！" << 1;
    }
    void customerAndLinesAreRequired() {
        QFETCH(QString, command);
        QFETCH(QString, customer);
        QFETCH(bool, withLines);
        QFETCH(QString, message);
        QFETCH(int, storedHeaders);
        OrderFixture f;
        f.openNewOrder(customer);
        if (withLines)
            f.addLine("01", 2);
        const orders::StageOutcome outcome = run(f, command, "100");
        QVERIFY(!outcome.done);
        QCOMPARE(f.dialogs.texts(), QStringList{message});
        QCOMPARE(f.dialogs.messages().first().caption, QStringLiteral("提示"));
        QCOMPARE(f.dialogs.messages().first().icon, ui::Icon::Information);
        QCOMPARE(f.count("xsd_zb"), storedHeaders);
        QCOMPARE(f.stock("01"), QStringLiteral("10.00/0.00"));
        if (storedHeaders == 1) {
            QCOMPARE(f.header("yysh"), QStringLiteral("null"));
            QCOMPARE(f.header("sh"), QStringLiteral("F"));
            QCOMPARE(f.header("yysk"), QStringLiteral("null"));  // the payment is not stored
        }
    }

    // Every command saves first; a line whose quantity exceeds its stock snapshot refuses it.
    void stockCheckOfEveryCommand_data() {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("command");
        QTest::addColumn<double>("snapshot");  // stock snapshot of the line of quantity 2
        QTest::addColumn<bool>("passes");
        const struct {
            const char* command;
            QStringList before;
        } commands[] = {
            {"保存", {}},
            {"预约审核", {}},
            {"取消预约", {"预约审核"}},
            {"出租审核", {}},
            {"取消出租", {"出租审核"}},
            {"归还审核", {"出租审核"}},
            {"取消归还", {"出租审核", "归还审核"}},
        };
        for (const auto& c : commands) {
            QTest::addRow("%s, quantity above stock", c.command) << c.before << c.command << 1.5 << false;
            QTest::addRow("%s, quantity equal to stock", c.command) << c.before << c.command << 2.0 << true;
        }
    }
    void stockCheckOfEveryCommand() {
        QFETCH(QStringList, before);
        QFETCH(QString, command);
        QFETCH(double, snapshot);
        QFETCH(bool, passes);
        OrderFixture f;
        const QString number = openOrderWithLines(f);
        runAll(f, before);
        QVERIFY(f.order.bc(number, OrderFixture::kHandler));
        f.program.connection().execute("update xsd_mx set kcsl=:k where spbm='01' and sl=2", {{"k", snapshot}});
        f.order.OpenOrder(number);
        const QString flags = f.header("yysh") + f.header("sh") + f.header("qx");
        const QString stock = f.stock("01");
        f.dialogs.clear();
        const orders::StageOutcome outcome = run(f, command, "10");
        QCOMPARE(outcome.done, passes);
        if (passes) {
            QVERIFY(!f.dialogs.texts().contains(kStockTooLow));
            return;
        }
        QCOMPARE(f.dialogs.texts(), QStringList{kStockTooLow});
        QCOMPARE(f.dialogs.messages().first().caption, shell::kApplicationTitle);
        QCOMPARE(f.dialogs.messages().first().icon, ui::Icon::None);
        QCOMPARE(f.header("yysh") + f.header("sh") + f.header("qx"), flags);
        QCOMPARE(f.stock("01"), stock);
        QCOMPARE(f.order.Query_MX.field("SL").asDecimal(), text::Decimal::fromInt(2));  // cursor on that line
    }

    // The stock statement fails: neither the stage, nor its payment, date or stock is
    // stored, while the order in memory keeps them; once the fault is gone the same
    // command stores everything once.
    void failedStockStatementStoresNothingOfTheStage_data() {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("payment");
        QTest::addColumn<QString>("flagColumn");
        QTest::addColumn<QString>("flag");
        QTest::addColumn<QString>("paymentColumn");
        QTest::addColumn<QString>("paymentInMemory");
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("stockAfterRetry");
        QTest::newRow("rent") << QStringList{} << "出租审核" << "300" << "SH" << "T" << "SS" << "300.00"
                              << "审核通过失败！" << "7.00/3.00";
        QTest::newRow("cancel rental") << QStringList{"出租审核"} << "取消出租" << "" << "SH" << "F" << "SS"
                                       << "0.00" << "取消审核失败！" << "10.00/0.00";
        QTest::newRow("return") << QStringList{"出租审核"} << "归还审核" << "-100" << "QX" << "T" << "QXSK"
                                << "-100.00" << "取相确认失败！" << "10.00/0.00";
        QTest::newRow("cancel return") << QStringList{"出租审核", "归还审核"} << "取消归还" << "" << "QX" << "F"
                                       << "QXSK" << "0.00" << "归还反确认失败！" << "7.00/3.00";
    }
    void failedStockStatementStoresNothingOfTheStage() {
        QFETCH(QStringList, before);
        QFETCH(QString, command);
        QFETCH(QString, payment);
        QFETCH(QString, flagColumn);
        QFETCH(QString, flag);
        QFETCH(QString, paymentColumn);
        QFETCH(QString, paymentInMemory);
        QFETCH(QString, failure);
        QFETCH(QString, stockAfterRetry);
        OrderFixture f;
        openOrderWithLines(f);
        runAll(f, before);
        QVERIFY(f.order.bc(f.order.orderNumber(), OrderFixture::kHandler));
        f.today = OrderFixture::kToday.addDays(3);
        const Stage stage = f.order.stageControls().stage;
        QStringList storedBefore;
        for (const char* column : {"yysh", "sh", "qx", "yysk", "ss", "qxsk", "ssje", "wfje", "yysk_rq", "ss_rq", "qxsk_rq"})
            storedBefore << f.header(column);
        const QString gowns = f.stock("01");
        const QString cameras = f.stock("02");
        f.program.connection().executeNative("CREATE TRIGGER stop_stock BEFORE UPDATE ON BM_SP BEGIN SELECT RAISE(ABORT,'x'); END");
        f.dialogs.clear();

        QVERIFY(!run(f, command, payment).done);
        QCOMPARE(f.dialogs.lastText(), failure);
        QCOMPARE(f.dialogs.messages().last().icon, ui::Icon::Information);
        QStringList storedAfter;
        for (const char* column : {"yysh", "sh", "qx", "yysk", "ss", "qxsk", "ssje", "wfje", "yysk_rq", "ss_rq", "qxsk_rq"})
            storedAfter << f.header(column);
        QCOMPARE(storedAfter, storedBefore);
        QCOMPARE(f.stock("01"), gowns);
        QCOMPARE(f.stock("02"), cameras);
        QCOMPARE(f.memory(flagColumn), flag);
        QCOMPARE(f.memory(paymentColumn), paymentInMemory);
        QVERIFY(orders::UnsavedChanges);
        QCOMPARE(f.order.stageControls().stage, stage);

        f.program.connection().executeNative("DROP TRIGGER stop_stock");
        QVERIFY(run(f, command, payment).done);
        QCOMPARE(f.header(flagColumn.toLower()), flag);
        QCOMPARE(f.header(paymentColumn.toLower()), paymentInMemory);
        QCOMPARE(f.stock("01"), stockAfterRetry);
        QCOMPARE(f.count("xsd_zb"), 1);
        QCOMPARE(f.count("xsd_mx"), 3);
    }

    // The stage a failed command left in memory is stored by the next save, and the stock
    // moves with it: stage and stock never part.
    void nextSaveMovesTheStockWithTheStage() {
        OrderFixture f;
        openOrderWithLines(f);
        runAll(f, {"保存"});
        f.program.connection().executeNative("CREATE TRIGGER stop_stock BEFORE UPDATE ON BM_SP BEGIN SELECT RAISE(ABORT,'x'); END");
        QVERIFY(!run(f, "出租审核", "300").done);
        QVERIFY(!run(f, "保存").done);
        QCOMPARE(f.dialogs.lastText(), QStringLiteral("保存失败！"));
        QCOMPARE(f.header("sh"), QStringLiteral("F"));
        QCOMPARE(f.stock("01"), QStringLiteral("10.00/0.00"));

        f.program.connection().executeNative("DROP TRIGGER stop_stock");
        QVERIFY(run(f, "保存").done);
        QCOMPARE(f.header("sh"), QStringLiteral("T"));
        QCOMPARE(f.header("ss"), QStringLiteral("300.00"));
        QCOMPARE(f.stock("01"), QStringLiteral("7.00/3.00"));
        QCOMPARE(f.stock("02"), QStringLiteral("3.00/1.00"));
        // The stored rental is what the controls show once the order is read again.
        f.order.OpenOrder(f.order.orderNumber());
        QCOMPARE(f.order.stageControls().stage, Stage::Rented);
    }

    // A save that fails keeps every new row pending; the next save stores each row once.
    void failedSaveKeepsTheOrderPending() {
        OrderFixture f;
        openOrderWithLines(f);
        f.program.connection().executeNative("CREATE TRIGGER stop_lines BEFORE INSERT ON XSD_MX BEGIN SELECT RAISE(ABORT,'x'); END");
        QVERIFY(!f.order.bc(f.order.orderNumber(), OrderFixture::kHandler));
        QCOMPARE(f.dialogs.texts(), QStringList{"保存失败！"});
        QCOMPARE(f.dialogs.messages().first().icon, ui::Icon::Information);
        QCOMPARE(f.count("xsd_zb"), 0);
        QCOMPARE(f.order.Query_MX.recordCount(), 3);
        QVERIFY(f.order.Query_MX.hasPendingUpdates());

        f.program.connection().executeNative("DROP TRIGGER stop_lines");
        QVERIFY(f.order.bc(f.order.orderNumber(), OrderFixture::kHandler));
        QVERIFY(f.order.bc(f.order.orderNumber(), OrderFixture::kHandler));
        QCOMPARE(f.count("xsd_zb"), 1);
        QCOMPARE(f.count("xsd_mx"), 3);
        QCOMPARE(f.header("jbr"), OrderFixture::kHandler);
        QCOMPARE(f.header("khmc"), QStringLiteral("张三"));
    }

    void deletion_data() {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("entered") << QStringList{"保存"} << true;
        QTest::newRow("reserved") << QStringList{"预约审核"} << true;
        QTest::newRow("reservation cancelled") << QStringList{"预约审核", "取消预约"} << true;
        QTest::newRow("rental cancelled") << QStringList{"出租审核", "取消出租"} << true;
        QTest::newRow("rented") << QStringList{"出租审核"} << false;
        QTest::newRow("returned") << QStringList{"出租审核", "归还审核"} << false;
    }
    void deletion() {
        QFETCH(QStringList, before);
        QFETCH(bool, deleted);
        OrderFixture f;
        const QString number = openOrderWithLines(f);
        runAll(f, before);
        const QString stock = f.stock("01");
        f.dialogs.clear();
        QCOMPARE(f.order.DeleteOrder(number), deleted);
        QCOMPARE(f.dialogs.messages().size(), 1);  // no question first
        const ui::MessageRequest& box = f.dialogs.messages().first();
        QCOMPARE(box.buttons, ui::Buttons(ui::Button::Ok));
        QCOMPARE(f.stock("01"), stock);
        if (deleted) {
            QCOMPARE(box.text, QStringLiteral("删除成功!"));
            QCOMPARE(box.caption, QStringLiteral("提示"));
            QCOMPARE(box.icon, ui::Icon::None);
            QCOMPARE(f.count("xsd_zb"), 0);
            QCOMPARE(f.count("xsd_mx"), 0);
            QVERIFY(!f.order.isOpen());
            QCOMPARE(f.order.stageControls().stage, Stage::NoOrder);
            QCOMPARE(enabledCommands(f.order), QStringLiteral("000000"));
            QVERIFY(!orders::UnsavedChanges);
        } else {
            QCOMPARE(box.text, QStringLiteral("当前单据已“收款确认”不能删除！"));
            QCOMPARE(box.caption, shell::kApplicationTitle);
            QCOMPARE(box.icon, ui::Icon::None);
            QCOMPARE(f.count("xsd_zb"), 1);
            QCOMPARE(f.count("xsd_mx"), 3);
        }
    }

    // A rental cancel that could not be stored leaves the items out: the order stays undeletable.
    void deletionAsksTheStoredStageToo() {
        OrderFixture f;
        const QString number = openOrderWithLines(f);
        runAll(f, {"出租审核"});
        f.program.connection().executeNative("CREATE TRIGGER stop_stock BEFORE UPDATE ON BM_SP BEGIN SELECT RAISE(ABORT,'x'); END");
        QVERIFY(!run(f, "取消出租").done);
        QCOMPARE(f.memory("SH"), QStringLiteral("F"));
        QVERIFY(!f.order.DeleteOrder(number));
        QCOMPARE(f.dialogs.lastText(), QStringLiteral("当前单据已“收款确认”不能删除！"));
        QCOMPARE(f.count("xsd_mx"), 3);
    }

    // The rental confirm prints first: the print shows the payment, which is stored only
    // together with the stage.
    void rentalPrintsFirst() {
        OrderFixture f;
        openOrderWithLines(f);
        QString printedPayment;
        QString storedWhenPrinted;
        auto printDocument = [&] {
            printedPayment = f.memory("SS");
            storedWhenPrinted = f.header("ss");
            return true;
        };
        const orders::StageOutcome outcome = f.order.ConfirmRental(f.form(), "300", [&] {
            return f.order.PrintCommand(f.form(), printDocument);
        });
        QVERIFY(outcome.done);
        QCOMPARE(printedPayment, QStringLiteral("300.00"));
        QCOMPARE(storedWhenPrinted, QStringLiteral("null"));
        QCOMPARE(f.dialogs.texts(), (QStringList{"打印成功", "审核通过成功！"}));
        QCOMPARE(f.dialogs.messages().first().caption, shell::kApplicationTitle);
        QCOMPARE(f.header("ss"), QStringLiteral("300.00"));
    }

    void rentalWithoutCustomerPrintsNothing() {
        OrderFixture f;
        openOrderWithLines(f);
        f.order.Query_ZB.field("KHMC").setValue("");
        bool printed = false;
        QVERIFY(!f.order.ConfirmRental(f.form(), "300", [&] {
            printed = true;
            return true;
        }).done);
        QVERIFY(!printed);
        QCOMPARE(f.dialogs.texts(), QStringList{"请输入客户编码和姓名!"});
    }

    // A print that fails stops the rental confirm: nothing of the stage is stored.
    void failedPrintStopsTheRental() {
        OrderFixture f;
        openOrderWithLines(f);
        const orders::StageOutcome outcome = f.order.ConfirmRental(f.form(), "300", [&] {
            return f.order.PrintCommand(f.form(), [] { return false; });
        });
        QVERIFY(!outcome.done);
        QVERIFY(f.dialogs.messages().isEmpty());
        QCOMPARE(f.header("sh"), QStringLiteral("F"));
        QCOMPARE(f.header("ss"), QStringLiteral("null"));
        QCOMPARE(f.stock("01"), QStringLiteral("10.00/0.00"));
        QCOMPARE(f.order.stageControls().stage, Stage::Entered);
        QCOMPARE(f.memory("SS"), QStringLiteral("300.00"));  // kept unsaved, as typed
    }

    // Printing on its own saves first.
    void printCommandSavesTheOrder() {
        OrderFixture f;
        openOrderWithLines(f);
        int linesWhenPrinted = -1;
        QVERIFY(f.order.PrintCommand(f.form(), [&] {
            linesWhenPrinted = f.count("xsd_mx");
            return true;
        }));
        QCOMPARE(linesWhenPrinted, 3);
        QCOMPARE(f.dialogs.texts(), QStringList{"打印成功"});
    }

    // Lines of a rented or returned order went out with its stock statement; none are added or removed.
    void rentedOrderKeepsItsLines() {
        OrderFixture f;
        openOrderWithLines(f);
        runAll(f, {"出租审核"});
        f.dialogs.clear();
        QVERIFY(!f.order.AddProductLine("02"));
        QVERIFY(!f.order.Query_MX.deleteRecord());
        QCOMPARE(f.order.QuickSelect("02").kind, orders::QuickSelection::Refused);
        QCOMPARE(f.dialogs.texts(), QStringList(3, QStringLiteral("当前单据已出租或已归还，不能增加或删除商品！")));
        QCOMPARE(f.order.Query_MX.recordCount(), 3);
        runAll(f, {"取消出租"});
        QVERIFY(f.order.AddProductLine("02"));
        QCOMPARE(f.order.Query_MX.recordCount(), 4);
    }
};

QTEST_MAIN(TestStages)
#include "test_stages.moc"
