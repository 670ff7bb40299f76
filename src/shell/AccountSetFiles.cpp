#include "shell/AccountSetFiles.h"

#include "shell/AccountSet.h"
#include "shell/DataModule.h"
#include "sql/Dialect.h"
#include "text/DateText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

namespace shell {
namespace {

const QString kBakSuffix = QStringLiteral(".bak");

// Moves a file over another in one step: the target is either the old or the new file.
void moveOver(const QString& from, const QString& to) {
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(QFile::encodeName(from).toStdString()),
                            std::filesystem::path(QFile::encodeName(to).toStdString()), error);
    if (error)
        throw sql::Error(QStringLiteral("无法把 %1 改名为 %2：%3")
                             .arg(QDir::toNativeSeparators(from), QDir::toNativeSeparators(to),
                                  QString::fromLocal8Bit(error.message().c_str())));
}

void copyFile(const QString& from, const QString& to) {
    QFile::remove(to);
    QFile source(from);
    if (!source.copy(to))
        throw sql::Error(QStringLiteral("无法复制 %1：%2").arg(QDir::toNativeSeparators(from), source.errorString()));
}

void removeFile(const QString& path) {
    if (QFile::exists(path) && !QFile::remove(path))
        throw sql::Error(QStringLiteral("无法删除文件：%1").arg(QDir::toNativeSeparators(path)));
}

// Opens the file on a connection of its own and checks that it holds the eight tables.
void requireAccountSet(const QString& path) {
    sql::Connection connection;
    connection.openFile(path);
    if (!isAccountSet(connection))
        throw sql::Error(QStringLiteral("文件 %1 不是帐套").arg(QDir::toNativeSeparators(path)));
}

QString withSeparator(const QString& folder) {
    if (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\')))
        return folder;
    return folder + QLatin1Char('/');
}

} // namespace

QString requestedBackupPath(const QString& chosenName) {
    return chosenName + kBakSuffix;
}

QString proposedBackupName(const QDate& day) {
    return text::compactDateText(day);
}

QString weekdayBackupPath(const QString& programDir, const QDate& day) {
    return QDir(programDir).filePath(QStringLiteral("Backup/") + text::weekdayName(day) + kBakSuffix);
}

ExitBackupTarget exitBackupTarget(const QString& backupFolder, const QString& programDir, const QDate& day) {
    const QString name = text::compactDateText(day) + kBakSuffix;
    if (!backupFolder.isEmpty() && QFileInfo(backupFolder).isDir())
        return {withSeparator(backupFolder) + name, false};
    return {QDir(programDir).filePath(QStringLiteral("Backup/") + name), true};
}

AccountSetFiles::AccountSetFiles(TDM_CS& dataModule)
    : reopen([&dataModule] { dataModule.openAccountSet(); }), dm_(dataModule) {}

void AccountSetFiles::backupTo(const QString& target) {
    dm_.ADOConnection1.copyTo(target);
}

QString AccountSetFiles::restoreStagingPath() const {
    return dm_.programPath(QStringLiteral("data/restore.tmp"));
}

QString AccountSetFiles::temporaryCompactPath() const {
    return dm_.programPath(QStringLiteral("data/temp.mdb"));
}

AccountSetFiles::Restore AccountSetFiles::restoreFrom(const QString& chosenFile, const QDateTime& now) {
    const QString staging = restoreStagingPath();
    try {
        copyFile(chosenFile, staging);
    } catch (const sql::Error& error) {
        return {RestoreResult::CopyFailed, error.message(), {}};
    }
    try {
        requireAccountSet(staging);
    } catch (const sql::Error& error) {
        QFile::remove(staging);
        return {RestoreResult::NotAnAccountSet, error.message(), {}};
    }

    const QString safetyCopy = dm_.programPath(QStringLiteral("Backup/恢复前%1-%2.bak")
                                                   .arg(text::compactDateText(now.date()),
                                                        now.time().toString(QStringLiteral("HHmmss"))));
    try {
        backupTo(safetyCopy);
    } catch (const sql::Error& error) {
        QFile::remove(staging);
        return {RestoreResult::CopyFailed, error.message(), {}};
    }
    dm_.ADOConnection1.close();
    try {
        moveOver(staging, dm_.accountSetPath());
    } catch (const sql::Error& error) {
        QFile::remove(staging);
        QString detail = error.message();
        try {
            reopen();  // the previous account set never left its place
        } catch (const sql::Error& reopenError) {
            detail += QLatin1Char('\n') + reopenError.message();
        }
        return {RestoreResult::CopyFailed, detail, safetyCopy};
    }

    try {
        reopen();
        return {RestoreResult::Restored, {}, safetyCopy};
    } catch (const sql::Error& error) {
        try {
            replaceAccountSetBy(safetyCopy);
            reopen();
            return {RestoreResult::PutBack, error.message(), safetyCopy};
        } catch (const sql::Error& putBackError) {
            return {RestoreResult::Unopened, putBackError.message(), safetyCopy};
        }
    }
}

void AccountSetFiles::replaceAccountSetBy(const QString& file) {
    const QString staging = restoreStagingPath();
    copyFile(file, staging);
    moveOver(staging, dm_.accountSetPath());
}

void AccountSetFiles::compact() {
    const QString temporary = temporaryCompactPath();
    removeFile(temporary);
    try {
        dm_.ADOConnection1.executeNative(QStringLiteral("VACUUM INTO ") + sql::quoted(temporary));
        requireAccountSet(temporary);
    } catch (const sql::Error&) {
        QFile::remove(temporary);
        throw;
    }
    dm_.ADOConnection1.close();
    try {
        moveOver(temporary, dm_.accountSetPath());
    } catch (const sql::Error&) {
        QFile::remove(temporary);
        reopen();
        throw;
    }
    reopen();
}

} // namespace shell
