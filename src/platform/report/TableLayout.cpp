#include "report/TableLayout.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace report {
namespace {

// Spacing as parts of a line height: a row is a line with room above and below, the
// title and the footer keep a little more distance from the table.
constexpr double kRowLines = 1.3;
constexpr double kBandLines = 1.6;
constexpr double kPaddingLines = 0.25;
// No column is wider than this part of the portrait width.
constexpr double kWidestColumnPart = 0.5;

std::vector<double> columnWidths(const TableText& table, const TextMetrics& metrics, double padding, double widest) {
    std::vector<double> widths(table.columnCount());
    for (int c = 0; c < table.columnCount(); ++c)
        widths[c] = metrics.width(TableSection::ColumnHeader, table.headings[c]);
    for (const QStringList& row : table.rows)
        for (int c = 0; c < table.columnCount() && c < row.size(); ++c)
            widths[c] = std::max(widths[c], metrics.width(TableSection::Body, row[c]));
    for (double& width : widths)
        width = std::min(width + 2 * padding, widest);
    return widths;
}

void chooseOrientation(TableLayout& layout, const PageArea& page) {
    const double width = layout.tableWidth();
    QPageLayout::Orientation orientation = page.requested;
    if (page.mayTurn && orientation == QPageLayout::Portrait
        && width > page.portrait.width() * (1 + TableLayout::kResizeThreshold))
        orientation = QPageLayout::Landscape;
    layout.orientation = orientation;
    layout.area = page.size(orientation);
    layout.scale = width > layout.area.width() ? layout.area.width() / width : 1;
}

void paginate(TableLayout& layout, int rowCount) {
    const double fixed = layout.pageHeaderHeight + layout.headingHeight * layout.scale + layout.footerHeight;
    const double row = layout.rowHeight * layout.scale;
    int next = 0;
    do {
        const bool first = layout.pages.empty();
        const double room = layout.area.height() - fixed - (first ? layout.titleHeight : 0);
        // A page takes at least one row, however small the paper.
        const int fit = std::max(1, int(std::floor(room / row + 1e-9)));
        const int count = std::min(fit, rowCount - next);
        layout.pages.push_back({next, count});
        next += count;
    } while (next < rowCount);
}

} // namespace

double TableLayout::tableWidth() const {
    return std::accumulate(columnWidths.begin(), columnWidths.end(), 0.0);
}

TableLayout layOutTable(const TableText& table, const PageArea& page, const TextMetrics& metrics) {
    TableLayout layout;
    layout.padding = metrics.lineHeight(TableSection::Body) * kPaddingLines;
    layout.rowHeight = metrics.lineHeight(TableSection::Body) * kRowLines;
    layout.headingHeight = metrics.lineHeight(TableSection::ColumnHeader) * kRowLines;
    layout.titleHeight = metrics.lineHeight(TableSection::Title) * kBandLines;
    layout.footerHeight = metrics.lineHeight(TableSection::PageFooter) * kBandLines;
    if (!table.pageHeader.isEmpty())
        layout.pageHeaderHeight = metrics.lineHeight(TableSection::PageHeader) * kRowLines;
    layout.widestColumn = page.portrait.width() * kWidestColumnPart;
    layout.columnWidths = columnWidths(table, metrics, layout.padding, layout.widestColumn);
    chooseOrientation(layout, page);
    paginate(layout, table.rowCount());
    return layout;
}

} // namespace report
