#pragma once

#include "sql/Column.h"
#include "sql/Connection.h"

#include <QList>
#include <QVariant>

struct sqlite3_stmt;

namespace sql {

// One dialect statement that returns rows, walked forward once:
//   Query q(conn, "select * from bm_sp where bm=\"01\"");
//   while (q.next()) use(q.value(0));
// Values come as stored: null QVariant, qlonglong, double, QString or QByteArray.
class Query {
public:
    Query(Connection& connection, const QString& statement, const Params& params = {});
    ~Query();
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    // Known before the first next(): the statement runs when the Query is made, and a
    // computed column's type is settled by the value of the first row.
    const QList<ColumnInfo>& columns() const { return columns_; }
    int columnCount() const { return columns_.size(); }
    // Position of a column by name, without regard to case; -1 when absent.
    int indexOf(const QString& name) const;

    // Steps to the next row; false at the end.
    bool next();
    QVariant value(int column) const;

private:
    void readColumns();
    void settleComputedTypes();

    Connection& connection_;
    sqlite3_stmt* statement_ = nullptr;
    QList<ColumnInfo> columns_;
    bool firstRowWaiting_ = false;  // the constructor has stepped onto the first row
    bool onRow_ = false;
    bool atEnd_ = false;
};

} // namespace sql
