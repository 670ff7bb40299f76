#include "report/TableLayout.h"

#include <QTest>

using report::PageArea;
using report::TableLayout;
using report::TableSection;
using report::TableText;

namespace {

// Every ASCII character 5 units wide, every other character 10; lines 10 high, the
// title's 20. So a row is 13 high, the headings 13, the title band 32, the footer 16,
// the page header 13, and cells have 2.5 of padding on each side.
class FixedMetrics : public report::TextMetrics {
public:
    double width(TableSection, const QString& text) const override {
        double width = 0;
        for (const QChar c : text)
            width += c.unicode() < 0x80 ? 5 : 10;
        return width;
    }
    double lineHeight(TableSection section) const override { return section == TableSection::Title ? 20 : 10; }
};

// A portrait page 500 wide and 700 high inside the margins.
PageArea page(QPageLayout::Orientation requested = QPageLayout::Portrait, bool mayTurn = true) {
    PageArea area;
    area.portrait = QSizeF(500, 700);
    area.landscape = QSizeF(700, 500);
    area.requested = requested;
    area.mayTurn = mayTurn;
    return area;
}

// Columns headed by nine ASCII characters: 50 wide each with their padding.
TableText columns(int count, int rows) {
    TableText table;
    for (int c = 0; c < count; ++c) {
        table.headings << QStringLiteral("heading%1").arg(c, 2, 10, QChar('0'));
        table.alignments.push_back(Qt::AlignLeft);
    }
    for (int r = 0; r < rows; ++r)
        table.rows.push_back(QStringList(table.headings.size(), QStringLiteral("x")));
    table.title = QStringLiteral("商品资料");
    return table;
}

std::vector<std::pair<int, int>> pagesOf(const TableLayout& layout) {
    std::vector<std::pair<int, int>> pages;
    for (const TableLayout::Page& p : layout.pages)
        pages.emplace_back(p.firstRow, p.rowCount);
    return pages;
}

} // namespace

using PageList = std::vector<std::pair<int, int>>;
Q_DECLARE_METATYPE(PageList)

class TestTableLayout : public QObject {
    Q_OBJECT

private slots:
    void columnsAreAsWideAsTheirWidestText();
    void overlongTextsAreCutToHalfThePortraitWidth();
    void pagesHoldTheRowsThatFit_data();
    void pagesHoldTheRowsThatFit();
    void orientationFollowsTheTableWidth_data();
    void orientationFollowsTheTableWidth();
    void aShrunkTableFitsMoreRowsOnAPage();
};

void TestTableLayout::columnsAreAsWideAsTheirWidestText() {
    TableText table;
    table.headings = QStringList{"编码", "名称", "租金"};
    table.alignments = {Qt::AlignLeft, Qt::AlignLeft, Qt::AlignRight};
    table.rows = {{"000001", "婚纱", "12.50"}, {"2", "长款婚纱礼服", "1234.50"}};

    const TableLayout layout = layOutTable(table, page(), FixedMetrics());

    QCOMPARE(layout.padding, 2.5);
    QCOMPARE(layout.columnWidths, (std::vector<double>{35, 65, 40}));
    QCOMPARE(layout.tableWidth(), 140.0);
    QCOMPARE(layout.scale, 1.0);
}

void TestTableLayout::overlongTextsAreCutToHalfThePortraitWidth() {
    TableText table;
    table.headings = QStringList{"备注"};
    table.alignments = {Qt::AlignLeft};
    table.rows = {{QString(60, QChar(u'长'))}};

    const TableLayout layout = layOutTable(table, page(), FixedMetrics());

    QCOMPARE(layout.widestColumn, 250.0);
    QCOMPARE(layout.columnWidths, std::vector<double>{250});
}

void TestTableLayout::pagesHoldTheRowsThatFit_data() {
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("pageHeader");
    QTest::addColumn<PageList>("pages");

    // First page: 700 - title 32 - headings 13 - footer 16 leaves 639 = 49 rows of 13;
    // the others have the title's room too: 671 = 51 rows.
    QTest::newRow("empty table, one page") << 0 << QString() << PageList{{0, 0}};
    QTest::newRow("one page") << 49 << QString() << PageList{{0, 49}};
    QTest::newRow("hundred rows") << 100 << QString() << PageList{{0, 49}, {49, 51}};
    QTest::newRow("one row over") << 101 << QString() << PageList{{0, 49}, {49, 51}, {100, 1}};
    // A page header of 13 on every page: 626 = 48 rows, then 658 = 50 rows.
    QTest::newRow("with page header") << 100 << QString("禾岚") << PageList{{0, 48}, {48, 50}, {98, 2}};
}

void TestTableLayout::pagesHoldTheRowsThatFit() {
    QFETCH(int, rows);
    QFETCH(QString, pageHeader);
    QFETCH(PageList, pages);
    TableText table = columns(3, rows);
    table.pageHeader = pageHeader;

    const TableLayout layout = layOutTable(table, page(), FixedMetrics());

    QCOMPARE(pagesOf(layout), pages);
    QCOMPARE(layout.pageCount(), int(pages.size()));
    QCOMPARE(layout.pageHeaderHeight, pageHeader.isEmpty() ? 0.0 : 13.0);
}

void TestTableLayout::orientationFollowsTheTableWidth_data() {
    QTest::addColumn<int>("columnCount");
    QTest::addColumn<QPageLayout::Orientation>("requested");
    QTest::addColumn<bool>("mayTurn");
    QTest::addColumn<QPageLayout::Orientation>("orientation");
    QTest::addColumn<double>("scale");

    const auto portrait = QPageLayout::Portrait;
    const auto landscape = QPageLayout::Landscape;
    QTest::newRow("fits the portrait width") << 10 << portrait << true << portrait << 1.0;
    QTest::newRow("up to 20 % wider: shrunk") << 12 << portrait << true << portrait << 500.0 / 600;
    QTest::newRow("more than 20 % wider: turned") << 13 << portrait << true << landscape << 1.0;
    QTest::newRow("wider than landscape: turned and shrunk") << 28 << portrait << true << landscape << 0.5;
    QTest::newRow("not allowed to turn: shrunk") << 13 << portrait << false << portrait << 500.0 / 650;
    QTest::newRow("landscape stays for a narrow table") << 2 << landscape << true << landscape << 1.0;
    QTest::newRow("landscape too narrow: shrunk") << 16 << landscape << true << landscape << 700.0 / 800;
}

void TestTableLayout::orientationFollowsTheTableWidth() {
    QFETCH(int, columnCount);
    QFETCH(QPageLayout::Orientation, requested);
    QFETCH(bool, mayTurn);
    QFETCH(QPageLayout::Orientation, orientation);
    QFETCH(double, scale);

    const TableLayout layout = layOutTable(columns(columnCount, 5), page(requested, mayTurn), FixedMetrics());

    QCOMPARE(layout.tableWidth(), 50.0 * columnCount);
    QCOMPARE(layout.orientation, orientation);
    QCOMPARE(layout.area, orientation == QPageLayout::Portrait ? QSizeF(500, 700) : QSizeF(700, 500));
    QCOMPARE(layout.scale, scale);
}

void TestTableLayout::aShrunkTableFitsMoreRowsOnAPage() {
    // 28 columns on landscape at half size: rows of 6.5, headings of 6.5.
    const TableLayout layout = layOutTable(columns(28, 200), page(), FixedMetrics());

    QCOMPARE(layout.scale, 0.5);
    // First page: 500 - 32 - 6.5 - 16 = 445.5 -> 68 rows; then 477.5 -> 73 rows.
    QCOMPARE(pagesOf(layout), (PageList{{0, 68}, {68, 73}, {141, 59}}));
}

QTEST_GUILESS_MAIN(TestTableLayout)
#include "test_tablelayout.moc"
