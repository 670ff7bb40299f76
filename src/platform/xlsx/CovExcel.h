#pragma once

#include "dataset/Dataset.h"

#include <QFont>
#include <QPointer>
#include <QString>
#include <stdexcept>

namespace xlsx {

// A workbook that could not be made or saved; the text is meant for the operator.
class ExportError : public std::runtime_error {
public:
    explicit ExportError(const QString& message) : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

// Writes the rows of a dataset as a titled worksheet of an .xlsx workbook:
//   row 1    the title, merged and centred over the visible columns, in TitleFont's face and size;
//   row 2    the display labels of the visible columns;
//   row 3... one row per record in the dataset's current order (filter applied), typed by
//            the column's data type: dates as date cells "yyyy.mm.dd", decimals and floats as
//            numbers "0.00", integers "0_ ", text as text "@";
// thin borders on every line of the block from the headings to the last row, columns
// as wide as their contents, A1 selected.
//
//   xlsx::TCovExcel excel;
//   excel.DataSet = &ds; excel.FileName = path; excel.Title = "商品资料";
//   excel.TitleFont = QFont("黑体"); excel.TitleFont.setPointSizeF(18);
//   excel.Export();
//
// The workbook is written to a temporary file in the target's folder and renamed over
// FileName once complete, so a failed export leaves any earlier file of that name as
// it was and no partial file behind.
class TCovExcel {
public:
    // The rows to export; not owned. The dataset must be open.
    QPointer<dataset::Dataset> DataSet;
    // Full path of the workbook to write; an existing file is replaced.
    QString FileName;
    // Only its family and point size are used.
    QFont TitleFont;
    QString Title;

    // Writes the workbook and leaves the dataset on its first record. Does nothing
    // without a dataset. Throws ExportError naming FileName when it cannot be written.
    void Export();
};

} // namespace xlsx
