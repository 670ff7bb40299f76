#pragma once

#include "sql/Connection.h"

#include <QSet>
#include <QString>

struct sqlite3;
struct sqlite3_stmt;

// Prepared SQLite statements as Connection and Query use them.
namespace sql {

// The engine's message for the last failure on a handle.
QString engineMessage(sqlite3* db);

// Prepares exactly one SQLite statement (a trailing ";" is allowed); throws sql::Error.
sqlite3_stmt* prepareSingle(sqlite3* db, const QString& sqliteText);

// Binds the named parameters of a prepared statement from params (names without ':',
// any case). A parameter of the statement without a value is an error. Returns the
// names it bound, in lower case.
QSet<QString> bindParams(sqlite3* db, sqlite3_stmt* statement, const Params& params);

// Throws when a parameter was given that no statement used.
void checkAllParamsUsed(const Params& params, const QSet<QString>& used);

// One step: true for a row, false when done; throws with the engine's message.
bool stepStatement(sqlite3* db, sqlite3_stmt* statement);

} // namespace sql
