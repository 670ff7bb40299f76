#include "shell/DataModule.h"

#include "shell/AppInfo.h"

#include <QDir>

namespace shell {
namespace {
TDM_CS* current = nullptr;
}

QString connectionStringFor(const QString& databaseFile) {
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1;Jet OLEDB:Database Password=%2")
        .arg(QDir::toNativeSeparators(databaseFile), kDatabasePassword);
}

TDM_CS::TDM_CS(const QString& programDir, QObject* parent)
    : QObject(parent),
      DelimiterOpen(QStringLiteral("[")),
      DelimiterClose(QStringLiteral("]")),
      programDir_(QDir(programDir).absolutePath()),
      settings_(programDir_) {
    ADOConnection1.setConnectionString(QString());  // closed until the login opens it
    for (dataset::Dataset* query : {&SQL_1, &SQL_3, &SQL_LS, &SQLFORM, &ADOTable1})
        query->setConnection(&ADOConnection1);
    ADOTable1.setCommandText(QStringLiteral("select * from BM_GSXX"));
    current = this;
}

TDM_CS::~TDM_CS() {
    if (current == this)
        current = nullptr;
}

TDM_CS* TDM_CS::instance() {
    return current;
}

QString TDM_CS::programPath(const QString& relative) const {
    return QDir(programDir_).filePath(relative);
}

QString TDM_CS::accountSetConnectionString() const {
    return connectionStringFor(accountSetPath());
}

void TDM_CS::openAccountSet() {
    for (dataset::Dataset* query : {&SQL_1, &SQL_3, &SQL_LS, &SQLFORM, &ADOTable1})
        query->close();
    ADOConnection1.close();
    ADOConnection1.open(accountSetConnectionString());
}

} // namespace shell
