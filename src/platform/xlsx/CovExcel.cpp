#include "xlsx/CovExcel.h"

#include "dataset/Dataset.h"
#include "text/DateText.h"
#include "text/Decimal.h"
#include "text/Gbk.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace xlsx {
namespace {

constexpr int kTitleRow = 0;
constexpr int kHeadingRow = 1;
constexpr int kFirstDataRow = 2;
constexpr int kLongestCellText = 32767;  // characters a worksheet cell can hold
constexpr double kWidestColumn = 255;
constexpr double kSheetFontSize = 11;  // points of the sheet's default font
// Day 0 of the workbook's date serials is 1899-12-30.
constexpr qint64 kSerialEpochJulianDay = 2415019;

// How the values of a column are typed into their cells.
enum class CellKind { Text, Decimal, Integer, Date, General };

CellKind cellKindOf(sql::FieldType type) {
    switch (type) {
    case sql::FieldType::Text: return CellKind::Text;
    case sql::FieldType::Decimal:
    case sql::FieldType::Float: return CellKind::Decimal;
    case sql::FieldType::Integer: return CellKind::Integer;
    case sql::FieldType::Date:
    case sql::FieldType::DateTime: return CellKind::Date;
    case sql::FieldType::Boolean:
    case sql::FieldType::Blob:
    case sql::FieldType::Unknown: break;
    }
    return CellKind::General;
}

// The number format of a column's cells; empty for the general format.
std::string numberFormatOf(CellKind kind) {
    switch (kind) {
    case CellKind::Text: return "@";
    case CellKind::Decimal: return "0.00";
    case CellKind::Integer: return "0_ ";
    case CellKind::Date: return "yyyy.mm.dd";
    case CellKind::General: break;
    }
    return {};
}

double serialOf(const QDate& date) {
    return double(date.toJulianDay() - kSerialEpochJulianDay);
}

double serialOf(const QDateTime& dateTime) {
    return serialOf(dateTime.date()) + dateTime.time().msecsSinceStartOfDay() / 86400000.0;
}

std::optional<double> numberOf(const QVariant& value) {
    if (value.metaType() == QMetaType::fromType<text::Decimal>())
        return value.value<text::Decimal>().toDouble();
    switch (value.typeId()) {
    case QMetaType::LongLong: return double(value.toLongLong());
    case QMetaType::Double: return value.toDouble();
    case QMetaType::QString:
        if (const auto parsed = text::Decimal::parse(value.toString()))
            return parsed->toDouble();
        break;
    default: break;
    }
    return std::nullopt;
}

std::optional<double> dateSerialOf(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::QDate: return serialOf(value.toDate());
    case QMetaType::QDateTime: return serialOf(value.toDateTime());
    case QMetaType::QString:
        if (const auto parsed = text::parseDateTime(value.toString()))
            return serialOf(*parsed);
        break;
    default: break;
    }
    return std::nullopt;
}

// Width in GBK bytes: one per ASCII character, two per Chinese character.
int gbkWidth(const QString& text) {
    for (const QChar c : text)
        if (c.unicode() >= 0x80)
            return text::gbkByteLength(text);
    return int(text.size());
}

// Characters a number takes as its format shows it.
int shownNumberWidth(double value, CellKind kind) {
    switch (kind) {
    case CellKind::Decimal: return int(QString::number(value, 'f', 2).size());
    case CellKind::Integer: return int(QString::number(qRound64(value)).size()) + 1;  // "_ " leaves a blank
    case CellKind::Date: return 10;                                                    // yyyy.mm.dd
    case CellKind::Text:
    case CellKind::General: break;
    }
    return int(QString::number(value, 'g', 10).size());
}

// Column width in the sheet's character units for the widest content: room for the
// text plus a character of margin on each side, as an auto-fitted column has.
double columnWidthFor(int gbkBytes) {
    return std::min(kWidestColumn, double(gbkBytes) + 2);
}

// The title font's size, the sheet's own when the font has none in points.
double pointSizeOf(const QFont& font) {
    return font.pointSizeF() > 0 ? font.pointSizeF() : kSheetFontSize;
}

QString nativePath(const QString& path) {
    return QDir::toNativeSeparators(path);
}

ExportError cannotWrite(const QString& path, const QString& reason) {
    return ExportError(QStringLiteral("无法保存文件“%1”：%2").arg(nativePath(path), reason));
}

// A temporary file beside the target that replaces the target once complete; removed
// when it never gets that far.
class ReplacingFile {
public:
    explicit ReplacingFile(const QString& target) : target_(QFileInfo(target).absoluteFilePath()) {
        const QFileInfo info(target_);
        temp_.setFileTemplate(info.dir().filePath(QStringLiteral(".%1.XXXXXX").arg(info.fileName())));
        if (!temp_.open()) {
            throw cannotWrite(target_, info.dir().exists() ? QStringLiteral("该文件夹不允许写入（%1）。").arg(temp_.errorString())
                                                           : QStringLiteral("文件夹不存在。"));
        }
        temp_.close();
    }

    QByteArray tempPath() const { return QFile::encodeName(temp_.fileName()); }

    void replaceTarget() {
        // The temporary file is private to its owner; the workbook gets the usual permissions.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::chmod(tempPath().constData(), 0666 & ~mask);
        if (std::rename(tempPath().constData(), QFile::encodeName(target_).constData()) != 0)
            throw cannotWrite(target_, QStringLiteral("无法替换同名文件（%1）。").arg(QString::fromLocal8Bit(std::strerror(errno))));
        temp_.setAutoRemove(false);
    }

private:
    QString target_;
    QTemporaryFile temp_;
};

// One visible dataset column on the sheet.
struct SheetColumn {
    int field;
    QString label;
    CellKind kind;
    lxw_format* cellFormat;
    int widestBytes;
};

class SheetWriter {
public:
    SheetWriter(const char* path, dataset::Dataset& dataset) : dataset_(dataset) {
        // Rows are written strictly in order, so the sheet can stream: strings go inline
        // instead of through the shared-string table, about twice as fast on large sheets.
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        workbook_ = workbook_new_opt(path, &options);
        sheet_ = workbook_ ? workbook_add_worksheet(workbook_, nullptr) : nullptr;
        if (!sheet_)
            throw ExportError(QStringLiteral("打开Excel失败！"));
    }

    ~SheetWriter() {
        if (workbook_)
            lxw_workbook_free(workbook_);
    }

    SheetWriter(const SheetWriter&) = delete;
    SheetWriter& operator=(const SheetWriter&) = delete;

    void write(const QString& title, const QFont& titleFont) {
        const int records = dataset_.recordCount();
        if (kFirstDataRow + qint64(records) > LXW_ROW_MAX)
            throw ExportError(QStringLiteral("共有 %1 条记录，超过一张工作表能容纳的 %2 行，无法导出。")
                                  .arg(records)
                                  .arg(LXW_ROW_MAX - kFirstDataRow));
        collectColumns(records == 0);
        writeTitle(title, titleFont);
        writeHeadings();
        for (int row = 0; row < records; ++row)
            writeRecord(row);
        setColumnWidths(title, titleFont);
        worksheet_set_selection(sheet_, 0, 0, 0, 0);
    }

    // Saves the workbook; its memory is released whatever the outcome.
    lxw_error close() {
        const lxw_error result = workbook_close(workbook_);
        workbook_ = nullptr;
        return result;
    }

private:
    // Thin borders on every edge, with the number format of a column (or none).
    lxw_format* borderedFormat(const std::string& numberFormat) {
        lxw_format*& format = borderedFormats_[numberFormat];
        if (!format) {
            format = workbook_add_format(workbook_);
            format_set_border(format, LXW_BORDER_THIN);
            if (!numberFormat.empty())
                format_set_num_format(format, numberFormat.c_str());
        }
        return format;
    }

    lxw_format* fontFormat(const QFont& font, bool centred) {
        lxw_format* format = workbook_add_format(workbook_);
        format_set_font_name(format, font.family().toUtf8().constData());
        format_set_font_size(format, pointSizeOf(font));
        if (centred) {
            format_set_align(format, LXW_ALIGN_CENTER);
            format_set_align(format, LXW_ALIGN_VERTICAL_CENTER);
        }
        return format;
    }

    void collectColumns(bool headingsCarryFormats) {
        for (int c = 0; c < dataset_.columnCount(); ++c) {
            const dataset::Column& column = dataset_.column(c);
            if (!column.isVisible())
                continue;
            const CellKind kind = cellKindOf(column.dataType());
            const QString label = column.displayLabel();
            columns_.push_back({c, label, kind, borderedFormat(numberFormatOf(kind)), gbkWidth(label)});
            headingFormats_.push_back(borderedFormat(headingsCarryFormats ? numberFormatOf(kind) : std::string()));
        }
    }

    void writeTitle(const QString& title, const QFont& font) {
        // Tall enough for the title font, as the row grows when its font does.
        worksheet_set_row(sheet_, kTitleRow, std::max(LXW_DEF_ROW_HEIGHT, pointSizeOf(font) * 1.35), fontFormat(font, false));
        lxw_format* centred = fontFormat(font, true);
        const QByteArray text = title.left(kLongestCellText).toUtf8();
        if (columns_.size() > 1)
            worksheet_merge_range(sheet_, kTitleRow, 0, kTitleRow, lxw_col_t(columns_.size() - 1), text.constData(), centred);
        else
            worksheet_write_string(sheet_, kTitleRow, 0, text.constData(), centred);
    }

    void writeHeadings() {
        for (size_t k = 0; k < columns_.size(); ++k)
            worksheet_write_string(sheet_, kHeadingRow, lxw_col_t(k), columns_[k].label.toUtf8().constData(), headingFormats_[k]);
    }

    void writeRecord(int row) {
        const dataset::Record record = dataset_.record(row);
        const lxw_row_t sheetRow = lxw_row_t(kFirstDataRow + row);
        for (size_t k = 0; k < columns_.size(); ++k) {
            SheetColumn& column = columns_[k];
            if (record.isNull(column.field)) {
                worksheet_write_blank(sheet_, sheetRow, lxw_col_t(k), column.cellFormat);
                continue;
            }
            const QVariant value = record.value(column.field);
            if (const auto number = typedNumber(column.kind, value)) {
                worksheet_write_number(sheet_, sheetRow, lxw_col_t(k), *number, column.cellFormat);
                column.widestBytes = std::max(column.widestBytes, shownNumberWidth(*number, column.kind));
            } else {
                writeText(sheetRow, lxw_col_t(k), record.text(column.field), column);
            }
        }
    }

    // The number a value typed into a cell of the column's format becomes; none for text.
    static std::optional<double> typedNumber(CellKind kind, const QVariant& value) {
        switch (kind) {
        case CellKind::Text: return std::nullopt;
        case CellKind::Date: return dateSerialOf(value);
        case CellKind::Decimal:
        case CellKind::Integer:
        case CellKind::General: break;
        }
        return numberOf(value);
    }

    void writeText(lxw_row_t row, lxw_col_t col, const QString& text, SheetColumn& column) {
        worksheet_write_string(sheet_, row, col, text.left(kLongestCellText).toUtf8().constData(), column.cellFormat);
        // A text can be no wider than two bytes per character: skip measuring short ones.
        if (2 * text.size() > column.widestBytes)
            column.widestBytes = std::max(column.widestBytes, gbkWidth(text));
    }

    void setColumnWidths(const QString& title, const QFont& titleFont) {
        for (size_t k = 0; k < columns_.size(); ++k) {
            int widest = columns_[k].widestBytes;
            // A title that is not merged widens its column as any cell does, by its larger font.
            if (columns_.size() == 1)
                widest = std::max(widest, int(gbkWidth(title) * pointSizeOf(titleFont) / kSheetFontSize + 0.5));
            worksheet_set_column(sheet_, lxw_col_t(k), lxw_col_t(k), columnWidthFor(widest), nullptr);
        }
    }

    dataset::Dataset& dataset_;
    lxw_workbook* workbook_ = nullptr;
    lxw_worksheet* sheet_ = nullptr;
    std::vector<SheetColumn> columns_;
    std::vector<lxw_format*> headingFormats_;
    std::map<std::string, lxw_format*> borderedFormats_;
};

} // namespace

void TCovExcel::Export() {
    if (!DataSet)
        return;
    ReplacingFile file(FileName);
    SheetWriter writer(file.tempPath().constData(), *DataSet);
    writer.write(Title, TitleFont);
    DataSet->first();
    if (const lxw_error result = writer.close(); result != LXW_NO_ERROR)
        throw cannotWrite(QFileInfo(FileName).absoluteFilePath(), QStringLiteral("写入出错（%1）。").arg(QString::fromUtf8(lxw_strerror(result))));
    file.replaceTarget();
}

} // namespace xlsx
