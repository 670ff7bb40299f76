#include "dataset/ColumnStore.h"

#include "text/DateText.h"
#include "text/Decimal.h"

#include <cmath>

namespace dataset::detail {
namespace {

constexpr qint64 kSecondsPerDay = 86400;

template <typename T>
int threeWay(const T& a, const T& b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

// Null sorts first; empty when neither is null and the values decide.
std::optional<int> compareNulls(bool nullA, bool nullB) {
    if (!nullA && !nullB)
        return std::nullopt;
    return int(nullB) - int(nullA);
}

template <typename T>
int compareNullable(bool nullA, bool nullB, const T& a, const T& b) {
    return compareNulls(nullA, nullB).value_or(threeWay(a, b));
}

QString floatText(double value) {
    return QString::number(value, 'g', 15);
}

std::optional<Cell> decimalCell(const QVariant& stored) {
    switch (stored.typeId()) {
    case QMetaType::LongLong:
        return Cell(text::Decimal::fromInt(stored.toLongLong()).cents());
    case QMetaType::Double:
        return Cell(text::Decimal::fromDouble(stored.toDouble()).cents());
    default:
        if (const auto parsed = text::Decimal::parse(stored.toString()))
            return Cell(parsed->cents());
        return std::nullopt;
    }
}

std::optional<Cell> integerCell(const QVariant& stored) {
    switch (stored.typeId()) {
    case QMetaType::LongLong:
        return Cell(stored.toLongLong());
    case QMetaType::Double: {
        const double value = stored.toDouble();
        if (value != std::trunc(value))
            return std::nullopt;
        return Cell(qint64(value));
    }
    default: {
        bool ok = false;
        const qint64 value = stored.toString().trimmed().toLongLong(&ok);
        return ok ? std::optional<Cell>(value) : std::nullopt;
    }
    }
}

std::optional<Cell> floatCell(const QVariant& stored) {
    bool ok = false;
    const double value = stored.typeId() == QMetaType::QString ? stored.toString().trimmed().toDouble(&ok)
                                                              : stored.toDouble(&ok);
    return ok ? std::optional<Cell>(value) : std::nullopt;
}

// Digits at [from, from + count) as a number; -1 when any is no digit.
int digitsAt(const QString& text, int from, int count) {
    int value = 0;
    for (int i = from; i < from + count; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

// The stored forms "yyyy-MM-dd" and "yyyy-MM-dd HH:mm:ss" are read directly: building a
// QDateTime in local time asks the system for the time zone each time, which a list
// of a hundred thousand rows cannot afford. Other date texts go the general way.
std::optional<qint64> storedSeconds(const QString& text) {
    const bool stored = (text.size() == 10 || (text.size() == 19 && text.at(10) == u' ' && text.at(13) == u':'
                                               && text.at(16) == u':'))
                     && text.at(4) == u'-' && text.at(7) == u'-';
    if (stored) {
        const QDate date(digitsAt(text, 0, 4), digitsAt(text, 5, 2), digitsAt(text, 8, 2));
        const QTime time = text.size() == 10 ? QTime(0, 0)
                                             : QTime(digitsAt(text, 11, 2), digitsAt(text, 14, 2), digitsAt(text, 17, 2));
        if (date.isValid() && time.isValid())
            return date.toJulianDay() * kSecondsPerDay + time.msecsSinceStartOfDay() / 1000;
    }
    if (const auto dateTime = text::parseDateTime(text))
        return secondsOf(*dateTime);
    return std::nullopt;
}

// "yyyy-MM-dd", with " HH:mm:ss" when the time is not midnight.
QString secondsText(qint64 seconds) {
    const QDate date = QDate::fromJulianDay(seconds / kSecondsPerDay);
    const int secondOfDay = int(seconds % kSecondsPerDay);
    QString text = QStringLiteral("%1-%2-%3")
                       .arg(date.year(), 4, 10, QLatin1Char('0'))
                       .arg(date.month(), 2, 10, QLatin1Char('0'))
                       .arg(date.day(), 2, 10, QLatin1Char('0'));
    if (secondOfDay != 0)
        text += QStringLiteral(" %1:%2:%3")
                    .arg(secondOfDay / 3600, 2, 10, QLatin1Char('0'))
                    .arg(secondOfDay / 60 % 60, 2, 10, QLatin1Char('0'))
                    .arg(secondOfDay % 60, 2, 10, QLatin1Char('0'));
    return text;
}

std::optional<Cell> temporalCell(const QVariant& stored) {
    if (stored.typeId() != QMetaType::QString)
        return std::nullopt;
    if (const auto seconds = storedSeconds(stored.toString()))
        return Cell(*seconds);
    return std::nullopt;
}

} // namespace

StoreKind kindForType(sql::FieldType type) {
    switch (type) {
    case sql::FieldType::Decimal:
        return StoreKind::Decimal;
    case sql::FieldType::Integer:
    case sql::FieldType::Boolean:
        return StoreKind::Integer;
    case sql::FieldType::Float:
        return StoreKind::Float;
    case sql::FieldType::Date:
    case sql::FieldType::DateTime:
        return StoreKind::Temporal;
    default:
        return StoreKind::Text;
    }
}

StoreKind kindOfStoredValue(const QVariant& stored) {
    switch (stored.typeId()) {
    case QMetaType::LongLong:
        return StoreKind::Integer;
    case QMetaType::Double:
        return StoreKind::Float;
    default:
        return StoreKind::Text;
    }
}

qint64 secondsOf(const QDateTime& dateTime) {
    return dateTime.date().toJulianDay() * kSecondsPerDay + dateTime.time().msecsSinceStartOfDay() / 1000;
}

QDateTime dateTimeOfSeconds(qint64 seconds) {
    const qint64 day = seconds / kSecondsPerDay;
    const int secondOfDay = int(seconds % kSecondsPerDay);
    return QDateTime(QDate::fromJulianDay(day), QTime(0, 0).addSecs(secondOfDay));
}

std::optional<Cell> cellFromStored(StoreKind kind, const QVariant& stored) {
    if (stored.isNull())
        return Cell();
    if (kind != StoreKind::Text && stored.typeId() == QMetaType::QString && stored.toString().trimmed().isEmpty())
        return Cell();
    switch (kind) {
    case StoreKind::Text:
        switch (stored.typeId()) {
        case QMetaType::Double:
            return Cell(floatText(stored.toDouble()));
        case QMetaType::QByteArray:
            return Cell(QString::fromUtf8(stored.toByteArray()));
        default:
            return Cell(stored.toString());
        }
    case StoreKind::Decimal:
        return decimalCell(stored);
    case StoreKind::Integer:
        return integerCell(stored);
    case StoreKind::Float:
        return floatCell(stored);
    case StoreKind::Temporal:
        return temporalCell(stored);
    }
    return std::nullopt;
}

std::optional<Cell> cellFromInput(StoreKind kind, const QVariant& input) {
    if (!input.isValid() || input.isNull())
        return Cell();
    if (input.metaType() == QMetaType::fromType<text::Decimal>()) {
        const text::Decimal value = input.value<text::Decimal>();
        switch (kind) {
        case StoreKind::Text:
            return Cell(value.toString());
        case StoreKind::Decimal:
            return Cell(value.cents());
        case StoreKind::Integer:
            return Cell(qint64(std::llround(value.toDouble())));
        case StoreKind::Float:
            return Cell(value.toDouble());
        case StoreKind::Temporal:
            return std::nullopt;
        }
    }
    switch (input.typeId()) {
    case QMetaType::QDate:
    case QMetaType::QDateTime: {
        const QDateTime dateTime = input.typeId() == QMetaType::QDate ? input.toDate().startOfDay() : input.toDateTime();
        if (kind == StoreKind::Temporal)
            return Cell(secondsOf(dateTime));
        if (kind == StoreKind::Text)
            return Cell(text::storedDateText(dateTime));
        return std::nullopt;
    }
    case QMetaType::Double:
    case QMetaType::Float: {
        const double value = input.toDouble();
        switch (kind) {
        case StoreKind::Text:
            return Cell(floatText(value));
        case StoreKind::Decimal:
            return Cell(text::Decimal::fromDouble(value).cents());
        case StoreKind::Integer:
            return Cell(qint64(std::llround(value)));
        case StoreKind::Float:
            return Cell(value);
        case StoreKind::Temporal:
            return std::nullopt;
        }
        return std::nullopt;
    }
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort: {
        const qint64 value = input.toLongLong();
        switch (kind) {
        case StoreKind::Text:
            return Cell(QString::number(value));
        case StoreKind::Decimal:
            return Cell(text::Decimal::fromInt(value).cents());
        case StoreKind::Integer:
            return Cell(value);
        case StoreKind::Float:
            return Cell(double(value));
        case StoreKind::Temporal:
            return std::nullopt;
        }
        return std::nullopt;
    }
    default:
        break;
    }
    const QString text = input.toString();
    if (kind == StoreKind::Text)
        return Cell(text);
    // Typed text is read like a stored value: "12.5", "3", "2026-12-11".
    return cellFromStored(kind, text);
}

QVariant storedValue(StoreKind kind, const Cell& cell) {
    if (std::holds_alternative<std::monostate>(cell))
        return {};
    switch (kind) {
    case StoreKind::Text:
        return std::get<QString>(cell);
    case StoreKind::Decimal:
        return text::Decimal::fromCents(std::get<qint64>(cell)).toDouble();
    case StoreKind::Integer:
        return std::get<qint64>(cell);
    case StoreKind::Float:
        return std::get<double>(cell);
    case StoreKind::Temporal:
        return secondsText(std::get<qint64>(cell));
    }
    return {};
}

QString cellText(StoreKind kind, const Cell& cell) {
    if (std::holds_alternative<std::monostate>(cell))
        return QString();
    switch (kind) {
    case StoreKind::Text:
        return std::get<QString>(cell);
    case StoreKind::Decimal:
        return text::Decimal::fromCents(std::get<qint64>(cell)).toString();
    case StoreKind::Integer:
        return QString::number(std::get<qint64>(cell));
    case StoreKind::Float:
        return floatText(std::get<double>(cell));
    case StoreKind::Temporal:
        return secondsText(std::get<qint64>(cell));
    }
    return QString();
}

bool ColumnStore::containsText(int slot, const QString& needle) const {
    return text(slot).contains(needle, Qt::CaseInsensitive);
}

QString ColumnStore::text(int slot) const {
    return cellText(kind(), get(slot));
}

std::unique_ptr<ColumnStore> makeStore(StoreKind kind) {
    switch (kind) {
    case StoreKind::Text:
        return std::make_unique<TextStore>();
    case StoreKind::Integer:
        return std::make_unique<IntegerStore>();
    case StoreKind::Float:
        return std::make_unique<FloatStore>();
    case StoreKind::Decimal:
    case StoreKind::Temporal:
        return std::make_unique<SentinelStore>(kind);
    }
    return nullptr;
}

std::unique_ptr<ColumnStore> convertStore(const ColumnStore& from, StoreKind to) {
    auto converted = makeStore(to);
    for (int slot = 0; slot < from.size(); ++slot) {
        converted->appendNull();
        const auto cell = cellFromStored(to, storedValue(from.kind(), from.get(slot)));
        if (cell)
            converted->set(slot, *cell);
    }
    return converted;
}

// --- TextStore

QStringView TextStore::view(int slot) const {
    const Ref ref = refs_[slot];
    if (ref.length == kNullLength)
        return {};
    return QStringView(chars_.data() + ref.offset, qsizetype(ref.length));
}

Cell TextStore::get(int slot) const {
    if (isNull(slot))
        return Cell();
    return Cell(view(slot).toString());
}

void TextStore::set(int slot, const Cell& cell) {
    refs_[slot] = std::holds_alternative<std::monostate>(cell) ? kNull : store(std::get<QString>(cell));
}

TextStore::Ref TextStore::store(const QString& value) {
    const bool internable = interning_ && value.size() <= kInternMaxLength;
    if (internable) {
        const auto found = interned_.constFind(value);
        if (found != interned_.constEnd())
            return *found;
    }
    const Ref ref{quint32(chars_.size()), quint32(value.size())};
    chars_.insert(chars_.end(), value.utf16(), value.utf16() + value.size());
    if (internable) {
        interned_.insert(value, ref);
        if (interned_.size() >= kInternMaxValues) {  // a column of many different values: stop looking
            interning_ = false;
            interned_.clear();
        }
    }
    return ref;
}

int TextStore::compare(int slotA, int slotB) const {
    if (const auto byNull = compareNulls(isNull(slotA), isNull(slotB)))
        return *byNull;
    const int result = view(slotA).compare(view(slotB));
    return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

bool TextStore::containsText(int slot, const QString& needle) const {
    return view(slot).contains(needle, Qt::CaseInsensitive);
}

// --- SentinelStore

Cell SentinelStore::get(int slot) const {
    const qint64 value = values_[slot];
    return value == kNullValue ? Cell() : Cell(value);
}

void SentinelStore::set(int slot, const Cell& cell) {
    values_[slot] = std::holds_alternative<std::monostate>(cell) ? kNullValue : std::get<qint64>(cell);
}

int SentinelStore::compare(int slotA, int slotB) const {
    return threeWay(values_[slotA], values_[slotB]);  // the null value is the smallest
}

// --- IntegerStore

void IntegerStore::appendNull() {
    values_.push_back(0);
    nulls_.push_back(true);
}

Cell IntegerStore::get(int slot) const {
    return nulls_[slot] ? Cell() : Cell(values_[slot]);
}

void IntegerStore::set(int slot, const Cell& cell) {
    const bool null = std::holds_alternative<std::monostate>(cell);
    nulls_[slot] = null;
    values_[slot] = null ? 0 : std::get<qint64>(cell);
}

int IntegerStore::compare(int slotA, int slotB) const {
    return compareNullable(nulls_[slotA], nulls_[slotB], values_[slotA], values_[slotB]);
}

// --- FloatStore

void FloatStore::appendNull() {
    values_.push_back(std::nan(""));
}

bool FloatStore::isNull(int slot) const {
    return std::isnan(values_[slot]);
}

Cell FloatStore::get(int slot) const {
    return isNull(slot) ? Cell() : Cell(values_[slot]);
}

void FloatStore::set(int slot, const Cell& cell) {
    values_[slot] = std::holds_alternative<std::monostate>(cell) ? std::nan("") : std::get<double>(cell);
}

int FloatStore::compare(int slotA, int slotB) const {
    return compareNullable(isNull(slotA), isNull(slotB), values_[slotA], values_[slotB]);
}

} // namespace dataset::detail
