#pragma once

#include <QList>
#include <QStringList>

namespace sql { class Connection; }

namespace shell {

// The statement lists of the maintenance windows, one statement per entry.
QStringList initialiseDocumentsStatements();  // orders only; ends in an empty entry
QStringList initialiseAllStatements();        // orders, products and categories
QStringList upgradeStatements();              // older layout to the current columns

// Runs each entry, first to last, as a statement that returns no rows and goes on
// after a failure. One mark per entry: true when it ran without error or was empty.
// Errors are not reported; the marks tell the entries apart.
QList<bool> runStatementList(sql::Connection& connection, const QStringList& entries);

// The upgrade's run: as runStatementList, but what the account set already has is left
// out (and marked done), so that running it on any account set loses no data:
// - "alter table T add A ..., B ..." adds only the columns T lacks, nothing when it has all;
// - "alter table T drop column C" is left out when T has no C, and when a later entry of
//   the list adds C back: the column and its values stay where dropping would empty it.
QList<bool> runUpgradeList(sql::Connection& connection, const QStringList& entries);

} // namespace shell
