#include "masterdata/SqlAnalysis.h"

#include "dataset/Dataset.h"
#include "text/Gbk.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <algorithm>

namespace masterdata {

StatementKind classifyStatement(const QString& statement) {
    QString upper = statement;
    for (QChar& c : upper)
        if (c.unicode() < 128)
            c = c.toUpper();
    for (const char* word : {"UPDATE", "DELETE", "INSERT", "ALTER"})
        if (upper.contains(QLatin1String(word)))
            return StatementKind::Command;
    return upper.contains(QLatin1String("SELECT")) ? StatementKind::Query : StatementKind::Expression;
}

QString fillToWidth(const QString& text, int width) {
    const int blanks = width - text::gbkByteLength(text) + 1;
    return blanks > 0 ? text + QString(blanks, QLatin1Char(' ')) : text;
}

int listingWidth(dataset::Dataset& result, int column) {
    const dataset::Column& c = result.column(column);
    if (c.dataType() == sql::FieldType::Text && c.width() > 0)
        return c.width();
    int widest = text::gbkByteLength(c.name());
    for (int row = 0; row < result.recordCount(); ++row)
        widest = std::max(widest, text::gbkByteLength(result.record(row).text(column)));
    return widest;
}

QStringList resultListing(dataset::Dataset& result) {
    std::vector<int> widths;
    QString heading;
    for (int c = 0; c < result.columnCount(); ++c) {
        widths.push_back(listingWidth(result, c));
        heading += fillToWidth(result.column(c).name(), widths.back());
    }
    QStringList lines{heading, QString(text::gbkByteLength(heading), QLatin1Char('='))};
    for (int row = 0; row < result.recordCount(); ++row) {
        const dataset::Record record = result.record(row);
        QString line;
        for (int c = 0; c < result.columnCount(); ++c)
            line += fillToWidth(record.text(c), widths[c]);
        lines << line;
    }
    return lines;
}

AnalysisOutcome runAnalysis(dataset::Dataset& query, const QString& statement) {
    if (statement.isEmpty())
        return {};
    query.close();
    try {
        switch (classifyStatement(statement)) {
        case StatementKind::Expression:
            query.setCommandText(QStringLiteral("select ") + statement);
            query.open();
            return {{statement + QLatin1Char('=') + query.currentRecord().text(0)}, {}};
        case StatementKind::Query:
            query.setCommandText(statement);
            query.open();
            if (query.isEmpty())
                return {{}, kNoRowsText};
            return {resultListing(query), {}};
        case StatementKind::Command:
            query.setCommandText(statement);
            query.connection()->execute(statement);
            return {{}, kCommandDoneText};
        }
    } catch (const sql::Error&) {
        return {{}, kCommandWrongText};  // the tool names no engine message, only that the text failed
    }
    return {};
}

bool readStatementFile(const QString& path, QString* text, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    QByteArray bytes = file.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        *text = QString::fromUtf8(bytes.mid(3));
    } else {
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString decoded = utf8.decode(bytes);
        *text = utf8.hasError() ? text::fromGbk(bytes) : decoded;
    }
    text->replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return true;
}

bool writeStatementFile(const QString& path, const QString& text, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text::toGbk(text)) < 0 || !file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace masterdata
