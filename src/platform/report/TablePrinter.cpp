#include "report/TablePrinter.h"

#include "report/PrintPreview.h"

#include <QDir>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <array>

namespace report {
namespace {

constexpr int kPdfResolution = 600;
constexpr double kMarginMillimetres = 5;
constexpr double kDesignDpi = 96;  // the section heights are pixels at this resolution

// Text sizes in a device's pixels, in the fonts the sections print with.
class DeviceMetrics : public TextMetrics {
public:
    explicit DeviceMetrics(QPaintDevice& device)
        : metrics_{QFontMetricsF(printFont(TableSection::Title), &device),
                   QFontMetricsF(printFont(TableSection::PageHeader), &device),
                   QFontMetricsF(printFont(TableSection::PageFooter), &device),
                   QFontMetricsF(printFont(TableSection::ColumnHeader), &device),
                   QFontMetricsF(printFont(TableSection::Body), &device)} {}

    double width(TableSection section, const QString& text) const override {
        return metrics_[size_t(section)].horizontalAdvance(text);
    }
    double lineHeight(TableSection section) const override { return metrics_[size_t(section)].height(); }

private:
    std::array<QFontMetricsF, 5> metrics_;
};

QSizeF areaOf(QPageLayout page, QPageLayout::Orientation orientation, int dpi) {
    page.setOrientation(orientation);
    return page.paintRect(QPageLayout::Inch).size() * dpi;
}

} // namespace

QPageSize pageSizeOfPaperCode(int code) {
    switch (code) {
    case 1: return QPageSize(QPageSize::Letter);
    case 5: return QPageSize(QPageSize::Legal);
    case 8: return QPageSize(QPageSize::A3);
    case 11: return QPageSize(QPageSize::A5);
    default: return QPageSize(QPageSize::A4);
    }
}

SectionFont sectionFont(TableSection section) {
    switch (section) {
    case TableSection::Title: return {"黑体", 20, true, false};
    case TableSection::PageHeader: return {"宋体", 14, false, false};
    case TableSection::PageFooter: return {"Arial", 13, false, false};
    case TableSection::ColumnHeader:
    case TableSection::Body: break;
    }
    return {"宋体", 14, false, false};
}

QString installedFamily(const QString& face) {
    if (face == QStringLiteral("宋体"))
        return QStringLiteral("Noto Serif CJK SC");
    return QStringLiteral("Noto Sans CJK SC");
}

QFont printFont(TableSection section) {
    const SectionFont design = sectionFont(section);
    QFont font(installedFamily(QString::fromUtf8(design.face)));
    font.setPointSizeF(design.pixels * 72.0 / kDesignDpi);
    font.setBold(design.bold);
    font.setItalic(design.italic);
    // Unshaped glyphs are the font's own for each character, so the text of a saved PDF
    // can be searched and copied (shaping swaps the CJK fonts' digits for variants).
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

TablePrinter::TablePrinter(QObject* parent) : QObject(parent) {}

void TablePrinter::setTitle(const QString& text, Qt::Alignment alignment) {
    title_ = text;
    titleAlignment_ = alignment;
}

void TablePrinter::setPageHeader(const QString& text, Qt::Alignment alignment) {
    pageHeader_ = text;
    pageHeaderAlignment_ = alignment;
}

void TablePrinter::setPageFooter(const QString& text) {
    pageFooter_ = text;
}

QString TablePrinter::pageFooterText(int page) const {
    QString text = pageFooter_;
    return text.replace(QLatin1String(kPageNumber), QString::number(page));
}

void TablePrinter::showReport(QWidget* parent) {
    readDataSet();
    if (!pdfTarget_.isEmpty()) {
        writePdf(pdfTarget_, requestedPageLayout(), true);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(requestedPageLayout());
    printer.setPageOrientation(layOut(printer, true).orientation);
    PrintPreview preview(*this, printer, parent);
    preview.exec();
}

void TablePrinter::readDataSet() {
    table_ = TableText{};
    table_.title = title_;
    table_.pageHeader = pageHeader_;
    if (!dataset_)
        return;
    dataset::Dataset& dataset = *dataset_;
    const dataset::ControlsDisabled quiet(dataset);
    std::vector<int> fields;
    for (int c = 0; c < dataset.columnCount(); ++c) {
        const dataset::Column& column = dataset.column(c);
        if (!column.isVisible())
            continue;
        fields.push_back(c);
        table_.headings << column.displayLabel();
        table_.alignments.push_back(column.alignment());
    }
    dataset.first();
    table_.rows.reserve(dataset.recordCount());
    for (int row = 0; row < dataset.recordCount(); ++row) {
        const dataset::Record record = dataset.record(row);
        QStringList texts;
        texts.reserve(qsizetype(fields.size()));
        for (const int field : fields)
            texts << record.displayText(field);
        table_.rows.push_back(std::move(texts));
    }
    dataset.first();
}

QPageLayout TablePrinter::requestedPageLayout() const {
    const QMarginsF margins(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres, kMarginMillimetres);
    return QPageLayout(pageSize_, orientation_, margins, QPageLayout::Millimeter);
}

TableLayout TablePrinter::layOut(QPagedPaintDevice& device, bool mayTurn) const {
    const QPageLayout page = device.pageLayout();
    const int dpi = device.logicalDpiX();
    PageArea area;
    area.portrait = areaOf(page, QPageLayout::Portrait, dpi);
    area.landscape = areaOf(page, QPageLayout::Landscape, dpi);
    area.requested = page.orientation();
    area.mayTurn = mayTurn;
    return layOutTable(table_, area, DeviceMetrics(device));
}

void TablePrinter::render(QPainter& painter, QPagedPaintDevice& device, const TableLayout& layout) const {
    const double lineWidth = device.logicalDpiX() / kDesignDpi;  // one pixel of the design
    for (int page = 0; page < layout.pageCount(); ++page) {
        if (page > 0)
            device.newPage();
        paintPage(painter, layout, page, lineWidth);
    }
}

void TablePrinter::writePdf(const QString& path, const QPageLayout& page, bool mayTurn) const {
    QPdfWriter writer(path);
    writer.setResolution(kPdfResolution);
    writer.setTitle(table_.title);
    writer.setPageLayout(page);
    const TableLayout layout = layOut(writer, mayTurn);
    writer.setPageOrientation(layout.orientation);
    QPainter painter;
    if (!painter.begin(&writer))
        throw PrintError(QStringLiteral("无法写入文件“%1”。").arg(QDir::toNativeSeparators(path)));
    render(painter, writer, layout);
    painter.end();
}

void TablePrinter::paintPage(QPainter& painter, const TableLayout& layout, int page, double lineWidth) const {
    const double width = layout.area.width();
    double y = 0;
    painter.setPen(QPen(Qt::black, lineWidth));
    if (layout.pageHeaderHeight > 0) {
        painter.setFont(printFont(TableSection::PageHeader));
        painter.drawText(QRectF(0, y, width, layout.pageHeaderHeight), int(pageHeaderAlignment_ | Qt::AlignVCenter),
                         table_.pageHeader);
        y += layout.pageHeaderHeight;
    }
    if (page == 0) {
        painter.setFont(printFont(TableSection::Title));
        painter.drawText(QRectF(0, y, width, layout.titleHeight), int(titleAlignment_ | Qt::AlignVCenter), table_.title);
        y += layout.titleHeight;
    }

    painter.save();
    painter.translate(0, y);
    painter.scale(layout.scale, layout.scale);
    painter.setPen(QPen(Qt::black, lineWidth / layout.scale));  // frames keep their width when shrunk
    painter.setFont(printFont(TableSection::ColumnHeader));
    double rowTop = paintRow(painter, layout, table_.headings, 0, layout.headingHeight, TableSection::ColumnHeader);
    painter.setFont(printFont(TableSection::Body));
    const TableLayout::Page& rows = layout.pages[page];
    for (int row = rows.firstRow; row < rows.firstRow + rows.rowCount; ++row)
        rowTop = paintRow(painter, layout, table_.rows[row], rowTop, layout.rowHeight, TableSection::Body);
    painter.restore();

    painter.setFont(printFont(TableSection::PageFooter));
    painter.drawText(QRectF(0, layout.area.height() - layout.footerHeight, width, layout.footerHeight),
                     Qt::AlignHCenter | Qt::AlignVCenter, pageFooterText(page + 1));
}

// Paints one framed row of cells; returns the top of the next row.
double TablePrinter::paintRow(QPainter& painter, const TableLayout& layout, const QStringList& texts, double y,
                              double height, TableSection section) const {
    double x = 0;
    for (int c = 0; c < int(layout.columnWidths.size()); ++c) {
        const double width = layout.columnWidths[c];
        const QRectF cell(x, y, width, height);
        painter.drawRect(cell);
        const QRectF textRect = cell.adjusted(layout.padding, 0, -layout.padding, 0);
        QString text = texts.value(c);
        if (width >= layout.widestColumn)
            text = QFontMetricsF(painter.font(), painter.device()).elidedText(text, Qt::ElideRight, textRect.width());
        const Qt::Alignment alignment = section == TableSection::ColumnHeader
                                            ? Qt::Alignment(Qt::AlignCenter)
                                            : (table_.alignments[c] & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter;
        painter.drawText(textRect, int(alignment | Qt::TextDontClip), text);
        x += width;
    }
    return y + height;
}

} // namespace report
