#include "sql/Connection.h"

#include "sql/DesktopFunctions.h"
#include "sql/Dialect.h"
#include "sql/Query.h"
#include "sql/Statement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <memory>
#include <sqlite3.h>

namespace sql {
namespace {

constexpr int kBusyTimeoutMs = 5000;

struct StatementDeleter {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using StatementPtr = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

void execNative(sqlite3* db, const QString& sqliteText) {
    char* message = nullptr;
    if (sqlite3_exec(db, sqliteText.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        const QString text = message ? QString::fromUtf8(message) : engineMessage(db);
        sqlite3_free(message);
        throw Error(text);
    }
}

StatementPtr prepareBound(sqlite3* db, const QString& sqliteText, const Params& params, QSet<QString>& used) {
    StatementPtr statement(prepareSingle(db, sqliteText));
    used.unite(bindParams(db, statement.get(), params));
    return statement;
}

// Runs a prepared statement to its end (rows of a query are passed over); returns the rows it changed.
int runToEnd(sqlite3* db, sqlite3_stmt* statement) {
    // The count of the statement itself: sqlite3_changes() keeps an older count after a query or DDL.
    const sqlite3_int64 before = sqlite3_total_changes64(db);
    while (stepStatement(db, statement)) {
    }
    return int(sqlite3_total_changes64(db) - before);
}

bool samePath(const QString& a, const QString& b) {
    const QFileInfo first(a);
    const QFileInfo second(b);
    if (first.exists() && second.exists())
        return first.canonicalFilePath() == second.canonicalFilePath();
    return first.absoluteFilePath() == second.absoluteFilePath();
}

} // namespace

Connection::Connection() = default;

Connection::~Connection() {
    close();
}

QString Connection::dataSourceOf(const QString& connectionString) {
    for (const QString& part : connectionString.split(QLatin1Char(';'))) {
        const qsizetype equals = part.indexOf(QLatin1Char('='));
        if (equals < 0 || part.left(equals).trimmed().compare(QLatin1String("Data Source"), Qt::CaseInsensitive) != 0)
            continue;
        QString value = part.mid(equals + 1).trimmed();
        if (value.size() >= 2 && (value.startsWith(QLatin1Char('"')) || value.startsWith(QLatin1Char('\'')))
            && value.endsWith(value.front()))
            value = value.mid(1, value.size() - 2);
        return value.replace(QLatin1Char('\\'), QLatin1Char('/'));
    }
    return QString();
}

void Connection::setConnectionString(const QString& connectionString) {
    connectionString_ = connectionString;
}

void Connection::open() {
    const QString path = dataSourceOf(connectionString_);
    if (path.isEmpty())
        throw Error(QStringLiteral("连接字符串中没有 Data Source：%1").arg(connectionString_));
    openFile(path, false);
}

void Connection::openFile(const QString& path, bool create) {
    close();
    // One thread uses a connection, so the engine needs no locks of its own around every call.
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr);
    try {
        if (rc != SQLITE_OK)
            throw Error(engineMessage(db));
        sqlite3_extended_result_codes(db, 1);
        sqlite3_busy_timeout(db, kBusyTimeoutMs);
        // Reading the schema makes a file that is no database fail here, not later.
        execNative(db, QStringLiteral("PRAGMA journal_mode=DELETE; SELECT count(*) FROM sqlite_master;"));
        registerDesktopFunctions(db);
    } catch (const Error& error) {
        sqlite3_close_v2(db);
        const QString what = QFileInfo::exists(path) ? QStringLiteral("无法打开帐套文件")
                                                     : QStringLiteral("帐套文件不存在");
        throw Error(QStringLiteral("%1：%2（%3）").arg(what, QDir::toNativeSeparators(path), error.message()));
    }
    db_ = db;
    filePath_ = path;
}

void Connection::close() {
    if (!db_)
        return;
    sqlite3_close_v2(db_);
    db_ = nullptr;
    filePath_.clear();
}

int Connection::execute(const QString& statement, const Params& params) {
    if (!db_)
        throw Error(QStringLiteral("帐套没有打开"));
    const QStringList statements = translate(statement);
    QSet<QString> used;
    if (statements.size() == 1) {
        const StatementPtr single = prepareBound(db_, statements.first(), params, used);
        checkAllParamsUsed(params, used);
        return runToEnd(db_, single.get());
    }
    // The statements of one dialect text take effect together or not at all.
    execNative(db_, QStringLiteral("SAVEPOINT dialect_statement"));
    try {
        int changed = 0;
        for (const QString& sqliteText : statements)
            changed += runToEnd(db_, prepareBound(db_, sqliteText, params, used).get());
        checkAllParamsUsed(params, used);
        execNative(db_, QStringLiteral("RELEASE dialect_statement"));
        return changed;
    } catch (const Error&) {
        if (inTransaction())
            execNative(db_, QStringLiteral("ROLLBACK TO dialect_statement; RELEASE dialect_statement"));
        throw;
    }
}

void Connection::executeNative(const QString& sqliteText) {
    if (!db_)
        throw Error(QStringLiteral("帐套没有打开"));
    execNative(db_, sqliteText);
}

QVariant Connection::scalar(const QString& statement, const Params& params) {
    Query query(*this, statement, params);
    return query.next() ? query.value(0) : QVariant();
}

void Connection::beginTransaction() {
    if (!db_)
        throw Error(QStringLiteral("帐套没有打开"));
    if (inTransaction())
        throw Error(QStringLiteral("连接上已有未结束的事务，不能再开始新的事务"));
    execNative(db_, QStringLiteral("BEGIN"));
}

void Connection::commit() {
    if (!inTransaction())
        throw Error(QStringLiteral("没有可提交的事务"));
    execNative(db_, QStringLiteral("COMMIT"));
}

// Without an open transaction there is nothing to undo, so error paths may always call it.
void Connection::rollback() {
    if (inTransaction())
        execNative(db_, QStringLiteral("ROLLBACK"));
}

bool Connection::inTransaction() const {
    return db_ && !sqlite3_get_autocommit(db_);
}

void Connection::copyTo(const QString& targetPath) {
    if (!db_)
        throw Error(QStringLiteral("帐套没有打开"));
    if (inTransaction())
        throw Error(QStringLiteral("事务未结束，不能复制帐套"));
    if (samePath(targetPath, filePath_))
        throw Error(QStringLiteral("不能把帐套复制到它自己：%1").arg(QDir::toNativeSeparators(targetPath)));
    // Copy into a fresh file beside the target first, so that a failed copy leaves the target as it was.
    const QString partPath = targetPath + QStringLiteral(".part");
    QFile::remove(partPath);
    sqlite3* target = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(partPath).constData(), &target,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_backup* backup = sqlite3_backup_init(target, "main", db_, "main");
        if (backup) {
            sqlite3_backup_step(backup, -1);
            rc = sqlite3_backup_finish(backup);
        } else {
            rc = sqlite3_errcode(target);
        }
    }
    const QString message = engineMessage(target);
    sqlite3_close_v2(target);
    if (rc != SQLITE_OK) {
        QFile::remove(partPath);
        throw Error(QStringLiteral("复制帐套到 %1 失败：%2").arg(QDir::toNativeSeparators(targetPath), message));
    }
    if (QFile::exists(targetPath) && !QFile::remove(targetPath)) {
        QFile::remove(partPath);
        throw Error(QStringLiteral("无法替换文件：%1").arg(QDir::toNativeSeparators(targetPath)));
    }
    if (!QFile::rename(partPath, targetPath))
        throw Error(QStringLiteral("无法写入文件：%1").arg(QDir::toNativeSeparators(targetPath)));
}

QString Connection::lastMessage() const {
    return engineMessage(db_);
}

} // namespace sql
