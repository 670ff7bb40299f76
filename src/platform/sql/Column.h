#pragma once

#include <QString>

namespace sql {

// What a result column holds, read from the declared type of its table column
// ("text(50)", "decimal(18,2)", "date", "numeric", "varchar(255)"), or, for a
// computed column without one, from the stored values.
enum class FieldType { Unknown, Text, Decimal, Integer, Float, Date, DateTime, Boolean, Blob };

struct ColumnInfo {
    QString name;          // the name the statement gives the result column
    QString declaredType;  // as written in the schema; empty for a computed column
    FieldType type = FieldType::Unknown;
    int width = 0;         // characters of a text(n) / varchar(n) column, else 0
    QString table;         // table of a plain column, empty for a computed one
    QString originName;    // the table's own name of the column
};

// "text(50)" -> Text with width 50; "decimal(18,2)", "numeric", "currency" -> Decimal;
// "date" -> Date; "datetime" -> DateTime; "integer", "int", "long" -> Integer;
// "double", "float", "real" -> Float; "bit", "boolean", "yesno" -> Boolean.
FieldType fieldTypeOfDeclared(const QString& declaredType, int* width = nullptr);

} // namespace sql
