#include "support/ProgramFixture.h"

#include "shell/AccountSet.h"
#include "sql/Dialect.h"

#include <QDir>

ProgramFixture::ProgramFixture(bool withPinyin) {
    QDir dir(dir_.path());
    for (const char* folder : {"data", "Backup", "PrintFormat"})
        dir.mkpath(QLatin1String(folder));
    shell::createAccountSet(dir_.filePath(QStringLiteral("data/data.mdb")), withPinyin);
    dm_ = std::make_unique<shell::TDM_CS>(dir_.path());
    dm_->openAccountSet();
    dm_->OperatorCode = QStringLiteral("001");
    dm_->OperatorName = QStringLiteral("系统管理员");
}

void ProgramFixture::addProduct(const QString& code, const QString& name, double rent, double deposit,
                                double stock, double lent, const QString& category) {
    connection().execute(
        QStringLiteral("insert into BM_SP(BM,MC,DW,CBJ,YJ,ZJ,KCSL,JCSL,LB) values (:bm,:mc,'件',0,:yj,:zj,:kc,:jc,:lb)"),
        {{"bm", code}, {"mc", name}, {"yj", deposit}, {"zj", rent}, {"kc", stock}, {"jc", lent}, {"lb", category}});
}

void ProgramFixture::addEmployee(const QString& code, const QString& name, const QString& login,
                                 const QString& password) {
    connection().execute(QStringLiteral("insert into BM_YG(BM,MC,DLMC,MM) values (:bm,:mc,:dl,:mm)"),
                         {{"bm", code}, {"mc", name}, {"dl", login}, {"mm", password}});
}
