#include "sql/Column.h"

#include <QHash>

namespace sql {
namespace {

struct TypeName {
    FieldType type;
    bool hasWidth;  // the "(n)" of the declaration is a width in characters
};

const QHash<QString, TypeName>& typeNames() {
    static const QHash<QString, TypeName> names = {
        {QStringLiteral("text"), {FieldType::Text, true}},
        {QStringLiteral("varchar"), {FieldType::Text, true}},
        {QStringLiteral("char"), {FieldType::Text, true}},
        {QStringLiteral("nvarchar"), {FieldType::Text, true}},
        {QStringLiteral("nchar"), {FieldType::Text, true}},
        {QStringLiteral("string"), {FieldType::Text, true}},
        {QStringLiteral("memo"), {FieldType::Text, false}},
        {QStringLiteral("longtext"), {FieldType::Text, false}},
        {QStringLiteral("clob"), {FieldType::Text, false}},
        {QStringLiteral("decimal"), {FieldType::Decimal, false}},
        {QStringLiteral("numeric"), {FieldType::Decimal, false}},
        {QStringLiteral("currency"), {FieldType::Decimal, false}},
        {QStringLiteral("money"), {FieldType::Decimal, false}},
        {QStringLiteral("date"), {FieldType::Date, false}},
        {QStringLiteral("datetime"), {FieldType::DateTime, false}},
        {QStringLiteral("timestamp"), {FieldType::DateTime, false}},
        {QStringLiteral("integer"), {FieldType::Integer, false}},
        {QStringLiteral("int"), {FieldType::Integer, false}},
        {QStringLiteral("long"), {FieldType::Integer, false}},
        {QStringLiteral("smallint"), {FieldType::Integer, false}},
        {QStringLiteral("short"), {FieldType::Integer, false}},
        {QStringLiteral("tinyint"), {FieldType::Integer, false}},
        {QStringLiteral("byte"), {FieldType::Integer, false}},
        {QStringLiteral("bigint"), {FieldType::Integer, false}},
        {QStringLiteral("counter"), {FieldType::Integer, false}},
        {QStringLiteral("autoincrement"), {FieldType::Integer, false}},
        {QStringLiteral("double"), {FieldType::Float, false}},
        {QStringLiteral("float"), {FieldType::Float, false}},
        {QStringLiteral("real"), {FieldType::Float, false}},
        {QStringLiteral("single"), {FieldType::Float, false}},
        {QStringLiteral("bit"), {FieldType::Boolean, false}},
        {QStringLiteral("boolean"), {FieldType::Boolean, false}},
        {QStringLiteral("yesno"), {FieldType::Boolean, false}},
        {QStringLiteral("logical"), {FieldType::Boolean, false}},
        {QStringLiteral("blob"), {FieldType::Blob, false}},
        {QStringLiteral("binary"), {FieldType::Blob, false}},
        {QStringLiteral("varbinary"), {FieldType::Blob, false}},
        {QStringLiteral("longbinary"), {FieldType::Blob, false}},
        {QStringLiteral("image"), {FieldType::Blob, false}},
    };
    return names;
}

} // namespace

FieldType fieldTypeOfDeclared(const QString& declaredType, int* width) {
    if (width)
        *width = 0;
    const QString declared = declaredType.trimmed().toLower();
    const qsizetype open = declared.indexOf(QLatin1Char('('));
    const QString base = (open < 0 ? declared : declared.left(open)).trimmed();
    const auto found = typeNames().constFind(base);
    if (found == typeNames().constEnd())
        return FieldType::Unknown;
    if (found->hasWidth && width && open >= 0) {
        const qsizetype close = declared.indexOf(QLatin1Char(')'), open);
        if (close > open)
            *width = declared.mid(open + 1, close - open - 1).trimmed().toInt();
    }
    return found->type;
}

} // namespace sql
