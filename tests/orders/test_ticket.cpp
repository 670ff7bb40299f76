#include "orders/Ticket.h"
#include "text/Decimal.h"
#include "text/Gbk.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using text::Decimal;

struct OrderData {
    dataset::Dataset header;
    dataset::Dataset lines;

    OrderData() {
        for (const char* column : {"ID", "KHMC", "QX"})
            header.addColumn(column, sql::FieldType::Text, 50);
        for (const char* column : {"SS", "YS", "WFJE"})
            header.addColumn(column, sql::FieldType::Decimal);
        header.createInMemory();
        header.append();
        header.field("ID").setValue("2026121100100001");
        header.field("KHMC").setValue("张三");
        header.field("SS").setValue(Decimal::fromCents(1250));
        header.post();
        for (const char* column : {"SPBM", "SPMC", "BZ"})
            lines.addColumn(column, sql::FieldType::Text, 50);
        for (const char* column : {"SL", "ZJ", "ZZJ"})
            lines.addColumn(column, sql::FieldType::Decimal);
        lines.createInMemory();
    }

    void addLine(const QString& code, const QString& name, Decimal quantity) {
        lines.append();
        lines.field("SPBM").setValue(code);
        lines.field("SPMC").setValue(name);
        lines.field("SL").setValue(quantity);
        lines.post();
    }

    orders::TicketValues values() {
        return {header.currentRecord(), lines.isEmpty() ? std::nullopt : std::optional(lines.currentRecord()),
                QStringLiteral("001"), QDateTime(QDate(2026, 12, 11), QTime(9, 5))};
    }
};

void writeTemplate(const QString& path, const QString& content) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text::toGbk(content));
}

} // namespace

class TestTicket : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void twoLineOrderGivesTheExactByteStream() {
        QTemporaryDir dir;
        const QString path = dir.filePath("xpjhl.piv");
        writeTemplate(path, "[Title]\nCount=1\nT0=No.[id]\n[Data]\nCount=1\nD0=[spmc,10][sl,4]\n[Footer]\nCount=0\n");
        OrderData order;
        order.addLine("A1", "婚纱", Decimal::fromInt(2));
        order.addLine("B2", "camera", Decimal::fromCents(150));
        const ini::IniFile ticketTemplate(path, ini::IniFile::Encoding::Gbk);
        const QByteArray ticket = orders::buildTicket(ticketTemplate, order.header.currentRecord(), order.lines, 1,
                                                      "001", QDateTime::currentDateTime());
        const QByteArray expected = QByteArray("\x1C\x26") + "No.2026121100100001\r\n"
                                    + text::toGbk("婚纱") + "      " + "   2\r\n"
                                    + "camera    " + " 1.5\r\n" + QByteArray("\x1C\x2E");
        QCOMPARE(ticket, expected);
    }

    void sectionsAndCounts() {
        QTemporaryDir dir;
        const QString path = dir.filePath("xpjhl.piv");
        // Title placeholders read the line under the cursor, the footer the first line.
        writeTemplate(path, "[Title]\nCount=2\nT0=[spbm]\n[Data]\nCount=0\nD0=never\n[Footer]\nCount=1\nF0=[spbm]\n");
        OrderData order;
        order.addLine("A1", "婚纱", Decimal::fromInt(1));
        order.addLine("B2", "相机", Decimal::fromInt(1));
        const ini::IniFile ticketTemplate(path, ini::IniFile::Encoding::Gbk);
        const QByteArray ticket = orders::buildTicket(ticketTemplate, order.header.currentRecord(), order.lines, 1,
                                                      "001", QDateTime::currentDateTime());
        // T1 is missing: an empty line. Data Count=0: no line text, the frame stays.
        QCOMPARE(ticket, QByteArray("\x1C\x26" "B2\r\n\r\nA1\r\n" "\x1C\x2E"));
    }

    void placeholders_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("unknown name prints itself") << "[abc]" << QByteArray("abc");
        QTest::newRow("names keep their case") << "[ID]" << QByteArray("ID");
        QTest::newRow("unknown name loses its width") << "x[abc,5]y" << QByteArray("xabcy");
        QTest::newRow("payment with two decimals, right") << "[ss,8]" << QByteArray("   12.50");
        QTest::newRow("quantity shortest form") << "[sl]" << QByteArray("2");
        QTest::newRow("customer left in 6 bytes") << "[khmc,6]" << text::toGbk("张三") + "  ";
        QTest::newRow("blanks inside brackets") << "[ khmc ]" << text::toGbk("张三");
        QTest::newRow("width with blanks") << "[sl, 3]" << QByteArray("  2");
        QTest::newRow("no bracket") << "谢谢惠顾" << text::toGbk("谢谢惠顾");
        QTest::newRow("empty line") << "" << QByteArray();
        QTest::newRow("operator and time") << "[czybm] [now]" << QByteArray("001 2026-12-11 09:05:00");
        QTest::newRow("null flag") << "[qx]" << QByteArray();
        QTest::newRow("reserved customer code") << "[khbm]|" << QByteArray("|");
        QTest::newRow("reserved unit price") << "[dj]|" << QByteArray("|");
        QTest::newRow("reserved line amount") << "[je]|" << QByteArray("|");
        QTest::newRow("reserved total, filled") << "[zje,4]|" << QByteArray("    |");
        QTest::newRow("reserved debt") << "[QK]|" << QByteArray("|");
        QTest::newRow("width no whole number") << "[sl,x]|[khmc,2.5]|" << QByteArray("2|") + text::toGbk("张三") + "|";
        QTest::newRow("open bracket without close") << "a[id b" << QByteArray("a[id b");
        QTest::newRow("close before open") << "a]b[sl]" << QByteArray("a]b2");
        QTest::newRow("wide name cut inside a character") << "[spmc,5]|" << text::toGbk("白色") + " |";
        QTest::newRow("code cut inside a character") << "[spbm,3]|" << text::toGbk("编") + " |";
    }
    void placeholders() {
        QFETCH(QString, line);
        QFETCH(QByteArray, expected);
        OrderData order;
        order.addLine("编码", "白色婚纱", Decimal::fromInt(2));
        QCOMPARE(orders::ConverString(line, order.values()), expected);
    }

    // A customer name typed with brackets is printed as typed, never filled again.
    void replacedValuesAreNotScannedAgain() {
        OrderData order;
        order.header.edit();
        order.header.field("KHMC").setValue("[id]");
        order.header.post();
        QCOMPARE(orders::ConverString("[khmc][sl]", order.values()), QByteArray("[id]0"));
    }

    void nullNumbersReadZero() {
        OrderData order;
        order.header.edit();
        order.header.field("SS").clear();
        order.header.post();
        QCOMPARE(orders::ConverString("[ss,6]|[sl]", order.values()), QByteArray("  0.00|0"));
    }

    void padField_data() {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("alignment");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("width 0") << QByteArray("abc") << 0 << "L" << QByteArray("abc");
        QTest::newRow("left fill") << QByteArray("ab") << 4 << "L" << QByteArray("ab  ");
        QTest::newRow("left cut") << QByteArray("abcdef") << 4 << "L" << QByteArray("abcd");
        QTest::newRow("right fill") << QByteArray("2") << 5 << "R" << QByteArray("    2");
        QTest::newRow("right cut keeps the end") << QByteArray("123456") << 4 << "R" << QByteArray("3456");
        QTest::newRow("any other code is right") << QByteArray("7") << 2 << "x" << QByteArray(" 7");
        QTest::newRow("left cut in a character") << text::toGbk("婚纱") << 3 << "L" << text::toGbk("婚") + " ";
        QTest::newRow("right cut in a character") << text::toGbk("婚纱") << 3 << "R" << " " + text::toGbk("纱");
    }
    void padField() {
        QFETCH(QByteArray, value);
        QFETCH(int, width);
        QFETCH(QString, alignment);
        QFETCH(QByteArray, expected);
        QCOMPARE(orders::PadField(value, width, alignment), expected);
    }

    void portSettingAndWriting() {
        QCOMPARE(orders::ticketPortPath("/tmp/ticket.bin"), QStringLiteral("/tmp/ticket.bin"));
        const QString lpt = orders::ticketPortPath("LPT1");
        QVERIFY(lpt == "/dev/usb/lp0" || lpt == "/dev/lp0");
        QTemporaryDir dir;
        const QString port = dir.filePath("port.bin");
        orders::writeTicket(port, "\x1C\x26" "abc");
        QFile written(port);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), QByteArray("\x1C\x26" "abc"));
        QVERIFY_THROWS_EXCEPTION(orders::TicketError, orders::writeTicket(dir.filePath("no/such/port"), "x"));
    }
};

QTEST_GUILESS_MAIN(TestTicket)
#include "test_ticket.moc"
