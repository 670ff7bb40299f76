#include "OrderWindowFixture.h"

#include "ini/IniFile.h"
#include "masterdata/BMTP.h"
#include "masterdata/DBNavigator.h"
#include "masterdata/DataGrid.h"
#include "masterdata/PictureView.h"
#include "orders/OrderTexts.h"
#include "orders/PrintRoute.h"
#include "orders/xsp.h"
#include "orders/xsp_x.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

namespace {

using Fixture = OrderWindowFixture;
namespace texts = orders::texts;

const QString kHandler = QStringLiteral("系统管理员");

QByteArray gbk(const char* text) {
    return text::toGbk(QString::fromUtf8(text));
}

// Moves the quick list's cursor to the product and returns the list.
orders::Txspx& quickListOn(Fixture& f, const QString& code) {
    orders::Txspx& list = orders::Txspx::instance(f.program.dm());
    list.query_sp.locate(QStringLiteral("BM"), code);
    return list;
}

// The grid's double-click signal on a row (the test library's double clicks do not
// reliably reach item views).
void doubleClickRow(QTableView* grid, int row) {
    emit grid->doubleClicked(grid->model()->index(row, 0));
}

} // namespace

class TestOrderWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Every control of the window, found by name and by what the operator reads.
    void controlsCarryTheirCaptionsAndLabels() {
        Fixture f;
        orders::Txsd* w = f.window;
        QCOMPARE(w->windowTitle(), QStringLiteral("出租、归还单"));
        const std::pair<const char*, const char*> captions[] = {
            {"SpeedButton2", "新增[&A]"}, {"SpeedButton1", "保存[&S]"}, {"SpeedButton3", "删除[&D]"},
            {"SpeedButton4", "设计[&J]"}, {"SpeedButton6", "打印[&P]"}, {"SpeedButton5", "退出[&E]"},
            {"BitBtn1", "选择商品"},      {"BitBtn_YY", "预约审核"},   {"BitBtn_FYY", "取消预约"},
            {"BitBtn_sh", "出租审核"},    {"BitBtn_fsh", "取消出租"},  {"BitBtn_qx", "归还审核"},
            {"BitBtn_fqx", "取消归还"},   {"CheckBox1", "不预览直接打印"}, {"CheckBox2", "收款确认后打印"},
            {"CheckBox_XP", "使用小票打印格式"}, {"CheckBox3", "显示预览图"},
        };
        for (const auto& [name, caption] : captions) {
            auto* button = w->findChild<QAbstractButton*>(QLatin1String(name));
            QVERIFY2(button, name);
            QCOMPARE(button->text(), QString::fromUtf8(caption));
        }
        const std::pair<const char*, const char*> labels[] = {
            {"Edit_id", "单    号："},    {"DBDateTimeEditEh2", "日期："}, {"JBR", "经办人："},
            {"zdr", "制单人："},         {"DBMemo1", "备注："},         {"ComboBox1", "选择折扣："},
            {"KHMC", "姓名："},          {"DBEditEh2", "电话："},       {"DBEditEh3", "身份证："},
            {"DBEditEh4", "地址："},     {"DBEditEh5", "保证人："},     {"DBDateTimeEditEh3", "租借日期："},
            {"DBDateTimeEditEh1", "归还日期："}, {"DBEditEh6", "其    他："}, {"TXMXZ", "快捷选择："},
            {"YS", "应收合计："},        {"YSYJ", "其中包括：押金"},    {"YSZJ", "元、租金"},
            {"YYSK", "预约收款："},      {"SS", "出租收款："},          {"QXSK", "归还结款："},
            {"DB_SSJE", "已收："},       {"DB_WFJE", "未付："},         {"Edit1", "收款："},
        };
        for (const auto& [name, text] : labels) {
            auto* control = w->findChild<QWidget*>(QLatin1String(name));
            QVERIFY2(control, name);
            auto* label = w->findChild<QLabel*>(QStringLiteral("Label_") + QLatin1String(name));
            QVERIFY2(label && label->buddy() == control, name);
            QCOMPARE(label->text(), QString::fromUtf8(text));
            QVERIFY(!control->accessibleName().isEmpty());
        }
        QCOMPARE(w->GroupBox1->title(), QStringLiteral("客户资料"));
        QCOMPARE(w->Label_hint->text(), QStringLiteral("可直接输入编码、条码、简拼进行方便选择！"));
        QCOMPARE(w->Label_refund->text(), QStringLiteral("注：商品归还时如需退还押金请在 [收款] 内填写负数！"));
        QCOMPARE(w->ComboBox1->currentText(), QStringLiteral("不打折"));
        QStringList discounts;
        for (int i = 0; i < w->ComboBox1->count(); ++i)
            discounts << w->ComboBox1->itemText(i);
        QCOMPARE(discounts, (QStringList{"不打折", "95折", "9折", "8折", "7折", "6折"}));

        QStringList titles;
        for (int column = 0; column < f.model()->columnCount(); ++column)
            titles << f.model()->headerData(column, Qt::Horizontal).toString();
        QCOMPARE(titles, (QStringList{"商品编码", "商品名称", "单位", "物品价格", "押金", "租金", "库存数量",
                                      "租赁数量", "时间（天）", "租金合计", "备注"}));
        QCOMPARE(f.footer("SPBM"), QStringLiteral("合 计："));
        QVERIFY(!w->Panel5->isVisible());
        QVERIFY(w->findChild<masterdata::PictureView*>(QStringLiteral("Image1")));
        QCOMPARE(w->DBNavigator1->objectName(), QStringLiteral("DBNavigator1"));
    }

    // In the main window's work area the window takes the top left, a little smaller
    // than the area; closing its frame asks the window.
    void placedInTheWorkArea() {
        Fixture f;
        delete f.window.data();
        QMdiArea area;
        area.resize(1366, 700);
        area.show();
        f.window = orders::Txsd::create(f.program.dm());
        QMdiSubWindow* frame = area.addSubWindow(f.window);
        frame->show();
        const QSize work = area.viewport()->size();
        QCOMPARE(frame->geometry(), QRect(0, 0, work.width() - 6, work.height() - 4));
        f.newOrder();
        f.addLineByCode("01");
        Fixture::click(f.window->SpeedButton1);
        Fixture::typeInto(f.window->DBEditEh2, "1");
        f.dialogs.clear();
        f.dialogs.answerNext(ui::Button::Cancel);
        QVERIFY(!frame->close());
        QCOMPARE(f.dialogs.texts(), QStringList{QStringLiteral("当前还没有保存，是否现在保存？")});
        f.dialogs.answerNext(ui::Button::No);
        Fixture::click(f.window->SpeedButton5);  // 退出 closes the frame with the window
        QTRY_VERIFY(f.window.isNull());
    }

    // Nothing to act on before an order is open: the stage commands, save, delete and
    // print stay off; a new order switches on what its stage allows.
    void commandsFollowTheOpenOrder() {
        Fixture f;
        QCOMPARE(f.stageButtons(), QStringLiteral("000000"));
        for (QToolButton* command : {f.window->SpeedButton1, f.window->SpeedButton3, f.window->SpeedButton6})
            QVERIFY(!command->isEnabled());
        QVERIFY(!f.window->SpeedButton4->isEnabled());  // no print format window yet

        Fixture::click(f.window->SpeedButton2);
        QVERIFY(f.window->KHMC->hasFocus());
        Fixture::typeInto(f.window->KHMC, QStringLiteral("张三"));
        const QString number = f.window->Edit_id->text();
        QCOMPARE(number.size(), 16);
        QVERIFY(number.startsWith(QDate::currentDate().toString("yyyyMMdd") + "001"));
        QCOMPARE(f.stageButtons(), QStringLiteral("101000"));
        QCOMPARE(f.window->zdr->text(), kHandler);
        QCOMPARE(f.window->JBR->currentText(), kHandler);
        QCOMPARE(f.window->JBR->count(), 1);
        QCOMPARE(f.window->DBDateTimeEditEh2->date(), QDate::currentDate());
        QCOMPARE(f.window->DBDateTimeEditEh3->date(), QDate::currentDate());
        QCOMPARE(f.window->DBDateTimeEditEh1->date(), QDate::currentDate().addDays(1));
        QCOMPARE(f.order().Query_ZB.field("KHMC").asString(), QStringLiteral("张三"));
        QCOMPARE(f.dialogs.texts(), QStringList{});
    }

    // Product entry by every path: a code typed into the grid, the quick-selection box
    // with one match and with two (through the quick list), and the full picker.
    void productsEnterByEveryPath() {
        Fixture f;
        f.newOrder();
        f.addLineByCode("01");
        QCOMPARE(f.lineCodes(), QStringList{"01"});
        QCOMPARE(f.line(0, "SPMC"), QStringLiteral("礼服"));
        QCOMPARE(f.line(0, "KCSL"), QStringLiteral("10"));
        QCOMPARE(f.line(0, "SL"), QStringLiteral("1"));
        QCOMPARE(f.line(0, "TS"), QStringLiteral("1"));
        QCOMPARE(f.line(0, "ZZJ"), QStringLiteral("50"));
        QCOMPARE(f.line(0, "ID"), f.window->Edit_id->text());
        QVERIFY(f.window->DBGridEh1->hasFocus());  // Enter stayed in the grid, on the next cell
        QCOMPARE(f.window->DBGridEh1->currentIndex().column(), f.model()->modelColumn("SPMC"));

        f.quickSelect("xj");
        QCOMPARE(f.lineCodes(), (QStringList{"01", "02"}));
        QCOMPARE(f.line(1, "TXM"), QStringLiteral("6902"));
        QCOMPARE(f.window->TXMXZ->text(), QString());
        QVERIFY(f.window->TXMXZ->hasFocus());

        f.quickSelect("hs");
        orders::Txspx& list = quickListOn(f, "04");
        QVERIFY(list.isVisible());
        QCOMPARE(list.query_sp.recordCount(), 2);
        QCOMPARE(f.lineCodes(), (QStringList{"01", "02"}));
        QTest::keyClick(list.DBGridEh1, '+');
        QVERIFY(!list.isVisible());
        QCOMPARE(f.lineCodes(), (QStringList{"01", "02", "04"}));
        QCOMPARE(f.window->TXMXZ->text(), QString());
        QVERIFY(f.window->TXMXZ->hasFocus());

        f.window->DBNavigator1->click(masterdata::DBNavigator::Button::Insert);
        QLineEdit* codeCell = f.openCell(3, "SPBM");
        QVERIFY(codeCell);
        auto* ellipsis = codeCell->findChild<QAction*>(QStringLiteral("EditButton"));
        QVERIFY(ellipsis);
        ellipsis->trigger();
        orders::TXZSP& picker = orders::TXZSP::instance(f.program.dm());
        QVERIFY(picker.isVisible());
        QCOMPARE(picker.windowModality(), Qt::ApplicationModal);
        QCOMPARE(picker.PickerCaller, QStringLiteral("txsd"));
        QVERIFY(picker.Query_SP.locate(QStringLiteral("BM"), QStringLiteral("03")));
        doubleClickRow(picker.DBGridEh1, picker.Query_SP.row());
        QVERIFY(!picker.isVisible());
        QCOMPARE(f.lineCodes(), (QStringList{"01", "02", "04", "03"}));
        QCOMPARE(f.line(3, "SPMC"), QStringLiteral("婚纱"));

        // Deposits 200 + 500 + 0 + 1000; four items; rents 50 + 30 + 10 + 80.
        QCOMPARE(f.footer("YJ"), QStringLiteral("1700.00"));
        QCOMPARE(f.footer("KCSL"), QStringLiteral("4"));
        QCOMPARE(f.footer("ZZJ"), QStringLiteral("170"));
        QCOMPARE(f.window->YSYJ->text(), QStringLiteral("1700.00"));
        QCOMPARE(f.window->YSZJ->text(), QStringLiteral("170.00"));
        QCOMPARE(f.window->YS->text(), QStringLiteral("1870.00"));
        QCOMPARE(f.dialogs.texts(), QStringList{});
    }

    // A code that no product has, typed into the grid: told, and the line goes. Quotes
    // and "%" are plain characters of the code.
    void unknownCodeInTheGridDropsTheLine_data() {
        QTest::addColumn<QString>("code");
        QTest::newRow("no such code") << "99";
        QTest::newRow("percent sign") << "0%";
        QTest::newRow("double quote") << "0\"1";
        QTest::newRow("single quote") << "'";
    }
    void unknownCodeInTheGridDropsTheLine() {
        QFETCH(QString, code);
        Fixture f;
        f.newOrder();
        f.addLineByCode("01");
        f.addLineByCode(code);
        QCOMPARE(f.dialogs.texts(), QStringList{texts::kCodeUnknown});
        QCOMPARE(f.lineCodes(), QStringList{"01"});
        QCOMPARE(f.window->YS->text(), QStringLiteral("250.00"));
    }

    // Without an employee for the login there is no number; an employee without a name
    // leaves the new order open but says what is missing.
    void newOrderNeedsTheOperatorAsEmployee_data() {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("opened");
        QTest::newRow("no employee with the login")
            << "update bm_yg set dlmc='old' where dlmc='sa'" << texts::kLoginWithoutEmployee.arg("sa") << false;
        QTest::newRow("employee without a name")
            << "update bm_yg set mc='' where dlmc='sa'"
            << QStringLiteral("请在“基础资料-员工资料”中输入至少一个有姓名的员工") << true;
    }
    void newOrderNeedsTheOperatorAsEmployee() {
        QFETCH(QString, statement);
        QFETCH(QString, message);
        QFETCH(bool, opened);
        Fixture f;
        f.program.execute(statement);
        Fixture::click(f.window->SpeedButton2);
        QCOMPARE(f.dialogs.texts(), QStringList{message});
        QCOMPARE(f.window->Edit_id->text().size(), opened ? 16 : 0);
        QCOMPARE(f.stageButtons(), QString::fromLatin1(opened ? "101000" : "000000"));
    }

    // The road of one rental: quantities, three days, a discount, then reservation,
    // rental and return with their payments and stock, and every cancel back.
    void oneRentalFromReservationToReturnAndBack() {
        Fixture f;
        f.newOrder();
        f.addLineByCode("01");
        f.quickSelect("6902");
        f.typeIntoCell(0, "SL", "2");
        QCOMPARE(f.line(0, "ZZJ"), QStringLiteral("100"));

        QDateEdit* returnDate = f.window->DBDateTimeEditEh1;
        returnDate->setFocus();
        returnDate->setDate(f.window->DBDateTimeEditEh3->date().addDays(3));
        Fixture::pressEnter(returnDate);
        QCOMPARE(f.line(0, "TS"), QStringLiteral("3"));
        QCOMPARE(f.line(1, "TS"), QStringLiteral("3"));
        QCOMPARE(f.line(0, "ZZJ"), QStringLiteral("300"));
        QCOMPARE(f.line(1, "ZZJ"), QStringLiteral("90"));

        f.window->ComboBox1->setCurrentIndex(1);  // "95折", not applied
        f.window->ComboBox1->setFocus();
        QTest::keyClick(f.window->ComboBox1, Qt::Key_Down);  // the operator chooses "9折"
        QCOMPARE(f.window->ComboBox1->currentText(), QStringLiteral("9折"));
        QCOMPARE(f.line(0, "ZZJ"), QStringLiteral("270"));
        QCOMPARE(f.line(1, "ZZJ"), QStringLiteral("81"));
        QCOMPARE(f.window->YS->text(), QStringLiteral("1051.00"));  // 700 deposit + 351 rent

        Fixture::typeInto(f.window->Edit1, "100");
        Fixture::click(f.window->BitBtn_YY);
        QCOMPARE(f.dialogs.texts(), QStringList{texts::kReserved});
        QCOMPARE(f.header("YYSH"), QStringLiteral("T"));
        QCOMPARE(f.header("YYSK"), QStringLiteral("100.00"));
        QCOMPARE(f.header("YS"), QStringLiteral("1051.00"));
        QCOMPARE(f.window->Edit1->text(), QString());
        QCOMPARE(f.stageButtons(), QStringLiteral("011000"));
        QCOMPARE(f.stock("01"), QStringLiteral("10.00/0.00"));

        f.dialogs.clear();
        Fixture::typeInto(f.window->Edit1, "300");
        Fixture::click(f.window->BitBtn_sh);  // prints the ticket first: "收款确认后打印"
        QCOMPARE(f.dialogs.texts(), (QStringList{texts::kPrinted, texts::kRented}));
        QVERIFY(f.portBytes().startsWith("\x1C\x26No." + f.window->Edit_id->text().toLatin1()));
        QCOMPARE(f.header("SH"), QStringLiteral("T"));
        QCOMPARE(f.header("SS"), QStringLiteral("300.00"));
        QCOMPARE(f.header("SSJE"), QStringLiteral("400.00"));
        QCOMPARE(f.window->DB_WFJE->text(), QStringLiteral("651.00"));
        QCOMPARE(f.stock("01"), QStringLiteral("8.00/2.00"));
        QCOMPARE(f.stock("02"), QStringLiteral("3.00/1.00"));
        QCOMPARE(f.stageButtons(), QStringLiteral("000110"));
        QVERIFY(!f.window->KHMC->isEnabled());

        f.dialogs.clear();
        Fixture::typeInto(f.window->Edit1, "-200");
        Fixture::click(f.window->BitBtn_qx);
        QCOMPARE(f.dialogs.texts(), QStringList{texts::kReturned});
        QCOMPARE(f.header("QX"), QStringLiteral("T"));
        QCOMPARE(f.header("QXSK"), QStringLiteral("-200.00"));
        QCOMPARE(f.header("SSJE"), QStringLiteral("200.00"));
        QCOMPARE(f.header("WFJE"), QStringLiteral("851.00"));
        QCOMPARE(f.stock("01"), QStringLiteral("10.00/0.00"));
        QCOMPARE(f.stock("02"), QStringLiteral("4.00/0.00"));
        QCOMPARE(f.stageButtons(), QStringLiteral("000001"));

        struct Cancel {
            QPushButton* button;
            QString message;
            QString paymentBack;
            QString buttonsAfter;
            QString stock01;
        };
        const Cancel cancels[] = {
            {f.window->BitBtn_fqx, texts::kReturnCancelled, "-200", "000110", "8.00/2.00"},
            {f.window->BitBtn_fsh, texts::kRentalCancelled, "300", "011000", "10.00/0.00"},
            {f.window->BitBtn_FYY, texts::kReservationCancelled, "100", "101000", "10.00/0.00"},
        };
        for (const Cancel& cancel : cancels) {
            f.dialogs.clear();
            Fixture::click(cancel.button);
            QCOMPARE(f.dialogs.texts(), QStringList{cancel.message});
            QCOMPARE(f.window->Edit1->text(), cancel.paymentBack);
            QCOMPARE(f.stageButtons(), cancel.buttonsAfter);
            QCOMPARE(f.stock("01"), cancel.stock01);
        }
        QCOMPARE(f.header("SSJE"), QStringLiteral("0.00"));
        QCOMPARE(f.header("YYSH"), QStringLiteral("F"));
        QVERIFY(f.model()->flags(f.model()->index(0, f.model()->modelColumn("SL"))) & Qt::ItemIsEditable);
        QVERIFY(!f.window->KHMC->isEnabled());  // only a new order switches the name box on again
        Fixture::click(f.window->SpeedButton2);
        QVERIFY(f.window->KHMC->isEnabled());
    }

    // Once the items are out, no path changes the lines.
    void linesStayAsRentedByEveryPath() {
        Fixture f;
        f.window->CheckBox2->setChecked(false);
        f.newOrder();
        f.addLineByCode("01");
        f.quickSelect("xj");
        Fixture::click(f.window->BitBtn_sh);
        QCOMPARE(f.dialogs.texts(), QStringList{texts::kRented});
        const QStringList rented{"01", "02"};

        QVERIFY(!(f.model()->flags(f.model()->index(0, f.model()->modelColumn("SPBM"))) & Qt::ItemIsEditable));
        for (QWidget* control : std::initializer_list<QWidget*>{f.window->TXMXZ, f.window->BitBtn1, f.window->ComboBox1,
                                                                f.window->DBDateTimeEditEh3, f.window->DBDateTimeEditEh1})
            QVERIFY2(!control->isEnabled(), qPrintable(control->objectName()));

        f.dialogs.clear();
        f.window->TXMXZ->setText("hs");
        f.window->BitBtn1Click();
        QVERIFY(!orders::Txspx::instance(f.program.dm()).isVisible());

        orders::Txspx& list = orders::Txspx::instance(f.program.dm());
        list.showList("select * from bm_sp", f.window);
        QTest::keyClick(list.DBGridEh1, Qt::Key_Return);

        orders::TXZSP& picker = orders::TXZSP::instance(f.program.dm());
        picker.showFor(f.window);
        picker.Query_SP.locate(QStringLiteral("BM"), QStringLiteral("03"));
        picker.DBGridEh1DblClick();

        f.lines().first();
        f.window->DBNavigator1->click(masterdata::DBNavigator::Button::Insert);
        f.window->DBNavigator1->click(masterdata::DBNavigator::Button::Delete);

        QCOMPARE(f.dialogs.texts(), QStringList(5, texts::kLinesLocked));
        QCOMPARE(f.lineCodes(), rented);
        QCOMPARE(f.line(0, "SL"), QStringLiteral("1"));
        QCOMPARE(f.program.scalar("select count(*) from xsd_mx").toInt(), 2);
        QCOMPARE(f.stock("01"), QStringLiteral("9.00/1.00"));
    }

    // Enter in the quick-selection box, as typed or as a barcode scanner sends it.
    // Quotes, "%" and "_" are plain characters.
    void quickSelectionOnEnter_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("codes");
        QTest::addColumn<QString>("boxAfter");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<int>("listed");
        const QStringList unknown{texts::kProductUnknown};
        QTest::newRow("pinyin initials") << "lf" << QStringList{"01"} << "" << QStringList{} << 0;
        QTest::newRow("scanned barcode") << "6902" << QStringList{"02"} << "" << QStringList{} << 0;
        QTest::newRow("code") << "03" << QStringList{"03"} << "" << QStringList{} << 0;
        QTest::newRow("percent sign is text") << "%" << QStringList{"04"} << "" << QStringList{} << 0;
        QTest::newRow("underscore is text") << "_" << QStringList{} << "_" << unknown << 0;
        QTest::newRow("quote is text") << "\"" << QStringList{} << "\"" << unknown << 0;
        QTest::newRow("single quote is text") << "' or ''='" << QStringList{} << "' or ''='" << unknown << 0;
        QTest::newRow("nothing") << "zz" << QStringList{} << "zz" << unknown << 0;
        QTest::newRow("two products: the quick list") << "hs" << QStringList{} << "hs" << QStringList{} << 2;
    }
    void quickSelectionOnEnter() {
        QFETCH(QString, typed);
        QFETCH(QStringList, codes);
        QFETCH(QString, boxAfter);
        QFETCH(QStringList, messages);
        QFETCH(int, listed);
        Fixture f;
        f.newOrder();
        f.quickSelect(typed);
        QCOMPARE(f.lineCodes(), codes);
        QCOMPARE(f.window->TXMXZ->text(), boxAfter);
        QCOMPARE(f.dialogs.texts(), messages);
        orders::Txspx& list = orders::Txspx::instance(f.program.dm());
        QCOMPARE(list.isVisible(), listed > 0);
        if (listed > 0)
            QCOMPARE(list.query_sp.recordCount(), listed);
        else
            QVERIFY(f.window->TXMXZ->hasFocus());
    }

    // Enter elsewhere moves on to the next control; inside the grid to the next cell.
    void enterMovesToTheNextControl() {
        Fixture f;
        f.newOrder();
        const std::pair<QWidget*, QWidget*> steps[] = {
            {f.window->KHMC, f.window->DBEditEh2},
            {f.window->DBEditEh5, f.window->DBDateTimeEditEh3},
            {f.window->Edit_id, f.window->DBDateTimeEditEh2},
            {f.window->DBMemo1, f.window->ComboBox1},
        };
        for (const auto& [from, to] : steps) {
            Fixture::pressEnter(from);
            QVERIFY2(to->hasFocus(), qPrintable(from->objectName()));
        }
        QCOMPARE(f.window->DBMemo1->toPlainText(), QString());  // no line break in the remark
        f.addLineByCode("02");
        QLineEdit* quantity = f.openCell(0, "SL");
        QTest::keyClick(quantity, Qt::Key_Return);
        QCoreApplication::processEvents();
        QVERIFY(f.window->DBGridEh1->hasFocus());
        QCOMPARE(f.window->DBGridEh1->currentIndex().column(), f.model()->modelColumn("TS"));
    }

    // The payment box takes digits, "-" and "." only; left empty it reads 0. A text
    // that is no number stops the stage command.
    void paymentBoxTakesNumbersOnly() {
        Fixture f;
        f.newOrder();
        f.addLineByCode("01");
        Fixture::typeInto(f.window->Edit1, "1a2b-.3x 元");
        QCOMPARE(f.window->Edit1->text(), QStringLiteral("12-.3"));
        f.window->Edit1->selectAll();
        QTest::keyClick(f.window->Edit1, Qt::Key_Backspace);
        Fixture::pressEnter(f.window->Edit1);
        QCOMPARE(f.window->Edit1->text(), QStringLiteral("0"));

        f.window->Edit1->setText("-");
        Fixture::click(f.window->BitBtn_YY);
        QCOMPARE(f.dialogs.texts(), QStringList{texts::kPaymentNotANumber.arg("-")});
        QCOMPARE(f.header("YYSH"), QStringLiteral("null"));
        QCOMPARE(f.stageButtons(), QStringLiteral("101000"));
    }

    // Every close attempt writes the print options; unsaved changes are asked about.
    void closingQuestion_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("saveFails");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<QString>("storedPhone");
        QTest::addColumn<QStringList>("messages");
        const QString question = QStringLiteral("当前还没有保存，是否现在保存？");
        QTest::newRow("yes stores") << int(ui::Button::Yes) << false << true << "13800000000" << QStringList{question};
        QTest::newRow("no drops") << int(ui::Button::No) << false << true << "null" << QStringList{question};
        QTest::newRow("cancel stays") << int(ui::Button::Cancel) << false << false << "null" << QStringList{question};
        QTest::newRow("failed save stays") << int(ui::Button::Yes) << true << false << "null"
                                           << QStringList{question, texts::kSaveFailed};
    }
    void closingQuestion() {
        QFETCH(int, answer);
        QFETCH(bool, saveFails);
        QFETCH(bool, closed);
        QFETCH(QString, storedPhone);
        QFETCH(QStringList, messages);
        Fixture f;
        f.newOrder();
        f.addLineByCode("01");
        Fixture::click(f.window->SpeedButton1);
        QCOMPARE(f.dialogs.texts(), QStringList{texts::kSaved});
        Fixture::typeInto(f.window->DBEditEh2, "13800000000");
        QVERIFY(orders::UnsavedChanges);
        f.window->CheckBox1->setChecked(false);
        if (saveFails)
            f.program.connection().executeNative(
                "create trigger refuse before update on XSD_ZB begin select raise(abort, 'refused'); end");

        f.dialogs.clear();
        f.dialogs.answerNext(ui::Button(answer));
        QCOMPARE(f.window->close(), closed);
        QCOMPARE(f.dialogs.texts(), messages);
        const ui::MessageRequest& box = f.dialogs.messages().first();
        QCOMPARE(box.caption, QStringLiteral("提示"));
        QCOMPARE(box.icon, ui::Icon::Information);
        QCOMPARE(box.buttons, ui::Button::Yes | ui::Button::No | ui::Button::Cancel);
        QCOMPARE(f.stored("select khdh from xsd_zb"), storedPhone);
        const ini::IniFile settings(f.program.path("Default.ini"));
        QCOMPARE(settings.value("xsd", "yl"), QStringLiteral("F"));
        QCOMPARE(settings.value("xsd", "skdy"), QStringLiteral("T"));
        QCOMPARE(settings.value("xsd", "gdxp"), QStringLiteral("T"));
        if (closed) {
            QTRY_VERIFY(f.window.isNull());
        } else {
            QVERIFY(f.window->isVisible());
            QCOMPARE(f.order().Query_ZB.field("KHDH").asString(), QStringLiteral("13800000000"));
        }
    }

    // A new order that was never stored is not lost by closing: with a customer name or a
    // line it is asked about (adding records alone does not set the mark); untouched it is not.
    void closingANewOrderThatWasNeverStored_data() {
        QTest::addColumn<QString>("customer");
        QTest::addColumn<bool>("withLine");
        QTest::addColumn<bool>("asked");
        QTest::newRow("untouched") << "" << false << false;
        QTest::newRow("customer typed") << "王五" << false << true;
        QTest::newRow("line added") << "" << true << true;
    }
    void closingANewOrderThatWasNeverStored() {
        QFETCH(QString, customer);
        QFETCH(bool, withLine);
        QFETCH(bool, asked);
        Fixture f;
        f.newOrder(customer);
        if (withLine)
            f.addLineByCode("01");
        QVERIFY(!orders::UnsavedChanges);
        f.dialogs.clear();
        f.dialogs.answerNext(ui::Button::Yes);
        QVERIFY(f.window->close());
        QCOMPARE(f.dialogs.texts(), asked ? QStringList{QStringLiteral("当前还没有保存，是否现在保存？")} : QStringList{});
        QCOMPARE(f.stored("select count(*) from xsd_zb"), asked ? QStringLiteral("1.00") : QStringLiteral("0.00"));  // stored() shows numbers with two places
    }

    // Opening an existing order by its number, as the query windows do; closing at once asks.
    void openingAnOrderByNumber() {
        QString number;
        Fixture f;
        number = f.newOrder(QStringLiteral("李四"));
        f.addLineByCode("02");
        Fixture::click(f.window->SpeedButton1);
        f.window->Edit_id->clear();
        delete f.window.data();

        orders::UnsavedChanges = false;
        f.window = orders::Txsd::create(f.program.dm());
        f.window->show();
        f.window->openOrder(number);
        QCOMPARE(f.window->KHMC->text(), QStringLiteral("李四"));
        QCOMPARE(f.lineCodes(), QStringList{"02"});
        QCOMPARE(f.stageButtons(), QStringLiteral("101000"));
        f.dialogs.clear();
        f.dialogs.answerNext(ui::Button::No);
        QVERIFY(f.window->close());
        QCOMPARE(f.dialogs.texts(), QStringList{QStringLiteral("当前还没有保存，是否现在保存？")});
    }

    // Delete of an entered order: no question, the window empties.
    void deletingAnOrder() {
        Fixture f;
        f.newOrder();
        f.addLineByCode("01");
        Fixture::click(f.window->SpeedButton1);
        f.dialogs.clear();
        Fixture::click(f.window->SpeedButton3);
        QCOMPARE(f.dialogs.texts(), QStringList{texts::kDeleted});
        QCOMPARE(f.window->Edit_id->text(), QString());
        QCOMPARE(f.window->KHMC->text(), QString());
        QCOMPARE(f.stageButtons(), QStringLiteral("000000"));
        QCOMPARE(f.program.scalar("select count(*) from xsd_zb").toInt(), 0);
        QCOMPARE(f.program.scalar("select count(*) from xsd_mx").toInt(), 0);
    }

    // The ticket through the window to a file port, byte for byte: a Chinese name cut
    // inside a character gets a blank for the half character.
    void ticketReachesThePort() {
        Fixture f;
        const QString number = f.newOrder();
        f.addLineByCode("05");
        f.typeIntoCell(0, "SL", "2");
        f.addLineByCode("02");
        Fixture::click(f.window->SpeedButton6);
        QCOMPARE(f.dialogs.texts(), QStringList{texts::kPrinted});
        const QByteArray expected = QByteArray("\x1C\x26") + "No." + number.toLatin1() + "\r\n"
                                    + gbk("婚纱礼服A") + " " + "   2" + "\r\n"
                                    + gbk("相机") + "      " + "   1" + "\r\n" + QByteArray("\x1C\x2E");
        QCOMPARE(f.portBytes(), expected);
        QCOMPARE(f.header("KHMC"), QStringLiteral("张三"));  // the print command saved first
    }

    void printingWithoutTheTicketOption() {
        Fixture f;
        f.window->CheckBox_XP->setChecked(false);
        f.newOrder();
        f.addLineByCode("01");
        Fixture::click(f.window->SpeedButton6);
        QCOMPARE(f.dialogs.texts(), QStringList{orders::kPagePrintingUnavailable});
        QVERIFY(!QFile::exists(f.portPath()));

        // The rental still goes on, unprinted, and says so.
        f.dialogs.clear();
        Fixture::click(f.window->BitBtn_sh);
        QCOMPARE(f.dialogs.texts(), (QStringList{orders::kPagePrintingUnavailable, texts::kRented}));
        QVERIFY(!QFile::exists(f.portPath()));
    }

    void unwritablePortIsReported() {
        Fixture f;
        f.program.dm().settings().setText("xsd", "port", f.portDir.filePath("no/such/folder/lp0"));
        f.newOrder();
        f.addLineByCode("01");
        Fixture::click(f.window->SpeedButton6);
        QCOMPARE(f.dialogs.messages().size(), 1);
        QVERIFY(f.dialogs.lastText().contains("no/such/folder/lp0"));
        QVERIFY(!f.dialogs.texts().contains(texts::kPrinted));
    }

    // Without the template the ticket option unticks itself with a warning, at creation too.
    void ticketOptionNeedsItsTemplate() {
        Fixture f(Fixture::Template::Missing);
        const QString path = f.program.path("PrintFormat/xpjhl.piv");
        QCOMPARE(f.dialogs.texts(), QStringList{QStringLiteral("打印格式文件") + path + QStringLiteral("不存在！")});
        QCOMPARE(f.dialogs.messages().first().caption, QStringLiteral("提示："));
        QCOMPARE(f.dialogs.messages().first().icon, ui::Icon::Warning);
        QVERIFY(!f.window->CheckBox_XP->isChecked());
        QVERIFY(f.window->CheckBox1->isChecked());
        QVERIFY(f.window->CheckBox2->isChecked());

        f.writeTicketTemplate("[Title]\nCount=0\n");
        f.dialogs.clear();
        f.window->CheckBox_XP->setChecked(true);
        QVERIFY(f.window->CheckBox_XP->isChecked());
        QCOMPARE(f.dialogs.texts(), QStringList{});
    }

    // The remark keeps the 50 characters of its column; a product's longer name and
    // unit are cut to the 50 characters of the line's columns.
    void textsFitTheirColumns() {
        Fixture f;
        f.program.addProduct("06", QString(60, QChar(0x540D)), 5, 0, 9);
        f.program.execute(QStringLiteral("update bm_sp set dw='%1' where bm='06'").arg(QString(55, 'u')));
        f.newOrder();
        Fixture::typeInto(f.window->DBMemo1, QString(60, 'r'));
        QCOMPARE(f.window->DBMemo1->toPlainText(), QString(50, 'r'));
        f.addLineByCode("06");
        QCOMPARE(f.line(0, "SPMC"), QString(50, QChar(0x540D)));
        QCOMPARE(f.line(0, "DW"), QString(50, 'u'));
        Fixture::click(f.window->SpeedButton1);
        QCOMPARE(f.dialogs.texts(), QStringList{texts::kSaved});
        QCOMPARE(f.header("BZ"), QString(50, 'r'));
    }

    // A click on a line shows its product's picture; a double click opens the picture window.
    void picturePreviewAndPictureWindow() {
        Fixture f;
        const QString picture = f.portDir.filePath("dress.png");
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::blue);
        QVERIFY(image.save(picture));
        f.program.execute(QStringLiteral("update bm_sp set tp='%1' where bm='01'").arg(picture));
        f.newOrder();
        f.addLineByCode("01");
        f.addLineByCode("02");

        f.window->CheckBox3->setChecked(true);
        QVERIFY(f.window->Panel5->isVisible());
        orders::OrderGrid* grid = f.window->DBGridEh1;
        const auto clickRow = [&](int row) {
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(f.model()->index(row, 0)).center());
        };
        clickRow(0);
        QVERIFY(!f.window->Image1->isEmpty());
        clickRow(1);
        QVERIFY(f.window->Image1->isEmpty());
        f.window->CheckBox3->setChecked(false);
        QVERIFY(!f.window->Panel5->isVisible());

        doubleClickRow(grid, 0);
        masterdata::TBM_TP& pictures = masterdata::TBM_TP::instance(f.program.dm());
        QVERIFY(pictures.isVisible());
        QCOMPARE(pictures.PictureProductCode, QStringLiteral("01"));
        pictures.hide();
    }
};

QTEST_MAIN(TestOrderWindow)
#include "test_orderwindow.moc"
