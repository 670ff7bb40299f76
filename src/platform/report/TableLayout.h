#pragma once

#include <QPageLayout>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <Qt>
#include <vector>

// Page layout of a printed table, without any widget or paint device: column widths,
// orientation and the rows of each page. All lengths are in one unit chosen by the
// caller (the paint device's pixels when printing), the unit TextMetrics measures in.
namespace report {

// The sections of a printed table, each with its own font.
enum class TableSection { Title, PageHeader, PageFooter, ColumnHeader, Body };

class TextMetrics {
public:
    virtual ~TextMetrics() = default;
    virtual double width(TableSection section, const QString& text) const = 0;
    // Height of one line of text in the section's font.
    virtual double lineHeight(TableSection section) const = 0;
};

// What is printed: the headings and the display texts of every row, column by column.
struct TableText {
    QStringList headings;
    std::vector<Qt::Alignment> alignments;  // per column
    std::vector<QStringList> rows;
    QString title;
    QString pageHeader;  // no page header band when empty

    int columnCount() const { return int(headings.size()); }
    int rowCount() const { return int(rows.size()); }
};

// The area inside the margins of the paper in each orientation.
struct PageArea {
    QSizeF portrait;
    QSizeF landscape;
    QPageLayout::Orientation requested = QPageLayout::Portrait;
    // Whether the requested orientation may be turned to fit the table.
    bool mayTurn = true;

    QSizeF size(QPageLayout::Orientation orientation) const {
        return orientation == QPageLayout::Portrait ? portrait : landscape;
    }
};

// How a table is laid out on its pages.
//
// Columns are as wide as their widest text (heading or cell) plus padding, but never
// wider than half the portrait width; longer texts are cut with an ellipsis.
//
// Orientation: let W be the table's width and P the width of the requested page.
//   W <= P                    the requested orientation, the table at full size;
//   P < W <= 1.2 P            the requested orientation, the table shrunk to the page width
//                             (shrinking by up to 20 % keeps it readable);
//   W > 1.2 P and portrait    turned to landscape (when allowed), shrunk further only if
//                             it is still wider than the landscape page.
// A landscape page is never turned to portrait: wide lists ask for landscape on purpose.
//
// Pages: the page header band (when there is a text) on every page, the title only on the
// first page, then the column headings, as many rows as fit, and the page footer at the
// bottom of every page. An empty table still makes one page with its headings.
struct TableLayout {
    static constexpr double kResizeThreshold = 0.20;

    struct Page {
        int firstRow = 0;
        int rowCount = 0;
    };

    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QSizeF area;          // the page area in that orientation
    double scale = 1;     // headings and rows are drawn at this scale
    std::vector<double> columnWidths;  // at full size
    double widestColumn = 0;  // a column this wide holds texts that must be cut
    double padding = 0;   // space left and right of a cell's text, at full size
    double pageHeaderHeight = 0;  // 0 without a page header text
    double titleHeight = 0;
    double headingHeight = 0;     // at full size
    double rowHeight = 0;         // at full size
    double footerHeight = 0;
    std::vector<Page> pages;

    int pageCount() const { return int(pages.size()); }
    double tableWidth() const;  // at full size
};

TableLayout layOutTable(const TableText& table, const PageArea& page, const TextMetrics& metrics);

} // namespace report
