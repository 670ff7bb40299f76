#pragma once

#include "dataset/Dataset.h"

#include <QString>
#include <Qt>

class QWidget;

namespace shell {
class TDM_CS;
}

// The export and print buttons of every list window: the same spreadsheet export and
// the same framed table print for any dataset.
namespace reports {

// Asks where to save ("另存为", Excel files, the title as the proposed name) and writes
// the dataset's visible columns and rows as a titled .xlsx worksheet, its title in the
// given font. A closed dataset is opened first. The dataset's grids are suspended while
// it is written and always resumed. Cancelling does nothing; a success says nothing; a
// failure is shown to the operator with the path concerned.
void ExportDataSet(dataset::Dataset& dataSet, const QString& title, const QString& fontName, int fontSize,
                   QWidget* parent = nullptr);

// Alignment of the print calls' codes: 0 left, 1 centred, any other right.
Qt::Alignment alignmentOfCode(int code);

// The page footer of a print: "第[PAGE#]页", after the given text and four blanks when
// there is one.
QString pageFooterWith(const QString& footerText);

// Prints the dataset as a framed table through the data module's shared table printer
// and shows its print preview: the title with its alignment, the page header when one is
// given (otherwise the previous one stays), the footer with the page number, paper by
// its Windows code (9 = A4), orientation 0 portrait and any other landscape. The dataset
// is opened when closed and ends on its first record. Failures are shown to the operator.
void PrintDataSet(shell::TDM_CS& dm, const QString& title, const QString& pageHeader, const QString& pageFooter,
                  dataset::Dataset& dataSet, int paperCode, int orientation, int titleAlign, int headerAlign,
                  QWidget* parent = nullptr);

} // namespace reports
