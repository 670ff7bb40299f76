#pragma once

#include "shell/Settings.h"
#include "sql/Connection.h"

#include <QObject>
#include <QString>

namespace shell {

// The shared data module: the one connection to the account set, the shared
// scratch queries, the current operator and the placeholder delimiters. One
// instance lives from start-up to the end of the program.
class TDM_CS : public QObject {
    Q_OBJECT
public:
    // programDir is the folder that holds the program, data/, Backup/ and PrintFormat/.
    explicit TDM_CS(const QString& programDir, QObject* parent = nullptr);
    ~TDM_CS() override;

    // The instance of the running program (the last one created).
    static TDM_CS* instance();

    const QString& programDir() const { return programDir_; }
    QString programPath(const QString& relative) const;
    QString accountSetPath() const { return programPath(QStringLiteral("data/data.mdb")); }
    QString accountSetConnectionString() const;

    // Closes the connection if open, sets the account set's connection string, opens it.
    // Throws sql::Error with the engine's message.
    void openAccountSet();

    Settings& settings() { return settings_; }

    sql::Connection ADOConnection1;

    QString OperatorCode;
    QString OperatorName;
    QString DelimiterOpen;
    QString DelimiterClose;

private:
    QString programDir_;
    Settings settings_;
};

} // namespace shell
