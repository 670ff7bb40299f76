#pragma once

#include "sql/Error.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <utility>

struct sqlite3;

namespace sql {

// Named parameters of a statement (":rq1" is given as "rq1"). A QDate or QDateTime
// is bound in the stored date form; a text is bound exactly as given.
using Params = QList<std::pair<QString, QVariant>>;

// The one connection to an account set. Connection strings have the desktop form
// "Provider=...;Data Source=<path>;Jet OLEDB:Database Password=...": the Data Source
// is the SQLite file; provider and password are accepted and not used.
// Every statement given to execute() or to a Query is written in the account-set
// dialect and translated before it runs. Failures throw sql::Error with the
// engine's message.
class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // The Data Source of a connection string, with "\" turned into "/".
    static QString dataSourceOf(const QString& connectionString);

    void setConnectionString(const QString& connectionString);
    QString connectionString() const { return connectionString_; }

    // Opens the file named by the connection string; a missing file is an error
    // (an account set is never created by opening it).
    void open();
    void open(const QString& connectionString) { setConnectionString(connectionString); open(); }
    // Opens (and with create, makes) a file directly: account-set creation and tests.
    void openFile(const QString& path, bool create = false);
    void close();
    bool isOpen() const { return db_ != nullptr; }
    QString filePath() const { return filePath_; }

    // Runs a dialect statement that returns no rows; returns the number of rows changed.
    int execute(const QString& statement, const Params& params = {});
    // Runs SQLite text as it stands (schema creation, maintenance); may hold several statements.
    void executeNative(const QString& sqliteText);
    // First column of the first row of a dialect query, null QVariant when there is no row.
    QVariant scalar(const QString& statement, const Params& params = {});

    // Transactions on the connection; nested begin is an error as on the desktop engine.
    void beginTransaction();
    void commit();
    void rollback();
    bool inTransaction() const;

    // A whole, consistent copy of the open account set into another file (SQLite backup API).
    void copyTo(const QString& targetPath);

    sqlite3* handle() const { return db_; }
    // The engine's last message, as Error carries it.
    QString lastMessage() const;

private:
    sqlite3* db_ = nullptr;
    QString connectionString_;
    QString filePath_;
};

} // namespace sql
