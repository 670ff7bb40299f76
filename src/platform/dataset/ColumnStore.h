#pragma once

// Compact column-wise cell storage behind Dataset; not for use outside the dataset layer.

#include "sql/Column.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringView>
#include <QVariant>
#include <limits>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

namespace dataset::detail {

// How a column keeps its cells. A column's kind follows its data type; a column whose
// stored values do not fit that kind (a word in a decimal column) is kept as text.
enum class StoreKind { Text, Decimal, Integer, Float, Temporal };

// One cell in the form its kind keeps it: null, a text, a whole number (hundredths for
// decimals, seconds since the start of the Julian day count for dates), or a double.
using Cell = std::variant<std::monostate, QString, qint64, double>;

StoreKind kindForType(sql::FieldType type);
// The kind a computed column takes from its first non-null value.
StoreKind kindOfStoredValue(const QVariant& stored);

qint64 secondsOf(const QDateTime& dateTime);
QDateTime dateTimeOfSeconds(qint64 seconds);

// A value as the engine gives it (null, qlonglong, double, QString, QByteArray) in the
// form of a kind; empty when it does not fit (the column then falls back to text).
std::optional<Cell> cellFromStored(StoreKind kind, const QVariant& stored);
// A value given by code or typed into a grid (QString, text::Decimal, a number, QDate,
// QDateTime) in the form of a kind; empty when it cannot be converted. A blank text
// is null except in a text column.
std::optional<Cell> cellFromInput(StoreKind kind, const QVariant& input);
// A cell as the engine takes it for writing: null, QString, qlonglong or double;
// decimals as doubles of their two places, dates as their stored text.
QVariant storedValue(StoreKind kind, const Cell& cell);
// Plain text of a cell: "" for null, "12.5" for decimals, "yyyy-MM-dd" for dates.
QString cellText(StoreKind kind, const Cell& cell);

class ColumnStore {
public:
    virtual ~ColumnStore() = default;
    virtual StoreKind kind() const = 0;
    virtual int size() const = 0;
    virtual void appendNull() = 0;
    virtual bool isNull(int slot) const = 0;
    virtual Cell get(int slot) const = 0;
    // The cell must be null or of the store's own form.
    virtual void set(int slot, const Cell& cell) = 0;
    // Negative, zero or positive; null sorts first.
    virtual int compare(int slotA, int slotB) const = 0;
    virtual bool containsText(int slot, const QString& needle) const;
    virtual QString text(int slot) const;
};

std::unique_ptr<ColumnStore> makeStore(StoreKind kind);
// The same cells in another kind; every cell must fit (number to float, anything to text).
std::unique_ptr<ColumnStore> convertStore(const ColumnStore& from, StoreKind to);

// Texts in one UTF-16 arena per column, eight bytes of reference per cell. Short
// values that repeat (flags, units, names of handlers) are stored once.
class TextStore final : public ColumnStore {
public:
    StoreKind kind() const override { return StoreKind::Text; }
    int size() const override { return int(refs_.size()); }
    void appendNull() override { refs_.push_back(kNull); }
    bool isNull(int slot) const override { return refs_[slot].length == kNullLength; }
    Cell get(int slot) const override;
    void set(int slot, const Cell& cell) override;
    int compare(int slotA, int slotB) const override;
    bool containsText(int slot, const QString& needle) const override;
    QString text(int slot) const override { return view(slot).toString(); }
    QStringView view(int slot) const;

private:
    struct Ref {
        quint32 offset;
        quint32 length;
    };
    static constexpr quint32 kNullLength = 0xFFFFFFFFu;
    static constexpr Ref kNull{0, kNullLength};
    static constexpr int kInternMaxLength = 16;
    static constexpr int kInternMaxValues = 4096;

    Ref store(const QString& value);

    std::vector<char16_t> chars_;
    std::vector<Ref> refs_;
    QHash<QString, Ref> interned_;
    bool interning_ = true;
};

// Whole numbers with a value meaning null: decimals (hundredths) and dates (seconds).
class SentinelStore final : public ColumnStore {
public:
    explicit SentinelStore(StoreKind kind) : kind_(kind) {}
    StoreKind kind() const override { return kind_; }
    int size() const override { return int(values_.size()); }
    void appendNull() override { values_.push_back(kNullValue); }
    bool isNull(int slot) const override { return values_[slot] == kNullValue; }
    Cell get(int slot) const override;
    void set(int slot, const Cell& cell) override;
    int compare(int slotA, int slotB) const override;

private:
    static constexpr qint64 kNullValue = std::numeric_limits<qint64>::min();
    StoreKind kind_;
    std::vector<qint64> values_;
};

// Whole numbers of any value, with a separate null mark.
class IntegerStore final : public ColumnStore {
public:
    StoreKind kind() const override { return StoreKind::Integer; }
    int size() const override { return int(values_.size()); }
    void appendNull() override;
    bool isNull(int slot) const override { return nulls_[slot]; }
    Cell get(int slot) const override;
    void set(int slot, const Cell& cell) override;
    int compare(int slotA, int slotB) const override;

private:
    std::vector<qint64> values_;
    std::vector<bool> nulls_;
};

// Doubles; NaN marks null (the engine never stores NaN).
class FloatStore final : public ColumnStore {
public:
    StoreKind kind() const override { return StoreKind::Float; }
    int size() const override { return int(values_.size()); }
    void appendNull() override;
    bool isNull(int slot) const override;
    Cell get(int slot) const override;
    void set(int slot, const Cell& cell) override;
    int compare(int slotA, int slotB) const override;

private:
    std::vector<double> values_;
};

} // namespace dataset::detail
