#include "masterdata/Pinyin.h"
#include "support/ProgramFixture.h"
#include "text/Gbk.h"

#include <QTest>
#include <sqlite3.h>

using masterdata::PinyinInitialOf;
using masterdata::PinyinInitials;
using masterdata::PinyinInitialsOfGbk;

// Pinyin initials over a fresh account set that holds the shipped BM_JP rows.
class TestPinyin : public QObject {
    Q_OBJECT

private slots:
    void init() { fixture_ = std::make_unique<ProgramFixture>(true); }
    void cleanup() { fixture_.reset(); }

    void level1Ranges_data();
    void level1Ranges();
    void initialsOfText_data();
    void initialsOfText();
    void initialsOfGbkBytes_data();
    void initialsOfGbkBytes();
    void examplesHaveTheirGbkCodes();
    void lookupFollowsTheRowsOfBmJp();
    void lookupQuotesTheCharacter();
    void oneLookupPerCharacterOutsideTheRanges();
    void lookupErrorsReachTheCaller();

private:
    std::unique_ptr<ProgramFixture> fixture_;
};

void TestPinyin::level1Ranges_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<char>("letter");
    QTest::newRow("below A") << 0xB0A0 << char(0);
    QTest::newRow("first A") << 0xB0A1 << 'A';
    QTest::newRow("last A") << 0xB0C4 << 'A';
    QTest::newRow("first B") << 0xB0C5 << 'B';
    QTest::newRow("last H") << 0xBBF6 << 'H';
    QTest::newRow("first J, no I") << 0xBBF7 << 'J';
    QTest::newRow("first O") << 0xC5B6 << 'O';
    QTest::newRow("last O") << 0xC5BD << 'O';
    QTest::newRow("last T") << 0xCDD9 << 'T';
    QTest::newRow("first W, no U or V") << 0xCDDA << 'W';
    QTest::newRow("last X") << 0xD1B8 << 'X';
    QTest::newRow("first Y") << 0xD1B9 << 'Y';
    QTest::newRow("last Z") << 0xD7F9 << 'Z';
    QTest::newRow("above Z") << 0xD7FA << char(0);
    QTest::newRow("extension byte inside B") << 0xB140 << 'B';
}

void TestPinyin::level1Ranges() {
    QFETCH(int, code);
    QFETCH(char, letter);
    QCOMPARE(masterdata::initialOfLevel1Code(code), letter);
}

void TestPinyin::initialsOfText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("initials");
    QTest::newRow("empty") << "" << "";
    QTest::newRow("婚纱") << "婚纱" << "HS";
    QTest::newRow("相机") << "相机" << "XJ";
    QTest::newRow("letters kept") << "佳能EOS" << "JNEOS";
    QTest::newRow("digits kept") << "白色婚纱2号" << "BSHS2H";
    QTest::newRow("迅 at the end of X") << "迅" << "X";
    QTest::newRow("寻") << "寻" << "X";
    QTest::newRow("压 at the start of Y") << "压" << "Y";
    QTest::newRow("lower-case ASCII unchanged") << "canon 5d mark ii" << "canon 5d mark ii";
    QTest::newRow("ASCII punctuation kept") << "A-1 (x)" << "A-1 (x)";
    QTest::newRow("鑫 through BM_JP") << "鑫源婚纱" << "XYHS";
    QTest::newRow("full-width bracket without a row") << "（特价）礼服" << "TJLF";
    QTest::newRow("no GBK code leaves no trace") << "婚😀纱" << "HS";
}

void TestPinyin::initialsOfText() {
    QFETCH(QString, text);
    QFETCH(QString, initials);
    QCOMPARE(PinyinInitials(fixture_->dm(), text), initials);
}

void TestPinyin::initialsOfGbkBytes_data() {
    QTest::addColumn<QByteArray>("gbk");
    QTest::addColumn<QByteArray>("initials");
    QTest::newRow("lone lead byte 0xB1 pairs with 0") << QByteArray("\xB1") << QByteArray("B");
    QTest::newRow("lone lead byte after a character") << text::toGbk("婚") + "\xB1" << QByteArray("HB");
    QTest::newRow("lone lead byte outside the ranges") << QByteArray("A\xA3") << QByteArray("A");
    QTest::newRow("NUL byte takes the next byte along") << QByteArray("\0A1", 3) << QByteArray("1");
}

void TestPinyin::initialsOfGbkBytes() {
    QFETCH(QByteArray, gbk);
    QFETCH(QByteArray, initials);
    QCOMPARE(PinyinInitialsOfGbk(fixture_->dm(), gbk), initials);
}

void TestPinyin::examplesHaveTheirGbkCodes() {
    QCOMPARE(text::toGbk("迅"), QByteArray("\xD1\xB8"));
    QCOMPARE(text::toGbk("寻"), QByteArray("\xD1\xB0"));
    QCOMPARE(text::toGbk("压"), QByteArray("\xD1\xB9"));
    QCOMPARE(text::toGbk("鑫"), QByteArray("\xF6\xCE"));
    QCOMPARE(text::toGbk("（"), QByteArray("\xA3\xA8"));
    QCOMPARE(PinyinInitialOf(fixture_->dm(), QByteArray("\xD1\xB8")), 'X');
    QCOMPARE(PinyinInitialOf(fixture_->dm(), QByteArray("\xD1\xB9 trailing bytes are not read")), 'Y');
}

void TestPinyin::lookupFollowsTheRowsOfBmJp() {
    shell::TDM_CS& dm = fixture_->dm();
    QCOMPARE(PinyinInitialOf(dm, text::toGbk("鑫")), 'X');
    fixture_->execute("delete from BM_JP where mc='鑫'");
    QCOMPARE(PinyinInitialOf(dm, text::toGbk("鑫")), char(0));
    QCOMPARE(PinyinInitials(dm, "鑫源"), QString("Y"));

    QCOMPARE(PinyinInitialOf(dm, text::toGbk("（")), char(0));
    fixture_->execute("insert into BM_JP(MC,JP) values ('（','kuo')");
    QCOMPARE(PinyinInitialOf(dm, text::toGbk("（")), 'k');  // taken as stored, not upper-cased
    fixture_->execute("update BM_JP set JP='' where MC='（'");
    QCOMPARE(PinyinInitialOf(dm, text::toGbk("（")), char(0));
    fixture_->execute("update BM_JP set JP=null where MC='（'");
    QCOMPARE(PinyinInitials(dm, "（1）"), QString("1"));
}

void TestPinyin::lookupQuotesTheCharacter() {
    fixture_->execute("insert into BM_JP(MC,JP) values ('''','Q')");
    QCOMPARE(PinyinInitialOf(fixture_->dm(), QByteArray("'")), 'Q');
}

namespace {

int traceBmJp(unsigned, void* context, void*, void* sqlText) {
    if (QByteArray(static_cast<const char*>(sqlText)).toUpper().contains("BM_JP"))
        ++*static_cast<int*>(context);
    return 0;
}

} // namespace

void TestPinyin::oneLookupPerCharacterOutsideTheRanges() {
    int lookups = 0;
    sqlite3_trace_v2(fixture_->connection().handle(), SQLITE_TRACE_STMT, traceBmJp, &lookups);

    QCOMPARE(PinyinInitials(fixture_->dm(), "白色婚纱2号EOS"), QString("BSHS2HEOS"));
    QCOMPARE(lookups, 0);
    QCOMPARE(PinyinInitials(fixture_->dm(), "鑫鑫（婚）鑫"), QString("XXHX"));
    QCOMPARE(lookups, 5);
    QCOMPARE(PinyinInitials(fixture_->dm(), "鑫"), QString("X"));
    QCOMPARE(lookups, 6);  // looked up again, nothing is remembered

    sqlite3_trace_v2(fixture_->connection().handle(), 0, nullptr, nullptr);
}

void TestPinyin::lookupErrorsReachTheCaller() {
    fixture_->execute("drop table BM_JP");
    QCOMPARE(PinyinInitials(fixture_->dm(), "婚纱"), QString("HS"));
    QVERIFY_THROWS_EXCEPTION(sql::Error, PinyinInitials(fixture_->dm(), "鑫"));
}

QTEST_GUILESS_MAIN(TestPinyin)
#include "test_pinyin.moc"
