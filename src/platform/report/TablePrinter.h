#pragma once

#include "dataset/Dataset.h"
#include "report/TableLayout.h"

#include <QFont>
#include <QObject>
#include <QPageLayout>
#include <QPageSize>
#include <QPointer>
#include <QString>
#include <stdexcept>

class QPainter;
class QPagedPaintDevice;
class QWidget;

namespace report {

// A report that could not be produced; the text is meant for the operator.
class PrintError : public std::runtime_error {
public:
    explicit PrintError(const QString& message) : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

// Paper of the desktop printer settings by its Windows code: 1 Letter, 5 Legal, 8 A3,
// 9 A4, 11 A5; any other code gives A4.
QPageSize pageSizeOfPaperCode(int code);

// The font design of a section: the desktop face and its height in pixels at 96 dpi.
struct SectionFont {
    const char* face;
    int pixels;
    bool bold;
    bool italic;
};
SectionFont sectionFont(TableSection section);
// The installed family that prints a desktop face: 宋体 -> Noto Serif CJK SC, 黑体 and
// Arial -> Noto Sans CJK SC (the footer's page text is Chinese, so Arial needs CJK glyphs).
QString installedFamily(const QString& face);
// The section's font as printed: the installed family at the design's size in points.
QFont printFont(TableSection section);

// The shared dataset-to-table printer: a framed table of a dataset's visible columns,
// headed by their display labels on every page, cells in their display texts, with a
// title on the first page, an optional page header and a centred page footer whose
// "[PAGE#]" becomes the page number.
//
// One object serves the whole program: each print sets what it needs and keeps the
// rest from the previous one.
//
//   printer.setTitle("商品资料", Qt::AlignLeft);
//   printer.setPageFooter("第[PAGE#]页");
//   printer.setDataSet(&ds);
//   printer.showReport(window);  // the print preview, or the PDF target when set
//
// Pages are laid out by layOutTable (orientation rule, rows per page) inside margins of
// 5 mm, about the least a printer leaves unprinted.
class TablePrinter : public QObject {
    Q_OBJECT

public:
    static constexpr char kPageNumber[] = "[PAGE#]";

    explicit TablePrinter(QObject* parent = nullptr);

    void setTitle(const QString& text, Qt::Alignment alignment);
    const QString& title() const { return title_; }
    Qt::Alignment titleAlignment() const { return titleAlignment_; }

    // Empty when no page header is printed (the design's value).
    void setPageHeader(const QString& text, Qt::Alignment alignment);
    const QString& pageHeader() const { return pageHeader_; }
    Qt::Alignment pageHeaderAlignment() const { return pageHeaderAlignment_; }

    void setPageFooter(const QString& text);
    const QString& pageFooter() const { return pageFooter_; }
    // The footer as printed on a page (1-based).
    QString pageFooterText(int page) const;

    // Not owned; forgotten when the dataset goes away.
    void setDataSet(dataset::Dataset* dataset) { dataset_ = dataset; }
    dataset::Dataset* dataSet() const { return dataset_; }

    void setPageSize(const QPageSize& size) { pageSize_ = size; }
    const QPageSize& pageSize() const { return pageSize_; }
    // The orientation asked for; the layout may turn a portrait page for a wide table.
    void setOrientation(QPageLayout::Orientation orientation) { orientation_ = orientation; }
    QPageLayout::Orientation orientation() const { return orientation_; }

    // Where showReport() sends the report: the print preview when empty (the default), or
    // this PDF file, written without any window.
    void setPdfTarget(const QString& path) { pdfTarget_ = path; }
    const QString& pdfTarget() const { return pdfTarget_; }

    // Reads the dataset, then shows the print preview (modal) or writes the PDF target.
    // Throws PrintError when the PDF cannot be written, sql::Error from the dataset.
    void showReport(QWidget* parent = nullptr);

    // --- the steps of showReport, also used by the preview
    // Takes the visible columns and the rows (display texts) from the dataset, from its
    // first record on, with the dataset's grids suspended; the dataset ends on its first
    // record. Without a dataset the table is empty.
    void readDataSet();
    const TableText& table() const { return table_; }
    // Paper, orientation asked for and margins.
    QPageLayout requestedPageLayout() const;
    // The table laid out on the device's page; mayTurn lets a portrait page turn.
    TableLayout layOut(QPagedPaintDevice& device, bool mayTurn) const;
    // Paints every page of the layout on the device the painter is active on.
    void render(QPainter& painter, QPagedPaintDevice& device, const TableLayout& layout) const;
    // Writes the table as a PDF on the given page, turned as the layout rule says when
    // mayTurn. Throws PrintError when the file cannot be written.
    void writePdf(const QString& path, const QPageLayout& page, bool mayTurn) const;

private:
    void paintPage(QPainter& painter, const TableLayout& layout, int page, double lineWidth) const;
    double paintRow(QPainter& painter, const TableLayout& layout, const QStringList& texts, double y, double height,
                    TableSection section) const;

    QString title_;
    Qt::Alignment titleAlignment_ = Qt::AlignLeft;
    QString pageHeader_;
    Qt::Alignment pageHeaderAlignment_ = Qt::AlignLeft;
    QString pageFooter_;
    QPointer<dataset::Dataset> dataset_;
    QPageSize pageSize_{QPageSize::A4};
    QPageLayout::Orientation orientation_ = QPageLayout::Portrait;
    QString pdfTarget_;
    TableText table_;
};

} // namespace report
