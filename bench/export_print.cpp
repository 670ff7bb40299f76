// Times the shared export and print of a large in-memory dataset of 28 columns (codes,
// Chinese names, money, dates, whole numbers, flags) and prints the figures:
//   - the workbook export (TCovExcel) of --rows rows, beside the bare libxlsxwriter
//     calls for the same cells, which bound what any export through the library can do;
//   - the print layout (reading the rows, measuring, paginating) of --print-rows rows,
//     and the rendering of those pages to a PDF.
//
//   bench_export_print [--rows N] [--print-rows N]
//
// Defaults: 100,000 rows to export, 10,000 rows to print.
#include "report/TablePrinter.h"
#include "xlsx/CovExcel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTextStream>

#include <xlsxwriter.h>

#include <ctime>
#include <memory>

namespace {

QTextStream out(stdout);
constexpr int kColumns = 28;

struct Options {
    int rows = 100000;
    int printRows = 10000;
};

Options parseOptions(const QStringList& args) {
    Options options;
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == "--rows")
            options.rows = args[i + 1].toInt();
        else if (args[i] == "--print-rows")
            options.printRows = args[i + 1].toInt();
    }
    return options;
}

// Column c holds, by c % 7: a code, a Chinese name, money, a date, a whole number,
// a stage flag, a note.
sql::FieldType typeOfColumn(int c) {
    switch (c % 7) {
    case 2: return sql::FieldType::Decimal;
    case 3: return sql::FieldType::Date;
    case 4: return sql::FieldType::Integer;
    default: return sql::FieldType::Text;
    }
}

QVariant valueOf(int row, int c) {
    switch (c % 7) {
    case 0: return QStringLiteral("%1").arg(row, 8, 10, QChar('0'));
    case 1: return QStringLiteral("婚纱礼服%1号").arg(row % 997);
    case 2: return QVariant::fromValue(text::Decimal::fromCents(qint64(row) * 37 % 1000000 + c));
    case 3: return QDate(2024, 1, 1).addDays(row % 700);
    case 4: return QVariant(qlonglong(row % 113));
    case 5: return QString::fromLatin1(row % 3 ? "T" : "F");
    default: return QStringLiteral("备注 note %1").arg(row % 50);
    }
}

std::unique_ptr<dataset::Dataset> makeDataset(int rows) {
    auto ds = std::make_unique<dataset::Dataset>();
    for (int c = 0; c < kColumns; ++c) {
        dataset::Column& column = ds->addColumn(QStringLiteral("C%1").arg(c), typeOfColumn(c), 50);
        column.setDisplayLabel(QStringLiteral("第%1列").arg(c + 1));
        if (typeOfColumn(c) == sql::FieldType::Decimal)
            column.setDisplayFormat("#0.00");
    }
    ds->createInMemory();
    for (int r = 0; r < rows; ++r) {
        ds->append();
        for (int c = 0; c < kColumns; ++c)
            ds->field(c).setValue(valueOf(r, c));
        ds->post();
    }
    ds->first();
    return ds;
}

// Wall-clock and processor time of a step: other builds share this machine, so the
// processor time tells what the step costs when it has a core to itself.
class StepTimer {
public:
    StepTimer() { restart(); }
    void restart() {
        wall_.start();
        cpu_ = std::clock();
    }
    qint64 wallMs() const { return wall_.elapsed(); }
    qint64 cpuMs() const { return qint64((std::clock() - cpu_) * 1000.0 / CLOCKS_PER_SEC); }

private:
    QElapsedTimer wall_;
    std::clock_t cpu_;
};

struct Timing {
    qint64 wallMs;
    qint64 cpuMs;
};

void printRate(const QString& what, Timing timing, int rows) {
    const auto rate = [rows](qint64 ms) { return qRound64(rows * 1000.0 / std::max<qint64>(ms, 1)); };
    out << qSetFieldWidth(40) << Qt::left << what << qSetFieldWidth(0) << timing.wallMs << " ms ("
        << rate(timing.wallMs) << " rows/s), processor " << timing.cpuMs << " ms (" << rate(timing.cpuMs)
        << " rows/s)" << Qt::endl;
}

Timing timeExport(dataset::Dataset& ds, const QString& path) {
    xlsx::TCovExcel excel;
    excel.DataSet = &ds;
    excel.FileName = path;
    excel.Title = QStringLiteral("商品资料");
    excel.TitleFont = QFont(QStringLiteral("黑体"));
    excel.TitleFont.setPointSize(18);
    const StepTimer timer;
    excel.Export();
    return {timer.wallMs(), timer.cpuMs()};
}

// The same cells written straight through libxlsxwriter, with the same formats.
Timing timeBareLibrary(dataset::Dataset& ds, const QString& path) {
    const StepTimer timer;
    lxw_workbook* workbook = workbook_new(QFile::encodeName(path).constData());
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, nullptr);
    lxw_format* text = workbook_add_format(workbook);
    format_set_border(text, LXW_BORDER_THIN);
    format_set_num_format(text, "@");
    lxw_format* number = workbook_add_format(workbook);
    format_set_border(number, LXW_BORDER_THIN);
    format_set_num_format(number, "0.00");
    for (int r = 0; r < ds.recordCount(); ++r) {
        const dataset::Record record = ds.record(r);
        for (int c = 0; c < kColumns; ++c) {
            switch (typeOfColumn(c)) {
            case sql::FieldType::Text:
                worksheet_write_string(sheet, r + 2, c, record.text(c).toUtf8().constData(), text);
                break;
            case sql::FieldType::Date:
                worksheet_write_number(sheet, r + 2, c, double(record.value(c).toDate().toJulianDay() - 2415019), number);
                break;
            default:
                worksheet_write_number(sheet, r + 2, c, record.toDouble(c), number);
            }
        }
    }
    workbook_close(workbook);
    return {timer.wallMs(), timer.cpuMs()};
}

void benchExport(int rows, const QTemporaryDir& dir) {
    out << "Export of " << rows << " rows x " << kColumns << " columns" << Qt::endl;
    const StepTimer timer;
    const auto ds = makeDataset(rows);
    out << "  dataset filled in " << timer.wallMs() << " ms" << Qt::endl;
    const QString path = dir.filePath("export.xlsx");
    printRate("  TCovExcel::Export", timeExport(*ds, path), rows);
    out << "  workbook size " << QFileInfo(path).size() / 1024 << " KiB" << Qt::endl;
    printRate("  bare libxlsxwriter calls, same cells", timeBareLibrary(*ds, dir.filePath("bare.xlsx")), rows);
}

void benchPrint(int rows, const QTemporaryDir& dir) {
    out << "Print of " << rows << " rows x " << kColumns << " columns (A4, turns to landscape)" << Qt::endl;
    const auto ds = makeDataset(rows);
    report::TablePrinter printer;
    printer.setTitle(QStringLiteral("商品资料"), Qt::AlignLeft);
    printer.setPageFooter(QStringLiteral("第[PAGE#]页"));
    printer.setDataSet(ds.get());
    QPdfWriter writer(dir.filePath("print.pdf"));
    writer.setResolution(600);
    writer.setPageLayout(printer.requestedPageLayout());

    StepTimer timer;
    printer.readDataSet();
    const qint64 read = timer.wallMs();
    const report::TableLayout layout = printer.layOut(writer, true);
    const Timing total{timer.wallMs(), timer.cpuMs()};
    out << "  rows read " << read << " ms, measured and paginated " << total.wallMs - read << " ms" << Qt::endl;
    printRate("  layout (read + measure + paginate)", total, rows);
    out << "  " << layout.pageCount() << " pages, "
        << (layout.orientation == QPageLayout::Landscape ? "landscape" : "portrait") << ", scale "
        << QString::number(layout.scale, 'f', 2) << Qt::endl;

    writer.setPageOrientation(layout.orientation);
    timer.restart();
    QPainter painter(&writer);
    printer.render(painter, writer, layout);
    painter.end();
    printRate("  rendering to PDF", {timer.wallMs(), timer.cpuMs()}, rows);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const Options options = parseOptions(app.arguments());
    const QTemporaryDir dir;
    benchExport(options.rows, dir);
    benchPrint(options.printRows, dir);
    return 0;
}
