#include "OrderFixture.h"
#include "orders/OrderNumber.h"

#include <QtTest>

class TestOrderNumber : public QObject {
    Q_OBJECT

private:
    static void storeHeaders(OrderFixture& f, const QStringList& numbers) {
        for (const QString& number : numbers)
            f.program.connection().execute(QStringLiteral("insert into xsd_zb(id,sh) values (:id,'F')"), {{"id", number}});
    }
    static void setOperatorCode(OrderFixture& f, const QString& code) {
        f.program.connection().execute(QStringLiteral("update bm_yg set bm=:bm where dlmc='sa'"), {{"bm", code}});
    }

private Q_SLOTS:
    // The operator "sa" writes on 2026-12-11 with the employee code given.
    void numbering_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty table") << "001" << QStringList{} << "2026121100100001";
        QTest::newRow("other days only") << "001" << QStringList{"2026121000100007", "2026121200100003"}
                                         << "2026121100100001";
        QTest::newRow("next of the day") << "001" << QStringList{"2026121100100001", "2026121100100002"}
                                         << "2026121100100003";
        QTest::newRow("00009 to 00010") << "001" << QStringList{"2026121100100009"} << "2026121100100010";
        QTest::newRow("00099 to 00100") << "001" << QStringList{"2026121100100099"} << "2026121100100100";
        QTest::newRow("other operator's numbers") << "001" << QStringList{"2026121100200005"} << "2026121100100001";
        QTest::newRow("one-character code") << "7" << QStringList{"20261211700003"} << "20261211700004";
        QTest::newRow("two-character code") << "01" << QStringList{"202612110100002"} << "202612110100003";
        // "011" begins with "01": its numbers are one character longer and do not count for "01".
        QTest::newRow("two-character code beside a longer one")
            << "01" << QStringList{"202612110100002", "2026121101100009"} << "202612110100003";
        QTest::newRow("three-character code beside a shorter one")
            << "011" << QStringList{"202612110100002"} << "2026121101100001";
    }
    void numbering() {
        QFETCH(QString, code);
        QFETCH(QStringList, existing);
        QFETCH(QString, expected);
        OrderFixture f;
        setOperatorCode(f, code);
        storeHeaders(f, existing);
        QCOMPARE(f.order.NewOrderNumber().value_or("refused"), expected);
        QVERIFY(f.dialogs.messages().isEmpty());
    }

    void refusals_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("login");
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("message");
        QTest::newRow("four-character code") << "0001" << "sa" << QStringList{}
                                             << "员工编码“0001”不是一到三个字符，不能生成单号！";
        QTest::newRow("empty code") << "" << "sa" << QStringList{} << "员工编码“”不是一到三个字符，不能生成单号！";
        QTest::newRow("unknown login") << "001" << "nobody" << QStringList{}
                                       << "员工资料中没有登录名称为“nobody”的员工，不能生成单号！";
        QTest::newRow("login with a quote") << "001" << "a\"b'c" << QStringList{}
                                            << "员工资料中没有登录名称为“a\"b'c”的员工，不能生成单号！";
        QTest::newRow("numbers used up") << "001" << "sa" << QStringList{"2026121100199999"}
                                         << "今天的单号已经用完，不能再生成单号！";
    }
    void refusals() {
        QFETCH(QString, code);
        QFETCH(QString, login);
        QFETCH(QStringList, existing);
        QFETCH(QString, message);
        OrderFixture f;
        setOperatorCode(f, code);
        storeHeaders(f, existing);
        f.program.dm().settings().setText("dl", "user", login);
        QCOMPARE(f.order.NewOrderNumber(), std::nullopt);
        QCOMPARE(f.dialogs.messages().size(), 1);
        const ui::MessageRequest& box = f.dialogs.messages().first();
        QCOMPARE(box.text, message);
        QCOMPARE(box.caption, QStringLiteral("提示"));
        QCOMPARE(box.icon, ui::Icon::Information);
    }

    // Saved orders count: each operator has his own running numbers, each day starts again.
    void numbersAcrossOperatorsAndDays() {
        OrderFixture f;
        f.program.addEmployee("002", "王芳", "wf");
        auto newSavedOrder = [&] {
            const QString number = f.order.NewOrderNumber().value_or(QString());
            f.order.OpenOrder(number);
            if (!f.order.bc(number, OrderFixture::kHandler))
                return QStringLiteral("not saved");
            return number;
        };
        QCOMPARE(newSavedOrder(), QStringLiteral("2026121100100001"));
        QCOMPARE(newSavedOrder(), QStringLiteral("2026121100100002"));
        f.program.dm().settings().setText("dl", "user", "wf");
        QCOMPARE(newSavedOrder(), QStringLiteral("2026121100200001"));
        f.program.dm().settings().setText("dl", "user", "sa");
        QCOMPARE(newSavedOrder(), QStringLiteral("2026121100100003"));
        f.today = OrderFixture::kToday.addDays(1);
        QCOMPARE(newSavedOrder(), QStringLiteral("2026121200100001"));
        QCOMPARE(f.count("xsd_zb"), 5);
    }

    void nextNumberFromTheLastFiveCharacters_data() {
        QTest::addColumn<QString>("last");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("expected");
        QTest::newRow("none yet") << orders::kNoLastNumber << "20261211001" << "2026121100100001";
        QTest::newRow("earlier day") << "2026121000100044" << "20261211001" << "2026121100100001";
        QTest::newRow("same prefix") << "2026121100100044" << "20261211001" << "2026121100100045";
        QTest::newRow("short code") << "20261211900009" << "202612119" << "20261211900010";
        QTest::newRow("last one") << "2026121100199998" << "20261211001" << "2026121100199999";
        QTest::newRow("none left") << "2026121100199999" << "20261211001" << "";
    }
    void nextNumberFromTheLastFiveCharacters() {
        QFETCH(QString, last);
        QFETCH(QString, prefix);
        QFETCH(QString, expected);
        QCOMPARE(orders::nextOrderNumber(last, prefix), expected);
    }
};

QTEST_MAIN(TestOrderNumber)
#include "test_ordernumber.moc"
