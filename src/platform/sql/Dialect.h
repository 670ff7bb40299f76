#pragma once

#include <QString>
#include <QStringList>

// Translation of the account-set dialect (the desktop database's SQL) into SQLite.
namespace sql {

// One dialect statement in, one or more SQLite statements out (an "alter table ... add"
// of several columns becomes one statement per column, run together or not at all).
// Handles: "..." and '...' text literals, #date# literals, col - #date# as days,
// the two-table update, alter table add/drop, & as concatenation, True/False, and the
// desktop functions Now, Date, Year, Month, Day, Len, Mid, Left, Right, UCase, LCase,
// IIf, Nz (registered on every connection).
QStringList translate(const QString& statement);

// A text as a quoted literal of the dialect and of SQLite: 'it''s'.
QString quoted(const QString& text);

// The width check of a text(n) column, named by the sentence the engine reports when
// a longer text is refused: CONSTRAINT "字段 T.C 的内容超过 n 个字符" CHECK (length(C) <= n).
QString widthConstraint(const QString& table, const QString& column, int width);

} // namespace sql
