#pragma once

#include "text/Decimal.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>

namespace dataset {

class Column;
class Dataset;

// Read access to one row of a dataset, by column index or name (names without regard
// to case). Reading a null gives "" as text, 0 as a number and an invalid date.
// Reading a text column as a number or date parses it; text that is no number or
// date throws dataset::Error, as does an unknown column name.
class Record {
public:
    bool isNull(int column) const;
    // Plain text: decimals as "12.5", dates as "yyyy-MM-dd" ("yyyy-MM-dd HH:mm:ss" with a time).
    QString text(int column) const;
    // Text with the column's display format ("#0.00" shows 12.5 as "12.50").
    QString displayText(int column) const;
    text::Decimal decimal(int column) const;
    double toDouble(int column) const;
    // Decimals and floats rounded half away from zero.
    qint64 toInteger(int column) const;
    QDate date(int column) const;
    QDateTime dateTime(int column) const;
    // Null QVariant, QString, text::Decimal, qlonglong, double, QDate or (with a time) QDateTime.
    QVariant value(int column) const;

    bool isNull(const QString& column) const { return isNull(indexOf(column)); }
    QString text(const QString& column) const { return text(indexOf(column)); }
    QString displayText(const QString& column) const { return displayText(indexOf(column)); }
    text::Decimal decimal(const QString& column) const { return decimal(indexOf(column)); }
    double toDouble(const QString& column) const { return toDouble(indexOf(column)); }
    qint64 toInteger(const QString& column) const { return toInteger(indexOf(column)); }
    QDate date(const QString& column) const { return date(indexOf(column)); }
    QVariant value(const QString& column) const { return value(indexOf(column)); }

private:
    friend class Dataset;
    Record(const Dataset* dataset, int slot) : dataset_(dataset), slot_(slot) {}
    int indexOf(const QString& column) const;

    const Dataset* dataset_;
    int slot_;  // -1: no row (an empty dataset), every column reads as null
};

// One column of a dataset at its current row, as a window's FieldByName gives it:
//   ds.field("KHMC").asString();  ds.field("SL").setValue(text::Decimal::fromInt(2));
// Setting a value needs the dataset in edit or insert state and a column that is not
// read-only; text is converted to the column's type ("" sets null for numbers and
// dates), a conversion failure throws dataset::Error and leaves the value unchanged.
class Field {
public:
    Field(Dataset* dataset, int column) : dataset_(dataset), column_(column) {}

    Dataset& dataset() const { return *dataset_; }
    const Column& column() const;
    const QString& name() const;

    bool isNull() const;
    QString asString() const;
    text::Decimal asDecimal() const;
    double asFloat() const;
    qint64 asInteger() const;
    QDate asDate() const;
    QDateTime asDateTime() const;
    QVariant value() const;
    QString displayText() const;

    void setValue(const QVariant& value);
    void setValue(const QString& text);
    void setValue(const char* text) { setValue(QString::fromUtf8(text)); }
    void setValue(text::Decimal value);
    void setValue(const QDate& date);
    void clear();  // sets null

private:
    Record record() const;

    Dataset* dataset_;
    int column_;
};

} // namespace dataset
