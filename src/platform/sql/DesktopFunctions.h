#pragma once

#include <QString>

struct sqlite3;

// The functions of the desktop dialect (Now, Date, Year, Month, Day, Len, Mid, Left,
// Right, UCase, LCase, IIf, Nz), registered on a connection under private names so
// that they never collide with SQLite's own functions.
namespace sql {

// The private name a desktop function is registered under ("Mid" -> "jet_mid"),
// empty when the name is no desktop function. Case does not matter.
QString registeredFunctionName(const QString& desktopName);

// Registers every desktop function on an open SQLite handle; throws sql::Error.
void registerDesktopFunctions(sqlite3* db);

} // namespace sql
