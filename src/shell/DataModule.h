#pragma once

#include "dataset/Dataset.h"
#include "report/TablePrinter.h"
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
    // Shared scratch queries on the connection: login, password and ranking (SQL_1),
    // pinyin lookups (SQL_3), product lookups (SQL_LS), the SQL tool (SQLFORM); and the
    // company table BM_GSXX (ADOTable1), which ticket and report printing read.
    dataset::Dataset SQL_1;
    dataset::Dataset SQL_3;
    dataset::Dataset SQL_LS;
    dataset::Dataset SQLFORM;
    dataset::Dataset ADOTable1;
    // The table printer shared by the list windows' print buttons (reports::PrintDataSet);
    // each print keeps the settings it does not set from the one before.
    report::TablePrinter frPrintTable_Public;

    QString OperatorCode;
    QString OperatorName;
    QString DelimiterOpen;
    QString DelimiterClose;

private:
    QString programDir_;
    Settings settings_;
};

} // namespace shell
