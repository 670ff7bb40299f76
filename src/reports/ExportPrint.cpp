#include "reports/ExportPrint.h"

#include "report/TablePrinter.h"
#include "shell/DataModule.h"
#include "ui/BusyCursor.h"
#include "ui/Dialogs.h"
#include "xlsx/CovExcel.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

namespace reports {
namespace {


ui::FileRequest saveRequest(QWidget* parent, const QString& title) {
    ui::FileRequest request;
    request.kind = ui::FileRequest::Kind::Save;
    request.parent = parent;
    request.caption = QStringLiteral("另存为");
    request.filter = QStringLiteral("Excel files (*.xlsx)|*.xlsx");
    request.defaultSuffix = QStringLiteral("xlsx");
    request.proposedName = title;
    return request;
}

// Writes the workbook; returns the failure to show, empty on success. The grids and the
// cursor are back to normal when it returns, so the message does not wait on them.
QString writeWorkbook(dataset::Dataset& dataSet, const QString& path, const QString& title, const QString& fontName,
                      int fontSize) {
    const ui::BusyCursor wait;
    try {
        xlsx::TCovExcel excel;
        const dataset::ControlsDisabled quiet(dataSet);
        if (!dataSet.isOpen())
            dataSet.open();
        excel.FileName = path;
        excel.DataSet = &dataSet;
        excel.Title = title;
        excel.TitleFont = QFont(fontName);
        excel.TitleFont.setPointSize(fontSize);
        excel.Export();
    } catch (const xlsx::ExportError& error) {
        return error.message();
    } catch (const sql::Error& error) {
        return error.message();
    }
    return {};
}

} // namespace

void ExportDataSet(dataset::Dataset& dataSet, const QString& title, const QString& fontName, int fontSize,
                   QWidget* parent) {
    const QString path = ui::dialogs().chooseFile(saveRequest(parent, title));
    if (path.isEmpty())
        return;
    QCoreApplication::processEvents();  // let the screen repaint where the dialog was
    const QString failure = writeWorkbook(dataSet, path, title, fontName, fontSize);
    if (!failure.isEmpty())
        ui::fail(parent, failure);
}

Qt::Alignment alignmentOfCode(int code) {
    switch (code) {
    case 0: return Qt::AlignLeft;
    case 1: return Qt::AlignHCenter;
    default: return Qt::AlignRight;
    }
}

QString pageFooterWith(const QString& footerText) {
    const QString pageText = QStringLiteral("第%1页").arg(QLatin1String(report::TablePrinter::kPageNumber));
    return footerText.isEmpty() ? pageText : footerText + QStringLiteral("    ") + pageText;
}

void PrintDataSet(shell::TDM_CS& dm, const QString& title, const QString& pageHeader, const QString& pageFooter,
                  dataset::Dataset& dataSet, int paperCode, int orientation, int titleAlign, int headerAlign,
                  QWidget* parent) {
    report::TablePrinter& printer = dm.frPrintTable_Public;
    printer.setTitle(title, alignmentOfCode(titleAlign));
    if (!pageHeader.isEmpty())
        printer.setPageHeader(pageHeader, alignmentOfCode(headerAlign));
    printer.setPageFooter(pageFooterWith(pageFooter));
    printer.setDataSet(&dataSet);
    printer.setPageSize(report::pageSizeOfPaperCode(paperCode));
    printer.setOrientation(orientation == 0 ? QPageLayout::Portrait : QPageLayout::Landscape);
    try {
        if (!dataSet.isOpen())
            dataSet.open();
        dataSet.first();
        printer.showReport(parent);
        dataSet.first();
    } catch (const report::PrintError& error) {
        ui::fail(parent, error.message());
    } catch (const sql::Error& error) {
        ui::fail(parent, error.message());
    }
}

} // namespace reports
