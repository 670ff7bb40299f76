#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <functional>

namespace shell {

class TDM_CS;

// The names of the backup files.
// Backup on request: the chosen name with ".bak" appended, even when it ends in it already.
QString requestedBackupPath(const QString& chosenName);
// The name the backup dialog proposes: the day as "yyyymmdd".
QString proposedBackupName(const QDate& day);
// The rolling backup: "Backup/星期日.bak" .. "Backup/星期六.bak" in the program directory.
QString weekdayBackupPath(const QString& programDir, const QDate& day);

// Where the backup on exit goes: the folder BM_GSXX.BF followed by "yyyymmdd.bak", or the
// program's Backup folder when BF is empty or names no existing folder.
struct ExitBackupTarget {
    QString path;
    bool fellBack = false;  // BF was no usable folder
};
ExitBackupTarget exitBackupTarget(const QString& backupFolder, const QString& programDir, const QDate& day);

// The whole-file work on the account set of a data module: backups, restore, compact.
// Every copy of the open account set is made through the engine's backup, so that it
// is a whole, consistent file holding every committed change.
class AccountSetFiles {
public:
    explicit AccountSetFiles(TDM_CS& dataModule);

    // A whole copy of the open account set, replacing the target; throws sql::Error.
    void backupTo(const QString& target);

    enum class RestoreResult {
        Restored,         // the chosen file is the account set now, and open
        NotAnAccountSet,  // refused: the file is no account set; nothing changed
        CopyFailed,       // the file could not be copied beside the account set; nothing changed
        PutBack,          // the restored file did not open; the previous account set is back and open
        Unopened,         // neither opened; the previous account set is kept as safetyCopy
    };
    struct Restore {
        RestoreResult result;
        QString detail;      // the engine's or the file system's message
        QString safetyCopy;  // the previous account set, kept in Backup/
    };
    // Puts the chosen file in place of the account set. The file is first copied beside
    // the account set and checked to be an account set; the previous account set is kept
    // as "Backup/恢复前yyyymmdd-hhmmss.bak" and the new one is moved in by one rename.
    Restore restoreFrom(const QString& chosenFile, const QDateTime& now);

    // Rewrites the account set into data/temp.mdb (dropping free space) and moves it in
    // place of data/data.mdb by one rename; the account set is open again afterwards.
    // Throws sql::Error with the reason when it fails; the old account set is then
    // unchanged and open.
    void compact();

    QString temporaryCompactPath() const;  // data/temp.mdb
    QString restoreStagingPath() const;    // data/restore.tmp, the restored file before it moves in

    // How the account set is opened again after a restore or compact; the data
    // module's openAccountSet unless replaced (tests put a failing one in place).
    std::function<void()> reopen;

private:
    void replaceAccountSetBy(const QString& file);

    TDM_CS& dm_;
};

} // namespace shell
