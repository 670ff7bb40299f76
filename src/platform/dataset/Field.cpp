#include "dataset/Field.h"

#include "dataset/Dataset.h"
#include "text/DateText.h"

#include <cmath>

namespace dataset {

using detail::Cell;
using detail::StoreKind;

namespace {

Error notA(const Column& column, const QString& text, const char* what) {
    return Error(QStringLiteral("字段“%1”的值“%2”不是有效的%3")
                     .arg(column.displayLabel(), text, QString::fromUtf8(what)));
}

} // namespace

// --- Record

int Record::indexOf(const QString& column) const {
    return dataset_->requireIndex(column);
}

bool Record::isNull(int column) const {
    return slot_ < 0 || dataset_->stores_.at(column)->isNull(slot_);
}

QString Record::text(int column) const {
    if (isNull(column))
        return QString();
    return dataset_->stores_[column]->text(slot_);
}

QString Record::displayText(int column) const {
    const Column& c = dataset_->column(column);
    if (isNull(column) || c.displayFormat().isEmpty() || !c.isNumeric())
        return text(column);
    if (dataset_->kindOf(column) == StoreKind::Text) {
        // A number column holding words keeps them.
        const auto parsed = text::Decimal::parse(text(column));
        return parsed ? parsed->format(c.displayFormat()) : text(column);
    }
    return decimal(column).format(c.displayFormat());
}

text::Decimal Record::decimal(int column) const {
    if (isNull(column))
        return text::Decimal();
    const Cell cell = dataset_->stores_[column]->get(slot_);
    switch (dataset_->kindOf(column)) {
    case StoreKind::Decimal:
        return text::Decimal::fromCents(std::get<qint64>(cell));
    case StoreKind::Integer:
        return text::Decimal::fromInt(std::get<qint64>(cell));
    case StoreKind::Float:
        return text::Decimal::fromDouble(std::get<double>(cell));
    case StoreKind::Text: {
        const QString value = std::get<QString>(cell).trimmed();
        if (value.isEmpty())
            return text::Decimal();
        if (const auto parsed = text::Decimal::parse(value))
            return *parsed;
        break;
    }
    case StoreKind::Temporal:
        break;
    }
    throw notA(dataset_->column(column), text(column), "数值");
}

double Record::toDouble(int column) const {
    if (isNull(column))
        return 0;
    const Cell cell = dataset_->stores_[column]->get(slot_);
    switch (dataset_->kindOf(column)) {
    case StoreKind::Float:
        return std::get<double>(cell);
    case StoreKind::Integer:
        return double(std::get<qint64>(cell));
    case StoreKind::Text: {
        const QString value = std::get<QString>(cell).trimmed();
        bool ok = value.isEmpty();
        const double number = ok ? 0 : value.toDouble(&ok);
        if (ok)
            return number;
        throw notA(dataset_->column(column), value, "数值");
    }
    default:
        return decimal(column).toDouble();
    }
}

qint64 Record::toInteger(int column) const {
    if (isNull(column))
        return 0;
    const Cell cell = dataset_->stores_[column]->get(slot_);
    switch (dataset_->kindOf(column)) {
    case StoreKind::Integer:
        return std::get<qint64>(cell);
    case StoreKind::Float:
        return std::llround(std::get<double>(cell));
    case StoreKind::Text: {
        const QString value = std::get<QString>(cell).trimmed();
        bool ok = value.isEmpty();
        const qint64 number = ok ? 0 : value.toLongLong(&ok);
        if (ok)
            return number;
        throw notA(dataset_->column(column), value, "整数");
    }
    default:
        return std::llround(decimal(column).toDouble());
    }
}

QDateTime Record::dateTime(int column) const {
    if (isNull(column))
        return QDateTime();
    const Cell cell = dataset_->stores_[column]->get(slot_);
    switch (dataset_->kindOf(column)) {
    case StoreKind::Temporal:
        return detail::dateTimeOfSeconds(std::get<qint64>(cell));
    case StoreKind::Text:
        if (const auto parsed = text::parseDateTime(std::get<QString>(cell)))
            return *parsed;
        break;
    default:
        break;
    }
    throw notA(dataset_->column(column), text(column), "日期");
}

QDate Record::date(int column) const {
    return dateTime(column).date();
}

QVariant Record::value(int column) const {
    if (isNull(column))
        return QVariant();
    const Cell cell = dataset_->stores_[column]->get(slot_);
    switch (dataset_->kindOf(column)) {
    case StoreKind::Text:
        return std::get<QString>(cell);
    case StoreKind::Decimal:
        return QVariant::fromValue(text::Decimal::fromCents(std::get<qint64>(cell)));
    case StoreKind::Integer:
        return std::get<qint64>(cell);
    case StoreKind::Float:
        return std::get<double>(cell);
    case StoreKind::Temporal: {
        const qint64 seconds = std::get<qint64>(cell);
        if (seconds % 86400 == 0)
            return QDate::fromJulianDay(seconds / 86400);  // no QDateTime: no time-zone lookup per value
        return detail::dateTimeOfSeconds(seconds);
    }
    }
    return QVariant();
}

// --- Field

const Column& Field::column() const {
    return dataset_->column(column_);
}

const QString& Field::name() const {
    return column().name();
}

Record Field::record() const {
    dataset_->requireOpen();
    return dataset_->currentRecord();
}

bool Field::isNull() const { return record().isNull(column_); }
QString Field::asString() const { return record().text(column_); }
text::Decimal Field::asDecimal() const { return record().decimal(column_); }
double Field::asFloat() const { return record().toDouble(column_); }
qint64 Field::asInteger() const { return record().toInteger(column_); }
QDate Field::asDate() const { return record().date(column_); }
QDateTime Field::asDateTime() const { return record().dateTime(column_); }
QVariant Field::value() const { return record().value(column_); }
QString Field::displayText() const { return record().displayText(column_); }

void Field::setValue(const QVariant& value) {
    dataset_->setFieldValue(column_, value);
}

void Field::setValue(const QString& text) {
    setValue(QVariant(text));
}

void Field::setValue(text::Decimal value) {
    setValue(QVariant::fromValue(value));
}

void Field::setValue(const QDate& date) {
    setValue(QVariant(date));
}

void Field::clear() {
    dataset_->setFieldValue(column_, QVariant());
}

} // namespace dataset
