#include "shell/Login.h"

#include "shell/DataModule.h"
#include "sql/Dialect.h"

namespace shell {

LoginCheck::LoginCheck(TDM_CS& dataModule) : dm_(dataModule) {}

QString LoginCheck::openAccountSet() {
    try {
        dm_.openAccountSet();
        openFailure_.clear();
    } catch (const sql::Error& error) {
        openFailure_ = error.message();
    }
    return openFailure_;
}

LoginCheck::Result LoginCheck::attempt(const QString& loginName, const QString& password, bool rememberPassword) {
    if (loginName.isEmpty())
        return {Outcome::NameMissing, QStringLiteral("请先填写“登录名称”!")};
    if (!openFailure_.isEmpty())
        return {Outcome::Failed, openFailure_};

    dataset::Dataset& query = dm_.SQL_1;
    try {
        query.setCommandText(QStringLiteral("select * from BM_YG where DLMC=") + sql::quoted(loginName));
        query.open();
    } catch (const sql::Error& error) {
        return {Outcome::Failed, error.message()};
    }
    if (query.isEmpty())
        return {Outcome::UnknownName, QStringLiteral("\"登录名称\"不存在,请重新填写!")};

    query.first();
    if (query.field(QStringLiteral("MM")).asString() != password) {
        ++wrongPasswords_;
        if (wrongPasswords_ >= kAllowedWrongPasswords)
            return {Outcome::TooManyWrong, QStringLiteral("错误次数过多，系统将自动退出！")};
        return {Outcome::WrongPassword, QStringLiteral("“登录密码”有误,请重新填写!")};
    }

    dm_.OperatorCode = query.field(QStringLiteral("BM")).asString();
    dm_.OperatorName = query.field(QStringLiteral("MC")).asString();
    dm_.settings().recordLogin(loginName, password, rememberPassword);
    return {Outcome::Accepted, QString()};
}

} // namespace shell
