#pragma once

#include <QString>
#include <QStringList>

namespace dataset {
class Dataset;
}

// The SQL analysis tool without its window: how a typed text is classified and run,
// and how a query's rows are listed as fixed-width text.
namespace masterdata {

inline const QString kNoRowsText = QStringLiteral("无符合条件的数据！");
inline const QString kCommandDoneText = QStringLiteral("操作成功！");
inline const QString kCommandWrongText = QStringLiteral("命令有误！");

// By plain substring search in the upper-cased text, anywhere in it: a command holds
// UPDATE, DELETE, INSERT or ALTER; otherwise a query holds SELECT; anything else is an
// expression, run as "select " + text.
enum class StatementKind { Expression, Query, Command };
StatementKind classifyStatement(const QString& statement);

// The text followed by width - length + 1 blanks, length in GBK bytes; nothing is
// appended when the text is longer than width + 1.
QString fillToWidth(const QString& text, int width);

// The width a column takes in the listing: a text column's declared length; for a
// column without one (numbers, dates, computed values) the widest of its heading
// and its values, in GBK bytes.
int listingWidth(dataset::Dataset& result, int column);

// The heading line of the column names, a line of "=" as long as the heading, and one
// line per row.
QStringList resultListing(dataset::Dataset& result);

// What a run gives: lines for the result pane and a message for a box (either may be empty).
struct AnalysisOutcome {
    QStringList lines;
    QString message;
};

// Runs a text on the query (the data module's SQLFORM): an expression gives the line
// text=value, a query its listing or "无符合条件的数据！", a command "操作成功！"; any
// database error "命令有误！". An empty text does nothing.
AnalysisOutcome runAnalysis(dataset::Dataset& query, const QString& statement);

// Statement files: read as UTF-8 when they carry its byte-order mark or are valid
// UTF-8, otherwise as GBK; written as GBK. Errors give the platform's text.
bool readStatementFile(const QString& path, QString* text, QString* error);
bool writeStatementFile(const QString& path, const QString& text, QString* error);

} // namespace masterdata
