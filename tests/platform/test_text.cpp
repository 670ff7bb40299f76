#include "text/DateText.h"
#include "text/Decimal.h"
#include "text/Gbk.h"

#include <QLocale>
#include <QtTest>

using text::Decimal;

Q_DECLARE_METATYPE(Decimal)

namespace {

Decimal cents(qint64 value) { return Decimal::fromCents(value); }

} // namespace

class TestText : public QObject {
    Q_OBJECT

private slots:
    // A locale with a decimal comma and its own date order: none of the texts may follow it.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void gbkRoundTrip_data();
    void gbkRoundTrip();
    void gbkDropsCharactersItCannotEncode_data();
    void gbkDropsCharactersItCannotEncode();
    void gbkInvalidBytesBecomeReplacement_data();
    void gbkInvalidBytesBecomeReplacement();
    void gbkCut_data();
    void gbkCut();

    void decimalFromDouble_data();
    void decimalFromDouble();
    void decimalParse_data();
    void decimalParse();
    void decimalArithmetic_data();
    void decimalArithmetic();
    void decimalCompoundingStaysExact();
    void decimalPlainTexts_data();
    void decimalPlainTexts();
    void decimalFormat_data();
    void decimalFormat();

    void dateParse_data();
    void dateParse();
    void dateParseKeepsOnlyTheDate();
    void dateTexts();
    void weekdayName_data();
    void weekdayName();
};

// ---- GBK ----

void TestText::gbkRoundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("gbk");

    QTest::newRow("ascii") << QStringLiteral("Hello 123") << QByteArray("Hello 123");
    QTest::newRow("chinese") << QStringLiteral("婚纱摄影") << QByteArray::fromHex("bbe9c9b4c9e3d3b0");
    QTest::newRow("mixed") << QStringLiteral("婚纱2号") << QByteArray::fromHex("bbe9c9b432bac5");
    QTest::newRow("full-width punctuation") << QStringLiteral("，。：") << QByteArray::fromHex("a3aca1a3a3ba");
    QTest::newRow("pinyin letter") << QStringLiteral("ā") << QByteArray::fromHex("a8a1");
    QTest::newRow("empty") << QString() << QByteArray();
}

void TestText::gbkRoundTrip()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, gbk);

    QCOMPARE(text::toGbk(text), gbk);
    QCOMPARE(text::fromGbk(gbk), text);
    QCOMPARE(text::gbkByteLength(text), gbk.size());
}

void TestText::gbkDropsCharactersItCannotEncode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("gbk");

    QTest::newRow("emoji between letters") << QStringLiteral("A😀B") << QByteArray("AB");
    QTest::newRow("emoji between Chinese") << QStringLiteral("婚😀纱") << QByteArray::fromHex("bbe9c9b4");
    QTest::newRow("hangul") << QStringLiteral("한A") << QByteArray("A");
    QTest::newRow("only unencodable") << QStringLiteral("😀😀") << QByteArray();
}

void TestText::gbkDropsCharactersItCannotEncode()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, gbk);

    QCOMPARE(text::toGbk(text), gbk);
    QCOMPARE(text::gbkByteLength(text), gbk.size());
}

void TestText::gbkInvalidBytesBecomeReplacement_data()
{
    QTest::addColumn<QByteArray>("gbk");
    QTest::addColumn<QString>("text");

    const QString bad(QChar::ReplacementCharacter);
    QTest::newRow("byte that never starts a character") << QByteArray("A\xff" "B") << "A" + bad + "B";
    QTest::newRow("lead byte cut off at the end") << QByteArray("A\xbb") << "A" + bad;
    QTest::newRow("lead byte before an ASCII digit") << QByteArray("\x81" "0A") << bad + "0A";
    QTest::newRow("unassigned pair is one character") << QByteArray("\xaa\xa1" "B") << bad + "B";
    QTest::newRow("good text resumes after a bad byte")
        << QByteArray("\xff\xbb\xe9") << bad + QStringLiteral("婚");
}

void TestText::gbkInvalidBytesBecomeReplacement()
{
    QFETCH(QByteArray, gbk);
    QFETCH(QString, text);

    QCOMPARE(text::fromGbk(gbk), text);
}

void TestText::gbkCut_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("maxBytes");
    QTest::addColumn<QString>("cut");

    const QString dress = QStringLiteral("婚纱A");
    QTest::newRow("half a character is left out") << dress << 3 << QStringLiteral("婚");
    QTest::newRow("whole characters") << dress << 4 << QStringLiteral("婚纱");
    QTest::newRow("exact width") << dress << 5 << dress;
    QTest::newRow("wider than the text") << dress << 50 << dress;
    QTest::newRow("one byte, first character Chinese") << dress << 1 << QString();
    QTest::newRow("zero") << dress << 0 << QString();
    QTest::newRow("ascii then Chinese") << QStringLiteral("AB婚") << 3 << QStringLiteral("AB");
    QTest::newRow("unencodable takes no width") << QStringLiteral("A😀婚") << 3 << QStringLiteral("A😀婚");
    QTest::newRow("empty") << QString() << 4 << QString();
}

void TestText::gbkCut()
{
    QFETCH(QString, text);
    QFETCH(int, maxBytes);
    QFETCH(QString, cut);

    const QString result = text::cutToGbkWidth(text, maxBytes);
    QCOMPARE(result, cut);
    QVERIFY(text::gbkByteLength(result) <= maxBytes);
}

// ---- Decimal ----

void TestText::decimalFromDouble_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<qint64>("cents");

    QTest::newRow("1.005 written short") << 1.005 << qint64(101);
    QTest::newRow("0.125 half up") << 0.125 << qint64(13);
    QTest::newRow("-0.125 half away from zero") << -0.125 << qint64(-13);
    QTest::newRow("2.675") << 2.675 << qint64(268);
    QTest::newRow("-1.005") << -1.005 << qint64(-101);
    QTest::newRow("1.004 down") << 1.004 << qint64(100);
    QTest::newRow("-1.004 toward zero") << -1.004 << qint64(-100);
    QTest::newRow("0.005 smallest half") << 0.005 << qint64(1);
    QTest::newRow("0.0049999 below half") << 0.0049999 << qint64(0);
    QTest::newRow("0.9") << 0.9 << qint64(90);
    QTest::newRow("large with places") << 1234567.895 << qint64(123456790);
    QTest::newRow("tiny") << 1e-10 << qint64(0);
    QTest::newRow("zero") << 0.0 << qint64(0);
}

void TestText::decimalFromDouble()
{
    QFETCH(double, value);
    QFETCH(qint64, cents);

    QCOMPARE(Decimal::fromDouble(value).cents(), cents);
}

void TestText::decimalParse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<qint64>("cents");

    QTest::newRow("whole") << "12" << true << qint64(1200);
    QTest::newRow("negative") << "-3.5" << true << qint64(-350);
    QTest::newRow("plus sign") << "+7" << true << qint64(700);
    QTest::newRow("no integer digits") << ".5" << true << qint64(50);
    QTest::newRow("point at the end") << "5." << true << qint64(500);
    QTest::newRow("blanks around") << "  12.34 " << true << qint64(1234);
    QTest::newRow("leading zeros") << "0012.10" << true << qint64(1210);
    QTest::newRow("third place rounds up") << "12.345" << true << qint64(1235);
    QTest::newRow("third place rounds down") << "12.3449" << true << qint64(1234);
    QTest::newRow("negative half away from zero") << "-0.125" << true << qint64(-13);
    QTest::newRow("negative rounds to zero") << "-0.004" << true << qint64(0);
    QTest::newRow("empty") << "" << false << qint64(0);
    QTest::newRow("blanks only") << "   " << false << qint64(0);
    QTest::newRow("two points") << "1.2.3" << false << qint64(0);
    QTest::newRow("letters") << "abc" << false << qint64(0);
    QTest::newRow("exponent") << "1e2" << false << qint64(0);
    QTest::newRow("sign only") << "-" << false << qint64(0);
    QTest::newRow("point only") << "." << false << qint64(0);
    QTest::newRow("blank inside") << "1 2" << false << qint64(0);
    QTest::newRow("blank after sign") << "- 5" << false << qint64(0);
    QTest::newRow("trailing letter") << "12a" << false << qint64(0);
    QTest::newRow("decimal comma") << "12,5" << false << qint64(0);
    QTest::newRow("full-width digits") << QStringLiteral("１２") << false << qint64(0);
    QTest::newRow("too large") << "999999999999999999999" << false << qint64(0);
}

void TestText::decimalParse()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(qint64, cents);

    const std::optional<Decimal> parsed = Decimal::parse(text);
    QCOMPARE(parsed.has_value(), accepted);
    if (accepted)
        QCOMPARE(parsed->cents(), cents);
}

void TestText::decimalArithmetic_data()
{
    QTest::addColumn<Decimal>("left");
    QTest::addColumn<char>("operation");
    QTest::addColumn<Decimal>("right");
    QTest::addColumn<Decimal>("result");

    QTest::newRow("sum is exact") << Decimal::fromDouble(0.1) << '+' << Decimal::fromDouble(0.2) << cents(30);
    QTest::newRow("difference") << cents(100) << '-' << cents(250) << cents(-150);
    QTest::newRow("product rounds half up") << cents(33) << '*' << cents(50) << cents(17);
    QTest::newRow("negative product away from zero") << cents(-33) << '*' << cents(50) << cents(-17);
    QTest::newRow("product rounds down") << cents(115) << '*' << cents(115) << cents(132);
    QTest::newRow("large product") << Decimal::fromInt(90000000) << '*' << Decimal::fromInt(1000)
                                   << Decimal::fromInt(90000000000);
    QTest::newRow("quotient down") << Decimal::fromInt(10) << '/' << Decimal::fromInt(3) << cents(333);
    QTest::newRow("quotient up") << Decimal::fromInt(20) << '/' << Decimal::fromInt(3) << cents(667);
    QTest::newRow("negative quotient") << Decimal::fromInt(-20) << '/' << Decimal::fromInt(3) << cents(-667);
    QTest::newRow("negative divisor, exact half") << Decimal::fromInt(1) << '/' << Decimal::fromInt(-8)
                                                  << cents(-13);
    QTest::newRow("fractional divisor") << Decimal::fromInt(1) << '/' << cents(25) << Decimal::fromInt(4);
    QTest::newRow("division by zero") << Decimal::fromInt(5) << '/' << Decimal() << Decimal();
}

void TestText::decimalArithmetic()
{
    QFETCH(Decimal, left);
    QFETCH(char, operation);
    QFETCH(Decimal, right);
    QFETCH(Decimal, result);

    Decimal actual;
    switch (operation) {
    case '+': actual = left + right; break;
    case '-': actual = left - right; break;
    case '*': actual = left * right; break;
    case '/': actual = left / right; break;
    }
    QCOMPARE(actual.cents(), result.cents());
}

void TestText::decimalCompoundingStaysExact()
{
    const Decimal discount = Decimal::fromDouble(0.9);
    QCOMPARE((Decimal::fromInt(100) * discount * discount).cents(), qint64(8100));

    Decimal total;
    for (int i = 0; i < 10; ++i)
        total += Decimal::fromDouble(0.1);
    QVERIFY(total == Decimal::fromInt(1));
    total -= Decimal::fromDouble(0.3);
    QCOMPARE(total.cents(), qint64(70));
    QVERIFY(cents(-1) < Decimal());
}

void TestText::decimalPlainTexts_data()
{
    QTest::addColumn<qint64>("cents");
    QTest::addColumn<QString>("plain");
    QTest::addColumn<int>("places");
    QTest::addColumn<QString>("fixed");

    QTest::newRow("half") << qint64(1250) << "12.5" << 2 << "12.50";
    QTest::newRow("whole") << qint64(1200) << "12" << 2 << "12.00";
    QTest::newRow("negative fraction") << qint64(-25) << "-0.25" << 2 << "-0.25";
    QTest::newRow("zero") << qint64(0) << "0" << 2 << "0.00";
    QTest::newRow("no places rounds up") << qint64(250) << "2.5" << 0 << "3";
    QTest::newRow("no places, negative") << qint64(-250) << "-2.5" << 0 << "-3";
    QTest::newRow("rounds to zero without sign") << qint64(-4) << "-0.04" << 1 << "0.0";
    QTest::newRow("more places than held") << qint64(1250) << "12.5" << 3 << "12.500";
}

void TestText::decimalPlainTexts()
{
    QFETCH(qint64, cents);
    QFETCH(QString, plain);
    QFETCH(int, places);
    QFETCH(QString, fixed);

    const Decimal value = Decimal::fromCents(cents);
    QCOMPARE(value.toString(), plain);
    QCOMPARE(value.toFixed(places), fixed);
    QCOMPARE(Decimal::parse(plain)->cents(), cents);
}

void TestText::decimalFormat_data()
{
    QTest::addColumn<qint64>("cents");
    QTest::addColumn<QString>("displayFormat");
    QTest::addColumn<QString>("shown");

    QTest::newRow("two places") << qint64(1250) << "#0.00" << "12.50";
    QTest::newRow("zero") << qint64(0) << "#0.00" << "0.00";
    QTest::newRow("zero, plain format") << qint64(0) << "0.00" << "0.00";
    QTest::newRow("negative") << qint64(-310) << "#0.00" << "-3.10";
    QTest::newRow("below one") << qint64(5) << "0.00" << "0.05";
    QTest::newRow("thousands") << qint64(123450) << "#,##0.00" << "1,234.50";
    QTest::newRow("millions") << qint64(123456789) << "#,##0.00" << "1,234,567.89";
    QTest::newRow("negative thousands") << qint64(-123450) << "#,##0.00" << "-1,234.50";
    QTest::newRow("just below a thousand") << qint64(99999) << "#,##0.00" << "999.99";
    QTest::newRow("a thousand") << qint64(100000) << "#,##0.00" << "1,000.00";
    QTest::newRow("whole rounds half up") << qint64(1250) << "0" << "13";
    QTest::newRow("whole rounds down") << qint64(1249) << "0" << "12";
    QTest::newRow("whole, negative half") << qint64(-1250) << "0" << "-13";
    QTest::newRow("whole, rounds to zero") << qint64(-25) << "0" << "0";
    QTest::newRow("one place") << qint64(1255) << "#0.0" << "12.6";
    QTest::newRow("one place, negative") << qint64(-1255) << "#0.0" << "-12.6";
}

void TestText::decimalFormat()
{
    QFETCH(qint64, cents);
    QFETCH(QString, displayFormat);
    QFETCH(QString, shown);

    QCOMPARE(Decimal::fromCents(cents).format(displayFormat), shown);
}

// ---- dates ----

void TestText::dateParse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDateTime>("expected");   // invalid: the text is refused

    const QDate day(2026, 12, 11);
    const QDateTime refused;
    QTest::newRow("dashes") << "2026-12-11" << QDateTime(day, QTime(0, 0));
    QTest::newRow("one-digit day") << "2026-12-1" << QDateTime(QDate(2026, 12, 1), QTime(0, 0));
    QTest::newRow("one-digit month") << "2026-2-5" << QDateTime(QDate(2026, 2, 5), QTime(0, 0));
    QTest::newRow("slashes") << "2026/12/11" << QDateTime(day, QTime(0, 0));
    QTest::newRow("points") << "2026.12.11" << QDateTime(day, QTime(0, 0));
    QTest::newRow("hours and minutes") << "2026-12-11 8:05" << QDateTime(day, QTime(8, 5));
    QTest::newRow("with seconds") << "2026-12-11 08:05:09" << QDateTime(day, QTime(8, 5, 9));
    QTest::newRow("slashes with time") << "2026/12/11 23:59:59" << QDateTime(day, QTime(23, 59, 59));
    QTest::newRow("leap day") << "2024-02-29" << QDateTime(QDate(2024, 2, 29), QTime(0, 0));
    QTest::newRow("blanks around") << " 2026-12-11 " << QDateTime(day, QTime(0, 0));
    QTest::newRow("no such day") << "2026-02-30" << refused;
    QTest::newRow("no leap day") << "2025-02-29" << refused;
    QTest::newRow("month 13") << "2026-13-01" << refused;
    QTest::newRow("month 0") << "2026-00-10" << refused;
    QTest::newRow("two-digit year") << "26-12-11" << refused;
    QTest::newRow("mixed separators") << "2026-12/11" << refused;
    QTest::newRow("no separators") << "20261211" << refused;
    QTest::newRow("hour 24") << "2026-12-11 24:00" << refused;
    QTest::newRow("minute 60") << "2026-12-11 8:60" << refused;
    QTest::newRow("hour only") << "2026-12-11 8" << refused;
    QTest::newRow("trailing text") << "2026-12-11x" << refused;
    QTest::newRow("day first") << "11.12.2026" << refused;
    QTest::newRow("empty") << "" << refused;
    QTest::newRow("words") << "tomorrow" << refused;
}

void TestText::dateParse()
{
    QFETCH(QString, text);
    QFETCH(QDateTime, expected);

    const std::optional<QDateTime> parsed = text::parseDateTime(text);
    QCOMPARE(parsed.has_value(), expected.isValid());
    QCOMPARE(text::parseDate(text).has_value(), expected.isValid());
    if (expected.isValid()) {
        QCOMPARE(*parsed, expected);
        QCOMPARE(*text::parseDate(text), expected.date());
    }
}

void TestText::dateParseKeepsOnlyTheDate()
{
    QCOMPARE(text::parseDate(QStringLiteral("2026-12-11 23:30")).value_or(QDate()), QDate(2026, 12, 11));
}

void TestText::dateTexts()
{
    const QDate day(2026, 12, 1);
    QCOMPARE(text::shortDateText(day), QStringLiteral("2026-12-01"));
    QCOMPARE(text::shortDateText(QDate()), QString());
    QCOMPARE(text::compactDateText(day), QStringLiteral("20261201"));
    QCOMPARE(text::dateTimeText(QDateTime(day, QTime(8, 5))), QStringLiteral("2026-12-01 08:05:00"));
    QCOMPARE(text::dateTimeText(QDateTime()), QString());

    QCOMPARE(text::storedDateText(QDateTime(day, QTime(0, 0))), QStringLiteral("2026-12-01"));
    QCOMPARE(text::storedDateText(QDateTime(day, QTime(0, 0, 1))), QStringLiteral("2026-12-01 00:00:01"));
    QCOMPARE(text::storedDateText(QDateTime(day, QTime(14, 30))), QStringLiteral("2026-12-01 14:30:00"));

    // Every stored text reads back as the value it came from.
    const QDateTime stamp(day, QTime(14, 30, 5));
    QCOMPARE(text::parseDateTime(text::storedDateText(stamp)).value_or(QDateTime()), stamp);
}

void TestText::weekdayName_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("name");

    QTest::newRow("Sunday") << QDate(2026, 12, 13) << QStringLiteral("星期日");
    QTest::newRow("Monday") << QDate(2026, 12, 14) << QStringLiteral("星期一");
    QTest::newRow("Wednesday") << QDate(2026, 12, 16) << QStringLiteral("星期三");
    QTest::newRow("Friday") << QDate(2026, 12, 11) << QStringLiteral("星期五");
    QTest::newRow("Saturday") << QDate(2026, 12, 19) << QStringLiteral("星期六");
    QTest::newRow("invalid") << QDate() << QString();
}

void TestText::weekdayName()
{
    QFETCH(QDate, date);
    QFETCH(QString, name);

    QCOMPARE(text::weekdayName(date), name);
}

QTEST_GUILESS_MAIN(TestText)
#include "test_text.moc"
